#include "tests/socialnet/cache/SNCacheTestSupport.h"

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/SqliteDatabase.h"

#include <cstdlib>
#include <filesystem>

namespace socialnet::test {

void RecordingFileDelegate::cacheIndexWriteFileWithName(SNCacheIndex&, const std::string& name, const std::string&) {
    std::lock_guard lock(mutex_);
    written_.push_back(name);
}

void RecordingFileDelegate::cacheIndexDeleteFileWithName(SNCacheIndex&, const std::string& name) {
    std::lock_guard lock(mutex_);
    deleted_.push_back(name);
}

std::vector<std::string> RecordingFileDelegate::written() const {
    std::lock_guard lock(mutex_);
    return written_;
}

std::vector<std::string> RecordingFileDelegate::deleted() const {
    std::lock_guard lock(mutex_);
    return deleted_;
}

void CacheFolderFixture::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sn-cache-XXXXXX").string();
    folder_ = mkdtemp(pattern.data()) ? pattern : std::string();
    ASSERT_FALSE(folder_.empty());
    indexFolder_ = folder_;
    clock_ = std::make_unique<platform::ScopedManualClock>();
}

void CacheFolderFixture::TearDown() {
    clock_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::vector<IndexRow> CacheFolderFixture::rows() const {
    platform::SqliteDatabase db;
    std::vector<IndexRow> result;
    if (!db.open(platform::joinPath(indexFolder_, "cache.db"))) return result;
    auto select = db.prepare("SELECT uuid, key, access_time, file_size FROM cache_index ORDER BY key");
    while (select.step() == platform::SqliteDatabase::kRow)
        result.push_back({select.columnText(0), select.columnText(1), select.columnDouble(2), select.columnInt(3)});
    return result;
}

void CacheFolderFixture::execOnFile(const std::string& sql) const {
    platform::SqliteDatabase db;
    ASSERT_TRUE(db.open(platform::joinPath(indexFolder_, "cache.db")));
    ASSERT_TRUE(db.exec(sql)) << db.errorMessage();
}

void CacheFolderFixture::advanceClock(double seconds) {
    clock_->clock().set(clock_->clock().now() + seconds);
}

} // namespace socialnet::test
