// No function of the portal stub is longer than 80 lines, so that each of its handlers
// reads as one thing: scripts/function-lengths (which asks Universal Ctags where each
// function begins and ends) lists none.
#include "tests/support/SourceDir.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace kavo::test {
namespace {

TEST(StubFunctions, NoneIsLongerThanEightyLines) {
    const std::string command = "cd '" + sourceDir() +
                                "' && scripts/function-lengths --limit 80 tools/portal-stub/*.cpp "
                                "tools/portal-stub/*.h 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_TRUE(pipe);
    std::string listed;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        listed += buffer;
    const int status = ::pclose(pipe);
    EXPECT_EQ(listed, "") << "lines, where, function";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << listed;
}

} // namespace
} // namespace kavo::test
