#pragma once

#include "platform/runtime/Clock.h"
#include "sdk/socialnet/SNLoginPlatform.h"
#include "sdk/socialnet/SNSession.h"
#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace socialnet::test {

// The system's answers as a test sets them, with every address it was asked to open.
class FakeLoginPlatform : public SNLoginPlatform {
public:
    bool multitasking = false;
    bool systemAccount = false;
    // Addresses whose scheme (text before ':') opens.
    std::vector<std::string> openableSchemes;
    SNSystemAccountAnswer accountAnswer;

    std::vector<std::string> opened;
    std::vector<std::string> cookieHosts;
    int accessRequests = 0;
    int renewals = 0;
    std::vector<std::string> requestedPermissions;
    std::optional<std::string> requestedAudience;

    bool isMultitaskingSupported() override { return multitasking; }
    bool openURL(const std::string& url) override;
    bool hasSystemAccountType() override { return systemAccount; }
    void requestSystemAccountAccess(const std::string& appID, const std::vector<std::string>& permissions,
                                    const std::optional<std::string>& audience, AccessCompletion completion) override;
    void renewSystemAccountCredentials(std::function<void(int, std::string)> completion) override {
        ++renewals;
        completion(1, {});
    }
    void deleteCookiesForHost(const std::string& host) override { cookieHosts.push_back(host); }
};

struct Heard {
    SNSessionState state;
    std::string reason; // the login-failed reason, empty when no error
    bool hasError;
};

// Each test: a fresh data folder (user defaults), the manual clock, the main run
// loop on this thread, the fake platform installed, no active session, app id "123",
// and a bundle whose login, graph and REST hosts are loginHost_: a login page the
// dialog loads is asked for there and never answered, so no test depends on when a
// page would come back and nothing leaves this machine.
class SessionFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::shared_ptr<SNSession> makeSession(std::vector<std::string> permissions = {},
                                           std::shared_ptr<SNSessionTokenCachingStrategy> cache = nullptr);
    SNSession::CompletionHandler recorder();
    // Runs posted work and moves the manual clock.
    void advance(double seconds);
    // Stores a valid token dictionary in the default cache.
    static void storeToken(const std::string& token, double expiresAt, std::vector<std::string> permissions = {},
                           int loginType = 2, bool isLoginToken = true);

    // "http://127.0.0.1:<port>" of loginHost_.
    std::string loginHostBase() const { return loginHost_.url(""); }

    kavo::test::TestHttpServer loginHost_;
    std::shared_ptr<FakeLoginPlatform> platform_ = std::make_shared<FakeLoginPlatform>();
    std::vector<Heard> heard;
    std::vector<std::string> logLines;

private:
    // Ends the requests loginHost_ holds (each fails, and its failure is logged, on a worker
    // thread) and waits until no request of the test is underway, so that none ends in a
    // later test, in its log.
    void endHeldRequests();

    std::unique_ptr<platform::ScopedManualClock> clock_;
    std::string dataPath_;
    std::string previousBundle_;
};

} // namespace socialnet::test
