#include "app/widgets/ImageCache.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/DateFormat.h"
#include "platform/foundation/FileSystem.h"
#include "platform/runtime/Log.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace kavo {

namespace {

constexpr const char* kFolderName = "KavoOnlineFolder";
constexpr const char* kCachesFolderName = "Caches";

// FNV-1a over the bytes, forwards or backwards: two 64-bit hashes side by side make a file
// name in which a collision of two keys is out of practical reach.
uint64_t fnv1a(const std::string& text, bool reverse) {
    uint64_t hash = 14695981039346656037ull;
    auto mix = [&hash](unsigned char byte) {
        hash ^= byte;
        hash *= 1099511628211ull;
    };
    if (reverse)
        std::for_each(text.rbegin(), text.rend(), mix);
    else
        std::for_each(text.begin(), text.end(), mix);
    return hash;
}

// Seconds since 1970 of the file's last write; files here are written once, so this is
// when the picture was stored.
std::optional<double> writeDate(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return std::nullopt;
    return double(info.st_mtim.tv_sec) + double(info.st_mtim.tv_nsec) / 1e9;
}

// The entries of a folder; an unreadable folder has none.
std::vector<std::filesystem::path> folderEntries(const std::string& folder) {
    std::vector<std::filesystem::path> entries;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(folder, error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        entries.push_back(it->path());
    return entries;
}

} // namespace

ImageCache& ImageCache::sharedImageCache() {
    static ImageCache* instance = new ImageCache(); // lives for the process
    return *instance;
}

std::string ImageCache::getCacheDirectoryName() {
    std::string folder =
        platform::joinPath(platform::joinPath(platform::dataDirectory(), kCachesFolderName), kFolderName);
    // A failure shows later as a missing file; nothing more to do about it here.
    platform::createDirectories(folder);
    return folder;
}

std::string ImageCache::getFileNameForKey(const std::string& key) {
    char name[48];
    std::snprintf(name, sizeof name, "%016llx%016llx.png", static_cast<unsigned long long>(fnv1a(key, false)),
                  static_cast<unsigned long long>(fnv1a(key, true)));
    return platform::joinPath(getCacheDirectoryName(), name);
}

platform::ui::ImagePtr ImageCache::imageForKey(const std::string& key) {
    std::lock_guard lock(mutex_);
    if (auto found = memoryCache_.find(key); found != memoryCache_.end()) return found->second;
    std::string path = getFileNameForKey(key);
    if (!platform::fileExists(path)) return nullptr;
    auto image = platform::ui::Image::fromFile(path);
    if (!image) {
        platform::log("ImageCache: unreadable picture file " + path);
        return nullptr;
    }
    addLocked(image, key);
    return image;
}

bool ImageCache::hasImageWithKey(const std::string& key) {
    return imageExistsInMemory(key) || imageExistsInDisk(key);
}

void ImageCache::storeImage(const platform::ui::ImagePtr& image, const std::string& key) {
    if (!image || key.empty()) return;
    std::lock_guard lock(mutex_);
    platform::writeFileAtomically(getFileNameForKey(key), image->pngData());
    addLocked(image, key);
}

void ImageCache::addImageToMemoryCache(const platform::ui::ImagePtr& image, const std::string& key) {
    if (!image || key.empty()) return;
    std::lock_guard lock(mutex_);
    addLocked(image, key);
}

void ImageCache::addLocked(const platform::ui::ImagePtr& image, const std::string& key) {
    // A key stored again moves to the front rather than taking a second place, so the
    // picture stays as long as its latest use says.
    keyArray_.erase(std::remove(keyArray_.begin(), keyArray_.end(), key), keyArray_.end());
    memoryCache_[key] = image;
    keyArray_.push_front(key);
    while (keyArray_.size() > kMemoryLimit) {
        memoryCache_.erase(keyArray_.back());
        keyArray_.pop_back();
    }
}

void ImageCache::removeImageWithKey(const std::string& key) {
    std::lock_guard lock(mutex_);
    if (memoryCache_.erase(key) > 0)
        keyArray_.erase(std::remove(keyArray_.begin(), keyArray_.end(), key), keyArray_.end());
    std::string path = getFileNameForKey(key);
    if (platform::fileExists(path)) platform::removeFile(path);
}

void ImageCache::removeAllImages() {
    std::lock_guard lock(mutex_);
    keyArray_.clear();
    memoryCache_.clear();
    std::error_code error;
    for (const auto& entry : folderEntries(getCacheDirectoryName()))
        std::filesystem::remove_all(entry, error);
}

void ImageCache::removeAllImagesInMemory() {
    std::lock_guard lock(mutex_);
    keyArray_.clear();
    memoryCache_.clear();
}

void ImageCache::removeOldImages() {
    std::lock_guard lock(mutex_);
    const double now = platform::currentDate();
    std::error_code error;
    for (const auto& entry : folderEntries(getCacheDirectoryName())) {
        auto written = writeDate(entry.string());
        if (!written) continue;
        // Whole seconds either way: a clock set back does not keep a file for ever.
        double age = std::trunc(std::fabs(now - *written));
        if (age >= kOldAge) std::filesystem::remove_all(entry, error);
    }
}

bool ImageCache::imageExistsInMemory(const std::string& key) {
    std::lock_guard lock(mutex_);
    return memoryCache_.count(key) > 0;
}

bool ImageCache::imageExistsInDisk(const std::string& key) {
    std::lock_guard lock(mutex_);
    return platform::fileExists(getFileNameForKey(key));
}

size_t ImageCache::countImagesInMemory() {
    std::lock_guard lock(mutex_);
    return memoryCache_.size();
}

size_t ImageCache::countImagesInDisk() {
    std::lock_guard lock(mutex_);
    return folderEntries(getCacheDirectoryName()).size();
}

std::deque<std::string> ImageCache::keysInMemory() {
    std::lock_guard lock(mutex_);
    return keyArray_;
}

platform::ui::ImagePtr newImageFromResource(const std::string& fileName) {
    if (fileName.empty() || fileName.find("..") != std::string::npos) return nullptr;
    return platform::ui::Image::fromFile(platform::Bundle::main().path() + "/" + fileName);
}

} // namespace kavo
