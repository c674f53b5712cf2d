#pragma once

#include <string>
#include <vector>

namespace kavo::test {

// A place where a test waits a fixed time instead of for a state: a sleep, a look at a
// socket or a condition with a time-out and nothing to end it, a turn of the main loop
// counted or timed, a wait whose condition cannot end it, a negative check spelled
// otherwise than through `nothingComesWithin`, a driver script's `sleep` before an `expect`.
struct FixedWait {
    std::string file;
    int line = 0;
    std::string what; // what was found, in a few words
};

// The fixed waits of a C++ source, `file` being the name the report gives it; the driver
// scripts in its string literals are read as scripts.
std::vector<FixedWait> fixedWaitsInSource(const std::string& file, const std::string& source);

// The fixed waits of a driver script: a `sleep` before an `expect` or `expect-not` (blank
// lines, comments and `advance` between them change nothing). `lines[i]` is the file's line
// of the script's line i (from 0); without it the script's lines are the file's.
std::vector<FixedWait> fixedWaitsInScript(const std::string& file, const std::string& script,
                                          const std::vector<int>& lines = {});

} // namespace kavo::test
