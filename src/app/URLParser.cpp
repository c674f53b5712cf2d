#include "app/URLParser.h"

namespace kavo {

URLParser::URLParser(std::string_view url) {
    size_t query = url.find('?');
    if (query == std::string_view::npos) return;
    std::string_view rest = url.substr(query + 1);
    while (!rest.empty()) {
        size_t start = rest.find_first_not_of("&?");
        if (start == std::string_view::npos) break;
        rest.remove_prefix(start);
        size_t end = rest.find_first_of("&?");
        variables_.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
    }
}

std::optional<std::string> URLParser::valueForVariable(std::string_view name) const {
    for (const std::string& piece : variables_) {
        if (piece.size() > name.size() + 1 && piece.compare(0, name.size(), name) == 0 && piece[name.size()] == '=')
            return piece.substr(name.size() + 1);
    }
    return std::nullopt;
}

} // namespace kavo
