#include "app/Resources.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/SourceDir.h"

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

// The server choice's own entry names the game server the other roads connect to, and a
// copy of the bundle for a server elsewhere (a test's, a run on other ports) reaches every
// page there.
TEST(Configuration, TheShippedServerEntryAndPagesReachOnePortal) {
    AppEnvironment env;
    Resources resources;
    const std::string entry = resources.configString("ServerName");
    EXPECT_EQ(entry.substr(entry.find('|') + 1),
              resources.configString("Server") + ":" + std::to_string(resources.configInt("Port")));
    TempFolder bundle;
    const std::string elsewhere = "http://127.0.0.1:1";
    bundle.write("KavoOnlineConfig.plist", test::shippedResourceServedBy("KavoOnlineConfig.plist", elsewhere));
    AppEnvironment copy(bundle.path());
    Resources moved;
    for (const char* page : {"LinkServer", "LinkEvent", "LinkGuide", "PaymentUrl"})
        EXPECT_EQ(moved.configString(page).rfind(elsewhere + "/", 0), 0u) << page;
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

} // namespace
} // namespace kavo
