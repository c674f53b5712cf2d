#include "sdk/socialnet/SNRequest.h"

#include "platform/foundation/Url.h"
#include "platform/runtime/Log.h"
#include "sdk/socialnet/SNGraphObject.h"
#include "sdk/socialnet/SNImageValue.h"
#include "sdk/socialnet/SNRequestConnection.h"
#include "sdk/socialnet/SNSession.h"
#include "sdk/socialnet/SNUtility.h"
#include "sdk/socialnet/json/SNDictionary.h"

#include <cstdio>

namespace socialnet {

namespace {

std::string addressText(const void* pointer) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", pointer);
    return text;
}

std::string formatDouble(const char* format, double a, double b) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

} // namespace

SNRequest::SNRequest(std::shared_ptr<SNSession> session, std::optional<std::string> graphPath,
                     SNDictionaryPtr parameters, std::optional<std::string> httpMethod)
    : parameters_(SNDictionary::make()), session_(std::move(session)), graphPath_(std::move(graphPath)),
      httpMethod_(httpMethod.value_or("GET")) {
    parameters_->setObject(kMigrationBundle, "migration_bundle");
    if (parameters)
        for (auto& key : parameters->keys())
            parameters_->setObject(parameters->objectForKey(key), key);
}

std::shared_ptr<SNRequest> SNRequest::initForPost(std::shared_ptr<SNSession> session, std::string graphPath,
                                                  SNDictionaryPtr graphObject) {
    auto request = std::make_shared<SNRequest>(std::move(session), std::move(graphPath), nullptr, "POST");
    request->setGraphObject(std::move(graphObject));
    return request;
}

std::shared_ptr<SNRequest> SNRequest::initWithRestMethod(std::shared_ptr<SNSession> session, std::string restMethod,
                                                         SNDictionaryPtr parameters,
                                                         std::optional<std::string> httpMethod) {
    auto request =
        std::make_shared<SNRequest>(std::move(session), std::nullopt, std::move(parameters), std::move(httpMethod));
    request->setRestMethod(std::move(restMethod));
    return request;
}

void SNRequest::setGraphObject(SNDictionaryPtr graphObject) {
    graphObject_ = std::move(graphObject);
    httpMethod_ = "POST";
}

std::shared_ptr<SNRequestConnection> SNRequest::startWithCompletionHandler(CompletionHandler handler) {
    auto connection = std::make_shared<SNRequestConnection>();
    connection->addRequest(shared_from_this(), std::move(handler));
    connection->start();
    return connection;
}

// ---------------------------------------------------------------- class builders

std::shared_ptr<SNRequest> SNRequest::requestForMe() {
    return requestForGraphPath("me");
}

std::shared_ptr<SNRequest> SNRequest::requestForMyFriends() {
    auto parameters = SNDictionary::make();
    parameters->setObject("id,name,username,first_name,last_name", "fields");
    return requestWithGraphPath(std::string("me/friends"), parameters, std::nullopt);
}

std::shared_ptr<SNRequest> SNRequest::requestForUploadPhoto(std::shared_ptr<platform::ui::Image> photo) {
    auto parameters = SNDictionary::make();
    parameters->setObject(SNImageValue::make(std::move(photo)), "picture");
    return requestWithGraphPath(std::string("me/photos"), parameters, std::string("POST"));
}

std::shared_ptr<SNRequest> SNRequest::requestForGraphPath(const std::string& graphPath) {
    return requestWithGraphPath(graphPath, nullptr, std::nullopt);
}

std::shared_ptr<SNRequest> SNRequest::requestForPostWithGraphPath(const std::string& graphPath,
                                                                  SNDictionaryPtr graphObject) {
    return initForPost(SNSession::activeSessionIfOpen(), graphPath, std::move(graphObject));
}

std::shared_ptr<SNRequest> SNRequest::requestWithGraphPath(const std::optional<std::string>& graphPath,
                                                           SNDictionaryPtr parameters,
                                                           const std::optional<std::string>& httpMethod) {
    return std::make_shared<SNRequest>(SNSession::activeSessionIfOpen(), graphPath, std::move(parameters), httpMethod);
}

std::shared_ptr<SNRequest> SNRequest::requestForPostStatusUpdate(const std::string& message) {
    return requestForPostStatusUpdate(message, SNValue(), {});
}

std::shared_ptr<SNRequest> SNRequest::requestForPostStatusUpdate(const std::string& message, const SNValue& place,
                                                                 const std::vector<SNValue>& tags) {
    auto parameters = SNDictionary::make();
    parameters->setObject(message, "message");
    if (!place.isNull()) parameters->setObject(SNUtility::stringSNIDFromObject(place), "place");
    std::string tagText;
    for (auto& tag : tags)
        tagText += (tagText.empty() ? "" : ",") + SNUtility::stringSNIDFromObject(tag);
    if (!tagText.empty()) parameters->setObject(tagText, "tags");
    return requestWithGraphPath(std::string("me/feed"), parameters, std::string("POST"));
}

std::shared_ptr<SNRequest> SNRequest::requestForPlacesSearch(double latitude, double longitude, int radiusInMeters,
                                                             int resultsLimit, const std::string& searchText) {
    auto parameters = SNDictionary::make();
    parameters->setObject("place", "type");
    parameters->setObject(std::to_string(resultsLimit), "limit");
    parameters->setObject(formatDouble("%lf,%lf", latitude, longitude), "center");
    parameters->setObject(std::to_string(radiusInMeters), "distance");
    if (!searchText.empty()) parameters->setObject(searchText, "q");
    return requestWithGraphPath(std::string("search"), parameters, std::nullopt);
}

std::string SNRequest::description() const {
    std::string text = "<SNRequest: " + addressText(this) + ", session: " + addressText(session_.get());
    if (graphPath_) text += ", graphPath: " + *graphPath_;
    if (graphObject_) {
        text += ", graphObject: " + SNValue(graphObject_).description();
        auto id = graphObject_->objectForKey("id");
        if (!id.isNull()) text += " (id=" + id.description() + ")";
    }
    if (restMethod_) text += ", restMethod: " + *restMethod_;
    if (!httpMethod_.empty()) text += ", HTTPMethod: " + httpMethod_;
    return text + ", parameters: " + SNValue(parameters_).description() + ">";
}

std::string SNRequest::serializeURL(const std::string& baseUrl, const SNDictionaryPtr& params) {
    return serializeURL(baseUrl, params, "GET");
}

std::string SNRequest::serializeURL(const std::string& baseUrl, const SNDictionaryPtr& params,
                                    const std::string& httpMethod) {
    auto parsed = platform::Url::parse(baseUrl);
    bool hasQuery = parsed ? parsed->hasQuery : baseUrl.find('?') != std::string::npos;
    std::string pairs;
    if (params) {
        for (auto& key : params->keys()) {
            SNValue value = params->objectForKey(key);
            if (SNImageValue::from(value) || value.kind() == SNValue::Kind::Data) {
                if (httpMethod == "GET") platform::log("can not use GET to upload a file");
                continue;
            }
            if (!pairs.empty()) pairs += '&';
            pairs += key.description() + "=" + SNUtility::stringByURLEncodingString(value.description());
        }
    }
    return baseUrl + (hasQuery ? "&" : "?") + pairs;
}

} // namespace socialnet
