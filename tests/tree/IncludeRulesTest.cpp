// Every `#include "..."` of platform/, sdk/ and src/ keeps the include rules, which live in one
// place: the "include-rules" block of docs/architecture-notes.md, read here as it stands.
#include "tests/support/SourceDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

namespace fs = std::filesystem;

const std::string kNotes = "docs/architecture-notes.md";

// A folder as the rules name it: platform/<library>, sdk/<library>, table/<part> and
// games/<game> by two steps of the path, the client's other folders (below src/) by one.
std::string folderOf(const std::string& path) {
    std::string inTree = path.rfind("src/", 0) == 0 ? path.substr(4) : path;
    const size_t first = inTree.find('/');
    const std::string top = inTree.substr(0, first);
    if (top != "platform" && top != "sdk" && top != "table" && top != "games") return top;
    return inTree.substr(0, inTree.find('/', first + 1));
}

// One entry of a row: "+folder" allows, "-folder" forbids; a folder ending in '/' is every
// folder below it.
struct Entry {
    bool allows;
    std::string folder;
    bool matches(const std::string& to) const { return folder.back() == '/' ? to.rfind(folder, 0) == 0 : to == folder; }
};

// A row: the folders it speaks for ("games/*" is every game) and its entries.
struct Row {
    int line;
    std::vector<std::string> folders;
    std::vector<Entry> entries;
    bool speaksFor(const std::string& folder) const {
        return std::any_of(folders.begin(), folders.end(), [&](const std::string& name) {
            return name.back() == '*' ? folder.rfind(name.substr(0, name.size() - 1), 0) == 0 : folder == name;
        });
    }
};

// The rows of the notes' block; a line that is no row fails the test where it stands.
std::vector<Row> readRules() {
    std::ifstream in(sourceDir() + "/" + kNotes);
    std::vector<Row> rows;
    bool inBlock = false;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!inBlock) {
            inBlock = line == "```include-rules";
            continue;
        }
        if (line == "```") break;
        const size_t colon = line.find(':');
        Row row{number, {}, {}};
        std::istringstream folders(line.substr(0, colon)),
            entries(colon == std::string::npos ? "" : line.substr(colon + 1));
        for (std::string folder; folders >> folder;)
            row.folders.push_back(folder);
        for (std::string entry; entries >> entry;) {
            if (entry.size() < 2 || (entry[0] != '+' && entry[0] != '-'))
                row.folders.clear();
            else
                row.entries.push_back({entry[0] == '+', entry.substr(1)});
        }
        if (colon == std::string::npos || row.folders.empty())
            ADD_FAILURE() << kNotes << ":" << number << " is no rule: " << line;
        else
            rows.push_back(row);
    }
    return rows;
}

// "<file>:<line> includes <path>" and the rule it breaks, for every include the rules forbid;
// `read` counts the includes read.
std::vector<std::string> brokenIncludes(const std::vector<Row>& rules, int& read) {
    const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<std::string> broken;
    for (const char* root : {"platform", "sdk", "src"}) {
        for (const auto& entry : fs::recursive_directory_iterator(sourceDir() + "/" + root)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp") continue;
            const std::string file = fs::relative(entry.path(), sourceDir()).string();
            const std::string from = folderOf(file);
            std::vector<const Row*> rows;
            for (const Row& row : rules)
                if (row.speaksFor(from)) rows.push_back(&row);
            if (rows.empty()) {
                broken.push_back(file + " (" + from + ") is in a folder with no rule");
                continue;
            }
            std::ifstream in(entry.path());
            std::smatch found;
            int number = 0;
            for (std::string line; std::getline(in, line);) {
                ++number;
                if (line.find("#") == std::string::npos || !std::regex_search(line, found, include)) continue;
                ++read;
                const std::string to = folderOf(found[1]);
                if (to == from) continue;
                // The longest entry that matches decides; a forbidding one wins a tie.
                const Entry* decides = nullptr;
                const Row* rowOf = rows.front();
                for (const Row* row : rows)
                    for (const Entry& rule : row->entries)
                        if (rule.matches(to) && (!decides || rule.folder.size() > decides->folder.size() ||
                                                 (rule.folder.size() == decides->folder.size() && !rule.allows)))
                            decides = &rule, rowOf = row;
                if (decides && decides->allows) continue;
                broken.push_back(file + ":" + std::to_string(number) + " includes " + found[1].str() + ": " +
                                 (decides ? "the rule -" + decides->folder + " of " + from
                                          : "no rule of " + from + " allows " + to) +
                                 " (" + kNotes + ":" + std::to_string(rowOf->line) + ")");
            }
        }
    }
    std::sort(broken.begin(), broken.end());
    return broken;
}

TEST(IncludeRules, EveryFolderIncludesOnlyTheFoldersItsRuleAllows) {
    const std::vector<Row> rules = readRules();
    ASSERT_GT(rules.size(), 10u) << "the include rules of " << kNotes << " were not read";
    // A rule naming a folder the tree does not have (a misspelling) would allow or forbid nothing.
    for (const Row& row : rules) {
        std::vector<std::string> names = row.folders;
        for (const Entry& entry : row.entries)
            names.push_back(entry.folder);
        for (std::string name : names) {
            name = name.substr(0, name.find_last_not_of("/*") + 1);
            EXPECT_TRUE(fs::is_directory(sourceDir() + "/" + name) || fs::is_directory(sourceDir() + "/src/" + name))
                << kNotes << ":" << row.line << " names " << name << ", which is no folder";
        }
    }
    int read = 0;
    std::string report;
    for (const std::string& line : brokenIncludes(rules, read))
        report += line + "\n";
    EXPECT_EQ(report, "");
    EXPECT_GT(read, 2000) << "the tree's includes were not read";
}

} // namespace
} // namespace kavo::test
