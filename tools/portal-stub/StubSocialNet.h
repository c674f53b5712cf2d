#pragma once

#include "tools/portal-stub/StubCommands.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace portalstub {

class StubHttp;

// The social network as the stub plays it: its login page answers at once with a
// finish address carrying a new token "stub-<n>-<tag>", and the portal signs in
// whoever brings one of those tokens (command 2301) as the player "sn<n>". The pages
// and the game server run in different processes (one per client), so a token
// carries a tag made from a secret they share instead of a list of issued tokens.
class StubSocialNet {
public:
    explicit StubSocialNet(uint64_t secret) : secret_(secret) {}
    // The login page, in the process that serves the pages.
    void installPages(StubHttp& http);
    // The sign-in with a token (2301, admitted before a sign-in), on one client's game
    // server.
    StubCommand signInCommand();

    // n of a token made with this secret, or -1.
    int numberOf(const std::string& token) const;

private:
    void onSignIn(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    std::string issueToken();
    std::string tagOf(int n) const;

    uint64_t secret_;
    std::atomic<int> next_{1};
};

} // namespace portalstub
