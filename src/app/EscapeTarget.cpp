#include "app/EscapeTarget.h"

namespace kavo {

std::string closingViewName(const std::source_location& where, const std::string& identifier) {
    // The file without its folders: the build may name it from anywhere.
    const std::string file = where.file_name();
    const size_t slash = file.find_last_of('/');
    return (slash == std::string::npos ? file : file.substr(slash + 1)) + " " + identifier;
}

} // namespace kavo
