// The portal stub's hidden-piece table over a plain wire connection: a bare socket
// client sits, starts and plays against the stub player, with no screens.
#include "tests/e2e/StubWire.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

constexpr int32_t kStubPlayer = 77777;

class CoUpStubWire : public StubWire {
protected:
    void game(std::initializer_list<uint8_t> body) { send(86, Bytes().raw({1, 1}).raw(body)); }
    // The new piece type: the last byte of a move report.
    static int newType(const Message& move) { return int8_t(move.data().back()); }
};

TEST_F(CoUpStubWire, FirstMovesNameTheRealPiecesAndTheCapturedPiecesAreListed) {
    const int32_t me = signInAndChoose("an", 20);
    ASSERT_NE(me, 0);
    ASSERT_NE(stakeAtJoin(1, 1900), -1);

    send(20, {1, 1});
    auto start = next(86, 15);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->data(), Bytes().byte(15).byte(1).byte(1).int32(30).int32(me).int32(900).int32(900).data());

    // The face-down piece on the cannon's square jumps the screen and takes.
    game({25, 1, 2, 1, 9});
    auto mine = next(86, 25);
    ASSERT_TRUE(mine);
    const int revealed = newType(*mine);
    EXPECT_GE(revealed, 1);
    EXPECT_LE(revealed, 7);
    EXPECT_NE(revealed, 1) << "the generals stand face up";
    // The time left (4 bytes after the squares) runs on the stub's clock.
    const ByteVector head(mine->data().begin(), mine->data().begin() + 9);
    EXPECT_EQ(head, Bytes().byte(25).int32(me).raw({1, 2, 1, 9}).data());
    const ByteVector mineNext(mine->data().begin() + 13, mine->data().end() - 1);
    EXPECT_EQ(mineNext, Bytes().int32(kStubPlayer).data());

    auto answer = next(86, 25);
    ASSERT_TRUE(answer) << "the stub player answers";
    const ByteVector answerHead(answer->data().begin(), answer->data().begin() + 9);
    EXPECT_EQ(answerHead, Bytes().byte(25).int32(kStubPlayer).raw({0, 9, 1, 9}).data())
        << "its piece on the chariot's square takes mine";
    const ByteVector answerNext(answer->data().begin() + 13, answer->data().end() - 1);
    EXPECT_EQ(answerNext, Bytes().int32(me).data());
    EXPECT_GE(newType(*answer), 2);
    EXPECT_LE(newType(*answer), 7);

    game({33});
    auto taken = next(86, 33);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->data(), Bytes().byte(33).byte(int8_t(revealed)).byte(1).data()) << "my piece, by its real kind";

    game({26, 0});
    game({25, 4, 0, 4, 1});
    auto general = next(86, 25);
    ASSERT_TRUE(general) << "no take-back: the general's step follows";
    const ByteVector generalHead(general->data().begin(), general->data().begin() + 9);
    EXPECT_EQ(generalHead, Bytes().byte(25).int32(me).raw({4, 0, 4, 1}).data());
    const ByteVector generalRest(general->data().begin() + 13, general->data().end());
    EXPECT_EQ(generalRest, Bytes().int32(kStubPlayer).byte(0).data()) << "a face-up piece names nothing";
    // A take-back must not come.
    EXPECT_TRUE(nothingComesWithin(0.2, 86, 27));

    game({35});
    EXPECT_TRUE(next(86, 40));
    EXPECT_TRUE(next(86, 50));
}

} // namespace
} // namespace kavo::test
