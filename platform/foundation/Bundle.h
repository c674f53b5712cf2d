#pragma once

#include "platform/foundation/Value.h"

#include <mutex>
#include <string>
#include <string_view>

namespace platform {

// The folder of read-only resources shipped with the client: pictures, sounds,
// the configuration and language property lists and the bundle information file
// "Info.plist".
class Bundle {
public:
    static Bundle& main();

    // The application sets it from --bundle DIR; until then it is the folder
    // "resources" next to the executable.
    void setMainPath(const std::string& directory);
    std::string path() const;

    // path/name.ext (or path/name when ext is empty) when that file exists, else "".
    std::string pathForResource(std::string_view name, std::string_view ext) const;

    // Info.plist of the folder, read once (again after setMainPath).
    Value infoDictionary();
    Value objectForInfoKey(std::string_view key);

    // The property list name.plist, or a null value when absent or malformed.
    Value loadPlist(std::string_view name) const;

private:
    Bundle() = default;
    std::string pathLocked() const;

    mutable std::mutex mutex_;
    std::string path_;
    bool infoLoaded_ = false;
    Value info_;
};

} // namespace platform
