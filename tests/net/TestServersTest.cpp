// The test servers that later tests lean on: they must answer as configured.

#include "tests/support/Sockets.h"
#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>
#include <sys/socket.h>

using kavo::test::TestHttpServer;

namespace {

// Sends one GET and returns everything the server sent before closing (or "" after
// `timeout` seconds of silence).
std::string get(uint16_t port, const std::string& path, double timeout = 5.0) {
    auto fd = kavo::test::connectToLoopback(port);
    std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    kavo::test::sendAll(fd.get(), reinterpret_cast<const uint8_t*>(request.data()), request.size());
    kavo::test::StopSignal never;
    std::string reply;
    char buffer[1024];
    while (kavo::test::waitReadable(fd.get(), never, timeout) == kavo::test::WaitResult::Ready) {
        ssize_t n = ::recv(fd.get(), buffer, sizeof buffer, 0);
        if (n <= 0) break;
        reply.append(buffer, size_t(n));
    }
    return reply;
}

} // namespace

TEST(TestHttpServer, ServesTheTextAtItsPathAndRecordsTheRequest) {
    TestHttpServer http;
    http.serveText("/servers.txt", "Local|127.0.0.1:9000;");
    auto reply = get(http.port(), "/servers.txt");
    EXPECT_EQ(reply.rfind("HTTP/1.1 200", 0), 0u);
    EXPECT_NE(reply.find("\r\n\r\nLocal|127.0.0.1:9000;"), std::string::npos);
    EXPECT_EQ(get(http.port(), "/other").rfind("HTTP/1.1 404", 0), 0u);
    ASSERT_TRUE(http.waitForRequests(2, 5));
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
    EXPECT_EQ(get(http.port(), "/x", 0.3), "");
    EXPECT_EQ(http.requests().size(), 3u);
}
