#include "tests/support/SourceDir.h"

#include <cstdio>
#include <cstdlib>

namespace kavo::test {

const std::string& sourceDir() {
    static const std::string root = [] {
        const char* value = std::getenv("KAVO_SOURCE_DIR");
        if (!value || !*value) {
            std::fprintf(stderr, "KAVO_SOURCE_DIR is not set: run the tests through ctest, or set it to the "
                                 "source folder when starting a test program by hand\n");
            std::exit(2);
        }
        return std::string(value);
    }();
    return root;
}

} // namespace kavo::test
