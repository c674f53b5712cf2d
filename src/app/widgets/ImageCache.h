#pragma once

#include "platform/ui/Image.h"

#include <cstddef>
#include <deque>
#include <map>
#include <mutex>
#include <string>

namespace kavo {

// A process-wide two-level store of pictures under text keys: the 20 most recently stored
// or loaded pictures in memory, backed by one PNG file per key in the folder
// "KavoOnlineFolder" under the data folder's caches. A key is hashed into its file name,
// so any text is a valid key. Files older than ten days are purged by removeOldImages.
class ImageCache {
public:
    static ImageCache& sharedImageCache();

    static constexpr size_t kMemoryLimit = 20;
    // A file is old when it was written this many seconds ago or more (ten days and one second).
    static constexpr double kOldAge = 864001;

    // Memory first, then the key's file (which then enters memory); nullptr when neither.
    platform::ui::ImagePtr imageForKey(const std::string& key);
    bool hasImageWithKey(const std::string& key);
    // Writes the picture's file atomically, then keeps it in memory as the most recent.
    // Nothing happens without a picture or a key.
    void storeImage(const platform::ui::ImagePtr& image, const std::string& key);
    void removeImageWithKey(const std::string& key);
    // Empties memory and the folder (the folder stays).
    void removeAllImages();
    void removeAllImagesInMemory();
    // Deletes the files written kOldAge seconds ago or more; memory is not touched.
    void removeOldImages();

    bool imageExistsInMemory(const std::string& key);
    bool imageExistsInDisk(const std::string& key);
    size_t countImagesInMemory();
    size_t countImagesInDisk();

    // Puts the picture in memory as the most recent; a key already there moves to the
    // front, and the least recent picture leaves when the limit is passed.
    void addImageToMemoryCache(const platform::ui::ImagePtr& image, const std::string& key);
    // The folder, created on demand (it follows the data folder).
    std::string getCacheDirectoryName();
    std::string getFileNameForKey(const std::string& key);

    // The keys in memory, most recent first (for tests and tree dumps).
    std::deque<std::string> keysInMemory();

private:
    ImageCache() = default;
    void addLocked(const platform::ui::ImagePtr& image, const std::string& key);

    std::mutex mutex_;
    std::deque<std::string> keyArray_;
    std::map<std::string, platform::ui::ImagePtr> memoryCache_;
};

// A new picture read from the bundle's folder without the named-picture cache; nullptr when
// the file is missing or unreadable.
platform::ui::ImagePtr newImageFromResource(const std::string& fileName);

} // namespace kavo
