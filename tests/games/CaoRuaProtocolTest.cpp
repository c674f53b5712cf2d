// The Cao Rua requests byte by byte and every table command read from byte strings.
#include "games/caorua/CaoRuaLogicHandler.h"
#include "games/caorua/CaoRuaMessageHandler.h"
#include "games/caorua/CaoRuaService.h"
#include "net/IMobileClient.h"
#include "table/base/TienLenPlayer.h"
#include "tests/games/GameWire.h"
#include "tests/support/RecordedMessage.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

TEST_F(GameRequests, CaoRuaTurnsForceFinishAndSeatCountGoOutByteForByte) {
    auto& service = CaoRuaService::getInstance();
    service.moveWithRoomId(3, 200, {7, 255, 255});
    EXPECT_EQ(client.take(), "21:03c807ffff");
    service.moveWithRoomId(3, 12, {});
    EXPECT_EQ(client.take(), "21:030c") << "no cards held: room and board only";
    service.forceFinishWithRoomId(3, 12);
    service.setMaxPlayerWithRoomId(3, 12, 6);
    EXPECT_EQ(client.take(), "53:030c 56:030c06");
}

// Writes each call down as a line of text.
class Recorder : public CaoRuaLogicHandler {
public:
    std::vector<std::string> calls;

    static std::string places(const CaoRuaPlayers& list) {
        std::string out;
        for (const auto& p : list)
            out += seated(*p);
        return out;
    }
    static std::string records(const CaoRuaCardRecords& list) {
        std::string out;
        for (const auto& r : list)
            out += " " + std::to_string(r.playerId) + ":" + std::to_string(r.cards[0]) + "," +
                   std::to_string(r.cards[1]) + "," + std::to_string(r.cards[2]);
        return out;
    }
    static std::string bytes(const std::vector<uint8_t>& list) {
        std::string out;
        for (uint8_t b : list)
            out += " " + std::to_string(b);
        return out;
    }

    void onJoinGameSuccessWithRoomId(int8_t r, int8_t b, int32_t o, int32_t m, CaoRuaPlayers p) override {
        calls.push_back(line("join", r, b, "owner", o, "money", m, places(p)));
    }
    void onChatFromBoardWithRoomId(int8_t r, int8_t b, const std::string& t, int32_t f) override {
        calls.push_back(line("chat", r, b, quoted(t), f));
    }
    void onKickedWithRoomId(int8_t r, int8_t b, int32_t k) override { calls.push_back(line("kicked", r, b, k)); }
    void onSomeOneJoinBoardWithSeat(int s, std::shared_ptr<TienLenPlayer> p) override {
        calls.push_back(line("sat", s, places({p}), "finish", p->finishPosition()));
    }
    void onSomeOneLeaveBoardWithIdLeave(int32_t l, int32_t o) override { calls.push_back(line("left", l, "owner", o)); }
    void onSomeOneReadyWithId(int32_t id, bool r) override { calls.push_back(line("ready", id, r)); }
    void onOwnerSetMoneyWithRoomeId(int8_t r, int8_t b, int32_t m) override {
        calls.push_back(line("table money", r, b, m));
    }
    void onStartGameWithRoomId(int8_t r, int8_t b, std::vector<int8_t> c, int32_t bet, int8_t t) override {
        std::string out = line("start", r, b, "bet", bet, "time", t, "cards");
        for (int8_t card : c)
            out += " " + std::to_string(card);
        calls.push_back(out);
    }
    void onMoveWithRoomId(int8_t r, int8_t b, int32_t who, std::vector<uint8_t> c) override {
        calls.push_back(line("move", r, b, who) + bytes(c));
    }
    void onOwnerSetMoneyOnBoardWithRoomId(int8_t r, int8_t b, int32_t m, int32_t who) override {
        calls.push_back(line("stake", r, b, m, "by", who));
    }
    void onStopGameWithRoomId(int8_t r, int8_t b, CaoRuaCardRecords c) override {
        calls.push_back(line("stop", r, b) + records(c));
    }
    void onBonusMoneyWithRommId(int8_t r, int8_t b, int32_t who, int32_t m, const std::string& d) override {
        calls.push_back(line("bonus", r, b, who, m, quoted(d)));
    }
    void onPlayingWithRoomId(int8_t r, int8_t b, int32_t m, CaoRuaCardRecords c) override {
        calls.push_back(line("playing", r, b, m) + records(c));
    }
    void onDiemSoWithWho(int32_t who, const std::string& d) override { calls.push_back(line("score", who, quoted(d))); }
    void onBuzzWithContent(const std::string& t) override { calls.push_back(line("buzz", quoted(t))); }
};

using CaoRuaReplies = GameReplies<CaoRuaMessageHandler, Recorder>;

constexpr const char* kEmpty = "[-1 '' 0 0 0 0]";

std::string empties(int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += kEmpty;
    return out;
}

TEST_F(CaoRuaReplies, AJoinHoldsSixPlacesWithEmptyOnesOfFourBytes) {
    Bytes join = Bytes().byte(1).byte(4).int32(7).int32(500);
    join.int32(7).utf("Ân").int64(120000).int16(3).int32(250).boolean(false).int32(-1);
    join.int32(9).utf("binh").int64(900).int16(2).int32(40).boolean(true).int32(-1).int32(-1).int32(-1);
    EXPECT_EQ(read(8, join.data()), Calls{"join 1 4 owner 7 money 500 [7 'Ân' 120000 3 250 0]" + std::string(kEmpty) +
                                          "[9 'binh' 900 2 40 1]" + empties(3)})
        << "the name stays as sent";
}

TEST_F(CaoRuaReplies, TableCommandsReachTheirCallbacks) {
    EXPECT_EQ(read(9, Bytes().byte(2).byte(3).int32(44).utf("chao").data()), Calls{"chat 2 3 'chao' 44"});
    EXPECT_EQ(read(20, Bytes().byte(2).byte(3).byte(15).int32(1000).raw({0, 51, 0xff}).data()),
              Calls{"start 2 3 bet 1000 time 15 cards 0 51 -1"});
    EXPECT_EQ(read(21, Bytes().byte(2).byte(3).int32(9).raw({5, 0xff, 0xff}).data()), Calls{"move 2 3 9 5 255 255"});
    EXPECT_EQ(read(61, Bytes().byte(17).data()), Calls{}) << "not this table's";
}

TEST_F(CaoRuaReplies, HandRecordsAreReadWholeOrNotAtAll) {
    const ByteVector two = Bytes().int32(7).raw({1, 2, 3}).int32(9).raw({0xff, 50, 0xff}).data();
    EXPECT_EQ(read(50, Bytes().byte(2).byte(3).byte(2).raw(two).data()), Calls{"stop 2 3 7:1,2,3 9:-1,50,-1"});
    EXPECT_EQ(read(50, Bytes().byte(2).byte(3).byte(0).data()), Calls{"stop 2 3"});
    EXPECT_EQ(read(50, Bytes().byte(2).byte(3).byte(-56).raw(two).data()), Calls{"stop 2 3 7:1,2,3 9:-1,50,-1"})
        << "a count of 200 is read unsigned and stops where the records do";
    EXPECT_EQ(read(50, Bytes().byte(2).byte(3).byte(2).int32(7).raw({1, 2, 3}).int32(9).raw({4}).data()),
              Calls{"stop 2 3 7:1,2,3"});
    Bytes eight = Bytes().byte(2).byte(3).int32(1000);
    for (int32_t id = 1; id <= 8; ++id)
        eight.int32(id).raw({uint8_t(id), 0xff, 0xff});
    EXPECT_EQ(read(62, eight.data()), Calls{"playing 2 3 1000 1:1,-1,-1 2:2,-1,-1 3:3,-1,-1 4:4,-1,-1 5:5,-1,-1 "
                                            "6:6,-1,-1"})
        << "six records kept, the rest read and dropped";
    EXPECT_EQ(read(62, Bytes().byte(2).byte(3).int32(1000).int32(4).raw({1}).data()), Calls{"playing 2 3 1000"});
}

TEST_F(CaoRuaReplies, MessagesCutShortReachNobody) {
    EXPECT_EQ(read(9, Bytes().byte(2).byte(3).int32(44).data()), Calls{});
    EXPECT_EQ(read(20, Bytes().byte(2).byte(3).byte(15).int32(1000).raw({1, 2}).data()), Calls{});
    EXPECT_EQ(read(21, Bytes().byte(2).byte(3).int32(9).raw({5, 0xff}).data()), Calls{});
    EXPECT_EQ(read(80, Bytes().byte(2).byte(3).int32(7).data()), Calls{});
    EXPECT_EQ(read(103, Bytes().utf("A").data()), Calls{});
}

TEST_F(CaoRuaReplies, RandomBodiesForEveryCommandEndQuietly) {
    std::mt19937 random(17);
    const int16_t commands[] = {8, 9, 11, 12, 14, 16, 19, 20, 21, 24, 50, 52, 62, 80, 91, 103};
    size_t calls = 0;
    for (int round = 0; round < 640; ++round) {
        ByteVector body = randomBody(random, 48);
        calls += read(commands[round % std::size(commands)], body).size();
    }
    EXPECT_GT(calls, 100u) << "the commands still reach their callbacks";
}

} // namespace
} // namespace kavo::test
