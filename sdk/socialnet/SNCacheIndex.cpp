#include "sdk/socialnet/SNCacheIndex.h"

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Uuid.h"
#include "platform/runtime/Log.h"
#include "sdk/socialnet/SNCacheTrimWalk.h"

#include <algorithm>
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
// A trim walks the entries with a numeric access time from the least recently used on.
// Rows whose time is missing or not a number are never trimmed: the database orders
// them apart and no numeric row counts them as used before it.
// Only what the walk needs is sorted; the names of the picked rows are read after, in
// the table's own order.
constexpr const char* kSelectByAccessTime = "SELECT rowid, access_time, file_size, typeof(file_size) FROM cache_index "
                                            "WHERE typeof(access_time) IN ('real', 'integer') ORDER BY access_time";
constexpr const char* kSelectNames = "SELECT rowid, uuid, key, file_size FROM cache_index";
constexpr const char* kRemoveByRow = "DELETE FROM cache_index WHERE rowid = ?";
constexpr const char* kSumSizes = "SELECT SUM(file_size) FROM cache_index";
// The table an earlier version of the trim built its picks in; a crash could leave it.
constexpr const char* kDropTrimmed = "DROP TABLE IF EXISTS trimmed";

// A size read from the file: anything outside 32 bits is not ours.
uint32_t sizeFromColumn(int64_t value) {
    if (value < 0 || value > int64_t(std::numeric_limits<uint32_t>::max())) {
        platform::log("SNCacheIndex: ignoring a stored size of " + std::to_string(value));
        return 0;
    }
    return uint32_t(value);
}

SNStoredSize storedSize(const SqliteStatement& row, int column, const std::string& type) {
    if (type == "null") return {};
    if (type == "integer") return {SNStoredSize::Kind::Integer, row.columnInt(column), 0};
    return {SNStoredSize::Kind::Other, 0, row.columnDouble(column)};
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
        if (entry->isDirty()) self->enqueue(Change::WriteBack, entry);
    });
    return index;
}

SNCacheIndex::SNCacheIndex(std::string path) : path_(std::move(path)) {}

SNCacheIndex::~SNCacheIndex() {
    cachedEntries_.setEvictionCallback(nullptr);
    {
        std::lock_guard lock(readerMutex_);
        readerSelectByKey_ = {};
        reader_.close();
    }
    // Queued after every flush the changes so far asked for, so they are written first.
    databaseQueue_.sync([this] {
        insertStatement_ = {};
        removeByKeyStatement_ = {};
        selectByKeyStatement_ = {};
        selectByKeyFragmentStatement_ = {};
        selectExcludingKeyFragmentStatement_ = {};
        selectByAccessTimeStatement_ = {};
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
    // A lost entry is only a miss: commits need not reach the disk one by one, and with
    // the write-ahead log lookups read beside a running write instead of waiting for it.
    // Where either cannot be had the index works as before, only slower.
    if (!database_.exec("PRAGMA journal_mode=WAL")) expect(SqliteDatabase::kOk, database_.errorCode());
    if (!database_.exec("PRAGMA synchronous=NORMAL")) expect(SqliteDatabase::kOk, database_.errorCode());
    if (!database_.exec(kDropTrimmed)) expect(SqliteDatabase::kOk, database_.errorCode());
    std::lock_guard lock(readerMutex_);
    if (reader_.open(path_))
        reader_.exec("PRAGMA busy_timeout=2000");
    else
        platform::log("SNCacheIndex: lookups go through the database queue: " + reader_.errorMessage());
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
    bool pending = false;
    EntryPtr pendingEntry;
    {
        std::lock_guard lock(pendingMutex_);
        auto it = pendingByKey_.find(key);
        if (it != pendingByKey_.end()) pending = true, pendingEntry = it->second.second;
    }
    if (pending) {
        // Stored or removed, not yet written: the change is the answer. (Outside the lock:
        // putting it into memory may push another entry out, which queues its write-back.)
        if (pendingEntry) cachedEntries_.setObject(key, pendingEntry);
        return pendingEntry;
    }
    if (databaseQueue_.isCurrent())
        platform::log("SNCacheIndex: internal inconsistency: a lookup called on the database queue");
    EntryPtr entry;
    auto readRow = [&](SqliteStatement& select) {
        select.bindText(1, key);
        auto rows = readEntries(select);
        if (!rows.empty()) entry = rows.front();
    };
    bool read = false;
    {
        std::lock_guard lock(readerMutex_);
        if (reader_.isOpen()) {
            if (readerSelectByKey_.isValid())
                readerSelectByKey_.reset();
            else
                readerSelectByKey_ = reader_.prepare(kSelectByKey);
            if (readerSelectByKey_.isValid()) {
                readRow(readerSelectByKey_);
                // A statement left open would keep its snapshot of the file.
                readerSelectByKey_.reset();
                read = true;
            }
        }
    }
    if (!read) databaseQueue_.sync([&] { readRow(initializeStatement(selectByKeyStatement_, kSelectByKey)); });
    if (entry) cachedEntries_.setObject(key, entry);
    return entry;
}

std::optional<std::string> SNCacheIndex::fileNameForKey(const std::string& key) {
    auto entry = entryForKey(key);
    if (!entry) return std::nullopt;
    entry->registerAccess();
    return entry->uuid();
}

std::optional<SNCacheIndex::StoredFile> SNCacheIndex::fileForKey(const std::string& key) {
    auto entry = entryForKey(key);
    if (!entry) return std::nullopt;
    entry->registerAccess();
    return StoredFile{entry->uuid(), entry->fileSize()};
}

// ---------------------------------------------------------------- changes

void SNCacheIndex::enqueue(Change change, const EntryPtr& entry) {
    bool queueFlush = false;
    {
        std::lock_guard lock(pendingMutex_);
        const uint64_t sequence = nextSequence_++;
        pending_.push_back({change, entry, sequence});
        pendingByKey_[entry->key()] = {sequence, change == Change::Remove ? nullptr : entry};
        queueFlush = !flushQueued_;
        flushQueued_ = true;
    }
    if (queueFlush) databaseQueue_.async([this] { flushPending(); });
}

void SNCacheIndex::flushPending() {
    std::vector<PendingChange> changes;
    {
        std::lock_guard lock(pendingMutex_);
        changes.swap(pending_);
        flushQueued_ = false;
    }
    if (changes.empty()) return;
    const bool inTransaction = database_.exec("BEGIN");
    if (!inTransaction) expect(SqliteDatabase::kOk, database_.errorCode());
    for (const PendingChange& pending : changes) {
        switch (pending.change) {
        case Change::Store:
            applyStore(pending.entry);
            break;
        case Change::WriteBack:
            writeEntryInDatabase(pending.entry);
            break;
        case Change::Remove:
            applyRemove(pending.entry);
            break;
        }
    }
    if (inTransaction && !database_.exec("COMMIT")) expect(SqliteDatabase::kOk, database_.errorCode());
    // Written: lookups read them from the file from now on, unless a later change came.
    std::lock_guard lock(pendingMutex_);
    for (const PendingChange& pending : changes) {
        auto it = pendingByKey_.find(pending.entry->key());
        if (it != pendingByKey_.end() && it->second.first == pending.sequence) pendingByKey_.erase(it);
    }
}

std::string SNCacheIndex::storeFileForKey(const std::string& key, const std::string& data) {
    std::string fileName = platform::newUuidString();
    auto size = uint32_t(std::min<size_t>(data.size(), std::numeric_limits<uint32_t>::max()));
    auto entry = std::make_shared<SNCacheEntityInfo>(key, fileName, SNCacheEntityInfo::absoluteTimeNow(), size);
    entry->setDirty(true);
    enqueue(Change::Store, entry);
    if (auto* delegate = delegate_.load()) delegate->cacheIndexWriteFileWithName(*this, fileName, data);
    cachedEntries_.setObject(key, entry);
    return fileName;
}

void SNCacheIndex::applyStore(const EntryPtr& entry) {
    const std::optional<uint32_t> replaced = writeEntryInDatabase(entry);
    // The new size is added and the replaced one taken off together. When the count is
    // short of the replaced size it is taken afresh from the rows, which already hold the
    // new entry and not the old one: nothing is counted twice.
    const uint64_t grown = uint64_t(currentDiskUsage_) + entry->fileSize();
    if (replaced && *replaced > grown)
        fetchCurrentDiskUsage();
    else
        currentDiskUsage_ =
            uint32_t(std::min<uint64_t>(grown - replaced.value_or(0), std::numeric_limits<uint32_t>::max()));
    if (currentDiskUsage_ > diskCapacity_) trimDatabase();
}

std::optional<uint32_t> SNCacheIndex::writeEntryInDatabase(const EntryPtr& entry) {
    std::optional<uint32_t> replaced;
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
            replaced = stored->fileSize();
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
    return replaced;
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
    enqueue(Change::Remove, entry);
}

void SNCacheIndex::applyRemove(const EntryPtr& entry) {
    auto& remove = initializeStatement(removeByKeyStatement_, kRemoveByKey);
    remove.bindText(1, entry->key());
    expect(SqliteDatabase::kDone, remove.step());
    subtractFromUsage(entry->fileSize());
    if (auto* delegate = delegate_.load()) delegate->cacheIndexDeleteFileWithName(*this, entry->uuid());
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
    std::vector<int64_t> rows;
    SNCacheTrimWalk walk(int64_t(double(currentDiskUsage_) - 0.8 * double(diskCapacity_)));
    auto& select = initializeStatement(selectByAccessTimeStatement_, kSelectByAccessTime);
    int rc;
    while ((rc = select.step()) == SqliteDatabase::kRow)
        if (walk.next(select.columnDouble(1), storedSize(select, 2, select.columnText(3))))
            rows.push_back(select.columnInt(0));
    expect(SqliteDatabase::kDone, rc);
    // A statement left open would keep its read of the file.
    select.reset();
    if (rc != SqliteDatabase::kDone) return;
    if (walk.overflowed()) {
        platform::log("SNCacheIndex: the stored sizes add up beyond 64 bits; nothing trimmed");
        return;
    }
    std::sort(rows.begin(), rows.end());

    struct Trimmed {
        int64_t row;
        std::string uuid;
        std::string key;
        uint32_t size;
    };
    std::vector<Trimmed> trimmed;
    trimmed.reserve(rows.size());
    auto names = database_.prepare(kSelectNames);
    while (trimmed.size() < rows.size() && (rc = names.step()) == SqliteDatabase::kRow) {
        const int64_t row = names.columnInt(0);
        if (std::binary_search(rows.begin(), rows.end(), row))
            trimmed.push_back({row, names.columnText(1), names.columnText(2), sizeFromColumn(names.columnInt(3))});
    }
    names = {};

    uint64_t freed = 0;
    auto remove = database_.prepare(kRemoveByRow);
    for (const Trimmed& entry : trimmed) {
        if (auto cached = cachedEntries_.object(entry.key)) (*cached)->setDirty(false);
        cachedEntries_.removeObject(entry.key);
        if (auto* delegate = delegate_.load()) delegate->cacheIndexDeleteFileWithName(*this, entry.uuid);
        freed += entry.size;
        remove.reset();
        remove.bindInt(1, entry.row);
        expect(SqliteDatabase::kDone, remove.step());
    }
    if (freed > currentDiskUsage_)
        fetchCurrentDiskUsage();
    else
        currentDiskUsage_ -= uint32_t(freed);
}

} // namespace socialnet
