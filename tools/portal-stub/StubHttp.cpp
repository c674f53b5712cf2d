#include "tools/portal-stub/StubHttp.h"

#include "platform/runtime/Log.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sys/socket.h>

namespace portalstub {

namespace {

// Requests are small: a line and a few headers.
constexpr size_t kMaxRequest = 8192;
constexpr double kReadTimeout = 5;
// Bodies (the graph's batch posts) are small too.
constexpr size_t kMaxBody = 1 << 20;

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string contentType(const std::string& path) {
    if (endsWith(path, ".png")) return "image/png";
    return endsWith(path, ".html") ? "text/html; charset=utf-8" : "text/plain; charset=utf-8";
}

std::string response(int status, const std::string& type, const std::string& body) {
    return "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Not Found") + "\r\nContent-Type: " + type +
           "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

StubHttp::StubHttp(uint16_t port, std::map<std::string, std::string> pages) : port_(port), pages_(std::move(pages)) {
    listener_ = portalserver::listenOnLoopback(port_);
    if (listener_.valid()) thread_ = std::thread([this] { acceptLoop(); });
}

StubHttp::~StubHttp() {
    stop_.raise();
    if (thread_.joinable()) thread_.join();
}

void StubHttp::acceptLoop() {
    while (true) {
        if (portalserver::waitReadable(listener_.get(), stop_, -1) != portalserver::WaitResult::Ready) return;
        portalserver::Fd client(::accept(listener_.get(), nullptr, nullptr));
        if (client.valid()) answer(client.get());
    }
}

void StubHttp::setRedirect(const std::string& path, std::function<std::string()> location) {
    std::lock_guard lock(redirectsMutex_);
    redirects_[path] = std::move(location);
}

void StubHttp::setHandler(const std::string& path, Handler handler) {
    std::lock_guard lock(redirectsMutex_);
    handlers_[path] = std::move(handler);
}

void StubHttp::answer(int client) {
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < kMaxRequest) {
        if (portalserver::waitReadable(client, stop_, kReadTimeout) != portalserver::WaitResult::Ready) return;
        const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        request.append(buffer, size_t(n));
    }
    // "GET /path HTTP/1.1"
    const size_t start = request.find(' ');
    const size_t end = start == std::string::npos ? std::string::npos : request.find(' ', start + 1);
    std::string path = end == std::string::npos ? std::string() : request.substr(start + 1, end - start - 1);
    if (const size_t query = path.find('?'); query != std::string::npos) path.resize(query);

    std::function<std::string()> redirect;
    Handler handler;
    {
        std::lock_guard lock(redirectsMutex_);
        if (auto found = redirects_.find(path); found != redirects_.end()) redirect = found->second;
        if (auto found = handlers_.find(path); found != handlers_.end()) handler = found->second;
    }
    if (handler) {
        Request parsed{request.substr(0, start == std::string::npos ? 0 : start),
                       end == std::string::npos ? std::string() : request.substr(start + 1, end - start - 1), ""};
        const size_t headersEnd = request.find("\r\n\r\n");
        parsed.body = headersEnd == std::string::npos ? std::string() : request.substr(headersEnd + 4);
        std::string lower;
        for (char c : request.substr(0, headersEnd))
            lower += char(std::tolower(static_cast<unsigned char>(c)));
        size_t length = 0;
        if (size_t at = lower.find("\ncontent-length:"); at != std::string::npos)
            length = std::min<size_t>(std::strtoul(lower.c_str() + at + 16, nullptr, 10), kMaxBody);
        while (parsed.body.size() < length) {
            if (portalserver::waitReadable(client, stop_, kReadTimeout) != portalserver::WaitResult::Ready) return;
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) return;
            parsed.body.append(buffer, size_t(n));
        }
        auto [status, body] = handler(parsed);
        const std::string reply = response(status, "text/javascript; charset=UTF-8", body);
        // Queries carry access tokens: the log shows the path only.
        platform::log("http " + parsed.method + " " + parsed.target.substr(0, parsed.target.find_first_of("?#")) + " " +
                      std::to_string(status));
        portalserver::sendAll(client, reinterpret_cast<const uint8_t*>(reply.data()), reply.size());
        return;
    }
    if (redirect) {
        const std::string location = redirect();
        const std::string moved =
            "HTTP/1.1 302 Found\r\nLocation: " + location + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        platform::log("http " + path + " 302 " + location.substr(0, location.find_first_of("?#")));
        portalserver::sendAll(client, reinterpret_cast<const uint8_t*>(moved.data()), moved.size());
        return;
    }
    const auto page = pages_.find(path);
    const std::string reply = page == pages_.end() ? response(404, "text/plain", "not found\n")
                                                   : response(200, contentType(path), page->second);
    platform::log("http " + path + (page == pages_.end() ? " 404" : " 200"));
    portalserver::sendAll(client, reinterpret_cast<const uint8_t*>(reply.data()), reply.size());
}

} // namespace portalstub
