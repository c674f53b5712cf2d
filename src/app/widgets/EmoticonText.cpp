#include "app/widgets/EmoticonText.h"

#include "app/Resources.h"

namespace kavo {

EmoticonTable EmoticonText::currentTable() {
    return tableFromValue(Resources::getInstance().xDictEmotion());
}

EmoticonTable EmoticonText::tableFromValue(const platform::Value& dictionary) {
    EmoticonTable table;
    if (!dictionary.isDictionary()) return table;
    for (const auto& [code, file] : dictionary.dictValue()) {
        // An empty code would match everywhere and never shrink the text.
        if (code.empty() || !file.isString()) continue;
        table.emplace_back(code, file.stringValue());
    }
    return table;
}

int EmoticonText::countCodes(const std::string& text, const EmoticonTable& table) {
    if (text.empty()) return 0;
    int count = 0;
    std::string rest = text;
    for (const auto& entry : table) {
        const std::string& code = entry.first;
        for (size_t at = rest.find(code); at != std::string::npos; at = rest.find(code)) {
            rest.erase(at, code.size());
            ++count;
        }
    }
    return count;
}

void EmoticonText::split(const std::string& text, const EmoticonTable& table,
                         const std::function<void(const std::string&)>& onPlain,
                         const std::function<void(const std::string&, const std::string&)>& onPicture) {
    if (text.empty()) return;
    for (const auto& [code, imageName] : table) {
        const size_t at = text.find(code);
        if (at == std::string::npos) continue;
        // Each half is strictly shorter than the text, so the recursion ends.
        split(text.substr(0, at), table, onPlain, onPicture);
        onPicture(code, imageName);
        split(text.substr(at + code.size()), table, onPlain, onPicture);
        return;
    }
    onPlain(text);
}

} // namespace kavo
