#pragma once

#include "games/caorua/CaoRuaRecords.h"
#include "table/base/TienLenPlayer.h"
#include "table/room/TableLogic.h"

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
class CaoRuaLogicHandler : public TableLogic<TienLenPlayer> {
public:
    static CaoRuaLogicHandler& getInstance();

    void onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                     CaoRuaPlayers players) override;
    void onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& text, int32_t from) override;
    void onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t kickedId) override;
    void onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<TienLenPlayer> player) override;
    void onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner) override;
    void onSomeOneReadyWithId(int32_t id, bool isReady) override;
    void onOwnerSetMoneyWithRoomeId(int8_t roomId, int8_t boardId, int32_t money) override;
    // 20: my three card ids in wire order.
    virtual void onStartGameWithRoomId(int8_t roomId, int8_t boardId, std::vector<int8_t> cards, int32_t betMoney,
                                       int8_t interval);
    // 21: a player's three turned card ids.
    virtual void onMoveWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMove, std::vector<uint8_t> cards);
    // 24 and 80: the stake shown on the board.
    void onOwnerSetMoneyOnBoardWithRoomId(int8_t roomId, int8_t boardId, int32_t money, int32_t who) override;
    virtual void onStopGameWithRoomId(int8_t roomId, int8_t boardId, CaoRuaCardRecords records);
    void onBonusMoneyWithRommId(int8_t roomId, int8_t boardId, int32_t who, int32_t money,
                                const std::string& des) override;
    virtual void onPlayingWithRoomId(int8_t roomId, int8_t boardId, int32_t money, CaoRuaCardRecords records);
    void onDiemSoWithWho(int32_t who, const std::string& des) override;
    void onBuzzWithContent(const std::string& text) override;

    // The kick on the main thread: the player leaves the seats; when it is me, the
    // table pops (or the stack returns to the screen below it) and the dialog tells why.
    static void callKick(int32_t kickedId);

protected:
    // Tests record the calls in a derived handler.
    CaoRuaLogicHandler() = default;
};

} // namespace kavo
