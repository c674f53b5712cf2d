#include "platform/foundation/BackgroundWriter.h"

#include "platform/foundation/Base64.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/platform/foundation/TempDir.h"

#include <atomic>
#include <future>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace platform;

namespace {

// A write that waits until the test lets it go, so the test knows what runs and what waits.
struct Gate {
    std::promise<void> open;
    std::shared_future<void> opened = open.get_future().share();
};

} // namespace

TEST(BackgroundWriter, AWriteThatWaitsIsReplacedByANewerOneAndStopWritesWhatWaits) {
    std::vector<std::string> ran; // written by one write at a time
    BackgroundWriter writer;
    Gate gate;
    std::promise<void> started;
    writer.submit([&] {
        started.set_value();
        gate.opened.wait();
        ran.push_back("first");
        return true;
    });
    started.get_future().wait();
    writer.submit([&] { return ran.push_back("second"), true; });
    writer.submit([&] { return ran.push_back("third"), false; });
    gate.open.set_value();
    EXPECT_FALSE(writer.wait()) << "the last write failed";
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "third"}));

    writer.submit([&] { return ran.push_back("waiting at the stop"), true; });
    writer.stop();
    writer.submit([&] { return ran.push_back("after the stop"), true; });
    EXPECT_TRUE(writer.lastSucceeded());
    EXPECT_EQ(ran.back(), "after the stop");
    EXPECT_EQ(ran.size(), 4u);
}

// A large stored value stays Base64 text until it is read; the writer puts that text out
// while another thread decodes it, and the file reads back the same. Deferred data is made
// by the writer or by a reader that comes first.
TEST(BackgroundWriter, UserDefaultsWriteALargeStoredValueWhileItIsDecoded) {
    test::TempDir dir;
    const std::string path = dir.file("defaults.plist");
    Bytes large(2000000); // Base64 of it is written in several slices
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = uint8_t(i * 7);
    Value stored = Value::emptyDictionary();
    stored.set("mailbox", Value(large));
    ASSERT_TRUE(PropertyList::writeFile(path, stored));

    UserDefaults defaults(path);
    defaults.setObject(Value::deferredData([&] { return Value::sharedData(large); }), "made");
    for (int round = 0; round < 20; ++round) {
        defaults.setInt(round, "round");
        defaults.synchronize();
    }
    EXPECT_EQ(defaults.dataForKey("mailbox"), large);
    EXPECT_EQ(defaults.dataForKey("made"), large);
    ASSERT_TRUE(defaults.flush());
    const Value written = PropertyList::readFile(path);
    EXPECT_EQ(written.get("round").intValue(), 19) << "the last values win";
    EXPECT_EQ(written.get("mailbox").dataValue(), large);
    EXPECT_EQ(written.get("made").dataValue(), large);
}

// Made data, once in the file, does not stay in memory beside it: it is made again when
// asked for, and a snapshot that still holds it writes it as made.
TEST(BackgroundWriter, UserDefaultsMakeWrittenDataAgainWhenAskedInsteadOfKeepingIt) {
    test::TempDir dir;
    UserDefaults defaults(dir.file("defaults.plist"));
    const Bytes large(100000, 7);
    std::atomic<int> made = 0;
    defaults.setObject(Value::deferredData([&] { return ++made, Value::sharedData(large); }), "made");
    ASSERT_TRUE(defaults.flush());
    EXPECT_EQ(made, 1) << "made by the writer";
    EXPECT_TRUE(defaults.objectForKey("made").isDeferredData()) << "not kept after the write";
    EXPECT_EQ(defaults.dataForKey("made"), large);
    EXPECT_EQ(made, 2);
    defaults.setInt(1, "another");
    ASSERT_TRUE(defaults.flush());
    EXPECT_EQ(PropertyList::readFile(dir.file("defaults.plist")).get("made").dataValue(), large);
}
