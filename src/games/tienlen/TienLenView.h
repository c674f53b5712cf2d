#pragma once

#include "table/base/GameCardView.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

class CardView;
class SelectableHand;
class TienLenPlayer;

// What the Tien Len tables differ in; Tien Len MB passes its own values.
struct TienLenTableRules {
    int handTopTabletGap = 50;       // the hand's gap above the bottom on a tablet (phone: 5)
    double dealFlight = 0.09;        // one dealt card's flight
    double dealStep = 0.03;          // the stagger between the seats of a pass
    bool rotateTopWhileDealt = true; // seat 2's cards turn while they fly
    bool clearEmptyChairHands = false;
    bool startEndsFirstMatch = false; // the three-of-spades duty holds in the first match only
    double reorderBelow = 260;        // a drag lower than this reorders the hand (phone points)
    bool bubblesOverCards = true;
    int resetInterval = 20;
    bool resetClearsCurrentPlayer = true;
    bool twentyOnlyForZero = false; // a turn time of 0 (else below 1) counts as 20 s
    bool readySetsMyInfo = false;
};

// The Tien Len table screen (game type 3) on the card-table base: the deal, my hand
// and its touches (tap, swipe, reorder drag, drag up to fire), Fire, Skip, auto select,
// the start, and every table event with its flights, sounds and texts. The logic
// handler calls it on the main thread. The rule engine gets ascending copies of the
// selection and of the table cards; what is sent keeps the hand's order.
class TienLenView : public GameCardView {
public:
    TienLenView();

    // ---- set-up (GameController, logic handler)
    void viewDidLoad() override;
    void resetView() override;
    void setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                              const std::vector<std::shared_ptr<Player>>& players) override;
    // Puts a sitting player at a place of players (an index outside is logged and dropped).
    void setAtSeat(int index, const std::shared_ptr<TienLenPlayer>& player);
    void resetSeat();
    void setModeWithHas(bool has) { setIsStartGame(has); }
    void startWithWhoMoveFirst(int32_t whoMoveFirst, int interval, const std::vector<uint8_t>& myCards);
    void onLeftTable() override;

    // ---- my actions
    // Checks the selection; Fire follows it (on only at my turn with a combination).
    void checkValidSelectedCards() override;
    bool isValidSelection();
    bool isAvailableFiredCards();
    bool fireMyCards();
    void clickFire();
    void clickSkip();
    void clickAutomaticSelectedCards() override;
    void doStartGame() override;
    void resetCard(bool clearCards) override;
    std::string getPlayerNameFromID(int32_t playerId) const override;
    // My time ran out: the turn is skipped for me.
    void onMyTurnTimedOut() override;
    // The skip question answered: the three-of-spades rule ends and the turn is skipped
    // as a timed-out turn is.
    void skipTurn() override;
    bool holdsInvitations() const override { return true; }
    // The board takes four players at the most; the player-count sheet sets fewer.
    int8_t mostPlayers() const override { return 4; }
    void requestMaxPlayers(int8_t max) override;

    // ---- touches on my hand
    void touchesBegan(const std::vector<platform::ui::Touch>& touches) override;
    void touchesMoved(const std::vector<platform::ui::Touch>& touches) override;
    void touchesEnded(const std::vector<platform::ui::Touch>& touches) override;
    void touchesCancelled(const std::vector<platform::ui::Touch>& touches) override;

    // ---- table events
    void moveWithPlayerId(int32_t playerId, const std::vector<uint8_t>& movedCards, int32_t nextMove);
    void skipWithWho(int32_t who, int32_t nextMove, bool isClearCurrentCards);
    void moveErrorWithInfo(const std::string& info);
    void finishWithWho(int32_t who, int position, int32_t money, int32_t exp);
    void showCardsWithWho(int32_t who, std::vector<uint8_t> cards);
    void stopGame();
    // Rings (once in 1.5 s however many amounts come) and draws the seat again.
    void showHandAmount(const std::shared_ptr<Player>& player, int64_t amount) override;
    void setReadyWithPlayerId(int32_t playerId, bool isReady);
    void setMoneyOnBoard(int32_t money);
    void playerLeaveWithId(int32_t playerId);

    // ---- state
    bool isFirstMatch() const { return isFirstMatch_; }
    void setIsFirstMatch(bool first) { isFirstMatch_ = first; }
    bool forceMove3Bich() const { return forceMove3Bich_; }
    void setForceMove3Bich(bool force) { forceMove3Bich_ = force; }
    const std::vector<uint8_t>& currentCardsValue() const { return currentCardsValue_; }
    int8_t currentCardsType() const { return currentCardsType_; }
    const std::vector<std::shared_ptr<CardView>>& currentCards() const { return currentCards_; }
    const std::vector<std::shared_ptr<CardView>>& cardShows() const { return cardShows_; }
    const std::vector<uint8_t>& selectedCards() const { return selectedCards_; }
    int8_t selectedCardsType() const { return selectedCardsType_; }
    int focusedCardIndex() const { return focusedCardIndex_; }
    int indexCard() const { return indexCard_; }
    platform::ui::Point endPoint() const { return endPoint_; }
    // My record's hand (empty when I hold none).
    std::vector<std::shared_ptr<CardView>> myHand() const;
    std::shared_ptr<TienLenPlayer> myPlayer() const;
    // The y of the top edge of my hand.
    double handTop() const;
    const TienLenTableRules& rules() const { return rules_; }

protected:
    TienLenView(int8_t gameType, std::string titleKey, TienLenTableRules rules);

    // ---- the variant's rule engine and request (Tien Len MB has its own)
    virtual int combinationType(const std::vector<int8_t>& ascending) const;
    virtual bool beats(const std::vector<int8_t>& mine, int mineType, const std::vector<int8_t>& table,
                       int tableType) const;
    // `table` is empty on a clear table.
    virtual void autoSelectOn(SelectableHand& hand, const std::vector<int8_t>& table) const;
    virtual void sendMove(const std::vector<uint8_t>& cards) const;

private:
    bool isMe(int32_t id) const;
    bool myTurn() const;
    int firstSeatOf(int32_t playerId) const;
    std::shared_ptr<TienLenPlayer> recordAt(size_t index) const;
    void refreshSeat(const std::shared_ptr<Player>& player);
    void showMySeat();
    void paintMyCards(bool isChiaBai, bool isSapBai);
    void paintOtherPlayerCards();
    void chiaBaiWithCards(uint64_t chain);
    void animateMyCards();
    void cancelDeal();
    void bringOverlaysToFront();
    void setCurrentCards(const std::vector<uint8_t>& ids, int seat);
    platform::ui::Point flightStart(int seat, bool shown) const;
    void animateCards(const std::vector<std::shared_ptr<CardView>>& cards, int seat, bool shown);
    // The turn clock of currentPlayer; a time below 1 (MB: of 0) counts as 20 s.
    void startTurnClock(bool fromEvent);
    void setTurnButtons(bool mine);
    void removeHandViews(const std::shared_ptr<Player>& player);
    platform::ui::Point otherSeatPlace(int seat, int k) const;
    double otherSeatRotation(int seat) const;
    std::vector<uint8_t> selectionIds() const;
    int handIndexAt(platform::ui::Point point, bool fromLast, const CardView* except, double taller) const;

    TienLenTableRules rules_;
    bool isDownTouch_ = false;
    bool isUpTouch_ = false;
    std::shared_ptr<CardView> movedCard_;
    int indexFromMove_ = -1;
    int indexToMove_ = -1;
    platform::ui::Point beginPoint_;
    platform::ui::Point endPoint_;
    bool isSelect_ = false;
    bool isSelecting_ = false;
    bool isFirstMatch_ = false;
    int focusedCardIndex_ = 0;
    std::vector<uint8_t> currentCardsValue_;
    int8_t currentCardsType_ = -1;
    std::vector<std::shared_ptr<CardView>> currentCards_;
    std::vector<std::shared_ptr<CardView>> cardShows_;
    std::vector<uint8_t> selectedCards_;
    int8_t selectedCardsType_ = -1;
    bool forceMove3Bich_ = false;
    int offsetLeft_ = 40;
    int offsetRight_ = 30;
    int availableScreenWidth_ = 410;
    double posXCard_ = 0;
    int indexCard_ = 0;
    bool waitToPlayNextSound_ = false;
    // One deal chain per screen: a new chain number cancels the pending pass.
    uint64_t dealChain_ = 0;
    std::shared_ptr<platform::Timer> dealTimer_;
    std::shared_ptr<platform::Timer> soundTimer_;
};

} // namespace kavo
