#include "tests/e2e/EscapeCloses.h"

#include "tests/e2e/ChildProcess.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

namespace kavo::test {

namespace {

namespace fs = std::filesystem;

constexpr int kMaxDepth = 30; // a line of bases deeper than this is taken as a loop

std::string readFile(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// "kavo::lobby::X" -> "lobby::X": the walk names classes without the client's namespace.
std::string withoutKavo(std::string name) {
    if (name.starts_with("::")) name.erase(0, 2);
    if (name == "kavo") return "";
    if (name.starts_with("kavo::")) name.erase(0, 6);
    return name;
}

std::string lastPart(const std::string& name) {
    const size_t colons = name.rfind("::");
    return colons == std::string::npos ? name : name.substr(colons + 2);
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// ctags' inherits field, "A,ns::B<C,D>,virtual E", as "A", "ns::B", "E".
std::vector<std::string> splitBases(const std::string& inherits) {
    std::vector<std::string> bases;
    std::string current;
    int depth = 0;
    auto flush = [&] {
        std::string base = trimmed(current);
        for (const char* word : {"public ", "protected ", "private ", "virtual "})
            while (base.starts_with(word))
                base = trimmed(base.substr(std::string(word).size()));
        if (!base.empty()) bases.push_back(base);
        current.clear();
    };
    for (char c : inherits) {
        if (c == '<')
            ++depth;
        else if (c == '>')
            --depth;
        else if (c == ',' && depth == 0)
            flush();
        else if (depth == 0)
            current += c;
    }
    flush();
    return bases;
}

// The text with comments turned to spaces (line breaks kept), strings and characters left.
std::string withoutComments(const std::string& text) {
    std::string out = text;
    for (size_t i = 0; i < out.size(); ++i) {
        if (out[i] == '"' || out[i] == '\'') {
            const char quote = out[i];
            for (++i; i < out.size() && out[i] != quote && out[i] != '\n'; ++i)
                if (out[i] == '\\') ++i;
        } else if (out.compare(i, 2, "//") == 0) {
            for (; i < out.size() && out[i] != '\n'; ++i)
                out[i] = ' ';
        } else if (out.compare(i, 2, "/*") == 0) {
            const size_t end = out.find("*/", i + 2);
            const size_t stop = end == std::string::npos ? out.size() : end + 2;
            for (; i < stop; ++i)
                if (out[i] != '\n') out[i] = ' ';
            --i;
        }
    }
    return out;
}

// The arguments of the call whose "(" is at `open`, split at its own commas.
std::vector<std::string> callArguments(const std::string& text, size_t open) {
    std::vector<std::string> arguments(1);
    int depth = 0;
    for (size_t i = open + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' || c == '\'') {
            const size_t start = i;
            for (++i; i < text.size() && text[i] != c; ++i)
                if (text[i] == '\\') ++i;
            arguments.back() += text.substr(start, i - start + 1);
            continue;
        }
        if (c == '(' || c == '[' || c == '{') ++depth;
        if (c == ')' || c == ']' || c == '}') {
            if (depth == 0) return arguments;
            --depth;
        }
        if (c == ',' && depth == 0)
            arguments.emplace_back();
        else
            arguments.back() += c;
    }
    return arguments;
}

bool isWordCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Where `word` first stands in `text` as a whole word.
size_t findWord(const std::string& text, const std::string& word, size_t from = 0) {
    for (size_t at = text.find(word, from); at != std::string::npos; at = text.find(word, at + 1)) {
        const size_t end = at + word.size();
        if ((at == 0 || !isWordCharacter(text[at - 1])) && (end >= text.size() || !isWordCharacter(text[end])))
            return at;
    }
    return std::string::npos;
}

// The first string literal in `text` after `from`, up to the ";" that ends the statement.
std::optional<std::string> firstLiteral(const std::string& text, size_t from) {
    const size_t end = text.find(';', from);
    const size_t quote = text.find('"', from);
    if (quote == std::string::npos || (end != std::string::npos && end < quote)) return std::nullopt;
    const size_t close = text.find('"', quote + 1);
    if (close == std::string::npos) return std::nullopt;
    return text.substr(quote + 1, close - quote - 1);
}

} // namespace

EscapeCloses EscapeCloses::read(const std::string& root) {
    EscapeCloses closes;
    if (!fs::is_directory(root)) {
        closes.addError("no source folder " + root);
        return closes;
    }
    closes.readTags(root);
    if (!closes.error_.empty()) return closes;
    closes.readClosingViews(root);
    for (const auto& [name, info] : closes.classes_) {
        // A closing view is declared by its name where it is made, not by its class.
        if (lastPart(name) == "EscapeTarget" || closes.isOwnedClose(name)) continue;
        if (closes.isTarget(name) && closes.hasClose(name)) closes.declared_.insert(name);
    }
    return closes;
}

void EscapeCloses::readTags(const std::string& root) {
    const auto ctags = findInPath("ctags");
    if (!ctags) {
        addError("ctags is not on PATH: the Escape closes are read by Universal Ctags (scripts/setup installs "
                 "universal-ctags)");
        return;
    }
    ChildProcess run;
    if (!run.start({*ctags, "-R", "--languages=C++", "--langmap=C++:+.h", "--kinds-C++=+pl", "--fields=+iaSKZn",
                    "--pattern-length-limit=0", "--output-format=json", "-f", "-", root},
                   {}, true)) {
        addError("ctags could not be started");
        return;
    }
    int tags = 0;
    while (const auto line = run.readLine(120)) {
        const auto tag = nlohmann::json::parse(*line, nullptr, false);
        if (!tag.is_object() || tag.value("_type", "") != "tag") continue;
        ++tags;
        const std::string name = tag.value("name", "");
        const std::string kind = tag.value("kind", "");
        const std::string scope = withoutKavo(tag.value("scope", ""));
        if (kind == "class" || kind == "struct") {
            ClassInfo& info = classes_[scope.empty() ? name : scope + "::" + name];
            info.scope = scope;
            for (const std::string& base : splitBases(tag.value("inherits", "")))
                info.bases.push_back(base);
        } else if ((kind == "function" || kind == "prototype") && name == "closeItself" && !scope.empty()) {
            classes_[scope].closes = true;
        } else if (kind == "variable" || kind == "member" || kind == "local" || kind == "macro" ||
                   kind == "externvar") {
            constants_.emplace(name, Constant{tag.value("path", ""), tag.value("line", 0)});
        }
    }
    const auto status = run.wait(60);
    if (status != 0 || tags == 0)
        addError("ctags ended with " + (status ? std::to_string(*status) : std::string("no exit")) + " after " +
                 std::to_string(tags) + " tags");
}

void EscapeCloses::readClosingViews(const std::string& root) {
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path& path = entry.path();
        if (path.extension() != ".h" && path.extension() != ".cpp") continue;
        const std::string text = withoutComments(readFile(path));
        const std::string file = path.filename().string();
        for (size_t at = findWord(text, "closingView"); at != std::string::npos;
             at = findWord(text, "closingView", at + 1)) {
            // A call names the kind of view: closingView<Kind>(frame, identifier, close).
            size_t i = text.find_first_not_of(" \t\r\n", at + 11);
            if (i == std::string::npos || text[i] != '<') continue;
            for (int depth = 0; i < text.size(); ++i) {
                if (text[i] == '<') ++depth;
                if (text[i] == '>' && --depth == 0) break;
            }
            i = text.find_first_not_of(" \t\r\n", i + 1);
            if (i == std::string::npos || text[i] != '(') continue;
            const std::vector<std::string> arguments = callArguments(text, i);
            if (arguments.size() < 2) continue;
            const std::string identifier = trimmed(arguments[1]);
            if (identifier.size() >= 2 && identifier.front() == '"' && identifier.back() == '"') {
                declared_.insert(file + " " + identifier.substr(1, identifier.size() - 2));
                continue;
            }
            const std::string value = constantValue(lastPart(identifier), path.string());
            if (value.empty())
                addError(path.string() + ": a closing view's identifier " + identifier + " whose text was not found");
            else
                declared_.insert(file + " " + value);
        }
    }
}

std::string EscapeCloses::constantValue(const std::string& name, const std::string& file) const {
    const auto [first, last] = constants_.equal_range(name);
    std::vector<Constant> found;
    for (auto it = first; it != last; ++it)
        found.push_back(it->second);
    // The one in the calling file first, when there is one there.
    std::stable_partition(found.begin(), found.end(), [&file](const Constant& c) { return c.file == file; });
    for (const Constant& constant : found) {
        std::ifstream in(constant.file);
        std::string text;
        int number = 0;
        for (std::string line; std::getline(in, line);)
            if (++number >= constant.line) text += line + "\n";
        const size_t at = findWord(text, name);
        if (at == std::string::npos) continue;
        if (const auto value = firstLiteral(withoutComments(text), at + name.size())) return *value;
    }
    return "";
}

std::string EscapeCloses::resolve(const std::string& written, const std::string& scope) const {
    const std::string base = withoutKavo(written);
    // As C++ looks it up: from the scope of the class outwards.
    for (std::string outer = scope;;
         outer = outer.rfind("::") == std::string::npos ? std::string() : outer.substr(0, outer.rfind("::"))) {
        const std::string candidate = outer.empty() ? base : outer + "::" + base;
        if (classes_.count(candidate)) return candidate;
        if (outer.empty()) break;
    }
    // A class of another namespace named by its own name.
    for (const auto& [name, info] : classes_)
        if (name.ends_with("::" + base)) return name;
    return "";
}

bool EscapeCloses::isTarget(const std::string& name, int depth) const {
    if (lastPart(name) == "EscapeTarget") return true;
    const auto found = classes_.find(name);
    if (found == classes_.end() || depth > kMaxDepth) return false;
    for (const auto& base : found->second.bases) {
        if (lastPart(base) == "EscapeTarget") return true;
        if (const std::string known = resolve(base, found->second.scope); !known.empty() && isTarget(known, depth + 1))
            return true;
    }
    return false;
}

bool EscapeCloses::hasClose(const std::string& name, int depth) const {
    const auto found = classes_.find(name);
    if (found == classes_.end() || depth > kMaxDepth) return false;
    if (found->second.closes) return true;
    for (const auto& base : found->second.bases)
        if (const std::string known = resolve(base, found->second.scope); !known.empty() && hasClose(known, depth + 1))
            return true;
    return false;
}

bool EscapeCloses::isOwnedClose(const std::string& name, int depth) const {
    if (lastPart(name) == "OwnedClose") return true;
    const auto found = classes_.find(name);
    if (found == classes_.end() || depth > kMaxDepth) return false;
    for (const auto& base : found->second.bases)
        if (lastPart(base) == "OwnedClose" || isOwnedClose(resolve(base, found->second.scope), depth + 1)) return true;
    return false;
}

std::set<std::string> EscapeCloses::walkedBy(const std::string& kind) const {
    if (kind.find(' ') != std::string::npos)
        return declared_.count(kind) ? std::set<std::string>{kind} : std::set<std::string>{};
    std::set<std::string> walked;
    // The class, then its bases up to the one whose close it inherits.
    std::vector<std::pair<std::string, int>> todo = {{kind, 0}};
    while (!todo.empty()) {
        const auto [name, depth] = todo.back();
        todo.pop_back();
        const auto found = classes_.find(name);
        if (found == classes_.end() || depth > kMaxDepth || !hasClose(name)) continue;
        if (declared_.count(name)) walked.insert(name);
        if (found->second.closes) continue;
        for (const auto& base : found->second.bases)
            if (const std::string known = resolve(base, found->second.scope); !known.empty())
                todo.emplace_back(known, depth + 1);
    }
    return walked;
}

void EscapeCloses::addError(const std::string& what) {
    error_ += (error_.empty() ? "" : "; ") + what;
}

} // namespace kavo::test
