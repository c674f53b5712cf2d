#pragma once

#include "platform/foundation/BackgroundWriter.h"
#include "platform/foundation/Value.h"

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Small settings kept between runs: one property list file "defaults.plist" in
// the data folder. The file is read on first use (and again when the data folder
// changes); setters change memory and mark it dirty; synchronize() hands a copy of
// the values to a writer thread when something changed, which writes the file
// atomically (mode 0600): the caller never waits for the disk, even when the file
// holds a large stored mailbox. A copy still waiting is replaced by a newer one,
// so a crash loses at most the last synchronize. Large data values are shared
// between the values and their copies, never copied; deferred data
// (Value::deferredData) is made by the writer as it writes, unless a reader asks
// for it first, and once written is made again when next needed rather than kept.
// Every method is safe from any thread. The writer never waits for the defaults' lock
// (a caller may hold it while waiting for the writer).
class UserDefaults {
public:
    static UserDefaults& standard();

    // Follows the data folder: dataDirectory()/defaults.plist.
    UserDefaults() = default;
    // Uses this file whatever the data folder is.
    explicit UserDefaults(std::string filePath);

    static constexpr std::string_view kFileName = "defaults.plist";

    // A null value when the key is absent.
    Value objectForKey(std::string_view key) const;
    // Converted as Value converts: text of numbers, numbers of text; zero or
    // empty when absent.
    std::string stringForKey(std::string_view key) const;
    bool boolForKey(std::string_view key) const;
    int intForKey(std::string_view key) const;
    int64_t int64ForKey(std::string_view key) const;
    double doubleForKey(std::string_view key) const;
    Bytes dataForKey(std::string_view key) const;
    // Seconds since 1970; 0 when absent.
    double dateForKey(std::string_view key) const;
    // The stored array or dictionary, or a null value when the key holds something else.
    Value arrayForKey(std::string_view key) const;
    Value dictionaryForKey(std::string_view key) const;

    // Setting a null value removes the key.
    void setObject(Value value, std::string_view key);
    void setString(const std::string& value, std::string_view key);
    void setBool(bool value, std::string_view key);
    void setInt(int value, std::string_view key);
    void setInt64(int64_t value, std::string_view key);
    void setDouble(double value, std::string_view key);
    void setData(const Bytes& value, std::string_view key);
    void setData(Bytes&& value, std::string_view key);
    void setDate(double secondsSince1970, std::string_view key);
    void removeObjectForKey(std::string_view key);

    // Hands the values to the writer when something changed since the last write,
    // or when the last write failed (then false is returned).
    bool synchronize();
    // synchronize(), then waits until the file is written: for the exit and for
    // whoever reads the file itself. False when the write failed.
    bool flush();
    // Writes what waits and ends the writer thread: for the exit. A save that another thread
    // began meanwhile is written before it returns. A later synchronize writes on the thread
    // that stopped the writer; on any other thread it is refused, logged and returns false
    // (the exit goes on without it).
    void stopWriter();
    // The tests' hook into the writer (BackgroundWriter::setTestHook); null but in tests.
    void setWriterTestHook(BackgroundWriter::TestHook hook);

    // Every stored key and value.
    Value dictionaryRepresentation() const;

    // Forgets the values in memory, unsaved changes included (what synchronize
    // handed over is written first); the next call reads the file again, as a new
    // process would.
    void reset();

private:
    std::string filePathLocked() const;
    void loadIfNeededLocked() const;
    // False when the save is refused (asked on another thread after the exit stopped the writer).
    bool writeLocked() const;
    // Waits for what was handed to the writer, holding the lock.
    void waitForWriterLocked() const;
    // After `written` is in the file: large data made for it (Value::deferredData) is made
    // again when next asked for instead of staying in memory beside the file. Run by the
    // write; forgets at once when the lock is free, else leaves it to the next call that
    // takes the lock (the writer never waits for it).
    void handBackWritten(Value written) const;
    // Forgets the made data of the values last handed back; returns those values when they
    // hold the last copy of such data (to be dropped where the freed memory goes back to
    // the system), else null.
    Value forgetWrittenDataLocked() const;

    mutable std::mutex mutex_;
    std::string fixedPath_;
    mutable std::string loadedPath_;
    mutable bool loaded_ = false;
    mutable bool dirty_ = false;
    mutable Value values_;
    // The values a write handed back and nobody forgot yet; never held while waiting.
    mutable std::mutex writtenMutex_;
    mutable Value written_;
    // Declared last: it ends (after its last write) before the values go.
    mutable BackgroundWriter writer_;
};

} // namespace platform
