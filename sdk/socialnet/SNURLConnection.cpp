#include "sdk/socialnet/SNURLConnection.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Url.h"
#include "sdk/socialnet/SNDataDiskCache.h"
#include "sdk/socialnet/SNLogger.h"
#include "sdk/socialnet/SNSessionTypes.h"
#include "sdk/socialnet/SNSettings.h"
#include "sdk/socialnet/SNUtility.h"
#include "sdk/socialnet/json/SNJSON.h"

#include <algorithm>
#include <cctype>

namespace socialnet {

namespace {

// A chain longer than this is a loop, not a move.
constexpr int kMaxRedirects = 10;

const std::vector<std::string>& cdnHostSuffixes() {
    static const std::vector<std::string> suffixes = [] {
        std::vector<std::string> list;
        const platform::Value configured = platform::Bundle::main().objectForInfoKey("SocialNetCDNHostSuffixes");
        for (auto& item : configured.arrayValue())
            if (item.isString() && !item.stringValue().empty()) list.push_back(item.stringValue());
        return list;
    }();
    return suffixes;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// "image/png; charset=x" -> "image/png".
std::string mimeTypeOf(const std::string& contentType) {
    std::string type = contentType.substr(0, contentType.find(';'));
    while (!type.empty() && type.back() == ' ')
        type.pop_back();
    return lower(type);
}

std::string textEncodingOf(const std::string& contentType) {
    auto at = lower(contentType).find("charset=");
    return at == std::string::npos ? std::string() : contentType.substr(at + 8);
}

// A Location header resolved against the address that sent it.
std::optional<std::string> resolveLocation(const std::string& base, const std::string& location) {
    if (location.empty()) return std::nullopt;
    auto absolute = platform::Url::parse(location);
    if (absolute && !absolute->host.empty()) return location;
    auto from = platform::Url::parse(base);
    if (!from) return std::nullopt;
    std::string origin = from->scheme + "://" + from->host + (from->port >= 0 ? ":" + std::to_string(from->port) : "");
    if (location.rfind("//", 0) == 0) return from->scheme + ":" + location;
    if (location.front() == '/') return origin + location;
    std::string directory = from->path.substr(0, from->path.rfind('/') + 1);
    return origin + (directory.empty() ? "/" : directory) + location;
}

SNErrorPtr platformError(const std::string& message) {
    auto error = std::make_shared<SNError>();
    error->domain = SNPlatformURLErrorDomain;
    error->code = -1;
    error->message = message;
    return error;
}

SNURLResponse responseFrom(const platform::HttpResponse& answer, const std::string& url) {
    SNURLResponse response;
    response.url = answer.finalUrl.empty() ? url : answer.finalUrl;
    response.statusCode = answer.status;
    response.headers = answer.headers;
    std::string contentType = answer.header("Content-Type");
    response.mimeType = mimeTypeOf(contentType);
    response.textEncodingName = textEncodingOf(contentType);
    response.expectedContentLength = int64_t(answer.body.size());
    return response;
}

} // namespace

std::shared_ptr<SNURLConnection> SNURLConnection::initWithURL(const std::string& url, Handler handler) {
    return initWithRequest(platform::HttpRequest::get(url), true, std::move(handler));
}

std::shared_ptr<SNURLConnection> SNURLConnection::initWithRequest(platform::HttpRequest request,
                                                                  bool skipRoundTripIfCached, Handler handler) {
    std::shared_ptr<SNURLConnection> connection(new SNURLConnection(skipRoundTripIfCached, std::move(handler)));
    connection->start(std::move(request));
    return connection;
}

SNURLConnection::SNURLConnection(bool skip, Handler handler)
    : handler_(std::move(handler)), skipRoundtripIfCached_(skip) {}

SNURLConnection::~SNURLConnection() {
    if (connection_) connection_->cancel();
}

bool SNURLConnection::isCDNURL(const std::string& url) {
    auto parsed = platform::Url::parse(url);
    if (!parsed) return false;
    for (auto& suffix : cdnHostSuffixes())
        if (parsed->host.size() >= suffix.size() &&
            parsed->host.compare(parsed->host.size() - suffix.size(), suffix.size(), lower(suffix)) == 0)
            return true;
    return false;
}

void SNURLConnection::start(platform::HttpRequest request) {
    if (skipRoundtripIfCached_) {
        if (auto cached = SNDataDiskCache::sharedCache().dataForURL(request.url)) {
            SNLogger::singleShotLogEntry(SNLoggingBehaviorSNURLConnections,
                                         "SNURLConnection:\n  URL: '" + request.url +
                                             "'\n  From the cache: " + std::to_string(cached->size() >> 10) + " kB\n");
            auto handler = std::move(handler_);
            handler_ = nullptr;
            if (handler) handler(*this, nullptr, std::nullopt, cached);
            SNSettings::autoPublishInstall(std::nullopt);
            return;
        }
    }
    requestStartTime_ = SNUtility::currentTimeInMilliseconds();
    loggerSerialNumber_ = SNLogger::newSerialNumber();
    std::string url = request.url;
    load(std::move(request));
    data_.clear();
    SNLogger::singleShotLogEntry(SNLoggingBehaviorSNURLConnections, "SNURLConnection <#" +
                                                                        std::to_string(loggerSerialNumber_) +
                                                                        ">:\n  URL: '" + url + "'\n\n");
    SNSettings::autoPublishInstall(std::nullopt);
}

void SNURLConnection::load(platform::HttpRequest request) {
    // Redirects come back here one at a time, so each new address can be answered
    // from the cache.
    request.followRedirects = false;
    auto self = shared_from_this();
    connection_ = platform::HttpClient::start(request, [self, request](const platform::HttpResponse& answer) mutable {
        if (!answer.error.empty() || answer.status == 0) {
            self->didFailWithError(platformError(answer.error.empty() ? "no response" : answer.error));
            return;
        }
        bool redirect = answer.status >= 300 && answer.status < 400 && !answer.header("Location").empty();
        if (!redirect) {
            self->didReceive(answer);
            self->connectionDidFinishLoading();
            return;
        }
        auto target = resolveLocation(request.url, answer.header("Location"));
        if (!target) {
            self->didFailWithError(platformError("bad redirect location"));
            return;
        }
        if (++self->redirects_ > kMaxRedirects) {
            self->didFailWithError(platformError("too many redirects"));
            return;
        }
        platform::HttpRequest next = request;
        next.url = *target;
        bool becomesGet = answer.status == 303 || ((answer.status == 301 || answer.status == 302) &&
                                                   request.method != "GET" && request.method != "HEAD");
        if (becomesGet) {
            next.method = "GET";
            next.body.clear();
        }
        if (auto follow = self->willSendRequest(std::move(next), responseFrom(answer, request.url)))
            self->load(std::move(*follow));
    });
}

void SNURLConnection::didReceive(const platform::HttpResponse& answer) {
    response_ = responseFrom(answer, answer.finalUrl);
    data_ = answer.body;
}

std::optional<platform::HttpRequest> SNURLConnection::willSendRequest(platform::HttpRequest next,
                                                                      const SNURLResponse&) {
    if (skipRoundtripIfCached_) {
        if (auto cached = SNDataDiskCache::sharedCache().dataForURL(next.url)) {
            SNURLResponse response;
            response.url = next.url;
            response.mimeType = "application/octet-stream";
            response.expectedContentLength = int64_t(cached->size());
            response.textEncodingName = "utf8";
            connection_ = nullptr;
            auto handler = std::move(handler_);
            handler_ = nullptr;
            invokeHandler(std::move(handler), nullptr, response, cached);
            return std::nullopt;
        }
    }
    return next;
}

void SNURLConnection::didFailWithError(const SNErrorPtr& error) {
    connection_ = nullptr;
    auto handler = std::move(handler_);
    handler_ = nullptr;
    invokeHandler(std::move(handler), error, std::nullopt, std::nullopt);
}

void SNURLConnection::connectionDidFinishLoading() {
    connection_ = nullptr;
    if (response_ && isCDNURL(response_->url)) SNDataDiskCache::sharedCache().setDataForURL(data_, response_->url);
    auto handler = std::move(handler_);
    handler_ = nullptr;
    invokeHandler(std::move(handler), nullptr, response_, data_);
}

void SNURLConnection::cancel() {
    if (connection_) connection_->cancel();
    connection_ = nullptr;
    if (!handler_) return;
    auto handler = std::move(handler_);
    handler_ = nullptr;
    auto error = std::make_shared<SNError>();
    error->domain = SNErrorDomain;
    error->code = SNErrorCodeCancelled;
    auto keepAlive = shared_from_this(); // the handler may drop the last owner
    invokeHandler(std::move(handler), error, std::nullopt, std::nullopt);
}

void SNURLConnection::invokeHandler(Handler handler, const SNErrorPtr& error,
                                    const std::optional<SNURLResponse>& response,
                                    const std::optional<std::string>& data) {
    if (!handler) return;
    std::string serial = std::to_string(loggerSerialNumber_);
    std::string entry;
    if (error) {
        entry = "SNURLConnection <#" + serial + ">:\n  Error: '" + error->message + "'";
    } else {
        std::string mime = response ? response->mimeType : std::string();
        size_t length = data ? data->size() : 0;
        entry = "SNURLConnection <#" + serial + ">:\n  Duration: " +
                std::to_string(uint32_t(SNUtility::currentTimeInMilliseconds() - requestStartTime_)) +
                " msec\nResponse Size: " + std::to_string(length >> 10) + " kB\n  MIME type: " + mime + "\n";
        if (mime == "text/javascript") {
            if (data && SNSettings::isLoggingBehaviorOn(SNLoggingBehaviorSNURLConnections)) {
                // A token in the answer (an extension's new one) is masked like the others.
                SNJSON json;
                if (auto parsed = json.objectWithString(std::string_view(*data)))
                    SNLogger::registerAccessTokensIn(*parsed);
            }
            entry += "  Response:\n" + (data ? *data : std::string()) + "\n\n";
        }
    }
    SNLogger::singleShotLogEntry(SNLoggingBehaviorSNURLConnections, entry);
    handler(*this, error, response, data);
}

} // namespace socialnet
