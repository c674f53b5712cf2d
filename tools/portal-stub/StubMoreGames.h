#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace portalstub {

// The more-games page the game grid's "More games" opens (its address is the answer to
// information key 3): which games the portal has, which of them this stub plays and which
// it does not, one page in each of the client's languages.
std::map<std::string, std::string> moreGamesPages();
// The address of the page in the player's language, on the stub's pages at `httpPort`.
std::string moreGamesAddress(uint16_t httpPort);

} // namespace portalstub
