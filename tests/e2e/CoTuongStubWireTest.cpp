// The portal stub's Chinese chess table over a plain wire connection: a bare socket
// client signs in, sits, starts and plays against the stub player, with no screens.
#include "tests/e2e/StubWire.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

constexpr int32_t kStubPlayer = 77777;

class CoTuongStubWire : public StubWire {
protected:
    void game(std::initializer_list<uint8_t> body) { send(77, Bytes().raw({1, 1}).raw(body)); }
    // Nothing of that sub-id arrives for a while.
    bool quiet(int sub, double seconds) {
        const size_t before = seen_;
        auto got = next(77, sub, seconds);
        seen_ = before;
        return !got.has_value();
    }
};

TEST_F(CoTuongStubWire, AGameIsSatStartedPlayedTakenBackAndResigned) {
    send(1, Bytes().utf("an").utf("123").utf("1.0").data());
    ASSERT_TRUE(next(3));
    send(61, {5});
    ASSERT_TRUE(next(61));
    send(1900, Bytes().byte(1).byte(1).utf("").data());

    auto joined = next(8);
    ASSERT_TRUE(joined);
    EXPECT_EQ(joined->readByte(), 1);
    EXPECT_EQ(joined->readByte(), 1);
    const int32_t me = joined->readInt();
    EXPECT_EQ(joined->readInt(), 1000) << "the stake";
    EXPECT_EQ(joined->readInt(), me);
    EXPECT_EQ(joined->readUTF(), "an");
    joined->readLong();
    joined->readShort();
    joined->readInt();
    joined->readBool();
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
    EXPECT_EQ(mine->data(), Bytes().byte(25).int32(me).raw({1, 2, 1, 9}).int32(900).int32(kStubPlayer).byte(0).data());
    auto answer = next(77, 25, 3);
    ASSERT_TRUE(answer) << "the stub player answers";
    EXPECT_EQ(answer->data(), Bytes().byte(25).int32(kStubPlayer).raw({0, 9, 1, 9}).int32(900).int32(me).byte(0).data())
        << "a capture first: its chariot takes my cannon";

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
              Bytes().byte(40).int32(me).byte(-1).int32(-1000).int32(kStubPlayer).byte(1).int32(1000).data());
    EXPECT_TRUE(next(77, 50));
}

} // namespace
} // namespace kavo::test
