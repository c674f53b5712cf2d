// The portal stub's four-seat card table over a plain wire connection: the bytes it
// answers to a join, a ready, a stake, a kick and a chat line.
#include "net/IMessageListener.h"
#include "net/MobileClient.h"
#include "tests/e2e/StubProcess.h"
#include "tests/support/Bytes.h"
#include "tests/support/RecordedMessage.h"

#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

using namespace kavo;
using namespace kavo::test;

namespace {

// What the stub sends, kept in order; waits on the test's thread. The waits are bounds,
// not guesses at speed: generous, for the suite may be running beside it on loaded cores.
class Inbox : public IMessageListener {
public:
    void onConnectionOK() override {
        std::lock_guard lock(mutex_);
        connected_ = true;
        changed_.notify_all();
    }
    void onMessage(Message& message) override {
        std::lock_guard lock(mutex_);
        received_.push_back({message.commandId(), message.data()});
        changed_.notify_all();
    }
    [[nodiscard]] bool waitConnected() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(30), [this] { return connected_; });
    }
    // The next message of that command not taken yet, waiting up to `seconds`.
    std::optional<RecordedMessage> take(int16_t commandId, double seconds = 30) {
        std::unique_lock lock(mutex_);
        std::optional<RecordedMessage> found;
        changed_.wait_for(lock, std::chrono::milliseconds(int(seconds * 1000)), [&] {
            for (auto it = received_.begin(); it != received_.end(); ++it) {
                if (it->commandId != commandId) continue;
                found = *it;
                received_.erase(it);
                return true;
            }
            return false;
        });
        return found;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool connected_ = false;
    std::vector<RecordedMessage> received_;
};

Message request(int16_t command, const Bytes& body) {
    return Message(command, body.data());
}

TEST(CardTableStub, AnswersTheTableRequestsInTheTienLenLayouts) {
    StubProcess stub;
    ASSERT_TRUE(stub.ready());
    Inbox inbox;
    MobileClient client(&inbox);
    ASSERT_TRUE(client.connectToHost("127.0.0.1", stub.port()));
    ASSERT_TRUE(inbox.waitConnected());
    client.sendMessage(request(1, Bytes().utf("khach").utf("123").utf("1.0")));
    auto signedIn = inbox.take(3);
    ASSERT_TRUE(signedIn);
    const int32_t me = Message(3, signedIn->body).readInt();
    client.sendMessage(request(61, Bytes().byte(3)));
    ASSERT_TRUE(inbox.take(61));
    client.sendMessage(request(8, Bytes().byte(1).byte(4).utf("")));
    auto joined = inbox.take(8);
    ASSERT_TRUE(joined);
    Bytes expected = Bytes().byte(1).byte(4).int32(me).int32(5000); // board 4's stake
    expected.int32(me).utf("khach").int64(1000000).int16(1).int32(2500).boolean(false);
    // The stub players show the amounts they have on the richest list, and the avatars they
    // wear everywhere.
    expected.int32(4001).utf("lan").int64(39500000).int16(2).int32(3000).boolean(false);
    expected.int32(4002).utf("minh").int64(38000000).int16(3).int32(3000).boolean(false);
    expected.int32(-1);
    EXPECT_EQ(joined->body, expected.data());
    EXPECT_EQ(inbox.take(16)->body, Bytes().int32(4001).boolean(true).data());
    EXPECT_EQ(inbox.take(16)->body, Bytes().int32(4002).boolean(true).data());

    client.sendMessage(request(16, Bytes().byte(1).byte(4).boolean(true)));
    EXPECT_EQ(inbox.take(16)->body, Bytes().int32(me).boolean(true).data());
    client.sendMessage(request(19, Bytes().byte(1).byte(4).int32(2500)));
    EXPECT_EQ(inbox.take(19)->body, Bytes().byte(1).byte(4).int32(2500).data());
    client.sendMessage(request(11, Bytes().byte(1).byte(4).int32(4001)));
    EXPECT_EQ(inbox.take(11)->body, Bytes().byte(1).byte(4).int32(4001).data());
    auto sitsDown = inbox.take(12);
    ASSERT_TRUE(sitsDown);
    EXPECT_EQ(sitsDown->body, Bytes().byte(1).int32(2004).utf("tuan").int64(500000).int16(3).int32(3000).data());
    client.sendMessage(request(9, Bytes().byte(1).byte(4).utf("hello")));
    auto line = inbox.take(9);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->body, Bytes().byte(1).byte(4).int32(4001).utf("hi!").data());
    client.close();
}

} // namespace
