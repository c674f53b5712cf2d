#pragma once

#include "tests/support/TestHttpServer.h"

#include <string>

namespace kavo::test {

// The social network's login host as tests play it, on a TestHttpServer: GET
// /dialog/oauth answers at once with a redirect to the finish address the test
// chose (a token, a cancel or an error), as the real page does once the person
// has signed in.
class FakeSocialNetwork {
public:
    explicit FakeSocialNetwork(TestHttpServer& http) : http_(http) {}

    // "http://127.0.0.1:<port>": what the bundle's "SocialNetDialogURL" names.
    std::string dialogBase() const { return "http://127.0.0.1:" + std::to_string(http_.port()); }

    void finishWithToken(const std::string& token, int expiresIn);
    void finishWithCancel();
    void finishWithError(int code, const std::string& message);
    // The page itself (200) where a person would type: the dialog stays up.
    void showLoginPage();
    // Requests the login page received.
    size_t loginPageRequests() const;

private:
    void redirectTo(const std::string& location);
    TestHttpServer& http_;
};

} // namespace kavo::test
