#pragma once

#include "games/cotuong/MoveRecords.h"
#include "platform/ui/ViewController.h"
#include "portal/model/MatchResultInfo.h"
#include "table/base/ChessPlayer.h"
#include "table/room/TableLogic.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class CoTuongView;

using ChessPlayerList = std::vector<std::shared_ptr<ChessPlayer>>;

// Carries each parsed Chinese chess event to the table screen. The entry operations
// run on the reader thread and only hand the values over; their main-thread twins
// find the screen through GameController, make the table checks and every change to
// the records, the signed-in player and the screen, in arrival order. Only the
// departure of a player waits for its twin.
class CoTuongLogicHandler : public TableLogic<ChessPlayer> {
public:
    static CoTuongLogicHandler& getInstance();

    void onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& text, int32_t fromId) override;
    void onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                     ChessPlayerList players) override;
    void onJoinViewGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                         ChessPlayerList players) override;
    void onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t kickedId) override;
    virtual void onMatchResult(std::vector<MatchResultInfo> results);
    virtual void onMoveWithWhoMove(int32_t whoMove, int8_t xs, int8_t ys, int8_t xd, int8_t yd, int32_t nextMove,
                                   int32_t remainTime, int8_t newPieceType);
    virtual void onOpponentWantDraw();
    virtual void onDenyDraw();
    virtual void onDenyLose();
    virtual void onWantLose();
    void onOwnerSetMoneyWithRoomeId(int8_t roomId, int8_t boardId, int32_t money) override;
    void onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<ChessPlayer> player) override;
    void onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner) override;
    void onSomeOneReadyWithId(int32_t whoId, bool isReady) override;
    virtual void onStartGameWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMoveFirst, int32_t interval,
                                       int32_t ownerQuotaTime, int32_t clientQuotaTime);
    struct TableInfo {
        int32_t firstUserId = 0;
        int32_t currentUserId = 0;
        int32_t limitStepTimer = 0;
        int32_t stepRemainTimer = 0;
        int32_t ownerUserId = 0;
        int32_t gameRemainTime = 0;
        std::vector<PieceServer> listPiece;
        int32_t opponentUserId = 0;
        int32_t gameRemainTime1 = 0;
        std::vector<PieceServer> listPiece1;
    };
    virtual void onGetTableInfo(TableInfo info);
    virtual void onRemoveButton(int8_t which);
    virtual void onUndo();
    virtual void onMakeUndoWithNextUserId(int32_t nextUserId, std::vector<PieceUndo> undos);
    virtual void onStopGame();
    virtual void onShowMessage(const std::string& text);
    void onBuzzWithContent(const std::string& text) override;

    // The main-thread halves that do more than call the screen (tests drive them), at
    // the Chinese chess table.
    static void applyJoin(bool refillInPlace, int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                          const ChessPlayerList& players);
    // The same at this handler's table.
    void joinTable(bool refillInPlace, int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                   ChessPlayerList players) const;
    void matchResultAtTable(const std::vector<MatchResultInfo>& results) const;

protected:
    // Tests record the calls in a derived handler.
    CoTuongLogicHandler() = default;

    // The table screen this handler drives (main thread): the one GameController keeps,
    // whether a screen is that game's table, and the show operation of a join.
    virtual std::shared_ptr<CoTuongView> table() const;
    virtual bool isTable(const platform::ui::ViewControllerPtr& controller) const;
    virtual void showTable(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                           const ChessPlayerList& players) const;
    // The screen when it is the table of that room and board (compared as bytes).
    std::shared_ptr<CoTuongView> tableOf(int8_t roomId, int8_t boardId) const;
    bool tableOnTop() const;
};

} // namespace kavo
