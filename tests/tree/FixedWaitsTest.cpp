// No test waits a fixed time where it should wait for a state. Every C++ file below tests/, the
// driver scripts there and in scripts/ are read for a fixed-time wait in any spelling
// (FixedWaits.h says which); each one found must be named by the list of allowed places beside
// this test, fixed-waits-allowed.txt, which says why it may stand. A wait for a state goes
// through runUntil and the other state waits, a negative check through nothingComesWithin
// (tests/support/StateWaits.h).
#include "tests/tree/FixedWaits.h"

#include "tests/support/SourceDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

namespace fs = std::filesystem;

const std::string kAllowed = "tests/tree/fixed-waits-allowed.txt";

// A line of the list: a file, a piece of the line that holds the wait ("*": every wait of the
// file), and why it may stand.
struct Allowed {
    int line;
    std::string file, piece, why;
    int matched = 0;
};

std::string trimmed(const std::string& text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    return text.substr(begin, text.find_last_not_of(" \t") + 1 - begin);
}

std::vector<Allowed> readAllowed(std::string& faults) {
    std::ifstream in(sourceDir() + "/" + kAllowed);
    std::vector<Allowed> list;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (trimmed(line).empty() || trimmed(line)[0] == '#') continue;
        const size_t first = line.find(" | "), last = line.rfind(" | ");
        Allowed entry{number, trimmed(line.substr(0, first)), "", "", 0};
        if (first != std::string::npos && last > first) {
            entry.piece = trimmed(line.substr(first + 3, last - first - 3));
            entry.why = trimmed(line.substr(last + 3));
        }
        if (entry.piece.empty() || entry.why.empty() || !fs::is_regular_file(sourceDir() + "/" + entry.file))
            faults += kAllowed + ":" + std::to_string(number) + ": not \"FILE | PIECE OF ITS LINE | WHY\" of a file\n";
        list.push_back(entry);
    }
    return list;
}

std::string textOf(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Every fixed wait of the tests and the drive scripts, with the text of its line.
struct Found {
    FixedWait wait;
    std::string text;
};
std::vector<Found> fixedWaitsOfTheTree(int& files) {
    std::vector<fs::path> paths;
    for (const auto& entry : fs::recursive_directory_iterator(sourceDir() + "/tests"))
        if (entry.is_regular_file()) paths.push_back(entry.path());
    for (const auto& entry : fs::directory_iterator(sourceDir() + "/scripts"))
        if (entry.path().extension() == ".drive") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::vector<Found> found;
    for (const fs::path& path : paths) {
        const std::string ext = path.extension().string();
        if (ext != ".cpp" && ext != ".h" && ext != ".drive") continue;
        ++files;
        const std::string file = fs::relative(path, sourceDir()).string();
        const std::string text = textOf(path);
        const auto lines = linesOf(text);
        for (FixedWait& wait : ext == ".drive" ? fixedWaitsInScript(file, text) : fixedWaitsInSource(file, text)) {
            const std::string line = wait.line >= 1 && size_t(wait.line) <= lines.size() ? lines[wait.line - 1] : "";
            found.push_back({std::move(wait), line});
        }
    }
    return found;
}

TEST(FixedWaits, NoTestWaitsAFixedTimeWhereTheListOfAllowedPlacesDoesNotSaySo) {
    std::string faults;
    std::vector<Allowed> allowed = readAllowed(faults);
    int files = 0;
    for (const Found& found : fixedWaitsOfTheTree(files)) {
        auto entry = std::find_if(allowed.begin(), allowed.end(), [&](const Allowed& a) {
            return a.file == found.wait.file && (a.piece == "*" || found.text.find(a.piece) != std::string::npos);
        });
        if (entry != allowed.end()) {
            ++entry->matched;
            continue;
        }
        faults += found.wait.file + ":" + std::to_string(found.wait.line) + ": " + found.wait.what + "\n    " +
                  trimmed(found.text) + "\n";
    }
    for (const Allowed& entry : allowed)
        if (entry.matched == 0)
            faults += kAllowed + ":" + std::to_string(entry.line) + ": names no fixed wait of " + entry.file +
                      " (take the line out once its wait is gone)\n";
    EXPECT_EQ(faults, "") << "A test waits for a state (runUntil, lookUntil, the fixtures' waits, a driver's "
                             "wait), and checks that something does not come through nothingComesWithin "
                             "(tests/support/StateWaits.h). A fixed time that must stand is named, with why, in "
                          << kAllowed << ".";
    EXPECT_GT(files, 250) << "the tests were not read";
}

} // namespace
} // namespace kavo::test
