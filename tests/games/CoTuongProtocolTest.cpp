// The Chinese chess requests byte by byte and every reply read from byte strings.
#include "games/cotuong/CoTuongLogicHandler.h"
#include "games/cotuong/CoTuongMessageHandler.h"
#include "games/cotuong/CoTuongService.h"
#include "net/IMobileClient.h"
#include "table/base/ChessPlayer.h"
#include "tests/games/GameWire.h"
#include "tests/support/RecordedMessage.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

TEST_F(GameRequests, CoTuongEveryRequestGoesOutByteForByte) {
    auto& service = CoTuongService::getInstance();
    service.moveWithRoomId(3, 12, 1, 2, 1, 9);
    service.requestUndoWithRoomId(3, 12, 0);
    service.requestUndoWithRoomId(3, 12, 1);
    EXPECT_EQ(client.take(), "77:030c1901020109 77:030c1a00 77:030c1a01");
    service.requestUndoWithRoomId(3, 12, -1);
    EXPECT_EQ(client.take(), "77:030c1aff") << "a refusal is 0xFF";
    service.requestDrawWithRoomId(3, 12);
    service.requestLoseWithRoomId(3, 12);
    service.answerDrawWithRoomId(3, 12, false);
    service.denyDrawWithRoomId(3, 12);
    service.denyLoseWithRoomId(3, 12);
    service.getEatPieceWithRoomId(3, 12);
    EXPECT_EQ(client.take(), "77:030c1e 77:030c23 24:030c00 77:030c1f 77:030c24 77:030c21");
}

// Writes each call down as a line of text.
class Recorder : public CoTuongLogicHandler {
public:
    std::vector<std::string> calls;

    static std::string players(const ChessPlayerList& list) {
        std::string out;
        for (const auto& p : list)
            out += seated(*p);
        return out;
    }
    static std::string pieces(const std::vector<PieceServer>& list) {
        std::string out;
        for (const auto& p : list)
            out += "(" + std::to_string(p.posX) + "," + std::to_string(p.posY) + "," + std::to_string(p.pieceType) +
                   "," + std::to_string(p.isMove) + ")";
        return out;
    }
    void onChatFromBoardWithRoomId(int8_t r, int8_t b, const std::string& t, int32_t f) override {
        calls.push_back(line("chat", r, b, quoted(t), f));
    }
    void onJoinGameSuccessWithRoomId(int8_t r, int8_t b, int32_t o, int32_t m, ChessPlayerList p) override {
        calls.push_back(line("join", r, b, o, m, players(p)));
    }
    void onJoinViewGameSuccessWithRoomId(int8_t r, int8_t b, int32_t o, int32_t m, ChessPlayerList p) override {
        calls.push_back(line("view", r, b, o, m, players(p)));
    }
    void onKickedWithRoomId(int8_t r, int8_t b, int32_t k) override { calls.push_back(line("kicked", r, b, k)); }
    void onMatchResult(std::vector<MatchResultInfo> rows) override {
        std::string out = "result";
        for (const auto& row : rows)
            out += " " + std::to_string(row.ID()) + "/" + std::to_string(row.result()) + "/" +
                   std::to_string(row.d_money());
        calls.push_back(out);
    }
    void onMoveWithWhoMove(int32_t w, int8_t xs, int8_t ys, int8_t xd, int8_t yd, int32_t n, int32_t t,
                           int8_t k) override {
        calls.push_back("move " + std::to_string(w) + " " + std::to_string(xs) + std::to_string(ys) +
                        std::to_string(xd) + std::to_string(yd) + " next " + std::to_string(n) + " time " +
                        std::to_string(t) + " type " + std::to_string(k));
    }
    void onOpponentWantDraw() override { calls.push_back("draw offered"); }
    void onDenyDraw() override { calls.push_back("draw refused"); }
    void onDenyLose() override { calls.push_back("resignation refused"); }
    void onWantLose() override { calls.push_back("resigned"); }
    void onOwnerSetMoneyWithRoomeId(int8_t r, int8_t b, int32_t m) override { calls.push_back(line("stake", r, b, m)); }
    void onSomeOneJoinBoardWithSeat(int s, std::shared_ptr<ChessPlayer> p) override {
        calls.push_back(line("sat", s, players({p})));
    }
    void onSomeOneLeaveBoardWithIdLeave(int32_t l, int32_t o) override { calls.push_back(line("left", l, "owner", o)); }
    void onSomeOneReadyWithId(int32_t w, bool r) override { calls.push_back(line("ready", w, r)); }
    void onStartGameWithRoomId(int8_t r, int8_t b, int32_t w, int32_t i, int32_t o, int32_t c) override {
        calls.push_back(line("start", r, b, "first", w, "interval", i, "quotas", o, c));
    }
    void onGetTableInfo(TableInfo i) override {
        calls.push_back(line("snapshot", i.firstUserId, i.currentUserId, i.limitStepTimer, i.stepRemainTimer,
                             i.ownerUserId, i.gameRemainTime, pieces(i.listPiece), i.opponentUserId, i.gameRemainTime1,
                             pieces(i.listPiece1)));
    }
    void onRemoveButton(int8_t w) override { calls.push_back(line("remove", w)); }
    void onUndo() override { calls.push_back("undo asked"); }
    void onMakeUndoWithNextUserId(int32_t n, std::vector<PieceUndo> u) override {
        std::string out = "undo next " + std::to_string(n);
        for (const auto& row : u)
            out += " " + std::to_string(row.xSource) + std::to_string(row.ySource) + std::to_string(row.xDest) +
                   std::to_string(row.yDest) + "/" + std::to_string(row.eatPieceType);
        calls.push_back(out);
    }
    void onStopGame() override { calls.push_back("stopped"); }
    void onShowMessage(const std::string& t) override { calls.push_back(line("text", quoted(t))); }
    void onBuzzWithContent(const std::string& t) override { calls.push_back(line("buzz", quoted(t))); }
};

using CoTuongReplies = GameReplies<CoTuongMessageHandler, Recorder, 77>;

TEST_F(CoTuongReplies, JoinsReadEveryRowWithNamesLowerCasedAndEmptyPlaces) {
    Bytes rows;
    rows.byte(1).byte(4).int32(7).int32(500);
    rows.int32(7).utf("ÂN Ba").int64(120000).int16(3).int32(250).boolean(true).int32(-1);
    EXPECT_EQ(read(8, rows), Calls{"join 1 4 7 500 [7 'ân ba' 120000 3 250 1][-1 '' 0 0 0 0]"});
    EXPECT_EQ(read(1900, rows), Calls{"view 1 4 7 500 [7 'ân ba' 120000 3 250 1][-1 '' 0 0 0 0]"});
    EXPECT_EQ(read(8, Bytes().byte(1).byte(4).int32(7).int32(500)),
              Calls{"join 1 4 7 500 [-1 '' 0 0 0 0][-1 '' 0 0 0 0]"})
        << "two places always";
}

TEST_F(CoTuongReplies, RoomCommandsReachTheirCallbacks) {
    EXPECT_EQ(read(9, Bytes().byte(2).byte(3).int32(44).utf("chao")), Calls{"chat 2 3 'chao' 44"});
    EXPECT_EQ(read(61, Bytes().byte(5)), Calls{}) << "not this table's";
}

TEST_F(CoTuongReplies, GameMessagesReachTheirCallbacks) {
    EXPECT_EQ(game(Bytes().byte(15).byte(1).byte(4).int32(25).int32(9).int32(900).int32(600)),
              Calls{"start 1 4 first 9 interval 25 quotas 900 600"});
    EXPECT_EQ(game(Bytes().byte(25).int32(9).raw({1, 2, 1, 9}).int32(880).int32(7).byte(0)),
              Calls{"move 9 1219 next 7 time 880 type 0"});
    EXPECT_EQ(game(Bytes().byte(25).int32(9).raw({1, 2, 1, 9})), Calls{"move 9 1219 next 0 time 0 type 0"})
        << "a move cut after its squares";
    EXPECT_EQ(game(Bytes().byte(12).byte(1)), Calls{"remove 1"});
    EXPECT_EQ(game(Bytes().byte(26)), Calls{"undo asked"});
    EXPECT_EQ(game(Bytes().byte(30)), Calls{"draw offered"});
    EXPECT_EQ(game(Bytes().byte(31)), Calls{"draw refused"});
    EXPECT_EQ(game(Bytes().byte(35)), Calls{"resigned"});
    EXPECT_EQ(game(Bytes().byte(36)), Calls{"resignation refused"});
    EXPECT_EQ(game(Bytes().byte(39).utf("Het gio")), Calls{"text 'Het gio'"});
    EXPECT_EQ(game(Bytes().byte(50)), Calls{"stopped"});
    for (int8_t other : {28, 33, 41, 0, -1})
        EXPECT_EQ(game(Bytes().byte(other).int32(1)), Calls{}) << "sub " << int(other);
}

TEST_F(CoTuongReplies, ListsReadWhileBytesRemainAndStopAtTheFirstRowCutShort) {
    EXPECT_EQ(game(Bytes().byte(40).int32(9).byte(1).int32(500).int32(7).byte(-1).int32(-500)),
              Calls{"result 9/1/500 7/-1/-500"});
    EXPECT_EQ(game(Bytes().byte(40).int32(9).byte(1).int32(500).int32(7).byte(-1)), Calls{"result 9/1/500"});
    EXPECT_EQ(game(Bytes().byte(27).int32(7).raw({1, 9, 1, 2, 4, 7, 3, 7, 4, 0xff, 1})),
              Calls{"undo next 7 1912/4 7374/-1"});
    EXPECT_EQ(game(Bytes().byte(27).int32(7)), Calls{"undo next 7"});
}

TEST_F(CoTuongReplies, SnapshotsGiveOneCallPerWholeBlock) {
    const ByteVector block =
        Bytes().int32(9).int32(7).int32(30).int32(12).int32(7).int32(800).byte(0).int32(9).int32(700).byte(2).raw(
            {4, 9, 1, 0, 1, 7, 6, 1});
    EXPECT_EQ(game(Bytes().byte(10).raw(block)), Calls{"snapshot 9 7 30 12 7 800  9 700 (4,9,1,0)(1,7,6,1)"})
        << "n = 0 reads on with the opponent's fields";
    ByteVector two = Bytes().byte(10).raw(block);
    two.insert(two.end(), block.begin(), block.end());
    EXPECT_EQ(game(two).size(), 2u);
    const ByteVector cut(two.begin(), two.end() - 3);
    EXPECT_EQ(game(cut).size(), 1u) << "the second block is cut inside its pieces";
}

TEST_F(CoTuongReplies, RandomBodiesForEveryCommandAndSubEndQuietly) {
    std::mt19937 random(77);
    const int16_t commands[] = {8, 1900, 9, 11, 12, 14, 16, 19, 103};
    const int8_t subs[] = {10, 12, 15, 25, 26, 27, 30, 31, 35, 36, 39, 40, 50};
    size_t calls = 0;
    for (int round = 0; round < 300; ++round) {
        ByteVector body = randomBody(random, 40);
        calls += read(commands[round % std::size(commands)], body).size();
        body.insert(body.begin(), uint8_t(subs[round % std::size(subs)]));
        calls += game(body).size();
    }
    EXPECT_GT(calls, 300u) << "the commands still reach their callbacks";
}

} // namespace
} // namespace kavo::test
