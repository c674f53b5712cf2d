#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace socialnet {

// The session's states. The open ones carry the bit kOpenMask, the closed ones kClosedMask.
enum class SNSessionState : int32_t {
    Created = 0,
    CreatedTokenLoaded = 1,
    CreatedOpening = 2,
    Open = 1 | 0x200,
    OpenTokenExtended = 2 | 0x200,
    ClosedLoginFailed = 1 | 0x100,
    Closed = 2 | 0x100,
};

// The error a session reports (empty when none).
struct SNError {
    int32_t code = 0;
    std::string message;
    bool empty() const { return code == 0 && message.empty(); }
};

// The social network's log-in object. It is made with the application id of the
// bundle ("SocialNetAppID") and opened once; each state change is reported to the
// handler given to openWithCompletionHandler, on the calling thread. A log-in goes
// through the network's own page, whose answer comes back as an address handed to
// handleOpenURL. This client has no way to reach that page, so opening ends in a
// failed log-in at once, with an error that says so.
class SNSession : public std::enable_shared_from_this<SNSession> {
public:
    static constexpr int32_t kOpenMask = 0x200;
    static constexpr int32_t kClosedMask = 0x100;
    static constexpr int32_t kErrorLoginFailed = 2;
    static constexpr int32_t kErrorInvalidOperation = 3;

    using CompletionHandler = std::function<void(SNSession& session, SNSessionState state, const SNError& error)>;

    // The application id from the bundle, default permissions, no URL-scheme suffix.
    SNSession();
    SNSession(std::string appID, std::vector<std::string> permissions, std::string urlSchemeSuffix = {});
    ~SNSession();

    // The session the application is using, or nullptr.
    static std::shared_ptr<SNSession> activeSession();
    static void setActiveSession(std::shared_ptr<SNSession> session);

    SNSessionState state() const { return state_; }
    int32_t stateValue() const { return static_cast<int32_t>(state_); }
    bool isOpen() const { return (stateValue() & kOpenMask) != 0; }
    // Empty before a log-in.
    const std::string& accessToken() const { return accessToken_; }
    const std::string& appID() const { return appID_; }
    const std::vector<std::string>& permissions() const { return permissions_; }
    // The address scheme the log-in answer comes back on: "sn<appID><suffix>".
    std::string callbackScheme() const;

    // Opens the session. Only a created or token-loaded session can be opened; any
    // other is refused: the handler hears the unchanged state with
    // kErrorInvalidOperation. Otherwise the handler hears CreatedOpening, then, as the
    // log-in page cannot be reached, ClosedLoginFailed with kErrorLoginFailed.
    void openWithCompletionHandler(CompletionHandler handler);
    // True when the address uses this session's callback scheme. While a log-in is
    // opening, an answer with "access_token" opens the session and one with "error"
    // closes it as failed.
    bool handleOpenURL(const std::string& url);
    // The application became active while a log-in was still opening: the player
    // left the log-in page, so the session closes as failed.
    void handleDidBecomeActive();
    // Closes the session (Closed) and forgets the token.
    void close();

private:
    void changeState(SNSessionState state, const SNError& error);

    std::string appID_;
    std::vector<std::string> permissions_;
    std::string urlSchemeSuffix_;
    SNSessionState state_ = SNSessionState::Created;
    std::string accessToken_;
    CompletionHandler handler_;
};

} // namespace socialnet
