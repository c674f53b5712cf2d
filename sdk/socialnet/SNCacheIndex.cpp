#include "sdk/socialnet/SNCacheIndex.h"

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Uuid.h"
#include "platform/runtime/Log.h"

#include <cstdio>
#include <limits>

namespace socialnet {

namespace {

using platform::SqliteDatabase;
using platform::SqliteStatement;

constexpr const char* kCreateTable =
    "CREATE TABLE IF NOT EXISTS cache_index (uuid TEXT, key TEXT PRIMARY KEY, access_time REAL, file_size INTEGER)";
constexpr const char* kInsert = "INSERT INTO cache_index VALUES (?, ?, ?, ?)";
constexpr const char* kSelectByKey = "SELECT uuid, key, access_time, file_size FROM cache_index WHERE key = ?";
constexpr const char* kSelectByKeyFragment =
    "SELECT uuid, key, access_time, file_size FROM cache_index WHERE key LIKE ?";
constexpr const char* kSelectExcludingKeyFragment =
    "SELECT uuid, key, access_time, file_size FROM cache_index WHERE key NOT LIKE ?";
constexpr const char* kRemoveByKey = "DELETE FROM cache_index WHERE key=?";
constexpr const char* kUpdate = "UPDATE cache_index SET uuid=?, access_time=?, file_size=? WHERE key=?";
constexpr const char* kTrim =
    "CREATE TABLE trimmed AS SELECT uuid, key, access_time, file_size, running_total FROM ( SELECT a1.uuid, a1.key, "
    "a1.access_time, a1.file_size, SUM(a2.file_size) running_total FROM cache_index a1, cache_index a2 WHERE "
    "a1.access_time > a2.access_time OR (a1.access_time = a2.access_time AND a1.uuid = a2.uuid) GROUP BY a1.uuid "
    "ORDER BY a1.access_time) rt WHERE rt.running_total <= ?";
constexpr const char* kSumSizes = "SELECT SUM(file_size) FROM cache_index";
constexpr const char* kDropTrimmed = "DROP TABLE IF EXISTS trimmed";
constexpr const char* kSelectTrimmed = "SELECT uuid, key, file_size FROM trimmed";
constexpr const char* kDeleteTrimmed = "DELETE FROM cache_index WHERE key IN (SELECT key from trimmed)";

// A size read from the file: anything outside 32 bits is not ours.
uint32_t sizeFromColumn(int64_t value) {
    if (value < 0 || value > int64_t(std::numeric_limits<uint32_t>::max())) {
        platform::log("SNCacheIndex: ignoring a stored size of " + std::to_string(value));
        return 0;
    }
    return uint32_t(value);
}

} // namespace

std::unique_ptr<SNCacheIndex> SNCacheIndex::initWithCacheFolder(const std::string& folder) {
    std::unique_ptr<SNCacheIndex> index(new SNCacheIndex(platform::joinPath(folder, kFileName)));
    bool opened = false;
    index->databaseQueue_.sync([&] { opened = index->open(); });
    if (!opened) {
        platform::log("SQL Lite open/exec error.");
        return nullptr;
    }
    SNCacheIndex* self = index.get();
    self->databaseQueue_.async([self] { self->fetchCurrentDiskUsage(); });
    self->cachedEntries_.setCountLimit(kEntryCacheCountLimit);
    self->cachedEntries_.setEvictionCallback([self](const EntryPtr& entry) {
        // Only the access time can be unwritten; it reaches the file before the entry goes.
        if (entry->isDirty()) self->databaseQueue_.async([self, entry] { self->writeEntryInDatabase(entry); });
    });
    return index;
}

SNCacheIndex::SNCacheIndex(std::string path) : path_(std::move(path)) {}

SNCacheIndex::~SNCacheIndex() {
    cachedEntries_.setEvictionCallback(nullptr);
    databaseQueue_.sync([this] {
        insertStatement_ = {};
        removeByKeyStatement_ = {};
        selectByKeyStatement_ = {};
        selectByKeyFragmentStatement_ = {};
        selectExcludingKeyFragmentStatement_ = {};
        trimStatement_ = {};
        updateStatement_ = {};
        database_.close();
    });
}

bool SNCacheIndex::open() {
    if (!database_.open(path_)) {
        expect(SqliteDatabase::kOk, database_.errorCode());
        return false;
    }
    if (!database_.exec(kCreateTable)) {
        expect(SqliteDatabase::kOk, database_.errorCode());
        database_.close();
        return false;
    }
    return true;
}

void SNCacheIndex::expect(int expected, int actual) {
    if (expected == actual) return;
    char line[96];
    std::snprintf(line, sizeof line, "SNCacheIndex: Expecting result %d, actual %d", expected, actual);
    platform::log(line);
    if (database_.isOpen()) platform::log("SNCacheIndex: SQLite error: " + database_.errorMessage());
}

SqliteStatement& SNCacheIndex::initializeStatement(SqliteStatement& statement, const char* sql) {
    if (statement.isValid())
        statement.reset();
    else
        statement = database_.prepare(sql);
    return statement;
}

std::vector<SNCacheIndex::EntryPtr> SNCacheIndex::readEntries(SqliteStatement& statement) {
    std::vector<EntryPtr> entries;
    int rc;
    while ((rc = statement.step()) == SqliteDatabase::kRow)
        entries.push_back(std::make_shared<SNCacheEntityInfo>(statement.columnText(1), statement.columnText(0),
                                                              statement.columnDouble(2),
                                                              sizeFromColumn(statement.columnInt(3))));
    expect(SqliteDatabase::kDone, rc);
    return entries;
}

void SNCacheIndex::onQueueAndWait(const char* operation, const std::function<void()>& work) {
    if (databaseQueue_.isCurrent())
        platform::log(std::string("SNCacheIndex: internal inconsistency: ") + operation +
                      " called on the database queue");
    databaseQueue_.sync(work);
}

// ---------------------------------------------------------------- lookups

SNCacheIndex::EntryPtr SNCacheIndex::entryForKey(const std::string& key) {
    if (auto cached = cachedEntries_.object(key)) return *cached;
    EntryPtr entry;
    onQueueAndWait("a lookup", [&] {
        auto& select = initializeStatement(selectByKeyStatement_, kSelectByKey);
        select.bindText(1, key);
        auto rows = readEntries(select);
        if (!rows.empty()) entry = rows.front();
    });
    if (entry) cachedEntries_.setObject(key, entry);
    return entry;
}

std::optional<std::string> SNCacheIndex::fileNameForKey(const std::string& key) {
    auto entry = entryForKey(key);
    if (!entry) return std::nullopt;
    entry->registerAccess();
    return entry->uuid();
}

// ---------------------------------------------------------------- changes

std::string SNCacheIndex::storeFileForKey(const std::string& key, const std::string& data) {
    std::string fileName = platform::newUuidString();
    auto size = uint32_t(std::min<size_t>(data.size(), std::numeric_limits<uint32_t>::max()));
    auto entry = std::make_shared<SNCacheEntityInfo>(key, fileName, SNCacheEntityInfo::absoluteTimeNow(), size);
    entry->setDirty(true);
    databaseQueue_.async([this, entry, size] {
        writeEntryInDatabase(entry);
        currentDiskUsage_ =
            uint32_t(std::min<uint64_t>(uint64_t(currentDiskUsage_) + size, std::numeric_limits<uint32_t>::max()));
        if (currentDiskUsage_ > diskCapacity_) trimDatabase();
    });
    if (auto* delegate = delegate_.load()) delegate->cacheIndexWriteFileWithName(*this, fileName, data);
    cachedEntries_.setObject(key, entry);
    return fileName;
}

void SNCacheIndex::writeEntryInDatabase(const EntryPtr& entry) {
    auto& select = initializeStatement(selectByKeyStatement_, kSelectByKey);
    select.bindText(1, entry->key());
    auto rows = readEntries(select);
    if (!rows.empty()) {
        auto& update = initializeStatement(updateStatement_, kUpdate);
        update.bindText(1, entry->uuid());
        update.bindDouble(2, entry->accessTime());
        update.bindInt(3, entry->fileSize());
        update.bindText(4, entry->key());
        expect(SqliteDatabase::kDone, update.step());
        const auto& stored = rows.front();
        if (stored->uuid() != entry->uuid()) {
            // The old file goes, and so do its bytes: the usage stays exact.
            subtractFromUsage(stored->fileSize());
            if (auto* delegate = delegate_.load()) delegate->cacheIndexDeleteFileWithName(*this, stored->uuid());
        }
    } else {
        auto& insert = initializeStatement(insertStatement_, kInsert);
        insert.bindText(1, entry->uuid());
        insert.bindText(2, entry->key());
        insert.bindDouble(3, entry->accessTime());
        insert.bindInt(4, entry->fileSize());
        expect(SqliteDatabase::kDone, insert.step());
    }
    entry->setDirty(false);
}

void SNCacheIndex::subtractFromUsage(uint32_t size) {
    if (currentDiskUsage_ < size)
        fetchCurrentDiskUsage();
    else
        currentDiskUsage_ -= size;
}

void SNCacheIndex::removeEntryForKey(const std::string& key) {
    if (auto entry = entryForKey(key)) removeEntry(entry);
}

void SNCacheIndex::removeEntry(const EntryPtr& entry) {
    // Clean first, so the memory cache's eviction never writes it back.
    entry->setDirty(false);
    cachedEntries_.removeObject(entry->key());
    databaseQueue_.async([this, entry] {
        auto& remove = initializeStatement(removeByKeyStatement_, kRemoveByKey);
        remove.bindText(1, entry->key());
        expect(SqliteDatabase::kDone, remove.step());
        subtractFromUsage(entry->fileSize());
        if (auto* delegate = delegate_.load()) delegate->cacheIndexDeleteFileWithName(*this, entry->uuid());
    });
}

void SNCacheIndex::removeEntries(const std::optional<std::string>& fragment, bool excludingFragment) {
    if (!fragment) return;
    std::vector<EntryPtr> rows;
    onQueueAndWait("a removal by fragment", [&] {
        auto& select = excludingFragment
                           ? initializeStatement(selectExcludingKeyFragmentStatement_, kSelectExcludingKeyFragment)
                           : initializeStatement(selectByKeyFragmentStatement_, kSelectByKeyFragment);
        select.bindText(1, "%" + *fragment + "%");
        rows = readEntries(select);
    });
    for (auto& row : rows) {
        // The entry in memory is the current one; the row may be older.
        auto cached = cachedEntries_.object(row->key());
        removeEntry(cached ? *cached : row);
    }
}

// ---------------------------------------------------------------- usage and trimming

void SNCacheIndex::fetchCurrentDiskUsage() {
    auto sum = database_.prepare(kSumSizes);
    int rc = sum.step();
    expect(SqliteDatabase::kRow, rc);
    int64_t total = rc == SqliteDatabase::kRow ? sum.columnInt(0) : 0;
    currentDiskUsage_ = uint32_t(std::clamp<int64_t>(total, 0, std::numeric_limits<uint32_t>::max()));
}

void SNCacheIndex::trimDatabase() {
    expect(SqliteDatabase::kOk, database_.exec(kDropTrimmed) ? SqliteDatabase::kOk : database_.errorCode());
    auto& trim = initializeStatement(trimStatement_, kTrim);
    double excess = double(currentDiskUsage_) - 0.8 * double(diskCapacity_);
    trim.bindInt(1, int64_t(excess));
    expect(SqliteDatabase::kDone, trim.step());
    // The statement holds the table it made until it is reset.
    trim.reset();

    uint64_t freed = 0;
    auto trimmed = database_.prepare(kSelectTrimmed);
    int rc;
    while ((rc = trimmed.step()) == SqliteDatabase::kRow) {
        std::string uuid = trimmed.columnText(0);
        std::string key = trimmed.columnText(1);
        if (auto cached = cachedEntries_.object(key)) (*cached)->setDirty(false);
        cachedEntries_.removeObject(key);
        if (auto* delegate = delegate_.load()) delegate->cacheIndexDeleteFileWithName(*this, uuid);
        freed += sizeFromColumn(trimmed.columnInt(2));
    }
    expect(SqliteDatabase::kDone, rc);
    trimmed = {};
    expect(SqliteDatabase::kOk, database_.exec(kDeleteTrimmed) ? SqliteDatabase::kOk : database_.errorCode());
    if (freed > currentDiskUsage_)
        fetchCurrentDiskUsage();
    else
        currentDiskUsage_ -= uint32_t(freed);
    expect(SqliteDatabase::kOk, database_.exec(kDropTrimmed) ? SqliteDatabase::kOk : database_.errorCode());
}

} // namespace socialnet
