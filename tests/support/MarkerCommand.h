#pragma once

#include <cstdint>

namespace kavo::test {

// A command neither the client nor a server knows. Sent after other messages on one
// connection, it comes after them: the reader of each side logs it and drops it, so a
// test that sees it arrive knows that everything sent before it has arrived too.
constexpr int16_t kMarkerCommand = 32123;

} // namespace kavo::test
