#pragma once

#include <string>

namespace kavo::test {

// The source tree, from KAVO_SOURCE_DIR (CTest sets it for every test). A test
// program started by hand without it could not find its resources and would fail
// further on in ways that say nothing: it says what is missing and ends instead.
const std::string& sourceDir();

} // namespace kavo::test
