#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
    std::string method = "GET";
    std::string url; // http or https only
    HttpHeaders headers;
    std::string body;           // bytes; sent when not empty (or for POST and PUT)
    double connectTimeout = 10; // seconds
    double totalTimeout = 20;   // seconds, the whole exchange
    // Off: a redirect comes back as the 3xx response itself (a web view asks its
    // delegate before it follows one).
    bool followRedirects = true;

    static HttpRequest get(std::string url) {
        HttpRequest request;
        request.url = std::move(url);
        return request;
    }
    static HttpRequest post(std::string url, std::string body) {
        HttpRequest request;
        request.method = "POST";
        request.url = std::move(url);
        request.body = std::move(body);
        return request;
    }
};

struct HttpResponse {
    int status = 0; // 0 when no response arrived; see error
    HttpHeaders headers;
    std::string body;  // bytes
    std::string error; // empty on success
    std::string finalUrl;

    bool ok() const { return status >= 200 && status < 300; }
    // The first header of that name (case-insensitive), or "".
    std::string header(std::string_view name) const;
};

// A request started with HttpClient::start. Cancelling (from any thread) stops the
// transfer soon and guarantees that its completion does not run afterwards.
class HttpTask {
public:
    void cancel() { cancelled_ = true; }
    bool isCancelled() const { return cancelled_; }

private:
    std::atomic<bool> cancelled_{false};
};

// HTTP over libcurl. Follows up to 5 redirects (http and https only) unless the
// request says not to.
class HttpClient {
public:
    // Blocks the calling thread until the response or a time-out; do not call it
    // on the main thread.
    static HttpResponse perform(const HttpRequest& request);

    // Runs the request on a worker thread and delivers the completion on the main
    // thread (through runOnMainThread). Never blocks the caller.
    static void performAsync(HttpRequest request, std::function<void(const HttpResponse&)> completion);
    // As performAsync, and the request can be cancelled; call from the main thread so
    // that a cancel there and the completion cannot cross.
    static std::shared_ptr<HttpTask> start(HttpRequest request, std::function<void(const HttpResponse&)> completion);
    // The asynchronous requests started whose worker has not finished with them (a failure
    // is logged, a completion posted, before it does): a test waits for none before the next
    // test's log.
    static size_t requestsUnderway();

    // Cookies a host set ("Set-Cookie") are kept for the process, per host, and sent
    // back to that host ("Cookie"). "name=value" in the order first set.
    static std::vector<std::string> cookies(const std::string& host);
    static void deleteCookies(const std::string& host);
};

} // namespace platform
