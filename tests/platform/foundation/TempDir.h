#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace platform::test {

// A fresh folder under the system temp folder, removed with everything in it
// when the object goes.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "foundation-XXXXXX").string();
        if (char* made = ::mkdtemp(pattern.data())) path_ = made;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

} // namespace platform::test
