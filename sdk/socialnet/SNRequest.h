#pragma once

#include "sdk/socialnet/SNURLConnection.h"
#include "sdk/socialnet/json/SNDictionary.h"
#include "sdk/socialnet/json/SNError.h"
#include "sdk/socialnet/json/SNValue.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::ui {
class Image;
}

namespace socialnet {

class SNRequest;
class SNRequestConnection;
class SNSession;

// The older way to hear a request's outcome. Every call is optional (does nothing
// unless overridden). Not owned by the request.
class SNRequestDelegate {
public:
    virtual ~SNRequestDelegate() = default;
    virtual void requestLoading(SNRequest&) {}
    virtual void requestDidReceiveResponse(SNRequest&, const std::optional<SNURLResponse>&) {}
    virtual void requestDidLoadRawResponse(SNRequest&, const std::string&) {}
    virtual void requestDidLoad(SNRequest&, const SNValue&) {}
    virtual void requestDidFailWithError(SNRequest&, const SNErrorPtr&) {}
};

// One request to the social network's graph interface (a path such as "me/friends")
// or its REST interface (a method name): the session whose token it carries, the
// parameters (texts, images or data) and the HTTP method; a graph object makes it a
// POST whose properties become form fields. It does not send itself: a request
// connection builds the HTTP request from these fields, and writes "format", "sdk"
// and "access_token" into the parameters as it does. Main thread only.
class SNRequest : public std::enable_shared_from_this<SNRequest> {
public:
    // The connection, the result (a graph object, or null) and the error (or null).
    using CompletionHandler =
        std::function<void(SNRequestConnection& connection, const SNValue& result, const SNErrorPtr& error)>;
    enum class State : uint32_t { Ready = 0, Loading = 1, Complete = 2 };

    static constexpr const char* kMigrationBundle = "snsdk:20121003";

    // The parameters start as {"migration_bundle": "snsdk:20121003"}, then the given
    // ones; the method is "GET" unless given.
    SNRequest(std::shared_ptr<SNSession> session = nullptr, std::optional<std::string> graphPath = std::nullopt,
              SNDictionaryPtr parameters = nullptr, std::optional<std::string> httpMethod = std::nullopt);
    static std::shared_ptr<SNRequest> initForPost(std::shared_ptr<SNSession> session, std::string graphPath,
                                                  SNDictionaryPtr graphObject);
    static std::shared_ptr<SNRequest> initWithRestMethod(std::shared_ptr<SNSession> session, std::string restMethod,
                                                         SNDictionaryPtr parameters,
                                                         std::optional<std::string> httpMethod);

    // Sends this request alone on a new connection; the running load keeps it alive.
    std::shared_ptr<SNRequestConnection> startWithCompletionHandler(CompletionHandler handler);

    // For the active session when it is open.
    static std::shared_ptr<SNRequest> requestForMe();
    static std::shared_ptr<SNRequest> requestForMyFriends();
    static std::shared_ptr<SNRequest> requestForUploadPhoto(std::shared_ptr<platform::ui::Image> photo);
    static std::shared_ptr<SNRequest> requestForGraphPath(const std::string& graphPath);
    static std::shared_ptr<SNRequest> requestForPostWithGraphPath(const std::string& graphPath,
                                                                  SNDictionaryPtr graphObject);
    static std::shared_ptr<SNRequest> requestWithGraphPath(const std::optional<std::string>& graphPath,
                                                           SNDictionaryPtr parameters,
                                                           const std::optional<std::string>& httpMethod);
    static std::shared_ptr<SNRequest> requestForPostStatusUpdate(const std::string& message);
    static std::shared_ptr<SNRequest> requestForPostStatusUpdate(const std::string& message, const SNValue& place,
                                                                 const std::vector<SNValue>& tags);
    static std::shared_ptr<SNRequest> requestForPlacesSearch(double latitude, double longitude, int radiusInMeters,
                                                             int resultsLimit, const std::string& searchText);

    const std::shared_ptr<SNSession>& session() const { return session_; }
    void setSession(std::shared_ptr<SNSession> session) { session_ = std::move(session); }
    const std::optional<std::string>& graphPath() const { return graphPath_; }
    void setGraphPath(std::optional<std::string> path) { graphPath_ = std::move(path); }
    const std::optional<std::string>& restMethod() const { return restMethod_; }
    void setRestMethod(std::optional<std::string> method) { restMethod_ = std::move(method); }
    const std::string& HTTPMethod() const { return httpMethod_; }
    void setHTTPMethod(std::string method) { httpMethod_ = std::move(method); }
    const SNDictionaryPtr& graphObject() const { return graphObject_; }
    // Keeps the object and makes the request a POST.
    void setGraphObject(SNDictionaryPtr graphObject);
    const SNDictionaryPtr& parameters() const { return parameters_; }
    void setParams(SNDictionaryPtr parameters) {
        parameters_ = parameters ? std::move(parameters) : SNDictionary::make();
    }

    // The older interface.
    SNRequestDelegate* delegate() const { return delegate_; }
    void setDelegate(SNRequestDelegate* delegate) { delegate_ = delegate; }
    State state() const { return state_; }
    void setState(State state) { state_ = state; }
    bool loading() const { return state_ == State::Loading; }
    const SNErrorPtr& error() const { return error_; }
    void setError(SNErrorPtr error) { error_ = std::move(error); }
    bool sessionDidExpire() const { return sessionDidExpire_; }
    void setSessionDidExpire(bool expired) { sessionDidExpire_ = expired; }
    const std::string& url() const { return url_; }
    void setUrl(std::string url) { url_ = std::move(url); }

    std::string description() const;

    // serializeURL(base, params, "GET").
    static std::string serializeURL(const std::string& baseUrl, const SNDictionaryPtr& params);
    // base + ("&" when base has a query, else "?") + "key=encoded value" pairs joined
    // by "&", in the dictionary's order. The "?" is written even with no pair. Images
    // and data cannot travel in a URL and are left out (logged for a GET).
    static std::string serializeURL(const std::string& baseUrl, const SNDictionaryPtr& params,
                                    const std::string& httpMethod);

private:
    SNRequestDelegate* delegate_ = nullptr;
    std::string url_;
    State state_ = State::Ready;
    SNErrorPtr error_;
    bool sessionDidExpire_ = false;
    SNDictionaryPtr graphObject_;
    SNDictionaryPtr parameters_;
    std::shared_ptr<SNSession> session_;
    std::optional<std::string> graphPath_;
    std::optional<std::string> restMethod_;
    std::string httpMethod_;
};

} // namespace socialnet
