#pragma once

#include <cstdint>

namespace kavo {

// Whether the player is on my friend list as it stands now.
bool isFriendNow(int32_t iddb);

// Marks the friends among a join's players. Called in the join's main-thread twin, in
// order with the friend-list reply's twin that keeps the list: a list that came just
// before the join counts for it.
template <class Players> void markFriends(const Players& players) {
    for (const auto& player : players)
        if (player && player->IDDB() != -1) player->setIsFriend(isFriendNow(player->IDDB()) ? 1 : 0);
}

} // namespace kavo
