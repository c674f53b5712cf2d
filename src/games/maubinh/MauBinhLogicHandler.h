#pragma once

#include "games/maubinh/MauBinhRecords.h"
#include "table/base/TienLenPlayer.h"
#include "table/room/TableLogic.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

using MauBinhPlayers = std::vector<std::shared_ptr<TienLenPlayer>>;

// Carries the Mau Binh replies to the table screen. The entry operations run on the
// reader thread and only hand the parsed values over; their main-thread twins make
// the table checks (room and board) and every change, in arrival order, on the
// current Mau Binh screen. An event with no screen is dropped. Only a departure waits
// for its twin.
class MauBinhLogicHandler : public TableLogic<TienLenPlayer> {
public:
    static MauBinhLogicHandler& getInstance();

    void onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                     MauBinhPlayers players) override;
    void onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& text, int32_t from) override;
    void onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t userId) override;
    void onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<TienLenPlayer> player) override;
    void onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner) override;
    void onSomeOneReadyWithId(int32_t userId, bool isReady) override;
    void onOwnerSetMoneyWithRoomeId(int8_t roomId, int8_t boardId, int32_t money) override;
    void onBuzzWithContent(const std::string& text) override;
    virtual void onSetLimitTime(int seconds);
    virtual void onPlayingWithLimitTime(int8_t limit, int8_t rest);
    virtual void onStartWithRoomId(int8_t roomId, int8_t boardId, int8_t time, std::vector<int8_t> cardList,
                                   int8_t mbType);
    virtual void onSort(std::vector<int8_t> sortedCard);
    virtual void onFinishWithUserID(int32_t userId);
    virtual void onResultWithUserID(int32_t userId, int32_t winMoney, int32_t winChi, int8_t mbType,
                                    std::vector<ResultPlayer> resultList);
    virtual void onStopGame();

    // The table's time to arrange the hands changed (seconds): the first in-table
    // menu on the top screen shows it; nothing when the screen has none. Main thread.
    void doSetLimitTime(int seconds);
    // Main-thread half of a kick.
    static void onKickedController(int32_t userId);

protected:
    // Tests record the calls in a derived handler.
    MauBinhLogicHandler() = default;
};

} // namespace kavo
