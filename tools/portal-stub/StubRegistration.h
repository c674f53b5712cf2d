#pragma once

#include "tests/support/TestPortal.h"

namespace portalstub {

// Registration (35) and password recovery (73), answered as a server answers them: a
// free name (no account has it, no stub player's, not a blank one nor "banned") becomes
// an account with the start money, which then signs in, and the answer gives the text
// message that confirms it; a taken name is answered as taken. Recovery answers the
// text message that asks for a password, the name to be added by the client.
class StubRegistration {
public:
    // The number the text messages go to, and their first words.
    static constexpr const char* kSmsNumber = "8777";
    static constexpr const char* kRegisterPrefix = "KAVO DK ";
    static constexpr const char* kRecoverySyntax = "KAVO MK ?";

    static void install(kavo::test::TestPortal& portal);
};

} // namespace portalstub
