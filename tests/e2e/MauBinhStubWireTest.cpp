// The portal stub's Mau Binh table over a plain wire connection: a bare socket client
// signs in, sits, starts, sorts, arranges and finishes, and reads the judged result.
#include "games/maubinh/MauBinhRules.h"
#include "net/MobileClient.h"
#include "tests/e2e/StubProcess.h"
#include "tests/support/Bytes.h"
#include "tests/support/RecordingListener.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

// A short show, set before the stub starts.
struct ShortShow {
    ShortShow() { setenv("KAVO_STUB_MAUBINH_PAUSE", "0.5", 1); }
    ~ShortShow() { unsetenv("KAVO_STUB_MAUBINH_PAUSE"); }
};

class MauBinhStubWire : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(stub_.ready()) << "the stub did not start";
        client_.connectToHost("127.0.0.1", stub_.port());
        ASSERT_TRUE(listener_.waitFor(RecordingListener::Event::ConnectionOK));
    }
    void TearDown() override { client_.close(); }

    void send(int16_t command, const ByteVector& body) { client_.sendMessage(Message(command, body)); }
    void game(std::initializer_list<uint8_t> body) { send(47, Bytes().raw({1, 1}).raw(body)); }
    std::optional<Message> next(int16_t command, int sub = -1, double timeout = 5) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
        while (std::chrono::steady_clock::now() < deadline) {
            const auto all = listener_.messages();
            for (size_t i = seen_; i < all.size(); ++i) {
                if (all[i].commandId != command) continue;
                if (sub != -1 && (all[i].body.empty() || int8_t(all[i].body[0]) != sub)) continue;
                seen_ = i + 1;
                return Message(all[i].commandId, all[i].body);
            }
            listener_.waitForMessages(all.size() + 1, 0.05);
        }
        return std::nullopt;
    }
    static std::vector<int> thirteen(Message& message) {
        std::vector<int> ids;
        for (int i = 0; i < 13; ++i)
            ids.push_back(message.readByte());
        return ids;
    }

    ShortShow show_;
    StubProcess stub_;
    RecordingListener listener_;
    MobileClient client_{&listener_};
    size_t seen_ = 0;
};

TEST_F(MauBinhStubWire, AHandIsDealtSortedArrangedFinishedAndJudged) {
    send(1, Bytes().utf("an").utf("123").utf("1.0").data());
    auto signedIn = next(3);
    ASSERT_TRUE(signedIn);
    const int32_t me = signedIn->readInt();
    send(61, {16});
    ASSERT_TRUE(next(61));
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
    std::vector<int32_t> finished;
    for (int i = 0; i < 3; ++i) {
        auto done = next(47, 30);
        ASSERT_TRUE(done);
        done->readByte();
        finished.push_back(done->readInt());
    }
    EXPECT_NE(std::find(finished.begin(), finished.end(), me), finished.end());
    auto result = next(47, 40);
    ASSERT_TRUE(result);
    result->readByte();
    EXPECT_EQ(result->readInt(), me);
    const int32_t money = result->readInt();
    const int32_t chi = result->readInt();
    EXPECT_EQ(money, chi * 1000) << "money = chi x stake";
    EXPECT_EQ(result->readByte(), -1);
    EXPECT_EQ(result->data().size() - 14, 2u * 32u) << "one 32-byte row per stub player";
    int mineFromRows = 0;
    for (int row = 0; row < 2; ++row) {
        result->readInt();
        const int32_t rowMoney = result->readInt();
        EXPECT_EQ(rowMoney, result->readInt() * 1000);
        thirteen(*result);
        EXPECT_EQ(result->readByte(), -1);
        result->readByte();
        for (int k = 0; k < 3; ++k)
            mineFromRows += result->readByte();
        result->readByte();
        result->readByte();
    }
    EXPECT_EQ(mineFromRows, chi) << "the rows' hands, from my side, add up to my chi";
    EXPECT_TRUE(next(47, 50, 3)) << "the stop follows the show";
}

} // namespace
} // namespace kavo::test
