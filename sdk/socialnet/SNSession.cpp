#include "sdk/socialnet/SNSession.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Url.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "sdk/socialnet/SNDataDiskCache.h"
#include "sdk/socialnet/SNLogger.h"
#include "sdk/socialnet/SNLoginPlatform.h"
#include "sdk/socialnet/SNRequest.h"
#include "sdk/socialnet/SNRequestConnection.h"
#include "sdk/socialnet/SNSettings.h"
#include "sdk/socialnet/SNUtility.h"
#include "sdk/socialnet/json/SNArray.h"
#include "sdk/socialnet/json/SNDictionary.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <mutex>
#include <set>

namespace socialnet {

namespace {

struct ClassState {
    std::mutex mutex;
    std::shared_ptr<SNSession> activeSession;
    std::optional<std::string> defaultAppID;
};

ClassState& classState() {
    static ClassState shared;
    return shared;
}

constexpr struct {
    SNSessionState state;
    const char* name;
} kStateNames[] = {
    {SNSessionState::Created, "SNSessionStateCreated"},
    {SNSessionState::CreatedTokenLoaded, "SNSessionStateCreatedTokenLoaded"},
    {SNSessionState::CreatedOpening, "SNSessionStateCreatedOpening"},
    {SNSessionState::Open, "SNSessionStateOpen"},
    {SNSessionState::OpenTokenExtended, "SNSessionStateOpenTokenExtended"},
    {SNSessionState::ClosedLoginFailed, "SNSessionStateClosedLoginFailed"},
    {SNSessionState::Closed, "SNSessionStateClosed"},
};

// Legal moves: the new state and the states it may be reached from.
constexpr struct {
    SNSessionState next;
    SNSessionState from[3];
    int count;
} kLegalMoves[] = {
    {SNSessionState::CreatedTokenLoaded, {SNSessionState::Created}, 1},
    {SNSessionState::CreatedOpening, {SNSessionState::Created}, 1},
    {SNSessionState::Open, {SNSessionState::CreatedTokenLoaded, SNSessionState::CreatedOpening}, 2},
    {SNSessionState::OpenTokenExtended, {SNSessionState::Open, SNSessionState::OpenTokenExtended}, 2},
    {SNSessionState::ClosedLoginFailed, {SNSessionState::CreatedOpening}, 1},
    {SNSessionState::Closed,
     {SNSessionState::CreatedTokenLoaded, SNSessionState::Open, SNSessionState::OpenTokenExtended},
     3},
};

constexpr const char* kPublishPrefixes[] = {"publish", "manage"};
constexpr const char* kPublishNames[] = {"ads_management", "create_event", "rsvp_event"};

bool isOpenState(SNSessionState state) {
    return (int32_t(state) & 0x200) != 0;
}

bool isTerminalState(SNSessionState state) {
    return (int32_t(state) & 0x100) != 0;
}

void conditionalLog(const std::string& text) {
    platform::log("SNConditionalLog: " + text);
}

std::string dateText(const std::optional<SNSession::Date>& date) {
    if (!date) return "(null)";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.0f", *date);
    return buffer;
}

std::string joined(const std::vector<std::string>& list, const char* separator) {
    std::string text;
    for (auto& item : list)
        text += (text.empty() ? "" : separator) + item;
    return text;
}

// Wall-clock seconds at the first call and the platform clock then: later times move
// with the platform clock, which a test drives.
struct ClockBase {
    double wall;
    double clock;
};

} // namespace

// ---------------------------------------------------------------- creation

SNSession::SNSession() : SNSession(std::nullopt, std::nullopt, SNSessionDefaultAudience::None, std::nullopt, nullptr) {}

SNSession::SNSession(std::vector<std::string> permissions)
    : SNSession(std::nullopt, std::move(permissions), SNSessionDefaultAudience::None, std::nullopt, nullptr) {}

SNSession::SNSession(std::optional<std::string> appID, std::optional<std::vector<std::string>> permissions,
                     SNSessionDefaultAudience defaultAudience, std::optional<std::string> urlSchemeSuffix,
                     std::shared_ptr<SNSessionTokenCachingStrategy> tokenCachingStrategy) {
    if (!appID || appID->empty()) appID = defaultAppID();
    if (!tokenCachingStrategy) tokenCachingStrategy = SNSessionTokenCachingStrategy::defaultInstance();
    if (appID->empty())
        throw SNInvalidOperationException(
            "SNSession: No AppID provided; either pass an AppID to init, or add a string valued key with the "
            "appropriate id named SocialNetAppID to the bundle *.plist");
    appID_ = *appID;
    permissions_ = permissions.value_or(std::vector<std::string>{});
    setUrlSchemeSuffix(urlSchemeSuffix);
    tokenCachingStrategy_ = std::move(tokenCachingStrategy);
    defaultDefaultAudience_ = defaultAudience;
    affinitizedThread_ = std::this_thread::get_id();
    SNLogger::registerCurrentTime(SNLoggingBehaviorPerformanceCharacteristics, uint64_t(uintptr_t(this)));

    platform::Value cached = tokenCachingStrategy_->fetchTokenInformation();
    if (SNSessionTokenCachingStrategy::isValidTokenInformation(cached)) {
        Date expiry = cached.get(SNTokenInformationExpirationDateKey).dateValue();
        std::string token = cached.get(SNTokenInformationTokenKey).stringValue();
        std::vector<std::string> cachedPermissions;
        for (auto& permission : cached.get(SNTokenInformationPermissionsKey).arrayValue())
            if (permission.isString()) cachedPermissions.push_back(permission.stringValue());
        if (areRequiredPermissions(permissions_, cachedPermissions) && expiry > now()) {
            if (cached.contains(SNTokenInformationPermissionsKey)) permissions_ = cachedPermissions;
            const auto& refresh = cached.get(SNTokenInformationRefreshDateKey);
            if (refresh.type() == platform::ValueType::Date) refreshDate_ = refresh.dateValue();
            isSocialNetLoginToken_ = cached.get(SNTokenInformationIsSocialNetLoginKey).boolValue();
            int loginType = cached.get(SNTokenInformationLoginTypeLoginKey).intValue();
            isOSIntegratedSocialNetLoginToken_ = loginType == int(SNSessionLoginType::SystemAccount);
            // A stored login type outside the known ones is taken as none.
            auto type = loginType >= 0 && loginType <= 4 ? SNSessionLoginType(loginType) : SNSessionLoginType::None;
            transitionToState(SNSessionState::CreatedTokenLoaded, token, expiry, false, type);
        } else {
            tokenCachingStrategy_->clearToken();
        }
    }
    SNSettings::autoPublishInstall(appID_);
}

SNSession::~SNSession() {
    if (loginDialog_) loginDialog_->setLoginDelegate(nullptr);
}

// ---------------------------------------------------------------- class operations

std::shared_ptr<SNSession> SNSession::activeSession() {
    {
        std::lock_guard lock(classState().mutex);
        if (classState().activeSession) return classState().activeSession;
    }
    auto session = std::make_shared<SNSession>();
    setActiveSession(session);
    return session;
}

std::shared_ptr<SNSession> SNSession::activeSessionIfOpen() {
    std::lock_guard lock(classState().mutex);
    auto& session = classState().activeSession;
    return session && session->isOpen() ? session : nullptr;
}

void SNSession::setActiveSession(std::shared_ptr<SNSession> session) {
    std::shared_ptr<SNSession> old;
    {
        std::lock_guard lock(classState().mutex);
        if (classState().activeSession == session) return;
        old = classState().activeSession;
    }
    // Closed while still the active one, so its closing is announced.
    if (old) old->close();
    {
        std::lock_guard lock(classState().mutex);
        classState().activeSession = session;
    }
    auto& center = platform::NotificationCenter::defaultCenter();
    if (old) {
        center.post(SNSessionDidUnsetActiveSessionNotification, {}, old.get());
    }
    if (session) {
        center.post(SNSessionDidSetActiveSessionNotification, {}, session.get());
        if (session->isOpen()) center.post(SNSessionDidBecomeOpenActiveSessionNotification, {}, session.get());
    }
}

bool SNSession::openActiveSessionWithAllowLoginUI(bool allowLoginUI) {
    return openActiveSession(std::nullopt, allowLoginUI, true, true, SNSessionDefaultAudience::None, nullptr);
}

bool SNSession::openActiveSessionWithPermissions(std::vector<std::string> permissions, bool allowLoginUI,
                                                 CompletionHandler handler) {
    return openActiveSession(std::move(permissions), allowLoginUI, false, false, SNSessionDefaultAudience::None,
                             std::move(handler));
}

bool SNSession::openActiveSessionWithReadPermissions(std::vector<std::string> permissions, bool allowLoginUI,
                                                     CompletionHandler handler) {
    return openActiveSession(std::move(permissions), allowLoginUI, true, true, SNSessionDefaultAudience::None,
                             std::move(handler));
}

bool SNSession::openActiveSessionWithPublishPermissions(std::vector<std::string> permissions,
                                                        SNSessionDefaultAudience audience, bool allowLoginUI,
                                                        CompletionHandler handler) {
    return openActiveSession(std::move(permissions), allowLoginUI, true, false, audience, std::move(handler));
}

bool SNSession::openActiveSession(std::optional<std::vector<std::string>> permissions, bool allowLoginUI,
                                  bool allowSystemAccount, bool isRead, SNSessionDefaultAudience audience,
                                  CompletionHandler handler) {
    validateRequestForPermissions(permissions.value_or(std::vector<std::string>{}), audience, allowSystemAccount,
                                  isRead);
    auto session = std::make_shared<SNSession>(std::nullopt, permissions, audience, std::nullopt, nullptr);
    if (!allowLoginUI && session->state() != SNSessionState::CreatedTokenLoaded) return false;
    setActiveSession(session);
    session->openWithBehavior(allowSystemAccount ? SNSessionLoginBehavior::SystemAccount
                                                 : SNSessionLoginBehavior::WithDialogFallback,
                              std::move(handler));
    return session->isOpen();
}

void SNSession::setDefaultAppID(std::optional<std::string> appID) {
    std::lock_guard lock(classState().mutex);
    classState().defaultAppID = std::move(appID);
}

std::string SNSession::defaultAppID() {
    std::lock_guard lock(classState().mutex);
    if (!classState().defaultAppID) {
        auto fromBundle = platform::Bundle::main().objectForInfoKey("SocialNetAppID");
        if (!fromBundle.isString()) return {};
        classState().defaultAppID = fromBundle.stringValue();
    }
    return *classState().defaultAppID;
}

std::string SNSession::sessionStateDescription(SNSessionState state) {
    return sessionStateDescription(int32_t(state));
}

std::string SNSession::sessionStateDescription(int32_t state) {
    for (auto& entry : kStateNames)
        if (int32_t(entry.state) == state) return entry.name;
    return "[Unknown]";
}

std::optional<SNSession::Date>
SNSession::expirationDateFromExpirationTimeString(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    int64_t seconds = platform::parseLeadingInteger(*text);
    if (seconds == 0) return std::nullopt;
    return now() + double(seconds);
}

SNSession::Date SNSession::now() {
    static const ClockBase base{
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count(),
        platform::Clock::time()};
    return base.wall + (platform::Clock::time() - base.clock);
}

std::string SNSession::loginDialogURL() {
    auto base = platform::Bundle::main().objectForInfoKey("SocialNetDialogURL");
    // A name that never resolves: without a configured host nothing is contacted.
    std::string text =
        base.isString() && !base.stringValue().empty() ? base.stringValue() : "https://m.socialnet.invalid";
    while (!text.empty() && text.back() == '/')
        text.pop_back();
    return text + "/dialog/oauth";
}

bool SNSession::isLegalTransition(SNSessionState prior, SNSessionState next) {
    for (auto& move : kLegalMoves) {
        if (move.next != next) continue;
        for (int i = 0; i < move.count; ++i)
            if (move.from[i] == prior) return true;
    }
    return false;
}

SNError SNSession::errorLoginFailed(const std::optional<std::string>& reason,
                                    const std::optional<std::string>& errorCode, SNErrorPtr innerError) {
    SNError error;
    error.domain = SNErrorDomain;
    error.code = SNErrorCodeLoginFailed;
    error.message = "The login failed";
    if (reason) error.userInfo.emplace_back(SNErrorLoginFailedReasonKey, *reason);
    if (errorCode) error.userInfo.emplace_back(SNErrorLoginFailedOriginalErrorCodeKey, *errorCode);
    if (innerError) {
        error.userInfo.emplace_back(SNErrorInnerErrorKey, innerError->message);
        error.inner = std::move(innerError);
    }
    return error;
}

// ---------------------------------------------------------------- permissions

bool SNSession::isPublishPermission(const std::string& permission) {
    for (auto* prefix : kPublishPrefixes)
        if (permission.rfind(prefix, 0) == 0) return true;
    for (auto* name : kPublishNames)
        if (permission == name) return true;
    return false;
}

bool SNSession::areAllPermissionsReadPermissions(const std::vector<std::string>& permissions) {
    return std::none_of(permissions.begin(), permissions.end(), isPublishPermission);
}

std::vector<std::string> SNSession::addBasicInfoPermission(const std::vector<std::string>& permissions) {
    auto result = permissions;
    if (std::find(result.begin(), result.end(), "email") == result.end()) result.push_back("email");
    return result;
}

bool SNSession::logIfFoundUnexpectedPermissions(const std::vector<std::string>& permissions, bool isRead) {
    bool sawRead = false;
    bool sawPublish = false;
    for (auto& permission : permissions) {
        (isPublishPermission(permission) ? sawPublish : sawRead) = true;
        if (sawRead && sawPublish) break;
    }
    if (!isRead && sawRead) {
        conditionalLog("SNSession: a permission request for publish or manage permissions contains unexpected read "
                       "permissions");
        return true;
    }
    if (isRead && sawPublish) {
        conditionalLog("SNSession: a permission request for read permissions contains unexpected publish or manage "
                       "permissions");
        return true;
    }
    return false;
}

void SNSession::validateRequestForPermissions(const std::vector<std::string>& permissions,
                                              SNSessionDefaultAudience audience, bool allowSystemAccount, bool isRead) {
    if (permissions.empty() || !allowSystemAccount) return;
    bool audienceGiven = audience == SNSessionDefaultAudience::JustMe ||
                         audience == SNSessionDefaultAudience::Friends ||
                         audience == SNSessionDefaultAudience::Everyone;
    if (!isRead && !audienceGiven)
        throw SNInvalidOperationException(
            "SNSession: Publish permissions were requested without specifying an audience; use "
            "SNSessionDefaultAudienceJustMe, SNSessionDefaultAudienceFriends, or SNSessionDefaultAudienceEveryone");
    if (logIfFoundUnexpectedPermissions(permissions, isRead) && isRead)
        throw SNInvalidOperationException(
            "SNSession: Publish or manage permissions are not permited to to be requested with read permissions.");
}

bool SNSession::areRequiredPermissions(const std::vector<std::string>& required,
                                       const std::vector<std::string>& permissions) {
    std::set<std::string> available(permissions.begin(), permissions.end());
    return std::all_of(required.begin(), required.end(),
                       [&](const std::string& permission) { return available.count(permission) != 0; });
}

// ---------------------------------------------------------------- queries

std::string SNSession::urlSchemeSuffix() const {
    checkThread();
    return urlSchemeSuffix_.value_or("");
}

void SNSession::setUrlSchemeSuffix(const std::optional<std::string>& suffix) {
    if (suffix == urlSchemeSuffix_) return;
    urlSchemeSuffix_ = suffix.value_or("");
}

std::string SNSession::appBaseUrl() const {
    return "sn" + appID_ + urlSchemeSuffix_.value_or("") + "://authorize";
}

std::string SNSession::description() const {
    char self[32];
    char handler[32];
    std::snprintf(self, sizeof self, "%p", static_cast<const void*>(this));
    std::snprintf(handler, sizeof handler, "%p", loginHandler_ ? static_cast<const void*>(&loginHandler_) : nullptr);
    return std::string("<SNSession: ") + self + ", state: " + sessionStateDescription(state_) +
           ", loginHandler: " + handler + ", appID: " + appID_ + ", urlSchemeSuffix: " + urlSchemeSuffix_.value_or("") +
           ", tokenCachingStrategy:" + tokenCachingStrategy_->description() +
           ", expirationDate: " + dateText(expirationDate_) + ", refreshDate: " + dateText(refreshDate_) +
           ", attemptedRefreshDate: " + dateText(attemptedRefreshDate_) + ", permissions:(" +
           joined(permissions_, ", ") + ")>";
}

void SNSession::checkThread() const {
    // Reported, not fatal: the call goes on as it would have.
    if (std::this_thread::get_id() != affinitizedThread_)
        platform::log("SNSession: should only be used from a single thread");
}

uint64_t SNSession::addObserver(Observer observer) {
    observers_.emplace_back(nextObserverId_, std::move(observer));
    return nextObserverId_++;
}

void SNSession::removeObserver(uint64_t id) {
    std::erase_if(observers_, [id](const auto& entry) { return entry.first == id; });
}

void SNSession::announce(const std::string& key, bool prior) {
    auto observers = observers_;
    for (auto& [id, observer] : observers)
        observer(key, prior);
}

// ---------------------------------------------------------------- opening and closing

void SNSession::openWithCompletionHandler(CompletionHandler handler) {
    openWithBehavior(SNSessionLoginBehavior::WithDialogFallback, std::move(handler));
}

void SNSession::openWithBehavior(SNSessionLoginBehavior behavior, CompletionHandler handler) {
    checkThread();
    if (state_ != SNSessionState::Created && state_ != SNSessionState::CreatedTokenLoaded)
        throw SNInvalidOperationException("SNSession: an attempt was made to open an already opened or closed session");
    loginHandler_ = std::move(handler);
    if (state_ == SNSessionState::Created) {
        transitionToState(SNSessionState::CreatedOpening, std::nullopt, std::nullopt, false, SNSessionLoginType::None);
        authorize(permissions_, behavior, defaultDefaultAudience_, false);
    } else {
        transitionAndCallHandler(SNSessionState::Open, {}, std::nullopt, std::nullopt, false, SNSessionLoginType::None);
    }
}

void SNSession::close() {
    checkThread();
    auto next = state_ == SNSessionState::CreatedOpening ? SNSessionState::ClosedLoginFailed : SNSessionState::Closed;
    transitionAndCallHandler(next, {}, std::nullopt, std::nullopt, false, SNSessionLoginType::None);
}

void SNSession::closeAndClearTokenInformation() {
    closeAndClearTokenInformation(SNError{});
}

void SNSession::closeAndClearTokenInformation(const SNError& error) {
    checkThread();
    // Data fetched with this token, or with none, must not outlive the sign-out.
    SNDataDiskCache::sharedCache().removeDataForSession(*this);
    tokenCachingStrategy_->clearToken();
    if (!isTerminalState(state_))
        transitionAndCallHandler(SNSessionState::Closed, error, std::nullopt, std::nullopt, false,
                                 SNSessionLoginType::None);
}

bool SNSession::shouldExtendAccessToken() {
    Date current = now();
    bool extend = isOpen() && isSocialNetLoginToken_ && current - attemptedRefreshDate_ > 3600 &&
                  (!refreshDate_ || current - *refreshDate_ > 86400);
    if (extend) attemptedRefreshDate_ = current;
    return extend;
}

void SNSession::refreshAccessToken(const std::optional<std::string>& token, Date expirationDate) {
    refreshDate_ = now();
    transitionAndCallHandler(SNSessionState::OpenTokenExtended, {}, token ? *token : accessToken_, expirationDate, true,
                             SNSessionLoginType::None);
}

void SNSession::renewSystemAuthorization() {
    auto platform = SNLoginPlatform::current();
    if (!platform->hasSystemAccountType()) return;
    platform->renewSystemAccountCredentials([](int result, std::string error) {
        if (!error.empty())
            SNLogger::singleShotLogEntryFormat(SNLoggingBehaviorAccessTokens,
                                               "renewCredentialsForAccount result:%d, error: %s", result,
                                               error.c_str());
    });
}

// ---------------------------------------------------------------- transitions

bool SNSession::transitionToState(SNSessionState state, const std::optional<std::string>& token,
                                  std::optional<Date> expirationDate, bool shouldCache, SNSessionLoginType loginType) {
    SNSessionState prior = state_;
    if (!isLegalTransition(prior, state)) {
        SNLogger::singleShotLogEntryFormat(
            SNLoggingBehaviorSessionStateTransitions, "SNSession **INVALID** transition from %s to %s",
            sessionStateDescription(prior).c_str(), sessionStateDescription(state).c_str());
        return false;
    }
    if ((state == SNSessionState::CreatedTokenLoaded || state == SNSessionState::Open) &&
        loginType != SNSessionLoginType::None)
        loginType_ = loginType;
    if (isInStateTransition_)
        throw SNInvalidOperationException(
            "SNSession: An attempt to change an SNSession object was made while a change was in flight; this is "
            "most likely due to a KVO observer calling a method on SNSession while handling a "
            "NSKeyValueObservingOptionPrior notification");

    std::string text =
        "SNSession transition from " + sessionStateDescription(prior) + " to " + sessionStateDescription(state) + " ";
    SNLogger::singleShotLogEntry(SNLoggingBehaviorSessionStateTransitions, text);
    SNLogger::singleShotLogEntryTimestamp(SNLoggingBehaviorPerformanceCharacteristics, uint64_t(uintptr_t(this)), "%s",
                                          text.c_str());
    SNLogger::registerCurrentTime(SNLoggingBehaviorPerformanceCharacteristics, uint64_t(uintptr_t(this)));

    bool changeToken = false;
    std::string newToken;
    std::optional<Date> newExpiry;
    if (token && expirationDate) {
        changeToken = true;
        newToken = *token;
        newExpiry = expirationDate;
    } else if (!isOpenState(state) && isOpenState(prior)) {
        changeToken = true;
    }
    bool opennessChanges = isOpenState(state) != isOpenState(prior);

    isInStateTransition_ = true;
    announce("status", true);
    if (opennessChanges) announce("isOpen", true);
    if (changeToken) {
        announce("accessToken", true);
        announce("expirationDate", true);
        accessToken_ = newToken;
        expirationDate_ = newExpiry;
        state_ = state;
        isInStateTransition_ = false;
        if (shouldCache) cacheToken();
        announce("expirationDate", false);
        announce("accessToken", false);
    } else {
        state_ = state;
        isInStateTransition_ = false;
    }
    if (opennessChanges) announce("isOpen", false);
    announce("status", false);

    if (opennessChanges) {
        bool isActive;
        {
            std::lock_guard lock(classState().mutex);
            isActive = classState().activeSession.get() == this;
        }
        if (isActive)
            platform::NotificationCenter::defaultCenter().post(isOpenState(state)
                                                                   ? SNSessionDidBecomeOpenActiveSessionNotification
                                                                   : SNSessionDidBecomeClosedActiveSessionNotification,
                                                               {}, this);
    }
    return true;
}

void SNSession::cacheToken() {
    platform::Value information = platform::Value::emptyDictionary();
    information.set(SNTokenInformationTokenKey, accessToken_);
    information.set(SNTokenInformationExpirationDateKey, platform::Value::date(expirationDate_.value_or(0)));
    if (refreshDate_) information.set(SNTokenInformationRefreshDateKey, platform::Value::date(*refreshDate_));
    if (isSocialNetLoginToken_) information.set(SNTokenInformationIsSocialNetLoginKey, true);
    information.set(SNTokenInformationLoginTypeLoginKey, int(loginType_));
    platform::Value permissions = platform::Value::emptyArray();
    for (auto& permission : permissions_)
        permissions.append(permission);
    information.set(SNTokenInformationPermissionsKey, permissions);
    tokenCachingStrategy_->cacheTokenInformation(information);
}

void SNSession::transitionAndCallHandler(SNSessionState state, const SNError& error,
                                         const std::optional<std::string>& token, std::optional<Date> expirationDate,
                                         bool shouldCache, SNSessionLoginType loginType) {
    // The handler may drop the owner's last reference to this session.
    auto keepAlive = weak_from_this().lock();
    bool moved = transitionToState(state, token, expirationDate, shouldCache, loginType);
    CompletionHandler handler = loginHandler_;
    if (moved && isTerminalState(state_)) {
        loginHandler_ = nullptr;
        callReauthorizeHandlerAndClearState(
            errorLoginFailed(SNErrorReauthorizeFailedReasonSessionClosed, std::nullopt, nullptr));
    }
    if (handler) handler(*this, state_, moved ? error : SNError{});
}

// ---------------------------------------------------------------- login routes

void SNSession::authorize(const std::vector<std::string>& permissions, SNSessionLoginBehavior behavior,
                          SNSessionDefaultAudience audience, bool isReauthorize) {
    bool integrated = behavior == SNSessionLoginBehavior::SystemAccount;
    bool appAndBrowser = behavior != SNSessionLoginBehavior::DialogOnly;
    bool fallback =
        behavior == SNSessionLoginBehavior::WithDialogFallback || behavior == SNSessionLoginBehavior::DialogOnly;
    authorize(permissions, audience, integrated, appAndBrowser, appAndBrowser, fallback, isReauthorize);
}

void SNSession::authorize(const std::vector<std::string>& permissions, SNSessionDefaultAudience audience,
                          bool integratedAuth, bool appAuth, bool browserAuth, bool fallback, bool isReauthorize) {
    auto params = SNDictionary::make();
    params->setObject(SNValue(appID_), "client_id");
    params->setObject(SNValue("user_agent"), "type");
    params->setObject(SNValue("snconnect://success"), "redirect_uri");
    params->setObject(SNValue("touch"), "display");
    params->setObject(SNValue("ios"), "sdk");
    params->setObject(SNValue(joined(permissions, ",")), "scope");
    if (urlSchemeSuffix_) params->setObject(SNValue(*urlSchemeSuffix_), "local_client_id");
    std::string dialogURL = loginDialogURL();

    auto platform = SNLoginPlatform::current();
    auto parsed = platform::Url::parse(dialogURL);
    platform->deleteCookiesForHost(parsed ? parsed->host : std::string());

    if (integratedAuth && (!isReauthorize || isOSIntegratedSocialNetLoginToken_) && platform->hasSystemAccountType()) {
        authorizeUsingSystemAccountStore(permissions, audience, isReauthorize);
        return;
    }
    if (platform->isMultitaskingSupported()) {
        bool opened = false;
        if (appAuth) {
            loginTypeOfPendingOpenUrlCallback_ = SNSessionLoginType::NativeApp;
            std::string scheme = urlSchemeSuffix_ ? "snauth2" : "snauth";
            opened = platform->openURL(SNRequest::serializeURL(scheme + "://authorize", params));
        }
        if (browserAuth && !opened) {
            params->setObject(SNValue(appBaseUrl()), "redirect_uri");
            loginTypeOfPendingOpenUrlCallback_ = SNSessionLoginType::Browser;
            opened = platform->openURL(SNRequest::serializeURL(dialogURL, params));
        }
        if (opened) return;
        loginTypeOfPendingOpenUrlCallback_ = SNSessionLoginType::None;
    }
    if (fallback) {
        loginDialog_ = std::make_shared<SNLoginDialog>(dialogURL, params, this);
        loginDialog_->show();
    } else {
        transitionAndCallHandler(SNSessionState::ClosedLoginFailed,
                                 errorLoginFailed(SNErrorLoginNotCancelled, std::nullopt, nullptr), std::nullopt,
                                 std::nullopt, false, SNSessionLoginType::None);
    }
}

void SNSession::authorizeUsingSystemAccountStore(const std::vector<std::string>& requested,
                                                 SNSessionDefaultAudience audience, bool isReauthorize) {
    std::vector<std::string> permissions = requested;
    if (areAllPermissionsReadPermissions(permissions)) permissions = addBasicInfoPermission(permissions);
    std::optional<std::string> storeAudience;
    switch (audience) {
    case SNSessionDefaultAudience::JustMe:
        storeAudience = "me";
        break;
    case SNSessionDefaultAudience::Friends:
        storeAudience = "friends";
        break;
    case SNSessionDefaultAudience::Everyone:
        storeAudience = "everyone";
        break;
    default:
        break;
    }
    if (!storeAudience && isReauthorize) {
        for (auto& permission : requested)
            if (permission.rfind("publish", 0) == 0)
                throw SNInvalidOperationException(
                    "SNSession: One or more publish permission was requested without specifying an audience; use "
                    "SNSessionDefaultAudienceJustMe, SNSessionDefaultAudienceFriends, or "
                    "SNSessionDefaultAudienceEveryone");
    }
    std::weak_ptr<SNSession> weak = weak_from_this();
    SNLoginPlatform::current()->requestSystemAccountAccess(
        appID_, permissions, storeAudience,
        [weak, requested, audience, isReauthorize](const SNSystemAccountAnswer& answer) {
            if (!answer.granted && answer.errorCode == 7 &&
                (!answer.errorDescription ||
                 answer.errorDescription->find("remote_app_id does not match stored id") != std::string::npos))
                conditionalLog("System authorization failed:'" + answer.errorDescription.value_or("") +
                               "'. This may be caused by a mismatch between the bundle identifier and the "
                               "configuration of the application on the social network's developer site.");
            platform::runOnMainThread([weak, answer, requested, audience, isReauthorize] {
                if (auto session = weak.lock())
                    session->finishSystemAccountRequest(answer, requested, audience, isReauthorize);
            });
        });
}

void SNSession::finishSystemAccountRequest(const SNSystemAccountAnswer& answer,
                                           const std::vector<std::string>& permissions,
                                           SNSessionDefaultAudience audience, bool isReauthorize) {
    bool refusedNoAccount = !answer.granted && answer.errorCode == 6;
    std::string token = answer.granted ? answer.token : std::string();
    if (!token.empty() && !SNSettings::isLoggingBehaviorOn(SNLoggingBehaviorAccessTokens))
        SNLogger::registerStringToReplace(token, "ACCESS_TOKEN_REMOVED");
    if (isReauthorize) {
        if (!token.empty()) {
            std::vector<std::string> all = permissions_;
            for (auto& permission : permissions)
                if (std::find(all.begin(), all.end(), permission) == all.end()) all.push_back(permission);
            completeReauthorize(token, kDistantFuture, all);
        } else {
            callReauthorizeHandlerAndClearState(
                errorLoginFailed(SNErrorReauthorizeFailedReasonUserCancelled, std::nullopt, nullptr));
            if (refusedNoAccount) closeAndClearTokenInformation();
        }
        return;
    }
    if (!token.empty()) {
        isSocialNetLoginToken_ = true;
        isOSIntegratedSocialNetLoginToken_ = true;
        refreshDate_ = now();
        transitionAndCallHandler(SNSessionState::Open, {}, token, kDistantFuture, true,
                                 SNSessionLoginType::SystemAccount);
    } else if (refusedNoAccount) {
        authorize(permissions, audience, false, true, true, true, false);
    } else {
        SNErrorPtr inner;
        if (answer.errorCode || answer.errorDescription) {
            auto storeError = std::make_shared<SNError>();
            storeError->domain = "platform.accounts"; // the system account store's own failure
            storeError->code = answer.errorCode.value_or(0);
            storeError->message = answer.errorDescription.value_or("");
            inner = storeError;
        }
        transitionAndCallHandler(SNSessionState::ClosedLoginFailed,
                                 errorLoginFailed(SNErrorLoginFailedReason, std::nullopt, inner), std::nullopt,
                                 std::nullopt, false, SNSessionLoginType::None);
    }
}

// ---------------------------------------------------------------- callback URL

bool SNSession::handleOpenURL(const std::string& url) {
    checkThread();
    if (url.rfind(appBaseUrl(), 0) != 0) return false;
    SNSessionLoginType pending = loginTypeOfPendingOpenUrlCallback_;
    loginTypeOfPendingOpenUrlCallback_ = SNSessionLoginType::None;
    auto parsed = platform::Url::parse(url);
    std::string part = parsed ? (parsed->hasFragment ? parsed->fragment : parsed->query) : std::string();
    auto parameters = SNUtility::dictionaryByParsingURLQueryPart(part);
    auto token = parameters->objectForKey("access_token");
    std::string accessToken = token.isString() ? token.string() : std::string();
    if (!accessToken.empty() && !SNSettings::isLoggingBehaviorOn(SNLoggingBehaviorAccessTokens))
        SNLogger::registerStringToReplace(accessToken, "ACCESS_TOKEN_REMOVED");
    switch (state_) {
    case SNSessionState::Open:
    case SNSessionState::OpenTokenExtended:
        return handleOpenURLReauthorize(parameters, accessToken);
    case SNSessionState::CreatedOpening:
        return handleOpenURLPreOpen(parameters, accessToken, pending);
    default:
        conditionalLog("handleOpenURL should not be called once a session has closed");
        return false;
    }
}

bool SNSession::handleOpenURLPreOpen(const SNDictionaryPtr& parameters, const std::string& accessToken,
                                     SNSessionLoginType loginType) {
    if (!accessToken.empty()) {
        auto expiresIn = parameters->objectForKey("expires_in");
        auto expiry = expirationDateFromExpirationTimeString(
            expiresIn.isString() ? std::optional<std::string>(expiresIn.string()) : std::nullopt);
        isSocialNetLoginToken_ = true;
        isOSIntegratedSocialNetLoginToken_ = false;
        refreshDate_ = now();
        transitionAndCallHandler(SNSessionState::Open, {}, accessToken, expiry.value_or(kDistantFuture), true,
                                 loginType);
        return true;
    }
    auto errorValue = parameters->objectForKey("error");
    std::optional<std::string> errorText =
        errorValue.isString() ? std::optional<std::string>(errorValue.string()) : std::nullopt;
    if (errorText == "service_disabled_use_browser") {
        authorize(permissions_, defaultDefaultAudience_, false, false, true, false, false);
    } else if (errorText == "service_disabled") {
        authorize(permissions_, defaultDefaultAudience_, false, false, false, false, false);
    } else {
        auto code = parameters->objectForKey("error_code");
        transitionAndCallHandler(
            SNSessionState::ClosedLoginFailed,
            errorLoginFailed(errorText, code.isString() ? std::optional<std::string>(code.string()) : std::nullopt,
                             nullptr),
            std::nullopt, std::nullopt, false, SNSessionLoginType::None);
    }
    return true;
}

bool SNSession::handleOpenURLReauthorize(const SNDictionaryPtr& parameters, const std::string& accessToken) {
    if (accessToken.empty()) {
        callReauthorizeHandlerAndClearState(
            errorLoginFailed(SNErrorReauthorizeFailedReasonUserCancelled, std::nullopt, nullptr));
        return true;
    }
    auto expiresIn = parameters->objectForKey("expires_in");
    auto expiry = expirationDateFromExpirationTimeString(
        expiresIn.isString() ? std::optional<std::string>(expiresIn.string()) : std::nullopt);
    validateReauthorizedAccessToken(accessToken, expiry.value_or(kDistantFuture));
    return true;
}

void SNSession::validateReauthorizedAccessToken(const std::string& token, Date expirationDate) {
    // The new token is taken only when it belongs to the user of the old one: "me"
    // with each token, and the permissions the new one carries.
    struct Tally {
        int remaining = 3;
        std::vector<std::string> userIDs;
        SNValue permissionsData;
    };
    auto tally = std::make_shared<Tally>();
    std::weak_ptr<SNSession> weak = weak_from_this();
    auto finish = [weak, tally, token, expirationDate] {
        if (--tally->remaining > 0) return;
        auto self = weak.lock();
        if (!self) return;
        if (tally->userIDs.size() == 2 && tally->userIDs[0] == tally->userIDs[1]) {
            std::optional<std::vector<std::string>> permissions;
            if (tally->permissionsData.isArray() && tally->permissionsData.array()->count() > 0) {
                SNValue first = tally->permissionsData.array()->objectAtIndex(0);
                if (first.isDictionary()) {
                    permissions.emplace();
                    for (auto& key : first.dictionary()->keys())
                        permissions->push_back(key.description());
                }
            }
            self->completeReauthorize(token, expirationDate, permissions);
        } else {
            self->callReauthorizeHandlerAndClearState(
                errorLoginFailed(SNErrorReauthorizeFailedReasonWrongUser, std::nullopt, nullptr));
        }
    };
    auto onMe = [tally, finish](SNRequestConnection&, const SNValue& result, const SNErrorPtr& error) {
        if (!error && result.isDictionary() && tally->userIDs.size() < 2) {
            SNValue id = result.dictionary()->objectForKey("id");
            if (!id.isNull()) tally->userIDs.push_back(id.description());
        }
        finish();
    };
    auto onPermissions = [tally, finish](SNRequestConnection&, const SNValue& result, const SNErrorPtr& error) {
        if (!error && result.isDictionary()) tally->permissionsData = result.dictionary()->objectForKey("data");
        finish();
    };
    auto withNewToken = SNDictionary::make();
    withNewToken->setObject(token, "access_token");
    auto connection = std::make_shared<SNRequestConnection>();
    connection->addRequest(std::make_shared<SNRequest>(shared_from_this(), "me"), onMe);
    connection->addRequest(std::make_shared<SNRequest>(nullptr, "me", withNewToken), onMe);
    connection->addRequest(std::make_shared<SNRequest>(shared_from_this(), "me/permissions"), onPermissions);
    connection->start();
}

void SNSession::handleDidBecomeActive() {
    auto active = activeSession();
    SNSessionState activeState = active->state();
    if (activeState == SNSessionState::Created || activeState == SNSessionState::ClosedLoginFailed ||
        activeState == SNSessionState::Closed || loginTypeOfPendingOpenUrlCallback_ == SNSessionLoginType::None)
        return;
    if (activeState == SNSessionState::CreatedOpening)
        active->close();
    else
        callReauthorizeHandlerAndClearState(
            errorLoginFailed(SNErrorReauthorizeFailedReasonUserCancelled, std::nullopt, nullptr));
    loginTypeOfPendingOpenUrlCallback_ = SNSessionLoginType::None;
}

// ---------------------------------------------------------------- reauthorization

void SNSession::reauthorizeWithPermissions(std::vector<std::string> permissions, SNSessionLoginBehavior behavior,
                                           ReauthorizeHandler handler) {
    reauthorize(std::move(permissions), false, behavior, SNSessionDefaultAudience::None, std::move(handler));
}

void SNSession::reauthorizeWithReadPermissions(std::vector<std::string> permissions, ReauthorizeHandler handler) {
    reauthorize(std::move(permissions), true, SNSessionLoginBehavior::SystemAccount, SNSessionDefaultAudience::None,
                std::move(handler));
}

void SNSession::reauthorizeWithPublishPermissions(std::vector<std::string> permissions,
                                                  SNSessionDefaultAudience audience, ReauthorizeHandler handler) {
    reauthorize(std::move(permissions), false, SNSessionLoginBehavior::SystemAccount, audience, std::move(handler));
}

void SNSession::reauthorize(std::vector<std::string> permissions, bool isRead, SNSessionLoginBehavior behavior,
                            SNSessionDefaultAudience audience, ReauthorizeHandler handler) {
    if (!isOpen())
        throw SNInvalidOperationException(
            "SNSession: an attempt was made reauthorize permissions on an unopened session");
    if (reauthorizeHandler_)
        throw SNInvalidOperationException(
            "SNSession: It is not valid to reauthorize while a previous reauthorize call has not yet completed.");
    validateRequestForPermissions(permissions, audience, behavior == SNSessionLoginBehavior::SystemAccount, isRead);
    reauthorizePermissions_ = permissions;
    reauthorizeHandler_ = std::move(handler);
    authorize(permissions, behavior, audience, true);
}

void SNSession::completeReauthorize(const std::string& token, Date expirationDate,
                                    const std::optional<std::vector<std::string>>& permissions) {
    refreshDate_ = now();
    if (permissions) permissions_ = *permissions;
    transitionAndCallHandler(SNSessionState::OpenTokenExtended, {}, token, expirationDate, true,
                             SNSessionLoginType::None);
    callReauthorizeHandlerAndClearState({});
}

void SNSession::callReauthorizeHandlerAndClearState(const SNError& error) {
    if (!reauthorizeHandler_) return;
    ReauthorizeHandler handler = std::move(reauthorizeHandler_);
    reauthorizeHandler_ = nullptr;
    reauthorizePermissions_.clear();
    handler(*this, error);
}

// ---------------------------------------------------------------- inline dialog

void SNSession::snDialogLogin(const std::string& accessToken, std::optional<Date> expirationDate) {
    auto keepAlive = weak_from_this().lock();
    auto dialog = std::move(loginDialog_);
    if (dialog) dialog->setLoginDelegate(nullptr);
    if (!SNSettings::isLoggingBehaviorOn(SNLoggingBehaviorAccessTokens))
        SNLogger::registerStringToReplace(accessToken, "ACCESS_TOKEN_REMOVED");
    refreshDate_ = now();
    // A page that gives no lifetime gives a token that does not expire, as the
    // callback route takes it; the session never opens without its token.
    transitionAndCallHandler(SNSessionState::Open, {}, accessToken, expirationDate.value_or(kDistantFuture), true,
                             SNSessionLoginType::WebDialog);
}

void SNSession::snDialogNotLogin(bool cancelled) {
    auto keepAlive = weak_from_this().lock();
    auto dialog = std::move(loginDialog_);
    if (dialog) dialog->setLoginDelegate(nullptr);
    transitionAndCallHandler(
        SNSessionState::ClosedLoginFailed,
        errorLoginFailed(cancelled ? SNErrorInlineLoginCancelled : SNErrorLoginNotCancelled, std::nullopt, nullptr),
        std::nullopt, std::nullopt, false, SNSessionLoginType::None);
}

} // namespace socialnet
