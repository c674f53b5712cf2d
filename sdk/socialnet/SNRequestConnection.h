#pragma once

#include "platform/foundation/HttpClient.h"
#include "sdk/socialnet/SNLogger.h"
#include "sdk/socialnet/SNRequest.h"
#include "sdk/socialnet/SNURLConnection.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace socialnet {

class SNRequestBody;

inline constexpr int32_t SNErrorCodeServerError = 3;
inline constexpr int32_t SNErrorCodeResultMismatch = 4;
inline constexpr int32_t SNErrorCodeHTTPStatus = 5;
inline constexpr int32_t SNErrorCodeBinaryResponse = 6;
inline constexpr const char* SNErrorHTTPStatusCodeKey = "com.socialnet.sdk:HTTPStatusCode";
inline constexpr const char* SNErrorParsedJSONResponseKey = "com.socialnet.sdk:ParsedJSONResponseKey";
inline constexpr const char* SNNonJSONResponseProperty = "SOCIALNET_NON_JSON_RESULT";

// One request joined to its handler and its batch entry name.
struct SNRequestMetadata {
    std::shared_ptr<SNRequest> request;
    SNRequest::CompletionHandler completionHandler;
    std::optional<std::string> batchEntryName;
    std::string description() const;
};

// Sends one request, or several as one batch POST, to the social network and hands
// each request its own result or error, in the order added. Puts each session's
// token into its requests and piggybacks a token extension when a session is due.
// Used once: Created, optionally Serialized, Started, Completed; Cancelled from any
// state. Main thread only; the running load keeps the connection alive.
class SNRequestConnection : public std::enable_shared_from_this<SNRequestConnection> {
public:
    enum class State : int32_t { Created = 0, Serialized = 1, Started = 2, Completed = 3, Cancelled = 4 };
    static constexpr double kDefaultTimeout = 180;
    static constexpr size_t kMaximumBatchSize = 50;

    explicit SNRequestConnection(double timeout = kDefaultTimeout);
    ~SNRequestConnection();
    SNRequestConnection(const SNRequestConnection&) = delete;
    SNRequestConnection& operator=(const SNRequestConnection&) = delete;

    void addRequest(std::shared_ptr<SNRequest> request, SNRequest::CompletionHandler handler,
                    std::optional<std::string> batchEntryName = std::nullopt);
    // Builds the HTTP request anew on every read (writing "format", "sdk" and
    // "access_token" into the requests' parameters), or hands out the one set.
    platform::HttpRequest urlRequest();
    void setUrlRequest(platform::HttpRequest request);
    void start();
    void startWithCacheIdentity(const std::optional<std::string>& cacheIdentity, bool skipRoundtripIfCached);
    void cancel();

    State state() const { return state_; }
    double timeout() const { return timeout_; }
    void setTimeout(double seconds) { timeout_ = seconds; }
    bool isResultFromCache() const { return isResultFromCache_; }
    const std::vector<SNRequestMetadata>& requests() const { return requests_; }
    const std::optional<SNURLResponse>& urlResponse() const { return urlResponse_; }
    const std::shared_ptr<SNRequest>& deprecatedRequest() const { return deprecatedRequest_; }
    const std::shared_ptr<SNURLConnection>& connection() const { return connection_; }
    uint32_t requestStartTime() const { return requestStartTime_; }
    std::string description() const;

    // "SNSDK.3.1.1".
    static const std::string& userAgent();

    static std::shared_ptr<SNRequestConnection> startForMe(SNRequest::CompletionHandler handler);
    static std::shared_ptr<SNRequestConnection> startForMyFriends(SNRequest::CompletionHandler handler);
    static std::shared_ptr<SNRequestConnection> startForUploadPhoto(std::shared_ptr<platform::ui::Image> photo,
                                                                    SNRequest::CompletionHandler handler);
    static std::shared_ptr<SNRequestConnection> startForPostStatusUpdate(const std::string& message,
                                                                         SNRequest::CompletionHandler handler);
    static std::shared_ptr<SNRequestConnection> startForPostStatusUpdate(const std::string& message,
                                                                         const SNValue& place,
                                                                         const std::vector<SNValue>& tags,
                                                                         SNRequest::CompletionHandler handler);
    static std::shared_ptr<SNRequestConnection> startForPlacesSearch(double latitude, double longitude,
                                                                     int radiusInMeters, int resultsLimit,
                                                                     const std::string& searchText,
                                                                     SNRequest::CompletionHandler handler);
    static std::shared_ptr<SNRequestConnection> startForPostWithGraphPath(const std::string& graphPath,
                                                                          SNDictionaryPtr graphObject,
                                                                          SNRequest::CompletionHandler handler);
    static std::shared_ptr<SNRequestConnection> startWithGraphPath(const std::optional<std::string>& graphPath,
                                                                   SNDictionaryPtr parameters,
                                                                   const std::optional<std::string>& httpMethod,
                                                                   SNRequest::CompletionHandler handler);
    static std::shared_ptr<SNRequestConnection> startWithGraphPath(const std::string& graphPath,
                                                                   SNRequest::CompletionHandler handler);

    static void addRequestToExtendTokenForSession(const std::shared_ptr<SNSession>& session,
                                                  SNRequestConnection& connection);
    // Calls the action with each (key, value) pair the object posts as.
    using GraphObjectAction = std::function<void(const std::string& key, const SNValue& value)>;
    static void processGraphObject(const SNDictionaryPtr& object, const std::string& path,
                                   const GraphObjectAction& action);

    // The receiving half: once, from the load's handler or at once for a cached result.
    void completeWithResponse(const std::optional<SNURLResponse>& response, const std::optional<std::string>& data,
                              SNErrorPtr error);

private:
    platform::HttpRequest requestWithBatch(double timeout);
    std::string urlStringForSingleRequest(SNRequest& request, bool forBatch);
    std::string batchAppID() const;
    void addPiggybackRequests();
    void appendJSONRequests(SNRequestBody& body, SNLogger& bodyLogger, SNLogger& attachmentLogger);
    void logRequest(const platform::HttpRequest& request, size_t bodyLength, SNLogger* bodyLogger,
                    SNLogger* attachmentLogger);
    // Logs an internal-consistency failure; the caller then refuses the operation.
    static void internalInconsistency(const std::string& message);

    SNArrayPtr parseJSONResponse(const std::string& data, SNErrorPtr& error, int statusCode);
    static std::optional<SNValue> parseJSONOrOtherwise(const std::string& text, SNErrorPtr& error);
    static SNErrorPtr checkConnectionError(const SNErrorPtr& error, int statusCode, const SNValue& parsed);
    static SNErrorPtr errorFromResult(const SNValue& result);
    void completeWithResults(const SNArrayPtr& results, const SNErrorPtr& error);
    void completeDeprecated(const std::optional<std::string>& data, const SNArrayPtr& results, SNErrorPtr error);

    std::shared_ptr<SNURLConnection> connection_;
    std::vector<SNRequestMetadata> requests_;
    State state_ = State::Created;
    double timeout_;
    std::optional<platform::HttpRequest> internalUrlRequest_;
    std::optional<SNURLResponse> urlResponse_;
    std::shared_ptr<SNRequest> deprecatedRequest_;
    SNLogger logger_;
    uint32_t requestStartTime_ = 0;
    bool isResultFromCache_ = false;
};

// The error maker of the request layer: the SDK's domain, the status always in the
// user information, the parsed answer, the inner error and the message when given.
SNErrorPtr SNRequestError(int32_t code, int statusCode, const SNValue& parsedJSONResponse, SNErrorPtr innerError,
                          const std::string& message);
// code 190 or 2500 / code 200 in the parsed answer's element at the index
// ("body" -> "error" -> "code"); false where any step is missing.
bool SNIsInvalidSessionError(const SNErrorPtr& error, size_t resultIndex);
bool SNIsInsufficientPermissionError(const SNErrorPtr& error, size_t resultIndex);

} // namespace socialnet
