#pragma once

#include "tools/portal-stub/StubCommands.h"

#include <string>
#include <vector>

namespace portalstub {

// Registration (35) and password recovery (73), answered as a server answers them: a
// free name (no account has it, none reads like it, no stub player's, not "banned")
// becomes an account with the start money, kept under the name's normal form
// (StubNameBook), which then signs in, and the answer gives the text message that
// confirms it; a taken name is answered as taken; a blank name, or one no person can read
// (StubNames: a control or a line separator in it, a blank at either end or a no-break
// space, or longer than the name fields show), is not valid, and one that reads like
// another player's is refused so: neither answer repeats the name. Recovery answers the
// text message that asks for a password, the name to be added by the client. Both are
// admitted before a sign-in.
class StubRegistration {
public:
    // The number the text messages go to, and their first words.
    static constexpr const char* kSmsNumber = "8777";
    static constexpr const char* kRegisterPrefix = "KAVO DK ";
    static constexpr const char* kRecoverySyntax = "KAVO MK ?";

    static std::vector<StubCommand> commands();
    // "The user name is not valid", in the player's language.
    static std::string notValid();
};

} // namespace portalstub
