#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

using QueryItems = std::vector<std::pair<std::string, std::string>>;

// An absolute URL split into its parts. Parts are kept as written (still
// percent-encoded); queryItems() decodes.
struct Url {
    std::string scheme; // lower case
    std::string userInfo;
    std::string host; // lower case; an IPv6 address without its brackets
    int port = -1;    // -1 when the URL names none
    std::string path;
    std::string query;    // without the '?'
    std::string fragment; // without the '#'
    bool hasQuery = false;
    bool hasFragment = false;

    // nullopt when the text has no scheme, or a port that is not a number up to 65535.
    static std::optional<Url> parse(std::string_view text);

    // The port, or the scheme's usual one (80 for http, 443 for https, else -1).
    int effectivePort() const;
    // Name and value of each "name=value" of the query, percent-decoded, in order.
    QueryItems queryItems() const;
    // The first value for the name, or nullopt.
    std::optional<std::string> queryValue(std::string_view name) const;
    std::string toString() const;
};

// Percent-encodes everything except the unreserved characters of RFC 3986
// (letters, digits, '-', '.', '_', '~').
std::string percentEncode(std::string_view text);
// Decodes %XX escapes; an escape that is not two hex digits is kept as written.
// With plusAsSpace a '+' becomes a space (form encoding).
std::string percentDecode(std::string_view text, bool plusAsSpace = false);
// Encodes "name=value&..." from pairs.
std::string encodeQuery(const QueryItems& items);
// Adds the items to the URL's query (before any fragment).
std::string appendQuery(std::string_view url, const QueryItems& items);

} // namespace platform
