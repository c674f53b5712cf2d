#include "sdk/socialnet/SNDataDiskCache.h"

#include "platform/foundation/FileSystem.h"
#include "platform/runtime/Log.h"
#include "sdk/socialnet/SNSession.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <mutex>

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
        auto fileName = cacheIndex_ ? cacheIndex_->fileNameForKey(url) : std::nullopt;
        if (!data && fileName && doesFileExist(*fileName)) {
            if (auto text = platform::readTextFile(platform::joinPath(dataCachePath_, *fileName))) {
                data = std::move(text);
                inMemoryCache_.setObject(url, *data, data->size());
            }
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

void SNDataDiskCache::cacheIndexWriteFileWithName(SNCacheIndex&, const std::string& name, const std::string& data) {
    std::string path = platform::joinPath(dataCachePath_, name);
    fileQueue_.async([path, data] { platform::writeFileAtomically(path, data); });
}

void SNDataDiskCache::cacheIndexDeleteFileWithName(SNCacheIndex&, const std::string& name) {
    std::string path = platform::joinPath(dataCachePath_, name);
    fileQueue_.async([path] { platform::removeFile(path); });
}

void SNDataDiskCache::waitUntilIdle() {
    // The index queue may queue file work, and file work queues nothing.
    if (cacheIndex_) cacheIndex_->databaseQueue().waitUntilIdle();
    fileQueue_.waitUntilIdle();
}

} // namespace socialnet
