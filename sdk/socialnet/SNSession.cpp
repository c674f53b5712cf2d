#include "sdk/socialnet/SNSession.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Url.h"
#include "platform/runtime/Log.h"

#include <mutex>
#include <optional>

namespace socialnet {

namespace {

struct Active {
    std::mutex mutex;
    std::shared_ptr<SNSession> session;
};

Active& active() {
    static Active shared;
    return shared;
}

std::string bundleAppID() {
    return platform::Bundle::main().loadPlist("Info").get("SocialNetAppID").stringValue();
}

// What the network's log-in answer carries after '#' (or '?').
std::optional<std::string> answerValue(const platform::Url& url, std::string_view name) {
    if (auto value = url.queryValue(name)) return value;
    platform::Url fragmentAsQuery;
    fragmentAsQuery.query = url.fragment;
    fragmentAsQuery.hasQuery = url.hasFragment;
    return fragmentAsQuery.queryValue(name);
}

} // namespace

SNSession::SNSession() : SNSession(bundleAppID(), {"basic_info"}) {}

SNSession::SNSession(std::string appID, std::vector<std::string> permissions, std::string urlSchemeSuffix)
    : appID_(std::move(appID)), permissions_(std::move(permissions)), urlSchemeSuffix_(std::move(urlSchemeSuffix)) {}

SNSession::~SNSession() = default;

std::shared_ptr<SNSession> SNSession::activeSession() {
    std::lock_guard lock(active().mutex);
    return active().session;
}

void SNSession::setActiveSession(std::shared_ptr<SNSession> session) {
    std::lock_guard lock(active().mutex);
    active().session = std::move(session);
}

std::string SNSession::callbackScheme() const {
    return "sn" + appID_ + urlSchemeSuffix_;
}

void SNSession::openWithCompletionHandler(CompletionHandler handler) {
    if (state_ != SNSessionState::Created && state_ != SNSessionState::CreatedTokenLoaded) {
        platform::log("socialnet: a session can be opened only once");
        if (handler) handler(*this, state_, {kErrorInvalidOperation, "the session was already opened"});
        return;
    }
    handler_ = std::move(handler);
    changeState(SNSessionState::CreatedOpening, {});
    changeState(SNSessionState::ClosedLoginFailed,
                {kErrorLoginFailed, "the social network's log-in page cannot be reached from this client"});
}

bool SNSession::handleOpenURL(const std::string& url) {
    auto parsed = platform::Url::parse(url);
    if (!parsed || parsed->scheme != callbackScheme()) return false;
    if (state_ != SNSessionState::CreatedOpening) return true;
    if (auto token = answerValue(*parsed, "access_token"); token && !token->empty()) {
        accessToken_ = *token;
        changeState(SNSessionState::Open, {});
    } else {
        auto error = answerValue(*parsed, "error");
        changeState(SNSessionState::ClosedLoginFailed, {kErrorLoginFailed, error ? *error : "no access token"});
    }
    return true;
}

void SNSession::handleDidBecomeActive() {
    if (state_ == SNSessionState::CreatedOpening)
        changeState(SNSessionState::ClosedLoginFailed, {kErrorLoginFailed, "the log-in was abandoned"});
}

void SNSession::close() {
    accessToken_.clear();
    if (state_ != SNSessionState::Closed) changeState(SNSessionState::Closed, {});
}

void SNSession::changeState(SNSessionState state, const SNError& error) {
    state_ = state;
    if (!error.empty()) platform::log("socialnet: " + error.message);
    // The handler may drop its last reference to this session: keep both alive.
    auto handler = handler_;
    if (handler) handler(*this, state, error);
}

} // namespace socialnet
