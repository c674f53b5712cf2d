#pragma once

#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace services_test {

// The main run loop bound to the test's thread, on the manual clock, emptied
// before and after each test.
class MainLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::RunLoop::main().bindToCurrentThread();
        platform::RunLoop::main().reset();
    }
    void TearDown() override { platform::RunLoop::main().reset(); }

    void runPosted() { platform::RunLoop::main().runPending(); }

    platform::ScopedManualClock clock_;
};

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Writes a short mono 16-bit WAV tone of `samples` samples.
void writeWav(const std::filesystem::path& file, int samples = 800, int rate = 8000);

} // namespace services_test
