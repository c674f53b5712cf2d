#include "platform/foundation/HttpClient.h"

#include "platform/foundation/Url.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <curl/curl.h>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace platform {

namespace {

// Per host, per name, the value; requests run on several workers.
struct CookieJar {
    std::mutex mutex;
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> hosts;
};

CookieJar& cookieJar() {
    static CookieJar* jar = new CookieJar(); // outlives workers still running at exit
    return *jar;
}

std::string hostOf(const std::string& url) {
    auto parsed = Url::parse(url);
    return parsed ? parsed->host : std::string();
}

// What of an address may go to the log: scheme, host, port and path. The query and
// the user part can carry credentials (access tokens travel in the query).
std::string loggableAddress(const std::string& text) {
    auto parsed = Url::parse(text);
    if (!parsed) return "(not an address)";
    std::string shown = parsed->scheme + "://" + parsed->host;
    if (parsed->port >= 0) shown += ":" + std::to_string(parsed->port);
    return shown + parsed->path;
}

// "name=value" of a Set-Cookie header (its attributes dropped).
void keepCookie(const std::string& host, const std::string& header) {
    std::string pair = header.substr(0, header.find(';'));
    size_t eq = pair.find('=');
    if (host.empty() || eq == std::string::npos || eq == 0) return;
    std::string name = pair.substr(0, eq);
    std::string value = pair.substr(eq + 1);
    std::lock_guard lock(cookieJar().mutex);
    auto& cookies = cookieJar().hosts[host];
    for (auto& cookie : cookies)
        if (cookie.first == name) {
            cookie.second = value;
            return;
        }
    cookies.emplace_back(name, value);
}

// A response larger than this is refused rather than filling memory.
constexpr size_t kMaxBodySize = 64u * 1024 * 1024;
constexpr long kMaxRedirects = 5;

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

struct Transfer {
    HttpResponse response;
    bool tooLarge = false;
};

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    size_t n = size * count;
    if (transfer->response.body.size() + n > kMaxBodySize) {
        transfer->tooLarge = true;
        return 0; // makes curl stop with a write error
    }
    transfer->response.body.append(data, n);
    return n;
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    size_t n = size * count;
    std::string_view line(data, n);
    if (line.substr(0, 5) == "HTTP/") {
        transfer->response.headers.clear(); // a new response (after a redirect or a 100 Continue)
        return n;
    }
    size_t colon = line.find(':');
    if (colon != std::string_view::npos && colon > 0)
        transfer->response.headers.emplace_back(std::string(trimmed(line.substr(0, colon))),
                                                std::string(trimmed(line.substr(colon + 1))));
    return n;
}

// Asks curl to stop a transfer whose task was cancelled.
int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* task = static_cast<const HttpTask*>(user);
    return task && task->isCancelled() ? 1 : 0;
}

HttpResponse performTask(const HttpRequest& request, const HttpTask* task);

long toMilliseconds(double seconds) {
    return std::max(1L, long(seconds * 1000));
}

// A few threads that run asynchronous requests, started as needed. They live
// for the process.
class Workers {
public:
    static Workers& instance() {
        static Workers* workers = new Workers();
        return *workers;
    }

    void submit(std::function<void()> job) {
        std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back(std::move(job));
        if (idle_ == 0 && threads_ < kMaxThreads) {
            ++threads_;
            std::thread([this] { work(); }).detach();
        }
        wake_.notify_one();
    }

private:
    static constexpr int kMaxThreads = 4;

    void work() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (true) {
            ++idle_;
            wake_.wait(lock, [this] { return !jobs_.empty(); });
            --idle_;
            auto job = std::move(jobs_.front());
            jobs_.pop_front();
            lock.unlock();
            job();
            lock.lock();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    int threads_ = 0;
    int idle_ = 0;
};

} // namespace

std::string HttpResponse::header(std::string_view name) const {
    for (auto& [key, value] : headers)
        if (equalsIgnoringCase(key, name)) return value;
    return {};
}

HttpResponse HttpClient::perform(const HttpRequest& request) {
    return performTask(request, nullptr);
}

namespace {

HttpResponse performTask(const HttpRequest& request, const HttpTask* task) {
    auto url = Url::parse(request.url);
    if (!url || (url->scheme != "http" && url->scheme != "https") || url->host.empty()) {
        HttpResponse failed;
        failed.error = "unsupported URL: " + loggableAddress(request.url);
        log("HttpClient: " + failed.error);
        return failed;
    }
    initCurlOnce();
    CURL* curl = curl_easy_init();
    if (!curl) {
        HttpResponse failed;
        failed.error = "cannot start a transfer";
        return failed;
    }

    Transfer transfer;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L); // time-outs without SIGALRM: safe in threads
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, toMilliseconds(request.connectTimeout));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, toMilliseconds(request.totalTimeout));
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    if (task) {
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, task);
    }

    std::string method = request.method.empty() ? "GET" : request.method;
    std::transform(method.begin(), method.end(), method.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    if (method == "GET") {
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    } else if (method == "HEAD") {
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    } else {
        if (method != "POST") curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method.c_str());
        if (method == "POST" || method == "PUT" || !request.body.empty()) {
            curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(request.body.size()));
            curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
        }
    }

    curl_slist* headers = nullptr;
    bool hasExpect = false;
    for (auto& [name, value] : request.headers) {
        headers = curl_slist_append(headers, (name + ": " + value).c_str());
        if (equalsIgnoringCase(name, "Expect")) hasExpect = true;
    }
    const std::string host = hostOf(request.url);
    const auto kept = HttpClient::cookies(host);
    if (!kept.empty()) {
        std::string line = "Cookie: ";
        for (size_t i = 0; i < kept.size(); ++i)
            line += (i ? "; " : "") + kept[i];
        headers = curl_slist_append(headers, line.c_str());
    }
    // No "Expect: 100-continue" round trip before larger bodies.
    if (!hasExpect) headers = curl_slist_append(headers, "Expect:");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

    CURLcode result = curl_easy_perform(curl);
    HttpResponse& response = transfer.response;
    if (result == CURLE_OK) {
        long status = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        response.status = int(status);
        char* effective = nullptr;
        if (curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective)
            response.finalUrl = effective;
        for (auto& [name, value] : response.headers)
            if (equalsIgnoringCase(name, "Set-Cookie")) keepCookie(hostOf(response.finalUrl), value);
    } else {
        response.status = 0;
        response.headers.clear();
        response.body.clear();
        response.error = transfer.tooLarge ? "response too large"
                         : errorBuffer[0]  ? std::string(errorBuffer)
                                           : std::string(curl_easy_strerror(result));
        log("HttpClient: " + method + " " + loggableAddress(request.url) + " failed: " + response.error);
    }
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return std::move(response);
}

} // namespace

std::vector<std::string> HttpClient::cookies(const std::string& host) {
    std::lock_guard lock(cookieJar().mutex);
    std::vector<std::string> pairs;
    auto found = cookieJar().hosts.find(host);
    if (found != cookieJar().hosts.end())
        for (auto& [name, value] : found->second)
            pairs.push_back(name + "=" + value);
    return pairs;
}

void HttpClient::deleteCookies(const std::string& host) {
    std::lock_guard lock(cookieJar().mutex);
    cookieJar().hosts.erase(host);
}

namespace {

std::atomic<size_t> underway{0};

// Counts a request from its start until its worker is done with it.
class Underway {
public:
    Underway() { underway.fetch_add(1, std::memory_order_acq_rel); }
    ~Underway() { underway.fetch_sub(1, std::memory_order_acq_rel); }
    Underway(const Underway&) = delete;
    Underway& operator=(const Underway&) = delete;
};

} // namespace

size_t HttpClient::requestsUnderway() {
    return underway.load(std::memory_order_acquire);
}

void HttpClient::performAsync(HttpRequest request, std::function<void(const HttpResponse&)> completion) {
    // Set curl up here, on the caller's thread, rather than on a detached worker: a
    // process that exits while a worker is still inside curl's global set-up crashes.
    initCurlOnce();
    auto counted = std::make_shared<Underway>();
    Workers::instance().submit([counted, request = std::move(request), completion = std::move(completion)]() mutable {
        const auto done = std::move(counted);
        HttpResponse response = perform(request);
        if (!completion) return;
        runOnMainThread([completion, response = std::move(response)] { completion(response); });
    });
}

std::shared_ptr<HttpTask> HttpClient::start(HttpRequest request, std::function<void(const HttpResponse&)> completion) {
    initCurlOnce();
    auto task = std::make_shared<HttpTask>();
    auto counted = std::make_shared<Underway>();
    Workers::instance().submit(
        [counted, task, request = std::move(request), completion = std::move(completion)]() mutable {
            const auto done = std::move(counted);
            if (task->isCancelled()) return;
            HttpResponse response = performTask(request, task.get());
            if (task->isCancelled() || !completion) return;
            runOnMainThread([task, completion, response = std::move(response)] {
                if (!task->isCancelled()) completion(response);
            });
        });
    return task;
}

} // namespace platform
