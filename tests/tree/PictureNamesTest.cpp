// Every picture the client names is in the bundle's images folder, so that no screen shows
// an empty place where its picture should be. The names are read from the source as it
// stands (platform/ and src/, comments left out) and from the bundle's own tables
// (resources/*.plist):
// - a string literal that is a picture's whole file name ("bg_main.png");
// - a name without its extension where it is handed to the image lookup or set as a field
//   of pictures ("i_btn_SendNewMsg", `.pickerIcon = "icon_TLMN"`): the lookup adds ".png";
// - a name built from parts ("caro-" + step + ".png", a format with "%d.png"): each such
//   place is listed below with the names it makes. A place that builds a picture name and
//   is not listed fails the test, so a new series is listed here, and checked, with it.
#include "tests/support/SourceDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

namespace fs = std::filesystem;

const std::string kImages = "resources/images";

// A string literal of the source, with the code just before and after it on its statement.
struct Literal {
    std::string file;
    int line;
    std::string text;   // its value, escapes left as written (names have none)
    std::string before; // the code before it since the last ';', '{' or '}', comments left out
    std::string after;  // the code after it up to the next ';', '{' or '}'
};

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\n\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\n\r") - first + 1);
}

// The string literals of a C++ file. Comments, character literals and raw strings are
// passed over (no picture is named in a raw string).
std::vector<Literal> literalsOf(const std::string& path, const std::string& file) {
    std::ifstream in(path);
    const std::string source{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<Literal> literals;
    std::string code;         // the statement so far, literals as `"`
    std::vector<size_t> open; // indices of the literals of the statement so far
    int line = 1;
    auto endStatement = [&] {
        code.clear();
        open.clear();
    };
    for (size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        if (c == '\n') ++line;
        if (c == '/' && i + 1 < source.size() && source[i + 1] == '/') {
            while (i < source.size() && source[i] != '\n')
                ++i;
            --i;
            continue;
        }
        if (c == '/' && i + 1 < source.size() && source[i + 1] == '*') {
            const size_t end = source.find("*/", i + 2);
            const size_t stop = end == std::string::npos ? source.size() : end + 2;
            line += int(std::count(source.begin() + long(i), source.begin() + long(stop), '\n'));
            i = stop - 1;
            code += ' ';
            continue;
        }
        if (c == 'R' && i + 1 < source.size() && source[i + 1] == '"') {
            const size_t paren = source.find('(', i + 2);
            const std::string close = ")" + source.substr(i + 2, paren - i - 2) + "\"";
            const size_t end = source.find(close, paren);
            const size_t stop = end == std::string::npos ? source.size() : end + close.size();
            line += int(std::count(source.begin() + long(i), source.begin() + long(stop), '\n'));
            i = stop - 1;
            code += " R ";
            continue;
        }
        if (c == '\'' || c == '"') {
            const int at = line;
            std::string value;
            size_t j = i + 1;
            for (; j < source.size() && source[j] != c && source[j] != '\n'; ++j) {
                if (source[j] == '\\' && j + 1 < source.size()) value += source[j++];
                value += source[j];
            }
            i = j;
            if (c == '\'') {
                code += " 'c' ";
                continue;
            }
            for (size_t k : open)
                literals[k].after += "\"";
            open.push_back(literals.size());
            literals.push_back({file, at, value, code, ""});
            code += "\"";
            continue;
        }
        if (c == ';' || c == '{' || c == '}') {
            endStatement();
            continue;
        }
        code += c;
        for (size_t k : open)
            literals[k].after += c;
    }
    for (Literal& literal : literals) {
        literal.before = trimmed(literal.before);
        literal.after = trimmed(literal.after);
    }
    return literals;
}

const std::regex kPictureFile(R"(^[A-Za-z0-9_()+.-]+\.(png|jpg|jpeg)$)", std::regex::icase);
const std::regex kPictureExtension(R"(\.(png|jpg|jpeg)$)", std::regex::icase);
const std::regex kBareName(R"(^[A-Za-z][A-Za-z0-9_()-]*$)");
// The image lookup, or a field or constant whose name ends in a word for pictures (`icon`,
// `pickerIcon`, `kArrowImage`; not `kEmoticonTableName`) being given the literal.
const std::regex
    kTakesAPicture(R"(((getImageWithName|Image::named)\s*\(|(\b|_)(icon|image|picture|background|frame)\s*=|)"
                   R"((Icon|Image|Picture|Background|Frame)\s*=)$)");

bool joinedOnTheLeft(const Literal& literal) {
    return !literal.before.empty() && literal.before.back() == '+';
}
bool joinedOnTheRight(const Literal& literal) {
    return !literal.after.empty() && literal.after.front() == '+';
}

// A place that builds picture names from parts, and the names it makes.
struct Series {
    const char* file;
    const char* pattern; // the literals of the expression, each other part a '*'
    std::function<std::vector<std::string>()> names;
    const char* why;
};

std::vector<std::string> numbered(const std::string& prefix, int from, int to, const std::string& suffix) {
    std::vector<std::string> names;
    for (int n = from; n <= to; ++n)
        names.push_back(prefix + std::to_string(n) + suffix);
    return names;
}

std::vector<std::string> eachOf(const std::vector<std::string>& words, const std::string& prefix,
                                const std::string& suffix) {
    std::vector<std::string> names;
    for (const std::string& word : words)
        names.push_back(prefix + word + suffix);
    return names;
}

// The extensionless literals of `file` that `shape` matches, with ".png": a table of names
// that another place completes.
std::vector<std::string> tableOf(const std::string& file, const std::string& shape) {
    std::vector<std::string> names;
    const std::regex matches(shape);
    for (const Literal& literal : literalsOf(sourceDir() + "/" + file, file))
        if (std::regex_match(literal.text, matches)) names.push_back(literal.text + ".png");
    return names;
}

const std::vector<Series>& series() {
    static const std::vector<Series> all = {
        {"src/app/ResourceNames.cpp", "*.png", [] { return numbered("", 1, 51, ".png"); },
         "the card faces but the first, whose picture is \"100.png\""},
        {"src/app/ResourceNames.cpp", "caro-*.png", [] { return numbered("caro-", 0, 29, ".png"); },
         "the steps of the Caro clock"},
        {"src/table/cards/PlayingCard.cpp", "*.png", [] { return numbered("", 1, 51, ".png"); },
         "the card faces but the first"},
        {"src/app/widgets/CustomBlockAlertView.cpp", "alert-*-button.png",
         [] {
             return eachOf({"red", "black"}, "alert-", "-button.png");
         },
         "the colours the alert's buttons take"},
        {"src/social/SendMessageView.cpp", "i_text_SendNewMessage_*.png",
         [] {
             return eachOf({"vi", "en"}, "i_text_SendNewMessage_", ".png");
         },
         "the send title in each language"},
        {"src/games/cotuong/ChessMan.cpp", "*.png",
         [] { return tableOf("src/games/cotuong/ChessMan.cpp", "ct_[rb]_\\w+"); },
         "the chess pieces' faces its table names"},
        {"src/games/coup/CoUpView.cpp", "*.png",
         [] { return tableOf("src/games/cotuong/ChessMan.cpp", "ct_[rb]_\\w+"); },
         "the chess pieces' faces, from the pieces' table"},
        {"src/app/widgets/ImageCache.cpp", "%016llx%016llx.png", [] { return std::vector<std::string>{}; },
         "the files of the pictures the server sends, kept in the cache folder, not in the bundle"},
    };
    return all;
}

// The literals of the expression that ends with `literals[at]`, joined by '+', each other
// operand a '*'; a format's literal stands as it is.
std::string patternAt(const std::vector<Literal>& literals, size_t at) {
    const Literal& last = literals[at];
    if (last.text.find('%') != std::string::npos) return last.text;
    std::string pattern = last.text;
    size_t i = at;
    while (joinedOnTheLeft(literals[i])) {
        // The previous literal belongs to the expression when it stands in the same statement
        // (its mark is in the code before this one) and a '+' follows it.
        const size_t mark = literals[i].before.rfind('"');
        if (i == 0 || mark == std::string::npos || !joinedOnTheRight(literals[i - 1])) return "*" + pattern;
        const std::string between = trimmed(literals[i].before.substr(mark + 1));
        pattern = literals[i - 1].text + (between == "+" ? "" : "*") + pattern;
        --i;
    }
    return pattern;
}

struct Named {
    std::map<std::string, std::vector<std::string>> places; // picture -> "file:line" of each place
    std::vector<std::string> unlisted;                      // places that build names the test does not know
    std::set<std::pair<std::string, std::string>> seriesSeen;
    void add(const std::string& name, const std::string& place) { places[name].push_back(place); }
};

void readSourceFile(const std::string& file, Named& named) {
    const std::vector<Literal> literals = literalsOf(sourceDir() + "/" + file, file);
    for (size_t i = 0; i < literals.size(); ++i) {
        const Literal& literal = literals[i];
        const std::string place = file + ":" + std::to_string(literal.line);
        const bool joined = joinedOnTheLeft(literal) || joinedOnTheRight(literal);
        const bool formatted = literal.text.find('%') != std::string::npos;
        if (std::regex_search(literal.text, kPictureExtension) && (joined || formatted)) {
            if (joinedOnTheRight(literal)) continue; // the expression goes on: its last part speaks for it
            const std::string pattern = patternAt(literals, i);
            const auto found = std::find_if(series().begin(), series().end(),
                                            [&](const Series& s) { return s.file == file && s.pattern == pattern; });
            if (found == series().end()) {
                named.unlisted.push_back(place + " builds picture names " + pattern);
                continue;
            }
            named.seriesSeen.insert({file, pattern});
            for (const std::string& name : found->names())
                named.add(name, place + " (" + pattern + ")");
        } else if (!joined && std::regex_match(literal.text, kPictureFile)) {
            named.add(literal.text, place);
        } else if (!joined && std::regex_match(literal.text, kBareName) &&
                   std::regex_search(literal.before, kTakesAPicture)) {
            named.add(literal.text + ".png", place);
        }
    }
}

// The pictures the bundle's tables name: a plist's `<string>NAME.png</string>`.
void readBundleTable(const std::string& file, Named& named) {
    std::ifstream in(sourceDir() + "/" + file);
    const std::regex value(R"(<string>([^<]+)</string>)");
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        std::smatch found;
        if (std::regex_search(line, found, value) && std::regex_match(found[1].str(), kPictureFile))
            named.add(found[1].str(), file + ":" + std::to_string(number));
    }
}

Named namedPictures() {
    Named named;
    std::vector<std::string> files;
    for (const char* root : {"platform", "src"})
        for (const auto& entry : fs::recursive_directory_iterator(sourceDir() + "/" + root)) {
            const std::string ext = entry.path().extension().string();
            if (ext == ".h" || ext == ".cpp") files.push_back(fs::relative(entry.path(), sourceDir()).string());
        }
    std::sort(files.begin(), files.end());
    for (const std::string& file : files)
        readSourceFile(file, named);
    for (const auto& entry : fs::directory_iterator(sourceDir() + "/resources"))
        if (entry.path().extension() == ".plist")
            readBundleTable(fs::relative(entry.path(), sourceDir()).string(), named);
    return named;
}

TEST(PictureNames, EveryPictureTheClientNamesIsInTheBundle) {
    const Named named = namedPictures();
    std::string missing;
    size_t missingNames = 0;
    for (const auto& [name, places] : named.places) {
        if (fs::is_regular_file(sourceDir() + "/" + kImages + "/" + name)) continue;
        ++missingNames;
        for (const std::string& place : places)
            missing += place + " names " + name + ", which " + kImages + " lacks\n";
    }
    EXPECT_EQ(missing, "") << missingNames << " of the " << named.places.size() << " pictures named are missing";
    // The reading found the tree's names: a scan that read nothing would pass above.
    EXPECT_GT(named.places.size(), 200u);
}

TEST(PictureNames, EveryPlaceThatBuildsPictureNamesIsListedWithTheNamesItMakes) {
    const Named named = namedPictures();
    std::string unlisted;
    for (const std::string& place : named.unlisted)
        unlisted += place + "\n";
    EXPECT_EQ(unlisted, "") << "list each in the series of " << __FILE__;
    std::string stale;
    for (const Series& s : series())
        if (!named.seriesSeen.count({s.file, s.pattern}))
            stale += std::string(s.file) + " no longer builds " + s.pattern + " (" + s.why + ")\n";
    EXPECT_EQ(stale, "");
}

} // namespace
} // namespace kavo::test
