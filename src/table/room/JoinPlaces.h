#pragma once

#include "table/base/TienLenPlayer.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class ReplyReader;

// The places of a card table's join reply (8): an id of -1 is an empty place of four
// bytes; any other id is followed by the name, money, avatar, experience and ready flag.
// Reading stops at the first place cut short. The list holds exactly `places` entries:
// missing ones are empty places (id -1), extra ones are read and dropped, which is
// logged under `table`.
std::vector<std::shared_ptr<TienLenPlayer>> readJoinPlaces(ReplyReader& reader, size_t places,
                                                           const std::string& table);

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
