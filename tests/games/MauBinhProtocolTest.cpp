// The Mau Binh requests byte by byte and every reply read from byte strings on the
// reader side (what reaches the logic handler).
#include "games/maubinh/MauBinhLogicHandler.h"
#include "games/maubinh/MauBinhMessageHandler.h"
#include "games/maubinh/MauBinhService.h"
#include "net/IMobileClient.h"
#include "table/base/TienLenPlayer.h"
#include "tests/games/GameWire.h"
#include "tests/support/RecordedMessage.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

TEST_F(GameRequests, MauBinhEveryRequestGoesOutByteForByte) {
    auto& service = MauBinhService::getInstance();
    service.doSortByOrder(3, 12);
    service.doSortByType(3, 12);
    service.doAutoArrange(3, 12);
    EXPECT_EQ(client.take(), "47:030c17 47:030c18 47:030c19");
    service.doSetLimitTime(2, 3, 12);
    EXPECT_EQ(client.take(), "47:030c0a02") << "the menu's row as built";
    service.doFinishTurn(3, 12, {0, 5, 51, 12, 13, 14, 15, 16, 20, 30, 40, 44, 48});
    EXPECT_EQ(client.take(), "47:030c1e0005330c0d0e0f10141e282c30") << "3 + 13 bytes, no count";
    service.doFinishTurn(3, 12, {300});
    EXPECT_EQ(client.take(), "47:030c1e2c") << "each value truncated to a byte";
    service.doFinishTurn(3, 12, {});
    EXPECT_EQ(client.take(), "47:030c1e");
}

std::string ids(const std::vector<int8_t>& cards) {
    std::string out;
    for (int8_t c : cards)
        out += (out.empty() ? "" : ",") + std::to_string(c);
    return out;
}

class Recorder : public MauBinhLogicHandler {
public:
    std::vector<std::string> calls;

    void onJoinGameSuccessWithRoomId(int8_t r, int8_t b, int32_t owner, int32_t money, MauBinhPlayers list) override {
        std::string out = line("join", r, b, owner, money);
        for (const auto& p : list)
            out += " " + seated(*p);
        calls.push_back(out);
    }
    void onChatFromBoardWithRoomId(int8_t r, int8_t b, const std::string& t, int32_t from) override {
        calls.push_back(line("chat", r, b, from, quoted(t)));
    }
    void onKickedWithRoomId(int8_t r, int8_t b, int32_t id) override { calls.push_back(line("kicked", r, b, id)); }
    void onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<TienLenPlayer> p) override {
        calls.push_back(line("sits", seat, seated(*p, p->finishPosition())));
    }
    void onSomeOneLeaveBoardWithIdLeave(int32_t id, int32_t owner) override {
        calls.push_back(line("leaves", id, owner));
    }
    void onSomeOneReadyWithId(int32_t id, bool ready) override { calls.push_back(line("ready", id, ready)); }
    void onOwnerSetMoneyWithRoomeId(int8_t r, int8_t b, int32_t money) override {
        calls.push_back(line("stake", r, b, money));
    }
    void onBuzzWithContent(const std::string& t) override { calls.push_back(line("buzz", quoted(t))); }
    void onSetLimitTime(int s) override { calls.push_back(line("time", s)); }
    void onPlayingWithLimitTime(int8_t limit, int8_t rest) override { calls.push_back(line("playing", limit, rest)); }
    void onStartWithRoomId(int8_t r, int8_t b, int8_t time, std::vector<int8_t> cards, int8_t type) override {
        calls.push_back(line("start", r, b, time, ids(cards), type));
    }
    void onSort(std::vector<int8_t> cards) override { calls.push_back(line("sort", ids(cards))); }
    void onFinishWithUserID(int32_t id) override { calls.push_back(line("finish", id)); }
    void onResultWithUserID(int32_t id, int32_t money, int32_t chi, int8_t type,
                            std::vector<ResultPlayer> rows) override {
        std::string out = "result " + std::to_string(id) + " " + std::to_string(money) + " " + std::to_string(chi) +
                          " " + std::to_string(type);
        for (const auto& r : rows)
            out += " [" + std::to_string(r.userId) + " " + std::to_string(r.winMoney) + " " + std::to_string(r.winChi) +
                   " " + ids(r.cardList) + " " + std::to_string(r.mbType) + " " + std::to_string(r.winChiMB) + " " +
                   std::to_string(r.winChi1) + " " + std::to_string(r.winChi2) + " " + std::to_string(r.winChi3) + " " +
                   std::to_string(r.multiKo) + " " + std::to_string(r.winChiAce) + "]";
        calls.push_back(out);
    }
    void onStopGame() override { calls.push_back("stop"); }
};

using MauBinhReplies = GameReplies<MauBinhMessageHandler, Recorder, 47>;

Bytes& full(Bytes& bytes, int32_t id, const std::string& name, bool ready) {
    return bytes.int32(id).utf(name).int64(7000).int16(3).int32(120).boolean(ready);
}

Bytes& thirteen(Bytes& bytes, int8_t first) {
    for (int i = 0; i < 13; ++i)
        bytes.byte(int8_t(first + i));
    return bytes;
}

TEST_F(MauBinhReplies, AJoinAlwaysHoldsFourPlaces) {
    Bytes two = Bytes().byte(1).byte(4).int32(7).int32(500);
    full(two, 7, "An", true).int32(-1);
    EXPECT_EQ(read(8, two.data()),
              (Calls{"join 1 4 7 500 [7 'An' 7000 3 120 1] [-1 '' 0 0 0 0] [-1 '' 0 0 0 0] [-1 '' 0 0 0 0]"}))
        << "missing places are empty";
}

TEST_F(MauBinhReplies, RoomCommandsReachTheirCallbacks) {
    EXPECT_EQ(read(9, Bytes().byte(1).byte(4).int32(8).utf("chao").data()), (Calls{"chat 1 4 8 'chao'"}));
    EXPECT_EQ(read(12, Bytes().byte(3).int32(9).utf("Cu").int64(800).int16(4).int32(60).data()),
              (Calls{"sits 3 [9 'Cu' 800 4 60 0 -1]"}));
    EXPECT_EQ(read(77, Bytes().byte(1).data()), Calls{}) << "not this game's command";
}

TEST_F(MauBinhReplies, EverySubCommandOfTheGameIsRead) {
    EXPECT_EQ(game(Bytes().byte(10).byte(90).data()), (Calls{"time 90"}));
    EXPECT_EQ(game(Bytes().byte(15).byte(90).byte(1).data()), (Calls{"time 90", "playing 90 1"})) << "one second left";
    EXPECT_EQ(game(Bytes().byte(15).byte(90).byte(0).data()), (Calls{"time 90"})) << "rest 0 only sets the time";
    EXPECT_EQ(game(Bytes().byte(15).byte(90).byte(-3).data()), (Calls{"time 90"}));
    Bytes start = Bytes().byte(20).byte(1).byte(4).byte(60);
    thirteen(start, 0).byte(-1);
    EXPECT_EQ(game(start.data()), (Calls{"start 1 4 60 0,1,2,3,4,5,6,7,8,9,10,11,12 -1"}));
    for (int8_t sort : {23, 24, 25}) {
        Bytes sorted = Bytes().byte(sort);
        thirteen(sorted, 30);
        EXPECT_EQ(game(sorted.data()), (Calls{"sort 30,31,32,33,34,35,36,37,38,39,40,41,42"})) << int(sort);
    }
    EXPECT_EQ(game(Bytes().byte(30).int32(9).data()), (Calls{"finish 9"}));
    EXPECT_EQ(game(Bytes().byte(50).data()), (Calls{"stop"}));
    EXPECT_EQ(game(Bytes().byte(99).data()), Calls{}) << "unknown subs are ignored";
}

TEST_F(MauBinhReplies, AResultReadsWholeRowsOnly) {
    EXPECT_EQ(game(Bytes().byte(40).int32(7).int32(-3000).int32(-3).byte(-1).data()), (Calls{"result 7 -3000 -3 -1"}))
        << "the header alone: no rows";
    Bytes four = Bytes().byte(40).int32(7).int32(3000).int32(3).byte(-1);
    for (int32_t id : {7, 8, 9, 10}) {
        four.int32(id).int32(id * 100).int32(id - 8);
        thirteen(four, int8_t(id));
        four.byte(-1).byte(0).byte(1).byte(-1).byte(0).byte(2).byte(1);
    }
    ASSERT_EQ(game(four.data()).size(), 1u);
    EXPECT_EQ(recorder.calls[0], "result 7 3000 3 -1 [7 700 -1 7,8,9,10,11,12,13,14,15,16,17,18,19 -1 0 1 -1 0 2 1] "
                                 "[8 800 0 8,9,10,11,12,13,14,15,16,17,18,19,20 -1 0 1 -1 0 2 1] "
                                 "[9 900 1 9,10,11,12,13,14,15,16,17,18,19,20,21 -1 0 1 -1 0 2 1] "
                                 "[10 1000 2 10,11,12,13,14,15,16,17,18,19,20,21,22 -1 0 1 -1 0 2 1]");
    Bytes cut = Bytes().byte(40).int32(7).int32(3000).int32(3).byte(2);
    cut.int32(8).int32(800).int32(0);
    thirteen(cut, 0).byte(-1).byte(0).byte(1).byte(-1).byte(0).byte(2).byte(1);
    cut.int32(9).int32(900).int32(1);
    thirteen(cut, 0).byte(-1);
    EXPECT_EQ(game(cut.data()), (Calls{"result 7 3000 3 2 [8 800 0 0,1,2,3,4,5,6,7,8,9,10,11,12 -1 0 1 -1 0 2 1]"}))
        << "a row cut short is dropped";
}

TEST_F(MauBinhReplies, ShortOrRandomMessagesNeverReachTheTable) {
    // Every command and sub cut one byte short gives nothing.
    const std::vector<std::pair<int16_t, ByteVector>> whole = {
        {9, Bytes().byte(1).byte(4).int32(8).utf("chao").data()},
        {11, Bytes().byte(1).byte(4).int32(8).data()},
        {12, Bytes().byte(2).int32(9).utf("Cu").int64(800).int16(4).int32(60).data()},
        {14, Bytes().int32(9).int32(7).data()},
        {16, Bytes().int32(9).boolean(true).data()},
        {19, Bytes().byte(1).byte(4).int32(2000).data()},
        {103, Bytes().utf("Bi").utf("oi").data()},
        {47, Bytes().byte(10).byte(90).data()},
        {47, Bytes().byte(15).byte(90).byte(5).data()},
        {47, thirteen(Bytes().byte(20).byte(1).byte(4).byte(60), 0).byte(-1).data()},
        {47, thirteen(Bytes().byte(23), 0).data()},
        {47, thirteen(Bytes().byte(24), 0).data()},
        {47, thirteen(Bytes().byte(25), 0).data()},
        {47, Bytes().byte(30).int32(9).data()},
        {47, Bytes().byte(40).int32(7).int32(3000).int32(3).byte(-1).data()},
    };
    for (const auto& [command, body] : whole) {
        EXPECT_EQ(read(command, body).size(), command == 47 && body[0] == 15 ? 2u : 1u) << command;
        EXPECT_EQ(read(command, ByteVector(body.begin(), body.end() - 1)), Calls{}) << command << " cut short";
    }
    std::mt19937 random(47);
    for (int round = 0; round < 2000; ++round) {
        ByteVector noise = randomBody(random, 40);
        const int16_t commands[] = {8, 9, 11, 12, 14, 16, 19, 103, 47};
        const int16_t command = commands[random() % std::size(commands)];
        const auto calls = read(command, noise);
        EXPECT_LE(calls.size(), 2u);
        if (command == 8 && !calls.empty()) {
            size_t places = 0;
            for (size_t at = calls[0].find('['); at != std::string::npos; at = calls[0].find('[', at + 1))
                ++places;
            EXPECT_EQ(places, 4u);
        }
    }
}

TEST(MauBinhHandler, AnswersGameType16Only) {
    auto& handler = *MauBinhMessageHandler::getInstance();
    EXPECT_TRUE(handler.isGameType(16));
    EXPECT_FALSE(handler.isGameType(3));
    EXPECT_FALSE(handler.isGameType(-16));
}

} // namespace
} // namespace kavo::test
