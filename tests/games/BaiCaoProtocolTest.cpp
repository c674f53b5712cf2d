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
    EXPECT_EQ(client.take(), "21:030c05ffff");
    service.moveWithRoomId(3, 12, {});
    EXPECT_EQ(client.take(), "21:030c");
    service.setMaxPlayerWithRoomId(3, 12, 2);
    EXPECT_EQ(client.take(), "56:030c02");
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
        std::string line = "join " + std::to_string(r) + " " + std::to_string(b) + " " + std::to_string(owner) + " " +
                           std::to_string(money);
        for (const auto& p : players)
            line += " [" + std::to_string(p->IDDB()) + " '" + p->name() + "' " + std::to_string(p->money()) + " " +
                    std::to_string(p->avatar()) + " " + std::to_string(p->exp()) + " " + std::to_string(p->isReady()) +
                    "]";
        calls.push_back(line);
    }
    void onChatFromBoardWithRoomId(int8_t r, int8_t b, const std::string& t, int32_t from) override {
        calls.push_back("chat " + std::to_string(r) + " " + std::to_string(b) + " " + std::to_string(from) + " '" + t +
                        "'");
    }
    void onKickedWithRoomId(int8_t r, int8_t b, int32_t id) override {
        calls.push_back("kick " + std::to_string(r) + " " + std::to_string(b) + " " + std::to_string(id));
    }
    void onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<Player> p) override {
        calls.push_back("sit " + std::to_string(seat) + " [" + std::to_string(p->IDDB()) + " '" + p->name() + "' " +
                        std::to_string(p->money()) + " " + std::to_string(p->avatar()) + " " +
                        std::to_string(p->exp()) + " " + std::to_string(p->isReady()) + "]");
    }
    void onSomeOneLeaveBoardWithIdLeave(int32_t id, int32_t owner) override {
        calls.push_back("leave " + std::to_string(id) + " " + std::to_string(owner));
    }
    void onSomeOneReadyWithId(int32_t id, bool ready) override {
        calls.push_back("ready " + std::to_string(id) + " " + std::to_string(ready));
    }
    void onOwnerSetMoneyOnBoardWithRoomId(int8_t r, int8_t b, int32_t money, int32_t who) override {
        calls.push_back("stake " + std::to_string(r) + " " + std::to_string(b) + " " + std::to_string(money) + " " +
                        std::to_string(who));
    }
    void onBonusMoneyWithRommId(int8_t r, int8_t b, int32_t who, int32_t money, const std::string& des) override {
        calls.push_back("bonus " + std::to_string(r) + " " + std::to_string(b) + " " + std::to_string(who) + " " +
                        std::to_string(money) + " '" + des + "'");
    }
    void onDiemSoWithWho(int32_t who, const std::string& des) override {
        calls.push_back("score " + std::to_string(who) + " '" + des + "'");
    }
    void onBuzzWithContent(const std::string& t) override { calls.push_back("buzz '" + t + "'"); }
    void onStartGameWithRoomId(int8_t r, int8_t b, std::vector<uint8_t> cards, uint8_t interval) override {
        calls.push_back("start " + std::to_string(r) + " " + std::to_string(b) + " " + hex(cards) + " " +
                        std::to_string(interval));
    }
    void onMoveWithRoomId(int8_t r, int8_t b, int32_t who, std::vector<uint8_t> cards) override {
        calls.push_back("move " + std::to_string(r) + " " + std::to_string(b) + " " + std::to_string(who) + " " +
                        hex(cards));
    }
    void onStopGameWithRoomId(int8_t r, int8_t b, std::vector<BaiCaoHand> list) override {
        calls.push_back("stop " + std::to_string(r) + " " + std::to_string(b) + " " + hands(list));
    }
    void onPlayingWithRoomId(int8_t r, int8_t b, uint8_t interval, std::vector<BaiCaoHand> list) override {
        calls.push_back("playing " + std::to_string(r) + " " + std::to_string(b) + " " + std::to_string(interval) +
                        " " + hands(list));
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
