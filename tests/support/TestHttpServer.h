#pragma once

#include "tests/support/Sockets.h"
#include "tools/portal-server/HoldBack.h"

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kavo::test {

// A small HTTP server on 127.0.0.1 and a free port, for the texts the client
// fetches (the server list, ...). Each test chooses how it answers: the texts
// served at given paths (404 elsewhere), an empty text, an error status, or no
// answer at all (the connection is held open until the server goes).
// One request per connection; requests are recorded. Under KAVO_PORTAL_HOLD_BACK it holds
// back as the tests' portal does: each request is recorded and answered that many seconds
// after it came, and the answer sent that many seconds later again, in order.
class TestHttpServer {
public:
    struct Request {
        std::string method;
        std::string path; // as in the request line, with any query
        std::string headers;
        std::string body;
    };

    TestHttpServer();
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    uint16_t port() const { return port_; }
    // "http://127.0.0.1:<port><path>"
    std::string url(const std::string& path) const;

    // Serve `text` (200) at `path`; the default answer.
    void serveText(const std::string& path, const std::string& text);
    // A whole answer for `path` (matched without its query): status, extra header
    // lines ("Location: ...") and body. It takes precedence over a text there.
    struct Answer {
        int status = 200;
        std::vector<std::string> headerLines;
        std::string body;
    };
    void serveAnswer(const std::string& path, Answer answer);
    // Answer every path with 200 and an empty body.
    void answerEmpty();
    // Answer every path with this status and a short text.
    void answerStatus(int status);
    // Read requests but never answer them.
    void holdConnections();
    // Back to serving the texts.
    void serveTexts();
    // As new: no texts, answers or recorded requests, serving texts, held connections
    // closed. A server shared by a process's tests is reset before each one.
    void reset();

    std::vector<Request> requests() const;
    [[nodiscard]] bool waitForRequests(size_t count, double timeout);

private:
    enum class Mode { Texts, Empty, Status, Hold };
    void acceptLoop();
    void answer(Fd client);
    // Records the request and answers it as the server is set now; nothing when a reset came
    // after the request (`generation` is the count of resets when it came).
    void respond(std::shared_ptr<Fd> client, Request request, uint64_t generation);
    void send(const std::shared_ptr<Fd>& client, const std::string& reply, uint64_t generation);

    uint16_t port_ = 0;
    Fd listener_;
    StopSignal stop_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    Mode mode_ = Mode::Texts;
    int status_ = 500;
    std::map<std::string, std::string> texts_;
    std::map<std::string, Answer> answers_;
    std::vector<Request> requests_;
    std::vector<Fd> held_;
    uint64_t generation_ = 0; // the resets so far
    std::unique_ptr<portalserver::HoldBack> heldReads_, heldWrites_;
    std::thread thread_;
};

} // namespace kavo::test
