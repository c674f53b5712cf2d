// Feeds arbitrary bytes to the social-network library's JSON reader. Whatever it
// accepts must be written back and read again to the same value, in both the
// compact and the human-readable form.

#include "sdk/socialnet/json/SNJSON.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    socialnet::SNJSON json;
    auto value = json.fragmentWithString(text, nullptr);
    if (!value) {
        if (json.errorTrace().empty()) std::abort(); // a failure always says why
        return 0;
    }
    for (bool pretty : {false, true}) {
        json.setHumanReadable(pretty);
        json.setSortKeys(pretty);
        auto written = json.stringWithFragment(*value, nullptr);
        if (!written) std::abort();
        auto again = json.fragmentWithString(*written, nullptr);
        if (!again || !(*again == *value)) std::abort();
    }
    return 0;
}
