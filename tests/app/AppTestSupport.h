#pragma once

#include <string>

namespace kavo::test {

// The resources folder of the source tree (KAVO_SOURCE_DIR/resources).
std::string sourceResources();

// A fresh folder under /tmp, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    // Writes a file (creating its folder) and returns its path.
    std::string write(const std::string& relativePath, const std::string& content) const;

private:
    std::string path_;
};

// For the life of the object: the bundle is `bundle` (the source tree's resources
// by default), the user defaults live in a new empty folder, the main run loop is this
// thread's, emptied at both ends, and nothing is on screen at either end (no window, alert,
// notice or keyboard). Restores the previous bundle after.
class AppEnvironment {
public:
    explicit AppEnvironment(const std::string& bundle = sourceResources());
    ~AppEnvironment();
    AppEnvironment(const AppEnvironment&) = delete;
    AppEnvironment& operator=(const AppEnvironment&) = delete;
    const TempFolder& data() const { return data_; }

private:
    std::string previousBundle_;
    TempFolder data_;
};

} // namespace kavo::test
