// The Bai Cao requests byte by byte, and every reply read from byte strings (the
// replies both stake tables share are read here once).
#include "games/baicao/BaiCaoLogicHandler.h"
#include "games/baicao/BaiCaoMessageHandler.h"
#include "games/baicao/BaiCaoService.h"
#include "net/IMobileClient.h"
#include "tests/games/GameWire.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

TEST_F(GameRequests, BaiCaoTurnsAndTheSeatLimitGoOutByteForByteAndTheEarlyEndIsOnlyBuilt) {
    auto& service = BaiCaoService::getInstance();
    service.moveWithRoomId(3, 12, {5, 255, 255});
    service.moveWithRoomId(3, 12, {});
    service.setMaxPlayerWithRoomId(3, 12, 2);
    EXPECT_EQ(client.take(), "21:030c05ffff 21:030c 56:030c02");
    const Message early = BaiCaoService::forceFinishMessage(3, 12);
    EXPECT_EQ(early.commandId(), 53);
    EXPECT_EQ(toHex(early.data()), "030c");
    EXPECT_EQ(client.take(), "");
}

// Writes each call down as a line of text.
class Recorder : public BaiCaoLogicHandler {
public:
    std::vector<std::string> calls;

    static std::string hex(const std::vector<uint8_t>& bytes) { return toHex(bytes); }
    static std::string hands(const std::vector<BaiCaoHand>& list) {
        std::string out;
        for (const auto& h : list)
            out += "[" + std::to_string(h.playerId) + " " + std::to_string(h.cards[0]) + " " +
                   std::to_string(h.cards[1]) + " " + std::to_string(h.cards[2]) + "]";
        return out;
    }
    void onJoinGameSuccessWithRoomId(int8_t r, int8_t b, int32_t owner, int32_t money,
                                     std::vector<std::shared_ptr<Player>> players) override {
        std::string out = line("join", r, b, owner, money);
        for (const auto& p : players)
            out += " " + seated(*p);
        calls.push_back(out);
    }
    void onChatFromBoardWithRoomId(int8_t r, int8_t b, const std::string& t, int32_t from) override {
        calls.push_back(line("chat", r, b, from, quoted(t)));
    }
    void onKickedWithRoomId(int8_t r, int8_t b, int32_t id) override { calls.push_back(line("kick", r, b, id)); }
    void onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<Player> p) override {
        calls.push_back(line("sit", seat, seated(*p)));
    }
    void onSomeOneLeaveBoardWithIdLeave(int32_t id, int32_t owner) override {
        calls.push_back(line("leave", id, owner));
    }
    void onSomeOneReadyWithId(int32_t id, bool ready) override { calls.push_back(line("ready", id, ready)); }
    void onOwnerSetMoneyOnBoardWithRoomId(int8_t r, int8_t b, int32_t money, int32_t who) override {
        calls.push_back(line("stake", r, b, money, who));
    }
    void onBonusMoneyWithRommId(int8_t r, int8_t b, int32_t who, int32_t money, const std::string& des) override {
        calls.push_back(line("bonus", r, b, who, money, quoted(des)));
    }
    void onDiemSoWithWho(int32_t who, const std::string& des) override {
        calls.push_back(line("score", who, quoted(des)));
    }
    void onBuzzWithContent(const std::string& t) override { calls.push_back(line("buzz", quoted(t))); }
    void onStartGameWithRoomId(int8_t r, int8_t b, std::vector<uint8_t> cards, uint8_t interval) override {
        calls.push_back(line("start", r, b, hex(cards), interval));
    }
    void onMoveWithRoomId(int8_t r, int8_t b, int32_t who, std::vector<uint8_t> cards) override {
        calls.push_back(line("move", r, b, who, hex(cards)));
    }
    void onStopGameWithRoomId(int8_t r, int8_t b, std::vector<BaiCaoHand> list) override {
        calls.push_back(line("stop", r, b, hands(list)));
    }
    void onPlayingWithRoomId(int8_t r, int8_t b, uint8_t interval, std::vector<BaiCaoHand> list) override {
        calls.push_back(line("playing", r, b, interval, hands(list)));
    }
};

using BaiCaoReplies = GameReplies<BaiCaoMessageHandler, Recorder>;

TEST_F(BaiCaoReplies, AJoinHoldsFourPlacesWithEmptyOnesOfFourBytes) {
    Bytes two = Bytes().byte(1).byte(4).int32(7).int32(1000);
    two.int32(7).utf("an").int64(5000).int16(3).int32(40).boolean(true);
    two.int32(-1);
    EXPECT_EQ(read(8, two), (Calls{"join 1 4 7 1000 [7 'an' 5000 3 40 1] [-1 '' 0 0 0 0] [-1 '' 0 0 0 0] "
                                   "[-1 '' 0 0 0 0]"}));
}

TEST_F(BaiCaoReplies, TableEventsReachTheirCallbacksAndStakesReadAlikeFromTwentyFourAndEighty) {
    EXPECT_EQ(read(9, Bytes().byte(1).byte(4).int32(8).utf("hi")), (Calls{"chat 1 4 8 'hi'"}));
    EXPECT_EQ(read(24, Bytes().byte(1).byte(4).int32(500).int32(7)), (Calls{"stake 1 4 500 7"}));
    EXPECT_EQ(read(80, Bytes().byte(1).byte(4).int32(7).int32(500)), (Calls{"stake 1 4 500 7"}));
}

TEST_F(BaiCaoReplies, HandsStartTurnEndAndRunningListsStopAtTheFirstRecordCutShort) {
    EXPECT_EQ(read(20, Bytes().byte(1).byte(4).byte(int8_t(200)).raw({5, 17, 51})), (Calls{"start 1 4 051133 200"}));
    EXPECT_EQ(read(21, Bytes().byte(1).byte(4).int32(8).raw({5, 255, 255})), (Calls{"move 1 4 8 05ffff"}));
    EXPECT_EQ(read(50, Bytes().byte(1).byte(4).byte(0)), (Calls{"stop 1 4 "})) << "no record still ends the hand";
    EXPECT_EQ(read(50, Bytes().byte(1).byte(4).byte(2).int32(7).raw({1, 2, 3}).int32(8).raw({4})),
              (Calls{"stop 1 4 [7 1 2 3]"}));
    EXPECT_EQ(read(50, Bytes().byte(1).byte(4).byte(int8_t(130)).int32(7).raw({1, 255, 3})),
              (Calls{"stop 1 4 [7 1 255 3]"}))
        << "the count is read unsigned";
    EXPECT_EQ(read(62, Bytes().byte(1).byte(4).byte(30).byte(1).int32(8).raw({9, 10, 11})),
              (Calls{"playing 1 4 30 [8 9 10 11]"}));
    EXPECT_EQ(read(20, Bytes().byte(1).byte(4).byte(20).raw({5, 17})), Calls{}) << "three cards or nothing";
    EXPECT_EQ(read(21, Bytes().byte(1).byte(4).int32(8)), Calls{});
}

TEST_F(BaiCaoReplies, NoiseOverEveryCommandIsDroppedAndTheNextReplyStillReads) {
    std::mt19937 random(11);
    for (int16_t command : {8, 9, 11, 12, 14, 16, 20, 21, 24, 50, 52, 62, 80, 91, 103, 77}) {
        for (int round = 0; round < 200; ++round) {
            ByteVector body = randomBody(random, 40);
            read(command, body);
        }
    }
    EXPECT_EQ(read(16, Bytes().int32(8).boolean(false)), (Calls{"ready 8 0"}));
}

} // namespace
} // namespace kavo::test
