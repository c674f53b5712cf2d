#pragma once

#include <atomic>
#include <mutex>
#include <set>
#include <string>

namespace kavo::test {
class TestPortal;
}

namespace portalstub {

class StubHttp;

// The social network as the stub plays it: its login page answers at once with a
// finish address carrying a new token "stub-<n>", and the portal signs in whoever
// brings one of those tokens (command 2301) as the player "sn<n>".
class StubSocialNet {
public:
    void install(StubHttp& http, kavo::test::TestPortal& portal);

private:
    std::string issueToken();
    // n of a token this stub issued, or -1.
    int numberOf(const std::string& token);

    std::atomic<int> next_{1};
    std::mutex mutex_;
    std::set<std::string> issued_;
};

} // namespace portalstub
