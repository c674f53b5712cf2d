#include "tests/socialnet/SNRequestTestSupport.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Url.h"
#include "platform/runtime/RunLoop.h"
#include "sdk/socialnet/SNDataDiskCache.h"
#include "sdk/socialnet/SNLogger.h"
#include "sdk/socialnet/SNSettings.h"
#include "tests/support/StateWaits.h"

namespace socialnet::test {

void RequestFixture::SetUp() {
    SessionFixture::SetUp();
    bundle_ = platform::joinPath(platform::dataDirectory(), "bundle");
    platform::createDirectories(bundle_);
    const std::string base = network_.graphBase();
    platform::writeFileAtomically(
        bundle_ + "/Info.plist",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
        "<key>SocialNetDialogURL</key><string>" +
            loginHostBase() +
            "</string>\n"
            "<key>SocialNetGraphURL</key><string>" +
            base +
            "</string>\n"
            "<key>SocialNetRestURL</key><string>" +
            base +
            "</string>\n"
            "<key>SocialNetCDNHostSuffixes</key><array><string>localhost</string><string>cdn.invalid</string></array>\n"
            "</dict>\n</plist>\n");
    previousBundle_ = platform::Bundle::main().path();
    platform::Bundle::main().setMainPath(bundle_);
    SNDataDiskCache::resetSharedCacheForTesting(platform::joinPath(platform::dataDirectory(), "DataDiskCache"));
    SNSettings::setShouldAutoPublishInstall(false);
}

void RequestFixture::TearDown() {
    SNDataDiskCache::sharedCache().waitUntilIdle();
    SNSettings::setLoggingBehavior(std::nullopt);
    SNSettings::setShouldAutoPublishInstall(true);
    SNLogger::resetClassStateForTesting();
    platform::Bundle::main().setMainPath(previousBundle_);
    http_.reset(); // closes a connection a test left held: its request ends before the next test
    SessionFixture::TearDown();
}

std::shared_ptr<SNSession> RequestFixture::openSession(const std::string& token, bool dueForExtension, int loginType) {
    storeToken(token, SNSession::now() + 3600, {"email"}, loginType, dueForExtension);
    auto session = makeSession();
    session->openWithCompletionHandler(nullptr);
    return session;
}

SNRequest::CompletionHandler RequestFixture::recordInto(std::vector<Outcome>& outcomes) {
    return [&outcomes](SNRequestConnection&, const SNValue& result, const SNErrorPtr& error) {
        outcomes.push_back({result, error});
    };
}

bool RequestFixture::waitFor(const std::vector<Outcome>& outcomes, size_t count) {
    return platform::RunLoop::main().runUntil([&] { return outcomes.size() >= count; }, kavo::test::kStateWait);
}

std::vector<Outcome> RequestFixture::send(const std::shared_ptr<SNSession>& session,
                                          const std::vector<std::string>& paths) {
    std::vector<Outcome> outcomes;
    auto connection = std::make_shared<SNRequestConnection>();
    for (auto& path : paths)
        connection->addRequest(std::make_shared<SNRequest>(session, path), recordInto(outcomes));
    connection->start();
    EXPECT_TRUE(waitFor(outcomes, paths.size()));
    return outcomes;
}

std::vector<std::pair<std::string, std::string>> RequestFixture::lastQuery() const {
    auto requests = http_.requests();
    if (requests.empty()) return {};
    auto url = platform::Url::parse("http://127.0.0.1" + requests.back().path);
    return url ? url->queryItems() : platform::QueryItems{};
}

} // namespace socialnet::test
