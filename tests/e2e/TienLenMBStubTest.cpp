// The stub's Tien Len MB table over a bare wire: its players follow suit. (Its drive script
// is played with Tien Len's, in TienLenStubTest.)
#include "tests/e2e/StubWire.h"
#include "tests/support/Bytes.h"

#include <algorithm>

namespace kavo::test {
namespace {

using TienLenMBStubWire = StubWire;

TEST_F(TienLenMBStubWire, TheStubPlayersFollowTheSuitOfASingle) {
    const int32_t me = signInAndChoose("an", 12);
    ASSERT_NE(me, 0);
    ASSERT_NE(stakeAtJoin(4), -1);
    ASSERT_TRUE(next(16));
    ASSERT_TRUE(next(16));

    send(20, {1, 4});
    auto dealt = next(20);
    ASSERT_TRUE(dealt);
    dealt->readDataWithIntLength(3); // room, board, turn time
    std::vector<int> hand;
    for (int i = 0; i < 13; ++i)
        hand.push_back(dealt->readByte());
    EXPECT_EQ(dealt->readInt(), me) << "the holder of the three of spades opens";
    ASSERT_EQ(std::count(hand.begin(), hand.end(), 0), 1);

    send(21, Bytes().byte(1).byte(4).byte(1).byte(0).data());
    ASSERT_TRUE(next(21));
    // The next stub player either plays on my single or skips: whichever he does comes first.
    auto answer = nextOf({21, 49});
    ASSERT_TRUE(answer) << "the stub player plays or skips";
    if (answer->commandId() == 21) {
        answer->readShort(); // room, board
        EXPECT_EQ(answer->readInt(), 4001);
        EXPECT_EQ(answer->readByte(), 1) << "a single on a single";
        const int card = answer->readByte();
        EXPECT_TRUE(card % 4 == 0 || card >= 48) << "a spade or a 2 on the three of spades: " << card;
    } else {
        EXPECT_EQ(answer->commandId(), 49) << "without a spade or a 2 the stub player skips";
    }
}

} // namespace
} // namespace kavo::test
