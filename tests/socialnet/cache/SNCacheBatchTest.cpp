// The cache index and disk cache under load: changes written together, lookups beside a
// busy database queue, the byte count when data is replaced, and files that went missing.

#include "platform/foundation/FileSystem.h"
#include "sdk/socialnet/SNCacheIndex.h"
#include "sdk/socialnet/SNDataDiskCache.h"
#include "tests/socialnet/cache/SNCacheTestSupport.h"
#include "tests/support/StateWaits.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sys/stat.h>
#include <thread>

namespace socialnet::test {
namespace {

// A gate a queued task waits at until the test opens it.
class Gate {
public:
    void open() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        cv_.notify_all();
    }
    void pass() {
        std::unique_lock lock(mutex_);
        cv_.wait(lock, [this] { return open_; });
    }
    bool isOpen() {
        std::lock_guard lock(mutex_);
        return open_;
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool open_ = false;
};

// Opens the gate after a long while, so that a test that would wait for ever ends.
class Watchdog {
public:
    explicit Watchdog(Gate& gate)
        : thread_([this, &gate] {
              std::unique_lock lock(mutex_);
              cv_.wait_for(lock, std::chrono::duration<double>(kavo::test::kStateWait), [this] { return done_; });
              lock.unlock();
              gate.open();
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false;
    std::thread thread_;
};

class SNCacheBatchTest : public CacheFolderFixture {
protected:
    std::unique_ptr<SNCacheIndex> open() {
        auto index = SNCacheIndex::initWithCacheFolder(folder_);
        if (index) {
            index->setDelegate(&files_);
            index->setDiskCapacity(10485760);
        }
        return index;
    }
    static void settle(SNCacheIndex& index) { index.databaseQueue().waitUntilIdle(); }
    RecordingFileDelegate files_;
};

// Rows the running index never counted (another run's, say) make the count short; data
// stored anew under such a key is counted once, not once by the recount and again on top.
TEST_F(SNCacheBatchTest, ReplacingDataWhenTheCountIsShortCountsTheNewSizeOnce) {
    auto index = open();
    ASSERT_TRUE(index);
    settle(*index);
    execOnFile("INSERT INTO cache_index VALUES ('U1', 'http://x/1', 1, 500), ('U2', 'http://x/2', 1, 700)");
    EXPECT_EQ(index->currentDiskUsage(), 0u);
    const std::string name = index->storeFileForKey("http://x/1", std::string(40, 'n'));
    settle(*index);
    EXPECT_EQ(index->currentDiskUsage(), 740u);
    EXPECT_EQ(files_.deleted(), std::vector<std::string>{"U1"});
    auto stored = rows();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].uuid, name);
    EXPECT_EQ(stored[0].fileSize, 40);
    index.reset();
    auto reopened = open();
    ASSERT_TRUE(reopened);
    settle(*reopened);
    EXPECT_EQ(reopened->currentDiskUsage(), 740u);
}

TEST_F(SNCacheBatchTest, ReplacingDataWithACorrectCountTakesTheOldSizeOff) {
    auto index = open();
    ASSERT_TRUE(index);
    index->storeFileForKey("http://x/1", std::string(500, 'a'));
    index->storeFileForKey("http://x/2", std::string(300, 'b'));
    index->storeFileForKey("http://x/1", std::string(120, 'c'));
    settle(*index);
    EXPECT_EQ(index->currentDiskUsage(), 420u);
}

// Changes queued while the database queue is busy are all written when it gets to them,
// and until then lookups answer from them.
TEST_F(SNCacheBatchTest, ChangesQueuedBehindABusyQueueAreAnsweredAndThenAllWritten) {
    auto index = open();
    ASSERT_TRUE(index);
    settle(*index);
    Gate gate;
    Watchdog watchdog(gate);
    index->databaseQueue().async([&] { gate.pass(); });
    std::vector<std::string> names;
    for (int i = 0; i < 200; ++i)
        names.push_back(index->storeFileForKey("http://x/" + std::to_string(i), std::string(size_t(i + 1), 'z')));
    index->removeEntryForKey("http://x/7");
    index->setEntryCacheCountLimit(1); // the lookups below cannot be answered from memory
    EXPECT_EQ(index->fileNameForKey("http://x/3"), names[3]);
    EXPECT_EQ(index->fileNameForKey("http://x/7"), std::nullopt);
    EXPECT_FALSE(gate.isOpen());
    EXPECT_TRUE(rows().empty());
    gate.open();
    settle(*index);
    EXPECT_EQ(rows().size(), 199u);
    EXPECT_EQ(index->currentDiskUsage(), uint32_t(200 * 201 / 2 - 8));
    EXPECT_EQ(index->fileNameForKey("http://x/199"), names[199]);
    EXPECT_EQ(files_.deleted(), std::vector<std::string>{names[7]});
}

// An entry written to the file and no longer in memory is found without waiting for the
// database queue, whatever that queue is doing.
TEST_F(SNCacheBatchTest, ALookupDoesNotWaitForTheDatabaseQueue) {
    auto index = open();
    ASSERT_TRUE(index);
    const std::string name = index->storeFileForKey("http://x/a", "a");
    settle(*index);
    index->setEntryCacheCountLimit(1);
    index->storeFileForKey("http://x/b", "b");
    settle(*index);
    Gate gate;
    Watchdog watchdog(gate);
    index->databaseQueue().async([&] { gate.pass(); });
    index->storeFileForKey("http://x/c", "c"); // a write waiting behind the busy queue
    EXPECT_EQ(index->fileNameForKey("http://x/a"), name);
    EXPECT_FALSE(gate.isOpen()) << "the lookup waited for the queue";
    gate.open();
    settle(*index);
    EXPECT_EQ(rows().size(), 3u);
}

class SNDiskCacheFilesTest : public CacheFolderFixture {
protected:
    void SetUp() override {
        CacheFolderFixture::SetUp();
        indexFolder_ = cacheFolder();
    }
    std::string cacheFolder() const { return folder_ + "/Caches/DataDiskCache"; }
    std::string fileOf(const std::string& key) {
        for (const IndexRow& row : rows())
            if (row.key == key) return cacheFolder() + "/" + row.uuid;
        return {};
    }
};

TEST_F(SNDiskCacheFilesTest, AnEntryWhoseFileIsMissingIsAMissAndGoes) {
    SNDataDiskCache cache(cacheFolder());
    const std::string url = "http://localhost/img/a.png";
    cache.setDataForURL(std::string(300, 'a'), url);
    cache.setDataForURL(std::string(200, 'b'), "http://localhost/img/b.png");
    cache.waitUntilIdle();
    ASSERT_TRUE(platform::removeFile(fileOf(url)));
    cache.dropMemoryForTesting();
    EXPECT_EQ(cache.dataForURL(url), std::nullopt);
    cache.waitUntilIdle();
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].key, "http://localhost/img/b.png");
    EXPECT_EQ(cache.cacheIndex()->currentDiskUsage(), 200u);
    EXPECT_EQ(cache.dataForURL(url), std::nullopt);
}

TEST_F(SNDiskCacheFilesTest, AnEntryWhoseFileWasCutShortIsAMissAndGoes) {
    SNDataDiskCache cache(cacheFolder());
    const std::string url = "http://localhost/img/a.png";
    cache.setDataForURL(std::string(300, 'a'), url);
    cache.waitUntilIdle();
    const std::string file = fileOf(url);
    ASSERT_TRUE(platform::writeFileAtomically(file, std::string(120, 'a')));
    cache.dropMemoryForTesting();
    EXPECT_EQ(cache.dataForURL(url), std::nullopt);
    cache.waitUntilIdle();
    EXPECT_TRUE(rows().empty());
    EXPECT_FALSE(platform::fileExists(file));
    EXPECT_EQ(cache.cacheIndex()->currentDiskUsage(), 0u);
}

// A file still waiting to be written is answered from what was given to be written.
TEST_F(SNDiskCacheFilesTest, DataWhoseFileIsNotWrittenYetIsAnswered) {
    SNDataDiskCache cache(cacheFolder());
    Gate gate;
    Watchdog watchdog(gate);
    cache.fileQueue().async([&] { gate.pass(); });
    const std::string url = "http://localhost/img/a.png";
    cache.setDataForURL("bytes of a", url);
    cache.dropMemoryForTesting();
    EXPECT_EQ(cache.dataForURL(url), "bytes of a");
    EXPECT_FALSE(gate.isOpen());
    gate.open();
    cache.waitUntilIdle();
    EXPECT_EQ(platform::readTextFile(fileOf(url)), "bytes of a");
    EXPECT_EQ(rows().size(), 1u);
}

TEST_F(SNDiskCacheFilesTest, CacheFilesHoldTheBytesAndAreTheUsersOnly) {
    SNDataDiskCache cache(cacheFolder());
    std::string bytes(70000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 31 + 5);
    cache.setDataForURL(bytes, "http://localhost/img/big.png");
    cache.waitUntilIdle();
    const std::string file = fileOf("http://localhost/img/big.png");
    EXPECT_EQ(platform::readTextFile(file), bytes);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// A lookup answered from memory still tells the index the entry was used, so the entry
// is not the first to go when the disk part is trimmed.
TEST_F(SNDiskCacheFilesTest, AMemoryHitStillMarksTheIndexEntryUsed) {
    SNDataDiskCache cache(cacheFolder());
    ASSERT_TRUE(cache.cacheIndex());
    const std::string url = "http://localhost/img/a.png";
    cache.setDataForURL("a", url);
    cache.waitUntilIdle();
    const double stored = rows()[0].accessTime;
    advanceClock(60);
    EXPECT_EQ(cache.dataForURL(url), "a"); // from memory
    cache.cacheIndex()->setEntryCacheCountLimit(1);
    cache.setDataForURL("b", "http://localhost/img/b.png"); // the index lets "a" go
    cache.waitUntilIdle();
    auto stored2 = rows();
    ASSERT_EQ(stored2.size(), 2u);
    EXPECT_EQ(stored2[0].key, url);
    EXPECT_DOUBLE_EQ(stored2[0].accessTime, stored + 60);
}

} // namespace
} // namespace socialnet::test
