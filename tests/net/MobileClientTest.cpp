#include "net/MobileClient.h"

#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "tests/support/Bytes.h"
#include "tests/support/FaultProxy.h"
#include "tests/support/NeverAcceptingListener.h"
#include "tests/support/RecordingListener.h"
#include "tests/support/StateWaits.h"
#include "tests/support/TestPortal.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <time.h>

using kavo::Message;
using kavo::MobileClient;
using kavo::test::Bytes;
using kavo::test::ByteVector;
using kavo::test::FaultProxy;
using kavo::test::fromHex;
using kavo::test::kStateWait;
using kavo::test::RecordingListener;
using kavo::test::TestPortal;
using kavo::test::toHex;
using Event = RecordingListener::Event;

namespace {

constexpr const char* kHost = "127.0.0.1";

using kavo::test::lookUntil;
using kavo::test::nothingComesWithin;

Message request(int16_t cmd, int32_t value) {
    Message m(cmd);
    m.writeInt(value);
    return m;
}

// Captures the platform log for the life of the object.
class LogCapture {
public:
    LogCapture() {
        platform::setLogSink([this](const std::string& line) {
            std::lock_guard<std::mutex> lock(mutex_);
            lines_.push_back(line);
        });
    }
    ~LogCapture() { platform::setLogSink(nullptr); }
    bool contains(const std::string& part) const {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& line : lines_)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

class MobileClientTest : public ::testing::Test {
protected:
    void SetUp() override { client.setConnectTimeout(3.0); }
    void TearDown() override {
        // Release a reader that may be waiting for the main thread.
        platform::RunLoop::main().reset();
    }

    // Waits until every thread of the client's connections has left: no event of theirs
    // comes after.
    bool threadsLeft() {
        return lookUntil([this] { return client.threadsGone(); });
    }
    void connectAndWait(uint16_t port) {
        ASSERT_TRUE(client.connectToHost(kHost, port));
        ASSERT_TRUE(listener.waitFor(Event::ConnectionOK));
        ASSERT_TRUE(portal.waitForConnections(1, kStateWait));
    }

    TestPortal portal;
    RecordingListener listener;
    // What listener hooks touch on the reader thread: members, so that they outlive
    // the client and its threads (it waits for them when it goes).
    std::atomic<int> hookCalls{0};
    std::atomic<bool> hopRan{false};
    std::atomic<bool> hopReturned{false};
    MobileClient client{&listener}; // last, so it goes first
};

} // namespace

// --- connecting ------------------------------------------------------------------

TEST_F(MobileClientTest, TheHelloGoesFirstWithProtocolTenAndTheConnectionKey) {
    client.sendMessage(request(222, 1));
    auto before =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    connectAndWait(portal.port());
    ASSERT_TRUE(portal.waitForMessages(1, kStateWait));
    auto hellos = portal.hellos();
    ASSERT_EQ(hellos.size(), 1u);
    EXPECT_EQ(hellos[0].protocolId, 10);
    EXPECT_EQ(hellos[0].key, client.connectionKey());
    EXPECT_GE(hellos[0].key, before);
    EXPECT_LT(hellos[0].key, before + 60000);
    EXPECT_TRUE(portal.protocolErrors().empty());
    EXPECT_EQ(client.protocolId(), 10);
    EXPECT_EQ(client.connectStatus(), MobileClient::kStatusConnected);
    EXPECT_TRUE(client.isConnected());
}

TEST_F(MobileClientTest, MessagesQueuedBeforeConnectingGoOutAfterTheHelloInOrder) {
    for (int i = 0; i < 5; ++i)
        client.sendMessage(request(static_cast<int16_t>(100 + i), i));
    EXPECT_EQ(client.queuedMessageCount(), 5u);
    connectAndWait(portal.port());
    ASSERT_TRUE(portal.waitForMessages(5, kStateWait));
    auto got = portal.messages();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(got[size_t(i)].commandId, 100 + i);
        EXPECT_EQ(toHex(got[size_t(i)].body), toHex(request(0, i).data()));
    }
    EXPECT_TRUE(portal.protocolErrors().empty());
}

TEST_F(MobileClientTest, RepliesReachTheListenerAfterConnectionOK) {
    portal.onCommand(
        1, [](Message& req, TestPortal::Reply& reply) { reply.send(2, Bytes().utf("ok").int32(req.readInt())); });
    connectAndWait(portal.port());
    client.sendMessage(request(1, 77));
    ASSERT_TRUE(listener.waitForMessages(1));
    auto events = listener.events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], Event::ConnectionOK);
    auto reply = listener.messages()[0];
    EXPECT_EQ(reply.commandId, 2);
    Message m(reply.commandId, reply.body);
    EXPECT_EQ(m.readUTF(), "ok");
    EXPECT_EQ(m.readInt(), 77);
}

TEST_F(MobileClientTest, ConnectingWhileConnectedReturnsTrueAndKeepsTheKey) {
    connectAndWait(portal.port());
    int64_t key = client.connectionKey();
    EXPECT_TRUE(client.connectToHost(kHost, portal.port()));
    // A second connection, or a second ConnectionOK, must not come.
    EXPECT_TRUE(nothingComesWithin(
        0.2, [&] { return portal.connectionCount() > 1 || listener.count(Event::ConnectionOK) > 1; }));
    EXPECT_EQ(portal.connectionCount(), 1);
    EXPECT_EQ(client.connectionKey(), key);
    EXPECT_EQ(listener.count(Event::ConnectionOK), 1);
}

TEST_F(MobileClientTest, ConnectingWithoutAListenerThrows) {
    MobileClient lonely;
    EXPECT_THROW(lonely.connectToHost(kHost, portal.port()), kavo::MobileClientException);
    EXPECT_EQ(portal.connectionCount(), 0);
    EXPECT_EQ(&MobileClient::getInstance(), &MobileClient::getInstance());
}

TEST_F(MobileClientTest, ARefusedConnectionReportsOneFailure) {
    uint16_t port = 0;
    { auto closed = kavo::test::listenOnLoopback(port); }
    ASSERT_TRUE(client.connectToHost(kHost, port));
    ASSERT_TRUE(listener.waitFor(Event::ConnectionFail));
    ASSERT_TRUE(threadsLeft());
    EXPECT_EQ(listener.events(), std::vector<Event>{Event::ConnectionFail});
    EXPECT_EQ(client.connectStatus(), MobileClient::kStatusConnecting);
    EXPECT_FALSE(client.isConnected());
}

TEST_F(MobileClientTest, AConnectThatHangsTimesOutAsAFailure) {
    kavo::test::NeverAcceptingListener silent;
    if (!silent.ready()) GTEST_SKIP() << "the kernel accepted every connection";
    // The attempt runs on after the call has returned: nothing is reported yet with a
    // time-out far above what any load makes of the step from the call to the check (a
    // call that waited for the attempt would return with its failure told).
    client.setConnectTimeout(20);
    ASSERT_TRUE(client.connectToHost(kHost, silent.port()));
    EXPECT_TRUE(listener.events().empty()) << "the call waited for the attempt";
    EXPECT_EQ(client.connectStatus(), MobileClient::kStatusConnecting);
    client.manualDisconnect();
    ASSERT_TRUE(threadsLeft());
    EXPECT_TRUE(listener.events().empty()) << "an attempt given up reports nothing";
    // With a short time-out it ends as one failure (the system's own would take minutes).
    client.setConnectTimeout(0.5);
    ASSERT_TRUE(client.connectToHost(kHost, silent.port()));
    ASSERT_TRUE(listener.waitFor(Event::ConnectionFail, 1, 30));
    ASSERT_TRUE(threadsLeft());
    EXPECT_EQ(listener.events(), std::vector<Event>{Event::ConnectionFail});
}

TEST_F(MobileClientTest, ANewConnectAfterManualDisconnectAbortsThePendingAttempt) {
    kavo::test::NeverAcceptingListener silent;
    if (!silent.ready()) GTEST_SKIP() << "the kernel accepted every connection";
    client.setConnectTimeout(0.3);
    ASSERT_TRUE(client.connectToHost(kHost, silent.port()));
    client.manualDisconnect();
    connectAndWait(portal.port());
    // Past the old attempt's time-out, its failure must not come.
    EXPECT_TRUE(nothingComesWithin(0.6, [&] { return listener.events().size() > 1; }));
    EXPECT_EQ(listener.events(), std::vector<Event>{Event::ConnectionOK});
    EXPECT_TRUE(client.isConnected());
}

// --- ending a connection ---------------------------------------------------------

TEST_F(MobileClientTest, CloseOnANeverConnectedClientCallsNothing) {
    client.close();
    client.disconnect();
    client.manualDisconnect();
    EXPECT_TRUE(listener.events().empty());
}

TEST_F(MobileClientTest, AServerCloseGivesExactlyOneConnectionFail) {
    connectAndWait(portal.port());
    portal.closeClient();
    ASSERT_TRUE(listener.waitFor(Event::ConnectionFail));
    ASSERT_TRUE(threadsLeft());
    EXPECT_EQ(listener.ends(), 1);
    EXPECT_EQ(client.connectStatus(), MobileClient::kStatusConnecting);
    EXPECT_FALSE(client.isConnected());
}

TEST_F(MobileClientTest, DisconnectGivesOneOnDisconnectedOnTheCallingThread) {
    connectAndWait(portal.port());
    client.disconnect();
    EXPECT_EQ(listener.count(Event::Disconnected), 1); // already, on this thread
    EXPECT_TRUE(portal.waitForClientGone(kStateWait));
    ASSERT_TRUE(threadsLeft());
    EXPECT_EQ(listener.ends(), 1);
    EXPECT_EQ(client.connectStatus(), MobileClient::kStatusDisconnected);
    EXPECT_FALSE(client.isConnected());
}

TEST_F(MobileClientTest, ManualDisconnectReportsNothing) {
    connectAndWait(portal.port());
    client.manualDisconnect();
    EXPECT_TRUE(portal.waitForClientGone(kStateWait));
    ASSERT_TRUE(threadsLeft());
    EXPECT_EQ(listener.ends(), 0);
    EXPECT_EQ(client.connectStatus(), MobileClient::kStatusManualDisconnected);
}

TEST_F(MobileClientTest, CloseOfALiveConnectionReportsDisconnected) {
    connectAndWait(portal.port());
    client.close();
    EXPECT_EQ(listener.count(Event::Disconnected), 1);
    ASSERT_TRUE(threadsLeft());
    EXPECT_EQ(listener.ends(), 1);
}

TEST_F(MobileClientTest, ANewConnectRightAfterEachEndHearsOnlyItsOwnEvents) {
    using End = void (MobileClient::*)();
    const std::pair<const char*, End> ends[] = {{"close", &MobileClient::close},
                                                {"disconnect", &MobileClient::disconnect},
                                                {"manualDisconnect", &MobileClient::manualDisconnect}};
    int connections = 0;
    for (auto& [name, end] : ends) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(client.connectToHost(kHost, portal.port()));
        ASSERT_TRUE(listener.waitFor(Event::ConnectionOK));
        ASSERT_TRUE(portal.waitForConnections(++connections, kStateWait));
        (client.*end)();
        listener.clear();
        ASSERT_TRUE(client.connectToHost(kHost, portal.port()));
        ASSERT_TRUE(portal.waitForConnections(++connections, kStateWait));
        ASSERT_TRUE(listener.waitFor(Event::ConnectionOK));
        client.sendMessage(request(9, connections));
        ASSERT_TRUE(portal.waitFor(9, kStateWait));
        // An event of the ended connection must not come.
        EXPECT_TRUE(nothingComesWithin(0.2, [&] { return listener.events().size() > 1; }));
        EXPECT_EQ(listener.events(), std::vector<Event>{Event::ConnectionOK});
        EXPECT_TRUE(client.isConnected());
        portal.clearMessages();
        client.manualDisconnect();
        ASSERT_TRUE(portal.waitForClientGone(kStateWait));
        listener.clear();
    }
    EXPECT_TRUE(portal.protocolErrors().empty());
}

// The screens ask whether the client is connected on the main thread at any moment, while a
// connection's own threads connect it (the hello written) or end it (the server gone), and
// the main thread ends one too: another thread asks again and again while connections are
// made and ended both ways, and reads each state as the listener hears it, connected after
// the connection's OK and not after its end. The ThreadSanitizer build runs it, so an answer
// read without the client's lock is reported.
TEST_F(MobileClientTest, AskedFromAnotherThreadWhileConnectionsStartAndEndTheAnswerFollowsEach) {
    constexpr int kConnections = 12;
    std::atomic<bool> asking{true};
    std::atomic<bool> connected{false};
    std::thread asker([&] {
        while (asking.load()) {
            connected.store(client.isConnected());
            std::this_thread::yield();
        }
    });
    struct StopAsking {
        std::atomic<bool>& asking;
        std::thread& asker;
        ~StopAsking() {
            asking.store(false);
            asker.join();
        }
    } stop{asking, asker};
    for (int made = 1; made <= kConnections; ++made) {
        SCOPED_TRACE(made);
        ASSERT_TRUE(client.connectToHost(kHost, portal.port()));
        ASSERT_TRUE(listener.waitFor(Event::ConnectionOK, made, 30));
        ASSERT_TRUE(portal.waitForConnections(made, 30));
        ASSERT_TRUE(lookUntil([&] { return connected.load(); })) << "connected, and asked it says not";
        // Ended by the server (its reader thread ends it) and by the client, in turn.
        if (made % 2 == 1) {
            portal.closeClient();
            ASSERT_TRUE(lookUntil([&] { return listener.ends() == made; }));
        } else {
            client.disconnect();
        }
        ASSERT_TRUE(lookUntil([&] { return !connected.load(); })) << "ended, and asked it says connected";
    }
    EXPECT_EQ(listener.count(Event::ConnectionOK), kConnections);
    EXPECT_EQ(listener.ends(), kConnections);
}

TEST_F(MobileClientTest, MessagesSentWhileDisconnectedGoOutAfterTheNextHello) {
    connectAndWait(portal.port());
    client.manualDisconnect();
    ASSERT_TRUE(portal.waitForClientGone(kStateWait));
    client.sendMessage(request(31, 1));
    client.sendMessage(request(32, 2));
    ASSERT_TRUE(client.connectToHost(kHost, portal.port()));
    ASSERT_TRUE(portal.waitForMessages(2, kStateWait));
    auto got = portal.messages();
    EXPECT_EQ(got[0].commandId, 31);
    EXPECT_EQ(got[1].commandId, 32);
    EXPECT_EQ(portal.hellos().size(), 2u);
    EXPECT_TRUE(portal.protocolErrors().empty());
}

TEST_F(MobileClientTest, ADisconnectWhileTheReaderWaitsForTheMainThreadNeitherHangsNorReportsTwice) {
    auto& loop = platform::RunLoop::main();
    loop.bindToCurrentThread();
    listener.setOnMessage([this](Message&) {
        platform::runOnMainThreadAndWait([this] { hopRan = true; });
        hopReturned = true;
    });
    connectAndWait(portal.port());
    ASSERT_TRUE(portal.sendToClient(Message(3)));
    ASSERT_TRUE(listener.waitForMessages(1));
    // The reader is now parked in the hop; the main thread ends the connection.
    ASSERT_TRUE(lookUntil([&] { return loop.hasPendingTasks(); }));
    client.disconnect();
    EXPECT_EQ(listener.count(Event::Disconnected), 1);
    EXPECT_TRUE(loop.runUntil([this] { return hopReturned.load(); }, 30));
    EXPECT_TRUE(hopRan);
    ASSERT_TRUE(threadsLeft());
    loop.runPending();
    EXPECT_EQ(listener.ends(), 1);
}

// --- what arrives ----------------------------------------------------------------

TEST_F(MobileClientTest, AnOversizeFrameClosesTheConnectionAsAFailure) {
    connectAndWait(portal.port());
    ASSERT_TRUE(portal.sendRawToClient(fromHex("01000001 01 00000000")));
    ASSERT_TRUE(listener.waitFor(Event::ConnectionFail));
    ASSERT_TRUE(threadsLeft());
    EXPECT_EQ(listener.ends(), 1);
    EXPECT_TRUE(listener.messages().empty());
}

TEST_F(MobileClientTest, BadBodiesAreDroppedAndTheNextFrameStillArrives) {
    connectAndWait(portal.port());
    LogCapture log;
    ASSERT_TRUE(portal.sendRawToClient(fromHex("00000009 01 0000000000000000")));          // not 4 + 8k
    ASSERT_TRUE(portal.sendRawToClient(fromHex("0000000d 01 00000009 0000000000000000"))); // length beyond
    ASSERT_TRUE(portal.sendRawToClient(fromHex("00000001 01")));                           // empty body
    ASSERT_TRUE(portal.sendRawToClient(fromHex("00000000")));                              // zero length
    ASSERT_TRUE(portal.sendToClient(Bytes().utf("still here").message(5)));
    ASSERT_TRUE(listener.waitForMessages(1));
    auto got = listener.messages();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].commandId, 5);
    EXPECT_TRUE(client.isConnected());
    EXPECT_EQ(listener.ends(), 0);
    EXPECT_TRUE(log.contains("frame body does not decipher"));
    EXPECT_TRUE(log.contains("empty frame body"));
}

TEST_F(MobileClientTest, AListenerExceptionIsLoggedAndReadingGoesOn) {
    listener.setOnMessage([this](Message&) {
        if (hookCalls++ == 0) throw std::runtime_error("handler fault");
    });
    connectAndWait(portal.port());
    LogCapture log;
    ASSERT_TRUE(portal.sendToClient(Message(1)));
    ASSERT_TRUE(portal.sendToClient(Message(2)));
    ASSERT_TRUE(listener.waitForMessages(2));
    EXPECT_TRUE(log.contains("Exception:handler fault"));
    EXPECT_TRUE(client.isConnected());
}

TEST_F(MobileClientTest, MessagesFromManyThreadsAllArriveInEachThreadsOrder) {
    connectAndWait(portal.port());
    constexpr int kThreads = 4, kEach = 50;
    std::vector<std::thread> senders;
    for (int t = 0; t < kThreads; ++t)
        senders.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i)
                client.sendMessage(request(static_cast<int16_t>(t), i));
        });
    for (auto& s : senders)
        s.join();
    ASSERT_TRUE(portal.waitForMessages(kThreads * kEach, kStateWait));
    int next[kThreads] = {};
    for (auto& m : portal.messages()) {
        Message copy(m.commandId, m.body);
        ASSERT_GE(m.commandId, 0);
        ASSERT_LT(m.commandId, kThreads);
        EXPECT_EQ(copy.readInt(), next[m.commandId]++);
    }
}

TEST_F(MobileClientTest, AnIdleConnectionUsesNoCPU) {
    connectAndWait(portal.port());
    auto cpu = [] {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
    };
    double before = cpu();
    // The stretch the CPU time is measured over, in which a connection that spins would spend it.
    EXPECT_TRUE(nothingComesWithin(0.5, [&] { return cpu() - before >= 0.05; }));
    double used = cpu() - before;
    EXPECT_LT(used, 0.05) << "process CPU time over 0.5 s idle";
    EXPECT_TRUE(client.isConnected());
}

// --- through a faulty network ----------------------------------------------------

TEST_F(MobileClientTest, FramesSplitIntoSingleBytesAreReassembled) {
    FaultProxy proxy(portal.port());
    proxy.splitIntoSingleBytes();
    portal.onAnyCommand([](Message& req, TestPortal::Reply& reply) { reply.send(req); });
    client.sendMessage(Bytes().utf("queued").message(40));
    ASSERT_TRUE(client.connectToHost(kHost, proxy.port()));
    ASSERT_TRUE(listener.waitFor(Event::ConnectionOK));
    client.sendMessage(Bytes().int64(-3).utf("second").message(41));
    ASSERT_TRUE(listener.waitForMessages(2, kStateWait));
    auto got = listener.messages();
    EXPECT_EQ(got[0].commandId, 40);
    EXPECT_EQ(got[1].commandId, 41);
    Message second(got[1].commandId, got[1].body);
    EXPECT_EQ(second.readLong(), -3);
    EXPECT_EQ(second.readUTF(), "second");
    EXPECT_TRUE(portal.protocolErrors().empty());
}

TEST_F(MobileClientTest, AConnectionCutInsideAFrameGivesOneFailureAndNoMessage) {
    FaultProxy proxy(portal.port());
    connectAndWait(proxy.port());
    proxy.closeAfterBytes(7);
    ASSERT_TRUE(portal.sendToClient(Bytes().utf("never whole").message(6)));
    ASSERT_TRUE(listener.waitFor(Event::ConnectionFail));
    ASSERT_TRUE(threadsLeft());
    EXPECT_EQ(listener.ends(), 1);
    EXPECT_TRUE(listener.messages().empty());
}

TEST_F(MobileClientTest, AResetConnectionGivesOneFailure) {
    FaultProxy proxy(portal.port());
    ASSERT_TRUE(client.connectToHost(kHost, proxy.port()));
    ASSERT_TRUE(listener.waitFor(Event::ConnectionOK));
    ASSERT_TRUE(proxy.waitForConnections(1, kStateWait));
    proxy.resetNow();
    ASSERT_TRUE(listener.waitFor(Event::ConnectionFail));
    ASSERT_TRUE(threadsLeft());
    EXPECT_EQ(listener.ends(), 1);
    EXPECT_FALSE(client.isConnected());
}

// The reader is busy with a message when the peer resets the connection, so the
// writer is the first to meet the reset: the write fails and ends the connection
// with an error, reported once.
TEST_F(MobileClientTest, AWriteThatFailsEndsTheConnectionWithOneFailure) {
    LogCapture log;
    std::atomic<bool> release{false};
    listener.setOnMessage([&](Message&) {
        ++hookCalls;
        EXPECT_TRUE(lookUntil([&] { return release.load(); })) << "the test did not release the reader";
    });
    FaultProxy proxy(portal.port());
    connectAndWait(proxy.port());
    ASSERT_TRUE(portal.sendToClient(Message(3)));
    ASSERT_TRUE(listener.waitForMessages(1));
    proxy.resetNow();
    // The reset has reached the client's socket before the write.
    ASSERT_TRUE(proxy.waitForConnectionsEnded(1, kStateWait));
    // A large frame: its write meets the reset.
    Message large(1700);
    large.writeData(ByteVector(256 * 1024, 0x5A));
    client.sendMessage(std::move(large));
    EXPECT_TRUE(listener.waitFor(Event::ConnectionFail));
    release = true;
    ASSERT_TRUE(threadsLeft());
    EXPECT_EQ(listener.ends(), 1);
    EXPECT_FALSE(client.isConnected());
    EXPECT_TRUE(log.contains("MobileClient: write failed"));
    EXPECT_EQ(hookCalls.load(), 1);
}
