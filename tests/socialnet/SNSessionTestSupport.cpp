#include "tests/socialnet/SNSessionTestSupport.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/HttpClient.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"

#include <cstdlib>
#include <filesystem>

namespace socialnet::test {

bool FakeLoginPlatform::openURL(const std::string& url) {
    opened.push_back(url);
    std::string scheme = url.substr(0, url.find(':'));
    for (auto& openable : openableSchemes)
        if (openable == scheme) return true;
    return false;
}

void FakeLoginPlatform::requestSystemAccountAccess(const std::string&, const std::vector<std::string>& permissions,
                                                   const std::optional<std::string>& audience,
                                                   AccessCompletion completion) {
    ++accessRequests;
    requestedPermissions = permissions;
    requestedAudience = audience;
    completion(accountAnswer);
}

void SessionFixture::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sn-session-XXXXXX").string();
    dataPath_ = mkdtemp(pattern.data()) ? pattern : std::string();
    platform::setDataDirectory(dataPath_);
    platform::UserDefaults::standard().reset();
    loginHost_.holdConnections();
    const std::string base = loginHostBase();
    const std::string bundle = platform::joinPath(dataPath_, "login-bundle");
    platform::createDirectories(bundle);
    platform::writeFileAtomically(bundle + "/Info.plist",
                                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
                                  "<key>SocialNetDialogURL</key><string>" +
                                      base + "</string>\n<key>SocialNetGraphURL</key><string>" + base +
                                      "</string>\n<key>SocialNetRestURL</key><string>" + base +
                                      "</string>\n</dict>\n</plist>\n");
    previousBundle_ = platform::Bundle::main().path();
    platform::Bundle::main().setMainPath(bundle);
    clock_ = std::make_unique<platform::ScopedManualClock>();
    platform::RunLoop::main().bindToCurrentThread();
    SNLoginPlatform::setCurrent(platform_);
    SNSession::setActiveSession(nullptr);
    SNSession::setDefaultAppID(std::string("123"));
    platform::setLogSink([this](const std::string& line) { logLines.push_back(line); });
}

void SessionFixture::TearDown() {
    SNSession::setActiveSession(nullptr);
    advance(1);
    endHeldRequests();
    platform::setLogSink({});
    SNSession::setDefaultAppID(std::nullopt);
    SNLoginPlatform::setCurrent(nullptr);
    platform::ui::Application::shared().reset();
    clock_.reset();
    platform::UserDefaults::standard().reset();
    platform::Bundle::main().setMainPath(previousBundle_);
    std::error_code ignored;
    if (!dataPath_.empty()) std::filesystem::remove_all(dataPath_, ignored);
}

void SessionFixture::endHeldRequests() {
    loginHost_.serveTexts(); // a request still on its way is answered, and logs nothing
    loginHost_.reset();      // closes the held connections: each of those requests fails
    // Counting the failed requests' lines instead would miss one the server reads only now (it
    // holds reads back under KAVO_PORTAL_HOLD_BACK) and count one it answered meanwhile.
    EXPECT_TRUE(platform::RunLoop::main().runUntil([] { return platform::HttpClient::requestsUnderway() == 0; }, 30))
        << platform::HttpClient::requestsUnderway() << " requests still underway";
}

std::shared_ptr<SNSession> SessionFixture::makeSession(std::vector<std::string> permissions,
                                                       std::shared_ptr<SNSessionTokenCachingStrategy> cache) {
    return std::make_shared<SNSession>(std::nullopt, std::move(permissions), SNSessionDefaultAudience::None,
                                       std::nullopt, std::move(cache));
}

SNSession::CompletionHandler SessionFixture::recorder() {
    return [this](SNSession&, SNSessionState state, const SNError& error) {
        heard.push_back({state, error.info(SNErrorLoginFailedReasonKey), !error.empty()});
    };
}

void SessionFixture::advance(double seconds) {
    platform::RunLoop::main().advance(seconds);
}

void SessionFixture::storeToken(const std::string& token, double expiresAt, std::vector<std::string> permissions,
                                int loginType, bool isLoginToken) {
    platform::Value information = platform::Value::emptyDictionary();
    information.set(SNTokenInformationTokenKey, token);
    information.set(SNTokenInformationExpirationDateKey, platform::Value::date(expiresAt));
    if (isLoginToken) information.set(SNTokenInformationIsSocialNetLoginKey, true);
    information.set(SNTokenInformationLoginTypeLoginKey, loginType);
    platform::Value list = platform::Value::emptyArray();
    for (auto& permission : permissions)
        list.append(permission);
    information.set(SNTokenInformationPermissionsKey, list);
    SNSessionTokenCachingStrategy::defaultInstance()->cacheTokenInformation(information);
}

} // namespace socialnet::test
