#pragma once

namespace kavo {

// The log-in form stores the typed password as "password" so that the sign-in that
// follows the server choice can send it. With the remember switch ("savednextLogin")
// off, that copy must not outlive the attempt: once it ends (signed in, refused, or
// the connection failed) the stored password is emptied. "KAVO_LOGIN_OLDPASS" is
// kept: the change-password road relies on it.
class RememberedLogin {
public:
    static void signInAttemptEnded();
};

} // namespace kavo
