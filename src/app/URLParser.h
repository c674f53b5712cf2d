#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo {

// Reads the query variables of an address: "http://host/p?a=1&b=2" has "a=1" and
// "b=2". Nothing is unescaped.
class URLParser {
public:
    // Everything up to the first "?" is skipped; the rest is split at "&" (runs of
    // "&" and "?" separate pieces). An address without "?" has no variables.
    explicit URLParser(std::string_view url);

    // The text after "name=" in the first piece that starts with it and has a value;
    // nothing when no piece does ("name=" alone has no value).
    std::optional<std::string> valueForVariable(std::string_view name) const;

    const std::vector<std::string>& variables() const { return variables_; }

private:
    std::vector<std::string> variables_;
};

} // namespace kavo
