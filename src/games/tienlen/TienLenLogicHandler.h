#pragma once

#include "table/base/TienLenPlayer.h"
#include "table/cards/CardView.h"
#include "table/room/TableLogic.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class TienLenView;

using TienLenPlayerList = std::vector<std::shared_ptr<TienLenPlayer>>;

// Carries each parsed Tien Len command to the table screen. The entry operations run
// on the reader thread and only hand the values over; their main-thread twins find the
// screen anew, make the table checks and every change to the records, to myInfo and
// to the screen, in arrival order. Only the departure (14) waits for its twin.
//
// Tien Len MB derives from it: its differences are the protected hooks below (its
// screen, its instant-win tests and the order of a few effects).
class TienLenLogicHandler : public TableLogic<TienLenPlayer> {
public:
    static TienLenLogicHandler& getInstance();

    // The places of a table; a join pads to this many and drops the rest.
    static constexpr size_t kPlaces = 4;

    void onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                     TienLenPlayerList players) override;
    void onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& text, int32_t fromId) override;
    void onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t kickedId) override;
    void onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<TienLenPlayer> player) override;
    void onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner) override;
    void onSomeOneReadyWithId(int32_t playerId, bool isReady) override;
    void onOwnerSetMoneyWithRoomeId(int8_t roomId, int8_t boardId, int32_t money) override;
    // `cards`: the dealt ids in wire order (only those the body held).
    virtual void onStartGameWithRoomId(int8_t roomId, int8_t boardId, std::vector<uint8_t> cards, int interval,
                                       int32_t whoMoveFirst);
    virtual void onMoveWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMove, std::vector<uint8_t> cards,
                                  int32_t nextMove);
    virtual void onSkipWithRoomId(int8_t roomId, int8_t boardId, int32_t whoSkip, int32_t nextMove,
                                  bool clearCurrentCards);
    virtual void onSomeOneFinishWithRoomId(int8_t roomId, int8_t boardId, int32_t whoFinish, int position,
                                           int32_t money, int32_t exp);
    // `whoShowCard` -1: nothing is shown, the game only ends.
    virtual void onStopGameWithRoomId(int8_t roomId, int8_t boardId, int32_t whoShowCard,
                                      std::vector<uint8_t> cardsShow);
    void onBonusMoneyWithRommId(int8_t roomId, int8_t boardId, int32_t whoBonus, int32_t money,
                                const std::string& des) override;
    virtual void onForceFinishWithRoomId(int8_t roomId, int8_t boardId, CardInfo forceFinishCards);
    void onMoveErrorWithRoomeId(int8_t roomId, int8_t boardId, const std::string& info) override;
    void onBuzzWithContent(const std::string& text) override;

protected:
    // Tests record the calls in a derived handler; Tien Len MB has its own.
    TienLenLogicHandler() = default;

    // ---- the variant's hooks (main thread)
    // The game's table screen, or nullptr.
    virtual std::shared_ptr<TienLenView> table() const;
    // Makes, pushes and seats the game's screen for a join.
    virtual void showScreen(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                            const TienLenPlayerList& players) const;
    // Whether a sit-down or a departure makes the next match a first match again.
    virtual bool seatChangesStartFirstMatch() const { return true; }
    // Runs in the start's twin before the screen starts the match: sends the 53 of an
    // instant win of `sortedCards` (the ascending copy of a full hand of 13).
    virtual void claimInstantWin(TienLenView& view, int8_t roomId, int8_t boardId,
                                 const std::vector<int8_t>& sortedCards, int32_t whoMoveFirst) const;
    // The game over on screen: Tien Len shows the hand, then stops.
    virtual void applyStop(TienLenView& view, int32_t whoShowCard, const std::vector<uint8_t>& cards) const;
    // The instant win on screen for the table it names (positions are set apart).
    virtual void applyForceFinish(TienLenView& view, const CardInfo& info) const;
    // Sends the instant-win claim of this game.
    virtual void sendForceFinish(int8_t roomId, int8_t boardId) const;
    // The start's twin for the table it names: the instant-win claim, then the deal.
    virtual void applyStart(TienLenView& view, int8_t roomId, int8_t boardId, const std::vector<uint8_t>& cards,
                            int interval, int32_t whoMoveFirst) const;

private:
    std::shared_ptr<TienLenView> tableOf(int8_t roomId, int8_t boardId) const;
    void join(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money, TienLenPlayerList players) const;
    void kick(int8_t roomId, int8_t boardId, int32_t kickedId) const;
    void bonus(int8_t roomId, int8_t boardId, int32_t who, int32_t money, const std::string& des) const;
};

} // namespace kavo
