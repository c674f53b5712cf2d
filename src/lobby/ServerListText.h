#pragma once

#include "portal/model/Server.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo {

using ServerList = std::vector<std::shared_ptr<Server>>;

// The server-list text: entries "NAME|HOST:PORT" separated by ";". An entry is cut
// at the first "|" and the first ":" of the entry (searched from its start); nothing
// is trimmed, so a line end at the end of the text stays in the last port. The port
// stays text until a server is used.
class ServerListText {
public:
    // One entry, or nothing when it has no "|", no ":" or its first ":" comes before
    // its first "|" (an empty entry cannot be split either).
    static std::optional<Server> splitEntry(std::string_view entry);
    // The entries between the ";" separators, in order (empty ones included).
    static std::vector<std::string_view> entries(std::string_view text);
    // Every entry that can be split, in order; the others are skipped.
    static ServerList parse(std::string_view text);
    // The port's leading decimal digits as a number (0 when there are none; numbers
    // too large for a port give 0 too).
    static int portValue(std::string_view port);
};

} // namespace kavo
