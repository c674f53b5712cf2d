// No function of the portal stub is longer than 80 lines, so that each of its handlers
// reads as one thing: scripts/function-lengths (which asks Universal Ctags where each
// function begins and ends) lists none. The script itself is held to what it lists on
// files written here: a function's whole name, where it starts and how long it is.
#include "tests/support/SourceDir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace kavo::test {
namespace {

namespace fs = std::filesystem;

struct Listing {
    std::string text;
    int exitCode = -1;
};

// Runs a shell command from the source tree and gives back what it printed and how it ended.
Listing run(const std::string& command) {
    const std::string whole = "cd '" + sourceDir() + "' && " + command + " 2>&1";
    Listing listing;
    FILE* pipe = ::popen(whole.c_str(), "r");
    if (!pipe) return listing;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        listing.text += buffer;
    const int status = ::pclose(pipe);
    if (WIFEXITED(status)) listing.exitCode = WEXITSTATUS(status);
    return listing;
}

TEST(StubFunctions, NoneIsLongerThanEightyLines) {
    const Listing listing = run("scripts/function-lengths --limit 80 tools/portal-stub/*.cpp tools/portal-stub/*.h");
    EXPECT_EQ(listing.text, "") << "lines, where, function";
    EXPECT_EQ(listing.exitCode, 0) << listing.text;
}

class FunctionLengthsReading : public testing::Test {
protected:
    void SetUp() override {
        // A folder of its own (mkdtemp), which no other run of the tests can share.
        std::string pattern = (fs::temp_directory_path() / "function-lengths-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        if (!root_.empty()) fs::remove_all(root_, ignored);
    }

    // Writes `lines` into a file of the folder and gives back its path.
    std::string write(const std::string& name, const std::string& lines) {
        const std::string path = (fs::path(root_) / name).string();
        std::ofstream(path) << lines;
        return path;
    }

    Listing lengths(const std::string& path, int limit) {
        return run("scripts/function-lengths --limit " + std::to_string(limit) + " '" + path + "'");
    }

    std::string root_;
};

// `count` statements, one a line.
std::string statements(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "    sum += " + std::to_string(i) + ";\n";
    return text;
}

TEST_F(FunctionLengthsReading, NamesOperatorsWholeAndCountsOnlyTheirOwnLines) {
    // Lines 1-3: a short comparison; 4-96: a long one; 97-100: a conversion; 101-105: a
    // function further down the file than the limit.
    const std::string path = write("Value.cpp", "bool Box::operator==(const Box& other) const {\n"
                                                "    return id == other.id;\n"
                                                "}\n"
                                                "bool Value::operator==(const Value& other) const {\n"
                                                "    int sum = 0;\n" +
                                                    statements(89) +
                                                    "    return sum == other.sum;\n"
                                                    "}\n"
                                                    "Value::operator bool() const {\n"
                                                    "    const bool any = sum != 0;\n"
                                                    "    return any;\n"
                                                    "}\n"
                                                    "int Value::last() const {\n"
                                                    "    int all = sum;\n"
                                                    "    all += 1;\n"
                                                    "    return all;\n"
                                                    "}\n");
    const Listing listing = lengths(path, 80);
    EXPECT_EQ(listing.text, "93 " + path + ":4 operator ==\n");
    EXPECT_EQ(listing.exitCode, 1) << listing.text;

    const Listing everyOne = lengths(path, 2);
    EXPECT_EQ(everyOne.text, "93 " + path + ":4 operator ==\n5 " + path + ":101 last\n4 " + path +
                                 ":97 operator bool\n3 " + path + ":1 operator ==\n");
    EXPECT_EQ(everyOne.exitCode, 1) << everyOne.text;
}

TEST_F(FunctionLengthsReading, ListsNothingWhenEveryFunctionIsWithinTheLimit) {
    // An operator further down the file than the limit is no longer than its own lines.
    const std::string path = write("Short.cpp", "int Box::size() const {\n"
                                                "    return 1;\n"
                                                "}\n"
                                                "bool Box::operator==(const Box& other) const {\n"
                                                "    return id == other.id;\n"
                                                "}\n");
    const Listing listing = lengths(path, 3);
    EXPECT_EQ(listing.text, "");
    EXPECT_EQ(listing.exitCode, 0);
}

} // namespace
} // namespace kavo::test
