#include "platform/foundation/BackgroundWriter.h"

#include "platform/foundation/Base64.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/foundation/Value.h"
#include "tests/platform/foundation/TempDir.h"
#include "tests/platform/runtime/Marks.h"

#include <atomic>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

using namespace platform;
using platform::test::Marks;

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
    ASSERT_TRUE(writer.submit([&] {
        started.set_value();
        gate.opened.wait();
        ran.push_back("first");
        return true;
    }));
    started.get_future().wait();
    EXPECT_TRUE(writer.submit([&] { return ran.push_back("second"), true; }));
    EXPECT_TRUE(writer.submit([&] { return ran.push_back("third"), false; }));
    gate.open.set_value();
    EXPECT_FALSE(writer.wait()) << "the last write failed";
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "third"}));

    EXPECT_TRUE(writer.submit([&] { return ran.push_back("waiting at the stop"), true; }));
    writer.stop();
    EXPECT_TRUE(writer.submit([&] { return ran.push_back("after the stop"), true; }));
    EXPECT_TRUE(writer.lastSucceeded());
    EXPECT_EQ(ran.back(), "after the stop");
    EXPECT_EQ(ran.size(), 4u);
}

// The exit stops the writer while it writes, and another thread saves meanwhile: that save
// waits for the running write, and once let go it still has to begin its own. The stop,
// woken by the same end of the write, must not return in between, since the process ends
// as soon as it returns. The test's hook holds the saver exactly there (woken, not begun)
// until the stop has either returned or waits for it, so every run meets the moment.
TEST(BackgroundWriter, AStopWaitsForASaveThatWasLetGoButHasNotBegun) {
    Marks marks; // made first: the writer's own end calls the hook too
    BackgroundWriter writer;
    writer.setTestHook([&](BackgroundWriter::TestMoment moment) {
        switch (moment) {
        case BackgroundWriter::TestMoment::Stopping:
            marks.mark("stopping");
            break;
        case BackgroundWriter::TestMoment::SaveWaits:
            marks.mark("save waits");
            break;
        case BackgroundWriter::TestMoment::StopWaits:
            marks.mark("stop waits");
            break;
        case BackgroundWriter::TestMoment::SaveWoken:
            marks.mark("save woken");
            marks.mark("stop seen: " + marks.waitForAny({"stop waits", "stop returned"}));
            break;
        }
    });
    Gate first;
    ASSERT_TRUE(writer.submit([&] {
        marks.mark("first runs");
        first.opened.wait();
        return true;
    }));
    ASSERT_TRUE(marks.waitFor("first runs"));
    bool savedWhenStopped = false;
    std::thread stopper([&] {
        writer.stop();
        savedWhenStopped = marks.has("saved"); // before the mark that lets the save go
        marks.mark("stop returned");
    });
    ASSERT_TRUE(marks.waitFor("stopping"));
    bool handed = false;
    std::thread saver([&] { handed = writer.submit([&] { return marks.mark("saved"), true; }); });
    const bool saveWaited = marks.waitFor("save waits");
    first.open.set_value();
    saver.join();
    stopper.join();
    ASSERT_TRUE(saveWaited) << "the save did not wait for the running write";
    EXPECT_TRUE(handed);
    EXPECT_TRUE(marks.has("save woken"));
    EXPECT_TRUE(marks.has("stop seen: stop waits")) << "the stop returned before the save began";
    EXPECT_TRUE(savedWhenStopped) << "the stop returned before the save was written";
    EXPECT_TRUE(marks.has("saved"));
}

// A decode that comes while a writer holds a slice of the stored Base64 text (the writer
// reads it without the value's lock) waits until the slice is given back: the writer reads
// the text whole, and the decode then turns those same characters into the bytes. The
// writer here reads its slice over and over until the decode is done (a relaxed flag, which
// orders nothing) or a second has passed. A decode that does not wait rewrites the characters
// under the writer's reading: the ThreadSanitizer build reports the race, the others find
// the decoded bytes in what the writer read last. The second is a negative check's chance
// (the slice must not change meanwhile), not a bound: a decode that waits, as it must, lets
// it run out every run.
TEST(BackgroundWriter, ADecodeWaitsForTheSliceAWriterHolds) {
    const std::string base64 = "S2F2byBPbmxpbmUhS2F2byBPbmxpbmUh"; // "Kavo Online!" twice
    const Value stored = Value::lazyData(Bytes(base64.begin(), base64.end()));
    std::promise<void> holding;
    std::atomic<bool> decoded = false;
    std::string written;
    std::thread writer([&] {
        stored.readBase64Text([&](std::string_view slice) {
            holding.set_value();
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
            do
                written.assign(slice);
            while (!decoded.load(std::memory_order_relaxed) && std::chrono::steady_clock::now() < deadline);
            written.assign(slice);
        });
    });
    holding.get_future().wait();
    const Bytes bytes = stored.dataValue();
    decoded.store(true, std::memory_order_relaxed);
    writer.join();
    EXPECT_EQ(written, base64) << "the slice changed while the writer held it";
    const std::string text = "Kavo Online!Kavo Online!";
    EXPECT_EQ(bytes, Bytes(text.begin(), text.end()));
    EXPECT_FALSE(stored.readBase64Text([](std::string_view) {})) << "decoded, the text is gone";
}

// The user defaults' values are shared between threads: two of them may decode one stored
// value while a writer holds its Base64 text. Both wait; the first let through decodes, and
// the second finds the bytes made. Decoded again from the text the first one emptied, the
// value would be left empty, under the bytes the first one reads. The writer gives the text
// back once both decodes wait (the value's tests' hook), so every run meets the moment.
TEST(BackgroundWriter, TwoDecodesThatWaitForTheSliceAWriterHoldsBothReadTheWholeData) {
    const std::string base64 = "S2F2byBPbmxpbmUhS2F2byBPbmxpbmUh"; // "Kavo Online!" twice
    const Value stored = Value::lazyData(Bytes(base64.begin(), base64.end()));
    Marks marks;
    std::atomic<int> waiting = 0;
    Value::setDecodeWaitsTestHook([&] { marks.mark("decodes waiting: " + std::to_string(++waiting)); });
    std::promise<void> holding;
    bool bothWaited = false;
    std::thread writer([&] {
        stored.readBase64Text([&](std::string_view) {
            holding.set_value();
            bothWaited = marks.waitFor("decodes waiting: 2");
        });
    });
    holding.get_future().wait();
    Bytes first, second;
    std::thread firstDecode([&] { first = stored.dataValue(); });
    std::thread secondDecode([&] { second = stored.dataValue(); });
    firstDecode.join();
    secondDecode.join();
    writer.join();
    Value::setDecodeWaitsTestHook(nullptr);
    ASSERT_TRUE(bothWaited) << "the decodes did not both wait for the writer";
    const std::string text = "Kavo Online!Kavo Online!";
    EXPECT_EQ(first, Bytes(text.begin(), text.end()));
    EXPECT_EQ(second, Bytes(text.begin(), text.end()));
    EXPECT_EQ(stored.dataValue(), Bytes(text.begin(), text.end())) << "the value lost its data";
    EXPECT_EQ(stored.size(), text.size());
}

// The writer puts a large stored value's Base64 text out, then the main thread decodes it
// where it lies: the made value written next holds the writer there, so the threads meet at
// the text's hand-over every run (their relaxed flags order nothing; the hand-over must).
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
    std::atomic<bool> textWritten = false, decoded = false;
    defaults.setObject(Value::deferredData([&] {
                           textWritten.store(true, std::memory_order_relaxed);
                           while (!decoded.load(std::memory_order_relaxed))
                               std::this_thread::yield();
                           return Value::sharedData(large);
                       }),
                       "made");
    defaults.setInt(19, "round");
    defaults.synchronize();
    while (!textWritten.load(std::memory_order_relaxed))
        std::this_thread::yield();
    EXPECT_EQ(defaults.dataForKey("mailbox"), large);
    decoded.store(true, std::memory_order_relaxed);
    EXPECT_EQ(defaults.dataForKey("made"), large);
    ASSERT_TRUE(defaults.flush());
    stored.set("made", Value(large));
    stored.set("round", 19);
    EXPECT_EQ(PropertyList::readFile(path), stored);
}

// At exit the writer stops while it makes data, and another thread saves meanwhile: that
// save waits for the running write, which never waits for the saver.
TEST(BackgroundWriter, UserDefaultsSavedWhileTheWriterStopsLand) {
    test::TempDir dir;
    struct Run { // left running, not freed, when a thread hangs
        UserDefaults defaults;
        Gate making, stopping, saving;
        std::promise<void> stopped, saved;
        explicit Run(std::string path) : defaults(std::move(path)) {}
    };
    auto* run = new Run(dir.file("defaults.plist"));
    run->defaults.setObject(Value::deferredData([run] {
                                run->making.open.set_value();
                                run->saving.opened.wait();
                                return Value::sharedData(Bytes(100000, 7));
                            }),
                            "made");
    run->defaults.synchronize();
    run->making.opened.wait();
    std::thread([run] {
        run->stopping.open.set_value();
        run->defaults.stopWriter();
        run->stopped.set_value();
    }).detach();
    std::thread([run] {
        run->stopping.opened.wait();
        run->defaults.setInt(7, "last");
        run->saving.open.set_value();
        run->defaults.synchronize();
        run->saved.set_value();
    }).detach();
    // A bound for a deadlock (the state never comes), far above what any load makes of it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    const bool ended = run->saved.get_future().wait_until(deadline) == std::future_status::ready &&
                       run->stopped.get_future().wait_until(deadline) == std::future_status::ready;
    ASSERT_TRUE(ended) << "the save or the stop still waits after 30 s: a deadlock";
    const Value written = PropertyList::readFile(dir.file("defaults.plist"));
    EXPECT_EQ(written.get("last").intValue(), 7);
    EXPECT_EQ(written.get("made").dataValue(), Bytes(100000, 7));
    delete run;
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
