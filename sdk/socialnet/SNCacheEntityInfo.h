#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace socialnet {

// One entry of the response cache index: which file holds a key's data, when it was
// last used and how large it is. Shared between the index's memory cache and its
// database queue, so every field is guarded.
class SNCacheEntityInfo {
public:
    SNCacheEntityInfo(std::string key, std::string uuid, double accessTime, uint32_t fileSize);

    const std::string& key() const { return key_; }
    const std::string& uuid() const { return uuid_; }
    uint32_t fileSize() const { return fileSize_; }
    double accessTime() const { return accessTime_; }
    bool isDirty() const { return dirty_; }
    void setDirty(bool dirty) { dirty_ = dirty; }
    // Used now: the new access time must reach the database.
    void registerAccess();

    // Seconds since 2001-01-01 00:00:00 UTC, moving with the platform clock.
    static double absoluteTimeNow();

private:
    const std::string key_;
    const std::string uuid_;
    const uint32_t fileSize_;
    std::atomic<double> accessTime_;
    std::atomic<bool> dirty_{false};
};

} // namespace socialnet
