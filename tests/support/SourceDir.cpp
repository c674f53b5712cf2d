#include "tests/support/SourceDir.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

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

std::string shippedResourceServedBy(const std::string& name, const std::string& base) {
    std::ifstream in(sourceDir() + "/resources/" + name);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string shipped = "http://127.0.0.1:12347";
    for (size_t at = text.find(shipped); at != std::string::npos; at = text.find(shipped, at + base.size()))
        text.replace(at, shipped.size(), base);
    return text;
}

} // namespace kavo::test
