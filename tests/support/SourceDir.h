#pragma once

#include <string>

namespace kavo::test {

// The source tree, from KAVO_SOURCE_DIR (CTest sets it for every test). A test
// program started by hand without it could not find its resources and would fail
// further on in ways that say nothing: it says what is missing and ends instead.
const std::string& sourceDir();

// The text of a shipped resource file (`name` in the source tree's resources) with the
// address the shipped files name for their web services (where a portal stub started by
// hand answers) turned to `base` ("http://127.0.0.1:<port>" of a test's own server).
std::string shippedResourceServedBy(const std::string& name, const std::string& base);

} // namespace kavo::test
