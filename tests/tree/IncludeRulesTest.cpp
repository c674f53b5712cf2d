// Every `#include "..."` of platform/, sdk/ and src/ keeps the rules the architecture notes
// state: a folder includes only itself and the folders its row allows.
#include "tests/support/SourceDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

namespace fs = std::filesystem;

// A folder as the rules name it: platform/<library>, sdk/<library>, table/<part> and
// games/<game> by two steps of the path, the client's other folders (below src/) by one.
std::string folderOf(const std::string& path) {
    std::string inTree = path.rfind("src/", 0) == 0 ? path.substr(4) : path;
    const size_t first = inTree.find('/');
    const std::string top = inTree.substr(0, first);
    if (top != "platform" && top != "sdk" && top != "table" && top != "games") return top;
    return inTree.substr(0, inTree.find('/', first + 1));
}

// What each folder may include besides itself; an entry ending in '/' allows every folder
// below it. The five screen folders include each other and the table folders; the registry
// is the one table folder that names a game.
const std::vector<std::string> kScreens = {"app", "portal", "lobby", "account", "social"};
std::vector<std::string> with(std::vector<std::string> list, const std::vector<std::string>& more) {
    list.insert(list.end(), more.begin(), more.end());
    return list;
}
const std::vector<std::string> kTableShared =
    with(kScreens, {"platform/", "net", "table/base", "table/cards", "table/room", "table/sheets", "table/registry"});
const std::vector<std::string> kGame = with(kScreens, {"platform/", "net", "table/"});

const std::map<std::string, std::vector<std::string>>& rules() {
    static const std::map<std::string, std::vector<std::string>> table = [] {
        std::map<std::string, std::vector<std::string>> made = {
            {"platform/runtime", {}},
            {"platform/foundation", {"platform/runtime"}},
            {"platform/ui", {"platform/runtime", "platform/foundation"}},
            {"platform/services", {"platform/runtime", "platform/foundation", "platform/ui"}},
            {"platform/render", {"platform/runtime", "platform/foundation", "platform/ui", "platform/services"}},
            {"platform/automation",
             {"platform/runtime", "platform/foundation", "platform/ui", "platform/services", "platform/render"}},
            {"sdk/socialnet", {"platform/"}},
            {"net", {"platform/runtime"}},
            {"table/registry", with(kScreens, {"platform/", "net", "sdk/socialnet", "table/", "games/"})},
            {"table/deal", {"platform/", "app", "table/cards"}},
            {"table/cards", kTableShared},
            {"table/room", kTableShared},
            {"table/sheets", kTableShared},
            {"table/base", with(kTableShared, {"table/deal"})},
            // A variant derives from the game it varies.
            {"games/tienlenmb", with(kGame, {"games/tienlen"})},
            {"games/coup", with(kGame, {"games/cotuong"})},
        };
        for (const std::string& screen : kScreens)
            made[screen] = with(kScreens, {"platform/", "net", "sdk/socialnet", "table/"});
        for (const auto& game : fs::directory_iterator(sourceDir() + "/src/games"))
            if (game.is_directory()) made.try_emplace("games/" + game.path().filename().string(), kGame);
        return made;
    }();
    return table;
}

bool allows(const std::vector<std::string>& allowed, const std::string& folder) {
    return std::any_of(allowed.begin(), allowed.end(), [&](const std::string& entry) {
        return entry.back() == '/' ? folder.rfind(entry, 0) == 0 : folder == entry;
    });
}

// "<file>:<line> (<folder>) includes <path>" for every include its folder's row does not allow;
// `read` counts the includes read.
std::vector<std::string> brokenIncludes(int& read) {
    const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<std::string> broken;
    for (const char* root : {"platform", "sdk", "src"}) {
        for (const auto& entry : fs::recursive_directory_iterator(sourceDir() + "/" + root)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp") continue;
            const std::string file = fs::relative(entry.path(), sourceDir()).string();
            const std::string from = folderOf(file);
            auto row = rules().find(from);
            if (row == rules().end()) {
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
                if (to != from && !allows(row->second, to))
                    broken.push_back(file + ":" + std::to_string(number) + " (" + from + ") includes " +
                                     found[1].str());
            }
        }
    }
    std::sort(broken.begin(), broken.end());
    return broken;
}

TEST(IncludeRules, EveryFolderIncludesOnlyTheFoldersItsRuleAllows) {
    int read = 0;
    std::string report;
    for (const std::string& line : brokenIncludes(read))
        report += line + "\n";
    EXPECT_EQ(report, "");
    EXPECT_GT(read, 2000) << "the tree's includes were not read";
}

} // namespace
} // namespace kavo::test
