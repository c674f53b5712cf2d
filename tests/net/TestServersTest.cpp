// The test servers that later tests lean on: they must answer as configured.

#include "net/FrameReader.h"
#include "tests/support/Sockets.h"
#include "tests/support/StateWaits.h"
#include "tests/support/TestHttpServer.h"
#include "tests/support/TestPortal.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <thread>

using kavo::Message;
using kavo::test::TestHttpServer;
using kavo::test::TestPortal;

namespace {

// Sends one GET: the connection its answer comes on.
kavo::test::Fd request(uint16_t port, const std::string& path) {
    auto fd = kavo::test::connectToLoopback(port);
    std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    kavo::test::sendAll(fd.get(), reinterpret_cast<const uint8_t*>(request.data()), request.size());
    return fd;
}

// Sends one GET and returns everything the server sent before closing.
std::string get(uint16_t port, const std::string& path) {
    return kavo::test::readUntilClosed(request(port, path).get());
}

} // namespace

TEST(TestHttpServer, ServesTheTextAtItsPathAndRecordsTheRequest) {
    TestHttpServer http;
    http.serveText("/servers.txt", "Local|127.0.0.1:9000;");
    auto reply = get(http.port(), "/servers.txt");
    EXPECT_EQ(reply.rfind("HTTP/1.1 200", 0), 0u);
    EXPECT_NE(reply.find("\r\n\r\nLocal|127.0.0.1:9000;"), std::string::npos);
    EXPECT_EQ(get(http.port(), "/other").rfind("HTTP/1.1 404", 0), 0u);
    ASSERT_TRUE(http.waitForRequests(2, kavo::test::kStateWait));
    EXPECT_EQ(http.requests()[0].method, "GET");
    EXPECT_EQ(http.requests()[0].path, "/servers.txt");
    EXPECT_EQ(http.url("/a"), "http://127.0.0.1:" + std::to_string(http.port()) + "/a");
}

TEST(TestHttpServer, AnswersEmptyWithAnErrorOrNotAtAll) {
    TestHttpServer http;
    http.answerEmpty();
    auto empty = get(http.port(), "/x");
    EXPECT_NE(empty.find("Content-Length: 0\r\n"), std::string::npos);
    http.answerStatus(503);
    EXPECT_EQ(get(http.port(), "/x").rfind("HTTP/1.1 503", 0), 0u);
    http.holdConnections();
    const auto held = request(http.port(), "/x");
    ASSERT_TRUE(http.waitForRequests(3, kavo::test::kStateWait));
    // A held connection gets no answer.
    const kavo::test::StopSignal never;
    EXPECT_TRUE(kavo::test::nothingComesWithin(
        0.3, [&] { return kavo::test::waitReadable(held.get(), never, 0) == kavo::test::WaitResult::Ready; }));
    EXPECT_EQ(http.requests().size(), 3u);
}

// KAVO_PORTAL_HOLD_BACK as a test sets it, and as it was after.
class HoldBackSetting {
public:
    explicit HoldBackSetting(const char* seconds) {
        if (const char* before = std::getenv(kName)) before_ = before;
        ::setenv(kName, seconds, 1);
    }
    ~HoldBackSetting() {
        if (before_)
            ::setenv(kName, before_->c_str(), 1);
        else
            ::unsetenv(kName);
    }

private:
    static constexpr const char* kName = "KAVO_PORTAL_HOLD_BACK";
    std::optional<std::string> before_;
};

// Held back as the tests' portal is (scripts/slow): a request is recorded and answered half a
// second after it came, and the answer goes half a second later again, so that a test that
// looks a fixed time for either misses it.
TEST(TestHttpServer, HeldBackARequestIsRecordedLateAndItsAnswerSentLaterStill) {
    const HoldBackSetting halfASecond("0.5");
    TestHttpServer http;
    http.serveText("/late", "muon");
    const auto fd = request(http.port(), "/late");
    EXPECT_TRUE(kavo::test::nothingComesWithin(0.2, [&] { return !http.requests().empty(); })) << "recorded as it came";
    ASSERT_TRUE(http.waitForRequests(1, kavo::test::kStateWait));
    const kavo::test::StopSignal never;
    EXPECT_TRUE(kavo::test::nothingComesWithin(0.2, [&] {
        return kavo::test::waitReadable(fd.get(), never, 0) == kavo::test::WaitResult::Ready;
    })) << "answered as it was recorded";
    EXPECT_NE(kavo::test::readUntilClosed(fd.get()).find("\r\n\r\nmuon"), std::string::npos);
    EXPECT_EQ(http.requests().size(), 1u);
}

// Held back, a client that sends and leaves is gone for the portal only once what it sent is
// recorded and handled: a test that waits for the end (the client fixture's tear-down) and
// then clears the record must not find the last messages of its client in the next test's.
TEST(TestPortal, HeldBackAClientIsGoneOnlyOnceWhatItSentBeforeItsEndIsRecordedAndHandled) {
    const HoldBackSetting halfASecond("0.5");
    std::atomic<int> handled{0};
    TestPortal portal;
    portal.onCommand(2800, [&](Message&, TestPortal::Reply&) { ++handled; });
    {
        auto fd = kavo::test::connectToLoopback(portal.port());
        ASSERT_TRUE(fd.valid());
        const uint8_t hello[9] = {10, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
        ASSERT_TRUE(kavo::test::sendAll(fd.get(), hello, sizeof hello));
        const kavo::TEA tea(0x0102030405060708);
        for (const int16_t command : {int16_t(1), int16_t(2800)}) {
            const auto frame = kavo::encodeFrame(tea, Message(command));
            ASSERT_TRUE(kavo::test::sendAll(fd.get(), frame.data(), frame.size()));
        }
        ASSERT_TRUE(portal.waitForConnections(1, kavo::test::kStateWait));
    } // the client ends its connection right after its last message
    ASSERT_TRUE(portal.waitForClientGone(kavo::test::kStateWait));
    EXPECT_FALSE(portal.isClientConnected());
    EXPECT_EQ(portal.messages(1).size(), 1u);
    EXPECT_EQ(portal.messages(2800).size(), 1u) << "the last message before the end is recorded";
    EXPECT_EQ(handled.load(), 1);
    portal.clearMessages();
    EXPECT_TRUE(kavo::test::nothingComesWithin(0.5, [&] { return !portal.messages().empty(); }))
        << "nothing of the ended connection comes after the end";

    // A second client is served as the first was, and its end waits for its own messages.
    auto again = kavo::test::connectToLoopback(portal.port());
    ASSERT_TRUE(again.valid());
    const uint8_t hello[9] = {10, 0, 0, 0, 0, 0, 0, 0, 9};
    ASSERT_TRUE(kavo::test::sendAll(again.get(), hello, sizeof hello));
    const auto frame = kavo::encodeFrame(kavo::TEA(9), Message(2800));
    ASSERT_TRUE(kavo::test::sendAll(again.get(), frame.data(), frame.size()));
    ASSERT_TRUE(portal.waitForConnections(2, kavo::test::kStateWait));
    again = {};
    ASSERT_TRUE(portal.waitForClientGone(kavo::test::kStateWait));
    EXPECT_EQ(portal.messages(2800).size(), 1u);
    EXPECT_EQ(handled.load(), 2);
}

// A fixture's handlers hold the fixture: the portal, which outlives it, must not run one
// after it went, nor be in the middle of one when it goes.
TEST(TestPortal, DroppingHandlersWaitsForTheRunningCallAndLaterRequestsFindNone) {
    std::promise<void> entered;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> calls{0};
    std::atomic<bool> finished{false};
    std::promise<void> eightAnswered;
    TestPortal portal; // after what its handlers use: its thread ends before they go
    portal.onCommand(7, [&](Message&, TestPortal::Reply&) {
        if (++calls > 1) return;
        entered.set_value();
        released.wait();
        finished = true;
    });

    auto fd = kavo::test::connectToLoopback(portal.port());
    ASSERT_TRUE(fd.valid());
    const uint8_t hello[9] = {10, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
    ASSERT_TRUE(kavo::test::sendAll(fd.get(), hello, sizeof hello));
    const kavo::TEA tea(0x0102030405060708);
    auto send = [&](int16_t command) {
        const auto frame = kavo::encodeFrame(tea, Message(command));
        return kavo::test::sendAll(fd.get(), frame.data(), frame.size());
    };
    ASSERT_TRUE(send(7));
    auto inHandler = entered.get_future();
    ASSERT_EQ(inHandler.wait_for(std::chrono::duration<double>(kavo::test::kStateWait)), std::future_status::ready);

    std::atomic<bool> finishedWhenDropReturned{false};
    auto drop = std::async(std::launch::async, [&] {
        const bool idle = portal.dropHandlers(kavo::test::kStateWait);
        finishedWhenDropReturned = finished.load();
        return idle;
    });
    // The handler goes on only once the drop has begun (its handler is no longer set).
    EXPECT_TRUE(kavo::test::lookUntil([&] { return !portal.handlerOf(7); }));
    release.set_value();
    EXPECT_TRUE(drop.get());
    EXPECT_TRUE(finishedWhenDropReturned.load());

    // Requests are served in order: once the new handler of 8 runs, the second 7 was read.
    portal.onCommand(8, [&](Message&, TestPortal::Reply&) { eightAnswered.set_value(); });
    ASSERT_TRUE(send(7));
    ASSERT_TRUE(send(8));
    ASSERT_EQ(eightAnswered.get_future().wait_for(std::chrono::duration<double>(kavo::test::kStateWait)),
              std::future_status::ready);
    EXPECT_EQ(calls.load(), 1);
    EXPECT_EQ(portal.messages(7).size(), 2u);
}
