#pragma once

#include <memory>

namespace kavo {

class GameTableView;
class Player;

// What a player chose in a seat's menu (kick, gift, befriend, buzz, details) for
// whichever game is played. Each action reads the current game's table screen and
// its chosen player at the moment of the action and sends through GlobalService;
// with no table or no chosen player it sends nothing. Main thread only.
class ActionController {
public:
    // The board games kick every other player at the table; the others the chosen one.
    static void doKick();
    // Opens the table's gift sheet for the chosen player.
    static void doPresentGift();
    // Searches the chosen player's name (36) and keeps it under "REQUEST_ADD_FRIEND"
    // for the search reply; outside the games the key is removed.
    static void doAddFriend();
    static void doBuzz();
    // Asks the chosen player's details (34) and keeps the avatar for the sheet.
    static void doViewInfo();

    // The current game's table screen and its chosen player, or nullptr.
    static std::shared_ptr<GameTableView> currentTable();
    static std::shared_ptr<Player> chosenPlayer();
};

} // namespace kavo
