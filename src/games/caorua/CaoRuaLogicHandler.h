#pragma once

#include "games/caorua/CaoRuaRecords.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

// Carries each parsed Cao Rua event to the table screen. The entry operations run on
// the reader thread and only hand copies of the values over; their main-thread twins
// find the screen through GameController, make the table checks (room and board, the
// bonus's player) and every change, in arrival order. Only the departure of a player
// waits for its twin. Events with no table screen are dropped, except the join.
class CaoRuaLogicHandler {
public:
    static CaoRuaLogicHandler& getInstance();
    virtual ~CaoRuaLogicHandler() = default;

    virtual void onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                             CaoRuaPlayers players);
    virtual void onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& text, int32_t from);
    virtual void onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t kickedId);
    virtual void onSomeOneJoinBoardWithSeat(int8_t seat, std::shared_ptr<TienLenPlayer> player);
    virtual void onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner);
    virtual void onSomeOneReadyWithId(int32_t id, bool isReady);
    virtual void onOwnerSetMoneyWithRoomId(int8_t roomId, int8_t boardId, int32_t money);
    // 20: my three card ids in wire order.
    virtual void onStartGameWithRoomId(int8_t roomId, int8_t boardId, std::vector<int8_t> cards, int32_t betMoney,
                                       int8_t interval);
    // 21: a player's three turned card ids.
    virtual void onMoveWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMove, std::vector<uint8_t> cards);
    // 24 and 80: the stake shown on the board.
    virtual void onOwnerSetMoneyOnBoardWithRoomId(int8_t roomId, int8_t boardId, int32_t money, int32_t who);
    virtual void onStopGameWithRoomId(int8_t roomId, int8_t boardId, CaoRuaCardRecords records);
    virtual void onBonusMoneyWithRoomId(int8_t roomId, int8_t boardId, int32_t who, int32_t money,
                                        const std::string& des);
    virtual void onPlayingWithRoomId(int8_t roomId, int8_t boardId, int32_t money, CaoRuaCardRecords records);
    virtual void onDiemSoWithWho(int32_t who, const std::string& des);
    virtual void onBuzzWithContent(const std::string& text);

    // The kick on the main thread: the player leaves the seats; when it is me, the
    // table pops (or the stack returns to the screen below it) and the dialog tells why.
    static void callKick(int32_t kickedId);

protected:
    // Tests record the calls in a derived handler.
    CaoRuaLogicHandler() = default;
};

} // namespace kavo
