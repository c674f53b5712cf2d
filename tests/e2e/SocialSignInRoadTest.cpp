// Signing in with the social network end to end: the client runs headless against the
// test portal, and the network's login page is a fake on the test HTTP server.
#include "app/KavoOnlineAppDelegate.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/render/Renderer.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Screen.h"
#include "sdk/socialnet/SNSession.h"
#include "tests/support/Bytes.h"
#include "tests/support/FakeSocialNetwork.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdlib>
#include <functional>
#include <mutex>
#include <regex>

using namespace kavo;
using namespace kavo::test;

namespace {

std::vector<uint8_t> utfField(const std::string& text) {
    std::vector<uint8_t> bytes{uint8_t(text.size() >> 8), uint8_t(text.size() & 0xFF)};
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

class SocialSignInRoad : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        // The bundle's login host becomes the fake network.
        std::string info = ClientWorld::get().bundlePath() + "/Info.plist";
        auto plist = platform::PropertyList::readFile(info);
        plist.set("SocialNetDialogURL", network_.dialogBase());
        platform::PropertyList::writeFile(info, plist);
        platform::Bundle::main().setMainPath(ClientWorld::get().bundlePath());
        portal().onCommand(2301, [](Message&, TestPortal::Reply& reply) {
            reply.send(
                Bytes().int32(ClientWorld::kPlayerId).int64(ClientWorld::kPlayerMoney).int16(1).int32(2500).message(3));
        });
    }

    std::string chooseSocialNetwork() {
        return std::string("screen LoginView\nadvance 0.1\ntap id=btnLoginSN\nwait text=") + ClientWorld::kServerName +
               "\ntap text=" + ClientWorld::kServerName + "\n";
    }

    std::vector<std::vector<uint8_t>> tokensSent() {
        std::vector<std::vector<uint8_t>> bodies;
        for (auto& message : portal().messages())
            if (message.commandId == 2301) bodies.push_back(message.body);
        return bodies;
    }

    // The page is fetched in real time and the dialog's fade runs on the manual clock:
    // both move until `done`, for at most 30 s of real time.
    [[nodiscard]] bool pageUntil(const std::function<bool()>& done) {
        return platform::RunLoop::main().runUntil(
            [&] {
                advance(0.01);
                return done();
            },
            kStateWait);
    }

    FakeSocialNetwork network_{http()};
};

TEST_F(SocialSignInRoad, TheNetworksPageSignsThePlayerInAndTheTokenIsKeptForNextTime) {
    network_.finishWithToken("T-road", 3600);
    launch();
    ASSERT_TRUE(drives(chooseSocialNetwork()));
    ASSERT_TRUE(waitForCommand(2301)) << log();
    EXPECT_EQ(network_.loginPageRequests(), 1u);
    EXPECT_EQ(tokensSent(), std::vector<std::vector<uint8_t>>{utfField("T-road")});
    auto session = KavoOnlineAppDelegate::getInstance().session();
    ASSERT_TRUE(session);
    EXPECT_EQ(session->stateValue(), 513);
    EXPECT_EQ(session->loginType(), socialnet::SNSessionLoginType::WebDialog);
    auto cached = platform::UserDefaults::standard().objectForKey("SNAccessTokenInformationKey");
    EXPECT_EQ(cached.get(socialnet::SNTokenInformationTokenKey).stringValue(), "T-road");
    EXPECT_FALSE(cached.contains(socialnet::SNTokenInformationIsSocialNetLoginKey));
    EXPECT_TRUE(drives("screen GameView\nadvance 1\nexpect-not id=snDialog\n"));

    // A second sign-in takes the cached token without the page.
    auto second = std::make_shared<socialnet::SNSession>();
    EXPECT_EQ(second->stateValue(), 1);
    EXPECT_EQ(second->accessToken(), "T-road");
}

TEST_F(SocialSignInRoad, TheTokenNeverReachesTheLog) {
    std::vector<std::string> lines;
    std::mutex linesMutex;
    platform::setLogSink([&](const std::string& line) {
        std::lock_guard lock(linesMutex);
        lines.push_back(line);
    });
    network_.finishWithToken("T-secret-road-91", 3600);
    launch();
    auto result = drive(chooseSocialNetwork());
    bool sent = waitForCommand(2301);
    platform::setLogSink({});
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    ASSERT_TRUE(sent) << log();
    EXPECT_EQ(tokensSent(), std::vector<std::vector<uint8_t>>{utfField("T-secret-road-91")});
    bool sawLength = false;
    for (auto& line : lines) {
        EXPECT_EQ(line.find("T-secret-road-91"), std::string::npos) << line;
        sawLength = sawLength || line.find("requestAccessTokenSN: token of 16 characters") != std::string::npos;
    }
    EXPECT_TRUE(sawLength);
    EXPECT_EQ(log().find("T-secret-road-91"), std::string::npos);
}

TEST_F(SocialSignInRoad, TheDefaultsFileAfterASocialSignInIsAStandardPropertyList) {
    network_.finishWithToken("T-plist", 3600);
    launch();
    ASSERT_TRUE(drives(chooseSocialNetwork()));
    ASSERT_TRUE(waitForCommand(2301)) << log();
    platform::UserDefaults::standard().flush();
    const std::string path = platform::joinPath(platform::dataDirectory(), "defaults.plist");
    const std::string text = platform::readTextFile(path).value_or("");
    ASSERT_NE(text.find("<key>SNAccessTokenInformationKey</key>"), std::string::npos) << text;
    // Every date in whole seconds: YYYY-MM-DDThh:mm:ssZ.
    const std::regex date("<date>([^<]*)</date>");
    const std::regex standard("[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z");
    int dates = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), date); it != std::sregex_iterator(); ++it, ++dates)
        EXPECT_TRUE(std::regex_match((*it)[1].str(), standard)) << (*it)[1].str();
    EXPECT_GE(dates, 2) << text;
    // The system's own property-list reader loads it, when the machine has one.
    if (std::system("command -v python3 >/dev/null 2>&1") == 0) {
        const std::string command = "python3 -c 'import plistlib,sys; d=plistlib.load(open(sys.argv[1],\"rb\")); "
                                    "sys.exit(0 if \"SNAccessTokenInformationKey\" in d else 3)' '" +
                                    path + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << text;
    }
}

TEST_F(SocialSignInRoad, ACancelledPageLeavesTheLogInScreen) {
    network_.finishWithCancel();
    launch();
    ASSERT_TRUE(drives(chooseSocialNetwork()));
    auto session = KavoOnlineAppDelegate::getInstance().session();
    ASSERT_TRUE(session);
    ASSERT_TRUE(pageUntil([&] { return session->stateValue() == 257; }));
    advance(1);
    EXPECT_EQ(session->stateValue(), 257);
    ASSERT_TRUE(portalCaughtUp());
    EXPECT_TRUE(tokensSent().empty());
    EXPECT_TRUE(drives("screen LoginView\n"));
}

TEST_F(SocialSignInRoad, TheLoginDialogCoversTheLogInScreenOnPhoneAndTablet) {
    for (auto idiom : {platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet}) {
        network_.showLoginPage(); // SetUp resets the web server's answers
        platform::ui::Screen::setIdiom(idiom);
        launch();
        ASSERT_TRUE(drives(chooseSocialNetwork()));
        auto session = KavoOnlineAppDelegate::getInstance().session();
        ASSERT_TRUE(session && session->loginDialog());
        auto page = session->loginDialog()->webView();
        ASSERT_TRUE(pageUntil([&] { return page->pageText().find("Log in") != std::string::npos; }));
        advance(1);
        EXPECT_NE(page->pageText().find("Email or phone"), std::string::npos);
        EXPECT_TRUE(session->loginDialog()->isOnScreen());
        std::string name = idiom == platform::ui::Idiom::Phone ? "phone" : "tablet";
        EXPECT_TRUE(platform::render::Renderer::writeScreenshot("social-login-dialog-" + name + ".png"));
        // The panel takes the whole phone screen, 0.6 of the tablet's.
        platform::ui::Rect frame = session->loginDialog()->frame();
        EXPECT_EQ(frame.width(), idiom == platform::ui::Idiom::Phone ? 480 : 614);
        EXPECT_EQ(frame.height(), idiom == platform::ui::Idiom::Phone ? 320 : 460);
        session->loginDialog()->cancel();
        advance(1);
        EXPECT_EQ(session->stateValue(), 257);
        if (idiom == platform::ui::Idiom::Phone) TearDown(), SetUp();
    }
    platform::ui::Screen::setIdiom(platform::ui::Idiom::Phone);
}

} // namespace
