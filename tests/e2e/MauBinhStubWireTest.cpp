// The portal stub's Mau Binh table over a plain wire connection: a bare socket client
// signs in, sits, starts, sorts, arranges and finishes, and reads the judged result.
#include "games/maubinh/MauBinhRules.h"
#include "tests/e2e/StubWire.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>

namespace kavo::test {
namespace {

class MauBinhStubWire : public StubWire {
protected:
    // A short show.
    MauBinhStubWire() : StubWire({{"KAVO_STUB_MAUBINH_PAUSE", "0.5"}}) {}
    void game(std::initializer_list<uint8_t> body) { send(47, Bytes().raw({1, 1}).raw(body)); }
    static std::vector<int> thirteen(Message& message) {
        std::vector<int> ids;
        for (int i = 0; i < 13; ++i)
            ids.push_back(message.readByte());
        return ids;
    }
};

TEST_F(MauBinhStubWire, AHandIsDealtSortedArrangedAtItsStrongestFinishedJudgedAndFollowedByAnother) {
    const int32_t me = signInAndChoose("an", 16);
    ASSERT_NE(me, 0);
    send(8, Bytes().byte(1).byte(1).utf("").data());
    auto joined = next(8);
    ASSERT_TRUE(joined);
    ASSERT_TRUE(next(16)) << "the stub players get ready";
    ASSERT_TRUE(next(16));

    send(20, {1, 1});
    auto start = next(47, 20);
    ASSERT_TRUE(start);
    start->readByte();
    EXPECT_EQ(start->readByte(), 1);
    EXPECT_EQ(start->readByte(), 1);
    EXPECT_EQ(start->readByte(), 90) << "the time";
    auto mine = thirteen(*start);
    EXPECT_EQ(start->readByte(), -1) << "no special hand";
    auto sorted = mine;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_TRUE(std::all_of(mine.begin(), mine.end(), [](int id) { return id >= 0 && id < 52; }));
    // The stub players arrange at once: both are done half a second after the deal, before
    // the answers to what is asked below (which would pass over their messages).
    std::vector<int32_t> finished;
    for (int i = 0; i < 2; ++i) {
        auto done = next(47, 30);
        ASSERT_TRUE(done);
        done->readByte();
        finished.push_back(done->readInt());
    }

    game({23});
    auto byRank = next(47, 23);
    ASSERT_TRUE(byRank);
    byRank->readByte();
    EXPECT_EQ(thirteen(*byRank), sorted);
    game({24});
    auto bySuit = next(47, 24);
    ASSERT_TRUE(bySuit);
    bySuit->readByte();
    const auto suits = thirteen(*bySuit);
    EXPECT_TRUE(std::is_sorted(suits.begin(), suits.end(), [](int a, int b) { return a % 4 < b % 4; }));
    game({25});
    auto arranged = next(47, 25);
    ASSERT_TRUE(arranged);
    arranged->readByte();
    const auto arrangement = thirteen(*arranged);
    EXPECT_FALSE(MauBinhRules::checkBinhLung(arrangement)) << "the stub's arrangement is no foul";
    auto check = arrangement;
    std::sort(check.begin(), check.end());
    EXPECT_EQ(check, sorted);
    // The stub deals the same hand first every time: four threes, three sevens, a pair
    // of aces and four odd cards. The strongest arrangement puts the four threes behind
    // and the full house of sevens over aces in the middle.
    ASSERT_EQ(sorted, (std::vector<int>{4, 5, 6, 7, 17, 20, 22, 23, 24, 33, 41, 48, 49}));
    auto chiOf = [&](int chi) {
        auto cards = MauBinhRules::handOfChi(arrangement, chi);
        std::sort(cards.begin(), cards.end());
        return cards;
    };
    EXPECT_EQ(chiOf(3), (std::vector<int>{4, 5, 6, 7, 17})) << "four of a kind behind";
    EXPECT_EQ(chiOf(2), (std::vector<int>{20, 22, 23, 48, 49})) << "a full house in the middle";
    EXPECT_EQ(chiOf(1), (std::vector<int>{24, 33, 41}));
    for (uint8_t choice : {0, 1, 2}) {
        game({10, choice});
        auto time = next(47, 10);
        ASSERT_TRUE(time);
        time->readByte();
        EXPECT_EQ(time->readByte(), choice == 0 ? 120 : choice == 1 ? 90 : 60);
    }

    Bytes finish = Bytes().raw({1, 1, 30});
    for (int id : arrangement)
        finish.byte(int8_t(id));
    send(47, finish.data());
    auto done = next(47, 30);
    ASSERT_TRUE(done);
    done->readByte();
    finished.push_back(done->readInt());
    EXPECT_NE(std::find(finished.begin(), finished.end(), me), finished.end());
    auto result = next(47, 40);
    ASSERT_TRUE(result);
    result->readByte();
    EXPECT_EQ(result->readInt(), me);
    const int32_t money = result->readInt();
    const int32_t chi = result->readInt();
    EXPECT_EQ(money, chi * 100) << "money = chi x board 1's stake";
    EXPECT_EQ(result->readByte(), -1);
    EXPECT_EQ(result->data().size() - 14, 2u * 32u) << "one 32-byte row per stub player";
    int mineFromRows = 0;
    for (int row = 0; row < 2; ++row) {
        result->readInt();
        const int32_t rowMoney = result->readInt();
        EXPECT_EQ(rowMoney, result->readInt() * 100);
        thirteen(*result);
        EXPECT_EQ(result->readByte(), -1);
        result->readByte();
        for (int k = 0; k < 3; ++k)
            mineFromRows += result->readByte();
        result->readByte();
        result->readByte();
    }
    EXPECT_EQ(mineFromRows, chi) << "the rows' hands, from my side, add up to my chi";
    EXPECT_TRUE(next(47, 50)) << "the stop follows the show";
    std::vector<int32_t> ready;
    for (int i = 0; i < 2; ++i) {
        auto again = next(16);
        ASSERT_TRUE(again) << "the stub players get ready for the next hand";
        ready.push_back(again->readInt());
        EXPECT_EQ(again->readBool(), 1);
    }
    std::sort(ready.begin(), ready.end());
    EXPECT_EQ(ready, (std::vector<int32_t>{4001, 4002}));
    send(20, {1, 1});
    EXPECT_TRUE(next(47, 20)) << "the second hand is dealt";
}

// A balance the stub tells while a hand's result is on its way (the result follows the
// finish by half a second) is the balance the result has not moved yet: the client adds
// the result to the last balance it was told, and counts the hand once.
TEST_F(MauBinhStubWire, ABalanceToldAsAHandEndsLeavesTheHandToItsResult) {
    const int32_t me = signInAndChoose("an", 16);
    ASSERT_NE(me, 0);
    send(8, Bytes().byte(1).byte(1).utf("").data());
    ASSERT_TRUE(next(8));
    ASSERT_TRUE(next(16)) << "the stub players get ready";
    ASSERT_TRUE(next(16));
    send(20, {1, 1});
    ASSERT_TRUE(next(47, 20));
    game({25});
    auto arranged = next(47, 25);
    ASSERT_TRUE(arranged);
    arranged->readByte();
    Bytes finish = Bytes().raw({1, 1, 30});
    for (int id : thirteen(*arranged))
        finish.byte(int8_t(id));
    send(47, finish.data());
    send(1005, Bytes().int32(me).data()); // his profile, with his balance

    // In the order they come: the profile's balance and the hand's result.
    std::optional<int64_t> told;
    std::optional<int32_t> change;
    bool toldFirst = false;
    const auto profileOrResult = [](int16_t id, const ByteVector& body) {
        return id == 1005 || (id == 47 && !body.empty() && body[0] == 40);
    };
    while (!told || !change) {
        auto message = nextMatching(listener_, seen_, profileOrResult);
        ASSERT_TRUE(message) << "the profile and the result come";
        if (message->commandId() == 1005) {
            message->readInt();
            message->readUTF();
            told = message->readLong();
            toldFirst = !change;
        } else {
            message->readByte();
            message->readInt();
            change = message->readInt();
        }
    }
    ASSERT_NE(*change, 0) << "the first hand is won or lost";
    const int64_t seen = toldFirst ? *told + *change : *told;
    EXPECT_EQ(seen, 1000000 + *change) << (toldFirst ? "the balance came before the result" : "after it");
    send(1005, Bytes().int32(me).data());
    auto after = next(1005);
    ASSERT_TRUE(after);
    after->readInt();
    after->readUTF();
    EXPECT_EQ(after->readLong(), 1000000 + *change) << "the hand moved the balance once";
}

} // namespace
} // namespace kavo::test
