#include "tests/support/FakeSocialNetwork.h"

namespace kavo::test {

void FakeSocialNetwork::redirectTo(const std::string& location) {
    http_.serveAnswer("/dialog/oauth", {302, {"Location: " + location}, ""});
}

void FakeSocialNetwork::finishWithToken(const std::string& token, int expiresIn) {
    redirectTo("snconnect://success#access_token=" + token + "&expires_in=" + std::to_string(expiresIn));
}

void FakeSocialNetwork::finishWithCancel() {
    redirectTo("snconnect://cancel");
}

void FakeSocialNetwork::finishWithError(int code, const std::string& message) {
    redirectTo("snconnect://cancel?error_code=" + std::to_string(code) + "&error_msg=" + message);
}

void FakeSocialNetwork::showLoginPage() {
    http_.serveAnswer("/dialog/oauth",
                      {200, {}, "<html><body><h1>Log in</h1><p>Email or phone</p><p>Password</p></body></html>"});
}

size_t FakeSocialNetwork::loginPageRequests() const {
    size_t count = 0;
    for (auto& request : http_.requests())
        if (request.path.rfind("/dialog/oauth", 0) == 0) ++count;
    return count;
}

} // namespace kavo::test
