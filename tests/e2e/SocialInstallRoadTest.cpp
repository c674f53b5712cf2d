// The install announcement end to end: signing in through the social network makes
// the session, whose creation announces the install once to the fake network.
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/AdvertisingId.h"
#include "platform/services/Pasteboard.h"
#include "sdk/socialnet/SNSettings.h"
#include "tests/support/Bytes.h"
#include "tests/support/FakeSocialNetwork.h"
#include "tests/support/StateWaits.h"
#include "tests/support/client/ClientTestSupport.h"

using namespace kavo;
using namespace kavo::test;

namespace {

constexpr const char* kApp = "000000000000000";

class SocialInstallRoad : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        std::string info = ClientWorld::get().bundlePath() + "/Info.plist";
        auto plist = platform::PropertyList::readFile(info);
        plist.set("SocialNetDialogURL", network_.dialogBase());
        plist.set("SocialNetGraphURL", network_.graphBase());
        plist.set("SocialNetRestURL", network_.graphBase());
        platform::PropertyList::writeFile(info, plist);
        platform::Bundle::main().setMainPath(ClientWorld::get().bundlePath());
        portal().onCommand(2301, [](Message&, TestPortal::Reply& reply) {
            reply.send(
                Bytes().int32(ClientWorld::kPlayerId).int64(ClientWorld::kPlayerMoney).int16(1).int32(2500).message(3));
        });
        socialnet::SNSettings::resetInstallPingForTesting();
        platform::UserDefaults::standard().removeObjectForKey(std::string("com.socialnet.sdk:lastAttributionPing") +
                                                              kApp);
        platform::Pasteboard::named("sn_app_attribution").clear();
        platform::AdvertisingId::setIdentifierForTesting("");
        network_.finishWithToken("T-install", 3600);
        network_.answerGraph(std::string("/") + kApp, R"({"supports_attribution":true})");
        network_.answerGraph(std::string("/") + kApp + "/activities", "true");
    }
    void TearDown() override {
        platform::Pasteboard::named("sn_app_attribution").clear();
        ClientFixture::TearDown();
    }

    // Signs in with the network, lets the announcement's 0.1 s pass and waits until the
    // network has had `requests` of the announcement's requests.
    void signInAndSettle(size_t requests) {
        launch();
        ASSERT_TRUE(drives(std::string("screen LoginView\nadvance 0.1\ntap id=btnLoginSN\nwait text=") +
                           ClientWorld::kServerName + "\ntap text=" + ClientWorld::kServerName + "\n"));
        ASSERT_TRUE(waitForCommand(2301)) << log();
        for (int i = 0; i < 20; ++i)
            drive("advance 0.1\n");
        EXPECT_TRUE(
            platform::RunLoop::main().runUntil([&] { return installRequests().size() >= requests; }, kStateWait));
        drive("advance 0.1\n");
    }
    std::vector<std::string> installRequests() {
        std::vector<std::string> paths;
        for (auto& path : network_.requestedPaths())
            if (path.rfind(std::string("/") + kApp, 0) == 0) paths.push_back(path.substr(0, path.find('?')));
        return paths;
    }
    platform::Value storedDate() {
        return platform::UserDefaults::standard().objectForKey(std::string("com.socialnet.sdk:lastAttributionPing") +
                                                               kApp);
    }

    FakeSocialNetwork network_{http()};
};

TEST_F(SocialInstallRoad, AnAttributionIdIsAnnouncedOnceAfterTheSignIn) {
    platform::Pasteboard::named("sn_app_attribution").setString("ATTR-road");
    signInAndSettle(2);
    EXPECT_EQ(installRequests(),
              (std::vector<std::string>{std::string("/") + kApp, std::string("/") + kApp + "/activities"}))
        << log();
    // The date is stored by the post's answer, which the client handles after the server
    // has recorded the post: on a loaded machine, later than one turn of the loop.
    EXPECT_TRUE(platform::RunLoop::main().runUntil([&] { return !storedDate().isNull(); }, kStateWait));
}

TEST_F(SocialInstallRoad, WithoutAnyIdNothingIsAnnounced) {
    signInAndSettle(0);
    // An announcement that must not be made.
    EXPECT_TRUE(nothingComesWithin(0.3, [&] { return !installRequests().empty() || !storedDate().isNull(); }));
    EXPECT_TRUE(installRequests().empty());
    EXPECT_TRUE(storedDate().isNull());
}

} // namespace
