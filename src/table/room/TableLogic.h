#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

// What a table's logic handler takes from the room commands the tables share (see
// RoomCommandReader). The entry operations run on the reader thread and only hand the
// parsed values over; each game's handler makes the table checks and every change in
// its main-thread twins. `PlayerRecord` is the game's player record (a card table's,
// a stake table's or a board game's). A table that does not take a command never
// gets its operation; the kin of the basic commands do nothing unless a game takes them.
template <class PlayerRecord> class TableLogic {
public:
    using Record = std::shared_ptr<PlayerRecord>;
    using Records = std::vector<Record>;

    virtual ~TableLogic() = default;

    // 8: I sit at the table; its places in order, an id of -1 for an empty one.
    virtual void onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                             Records players) = 0;
    // 9
    virtual void onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& text, int32_t fromId) = 0;
    // 11
    virtual void onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t kickedId) = 0;
    // 12: the place as sent (the table checks it) and the player, not ready.
    virtual void onSomeOneJoinBoardWithSeat(int seat, Record player) = 0;
    // 14
    virtual void onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner) = 0;
    // 16
    virtual void onSomeOneReadyWithId(int32_t playerId, bool isReady) = 0;
    // 103: "name: text".
    virtual void onBuzzWithContent(const std::string& text) = 0;

    // 19: the table's stake.
    virtual void onOwnerSetMoneyWithRoomeId(int8_t /*roomId*/, int8_t /*boardId*/, int32_t /*money*/) {}
    // 24 and 80: the stake a player set, shown on the board.
    virtual void onOwnerSetMoneyOnBoardWithRoomId(int8_t /*roomId*/, int8_t /*boardId*/, int32_t /*money*/,
                                                  int32_t /*who*/) {}
    // 52
    virtual void onBonusMoneyWithRommId(int8_t /*roomId*/, int8_t /*boardId*/, int32_t /*whoBonus*/, int32_t /*money*/,
                                        const std::string& /*des*/) {}
    // 54: a move the server refused.
    virtual void onMoveErrorWithRoomeId(int8_t /*roomId*/, int8_t /*boardId*/, const std::string& /*info*/) {}
    // 91: a player's score text.
    virtual void onDiemSoWithWho(int32_t /*who*/, const std::string& /*des*/) {}
    // 1900: I watch the table; the join's places.
    virtual void onJoinViewGameSuccessWithRoomId(int8_t /*roomId*/, int8_t /*boardId*/, int32_t /*ownerId*/,
                                                 int32_t /*money*/, Records /*players*/) {}
};

} // namespace kavo
