#include "tests/e2e/EscapeCloses.h"

#include "tests/support/SourceDir.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace kavo::test {

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// "public platform::ui::View" -> "View"; "public ClosingView<Kind>" -> "ClosingView".
std::string baseName(std::string base) {
    base = std::regex_replace(base, std::regex("<.*"), "");
    base = std::regex_replace(base, std::regex("\\b(public|protected|private|virtual)\\b"), "");
    const size_t colons = base.rfind("::");
    if (colons != std::string::npos) base = base.substr(colons + 2);
    return std::regex_replace(base, std::regex("\\s"), "");
}

} // namespace

EscapeCloses EscapeCloses::read() {
    EscapeCloses closes;
    // A class at namespace level: its name, its bases up to the brace, its body up to the
    // "};" that starts a line.
    const std::regex classHead("(?:^|\\n)(?:template\\s*<[^>]*>\\s*)?class\\s+(\\w+)(?:\\s+final)?\\s*:([^{;]+)\\{");
    const std::regex closingView("closingView<[^>]+>\\s*\\(([^;]*?)\"([^\"]+)\"");
    for (const auto& entry : fs::recursive_directory_iterator(sourceDir() + "/src")) {
        const fs::path& path = entry.path();
        if (path.extension() != ".h" && path.extension() != ".cpp") continue;
        const std::string text = readFile(path);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), classHead); it != std::sregex_iterator(); ++it) {
            ClassInfo info;
            std::istringstream bases((*it)[2].str());
            for (std::string base; std::getline(bases, base, ',');)
                info.bases.push_back(baseName(base));
            const size_t bodyStart = size_t(it->position(0) + it->length(0));
            const size_t bodyEnd = text.find("\n};", bodyStart);
            const std::string body = text.substr(bodyStart, bodyEnd == std::string::npos ? 0 : bodyEnd - bodyStart);
            info.closes = body.find("closeItself(") != std::string::npos;
            closes.classes_[(*it)[1].str()] = info;
        }
        if (path.extension() != ".cpp") continue;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), closingView); it != std::sregex_iterator(); ++it)
            closes.declared_.insert(path.filename().string() + " " + (*it)[2].str());
    }
    for (const auto& [name, info] : closes.classes_) {
        if (info.closes && name != "OwnedClose" && closes.isTarget(name)) closes.declared_.insert(name);
    }
    return closes;
}

bool EscapeCloses::isTarget(const std::string& name, int depth) const {
    if (name == "EscapeTarget") return true;
    const auto found = classes_.find(name);
    if (found == classes_.end() || depth > 20) return false;
    for (const auto& base : found->second.bases)
        if (isTarget(base, depth + 1)) return true;
    return false;
}

std::string EscapeCloses::declarerOf(const std::string& kind) const {
    if (kind.find(' ') != std::string::npos) return kind;
    const auto found = classes_.find(kind);
    if (found == classes_.end()) return "";
    if (found->second.closes) return kind;
    for (const auto& base : found->second.bases)
        if (std::string declarer = declarerOf(base); !declarer.empty()) return declarer;
    return "";
}

} // namespace kavo::test
