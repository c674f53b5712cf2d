#pragma once

#include "platform/runtime/SerialQueue.h"
#include "sdk/socialnet/SNCacheIndex.h"
#include "sdk/socialnet/SNMemoryCache.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace socialnet {

class SNSession;

// The process-wide cache of response data by URL: up to 1 MiB in memory in front of
// files in "DataDiskCache" under the caches folder, indexed (and trimmed beyond
// 10 MiB) by an SNCacheIndex in the same folder. Files are written and deleted on
// the "File Cache Queue". Without a usable index only the memory part works.
// Safe from any thread.
class SNDataDiskCache : public SNCacheIndexFileDelegate {
public:
    static constexpr const char* kFolderName = "DataDiskCache";
    static constexpr size_t kMemoryCapacity = 1048576;
    static constexpr uint32_t kDiskCapacity = 10485760;

    static SNDataDiskCache& sharedCache();
    // Replaces the shared instance by one in the folder (after waiting for the old one's
    // queues); references to the old one must be gone. Tests and tools only.
    static void resetSharedCacheForTesting(const std::string& folder);

    // A cache in the folder (created when missing), for tools and tests.
    explicit SNDataDiskCache(const std::string& folder);
    ~SNDataDiskCache() override;

    // Keys are absolute URL texts.
    std::optional<std::string> dataForURL(const std::string& url);
    void setDataForURL(const std::string& data, const std::string& url);
    void removeDataForUrl(const std::string& url);
    // Drops what a signed-out session could otherwise still be answered: data fetched
    // without a token, and data fetched with this session's token.
    void removeDataForSession(const SNSession& session);
    void removeDataForToken(const std::string& accessToken);

    size_t cacheSizeMemory() const { return inMemoryCache_.totalCostLimit(); }
    void setCacheSizeMemory(size_t size) { inMemoryCache_.setTotalCostLimit(size); }
    const std::string& dataCachePath() const { return dataCachePath_; }
    platform::SerialQueue& fileQueue() { return fileQueue_; }
    // Null when the index could not be opened.
    SNCacheIndex* cacheIndex() { return cacheIndex_.get(); }
    bool doesFileExist(const std::string& name) const;

    void cacheIndexWriteFileWithName(SNCacheIndex& index, const std::string& name, const std::string& data) override;
    void cacheIndexDeleteFileWithName(SNCacheIndex& index, const std::string& name) override;

    // Waits until both queues have done what was queued so far (tests and tools).
    void waitUntilIdle();
    // The memory part alone forgets everything (tests: make a lookup read the file).
    void dropMemoryForTesting() { inMemoryCache_.removeAllObjects(); }

private:
    // The data of a file queued for writing and not yet written.
    std::shared_ptr<const std::string> pendingWrite(const std::string& name);

    std::mutex pendingWritesMutex_;
    std::unordered_map<std::string, std::shared_ptr<const std::string>> pendingWrites_;
    SNMemoryCache<std::string> inMemoryCache_;
    std::string dataCachePath_;
    platform::SerialQueue fileQueue_{"File Cache Queue"};
    // After the file queue: destroyed first, so its last deletes still find the queue.
    std::unique_ptr<SNCacheIndex> cacheIndex_;
};

} // namespace socialnet
