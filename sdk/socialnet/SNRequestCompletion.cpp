// The receiving half of SNRequestConnection: checking the answer, parsing it into one
// result per request, mapping failures to errors and handing each request its own.

#include "platform/runtime/Log.h"
#include "sdk/socialnet/SNGraphObject.h"
#include "sdk/socialnet/SNRequestConnection.h"
#include "sdk/socialnet/SNSession.h"
#include "sdk/socialnet/SNSessionTypes.h"
#include "sdk/socialnet/SNSettings.h"
#include "sdk/socialnet/SNUtility.h"
#include "sdk/socialnet/json/SNArray.h"
#include "sdk/socialnet/json/SNDictionary.h"
#include "sdk/socialnet/json/SNJSON.h"

#include <algorithm>
#include <limits>

namespace socialnet {

namespace {

constexpr const char* kNonTextMessage = "Response is a non-text MIME type; endpoints that return images and other "
                                        "binary data should be fetched using NSURLRequest and NSURLConnection";

bool isSDKError(const SNErrorPtr& error) {
    return error && error->domain == SNErrorDomain;
}

// The integer a textual code begins with ("404", " 500 Internal"), 0 when none; values
// beyond an int are held at its ends.
int leadingInteger(const std::string& text) {
    size_t at = text.find_first_not_of(" \t\r\n");
    if (at == std::string::npos) return 0;
    bool negative = false;
    if (text[at] == '+' || text[at] == '-') negative = text[at++] == '-';
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        value = std::min<long long>(value * 10 + (text[at] - '0'), 1LL << 32);
    value = negative ? -value : value;
    return int(std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

void SNRequestConnection::completeWithResponse(const std::optional<SNURLResponse>& response,
                                               const std::optional<std::string>& data, SNErrorPtr error) {
    if (state_ != State::Started) {
        internalInconsistency("Unexpected state " + std::to_string(int(state_)) + " in completeWithResponse");
        return;
    }
    state_ = State::Completed;
    auto keepAlive = shared_from_this(); // a handler may drop the last owner

    int statusCode = 200;
    if (response) {
        urlResponse_ = response;
        statusCode = response->statusCode;
        if (!error && response->mimeType.rfind("image", 0) == 0)
            error = SNRequestError(SNErrorCodeBinaryResponse, 0, SNValue(), nullptr, kNonTextMessage);
    }
    SNArrayPtr results;
    if (!error) results = parseJSONResponse(data.value_or(std::string()), error, statusCode);
    SNValue parsed = results ? SNValue(results) : SNValue();
    if (response || !data) error = checkConnectionError(error, statusCode, parsed);
    size_t resultCount = results ? results->count() : 0;
    if (!error && resultCount != requests_.size()) {
        platform::log("Expected " + std::to_string(requests_.size()) + " results, got " + std::to_string(resultCount));
        error = SNRequestError(SNErrorCodeResultMismatch, statusCode, parsed, nullptr, "");
    }

    if (logger_.isActive()) {
        // An extension's new token must never reach the log.
        SNLogger::registerAccessTokensIn(parsed);
        if (!error) {
            logger_.appendFormat("Response <#%u>\nDuration: %u msec\nSize: %zu kB\nResponse Body:\n%s\n\n",
                                 logger_.loggerSerialNumber(),
                                 uint32_t(SNUtility::currentTimeInMilliseconds() - requestStartTime_),
                                 data ? data->size() / 1024 : 0, parsed.description().c_str());
        } else {
            logger_.appendFormat("Response <#%u> <Error>:\n%s\n\n", logger_.loggerSerialNumber(),
                                 error->message.c_str());
        }
        logger_.emitToNSLog();
    }

    if (deprecatedRequest_)
        completeDeprecated(data, results, error);
    else
        completeWithResults(results, error);
    connection_ = nullptr;
}

std::optional<SNValue> SNRequestConnection::parseJSONOrOtherwise(const std::string& text, SNErrorPtr& error) {
    SNJSON json;
    SNErrorPtr failure;
    auto value = json.objectWithString(std::string_view(text), &failure);
    if (value) return value;
    auto wrapper = SNDictionary::make();
    wrapper->setObject(text, SNNonJSONResponseProperty);
    auto written = json.stringWithObject(SNValue(wrapper));
    SNErrorPtr second;
    auto wrapped = written ? json.objectWithString(std::string_view(*written), &second) : std::nullopt;
    if (wrapped) return wrapped;
    error = second ? second : failure;
    return std::nullopt;
}

SNArrayPtr SNRequestConnection::parseJSONResponse(const std::string& data, SNErrorPtr& error, int statusCode) {
    auto parsed = parseJSONOrOtherwise(data, error);
    auto results = SNArray::make();
    if (requests_.size() == 1) {
        auto single = SNDictionary::make();
        single->setObject(SNValue(int64_t(statusCode)), "code");
        single->setObject(parsed.value_or(SNValue()), "body");
        results->addObject(SNValue(single));
        return results;
    }
    if (!parsed || !parsed->isArray()) {
        if (!error) error = SNRequestError(SNErrorCodeResultMismatch, statusCode, SNValue(), nullptr, "");
        return nullptr;
    }
    for (auto& item : parsed->array()->allObjects()) {
        if (!item.isDictionary()) {
            results->addObject(item);
            continue;
        }
        auto copy = item.dictionary()->mutableCopy();
        SNValue body = copy->objectForKey("body");
        if (body.isString()) {
            auto parsedBody = parseJSONOrOtherwise(body.string(), error);
            copy->setObject(parsedBody.value_or(SNValue()), "body");
        }
        results->addObject(SNValue(copy));
    }
    return results;
}

SNErrorPtr SNRequestConnection::checkConnectionError(const SNErrorPtr& error, int statusCode, const SNValue& parsed) {
    if (isSDKError(error)) return error;
    if (!error && statusCode >= 200 && statusCode <= 299) return nullptr;
    platform::log("Error: HTTP status code: " + std::to_string(statusCode));
    return SNRequestError(SNErrorCodeHTTPStatus, statusCode, parsed, error, "");
}

SNErrorPtr SNRequestConnection::errorFromResult(const SNValue& result) {
    if (!result.isDictionary()) return nullptr;
    auto& dictionary = result.dictionary();
    for (const char* key : {"error", "error_code", "error_msg", "error_reason"})
        if (dictionary->containsKey(key)) return SNRequestError(SNErrorCodeServerError, 200, result, nullptr, "");
    if (dictionary->containsKey("code")) {
        SNValue code = dictionary->objectForKey("code");
        int status = code.isNumber()   ? int(code.number()->int64Value())
                     : code.isString() ? leadingInteger(code.string())
                                       : 0;
        return checkConnectionError(nullptr, status, result);
    }
    return nullptr;
}

void SNRequestConnection::completeWithResults(const SNArrayPtr& results, const SNErrorPtr& error) {
    // Handlers may add to nothing here, but a copy keeps the loop safe whatever they do.
    auto requests = requests_;
    for (size_t i = 0; i < requests.size(); ++i) {
        auto& metadata = requests[i];
        SNErrorPtr itemError = error;
        SNValue result;
        if (!error) {
            SNValue item = results && i < results->count() ? results->objectAtIndex(i) : SNValue();
            itemError = errorFromResult(item);
            if (!itemError && item.isDictionary()) {
                SNValue body = item.dictionary()->objectForKey("body");
                if (!body.isNull()) result = SNGraphObject::graphObjectWrappingObject(body);
            }
        }
        size_t lookupIndex = itemError == error ? i : 0;
        auto session = metadata.request ? metadata.request->session() : nullptr;
        if (session) {
            bool systemAccount = session->loginType() == SNSessionLoginType::SystemAccount;
            if (systemAccount && SNIsInsufficientPermissionError(error, lookupIndex))
                SNSession::renewSystemAuthorization();
            if (SNIsInvalidSessionError(itemError, lookupIndex)) {
                session->closeAndClearTokenInformation(*itemError);
                if (systemAccount) SNSession::renewSystemAuthorization();
            } else if (session->shouldExtendAccessToken()) {
                auto extension = std::make_shared<SNRequestConnection>();
                addRequestToExtendTokenForSession(session, *extension);
                extension->start();
            }
        }
        if (!metadata.completionHandler) continue;
        if (itemError && itemError->parsedJSONResponse.isArray()) {
            auto& array = itemError->parsedJSONResponse.array();
            SNValue first = array->count() ? array->objectAtIndex(0) : SNValue();
            auto narrowed =
                SNRequestError(int32_t(itemError->code), std::atoi(itemError->info(SNErrorHTTPStatusCodeKey).c_str()),
                               first, itemError->inner, itemError->message);
            itemError = narrowed;
        }
        metadata.completionHandler(*this, result, itemError);
    }
}

void SNRequestConnection::completeDeprecated(const std::optional<std::string>& data, const SNArrayPtr& results,
                                             SNErrorPtr error) {
    auto request = deprecatedRequest_;
    SNValue value = results && results->count() ? results->objectAtIndex(0) : SNValue();
    if (value.isDictionary()) value = value.dictionary()->objectForKey("body");
    SNRequestDelegate* delegate = request->delegate();
    if (!error) {
        if (delegate) {
            delegate->requestDidReceiveResponse(*request, urlResponse_);
            delegate->requestDidLoadRawResponse(*request, data.value_or(std::string()));
        }
        error = errorFromResult(value);
        if (!error) {
            if (delegate) delegate->requestDidLoad(*request, value);
            request->setState(SNRequest::State::Complete);
            return;
        }
    }
    if (SNIsInvalidSessionError(error, 0)) {
        request->setSessionDidExpire(true);
        if (request->session()) request->session()->close();
    }
    request->setError(error);
    if (delegate) delegate->requestDidFailWithError(*request, error);
    request->setState(SNRequest::State::Complete);
}

} // namespace socialnet
