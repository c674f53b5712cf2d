#include "tests/support/TestHttpServer.h"

#include <chrono>
#include <strings.h>
#include <sys/socket.h>

namespace kavo::test {

namespace {
const char* reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

std::string response(int status, const std::string& body, const std::vector<std::string>& headerLines = {}) {
    std::string extra;
    std::string type = "\r\nContent-Type: text/plain; charset=utf-8";
    for (auto& line : headerLines) {
        // An answer that names its own type replaces the default one.
        if (line.size() > 13 && strncasecmp(line.c_str(), "Content-Type:", 13) == 0) type.clear();
        extra += "\r\n" + line;
    }
    return "HTTP/1.1 " + std::to_string(status) + " " + reason(status) + type +
           "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close" + extra + "\r\n\r\n" + body;
}

// The Content-Length header's value, or 0.
size_t contentLength(const std::string& headers) {
    std::string lower;
    for (char c : headers)
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    auto at = lower.find("\ncontent-length:");
    if (at == std::string::npos) return 0;
    return static_cast<size_t>(std::strtoul(lower.c_str() + at + 16, nullptr, 10));
}
} // namespace

TestHttpServer::TestHttpServer() {
    if (const double delay = portalserver::HoldBack::delayFromEnvironment(); delay > 0) {
        heldReads_ = std::make_unique<portalserver::HoldBack>(delay);
        heldWrites_ = std::make_unique<portalserver::HoldBack>(delay);
    }
    listener_ = listenOnLoopback(port_);
    thread_ = std::thread([this] { acceptLoop(); });
}

TestHttpServer::~TestHttpServer() {
    stop_.raise();
    thread_.join();
    // What is still held goes unanswered; a step under way ends first.
    if (heldReads_) heldReads_->stop();
    if (heldWrites_) heldWrites_->stop();
}

std::string TestHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void TestHttpServer::serveText(const std::string& path, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    texts_[path] = text;
}

void TestHttpServer::serveAnswer(const std::string& path, Answer answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_[path] = std::move(answer);
}

void TestHttpServer::answerEmpty() {
    std::lock_guard<std::mutex> lock(mutex_);
    mode_ = Mode::Empty;
}

void TestHttpServer::answerStatus(int status) {
    std::lock_guard<std::mutex> lock(mutex_);
    mode_ = Mode::Status;
    status_ = status;
}

void TestHttpServer::holdConnections() {
    std::lock_guard<std::mutex> lock(mutex_);
    mode_ = Mode::Hold;
}

void TestHttpServer::serveTexts() {
    std::lock_guard<std::mutex> lock(mutex_);
    mode_ = Mode::Texts;
}

void TestHttpServer::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++generation_;
    mode_ = Mode::Texts;
    status_ = 500;
    texts_.clear();
    answers_.clear();
    requests_.clear();
    held_.clear();
}

std::vector<TestHttpServer::Request> TestHttpServer::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

bool TestHttpServer::waitForRequests(size_t count, double timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::duration<double>(timeout), [&] { return requests_.size() >= count; });
}

void TestHttpServer::acceptLoop() {
    for (;;) {
        if (waitReadable(listener_.get(), stop_, -1) != WaitResult::Ready) return;
        Fd client(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (client.valid()) answer(std::move(client));
    }
}

void TestHttpServer::answer(Fd client) {
    // Read the head, then as much body as it announces, 5 s at most.
    std::string text;
    auto start = std::chrono::steady_clock::now();
    auto left = [&] { return 5.0 - std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    size_t headEnd = std::string::npos;
    char buffer[4096];
    while (headEnd == std::string::npos) {
        if (left() <= 0 || waitReadable(client.get(), stop_, left()) != WaitResult::Ready) return;
        ssize_t n = ::recv(client.get(), buffer, sizeof buffer, 0);
        if (n <= 0) return;
        text.append(buffer, static_cast<size_t>(n));
        headEnd = text.find("\r\n\r\n");
    }
    Request request;
    request.headers = text.substr(0, headEnd);
    size_t wanted = contentLength(request.headers);
    std::string body = text.substr(headEnd + 4);
    while (body.size() < wanted && left() > 0 && waitReadable(client.get(), stop_, left()) == WaitResult::Ready) {
        ssize_t n = ::recv(client.get(), buffer, sizeof buffer, 0);
        if (n <= 0) break;
        body.append(buffer, static_cast<size_t>(n));
    }
    request.body = body;
    auto firstSpace = request.headers.find(' ');
    auto secondSpace = request.headers.find(' ', firstSpace + 1);
    if (firstSpace != std::string::npos) {
        request.method = request.headers.substr(0, firstSpace);
        request.path = request.headers.substr(firstSpace + 1, secondSpace - firstSpace - 1);
    }
    uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        generation = generation_;
    }
    auto connection = std::make_shared<Fd>(std::move(client));
    if (!heldReads_) return respond(std::move(connection), std::move(request), generation);
    heldReads_->add([this, connection, request = std::move(request), generation]() mutable {
        respond(std::move(connection), std::move(request), generation);
    });
}

void TestHttpServer::respond(std::shared_ptr<Fd> client, Request request, uint64_t generation) {
    std::string reply;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (generation != generation_) return;
        requests_.push_back(request);
        switch (mode_) {
        case Mode::Texts: {
            auto whole = answers_.find(request.path.substr(0, request.path.find('?')));
            if (whole != answers_.end()) {
                reply = response(whole->second.status, whole->second.body, whole->second.headerLines);
                break;
            }
            auto it = texts_.find(request.path);
            reply = it != texts_.end() ? response(200, it->second) : response(404, "not found");
            break;
        }
        case Mode::Empty:
            reply = response(200, "");
            break;
        case Mode::Status:
            reply = response(status_, "error");
            break;
        case Mode::Hold:
            held_.push_back(std::move(*client));
            break;
        }
    }
    changed_.notify_all();
    if (!client->valid()) return;
    if (!heldWrites_) return send(client, reply, generation);
    heldWrites_->add([this, client, reply, generation] { send(client, reply, generation); });
}

void TestHttpServer::send(const std::shared_ptr<Fd>& client, const std::string& reply, uint64_t generation) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (generation != generation_) return;
    }
    sendAll(client->get(), reinterpret_cast<const uint8_t*>(reply.data()), reply.size());
}

} // namespace kavo::test
