// The Tien Len wire: the requests byte for byte, and every incoming command read from
// byte strings into the logic handler's calls.
#include "games/tienlen/TienLenLogicHandler.h"
#include "games/tienlen/TienLenMessageHandler.h"
#include "games/tienlen/TienLenService.h"
#include "net/IMobileClient.h"
#include "table/base/TienLenPlayer.h"
#include "tests/games/GameWire.h"
#include "tests/support/RecordedMessage.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

TEST_F(GameRequests, TienLenFireSkipClaimAndSeatLimitGoOutByteForByte) {
    auto& service = TienLenService::getInstance();
    service.moveWithRoomId(3, 12, {40, 5, 22});
    EXPECT_EQ(client.take(), "21:030c03280516") << "three cards in the caller's order";
    service.skipWithRoomId(3, 12);
    service.forceFinishWithRoomId(3, 12);
    service.setMaxPlayerWithRoomId(3, 12, 2);
    EXPECT_EQ(client.take(), "49:030c 53:030c 56:030c02");
}

std::string ids(const std::vector<uint8_t>& cards) {
    std::string out;
    for (uint8_t id : cards)
        out += (out.empty() ? "" : ",") + std::to_string(id);
    return "{" + out + "}";
}

// Writes each call down as a line of text.
class Recorder : public TienLenLogicHandler {
public:
    std::vector<std::string> calls;
    static std::string n(int value) { return std::to_string(value); }

    void onJoinGameSuccessWithRoomId(int8_t r, int8_t b, int32_t o, int32_t m, TienLenPlayerList list) override {
        std::string out = line("join", r, b, o, m);
        for (const auto& p : list)
            out += " " + seated(*p);
        calls.push_back(out);
    }
    void onChatFromBoardWithRoomId(int8_t r, int8_t b, const std::string& t, int32_t f) override {
        calls.push_back(line("chat", r, b, quoted(t), f));
    }
    void onKickedWithRoomId(int8_t r, int8_t b, int32_t k) override { calls.push_back(line("kicked", r, b, k)); }
    void onSomeOneJoinBoardWithSeat(int s, std::shared_ptr<TienLenPlayer> p) override {
        calls.push_back(line("sat", s, seated(*p, p->finishPosition())));
    }
    void onSomeOneLeaveBoardWithIdLeave(int32_t l, int32_t o) override { calls.push_back(line("left", l, "owner", o)); }
    void onSomeOneReadyWithId(int32_t w, bool r) override { calls.push_back(line("ready", w, r)); }
    void onOwnerSetMoneyWithRoomeId(int8_t r, int8_t b, int32_t m) override { calls.push_back(line("stake", r, b, m)); }
    void onStartGameWithRoomId(int8_t r, int8_t b, std::vector<uint8_t> c, int i, int32_t w) override {
        calls.push_back(line("start", r, b, ids(c), "interval", i, "first", w));
    }
    void onMoveWithRoomId(int8_t r, int8_t b, int32_t w, std::vector<uint8_t> c, int32_t x) override {
        calls.push_back(line("move", r, b, w, ids(c), "next", x));
    }
    void onSkipWithRoomId(int8_t r, int8_t b, int32_t w, int32_t x, bool c) override {
        calls.push_back(line("skip", r, b, w, "next", x, "clear", c));
    }
    void onSomeOneFinishWithRoomId(int8_t r, int8_t b, int32_t w, int p, int32_t m, int32_t e) override {
        calls.push_back(line("finish", r, b, w, p, m, e));
    }
    void onStopGameWithRoomId(int8_t r, int8_t b, int32_t w, std::vector<uint8_t> c) override {
        calls.push_back(line("stop", r, b, w, ids(c)));
    }
    void onBonusMoneyWithRommId(int8_t r, int8_t b, int32_t w, int32_t m, const std::string& d) override {
        calls.push_back(line("bonus", r, b, w, m, quoted(d)));
    }
    void onForceFinishWithRoomId(int8_t r, int8_t b, CardInfo info) override {
        calls.push_back(line("instant", r, b, info.owner, ids(info.cards)));
    }
    void onMoveErrorWithRoomeId(int8_t r, int8_t b, const std::string& t) override {
        calls.push_back(line("refused", r, b, quoted(t)));
    }
    void onBuzzWithContent(const std::string& t) override { calls.push_back(line("buzz", quoted(t))); }
};

using TienLenReplies = GameReplies<TienLenMessageHandler, Recorder>;

TEST_F(TienLenReplies, AJoinReadsEveryEntryAndAnEmptyPlaceIsFourBytes) {
    Bytes join = Bytes().byte(1).byte(4).int32(7).int32(1000);
    join.int32(7).utf("An").int64(5000).int16(3).int32(120).boolean(true);
    join.int32(-1);
    join.int32(9).utf("Binh").int64(800).int16(2).int32(0).boolean(false);
    EXPECT_EQ(read(8, join),
              (Calls{"join 1 4 7 1000 [7 'An' 5000 3 120 1] [-1 '' 0 0 0 0] [9 'Binh' 800 2 0 0] [-1 '' 0 0 0 0]"}))
        << "four places always";
}

TEST_F(TienLenReplies, TableCommandsReachTheirOperations) {
    struct Case {
        int16_t command;
        ByteVector body;
        Calls calls;
    };
    const Case cases[] = {
        {9, Bytes().byte(1).byte(4).int32(9).utf("chao"), {"chat 1 4 'chao' 9"}},
        {12, Bytes().byte(2).int32(9).utf("Binh").int64(800).int16(2).int32(50), {"sat 2 [9 'Binh' 800 2 50 0 -1]"}},
        {20,
         Bytes().byte(1).byte(4).byte(20).raw({51, 0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44}).int32(9),
         {"start 1 4 {51,0,4,8,12,16,20,24,28,32,36,40,44} interval 20 first 9"}},
        {21, Bytes().byte(1).byte(4).int32(9).byte(3).raw({40, 5, 22}).int32(7), {"move 1 4 9 {40,5,22} next 7"}},
        {49, Bytes().byte(1).byte(4).int32(9).int32(7).boolean(true), {"skip 1 4 9 next 7 clear 1"}},
        {51, Bytes().byte(1).byte(4).int32(9).byte(1).int32(-500).int32(-3), {"finish 1 4 9 1 -500 -3"}},
        {52, Bytes().byte(1).byte(4).int32(9).int32(300).utf("chat heo"), {"bonus 1 4 9 300 'chat heo'"}},
        {54, Bytes().byte(7).byte(2).utf("sai luat"), {"refused 2 7 'sai luat'"}},
        {10, Bytes().byte(1).byte(4), {}},
        {13, Bytes().byte(1).byte(4), {}},
        {55, Bytes().byte(1).byte(4), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(c.command, c.body), c.calls) << "command " << c.command;
}

TEST_F(TienLenReplies, CardListsTakeOnlyTheBytesPresent) {
    EXPECT_EQ(read(50, Bytes().byte(1).byte(4)), (Calls{"stop 1 4 -1 {}"})) << "no tail";
    EXPECT_EQ(read(50, Bytes().byte(1).byte(4).int32(9).byte(0)), (Calls{"stop 1 4 9 {}"})) << "n = 0";
    EXPECT_EQ(read(50, Bytes().byte(1).byte(4).int32(9).byte(2).raw({3, 47})), (Calls{"stop 1 4 9 {3,47}"}));
    EXPECT_EQ(read(50, Bytes().byte(1).byte(4).int32(9).raw({200, 3, 47})), (Calls{"stop 1 4 9 {3,47}"}))
        << "a count of 200 read unsigned, two cards present";
    EXPECT_EQ(read(53, Bytes().byte(7).byte(2).int32(9).raw({48, 49, 50, 51})), (Calls{"instant 2 7 9 {48,49,50,51}"}))
        << "board first, cards to the end";
    EXPECT_EQ(read(53, Bytes().byte(7).byte(2).int32(9)), (Calls{"instant 2 7 9 {}"}));
    EXPECT_EQ(read(20, Bytes().byte(1).byte(4).byte(20).raw({0, 4, 8})),
              (Calls{"start 1 4 {0,4,8} interval 20 first 0"}))
        << "a start cut short invents no card";
    EXPECT_EQ(read(21, Bytes().byte(1).byte(4).int32(9).byte(5).raw({40})), (Calls{"move 1 4 9 {40} next 0"}));
}

TEST_F(TienLenReplies, RandomBodiesForEveryCommandEndQuietly) {
    std::mt19937 random(3);
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
