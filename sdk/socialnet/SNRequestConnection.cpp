#include "sdk/socialnet/SNRequestConnection.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Url.h"
#include "platform/runtime/Log.h"
#include "sdk/socialnet/SNDataDiskCache.h"
#include "sdk/socialnet/SNGraphObject.h"
#include "sdk/socialnet/SNImageValue.h"
#include "sdk/socialnet/SNRequestBody.h"
#include "sdk/socialnet/SNSession.h"
#include "sdk/socialnet/SNSessionTypes.h"
#include "sdk/socialnet/SNSettings.h"
#include "sdk/socialnet/SNUtility.h"
#include "sdk/socialnet/json/SNArray.h"
#include "sdk/socialnet/json/SNDictionary.h"
#include "sdk/socialnet/json/SNJSON.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace socialnet {

namespace {

// Where nothing is configured: names that never resolve, so nothing is contacted.
constexpr const char* kDefaultGraphURL = "https://graph.socialnet.invalid";
constexpr const char* kDefaultRestURL = "https://api.socialnet.invalid";

std::string configuredBase(const char* key, const char* fallback) {
    const platform::Value value = platform::Bundle::main().objectForInfoKey(key);
    std::string base = value.isString() && !value.stringValue().empty() ? value.stringValue() : fallback;
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    return base;
}

std::string addressText(const void* pointer) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", pointer);
    return text;
}

void registerTokenToOmitFromLog(const std::string& token) {
    if (token.empty() || SNSettings::isLoggingBehaviorOn(SNLoggingBehaviorAccessTokens)) return;
    SNLogger::registerStringToReplace(token, std::string("ACCESS_TOKEN_REMOVED"));
}

bool isAttachment(const SNValue& value) {
    return SNImageValue::from(value) != nullptr || value.kind() == SNValue::Kind::Data;
}

void appendAttachment(SNRequestBody& body, const std::string& key, const SNValue& value, SNLogger* logger) {
    if (auto* image = SNImageValue::from(value)) {
        if (image->image()) body.appendWithKeyImageValue(key, *image->image(), logger);
    } else if (value.kind() == SNValue::Kind::Data) {
        body.appendWithKeyDataValue(key, value.bytes(), logger);
    }
}

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

bool isOpenGraphAction(const std::string& path) {
    if (path.rfind("me/", 0) != 0 && path.rfind("/me/", 0) != 0) return false;
    size_t colon = path.find(':');
    size_t question = path.find('?');
    return colon != std::string::npos && colon >= 4 && (question == std::string::npos || colon < question);
}

void processGraphObjectProperty(const std::string& key, const SNValue& value,
                                const SNRequestConnection::GraphObjectAction& action, bool passByValue, int depth) {
    if (depth > 64) return;
    if (value.isDictionary()) {
        auto& object = value.dictionary();
        if (passByValue) {
            for (auto& subKey : object->keys())
                processGraphObjectProperty(key + "[" + subKey.description() + "]", object->objectForKey(subKey), action,
                                           false, depth + 1);
        } else if (object->containsKey("id")) {
            SNValue id = object->objectForKey("id");
            action(key, id.isNumber() ? SNValue(id.description()) : id);
        } else if (object->containsKey("url")) {
            action(key, object->objectForKey("url"));
        }
    } else if (value.isString() || value.isNumber()) {
        action(key, value);
    } else if (value.isArray()) {
        auto elements = value.array()->allObjects();
        for (size_t i = 0; i < elements.size(); ++i)
            processGraphObjectProperty(key + "[" + std::to_string(i) + "]", elements[i], action, passByValue,
                                       depth + 1);
    }
}

// The "code" at "body" -> "error" -> "code" of the parsed answer's element, or nothing.
std::optional<int64_t> codeValueForError(const SNErrorPtr& error, size_t resultIndex) {
    if (!error || !error->parsedJSONResponse.isArray()) return std::nullopt;
    auto& results = error->parsedJSONResponse.array();
    if (resultIndex >= results->count()) return std::nullopt;
    SNValue item = results->objectAtIndex(resultIndex);
    if (!item.isDictionary()) return std::nullopt;
    SNValue body = item.dictionary()->objectForKey("body");
    if (!body.isDictionary()) return std::nullopt;
    SNValue inner = body.dictionary()->objectForKey("error");
    if (!inner.isDictionary()) return std::nullopt;
    SNValue code = inner.dictionary()->objectForKey("code");
    if (!code.isNumber()) return std::nullopt;
    return code.number()->int64Value();
}

// A number, or the text of one; nullopt otherwise.
std::optional<double> numericValue(const SNValue& value) {
    if (value.isNumber()) return value.number()->doubleValue();
    if (value.isString()) {
        char* end = nullptr;
        double parsed = std::strtod(value.string().c_str(), &end);
        if (end && end != value.string().c_str()) return parsed;
    }
    return std::nullopt;
}

} // namespace

// ---------------------------------------------------------------- errors

SNErrorPtr SNRequestError(int32_t code, int statusCode, const SNValue& parsedJSONResponse, SNErrorPtr innerError,
                          const std::string& message) {
    auto error = std::make_shared<SNError>();
    error->domain = SNErrorDomain;
    error->code = code;
    error->userInfo.emplace_back(SNErrorHTTPStatusCodeKey, std::to_string(statusCode));
    if (!parsedJSONResponse.isNull()) {
        error->userInfo.emplace_back(SNErrorParsedJSONResponseKey, parsedJSONResponse.description());
        error->parsedJSONResponse = parsedJSONResponse;
    }
    if (innerError) error->userInfo.emplace_back(SNErrorInnerErrorKey, innerError->message);
    error->inner = std::move(innerError);
    error->message = message;
    return error;
}

bool SNIsInvalidSessionError(const SNErrorPtr& error, size_t resultIndex) {
    auto code = codeValueForError(error, resultIndex);
    return code && (*code == 190 || *code == 2500);
}

bool SNIsInsufficientPermissionError(const SNErrorPtr& error, size_t resultIndex) {
    auto code = codeValueForError(error, resultIndex);
    return code && *code == 200;
}

// ---------------------------------------------------------------- metadata

std::string SNRequestMetadata::description() const {
    return "<SNRequestMetadata: " + addressText(this) + ", batchEntryName: " + batchEntryName.value_or("(null)") +
           ", completionHandler: " + addressText(completionHandler ? &completionHandler : nullptr) +
           ", request: " + (request ? request->description() : std::string("(null)")) + ">";
}

// ---------------------------------------------------------------- building and running

SNRequestConnection::SNRequestConnection(double timeout) : timeout_(timeout), logger_(SNLoggingBehaviorSNRequests) {}

SNRequestConnection::~SNRequestConnection() = default;

void SNRequestConnection::internalInconsistency(const std::string& message) {
    platform::log("SNRequestConnection: internal inconsistency: " + message);
}

const std::string& SNRequestConnection::userAgent() {
    static const std::string agent = std::string("SNSDK") + "." + "3.1.1";
    return agent;
}

void SNRequestConnection::addRequest(std::shared_ptr<SNRequest> request, SNRequest::CompletionHandler handler,
                                     std::optional<std::string> batchEntryName) {
    if (state_ != State::Created) {
        internalInconsistency("Requests must be added before starting or cancelling.");
        return;
    }
    requests_.push_back({std::move(request), std::move(handler), std::move(batchEntryName)});
}

platform::HttpRequest SNRequestConnection::urlRequest() {
    if (internalUrlRequest_) {
        auto& headers = internalUrlRequest_->headers;
        headers.erase(
            std::remove_if(headers.begin(), headers.end(), [](auto& header) { return header.first == "User-Agent"; }),
            headers.end());
        headers.emplace_back("User-Agent", userAgent());
        logRequest(*internalUrlRequest_, 0, nullptr, nullptr);
        return *internalUrlRequest_;
    }
    return requestWithBatch(timeout_);
}

void SNRequestConnection::setUrlRequest(platform::HttpRequest request) {
    if (state_ != State::Created && state_ != State::Serialized) {
        internalInconsistency("Cannot set urlRequest after starting or cancelling.");
        return;
    }
    state_ = State::Serialized;
    internalUrlRequest_ = std::move(request);
}

void SNRequestConnection::start() {
    startWithCacheIdentity(std::nullopt, false);
}

void SNRequestConnection::startWithCacheIdentity(const std::optional<std::string>& cacheIdentity,
                                                 bool skipRoundtripIfCached) {
    // Checked first: a refused start must not build, piggyback or touch the sessions.
    if (state_ != State::Created && state_ != State::Serialized) {
        internalInconsistency("Cannot call start again after calling start or cancel.");
        return;
    }
    if (requests_.size() == 1 && requests_[0].request && requests_[0].request->delegate()) {
        deprecatedRequest_ = requests_[0].request;
        deprecatedRequest_->setState(SNRequest::State::Loading);
    }
    std::optional<platform::HttpRequest> request;
    std::optional<std::string> cacheKey;
    std::optional<std::string> cachedData;
    if (cacheIdentity) {
        request = urlRequest();
        cacheKey = "SNRequestCache://" + *cacheIdentity + "/" + request->url;
        if (skipRoundtripIfCached) cachedData = SNDataDiskCache::sharedCache().dataForURL(*cacheKey);
    }
    if (!internalUrlRequest_ && !cacheIdentity) {
        bool anyRest = std::any_of(requests_.begin(), requests_.end(),
                                   [](auto& metadata) { return metadata.request && metadata.request->restMethod(); });
        if (!anyRest && !batchAppID().empty()) addPiggybackRequests();
    }
    if (!request) request = urlRequest();
    state_ = State::Started;
    requestStartTime_ = SNUtility::currentTimeInMilliseconds();

    if (cachedData) {
        isResultFromCache_ = true;
        completeWithResponse(std::nullopt, cachedData, nullptr);
        return;
    }
    if (deprecatedRequest_ && deprecatedRequest_->delegate())
        deprecatedRequest_->delegate()->requestLoading(*deprecatedRequest_);
    auto self = shared_from_this();
    connection_ = SNURLConnection::initWithRequest(
        std::move(*request), false,
        [self, cacheKey](SNURLConnection&, const SNErrorPtr& error, const std::optional<SNURLResponse>& response,
                         const std::optional<std::string>& data) {
            if (cacheKey && !error && response && response->statusCode == 200)
                SNDataDiskCache::sharedCache().setDataForURL(data.value_or(std::string()), *cacheKey);
            self->completeWithResponse(response, data, error);
        });
}

void SNRequestConnection::cancel() {
    auto keepAlive = shared_from_this();
    if (auto connection = connection_) connection->cancel();
    connection_ = nullptr;
    state_ = State::Cancelled;
}

std::string SNRequestConnection::batchAppID() const {
    for (auto& metadata : requests_)
        if (metadata.request && metadata.request->session() && !metadata.request->session()->appID().empty())
            return metadata.request->session()->appID();
    return SNSession::defaultAppID();
}

void SNRequestConnection::addPiggybackRequests() {
    std::vector<std::shared_ptr<SNSession>> sessions;
    for (auto& metadata : requests_) {
        auto session = metadata.request ? metadata.request->session() : nullptr;
        if (session && std::find(sessions.begin(), sessions.end(), session) == sessions.end())
            sessions.push_back(session);
    }
    for (auto& session : sessions) {
        if (requests_.size() >= kMaximumBatchSize) break;
        if (session->shouldExtendAccessToken()) addRequestToExtendTokenForSession(session, *this);
    }
}

void SNRequestConnection::addRequestToExtendTokenForSession(const std::shared_ptr<SNSession>& session,
                                                            SNRequestConnection& connection) {
    auto request = SNRequest::initWithRestMethod(session, "auth.extendSSOAccessToken", nullptr, std::nullopt);
    std::weak_ptr<SNSession> weak = session;
    connection.addRequest(request, [weak](SNRequestConnection&, const SNValue& result, const SNErrorPtr& error) {
        auto session = weak.lock();
        if (error || !session || !result.isDictionary()) return;
        SNValue token = result.dictionary()->objectForKey("access_token");
        SNValue expiresAt = result.dictionary()->objectForKey("expires_at");
        if (!token.isNull() && !token.isString()) expiresAt = SNValue();
        auto seconds = numericValue(expiresAt);
        if (!seconds || *seconds == 0) return;
        session->refreshAccessToken(token.isString() ? std::optional<std::string>(token.string()) : std::nullopt,
                                    *seconds);
    });
}

std::string SNRequestConnection::urlStringForSingleRequest(SNRequest& request, bool forBatch) {
    auto& parameters = request.parameters();
    parameters->setObject("json", "format");
    parameters->setObject("ios", "sdk");
    if (request.session() && !request.session()->accessToken().empty())
        parameters->setObject(request.session()->accessToken(), "access_token");
    // Also a token passed as a plain parameter, without a session owning it.
    SNValue token = parameters->objectForKey("access_token");
    if (token.isString()) registerTokenToOmitFromLog(token.string());

    std::string base;
    if (request.restMethod())
        base = forBatch ? "method/" + *request.restMethod()
                        : configuredBase("SocialNetRestURL", kDefaultRestURL) + "/method/" + *request.restMethod();
    else
        base = forBatch
                   ? request.graphPath().value_or("")
                   : configuredBase("SocialNetGraphURL", kDefaultGraphURL) + "/" + request.graphPath().value_or("");
    return SNRequest::serializeURL(base, parameters, request.HTTPMethod());
}

platform::HttpRequest SNRequestConnection::requestWithBatch(double timeout) {
    SNRequestBody body;
    SNLogger bodyLogger(SNLoggingBehaviorSNRequests);
    SNLogger attachmentLogger(SNLoggingBehaviorSNRequests);
    platform::HttpRequest request;
    request.totalTimeout = timeout;
    request.connectTimeout = std::min(timeout, request.connectTimeout);

    if (requests_.empty())
        throw SNInvalidOperationException(
            "SNRequestConnection: Must have at least one request or urlRequest not specified.");
    if (requests_.size() == 1) {
        auto& single = *requests_[0].request;
        request.url = urlStringForSingleRequest(single, false);
        request.method = upper(single.HTTPMethod());
        auto& parameters = single.parameters();
        if (request.method == "POST")
            for (auto& key : parameters->keys()) {
                SNValue value = parameters->objectForKey(key);
                if (value.isString()) body.appendWithKeyFormValue(key.description(), value.string(), &bodyLogger);
            }
        for (auto& key : parameters->keys())
            appendAttachment(body, key.description(), parameters->objectForKey(key), &attachmentLogger);
        if (single.graphObject()) {
            auto url = platform::Url::parse(request.url);
            processGraphObject(single.graphObject(), url ? url->path : std::string(),
                               [&](const std::string& key, const SNValue& value) {
                                   body.appendWithKeyFormValue(key, value.description(), &bodyLogger);
                               });
        }
    } else {
        std::string appID = batchAppID();
        if (appID.empty())
            throw SNInvalidOperationException("SNRequestConnection: At least one request in a batch must have an open "
                                              "SNSession, or a default app ID must be specified.");
        body.appendWithKeyFormValue("batch_app_id", appID, &bodyLogger);
        appendJSONRequests(body, bodyLogger, attachmentLogger);
        request.url = configuredBase("SocialNetGraphURL", kDefaultGraphURL);
        request.method = "POST";
    }
    request.body.assign(body.data().begin(), body.data().end());
    request.headers.emplace_back("User-Agent", userAgent());
    request.headers.emplace_back("Content-Type", SNRequestBody::mimeContentType());
    logRequest(request, request.body.size(), &bodyLogger, &attachmentLogger);
    return request;
}

void SNRequestConnection::appendJSONRequests(SNRequestBody& body, SNLogger& bodyLogger, SNLogger& attachmentLogger) {
    auto batch = SNArray::make();
    std::vector<std::pair<std::string, SNValue>> files;
    for (auto& metadata : requests_) {
        auto& request = *metadata.request;
        auto entry = SNDictionary::make();
        if (metadata.batchEntryName) entry->setObject(*metadata.batchEntryName, "name");
        std::string relativeUrl = urlStringForSingleRequest(request, true);
        entry->setObject(relativeUrl, "relative_url");
        entry->setObject(request.HTTPMethod(), "method");
        std::string attached;
        auto& parameters = request.parameters();
        for (auto& key : parameters->keys()) {
            SNValue value = parameters->objectForKey(key);
            if (!isAttachment(value)) continue;
            std::string name = "file" + std::to_string(files.size());
            files.emplace_back(name, value);
            attached += (attached.empty() ? "" : ",") + name;
        }
        if (request.graphObject()) {
            std::string text;
            processGraphObject(request.graphObject(), relativeUrl, [&](const std::string& key, const SNValue& value) {
                text +=
                    (text.empty() ? "" : "&") + key + "=" + SNUtility::stringByURLEncodingString(value.description());
            });
            entry->setObject(text, "body");
        }
        if (!attached.empty()) entry->setObject(attached, "attached_files");
        batch->addObject(SNValue(entry));
    }
    SNJSON json;
    body.appendWithKeyFormValue("batch", json.stringWithObject(SNValue(batch)).value_or("[]"), &bodyLogger);
    for (auto& [name, value] : files)
        appendAttachment(body, name, value, &attachmentLogger);
}

void SNRequestConnection::processGraphObject(const SNDictionaryPtr& object, const std::string& path,
                                             const GraphObjectAction& action) {
    if (!object) return;
    bool isAction = isOpenGraphAction(path);
    for (auto& key : object->keys()) {
        std::string name = key.description();
        processGraphObjectProperty(name, object->objectForKey(key), action, isAction && name == "image", 0);
    }
}

void SNRequestConnection::logRequest(const platform::HttpRequest& request, size_t bodyLength, SNLogger* bodyLogger,
                                     SNLogger* attachmentLogger) {
    if (!logger_.isActive()) return;
    logger_.appendFormat("Request <#%u>:\n", logger_.loggerSerialNumber());
    logger_.appendKey("URL", request.url);
    logger_.appendKey("Method", request.method);
    auto header = [&](const char* name) {
        for (auto& [key, value] : request.headers)
            if (key == name) return value;
        return std::string();
    };
    logger_.appendKey("UserAgent", header("User-Agent"));
    logger_.appendKey("MIME", header("Content-Type"));
    if (bodyLength / 1024) logger_.appendKey("Body Size", std::to_string(bodyLength / 1024) + " kB");
    if (bodyLogger) logger_.appendKey("Body (w/o attachments)", bodyLogger->contents().value_or(""));
    if (attachmentLogger) logger_.appendKey("Attachments", attachmentLogger->contents().value_or(""));
    logger_.appendString("\n");
    logger_.emitToNSLog();
}

std::string SNRequestConnection::description() const {
    std::string text =
        "<SNRequestConnection: " + addressText(this) + ", " + std::to_string(requests_.size()) + " request(s): (\n";
    for (size_t i = 0; i < requests_.size(); ++i)
        text += (i ? ",\n" : "") + requests_[i].description();
    return text + "\n)>";
}

// ---------------------------------------------------------------- conveniences

namespace {

std::shared_ptr<SNRequestConnection> startRequest(const std::shared_ptr<SNRequest>& request,
                                                  SNRequest::CompletionHandler handler) {
    return request->startWithCompletionHandler(std::move(handler));
}

} // namespace

std::shared_ptr<SNRequestConnection> SNRequestConnection::startForMe(SNRequest::CompletionHandler handler) {
    return startRequest(SNRequest::requestForMe(), std::move(handler));
}

std::shared_ptr<SNRequestConnection> SNRequestConnection::startForMyFriends(SNRequest::CompletionHandler handler) {
    return startRequest(SNRequest::requestForMyFriends(), std::move(handler));
}

std::shared_ptr<SNRequestConnection>
SNRequestConnection::startForUploadPhoto(std::shared_ptr<platform::ui::Image> photo,
                                         SNRequest::CompletionHandler handler) {
    return startRequest(SNRequest::requestForUploadPhoto(std::move(photo)), std::move(handler));
}

std::shared_ptr<SNRequestConnection>
SNRequestConnection::startForPostStatusUpdate(const std::string& message, SNRequest::CompletionHandler handler) {
    return startRequest(SNRequest::requestForPostStatusUpdate(message), std::move(handler));
}

std::shared_ptr<SNRequestConnection>
SNRequestConnection::startForPostStatusUpdate(const std::string& message, const SNValue& place,
                                              const std::vector<SNValue>& tags, SNRequest::CompletionHandler handler) {
    return startRequest(SNRequest::requestForPostStatusUpdate(message, place, tags), std::move(handler));
}

std::shared_ptr<SNRequestConnection> SNRequestConnection::startForPlacesSearch(double latitude, double longitude,
                                                                               int radiusInMeters, int resultsLimit,
                                                                               const std::string& searchText,
                                                                               SNRequest::CompletionHandler handler) {
    return startRequest(
        SNRequest::requestForPlacesSearch(latitude, longitude, radiusInMeters, resultsLimit, searchText),
        std::move(handler));
}

std::shared_ptr<SNRequestConnection>
SNRequestConnection::startForPostWithGraphPath(const std::string& graphPath, SNDictionaryPtr graphObject,
                                               SNRequest::CompletionHandler handler) {
    return startRequest(SNRequest::requestForPostWithGraphPath(graphPath, std::move(graphObject)), std::move(handler));
}

std::shared_ptr<SNRequestConnection>
SNRequestConnection::startWithGraphPath(const std::optional<std::string>& graphPath, SNDictionaryPtr parameters,
                                        const std::optional<std::string>& httpMethod,
                                        SNRequest::CompletionHandler handler) {
    return startRequest(SNRequest::requestWithGraphPath(graphPath, std::move(parameters), httpMethod),
                        std::move(handler));
}

std::shared_ptr<SNRequestConnection> SNRequestConnection::startWithGraphPath(const std::string& graphPath,
                                                                             SNRequest::CompletionHandler handler) {
    return startWithGraphPath(graphPath, nullptr, std::nullopt, std::move(handler));
}

} // namespace socialnet
