#pragma once

#include "tools/portal-stub/StubCommands.h"
#include "tools/portal-stub/StubSeating.h"

#include <cstdint>
#include <string>
#include <vector>

namespace portalstub {

// The stub's answers to what the shared table sheets ask: the waiting list (78/2), the
// gift categories (101/1, answered with the list of sub 14) and their item pages
// (101/15), a bought gift (101/7, answered with the gift), player details (34), and the
// avatar and item pictures (38, 79/1 and 79/4) as small PNGs. The friends (104) and the friend
// search (36) are the mail's; a stake (19) and the number of players (56) the card
// table's. A stake of 24 and a buzz at a table without answers of its own, a password and
// an invitation are logged. A gift goes from a player at a table to a player at that table,
// as `seating` tells where the person sits.
std::vector<StubCommand> tableSheetCommands(const StubSeating& seating);
// The name the gift sheet lists the present `item` by (its category's id times 100 plus
// its place in the category), in the client's language.
std::string giftName(int32_t item);

} // namespace portalstub
