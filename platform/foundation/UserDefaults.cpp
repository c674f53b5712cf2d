#include "platform/foundation/UserDefaults.h"

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/PropertyList.h"
#include "platform/runtime/Log.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <utility>

namespace platform {

UserDefaults& UserDefaults::standard() {
    static UserDefaults* defaults = [] {
        auto* made = new UserDefaults(); // lives for the process
        // Its writer writes what waits and ends with the process; a later synchronize
        // writes at once.
        std::atexit([] { standard().stopWriter(); });
        return made;
    }();
    return *defaults;
}

namespace {

constexpr size_t kLargeData = 64 * 1024;

// The made bytes go with the written copy. They were made on the writer's thread, in its
// own heap, at whose top they usually lie once freed; the allocator gives a heap's free
// top back only beyond its trim threshold (once a large file was read, twice its size,
// up to 64 MB), and malloc_trim never gives back a thread heap's top. So the threshold is
// lowered while they go, then both thresholds are set where the allocator itself raises
// them after a large file (set by hand, they stay there); malloc_trim gives back the freed
// blocks below the top.
void dropMadeData(Value written) {
    if (written.isNull()) return;
    constexpr int kLargestHeapBlock = 32 * 1024 * 1024; // the allocator's own limit
    ::mallopt(M_TRIM_THRESHOLD, 0);
    written = Value();
    ::mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
    ::mallopt(M_TRIM_THRESHOLD, 2 * kLargestHeapBlock);
    ::malloc_trim(0);
}

bool holdsMadeData(const Value& values) {
    const auto& entries = values.dictValue();
    return std::any_of(entries.begin(), entries.end(), [](const auto& entry) { return entry.second.isMadeData(); });
}

} // namespace

UserDefaults::UserDefaults(std::string filePath) : fixedPath_(std::move(filePath)) {}

std::string UserDefaults::filePathLocked() const {
    if (!fixedPath_.empty()) return fixedPath_;
    return joinPath(dataDirectory(), kFileName);
}

void UserDefaults::loadIfNeededLocked() const {
    dropMadeData(forgetWrittenDataLocked());
    std::string path = filePathLocked();
    if (loaded_ && path == loadedPath_) return;
    if (loaded_ && dirty_) {
        // The data folder moved: what was set for the old one is saved there first.
        writeLocked();
    }
    // A write handed over may be for this file.
    waitForWriterLocked();
    // A write an earlier run did not finish left its temporary file beside the file, where
    // nothing else would ever remove it; this one's writes have all ended, and one another
    // client on the same folder is making stays.
    const std::filesystem::path file(path);
    removeInterruptedWrites(file.has_parent_path() ? file.parent_path().string() : ".", file.filename().string());
    Value stored = PropertyList::readFile(path);
    if (!stored.isNull() && !stored.isDictionary()) log("UserDefaults: " + path + " is not a dictionary; ignored");
    values_ = stored.isDictionary() ? std::move(stored) : Value::emptyDictionary();
    loadedPath_ = path;
    loaded_ = true;
    dirty_ = false;
}

void UserDefaults::waitForWriterLocked() const {
    writer_.wait();
    dropMadeData(forgetWrittenDataLocked());
}

bool UserDefaults::writeLocked() const {
    const bool handed = writer_.submit([this, path = loadedPath_, values = values_]() mutable {
        if (!PropertyList::writeFile(path, values)) {
            log("UserDefaults: cannot save " + path);
            return false;
        }
        if (holdsMadeData(values)) handBackWritten(std::move(values));
        return true;
    });
    if (!handed) {
        // The exit stopped the writer and is past its wait: the process may end mid-write.
        log("UserDefaults: a save from another thread after the exit began is not written to " + loadedPath_);
        return false;
    }
    dirty_ = false;
    return true;
}

void UserDefaults::handBackWritten(Value written) const {
    {
        std::lock_guard lock(writtenMutex_);
        written_ = std::move(written);
    }
    // A write run on the caller's thread (after the writer stopped) runs under the lock.
    if (!writer_.onWriterThread()) return dropMadeData(forgetWrittenDataLocked());
    // The writer never waits for the lock: its holder may be waiting for the writer. When
    // the lock is taken, the holder's next call forgets instead.
    Value dropped;
    if (std::unique_lock lock(mutex_, std::try_to_lock); lock.owns_lock()) dropped = forgetWrittenDataLocked();
    dropMadeData(std::move(dropped));
}

Value UserDefaults::forgetWrittenDataLocked() const {
    Value written;
    {
        std::lock_guard lock(writtenMutex_);
        written = std::exchange(written_, Value());
    }
    bool forgot = false;
    for (const auto& [key, value] : written.dictValue()) {
        const Value& current = values_.get(key);
        if (!value.isMadeData() || !current.sharesDataWith(value)) continue;
        values_.set(key, current.unmade());
        forgot = true;
    }
    if (!forgot) return Value();
    return written;
}

Value UserDefaults::objectForKey(std::string_view key) const {
    std::lock_guard<std::mutex> lock(mutex_);
    loadIfNeededLocked();
    return values_.get(key);
}

std::string UserDefaults::stringForKey(std::string_view key) const {
    return objectForKey(key).stringValue();
}
bool UserDefaults::boolForKey(std::string_view key) const {
    return objectForKey(key).boolValue();
}
int UserDefaults::intForKey(std::string_view key) const {
    return objectForKey(key).intValue();
}
int64_t UserDefaults::int64ForKey(std::string_view key) const {
    return objectForKey(key).int64Value();
}
double UserDefaults::doubleForKey(std::string_view key) const {
    return objectForKey(key).doubleValue();
}
Bytes UserDefaults::dataForKey(std::string_view key) const {
    return objectForKey(key).dataValue();
}
double UserDefaults::dateForKey(std::string_view key) const {
    return objectForKey(key).dateValue();
}

Value UserDefaults::arrayForKey(std::string_view key) const {
    Value v = objectForKey(key);
    return v.isArray() ? v : Value();
}

Value UserDefaults::dictionaryForKey(std::string_view key) const {
    Value v = objectForKey(key);
    return v.isDictionary() ? v : Value();
}

void UserDefaults::setObject(Value value, std::string_view key) {
    std::lock_guard<std::mutex> lock(mutex_);
    loadIfNeededLocked();
    // Setting what is already stored changes nothing, so it writes nothing: launch sets
    // its switches every time, and the file may hold a large mailbox.
    if (value.isNull()) {
        if (!values_.contains(key)) return;
        values_.remove(key);
    } else {
        // Large data (a stored mailbox) and data still to be made are taken as changed:
        // comparing would decode the stored copy or make the new one here, and their
        // owner sets them only after a change.
        const bool large = value.type() == ValueType::Data && (value.isDeferredData() || value.size() >= kLargeData);
        if (!large && values_.contains(key) && values_.get(key) == value) return;
        values_.set(key, std::move(value));
    }
    dirty_ = true;
}

void UserDefaults::setString(const std::string& value, std::string_view key) {
    setObject(Value(value), key);
}
void UserDefaults::setBool(bool value, std::string_view key) {
    setObject(Value(value), key);
}
void UserDefaults::setInt(int value, std::string_view key) {
    setObject(Value(value), key);
}
void UserDefaults::setInt64(int64_t value, std::string_view key) {
    setObject(Value(value), key);
}
void UserDefaults::setDouble(double value, std::string_view key) {
    setObject(Value(value), key);
}
void UserDefaults::setData(const Bytes& value, std::string_view key) {
    setObject(Value::sharedData(value), key);
}
void UserDefaults::setData(Bytes&& value, std::string_view key) {
    setObject(Value::sharedData(std::move(value)), key);
}
void UserDefaults::setDate(double secondsSince1970, std::string_view key) {
    setObject(Value::date(secondsSince1970), key);
}
void UserDefaults::removeObjectForKey(std::string_view key) {
    setObject(Value(), key);
}

bool UserDefaults::synchronize() {
    std::lock_guard<std::mutex> lock(mutex_);
    loadIfNeededLocked();
    const bool lastOk = writer_.lastSucceeded();
    if ((dirty_ || !lastOk) && !writeLocked()) return false;
    return lastOk;
}

bool UserDefaults::flush() {
    synchronize();
    const bool ok = writer_.wait();
    std::lock_guard<std::mutex> lock(mutex_);
    dropMadeData(forgetWrittenDataLocked());
    return ok;
}

void UserDefaults::stopWriter() {
    writer_.stop();
}

void UserDefaults::setWriterTestHook(BackgroundWriter::TestHook hook) {
    writer_.setTestHook(std::move(hook));
}

Value UserDefaults::dictionaryRepresentation() const {
    std::lock_guard<std::mutex> lock(mutex_);
    loadIfNeededLocked();
    return values_;
}

void UserDefaults::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    waitForWriterLocked();
    loaded_ = false;
    dirty_ = false;
    loadedPath_.clear();
    values_ = Value();
}

} // namespace platform
