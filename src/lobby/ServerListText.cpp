#include "lobby/ServerListText.h"

namespace kavo {

std::optional<Server> ServerListText::splitEntry(std::string_view entry) {
    const size_t bar = entry.find('|');
    const size_t colon = entry.find(':');
    if (bar == std::string_view::npos || colon == std::string_view::npos || colon < bar) return std::nullopt;
    Server server;
    server.setSNAME(std::string(entry.substr(0, bar)));
    server.setSIP(std::string(entry.substr(bar + 1, colon - bar - 1)));
    server.setSPORT(std::string(entry.substr(colon + 1)));
    return server;
}

std::vector<std::string_view> ServerListText::entries(std::string_view text) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(';', start);
        if (end == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

ServerList ServerListText::parse(std::string_view text) {
    ServerList servers;
    for (std::string_view entry : entries(text)) {
        if (auto server = splitEntry(entry)) servers.push_back(std::make_shared<Server>(std::move(*server)));
    }
    return servers;
}

int ServerListText::portValue(std::string_view port) {
    int value = 0;
    for (char c : port) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > 65535) return 0;
    }
    return value;
}

} // namespace kavo
