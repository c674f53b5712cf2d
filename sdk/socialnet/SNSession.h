#pragma once

#include "sdk/socialnet/SNLoginDialog.h"
#include "sdk/socialnet/SNLoginPlatform.h"
#include "sdk/socialnet/SNSessionTokenCachingStrategy.h"
#include "sdk/socialnet/SNSessionTypes.h"
#include "sdk/socialnet/json/SNError.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace socialnet {

// The social network's login session: the application id, the permissions, the
// access token with its dates, and a state machine from creation through opening to
// open, token-extended and closed. A session loads a cached token when it is made,
// obtains one through a login route when it is opened (the system account, the
// network's own application, the browser, the inline dialog), calls the owner's
// handler on every change it makes and caches the token whenever it changes.
//
// Made with std::make_shared and used on the thread that made it (the main thread);
// a call from another thread is logged and goes on. Misuse by the owner raises
// SNInvalidOperationException; nothing the network or the user does raises.
class SNSession : public std::enable_shared_from_this<SNSession>, public SNLoginDialogDelegate {
public:
    // The error is empty when there is none.
    using CompletionHandler = std::function<void(SNSession& session, SNSessionState state, const SNError& error)>;
    using ReauthorizeHandler = std::function<void(SNSession& session, const SNError& error)>;
    // Told before (prior = true) and after each change of "status", "isOpen",
    // "accessToken" and "expirationDate".
    using Observer = std::function<void(const std::string& key, bool prior)>;
    using Date = double; // seconds since 1970

    static constexpr Date kDistantFuture = 64092211200.0; // 4001-01-01
    static constexpr Date kDistantPast = -62135596800.0;  // 0001-01-01

    // Each argument may be left out: the default app id ("SocialNetAppID"), no
    // permissions, no suffix, the shared token cache. Raises without an app id.
    SNSession();
    explicit SNSession(std::vector<std::string> permissions);
    SNSession(std::optional<std::string> appID, std::optional<std::vector<std::string>> permissions,
              SNSessionDefaultAudience defaultAudience, std::optional<std::string> urlSchemeSuffix,
              std::shared_ptr<SNSessionTokenCachingStrategy> tokenCachingStrategy);
    ~SNSession() override;

    // Opening and closing.
    void openWithCompletionHandler(CompletionHandler handler);
    void openWithBehavior(SNSessionLoginBehavior behavior, CompletionHandler handler);
    void close();
    void closeAndClearTokenInformation();
    void closeAndClearTokenInformation(const SNError& error);
    // True when the address was this session's callback and was handled.
    bool handleOpenURL(const std::string& url);
    void handleDidBecomeActive();

    // Asking an open session for more permissions.
    void reauthorizeWithPermissions(std::vector<std::string> permissions, SNSessionLoginBehavior behavior,
                                    ReauthorizeHandler handler);
    void reauthorizeWithReadPermissions(std::vector<std::string> permissions, ReauthorizeHandler handler);
    void reauthorizeWithPublishPermissions(std::vector<std::string> permissions, SNSessionDefaultAudience audience,
                                           ReauthorizeHandler handler);

    // Queries.
    SNSessionState state() const { return state_; }
    int32_t stateValue() const { return static_cast<int32_t>(state_); }
    bool isOpen() const { return (stateValue() & 0x200) != 0; }
    const std::string& accessToken() const { return accessToken_; }
    std::optional<Date> expirationDate() const { return expirationDate_; }
    std::optional<Date> refreshDate() const { return refreshDate_; }
    Date attemptedRefreshDate() const { return attemptedRefreshDate_; }
    const std::vector<std::string>& permissions() const { return permissions_; }
    const std::vector<std::string>& reauthorizePermissions() const { return reauthorizePermissions_; }
    const std::string& appID() const { return appID_; }
    SNSessionLoginType loginType() const { return loginType_; }
    const std::shared_ptr<SNSessionTokenCachingStrategy>& tokenCachingStrategy() const { return tokenCachingStrategy_; }
    const std::shared_ptr<SNLoginDialog>& loginDialog() const { return loginDialog_; }
    // Empty when none was given.
    std::string urlSchemeSuffix() const;
    void setUrlSchemeSuffix(const std::optional<std::string>& suffix);
    // "sn<appID><suffix>://authorize": where the network's application and the browser answer.
    std::string appBaseUrl() const;
    std::string description() const;

    // For the request layer.
    bool shouldExtendAccessToken();
    void refreshAccessToken(const std::optional<std::string>& token, Date expirationDate);
    static void renewSystemAuthorization();

    // Observers in place of key-value observation; the id removes one.
    uint64_t addObserver(Observer observer);
    void removeObserver(uint64_t id);

    // The process-wide active session.
    static std::shared_ptr<SNSession> activeSession();
    static std::shared_ptr<SNSession> activeSessionIfOpen();
    static void setActiveSession(std::shared_ptr<SNSession> session);
    static bool openActiveSessionWithAllowLoginUI(bool allowLoginUI);
    static bool openActiveSessionWithPermissions(std::vector<std::string> permissions, bool allowLoginUI,
                                                 CompletionHandler handler);
    static bool openActiveSessionWithReadPermissions(std::vector<std::string> permissions, bool allowLoginUI,
                                                     CompletionHandler handler);
    static bool openActiveSessionWithPublishPermissions(std::vector<std::string> permissions,
                                                        SNSessionDefaultAudience audience, bool allowLoginUI,
                                                        CompletionHandler handler);
    static bool openActiveSession(std::optional<std::vector<std::string>> permissions, bool allowLoginUI,
                                  bool allowSystemAccount, bool isRead, SNSessionDefaultAudience audience,
                                  CompletionHandler handler);

    static void setDefaultAppID(std::optional<std::string> appID);
    static std::string defaultAppID();
    static std::string sessionStateDescription(SNSessionState state);
    static std::string sessionStateDescription(int32_t state);
    // nullopt for no text or a value of 0; otherwise now plus that many seconds.
    static std::optional<Date> expirationDateFromExpirationTimeString(const std::optional<std::string>& text);
    // Wall-clock seconds, moved by the platform clock, so tests on the manual clock
    // can step through hours.
    static Date now();

    // Permission rules.
    static bool isPublishPermission(const std::string& permission);
    static bool areAllPermissionsReadPermissions(const std::vector<std::string>& permissions);
    static std::vector<std::string> addBasicInfoPermission(const std::vector<std::string>& permissions);
    static bool logIfFoundUnexpectedPermissions(const std::vector<std::string>& permissions, bool isRead);
    static void validateRequestForPermissions(const std::vector<std::string>& permissions,
                                              SNSessionDefaultAudience audience, bool allowSystemAccount, bool isRead);
    static bool areRequiredPermissions(const std::vector<std::string>& required,
                                       const std::vector<std::string>& permissions);

    // Where the inline dialog and the browser find the login page ("SocialNetDialogURL"
    // of the bundle, the scheme included), followed by "/dialog/oauth".
    static std::string loginDialogURL();

    // SNLoginDialogDelegate.
    void snDialogLogin(const std::string& accessToken, std::optional<Date> expirationDate) override;
    void snDialogNotLogin(bool cancelled) override;

    // The legal moves between states (prior -> next).
    static bool isLegalTransition(SNSessionState prior, SNSessionState next);

private:
    bool transitionToState(SNSessionState state, const std::optional<std::string>& token,
                           std::optional<Date> expirationDate, bool shouldCache, SNSessionLoginType loginType);
    void transitionAndCallHandler(SNSessionState state, const SNError& error, const std::optional<std::string>& token,
                                  std::optional<Date> expirationDate, bool shouldCache, SNSessionLoginType loginType);
    void authorize(const std::vector<std::string>& permissions, SNSessionLoginBehavior behavior,
                   SNSessionDefaultAudience audience, bool isReauthorize);
    void authorize(const std::vector<std::string>& permissions, SNSessionDefaultAudience audience, bool integratedAuth,
                   bool appAuth, bool browserAuth, bool fallback, bool isReauthorize);
    void authorizeUsingSystemAccountStore(const std::vector<std::string>& permissions,
                                          SNSessionDefaultAudience audience, bool isReauthorize);
    void finishSystemAccountRequest(const SNSystemAccountAnswer& answer, const std::vector<std::string>& permissions,
                                    SNSessionDefaultAudience audience, bool isReauthorize);
    bool handleOpenURLPreOpen(const SNDictionaryPtr& parameters, const std::string& accessToken,
                              SNSessionLoginType loginType);
    bool handleOpenURLReauthorize(const SNDictionaryPtr& parameters, const std::string& accessToken);
    void validateReauthorizedAccessToken(const std::string& token, Date expirationDate);
    void reauthorize(std::vector<std::string> permissions, bool isRead, SNSessionLoginBehavior behavior,
                     SNSessionDefaultAudience audience, ReauthorizeHandler handler);
    void completeReauthorize(const std::string& token, Date expirationDate,
                             const std::optional<std::vector<std::string>>& permissions);
    void callReauthorizeHandlerAndClearState(const SNError& error);
    void announce(const std::string& key, bool prior);
    void cacheToken();
    void checkThread() const;

    static SNError errorLoginFailed(const std::optional<std::string>& reason,
                                    const std::optional<std::string>& errorCode, SNErrorPtr innerError);

    std::optional<std::string> urlSchemeSuffix_;
    bool isInStateTransition_ = false;
    bool isSocialNetLoginToken_ = false;
    bool isOSIntegratedSocialNetLoginToken_ = false;
    SNSessionLoginType loginTypeOfPendingOpenUrlCallback_ = SNSessionLoginType::None;
    SNSessionDefaultAudience defaultDefaultAudience_ = SNSessionDefaultAudience::None;
    std::string appID_;
    std::vector<std::string> permissions_;
    SNSessionLoginType loginType_ = SNSessionLoginType::None;
    SNSessionState state_ = SNSessionState::Created;
    std::string accessToken_;
    std::optional<Date> expirationDate_;
    std::shared_ptr<SNSessionTokenCachingStrategy> tokenCachingStrategy_;
    std::optional<Date> refreshDate_;
    Date attemptedRefreshDate_ = kDistantPast;
    std::shared_ptr<SNLoginDialog> loginDialog_;
    std::thread::id affinitizedThread_;
    CompletionHandler loginHandler_;
    ReauthorizeHandler reauthorizeHandler_;
    std::vector<std::string> reauthorizePermissions_;
    std::vector<std::pair<uint64_t, Observer>> observers_;
    uint64_t nextObserverId_ = 1;
};

} // namespace socialnet
