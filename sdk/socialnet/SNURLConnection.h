#pragma once

#include "platform/foundation/HttpClient.h"
#include "sdk/socialnet/json/SNError.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace socialnet {

// What a load answered: the final URL, status, headers and the MIME type taken from
// "Content-Type". A response made up for data from the cache has status 0.
struct SNURLResponse {
    std::string url;
    int statusCode = 0;
    std::string mimeType;
    int64_t expectedContentLength = -1;
    std::string textEncodingName;
    platform::HttpHeaders headers;
};

// Failures of the transport itself (refused, timed out, too many redirects).
inline constexpr const char* SNPlatformURLErrorDomain = "platform.url";
inline constexpr int32_t SNErrorCodeCancelled = 1;

// One HTTP load, with its own handling of redirects (one hop at a time), whose
// handler runs exactly once on the main run loop: with the data, with an error, or
// with code 1 when cancelled. Responses from the social network's image
// content-delivery hosts are kept in the disk cache; when asked, a load is answered
// from that cache instead, also when a redirect leads to a cached address.
// Main thread only; the object keeps itself alive while its load runs.
class SNURLConnection : public std::enable_shared_from_this<SNURLConnection> {
public:
    using Handler =
        std::function<void(SNURLConnection& connection, const SNErrorPtr& error,
                           const std::optional<SNURLResponse>& response, const std::optional<std::string>& data)>;

    // A plain GET, answered from the cache when it can be.
    static std::shared_ptr<SNURLConnection> initWithURL(const std::string& url, Handler handler);
    // Starts at once; with a cached answer the handler runs before this returns.
    static std::shared_ptr<SNURLConnection> initWithRequest(platform::HttpRequest request, bool skipRoundTripIfCached,
                                                            Handler handler);
    ~SNURLConnection();

    void cancel();
    // Whether the URL's host ends with one of the content-delivery suffixes
    // ("SocialNetCDNHostSuffixes" in the bundle information, read once).
    static bool isCDNURL(const std::string& url);

    const std::string& data() const { return data_; }
    const std::optional<SNURLResponse>& response() const { return response_; }
    bool hasHandler() const { return static_cast<bool>(handler_); }
    uint32_t requestStartTime() const { return requestStartTime_; }
    bool skipRoundtripIfCached() const { return skipRoundtripIfCached_; }
    uint32_t loggerSerialNumber() const { return loggerSerialNumber_; }

private:
    SNURLConnection(bool skip, Handler handler);
    void start(platform::HttpRequest request);
    void load(platform::HttpRequest request);
    void didReceive(const platform::HttpResponse& answer);
    // The request to follow a redirect with, or nullopt when the load ended here.
    std::optional<platform::HttpRequest> willSendRequest(platform::HttpRequest next, const SNURLResponse& redirect);
    void didFailWithError(const SNErrorPtr& error);
    void connectionDidFinishLoading();
    void invokeHandler(Handler handler, const SNErrorPtr& error, const std::optional<SNURLResponse>& response,
                       const std::optional<std::string>& data);

    std::shared_ptr<platform::HttpTask> connection_;
    std::string data_;
    Handler handler_;
    uint32_t loggerSerialNumber_ = 0;
    uint32_t requestStartTime_ = 0;
    std::optional<SNURLResponse> response_;
    bool skipRoundtripIfCached_;
    int redirects_ = 0;
};

} // namespace socialnet
