// What an earlier version of the client left on the device must still read after an
// update: the defaults file and the archived mailbox, as committed sample files.
#include "app/UIController.h"
#include "platform/foundation/UserDefaults.h"
#include "portal/model/KavoMessage.h"
#include "tests/portal/PortalTestSupport.h"
#include "tests/support/SourceDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

class StoredFormats : public ::testing::Test {
protected:
    PortalEnvironment env;

    // The data folder holds the sample defaults file, as after an update.
    void installSampleDefaults() {
        std::filesystem::copy_file(sourceDir() + "/tests/portal/samples/defaults.plist",
                                   env.dataPath() + "/defaults.plist",
                                   std::filesystem::copy_options::overwrite_existing);
        platform::UserDefaults::standard().reset();
    }
    static std::string describe(const KavoMessage& m) {
        return std::to_string(m.fromID()) + " " + std::to_string(m.type()) + " " + std::to_string(m.time()) + " " +
               m.fromName() + " | " + m.message() + " | " + std::to_string(m.isRead()) + std::to_string(m.isReply()) +
               std::to_string(m.isRequestAddFriend()) + std::to_string(m.isSee());
    }
};

TEST_F(StoredFormats, AStoredDefaultsFileIsReadAsItWasWritten) {
    installSampleDefaults();
    auto& defaults = platform::UserDefaults::standard();
    EXPECT_EQ(defaults.stringForKey("language"), "en");
    EXPECT_EQ(defaults.stringForKey("uname"), "an");
    EXPECT_EQ(defaults.intForKey("LoginServerINDEX"), 1);
    EXPECT_FALSE(defaults.objectForKey("savedSound").isNull());
    EXPECT_FALSE(defaults.boolForKey("savedSound"));
}

TEST_F(StoredFormats, TheMailboxOfAnEarlierVersionIsRestoredAtSignIn) {
    EXPECT_EQ(UIController::listMessageKey(4242), "SAVED_OLD_MESSAGE_OF_4242");
    installSampleDefaults();
    deliver(3, Bytes().int32(4242).int64(0).int16(0).int32(0)); // the sign-in reply
    const KavoMessageList list = UIController::listMessage();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(describe(*list[0]), "77 2 1700000000123 hệ thống | Chào mừng bạn đến với Kavo | 1001");
    EXPECT_EQ(describe(*list[1]), "5 3 1700000100000 an | an muốn kết bạn | 0010");
}

// The archive is written byte for byte as before, so an older client reading it back
// and a newer one reading an older file agree.
TEST_F(StoredFormats, TheMailboxIsArchivedInTheStoredLayout) {
    const platform::Bytes sample = sourceFileBytes("tests/portal/samples/mailbox-4242.archive");
    ASSERT_EQ(sample.size(), 414u);
    auto decoded = KavoMessage::unarchiveList(sample);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(KavoMessage::archiveList(*decoded), sample);

    // One byte changed anywhere makes it unreadable, never half a mailbox.
    platform::Bytes altered = sample;
    altered[200] ^= 0x01;
    EXPECT_FALSE(KavoMessage::unarchiveList(altered));
}

} // namespace
} // namespace kavo::test
