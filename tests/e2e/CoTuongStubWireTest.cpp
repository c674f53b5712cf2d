// The portal stub's Chinese chess table over a plain wire connection: a bare socket
// client signs in, sits, starts and plays against the stub player, with no screens.
#include "tests/e2e/StubWire.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

constexpr int32_t kStubPlayer = 77777;

class CoTuongStubWire : public StubWire {
protected:
    explicit CoTuongStubWire(Environment environment = {}) : StubWire(std::move(environment)) {}
    void game(std::initializer_list<uint8_t> body) { send(77, Bytes().raw({1, 1}).raw(body)); }
    // Nothing of that sub-id arrives for a while.
    bool quiet(int sub, double seconds) {
        const size_t before = seen_;
        auto got = next(77, sub, seconds);
        seen_ = before;
        return !got.has_value();
    }
};

TEST_F(CoTuongStubWire, AGameIsSatStartedPlayedTakenBackAndResignedAndTheNextOneOpenedByTheStub) {
    ASSERT_NE(signInAndChoose("an", 5), 0);
    send(1900, Bytes().byte(1).byte(1).utf("").data());

    auto joined = next(8);
    ASSERT_TRUE(joined);
    EXPECT_EQ(joined->readByte(), 1);
    EXPECT_EQ(joined->readByte(), 1);
    const int32_t me = joined->readInt();
    EXPECT_EQ(joined->readInt(), 100) << "board 1's stake";
    EXPECT_EQ(joined->readInt(), me);
    EXPECT_EQ(joined->readUTF(), "an");
    joined->readDataWithIntLength(15); // money, avatar, experience, ready
    EXPECT_EQ(joined->readInt(), kStubPlayer);
    auto ready = next(16);
    ASSERT_TRUE(ready);
    EXPECT_EQ(ready->readInt(), kStubPlayer);
    EXPECT_EQ(ready->readBool(), 1);

    send(20, {1, 1});
    auto start = next(77, 15);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->data(), Bytes().byte(15).byte(1).byte(1).int32(30).int32(me).int32(900).int32(900).data())
        << "I move first";

    game({25, 0, 0, 0, 5});
    EXPECT_TRUE(quiet(25, 0.3)) << "a chariot through its own soldier is dropped";
    game({25, 1, 2, 1, 9});
    auto mine = next(77, 25);
    ASSERT_TRUE(mine);
    const auto mineBytes = mine->data();
    ASSERT_EQ(mineBytes.size(), 18u);
    EXPECT_EQ(std::vector<uint8_t>(mineBytes.begin(), mineBytes.begin() + 9),
              Bytes().byte(25).int32(me).raw({1, 2, 1, 9}).data());
    EXPECT_EQ(std::vector<uint8_t>(mineBytes.begin() + 13, mineBytes.end()), Bytes().int32(kStubPlayer).byte(0).data());
    mine->readDataWithIntLength(9); // sub-id, mover, move
    const int32_t myLeft = mine->readInt();
    EXPECT_LE(myLeft, 900) << "my time left, from the quota";
    EXPECT_GT(myLeft, 0);
    auto answer = next(77, 25);
    ASSERT_TRUE(answer) << "the stub player answers";
    EXPECT_EQ(answer->readByte(), 25);
    EXPECT_EQ(answer->readInt(), kStubPlayer);
    EXPECT_EQ(answer->readByte(), 0) << "a capture first: its chariot takes my cannon";
    EXPECT_EQ(answer->readByte(), 9);
    EXPECT_EQ(answer->readByte(), 1);
    EXPECT_EQ(answer->readByte(), 9);
    const int32_t stubLeft = answer->readInt();
    EXPECT_LT(stubLeft, 900) << "the stub player's clock ran while it thought";
    EXPECT_GT(stubLeft, 0);
    EXPECT_EQ(answer->readInt(), me);
    EXPECT_EQ(answer->readByte(), 0);

    game({26, 0});
    auto undone = next(77, 27);
    ASSERT_TRUE(undone);
    EXPECT_EQ(undone->data(), Bytes().byte(27).int32(me).raw({1, 9, 0, 9, 6, 1, 9, 1, 2, 4}).data())
        << "the stub's move, then mine; the cannon and the horse come back";

    game({30});
    EXPECT_TRUE(next(77, 31)) << "a draw offer is refused";

    game({35});
    auto result = next(77, 40);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->data(),
              Bytes().byte(40).int32(me).byte(-1).int32(-100).int32(kStubPlayer).byte(1).int32(100).data())
        << "the board's stake changes hands";
    EXPECT_TRUE(next(77, 50));

    auto readyAgain = next(16);
    ASSERT_TRUE(readyAgain) << "the stub player gets ready for the next game";
    EXPECT_EQ(readyAgain->data(), Bytes().int32(kStubPlayer).boolean(true).data());
    send(20, {1, 1});
    auto second = next(77, 15);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->data(),
              Bytes().byte(15).byte(1).byte(1).int32(30).int32(kStubPlayer).int32(900).int32(900).data())
        << "the first move alternates: the stub player opens the second game";
    auto opening = next(77, 25);
    ASSERT_TRUE(opening) << "and plays its first move";
    opening->readByte();
    EXPECT_EQ(opening->readInt(), kStubPlayer);
}

// A quota of one second each, at Chinese chess (game 5, command 77) and hidden-piece
// chess (game 20, command 86).
struct ChessGame {
    int8_t gameType;
    int16_t command;
};

class ChessClockWire : public StubWire, public ::testing::WithParamInterface<ChessGame> {
protected:
    ChessClockWire() : StubWire({{"KAVO_STUB_CHESS_QUOTA", "1"}}) {}
};

TEST_P(ChessClockWire, ASideThatNeverMovesLosesWhenItsTimeRunsOut) {
    const auto [gameType, command] = GetParam();
    const int32_t me = signInAndChoose("an", gameType);
    ASSERT_NE(me, 0);
    send(1900, Bytes().byte(1).byte(1).utf("").data());
    ASSERT_TRUE(next(8));
    ASSERT_TRUE(next(16));
    send(20, {1, 1});
    auto start = next(command, 15);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->data(), Bytes().byte(15).byte(1).byte(1).int32(30).int32(me).int32(1).int32(1).data())
        << "the quotas the stub was given; I move first";
    // I never move.
    auto result = next(command, 40);
    ASSERT_TRUE(result) << "my time running out ends the game";
    EXPECT_EQ(result->data(),
              Bytes().byte(40).int32(me).byte(-1).int32(-100).int32(kStubPlayer).byte(1).int32(100).data());
    EXPECT_TRUE(next(command, 50));
    auto balance = next(17);
    EXPECT_EQ(balance ? balance->readLong() : -1, 1000000 - 100) << "the result tells my new balance";
    send(command, Bytes().raw({1, 1, 25, 1, 2, 4, 2}).data());
    // The move must not be made: it would come back.
    EXPECT_TRUE(nothingComesWithin(0.3, command, 25)) << "a move after the end is not made";

    EXPECT_EQ(myMoneyAtJoin(1, 1900), 1000000 - 100) << "the next join shows the stake lost";
    EXPECT_EQ(amountOf(kStubPlayer), 500000 + 100) << "the stub player keeps the stake he won";
}

INSTANTIATE_TEST_SUITE_P(BothChessGames, ChessClockWire, ::testing::Values(ChessGame{5, 77}, ChessGame{20, 86}),
                         [](const auto& game) { return game.param.gameType == 5 ? "ChineseChess" : "HiddenPiece"; });

} // namespace
} // namespace kavo::test
