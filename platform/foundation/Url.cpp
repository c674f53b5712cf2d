#include "platform/foundation/Url.h"

#include <algorithm>
#include <cctype>

namespace platform {

namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isSchemeCharacter(char c, bool first) {
    if (std::isalpha(static_cast<unsigned char>(c))) return true;
    return !first && (std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.');
}

} // namespace

std::optional<Url> Url::parse(std::string_view text) {
    Url url;
    size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0) return std::nullopt;
    for (size_t i = 0; i < colon; ++i)
        if (!isSchemeCharacter(text[i], i == 0)) return std::nullopt;
    url.scheme = lowered(text.substr(0, colon));
    std::string_view rest = text.substr(colon + 1);

    if (size_t hash = rest.find('#'); hash != std::string_view::npos) {
        url.fragment = std::string(rest.substr(hash + 1));
        url.hasFragment = true;
        rest = rest.substr(0, hash);
    }
    if (size_t question = rest.find('?'); question != std::string_view::npos) {
        url.query = std::string(rest.substr(question + 1));
        url.hasQuery = true;
        rest = rest.substr(0, question);
    }
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        size_t slash = rest.find('/');
        std::string_view authority = rest.substr(0, slash);
        url.path = slash == std::string_view::npos ? "" : std::string(rest.substr(slash));
        if (size_t at = authority.rfind('@'); at != std::string_view::npos) {
            url.userInfo = std::string(authority.substr(0, at));
            authority = authority.substr(at + 1);
        }
        std::string_view portText;
        if (!authority.empty() && authority.front() == '[') {
            size_t close = authority.find(']');
            if (close == std::string_view::npos) return std::nullopt;
            url.host = lowered(authority.substr(1, close - 1));
            std::string_view after = authority.substr(close + 1);
            if (!after.empty()) {
                if (after.front() != ':') return std::nullopt;
                portText = after.substr(1);
                if (portText.empty()) return std::nullopt;
            }
        } else {
            size_t portColon = authority.rfind(':');
            url.host = lowered(authority.substr(0, portColon));
            if (portColon != std::string_view::npos) {
                portText = authority.substr(portColon + 1);
                if (portText.empty()) return std::nullopt;
            }
        }
        if (!portText.empty()) {
            if (portText.size() > 5) return std::nullopt;
            int port = 0;
            for (char c : portText) {
                if (c < '0' || c > '9') return std::nullopt;
                port = port * 10 + (c - '0');
            }
            if (port > 65535) return std::nullopt;
            url.port = port;
        }
    } else {
        url.path = std::string(rest);
    }
    return url;
}

int Url::effectivePort() const {
    if (port >= 0) return port;
    if (scheme == "http") return 80;
    if (scheme == "https") return 443;
    return -1;
}

QueryItems Url::queryItems() const {
    QueryItems items;
    std::string_view rest = query;
    while (!rest.empty()) {
        size_t amp = rest.find('&');
        std::string_view pair = rest.substr(0, amp);
        if (!pair.empty()) {
            size_t eq = pair.find('=');
            std::string name = percentDecode(pair.substr(0, eq));
            std::string value = eq == std::string_view::npos ? "" : percentDecode(pair.substr(eq + 1));
            items.emplace_back(std::move(name), std::move(value));
        }
        if (amp == std::string_view::npos) break;
        rest.remove_prefix(amp + 1);
    }
    return items;
}

std::optional<std::string> Url::queryValue(std::string_view name) const {
    for (auto& [key, value] : queryItems())
        if (key == name) return value;
    return std::nullopt;
}

std::string Url::toString() const {
    std::string out = scheme + ":";
    if (!host.empty() || port >= 0 || !userInfo.empty()) {
        out += "//";
        if (!userInfo.empty()) out.append(userInfo).append("@");
        // Appending piece by piece, not building "[" + host + "]" as a temporary: GCC 12 at -O3
        // reports a false overlap (-Wrestrict) for the temporary.
        if (host.find(':') != std::string::npos)
            out.append("[").append(host).append("]");
        else
            out += host;
        if (port >= 0) out.append(":").append(std::to_string(port));
    }
    out += path;
    if (hasQuery) out.append("?").append(query);
    if (hasFragment) out.append("#").append(fragment);
    return out;
}

std::string percentEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string percentDecode(std::string_view text, bool plusAsSpace) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out += char(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else if (c == '+' && plusAsSpace) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

std::string encodeQuery(const QueryItems& items) {
    std::string out;
    for (auto& [name, value] : items) {
        if (!out.empty()) out += '&';
        out += percentEncode(name) + "=" + percentEncode(value);
    }
    return out;
}

std::string appendQuery(std::string_view url, const QueryItems& items) {
    if (items.empty()) return std::string(url);
    size_t hash = url.find('#');
    std::string_view base = url.substr(0, hash);
    std::string_view fragment = hash == std::string_view::npos ? std::string_view() : url.substr(hash);
    std::string out(base);
    if (base.find('?') == std::string_view::npos)
        out += '?';
    else if (out.back() != '?' && out.back() != '&')
        out += '&';
    out += encodeQuery(items);
    out += fragment;
    return out;
}

} // namespace platform
