// The hidden-piece chess requests byte by byte and its replies read from byte strings:
// the Chinese chess layouts under command 86, and the captured pieces (sub 33).
#include "games/coup/CoUpLogicHandler.h"
#include "games/coup/CoUpMessageHandler.h"
#include "games/coup/CoUpService.h"
#include "net/IMobileClient.h"
#include "table/base/ChessPlayer.h"
#include "tests/games/GameWire.h"
#include "tests/support/RecordedMessage.h"

#include <gtest/gtest.h>
#include <mutex>

namespace kavo::test {
namespace {

TEST_F(GameRequests, CoUpEveryRequestGoesOutUnder86AndTheDrawAnswerUnder24) {
    auto& service = CoUpService::getInstance();
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { service.moveWithRoomId(2, 7, 0, 3, 0, 4); }, "86:02071900030004"},
        {[&] { service.requestUndoWithRoomId(2, 7, 0); }, "86:02071a00"},
        {[&] { service.requestUndoWithRoomId(2, 7, 1); }, "86:02071a01"},
        {[&] { service.requestUndoWithRoomId(2, 7, -1); }, "86:02071aff"},
        {[&] { service.requestDrawWithRoomId(2, 7); }, "86:02071e"},
        {[&] { service.requestLoseWithRoomId(2, 7); }, "86:020723"},
        {[&] { service.getEatPieceWithRoomId(2, 7); }, "86:020721"},
        {[&] { service.denyDrawWithRoomId(2, 7); }, "86:02071f"},
        {[&] { service.denyLoseWithRoomId(2, 7); }, "86:020724"},
        {[&] { service.answerDrawWithRoomId(2, 7, false); }, "24:020700"},
        {[&] { service.answerDrawWithRoomId(2, 7, true); }, "24:020701"},
    };
    for (const auto& [request, expected] : cases) {
        request();
        EXPECT_EQ(client.take(), expected);
    }
}

TEST(CoUpHandler, AnswersOnlyForGameType20) {
    const auto& handler = CoUpMessageHandler::getInstance();
    EXPECT_FALSE(handler->isGameType(5));
    EXPECT_TRUE(handler->isGameType(20));
    EXPECT_FALSE(handler->isGameType(0));
}

// Writes each call down as a line of text.
class Recorder : public CoUpLogicHandler {
public:
    std::vector<std::string> calls;

    void onChatFromBoardWithRoomId(int8_t, int8_t, const std::string& t, int32_t) override { add(line("chat", t)); }
    void onJoinGameSuccessWithRoomId(int8_t r, int8_t b, int32_t, int32_t, ChessPlayerList p) override {
        add(line("join", r, b, "players", p.size()));
    }
    void onJoinViewGameSuccessWithRoomId(int8_t, int8_t, int32_t, int32_t, ChessPlayerList) override { add("view"); }
    void onKickedWithRoomId(int8_t, int8_t, int32_t k) override { add(line("kicked", k)); }
    void onMatchResult(std::vector<MatchResultInfo> rows) override { add(line("result", rows.size())); }
    void onMoveWithWhoMove(int32_t w, int8_t xs, int8_t ys, int8_t xd, int8_t yd, int32_t n, int32_t t,
                           int8_t k) override {
        add("move " + std::to_string(w) + " " + std::to_string(xs) + std::to_string(ys) + std::to_string(xd) +
            std::to_string(yd) + " next " + std::to_string(n) + " time " + std::to_string(t) + " type " +
            std::to_string(k));
    }
    void onOpponentWantDraw() override { add("draw offered"); }
    void onDenyDraw() override { add("draw refused"); }
    void onDenyLose() override { add("resignation refused"); }
    void onWantLose() override { add("resigned"); }
    void onOwnerSetMoneyWithRoomeId(int8_t, int8_t, int32_t m) override { add(line("stake", m)); }
    void onSomeOneJoinBoardWithSeat(int s, std::shared_ptr<ChessPlayer>) override { add(line("sat", s)); }
    void onSomeOneLeaveBoardWithIdLeave(int32_t l, int32_t) override { add(line("left", l)); }
    void onSomeOneReadyWithId(int32_t w, bool) override { add(line("ready", w)); }
    void onStartGameWithRoomId(int8_t, int8_t, int32_t w, int32_t, int32_t, int32_t) override {
        add(line("start first", w));
    }
    void onGetTableInfo(TableInfo i) override {
        std::string out = "snapshot";
        for (const auto& p : i.listPiece)
            out += " (" + std::to_string(p.pieceType) + "," + std::to_string(p.isMove) + ")";
        add(out);
    }
    void onRemoveButton(int8_t w) override { add(line("remove", w)); }
    void onUndo() override { add("undo asked"); }
    void onMakeUndoWithNextUserId(int32_t n, std::vector<PieceUndo>) override { add(line("undo next", n)); }
    void onStopGame() override { add("stopped"); }
    void onShowMessage(const std::string& t) override { add(line("text", t)); }
    void onBuzzWithContent(const std::string& t) override { add(line("buzz", t)); }
    void onGetEatPiece(std::vector<EatPiece> list) override {
        std::string out = "eaten";
        for (const auto& row : list)
            out += " (" + std::to_string(row.pieceType) + "," + std::to_string(row.pieceNumber) + ")";
        add(out);
    }

private:
    void add(std::string line) {
        std::lock_guard lock(mutex_);
        calls.push_back(std::move(line));
    }
    std::mutex mutex_;
};

using CoUpReplies = GameReplies<CoUpMessageHandler, Recorder, 86>;

TEST_F(CoUpReplies, GameMessagesArriveUnder86AndAChineseChessMessageIsIgnored) {
    EXPECT_EQ(game(Bytes().byte(25).int32(9).raw({0, 3, 0, 4}).int32(880).int32(7).byte(5)),
              Calls{"move 9 0304 next 7 time 880 type 5"});
    EXPECT_EQ(read(77, Bytes().byte(25).int32(9).raw({0, 3, 0, 4}).int32(880).int32(7).byte(5)), Calls{})
        << "command 77 is Chinese chess's";
    EXPECT_EQ(read(77, Bytes().byte(33).raw({5, 2})), Calls{});
    EXPECT_EQ(game(Bytes().byte(15).byte(1).byte(4).int32(25).int32(9).int32(900).int32(600)), Calls{"start first 9"});
    EXPECT_EQ(game(Bytes().byte(26)), Calls{"undo asked"});
    EXPECT_EQ(game(Bytes().byte(30)), Calls{"draw offered"});
    EXPECT_EQ(game(Bytes().byte(40).int32(9).byte(1).int32(500)), Calls{"result 1"});
    EXPECT_EQ(game(Bytes().byte(50)), Calls{"stopped"});
    EXPECT_EQ(read(12, Bytes().byte(1).int32(9).utf("Binh").int64(900).int16(2).int32(40)), Calls{"sat 1"});
    EXPECT_EQ(read(8, Bytes().byte(1).byte(4).int32(7).int32(500).int32(-1).int32(-1)), Calls{"join 1 4 players 2"});
    for (int8_t other : {28, 41, 0, -1})
        EXPECT_EQ(game(Bytes().byte(other).int32(1)), Calls{}) << "sub " << int(other);
}

TEST_F(CoUpReplies, SnapshotsCarryTheFaceUpFlagOfEachPiece) {
    Bytes snapshot;
    snapshot.byte(10).int32(9).int32(7).int32(30).int32(12);
    snapshot.int32(7).int32(800).byte(2).raw({1, 0, 4, 1, 1, 3, 4, 0}).int32(9).int32(700).byte(0);
    EXPECT_EQ(game(snapshot), Calls{"snapshot (4,1) (4,0)"});
}

TEST_F(CoUpReplies, TheCapturedPiecesArriveInOrderAlsoWhenThereAreNone) {
    EXPECT_EQ(game(Bytes().byte(33)), Calls{"eaten"}) << "an empty list still reaches the screen";
    EXPECT_EQ(game(Bytes().byte(33).raw({5, 2, 7, 3})), Calls{"eaten (5,2) (7,3)"});
    EXPECT_EQ(game(Bytes().byte(33).raw({5, 2, 7})), Calls{"eaten (5,2) (7,0)"}) << "a row without its count counts 0";
}

TEST_F(CoUpReplies, RandomBodiesForEveryCommandAndSubEndQuietly) {
    std::mt19937 random(86);
    const int16_t commands[] = {8, 1900, 9, 11, 12, 14, 16, 19, 103, 77};
    const int8_t subs[] = {10, 12, 15, 25, 26, 27, 30, 31, 33, 35, 36, 39, 40, 50};
    size_t calls = 0;
    for (int round = 0; round < 400; ++round) {
        ByteVector body = randomBody(random, 40);
        calls += read(commands[round % std::size(commands)], body).size();
        body.insert(body.begin(), uint8_t(subs[round % std::size(subs)]));
        calls += game(body).size();
    }
    EXPECT_GT(calls, 400u) << "the commands still reach their callbacks";
}

} // namespace
} // namespace kavo::test
