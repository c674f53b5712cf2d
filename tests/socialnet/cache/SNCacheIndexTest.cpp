#include "sdk/socialnet/SNCacheIndex.h"

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/SqliteDatabase.h"
#include "platform/runtime/Log.h"
#include "tests/socialnet/cache/SNCacheTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>

namespace socialnet::test {
namespace {

constexpr uint32_t kTenMiB = 10485760;
constexpr size_t kOneMiB = 1048576;

class SNCacheIndexTest : public CacheFolderFixture {
protected:
    std::unique_ptr<SNCacheIndex> open() {
        auto index = SNCacheIndex::initWithCacheFolder(folder_);
        if (index) {
            index->setDelegate(&files_);
            index->setDiskCapacity(kTenMiB);
        }
        return index;
    }
    static void settle(SNCacheIndex& index) { index.databaseQueue().waitUntilIdle(); }

    RecordingFileDelegate files_;
};

TEST_F(SNCacheIndexTest, ANewFolderGetsAnEmptyIndexAndReopeningCountsItsBytes) {
    {
        auto index = open();
        ASSERT_TRUE(index);
        EXPECT_TRUE(platform::fileExists(folder_ + "/cache.db"));
        EXPECT_TRUE(rows().empty());
        index->storeFileForKey("http://localhost/a.png", std::string(100, 'a'));
        index->storeFileForKey("http://localhost/b.png", std::string(250, 'b'));
        settle(*index);
        EXPECT_EQ(index->currentDiskUsage(), 350u);
    }
    auto reopened = open();
    ASSERT_TRUE(reopened);
    settle(*reopened);
    EXPECT_EQ(reopened->currentDiskUsage(), 350u);
    EXPECT_EQ(rows().size(), 2u);
}

TEST_F(SNCacheIndexTest, BeyondTenMiBTheOldestEntriesUpToTheExcessOverEightyPercentGo) {
    auto index = open();
    ASSERT_TRUE(index);
    std::vector<std::string> names;
    for (int i = 0; i < 10; ++i) {
        names.push_back(index->storeFileForKey("http://localhost/" + std::to_string(i), std::string(kOneMiB, 'x')));
        advanceClock(1);
    }
    settle(*index);
    // Exactly at the capacity: nothing goes.
    EXPECT_EQ(index->currentDiskUsage(), kTenMiB);
    EXPECT_EQ(rows().size(), 10u);
    EXPECT_TRUE(files_.deleted().empty());

    // 11 MiB: the limit is (int)(11534336 - 8388608) = 3145728, so the three oldest go.
    index->storeFileForKey("http://localhost/10", std::string(kOneMiB, 'x'));
    settle(*index);
    EXPECT_EQ(files_.deleted(), (std::vector<std::string>{names[0], names[1], names[2]}));
    EXPECT_EQ(index->currentDiskUsage(), 8388608u);
    auto left = rows();
    ASSERT_EQ(left.size(), 8u);
    for (auto& row : left)
        EXPECT_NE(row.key, "http://localhost/0") << row.key;
    EXPECT_EQ(index->fileNameForKey("http://localhost/1"), std::nullopt);
    EXPECT_EQ(index->fileNameForKey("http://localhost/3"), names[3]);
}

// The entries a trim drops, worked out the slow way: for each entry, a self-join sums its
// own size and the sizes of every entry used strictly before it.
std::set<std::string> pickedBySelfJoin(platform::SqliteDatabase& db, int64_t limit) {
    auto select = db.prepare(
        "SELECT uuid FROM ( SELECT a1.uuid, SUM(a2.file_size) running_total FROM cache_index a1, cache_index a2 "
        "WHERE a1.access_time > a2.access_time OR (a1.access_time = a2.access_time AND a1.uuid = a2.uuid) "
        "GROUP BY a1.uuid ORDER BY a1.access_time) rt WHERE rt.running_total <= ?");
    select.bindInt(1, limit);
    std::set<std::string> picked;
    while (select.step() == platform::SqliteDatabase::kRow)
        picked.insert(select.columnText(0));
    return picked;
}

// Random indexes whose entries were used at few moments, so many were used together;
// some rows have no size, a fractional one or no time, as a file written elsewhere may.
TEST_F(SNCacheIndexTest, ATrimDropsTheEntriesTheSelfJoinPicksOnRandomIndexes) {
    const int cases[][4] = {{1, 30, 2, 0},    {2, 120, 6, 0}, {3, 200, 40, 0}, {4, 200, 400, 0}, {5, 150, 8, 15},
                            {6, 250, 25, 30}, {7, 60, 1, 10}, {8, 90, 3, 50}}; // seed, rows, moments, % odd
    for (const auto& [seed, count, moments, odd] : cases) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const double now = SNCacheEntityInfo::absoluteTimeNow();
        auto number = [](double value) {
            char text[32];
            std::snprintf(text, sizeof text, "%.17g", value);
            return std::string(text);
        };
        const uint32_t newSize = random() % 3000;
        std::string rows = "('NEW', 'http://localhost/new', " + number(now) + ", " + std::to_string(newSize) + ")";
        for (int i = 0; i < count; ++i) {
            std::string time = number(now - double(random() % moments) * 1.5);
            std::string size = std::to_string(random() % 3000);
            const int kind = int(random() % 100) < odd ? int(random() % 3) : -1;
            if (kind == 0) size = "NULL";
            if (kind == 1) size += ".5";
            if (kind == 2) time = "NULL";
            rows += ", ('U" + std::to_string(i) + "', 'http://localhost/" + std::to_string(i) + "', " + time + ", " +
                    size + ")";
        }
        indexFolder_ = folder_ + "/" + std::to_string(seed);
        std::filesystem::create_directories(indexFolder_);
        platform::SqliteDatabase db;
        ASSERT_TRUE(db.open(indexFolder_ + "/cache.db"));
        ASSERT_TRUE(db.exec("CREATE TABLE cache_index (uuid TEXT, key TEXT PRIMARY KEY, access_time REAL, file_size "
                            "INTEGER); INSERT INTO cache_index VALUES " +
                            rows));
        // The usage the index reaches with the new entry, and a capacity below it.
        auto sum = db.prepare("SELECT SUM(file_size) FROM cache_index");
        ASSERT_EQ(sum.step(), platform::SqliteDatabase::kRow);
        const auto usage = uint32_t(sum.columnInt(0));
        const uint32_t capacity = uint32_t(random() % std::max(usage, 1u));
        std::set<std::string> expected = pickedBySelfJoin(db, int64_t(double(usage) - 0.8 * double(capacity)));
        sum = {};
        ASSERT_TRUE(db.exec("DELETE FROM cache_index WHERE uuid = 'NEW'"));
        db.close();

        RecordingFileDelegate files;
        auto index = SNCacheIndex::initWithCacheFolder(indexFolder_);
        ASSERT_TRUE(index);
        index->setDelegate(&files);
        index->setDiskCapacity(capacity);
        const std::string name = index->storeFileForKey("http://localhost/new", std::string(newSize, 'n'));
        settle(*index);
        if (expected.erase("NEW")) expected.insert(name);
        auto deleted = files.deleted();
        EXPECT_EQ(std::set<std::string>(deleted.begin(), deleted.end()), expected);
        EXPECT_EQ(deleted.size(), expected.size());
        EXPECT_EQ(this->rows().size(), size_t(count) + 1 - expected.size());
        index->setDelegate(nullptr);
    }
}

TEST_F(SNCacheIndexTest, NewDataUnderAKeyKeepsOneRowDropsTheOldFileAndAnUnknownKeyChangesNothing) {
    auto index = open();
    ASSERT_TRUE(index);
    auto first = index->storeFileForKey("http://localhost/a", std::string(100, 'a'));
    settle(*index);
    auto second = index->storeFileForKey("http://localhost/a", std::string(40, 'b'));
    settle(*index);
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].uuid, second);
    EXPECT_EQ(rows()[0].fileSize, 40);
    EXPECT_EQ(files_.deleted(), std::vector<std::string>{first});
    EXPECT_EQ(index->currentDiskUsage(), 40u);
    // A key without an entry answers nothing and changes nothing.
    const double used = rows()[0].accessTime;
    EXPECT_EQ(index->fileNameForKey("http://localhost/b"), std::nullopt);
    settle(*index);
    EXPECT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].accessTime, used);
    EXPECT_EQ(index->currentDiskUsage(), 40u);
    EXPECT_EQ(index->fileNameForKey("http://localhost/a"), second);
}

TEST_F(SNCacheIndexTest, RemovingAKeyDropsItsRowAndFileAndRecountsWhenTheCountIsShort) {
    auto index = open();
    ASSERT_TRUE(index);
    auto name = index->storeFileForKey("http://localhost/a", std::string(100, 'a'));
    settle(*index);
    index->removeEntryForKey("http://localhost/a");
    index->removeEntryForKey("http://localhost/never");
    settle(*index);
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(files_.deleted(), std::vector<std::string>{name});
    EXPECT_EQ(index->currentDiskUsage(), 0u);

    // Rows the running index never counted: removing one finds the count short.
    execOnFile("INSERT INTO cache_index VALUES ('U1', 'http://x/1', 1, 500), ('U2', 'http://x/2', 1, 700)");
    index->removeEntryForKey("http://x/1");
    settle(*index);
    EXPECT_EQ(index->currentDiskUsage(), 700u);
}

TEST_F(SNCacheIndexTest, RemovalByFragmentMatchesInAnyLetterCase) {
    auto index = open();
    ASSERT_TRUE(index);
    index->storeFileForKey("http://graph/me?access_token=AAA", "1");
    index->storeFileForKey("http://graph/me?ACCESS_TOKEN=BBB", "2");
    index->storeFileForKey("http://localhost/img.png", "3");
    settle(*index);

    index->removeEntries(std::string("access_token"), true);
    settle(*index);
    auto left = rows();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].key, "http://graph/me?ACCESS_TOKEN=BBB");
    EXPECT_EQ(left[1].key, "http://graph/me?access_token=AAA");

    index->removeEntries(std::string("aaa"), false);
    index->removeEntries(std::nullopt, false);
    settle(*index);
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].key, "http://graph/me?ACCESS_TOKEN=BBB");
    EXPECT_EQ(index->currentDiskUsage(), 1u);
}

TEST_F(SNCacheIndexTest, AnEntryUsedThenPushedOutOfMemoryHasItsNewAccessTimeWritten) {
    auto index = open();
    ASSERT_TRUE(index);
    index->setEntryCacheCountLimit(1);
    index->storeFileForKey("http://localhost/a", "a");
    settle(*index);
    double stored = rows()[0].accessTime;
    advanceClock(60);
    ASSERT_TRUE(index->fileNameForKey("http://localhost/a"));
    index->storeFileForKey("http://localhost/b", "b"); // pushes "a" out of memory
    settle(*index);
    auto left = rows();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_DOUBLE_EQ(left[0].accessTime, stored + 60);
}

TEST_F(SNCacheIndexTest, AnIndexThatCannotBeOpenedIsNotMade) {
    std::vector<std::string> lines;
    platform::setLogSink([&](const std::string& line) { lines.push_back(line); });
    EXPECT_FALSE(SNCacheIndex::initWithCacheFolder(folder_ + "/missing/folder"));
    ASSERT_TRUE(platform::writeFileAtomically(folder_ + "/cache.db", std::string(4096, '\x5a')));
    EXPECT_FALSE(SNCacheIndex::initWithCacheFolder(folder_));
    platform::setLogSink({});
    EXPECT_NE(std::find(lines.begin(), lines.end(), "SQL Lite open/exec error."), lines.end());
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [](auto& line) { return line.rfind("SNCacheIndex: Expecting result 0, actual", 0) == 0; }),
              lines.end());
}

TEST_F(SNCacheIndexTest, ALookupOnTheDatabaseQueueIsLoggedAndStillAnswers) {
    auto index = open();
    ASSERT_TRUE(index);
    auto name = index->storeFileForKey("http://localhost/a", "a");
    settle(*index);
    index->setEntryCacheCountLimit(1);
    index->storeFileForKey("http://localhost/b", "b"); // "a" now only in the file
    settle(*index);
    std::vector<std::string> lines;
    platform::setLogSink([&](const std::string& line) { lines.push_back(line); });
    std::optional<std::string> found;
    index->databaseQueue().sync([&] { found = index->fileNameForKey("http://localhost/a"); });
    platform::setLogSink({});
    EXPECT_EQ(found, name);
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "SNCacheIndex: internal inconsistency: a lookup called on the database queue"),
              lines.end());
}

TEST_F(SNCacheIndexTest, RandomFragmentsWithWildcardsAndQuotesOnlyRemoveEntries) {
    auto index = open();
    ASSERT_TRUE(index);
    std::mt19937 random(7);
    const std::string alphabet = "ab%_'\"\\;-x";
    for (int i = 0; i < 200; ++i) {
        index->storeFileForKey("http://localhost/" + std::to_string(i) + "ab'x", "d");
        std::string fragment;
        for (size_t n = random() % 6; n > 0; --n)
            fragment += alphabet[random() % alphabet.size()];
        index->removeEntries(fragment, random() % 2 == 0);
    }
    settle(*index);
    EXPECT_EQ(index->currentDiskUsage(), rows().size());
    auto name = index->storeFileForKey("http://localhost/last", "d");
    EXPECT_EQ(index->fileNameForKey("http://localhost/last"), name);
}

} // namespace
} // namespace socialnet::test
