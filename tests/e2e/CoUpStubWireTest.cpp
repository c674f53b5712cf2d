// The portal stub's hidden-piece table over a plain wire connection: a bare socket
// client sits, starts and plays against the stub player, with no screens.
#include "net/MobileClient.h"
#include "tests/e2e/StubProcess.h"
#include "tests/support/Bytes.h"
#include "tests/support/RecordingListener.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

constexpr int32_t kStubPlayer = 77777;

class CoUpStubWire : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(stub_.ready()) << "the stub did not start";
        client_.connectToHost("127.0.0.1", stub_.port());
        ASSERT_TRUE(listener_.waitFor(RecordingListener::Event::ConnectionOK));
    }
    void TearDown() override { client_.close(); }

    void send(int16_t command, const ByteVector& body) { client_.sendMessage(Message(command, body)); }
    void game(std::initializer_list<uint8_t> body) { send(86, Bytes().raw({1, 1}).raw(body)); }
    // The next 86 reply of a sub-id (or the next reply of another command), waiting for it.
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
    // The new piece type: the last byte of a move report.
    static int newType(const Message& move) { return int8_t(move.data().back()); }

    StubProcess stub_;
    RecordingListener listener_;
    MobileClient client_{&listener_};
    size_t seen_ = 0;
};

TEST_F(CoUpStubWire, FirstMovesNameTheRealPiecesAndTheCapturedPiecesAreListed) {
    send(1, Bytes().utf("an").utf("123").utf("1.0").data());
    ASSERT_TRUE(next(3));
    send(61, {20});
    ASSERT_TRUE(next(61));
    send(1900, Bytes().byte(1).byte(1).utf("").data());
    auto joined = next(8);
    ASSERT_TRUE(joined);
    joined->readByte();
    joined->readByte();
    const int32_t me = joined->readInt();

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
    const ByteVector head(mine->data().begin(), mine->data().end() - 1);
    EXPECT_EQ(head, Bytes().byte(25).int32(me).raw({1, 2, 1, 9}).int32(900).int32(kStubPlayer).data());

    auto answer = next(86, 25, 3);
    ASSERT_TRUE(answer) << "the stub player answers";
    const ByteVector answerHead(answer->data().begin(), answer->data().end() - 1);
    EXPECT_EQ(answerHead, Bytes().byte(25).int32(kStubPlayer).raw({0, 9, 1, 9}).int32(900).int32(me).data())
        << "its piece on the chariot's square takes mine";
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
    EXPECT_EQ(general->data(),
              Bytes().byte(25).int32(me).raw({4, 0, 4, 1}).int32(900).int32(kStubPlayer).byte(0).data())
        << "a face-up piece names nothing";
    EXPECT_FALSE(next(86, 27, 0.2));

    game({35});
    EXPECT_TRUE(next(86, 40));
    EXPECT_TRUE(next(86, 50));
}

} // namespace
} // namespace kavo::test
