#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace socialnet {

// The session's states: 0x200 marks the open ones, 0x100 the terminal ones.
enum class SNSessionState : int32_t {
    Created = 0,
    CreatedTokenLoaded = 1,
    CreatedOpening = 2,
    Open = 1 | 0x200,
    OpenTokenExtended = 2 | 0x200,
    ClosedLoginFailed = 1 | 0x100,
    Closed = 2 | 0x100,
};

// How the current token was obtained.
enum class SNSessionLoginType : int32_t { None = 0, SystemAccount = 1, NativeApp = 2, Browser = 3, WebDialog = 4 };

// Who may see what a publish permission posts.
enum class SNSessionDefaultAudience : int32_t { None = 0, JustMe = 10, Friends = 20, Everyone = 30 };

// Which login routes opening (or reauthorizing) may try.
enum class SNSessionLoginBehavior : int32_t { WithDialogFallback = 0, NoDialog = 1, DialogOnly = 2, SystemAccount = 3 };

inline constexpr const char* SNErrorDomain = "com.socialnet.sdk";
inline constexpr int32_t SNErrorCodeLoginFailed = 2;
inline constexpr const char* SNErrorLoginFailedReasonKey = "com.socialnet.sdk:ErrorLoginFailedReason";
inline constexpr const char* SNErrorLoginFailedOriginalErrorCodeKey =
    "com.socialnet.sdk:ErrorLoginFailedOriginalErrorCode";
inline constexpr const char* SNErrorInnerErrorKey = "com.socialnet.sdk:ErrorInnerErrorKey";

// Reasons a login or reauthorization failed.
inline constexpr const char* SNErrorLoginFailedReason = "com.socialnet.sdk:ErrorLoginFailedReason";
inline constexpr const char* SNErrorLoginNotCancelled = "com.socialnet.sdk:ErrorLoginNotCancelled";
inline constexpr const char* SNErrorInlineLoginCancelled = "com.socialnet.sdk:InlineLoginCancelled";
inline constexpr const char* SNErrorReauthorizeFailedReasonSessionClosed =
    "com.socialnet.sdk:ErrorReauthorizeFailedReasonSessionClosed";
inline constexpr const char* SNErrorReauthorizeFailedReasonUserCancelled =
    "com.socialnet.sdk:ErrorReauthorizeFailedReasonUserCancelled";
inline constexpr const char* SNErrorReauthorizeFailedReasonWrongUser =
    "com.socialnet.sdk:ErrorReauthorizeFailedReasonWrongUser";

// Notifications about the process-wide active session (sender: the session).
inline constexpr const char* SNSessionDidSetActiveSessionNotification =
    "com.socialnet.sdk:SNSessionDidSetActiveSessionNotification";
inline constexpr const char* SNSessionDidUnsetActiveSessionNotification =
    "com.socialnet.sdk:SNSessionDidUnsetActiveSessionNotification";
inline constexpr const char* SNSessionDidBecomeOpenActiveSessionNotification =
    "com.socialnet.sdk:SNSessionDidBecomeOpenActiveSessionNotification";
inline constexpr const char* SNSessionDidBecomeClosedActiveSessionNotification =
    "com.socialnet.sdk:SNSessionDidBecomeClosedActiveSessionNotification";

// Raised only for misuse of a session by its owner (opening twice, no app id, ...),
// never for what the network or the user does.
class SNInvalidOperationException : public std::logic_error {
public:
    static constexpr const char* kName = "com.socialnet.sdk:InvalidOperationException";
    explicit SNInvalidOperationException(const std::string& reason) : std::logic_error(reason) {}
    const char* name() const { return kName; }
};

} // namespace socialnet
