// The Tien Len MB wire: Tien Len's commands read into the MB logic handler, with the
// instant win's 13 card bytes.
#include "games/tienlenmb/TienLenMBLogicHandler.h"
#include "games/tienlenmb/TienLenMBMessageHandler.h"
#include "table/base/TienLenPlayer.h"
#include "tests/games/GameWire.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

// Writes down the operation each command reached, and the instant win's fields.
class Reached : public TienLenMBLogicHandler {
public:
    std::vector<std::string> calls;

    void onJoinGameSuccessWithRoomId(int8_t, int8_t, int32_t, int32_t, TienLenPlayerList) override { add("join"); }
    void onChatFromBoardWithRoomId(int8_t, int8_t, const std::string&, int32_t) override { add("chat"); }
    void onKickedWithRoomId(int8_t, int8_t, int32_t) override { add("kicked"); }
    void onSomeOneJoinBoardWithSeat(int, std::shared_ptr<TienLenPlayer>) override { add("sat"); }
    void onSomeOneLeaveBoardWithIdLeave(int32_t, int32_t) override { add("left"); }
    void onSomeOneReadyWithId(int32_t, bool) override { add("ready"); }
    void onOwnerSetMoneyWithRoomeId(int8_t, int8_t, int32_t) override { add("stake"); }
    void onStartGameWithRoomId(int8_t, int8_t, std::vector<uint8_t>, int, int32_t) override { add("start"); }
    void onMoveWithRoomId(int8_t, int8_t, int32_t, std::vector<uint8_t>, int32_t) override { add("move"); }
    void onSkipWithRoomId(int8_t, int8_t, int32_t, int32_t, bool) override { add("skip"); }
    void onSomeOneFinishWithRoomId(int8_t, int8_t, int32_t, int, int32_t, int32_t) override { add("finish"); }
    void onStopGameWithRoomId(int8_t, int8_t, int32_t, std::vector<uint8_t>) override { add("stop"); }
    void onBonusMoneyWithRommId(int8_t, int8_t, int32_t, int32_t, const std::string&) override { add("bonus"); }
    void onMoveErrorWithRoomeId(int8_t, int8_t, const std::string&) override { add("refused"); }
    void onBuzzWithContent(const std::string&) override { add("buzz"); }
    void onForceFinishWithRoomId(int8_t room, int8_t board, CardInfo info) override {
        std::string cards;
        for (uint8_t id : info.cards)
            cards += (cards.empty() ? "" : ",") + std::to_string(id);
        add("instant " + std::to_string(room) + " " + std::to_string(board) + " " + std::to_string(info.owner) + " {" +
            cards + "}");
    }

private:
    void add(std::string call) { calls.push_back(std::move(call)); }
};

using TienLenMBReplies = GameReplies<TienLenMBMessageHandler, Reached>;

TEST_F(TienLenMBReplies, TheHandlerTakesGameTypeTwelveOnly) {
    EXPECT_TRUE(handler().isGameType(12));
    EXPECT_FALSE(handler().isGameType(3));
}

TEST_F(TienLenMBReplies, AnInstantWinCarriesThirteenCardBytes) {
    const ByteVector hand{0, 1, 4, 5, 8, 9, 14, 19, 26, 31, 38, 43, 47};
    EXPECT_EQ(read(53, Bytes().byte(7).byte(2).int32(9).raw(hand)),
              (Calls{"instant 2 7 9 {0,1,4,5,8,9,14,19,26,31,38,43,47}"}))
        << "board first, then exactly 13";
    EXPECT_EQ(read(53, Bytes().byte(7).byte(2).int32(9).raw(hand).raw({50, 51})),
              (Calls{"instant 2 7 9 {0,1,4,5,8,9,14,19,26,31,38,43,47}"}))
        << "bytes after the 13 are ignored";
    EXPECT_EQ(read(53, Bytes().byte(7).byte(2).int32(9).raw({48, 49, 50})), (Calls{"instant 2 7 9 {48,49,50}"}))
        << "a body cut short yields only the cards present";
    EXPECT_EQ(read(53, Bytes().byte(7).byte(2).int32(9)), (Calls{"instant 2 7 9 {}"}));
}

TEST_F(TienLenMBReplies, TheOtherCommandsReachTheirTienLenOperations) {
    const std::pair<int16_t, const char*> commands[] = {
        {8, "join"},   {9, "chat"},    {11, "kicked"}, {12, "sat"},     {14, "left"},
        {16, "ready"}, {19, "stake"},  {20, "start"},  {21, "move"},    {49, "skip"},
        {50, "stop"},  {51, "finish"}, {52, "bonus"},  {54, "refused"}, {103, "buzz"},
    };
    for (const auto& [command, call] : commands)
        EXPECT_EQ(read(command, {}), Calls{call}) << "command " << command;
    EXPECT_EQ(read(55, Bytes().byte(1).byte(4)), Calls{}) << "another id is dropped";
}

TEST_F(TienLenMBReplies, RandomBodiesForEveryCommandEndQuietly) {
    std::mt19937 random(12);
    const int16_t commands[] = {8, 9, 11, 12, 14, 16, 19, 20, 21, 49, 50, 51, 52, 53, 54, 103};
    size_t calls = 0;
    for (int round = 0; round < 800; ++round) {
        ByteVector body = randomBody(random, 48);
        calls += read(commands[round % std::size(commands)], body).size();
    }
    EXPECT_EQ(calls, 800u) << "every command still reaches its operation once";
}

} // namespace
} // namespace kavo::test
