#pragma once

#include "tools/portal-stub/StubCommands.h"

#include <cstddef>
#include <string>
#include <vector>

namespace portalstub {

// Registration (35) and password recovery (73), answered as a server answers them: a
// free name (no account has it, no stub player's, not "banned") becomes an account with
// the start money, which then signs in, and the answer gives the text message that
// confirms it; a taken name is answered as taken; a blank name, or one longer than the
// registration field shows, is not valid. Recovery answers the text message that asks for
// a password, the name to be added by the client. Both are admitted before a sign-in.
class StubRegistration {
public:
    // The number the text messages go to, and their first words.
    static constexpr const char* kSmsNumber = "8777";
    static constexpr const char* kRegisterPrefix = "KAVO DK ";
    static constexpr const char* kRecoverySyntax = "KAVO MK ?";
    // The longest name registered, in characters: as many as the client's registration
    // field shows at once (it sets no limit of its own).
    static constexpr size_t kLongestName = 20;

    static std::vector<StubCommand> commands();
    // "The user name is not valid", in the player's language.
    static std::string notValid();
};

} // namespace portalstub
