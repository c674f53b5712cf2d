#include "app/Resources.h"
#include "platform/foundation/Bundle.h"
#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

namespace kavo {
namespace {

using test::AppEnvironment;
using test::TempFolder;

std::string configWithPort(const std::string& portElement) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
           "<key>Server</key><string>10.0.0.5</string><key>Port</key>" +
           portElement + "</dict></plist>";
}

TEST(Configuration, TheShippedConfigurationPointsAtTheLocalPortal) {
    AppEnvironment env;
    Resources resources;
    EXPECT_EQ(resources.configString("Server"), "127.0.0.1");
    EXPECT_EQ(resources.configInt("Port"), 12346);
    EXPECT_EQ(resources.configString("LinkServer"), "http://127.0.0.1:12347/servers.txt");
    EXPECT_EQ(resources.configString("ServerName"), "Kavo Local|127.0.0.1:12346");
    EXPECT_TRUE(resources.configBool("AppStore"));
    EXPECT_EQ(resources.configString("Hotline"), "19001234");
    EXPECT_EQ(resources.configString("LinkEvent"), "http://127.0.0.1:12347/event.html");
    EXPECT_EQ(resources.configString("LinkGuide"), "http://127.0.0.1:12347/guide.html");
    EXPECT_EQ(resources.configString("PaymentUrl"), "http://127.0.0.1:12347/payment.txt");
}

TEST(Configuration, APortWrittenAsTextOrAsANumberGivesTheSamePort) {
    for (const std::string element : {"<integer>12346</integer>", "<string>12346</string>"}) {
        TempFolder bundle;
        bundle.write("KavoOnlineConfig.plist", configWithPort(element));
        AppEnvironment env(bundle.path());
        Resources resources;
        EXPECT_EQ(resources.configInt("Port"), 12346) << element;
        EXPECT_EQ(resources.configString("Server"), "10.0.0.5");
    }
}

TEST(Configuration, AMissingFileLeavesEveryKeyEmptyAndTheStoreOff) {
    TempFolder bundle;
    AppEnvironment env(bundle.path());
    Resources resources;
    EXPECT_TRUE(resources.kavoConfig().isNull());
    EXPECT_EQ(resources.configString("Server"), "");
    EXPECT_EQ(resources.configInt("Port"), 0);
    EXPECT_FALSE(resources.configBool("AppStore"));
}

TEST(Configuration, TheBundleInformationGivesVersionProviderAndSocialNetApp) {
    AppEnvironment env;
    auto& bundle = platform::Bundle::main();
    EXPECT_EQ(bundle.objectForInfoKey("CFBundleVersion").stringValue(), "1.0.0");
    EXPECT_EQ(bundle.objectForInfoKey("Provider").intValue(), 1);
    EXPECT_EQ(bundle.objectForInfoKey("SocialNetAppID").stringValue(), "000000000000000");
    EXPECT_EQ(bundle.objectForInfoKey("CFBundleIdentifier").stringValue(), "vn.kavo.online");
}

} // namespace
} // namespace kavo
