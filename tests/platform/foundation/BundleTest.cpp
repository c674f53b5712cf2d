#include "platform/foundation/Bundle.h"

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/PropertyList.h"
#include "platform/runtime/Log.h"
#include "tests/platform/foundation/TempDir.h"

#include <gtest/gtest.h>

using namespace platform;
using platform::test::TempDir;

namespace {

struct BundleFixture : ::testing::Test {
    TempDir dir;
    void SetUp() override {
        Value info;
        info.set("BundleVersion", "1.2.3");
        info.set("Provider", "12");
        ASSERT_TRUE(PropertyList::writeFile(dir.file("Info.plist"), info));
        Value config;
        config.set("Server", "127.0.0.1");
        config.set("Port", 5000);
        ASSERT_TRUE(PropertyList::writeFile(dir.file("Config.plist"), config));
        ASSERT_TRUE(writeFileAtomically(dir.file("card.png"), std::string("png")));
        Bundle::main().setMainPath(dir.path());
    }
    void TearDown() override { Bundle::main().setMainPath(""); }
};

} // namespace

TEST_F(BundleFixture, FindsResourcesByNameAndType) {
    auto& bundle = Bundle::main();
    EXPECT_EQ(bundle.path(), dir.path());
    EXPECT_EQ(bundle.pathForResource("card", "png"), dir.file("card.png"));
    EXPECT_EQ(bundle.pathForResource("card.png", ""), dir.file("card.png"));
    EXPECT_EQ(bundle.pathForResource("missing", "png"), "");
    EXPECT_EQ(bundle.pathForResource("", "png"), "");
}

TEST_F(BundleFixture, ReadsTheInformationFileOnce) {
    auto& bundle = Bundle::main();
    EXPECT_EQ(bundle.objectForInfoKey("BundleVersion").stringValue(), "1.2.3");
    EXPECT_EQ(bundle.objectForInfoKey("Provider").intValue(), 12);
    removeFile(dir.file("Info.plist"));
    EXPECT_EQ(bundle.infoDictionary()["BundleVersion"].stringValue(), "1.2.3");
    EXPECT_TRUE(bundle.objectForInfoKey("Absent").isNull());
}

TEST_F(BundleFixture, LoadsPropertyListsByName) {
    Value config = Bundle::main().loadPlist("Config");
    EXPECT_EQ(config["Server"].stringValue(), "127.0.0.1");
    EXPECT_EQ(config["Port"].intValue(), 5000);
    EXPECT_TRUE(Bundle::main().loadPlist("Absent").isNull());
}

TEST(Bundle, DefaultsToTheResourcesFolderBesideTheProgram) {
    Bundle::main().setMainPath("");
    std::string path = Bundle::main().path();
    EXPECT_GE(path.size(), 10u);
    EXPECT_EQ(path.substr(path.size() - 10), "/resources");
    EXPECT_TRUE(Bundle::main().infoDictionary().isNull() || Bundle::main().infoDictionary().isDictionary());
}
