#include "sdk/socialnet/SNDataDiskCache.h"

#include "platform/foundation/FileSystem.h"
#include "platform/runtime/Log.h"
#include "sdk/socialnet/SNSession.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace socialnet {

namespace {

std::string asciiLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// As SQL LIKE "%fragment%" without wildcards in the fragment: ASCII letters in any case.
bool containsIgnoringCase(const std::string& text, const std::string& fragment) {
    return asciiLower(text).find(asciiLower(fragment)) != std::string::npos;
}

bool writeCacheFile(const std::string& path, const std::string& data) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        platform::log("SNDiskCache: cannot write " + path);
        return false;
    }
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += size_t(n);
    }
    ::close(fd);
    if (done == data.size()) return true;
    platform::log("SNDiskCache: could not write all of " + path);
    ::unlink(path.c_str());
    return false;
}

} // namespace

namespace {

struct Shared {
    std::mutex mutex;
    // Never destroyed: connections may still finish while the process exits.
    SNDataDiskCache* cache = nullptr;
};

Shared& shared() {
    static Shared* instance = new Shared();
    return *instance;
}

} // namespace

SNDataDiskCache& SNDataDiskCache::sharedCache() {
    std::lock_guard lock(shared().mutex);
    if (!shared().cache)
        shared().cache = new SNDataDiskCache(platform::joinPath(platform::cachesDirectory(), kFolderName));
    return *shared().cache;
}

void SNDataDiskCache::resetSharedCacheForTesting(const std::string& folder) {
    std::lock_guard lock(shared().mutex);
    delete shared().cache;
    shared().cache = new SNDataDiskCache(folder);
}

SNDataDiskCache::SNDataDiskCache(const std::string& folder) : dataCachePath_(folder) {
    platform::createDirectories(dataCachePath_);
    cacheIndex_ = SNCacheIndex::initWithCacheFolder(dataCachePath_);
    if (cacheIndex_) {
        cacheIndex_->setDiskCapacity(kDiskCapacity);
        cacheIndex_->setDelegate(this);
    }
    inMemoryCache_.setTotalCostLimit(kMemoryCapacity);
}

SNDataDiskCache::~SNDataDiskCache() {
    if (cacheIndex_) cacheIndex_->setDelegate(nullptr);
    cacheIndex_.reset();
}

std::optional<std::string> SNDataDiskCache::dataForURL(const std::string& url) {
    std::optional<std::string> data;
    try {
        data = inMemoryCache_.object(url);
        // Asked even when memory answers: it marks the entry used.
        auto file = cacheIndex_ ? cacheIndex_->fileForKey(url) : std::nullopt;
        if (!data && file) {
            if (auto queued = pendingWrite(file->name)) {
                data = *queued;
            } else {
                data = platform::readTextFile(platform::joinPath(dataCachePath_, file->name));
                // A file that is gone or was cut short (files are written without a disk
                // sync) is a miss, and its entry goes.
                if (!data || data->size() != file->size) {
                    platform::log("SNDiskCache: dropping the entry of a missing or damaged file");
                    data.reset();
                    cacheIndex_->removeEntryForKey(url);
                }
            }
            if (data) inMemoryCache_.setObject(url, *data, data->size());
        }
    } catch (const std::exception& error) {
        platform::log(std::string("SNDiskCache error: ") + error.what());
    }
    return data;
}

void SNDataDiskCache::setDataForURL(const std::string& data, const std::string& url) {
    try {
        if (cacheIndex_) cacheIndex_->storeFileForKey(url, data);
        inMemoryCache_.setObject(url, data, data.size());
    } catch (const std::exception& error) {
        platform::log(std::string("SNDiskCache error: ") + error.what());
    }
}

void SNDataDiskCache::removeDataForUrl(const std::string& url) {
    inMemoryCache_.removeObject(url);
    if (cacheIndex_) cacheIndex_->removeEntryForKey(url);
}

void SNDataDiskCache::removeDataForSession(const SNSession& session) {
    removeDataForToken(session.accessToken());
}

void SNDataDiskCache::removeDataForToken(const std::string& accessToken) {
    if (cacheIndex_) {
        cacheIndex_->removeEntries(std::string("access_token"), true);
        if (!accessToken.empty()) cacheIndex_->removeEntries(accessToken, false);
    }
    // Memory too: a signed-out session's data must not be answered from there.
    inMemoryCache_.removeObjectsIf([&](const std::string& url) {
        return !containsIgnoringCase(url, "access_token") ||
               (!accessToken.empty() && containsIgnoringCase(url, accessToken));
    });
}

bool SNDataDiskCache::doesFileExist(const std::string& name) const {
    return platform::fileExists(platform::joinPath(dataCachePath_, name));
}

std::shared_ptr<const std::string> SNDataDiskCache::pendingWrite(const std::string& name) {
    std::lock_guard lock(pendingWritesMutex_);
    auto it = pendingWrites_.find(name);
    return it == pendingWrites_.end() ? nullptr : it->second;
}

void SNDataDiskCache::cacheIndexWriteFileWithName(SNCacheIndex&, const std::string& name, const std::string& data) {
    auto bytes = std::make_shared<const std::string>(data);
    {
        // Until the file is written, lookups are answered from here.
        std::lock_guard lock(pendingWritesMutex_);
        pendingWrites_[name] = bytes;
    }
    std::string path = platform::joinPath(dataCachePath_, name);
    fileQueue_.async([this, path, name, bytes] {
        // Written in place without a disk sync: a file lost or cut short by a crash is
        // only a miss (see dataForURL).
        writeCacheFile(path, *bytes);
        std::lock_guard lock(pendingWritesMutex_);
        auto it = pendingWrites_.find(name);
        if (it != pendingWrites_.end() && it->second == bytes) pendingWrites_.erase(it);
    });
}

void SNDataDiskCache::cacheIndexDeleteFileWithName(SNCacheIndex&, const std::string& name) {
    {
        std::lock_guard lock(pendingWritesMutex_);
        pendingWrites_.erase(name);
    }
    std::string path = platform::joinPath(dataCachePath_, name);
    fileQueue_.async([path] { platform::removeFile(path); });
}

void SNDataDiskCache::waitUntilIdle() {
    // The index queue may queue file work, and file work queues nothing.
    if (cacheIndex_) cacheIndex_->databaseQueue().waitUntilIdle();
    fileQueue_.waitUntilIdle();
}

} // namespace socialnet
