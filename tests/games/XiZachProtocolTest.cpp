// The Xi Zach requests byte by byte and the game's own replies read from byte strings
// (the replies it shares with Bai Cao are read in the Bai Cao protocol test).
#include "games/xizach/XiZachLogicHandler.h"
#include "games/xizach/XiZachMessageHandler.h"
#include "games/xizach/XiZachService.h"
#include "net/IMobileClient.h"
#include "tests/games/GameWire.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

TEST_F(GameRequests, XiZachDrawStandCheckAndSeatLimitGoOutByteForByteAndTheEarlyEndIsOnlyBuilt) {
    auto& service = XiZachService::getInstance();
    service.moveWithRoomId(3, 12, XiZachService::kDraw);
    service.moveWithRoomId(3, 12, XiZachService::kStand);
    service.xetBaiWithRoomId(3, 12, 0x01020304);
    service.setMaxPlayerWithRoomId(3, 12, 3);
    EXPECT_EQ(client.take(), "21:030c00 21:030c01 67:030c01020304 56:030c03");
    const Message early = XiZachService::forceFinishMessage(3, 12);
    EXPECT_EQ(early.commandId(), 53);
    EXPECT_EQ(toHex(early.data()), "030c");
    EXPECT_EQ(client.take(), "");
}

// Writes each game call down as a line; the shared table events only by name.
class Recorder : public XiZachLogicHandler {
public:
    std::vector<std::string> calls;

    static std::string hands(const std::vector<XiZachHand>& list) {
        std::string out;
        for (const auto& h : list) {
            out += "[" + std::to_string(h.playerId) + " " + std::to_string(h.count);
            for (int32_t card : h.cards)
                out += " " + std::to_string(card);
            out += "]";
        }
        return out;
    }
    void onStartGameWithRoomId(int8_t r, int8_t b, int32_t who, std::vector<uint8_t> cards, int8_t interval) override {
        calls.push_back(line("start", r, b, who, toHex(cards), interval));
    }
    void onMoveWithRoomId(int8_t r, int8_t b, int32_t who, std::vector<uint8_t> cards) override {
        calls.push_back(line("shown", r, b, who, toHex(cards)));
    }
    void onGetCardWithRoomId(int8_t r, int8_t b, int32_t who, uint8_t card) override {
        calls.push_back(line("drawn", r, b, who, card));
    }
    void onGetRemainTimeWithRoomId(int8_t r, int8_t b, int32_t who, uint8_t seconds) override {
        calls.push_back(line("turn", r, b, who, seconds));
    }
    void onStopGameWithRoomId(int8_t r, int8_t b, std::vector<XiZachHand> list) override {
        calls.push_back(line("stop", r, b, hands(list)));
    }
    void onPlayingWithRoomId(int8_t r, int8_t b, int8_t interval, std::vector<XiZachHand> list) override {
        calls.push_back(line("playing", r, b, interval, hands(list)));
    }
    void onJoinGameSuccessWithRoomId(int8_t, int8_t, int32_t, int32_t,
                                     std::vector<std::shared_ptr<Player>> p) override {
        calls.push_back(line("join", p.size()));
    }
    void onChatFromBoardWithRoomId(int8_t, int8_t, const std::string&, int32_t) override { calls.push_back("chat"); }
    void onKickedWithRoomId(int8_t, int8_t, int32_t) override { calls.push_back("kick"); }
    void onSomeOneJoinBoardWithSeat(int, std::shared_ptr<Player>) override { calls.push_back("sit"); }
    void onSomeOneLeaveBoardWithIdLeave(int32_t, int32_t) override { calls.push_back("leave"); }
    void onSomeOneReadyWithId(int32_t, bool) override { calls.push_back("ready"); }
    void onOwnerSetMoneyOnBoardWithRoomId(int8_t, int8_t, int32_t, int32_t) override { calls.push_back("stake"); }
    void onBonusMoneyWithRommId(int8_t, int8_t, int32_t, int32_t, const std::string&) override {
        calls.push_back("bonus");
    }
    void onDiemSoWithWho(int32_t, const std::string& des) override { calls.push_back(line("score", quoted(des))); }
    void onBuzzWithContent(const std::string&) override { calls.push_back("buzz"); }
};

using XiZachReplies = GameReplies<XiZachMessageHandler, Recorder>;

TEST_F(XiZachReplies, TheStartCarriesTheFirstToActTheTurnLengthAndMyTwoCards) {
    EXPECT_EQ(read(20, Bytes().byte(1).byte(4).int32(8).byte(15).raw({5, 44})), (Calls{"start 1 4 8 052c 15"}));
    EXPECT_EQ(read(20, Bytes().byte(1).byte(4).int32(8).byte(15).raw({5})), Calls{});
    EXPECT_EQ(read(8, Bytes().byte(1).byte(4).int32(7).int32(100).int32(-1)), (Calls{"join 4"}));
    EXPECT_EQ(read(91, Bytes().int32(7).utf("Quac")), (Calls{"score 'Quac'"}));
}

TEST_F(XiZachReplies, AMoveIsShownCardsADrawnCardOrATurnAndAnUnknownTypeIsDropped) {
    EXPECT_EQ(read(21, Bytes().byte(1).byte(4).byte(2).int32(8).byte(3).raw({1, 255, 40})),
              (Calls{"shown 1 4 8 01ff28"}));
    EXPECT_EQ(read(21, Bytes().byte(1).byte(4).byte(0).int32(8).raw({33})), (Calls{"drawn 1 4 8 33"}));
    EXPECT_EQ(read(21, Bytes().byte(1).byte(4).byte(1).int32(8).byte(30)), (Calls{"turn 1 4 8 30"}));
    EXPECT_EQ(read(21, Bytes().byte(1).byte(4).byte(7).int32(8).byte(30)), Calls{});
    EXPECT_EQ(read(21, Bytes().byte(1).byte(4).byte(2).int32(8).byte(3).raw({1, 2})), Calls{}) << "ids cut short";
}

TEST_F(XiZachReplies, HandRecordsHoldFiveCardsAtMostAndStopAtTheFirstCutShort) {
    Bytes records;
    records.byte(1).byte(4).byte(3).int32(7).byte(3).raw({1, 2, 3});
    records.int32(8).byte(7).raw({10, 11, 12, 13, 14, 15, 16}).int32(9).byte(2).raw({20});
    EXPECT_EQ(read(50, records), (Calls{"stop 1 4 [7 3 1 2 3 -1 -1][8 5 10 11 12 13 14]"}));
    EXPECT_EQ(read(50, Bytes().byte(1).byte(4).byte(0)), (Calls{"stop 1 4 "}));
    EXPECT_EQ(read(62, Bytes().byte(1).byte(4).byte(20).byte(1).int32(8).byte(2).raw({255, 5})),
              (Calls{"playing 1 4 20 [8 2 255 5 -1 -1 -1]"}));
}

TEST_F(XiZachReplies, NoiseOverEveryCommandAndMoveTypeIsDroppedAndTheNextReplyStillReads) {
    std::mt19937 random(2);
    for (int16_t command : {8, 9, 11, 12, 14, 16, 20, 21, 24, 50, 52, 62, 80, 91, 103, 67}) {
        for (int round = 0; round < 200; ++round) {
            ByteVector body = randomBody(random, 40);
            if (command == 21 && body.size() > 2) body[2] = uint8_t(round % 4);
            read(command, body);
        }
    }
    EXPECT_EQ(read(21, Bytes().byte(1).byte(4).byte(1).int32(9).byte(10)), (Calls{"turn 1 4 9 10"}));
}

} // namespace
} // namespace kavo::test
