#pragma once

#include "platform/runtime/Clock.h"
#include "sdk/socialnet/SNCacheIndex.h"

#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace socialnet::test {

// Hears what the index asks of the files, on whatever thread it asks.
class RecordingFileDelegate : public SNCacheIndexFileDelegate {
public:
    void cacheIndexWriteFileWithName(SNCacheIndex&, const std::string& name, const std::string& data) override;
    void cacheIndexDeleteFileWithName(SNCacheIndex&, const std::string& name) override;
    std::vector<std::string> written() const;
    std::vector<std::string> deleted() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> written_;
    std::vector<std::string> deleted_;
};

// A row of "cache.db" as a separate connection reads it.
struct IndexRow {
    std::string uuid;
    std::string key;
    double accessTime;
    int64_t fileSize;
};

// Each test: a fresh temporary folder and the manual clock.
class CacheFolderFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Every row of "cache.db" in indexFolder_, by key.
    std::vector<IndexRow> rows() const;
    // Runs a statement on "cache.db" through a connection of its own.
    void execOnFile(const std::string& sql) const;
    void advanceClock(double seconds);

    std::string folder_;
    std::string indexFolder_; // folder_ unless a test moves it
    std::unique_ptr<platform::ScopedManualClock> clock_;
};

} // namespace socialnet::test
