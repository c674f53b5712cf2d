#pragma once

#include "platform/foundation/SqliteDatabase.h"
#include "platform/runtime/SerialQueue.h"
#include "sdk/socialnet/SNCacheEntityInfo.h"
#include "sdk/socialnet/SNMemoryCache.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace socialnet {

class SNCacheIndex;

// Writes and deletes the files the index names; the index never touches files.
// Writes are asked for on the storing thread, deletes on the database queue.
class SNCacheIndexFileDelegate {
public:
    virtual ~SNCacheIndexFileDelegate() = default;
    virtual void cacheIndexWriteFileWithName(SNCacheIndex& index, const std::string& name, const std::string& data) = 0;
    virtual void cacheIndexDeleteFileWithName(SNCacheIndex& index, const std::string& name) = 0;
};

// The index of the response disk cache: which key (a URL text) lives in which file,
// when it was last used and how large it is, in the SQLite file "cache.db" of the
// cache folder, with up to 500 recently used entries held in memory. It counts the
// bytes on disk and, beyond the capacity, drops the least recently used entries down
// towards 80 % of it.
//
// Every change runs on the serial queue "Data Cache queue": storing, removing and the
// write-back of evicted entries are queued without waiting, and whatever the queue holds
// when it gets to them is written in one transaction (a cache does not need a disk sync
// per entry: the database keeps a write-ahead log and syncs only at checkpoints). A
// lookup never waits behind those writes: it answers from memory, from the changes not
// yet written, or through a reading connection of its own. Fragment removal waits for
// the queue.
class SNCacheIndex {
public:
    static constexpr const char* kFileName = "cache.db";
    static constexpr size_t kEntryCacheCountLimit = 500;

    // Opens (or creates) "cache.db" in the folder; nullptr when the database cannot be
    // opened or given its table.
    static std::unique_ptr<SNCacheIndex> initWithCacheFolder(const std::string& folder);
    ~SNCacheIndex();
    SNCacheIndex(const SNCacheIndex&) = delete;
    SNCacheIndex& operator=(const SNCacheIndex&) = delete;

    // Not owned; the delegate clears it before it goes away.
    void setDelegate(SNCacheIndexFileDelegate* delegate) { delegate_ = delegate; }
    SNCacheIndexFileDelegate* delegate() const { return delegate_; }

    // The key's file name, marking the entry used; nullopt for an unknown key.
    std::optional<std::string> fileNameForKey(const std::string& key);
    struct StoredFile {
        std::string name;
        uint32_t size = 0; // bytes the file holds when it is whole
    };
    // The same with the size recorded for the file.
    std::optional<StoredFile> fileForKey(const std::string& key);
    // Records new data under the key, asks the delegate to write it and returns the
    // new file name.
    std::string storeFileForKey(const std::string& key, const std::string& data);
    void removeEntryForKey(const std::string& key);
    // Removes every entry whose key contains the fragment (SQL LIKE: "%" and "_" are
    // wildcards, ASCII letters match in any case) or, when excluding, every entry
    // whose key does not.
    void removeEntries(const std::optional<std::string>& fragment, bool excludingFragment);

    uint32_t currentDiskUsage() const { return currentDiskUsage_; }
    uint32_t diskCapacity() const { return diskCapacity_; }
    void setDiskCapacity(uint32_t capacity) { diskCapacity_ = capacity; }
    size_t entryCacheCountLimit() const { return cachedEntries_.countLimit(); }
    void setEntryCacheCountLimit(size_t limit) { cachedEntries_.setCountLimit(limit); }
    platform::SerialQueue& databaseQueue() { return databaseQueue_; }

private:
    using EntryPtr = std::shared_ptr<SNCacheEntityInfo>;

    explicit SNCacheIndex(std::string path);
    bool open();
    EntryPtr entryForKey(const std::string& key);

    // A change waiting for the database queue.
    enum class Change { Store, WriteBack, Remove };
    struct PendingChange {
        Change change;
        EntryPtr entry;
        uint64_t sequence;
    };
    // Queues the change; the first change after a flush queues the next flush.
    void enqueue(Change change, const EntryPtr& entry);
    // Database queue only: writes every queued change in one transaction.
    void flushPending();
    void applyStore(const EntryPtr& entry);
    void applyRemove(const EntryPtr& entry);
    // Runs the work on the database queue and waits; on the queue itself that is a
    // caller's mistake, logged, and the work runs inline.
    void onQueueAndWait(const char* operation, const std::function<void()>& work);
    void removeEntry(const EntryPtr& entry);

    // Database queue only. Returns the size of the file the entry replaced, when it
    // replaced one (whose file is then deleted).
    std::optional<uint32_t> writeEntryInDatabase(const EntryPtr& entry);
    void fetchCurrentDiskUsage();
    void trimDatabase();
    void subtractFromUsage(uint32_t size);
    platform::SqliteStatement& initializeStatement(platform::SqliteStatement& statement, const char* sql);
    void expect(int expected, int actual);
    std::vector<EntryPtr> readEntries(platform::SqliteStatement& statement);

    const std::string path_;
    std::atomic<SNCacheIndexFileDelegate*> delegate_{nullptr};
    SNMemoryCache<EntryPtr> cachedEntries_;
    std::atomic<uint32_t> currentDiskUsage_{0};
    std::atomic<uint32_t> diskCapacity_{0};

    // Database queue only.
    platform::SqliteDatabase database_;
    platform::SqliteStatement insertStatement_;
    platform::SqliteStatement removeByKeyStatement_;
    platform::SqliteStatement selectByKeyStatement_;
    platform::SqliteStatement selectByKeyFragmentStatement_;
    platform::SqliteStatement selectExcludingKeyFragmentStatement_;
    platform::SqliteStatement selectByAccessTimeStatement_;
    platform::SqliteStatement updateStatement_;

    // Changes not yet written, in order, and the latest one of each key (a null entry: a
    // removal) for lookups.
    std::mutex pendingMutex_;
    std::vector<PendingChange> pending_;
    std::unordered_map<std::string, std::pair<uint64_t, EntryPtr>> pendingByKey_;
    uint64_t nextSequence_ = 0;
    bool flushQueued_ = false;

    // Lookups' own connection, used under its lock on the calling thread.
    std::mutex readerMutex_;
    platform::SqliteDatabase reader_;
    platform::SqliteStatement readerSelectByKey_;

    // Last member: destroyed first, after the destructor's final block has run.
    platform::SerialQueue databaseQueue_{"Data Cache queue"};
};

} // namespace socialnet
