#pragma once

#include "table/room/TableLogic.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class Player;
class ReplyReader;

// The room commands the tables share, and their kin.
namespace room {
enum Command : int16_t {
    kJoin = 8,
    kChat = 9,
    kKicked = 11,
    kSitDown = 12,
    kLeave = 14,
    kReady = 16,
    kStake = 19,
    kStakeMoneyFirst = 24,
    kBonus = 52,
    kMoveError = 54,
    kStakePlayerFirst = 80,
    kScoreText = 91,
    kBuzz = 103,
    kJoinView = 1900,
};
} // namespace room

// How one table reads the shared room commands: every way the tables differ in
// reading them is one of these fields, so a game's rules say it in one place.
template <class PlayerRecord> struct RoomRules {
    // The table's name in the log.
    std::string table{};
    // Makes the record of a place or a sit-down; none: a plain PlayerRecord. A table
    // that hands its players on as a base class keeps its own records this way.
    std::function<std::shared_ptr<PlayerRecord>()> makeRecord{};
    // The room commands the table takes; any other id is the game's own.
    std::vector<int16_t> commands{};
    // How many places a join holds: missing ones are empty, extra ones are read and
    // dropped (both logged). 0: the places the body holds, as many as they are.
    size_t places = 0;
    // Whether a command cut short reaches nobody (logged). When false, the fields past
    // the end read as 0 or "" and the call is made all the same.
    bool dropCutShort = true;
    // Whether the place of a sit-down is an unsigned byte (0-255) instead of a signed one.
    bool unsignedSeat = false;
    // A sit-down at a place outside 0..seats-1 is logged and dropped; 0: the table
    // checks the place itself.
    int seats = 0;
    // What the table changes on each place of a join once the list is whole (the
    // empty places it pads with included).
    std::function<void(PlayerRecord&)> joinedPlace{};
    // What the player of a sit-down gets besides its fields and a cleared ready flag.
    std::function<void(PlayerRecord&)> seatedPlayer{};
};

// The hook of the card tables whose players come to a sit-down without a place in the
// order of finishing.
void notFinished(Player& player);

// Reads `command` when `rules` names it and hands the values to `logic`; false when the
// table does not take the command. Reader thread: it only parses.
template <class PlayerRecord>
bool readRoomCommand(const RoomRules<PlayerRecord>& rules, int16_t command, ReplyReader& reader,
                     TableLogic<PlayerRecord>& logic);

// The places of a join after its header: an id of -1 is an empty place of four bytes;
// any other id is followed by the name, money, avatar, experience and ready flag.
// Reading stops at the first place cut short (logged), keeping the places before it;
// then the list is fitted to `rules.places`.
template <class PlayerRecord>
std::vector<std::shared_ptr<PlayerRecord>> readJoinPlaces(const RoomRules<PlayerRecord>& rules, ReplyReader& reader);

} // namespace kavo
