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
#include <tuple>
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

// A name of the rules without its sign: the folder itself, or every folder below it when it
// ends in '/' (an entry) or "/*" (a row's folder).
bool covers(std::string name, const std::string& folder) {
    if (name[0] == '+' || name[0] == '-') name.erase(0, 1);
    if (name.back() == '*') name.pop_back();
    return name.back() == '/' ? folder.rfind(name, 0) == 0 : folder == name;
}

// A row of the block: the folders before its colon, the entries ("+folder", "-folder") after.
struct Row {
    int line;
    std::vector<std::string> folders, entries;
};

// The rows; a word that is no rule, or names no folder of the tree (a misspelling, which would
// allow or forbid nothing), fails the test at its line.
std::vector<Row> readRules() {
    std::ifstream in(sourceDir() + "/" + kNotes);
    std::vector<Row> rows;
    int number = 0;
    std::string line;
    while (std::getline(in, line) && ++number && line != "```include-rules") {
    }
    while (std::getline(in, line) && ++number && line != "```") {
        const size_t colon = line.find(':');
        EXPECT_NE(colon, std::string::npos) << kNotes << ":" << number << " is no rule: " << line;
        Row row{number, {}, {}};
        std::istringstream folders(line.substr(0, colon)), entries(line.substr(colon + 1));
        for (auto [words, list, sign] : {std::tuple(&folders, &row.folders, 0), std::tuple(&entries, &row.entries, 1)})
            for (std::string word; *words >> word;) {
                const std::string path = word.substr(sign, word.find_last_not_of("/*") + 1 - sign);
                EXPECT_TRUE(
                    !path.empty() && (!sign || word[0] == '+' || word[0] == '-') &&
                    (fs::is_directory(sourceDir() + "/" + path) || fs::is_directory(sourceDir() + "/src/" + path)))
                    << kNotes << ":" << number << ": " << word << " is no rule or names no folder";
                list->push_back(word);
            }
        rows.push_back(row);
    }
    return rows;
}

// "<file>:<line> includes <path>" and the rule it breaks, for every include the rules forbid:
// of the entries of the rows that speak for the file's folder, the longest that covers the
// included folder decides (a forbidding one a tie); none forbids. `read` counts the includes.
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
                if (std::any_of(row.folders.begin(), row.folders.end(), [&](auto& name) { return covers(name, from); }))
                    rows.push_back(&row);
            if (rows.empty()) broken.push_back(file + " (" + from + ") is in a folder with no rule");
            std::ifstream in(entry.path());
            std::smatch found;
            int number = 0;
            for (std::string line; !rows.empty() && std::getline(in, line);) {
                ++number;
                if (line.find("#") == std::string::npos || !std::regex_search(line, found, include)) continue;
                ++read;
                const std::string to = folderOf(found[1]);
                std::string decides;
                const Row* by = rows.front();
                for (const Row* row : rows)
                    for (const std::string& rule : row->entries)
                        if (covers(rule, to) && std::make_pair(rule.size(), rule[0] == '-') >
                                                    std::make_pair(decides.size(), decides[0] == '-'))
                            decides = rule, by = row;
                if (to == from || decides[0] == '+') continue;
                broken.push_back(
                    file + ":" + std::to_string(number) + " includes " + found[1].str() + ": " +
                    (decides.empty() ? "no rule of " + from + " allows " + to : "the rule " + decides + " of " + from) +
                    " (" + kNotes + ":" + std::to_string(by->line) + ")");
            }
        }
    }
    std::sort(broken.begin(), broken.end());
    return broken;
}

TEST(IncludeRules, EveryFolderIncludesOnlyTheFoldersItsRuleAllows) {
    const std::vector<Row> rules = readRules();
    ASSERT_GT(rules.size(), 10u) << "the include rules of " << kNotes << " were not read";
    int read = 0;
    std::string report;
    for (const std::string& line : brokenIncludes(rules, read))
        report += line + "\n";
    EXPECT_EQ(report, "");
    EXPECT_GT(read, 2000) << "the tree's includes were not read";
}

} // namespace
} // namespace kavo::test
