#pragma once

#include <string>

namespace kavo {

// The account the log-in form remembers ("uname", "password"), filled in each time the
// form is built while the remember switch ("savednextLogin") is on.
//
// The form stores the typed password as "password" so that the sign-in that follows the
// server choice can send it. With the switch off, that copy must not outlive the attempt:
// once it ends (signed in, refused, or the connection failed) the stored password is
// emptied. "KAVO_LOGIN_OLDPASS" is kept: the change-password road relies on it.
//
// An account the server opens for a registration becomes the remembered one: the player
// finds it in the form the next time he opens it, and after a restart.
class RememberedLogin {
public:
    static void signInAttemptEnded();
    // Remembers the new account's name, and its password while the switch is on (or
    // before the form was ever built, when the switch starts on); with the switch off no
    // password is kept, the new account's or an older one's.
    static void rememberNewAccount(const std::string& name, const std::string& password);
};

} // namespace kavo
