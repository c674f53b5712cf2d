// scripts/run with the stub on other ports than the shipped configuration's: the copy of
// the bundle it writes names those ports everywhere, and the client started with that
// copy (its own process) signs in through the social network on the moved stub.
#include "platform/foundation/PropertyList.h"
#include "tests/e2e/StubRun.h"
#include "tests/support/client/ClientTestSupport.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace kavo;
using namespace kavo::test;

namespace {

class StubRunBundle : public ClientFixture {
protected:
    StubProcess stub_;
};

TEST_F(StubRunBundle, TheCopyNamesTheStubsPortsAndLeavesTheTrackedFilesAlone) {
    ASSERT_TRUE(stub_.ready());
    const std::string folder = dataPath() + "/bundle";
    ASSERT_TRUE(writeStubBundle(stub_, folder));
    const std::string pages = "http://127.0.0.1:" + std::to_string(stub_.httpPort());
    const std::string game = "127.0.0.1:" + std::to_string(stub_.port());
    auto config = platform::PropertyList::readFile(folder + "/KavoOnlineConfig.plist");
    EXPECT_EQ(config.get("Port").intValue(), stub_.port());
    EXPECT_EQ(config.get("LinkServer").stringValue(), pages + "/servers.txt");
    EXPECT_EQ(config.get("ServerName").stringValue(), "Kavo Local|" + game);
    EXPECT_EQ(config.get("PaymentUrl").stringValue(), pages + "/payment.txt");
    auto info = platform::PropertyList::readFile(folder + "/Info.plist");
    for (const char* key : {"SocialNetDialogURL", "SocialNetGraphURL", "SocialNetRestURL"})
        EXPECT_EQ(info.get(key).stringValue(), pages) << key;
    auto shipped = platform::PropertyList::readFile(sourceDir() + "/resources/Info.plist");
    EXPECT_EQ(shipped.get("SocialNetDialogURL").stringValue(), "http://127.0.0.1:12347")
        << "the tracked file is as it was";
    std::ifstream vi(folder + "/vi.plist");
    EXPECT_TRUE(vi.good()) << "the language tables come along";
}

TEST_F(StubRunBundle, TheClientSignsInWithTheSocialNetworkOnTheMovedStub) {
    ASSERT_TRUE(stub_.ready());
    const std::string folder = dataPath() + "/bundle";
    ASSERT_TRUE(writeStubBundle(stub_, folder));
    const std::string script = dataPath() + "/social.drive";
    std::ofstream(script) << "screen LoginView 30\n"
                             "tap id=btnLoginSN\n"
                             "wait text=Kavo Local 30\n"
                             "tap text=Kavo Local\n"
                             "screen GameView 30\n";
    const auto run = driveClient(folder, dataPath() + "/client", script);
    EXPECT_TRUE(run.passed()) << run.failure() << "\nthe whole run:\n" << run.output;
}

} // namespace
