#pragma once

#include "games/phom/PhomMelds.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "table/base/GameCardView.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/CardViewPhom.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

struct PhomPlaying;

// The Phom table screen: four seats (0 me at the bottom, 1 right, 2 top, 3 left), my
// hand with its melds, the discard, eaten and laid rows of every seat, the stock, and
// the turn actions (draw, eat, fire, lay melds, lay off). The meld rules themselves
// live in PhomMelds; the screen keeps the card views in the order those rules give.
//
// Every delayed step (the deal, the slide retry, the turn animation) carries the
// table's generation: a reset, a new deal or leaving the table makes it do nothing.
// Main thread only.
class PhomNewView : public GameCardView {
public:
    using CardPtr = std::shared_ptr<CardViewPhom>;
    using CardList = std::vector<CardPtr>;

    // What the action button offers.
    static constexpr int kCmdFire = 3, kCmdHaPhom = 5, kCmdEatAndGet = 6, kCmdGet = 7, kCmdGuiPhom = 9, kCmdNone = 10;
    static constexpr int kBubble = 4; // the table's own chat bubble

    PhomNewView();
    ~PhomNewView() override;

    // ---- life cycle and table
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void resetView() override;
    void setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                              const std::vector<std::shared_ptr<Player>>& players) override;
    void onLeftTable() override;
    bool holdsInvitations() const override { return true; }
    // The board takes 4 players at the most; the player-count sheet sets fewer.
    int8_t mostPlayers() const override { return 4; }
    void requestMaxPlayers(int8_t max) override;
    void setIsFirstMatch(bool value) { isFirstMatch_ = value; }
    bool isFirstMatch() const { return isFirstMatch_; }
    void setModeWithHas(bool has) { setIsStartGame(has); }
    // A player sits down at a place of the server's order (checked against the places).
    virtual void setAtSeat(int index, const std::shared_ptr<TienLenPlayer>& player);
    virtual void playerLeaveWithId(int32_t playerId);
    virtual void resetSeat();
    virtual void setReadyWithPlayerId(int32_t playerId, bool isReady);
    virtual void moveErrorWithInfo(const std::string& info);

    // ---- the turn (events)
    virtual void start(int interval, const std::vector<int8_t>& cards, int32_t firstMove, int32_t firstHa);
    virtual void onFire(int32_t firedBy, int32_t next, int8_t card, int slot);
    virtual void onEatCard(bool isEat, int numEat, int32_t firHa, int nCard);
    virtual void onSkipPlayer(int32_t next, int32_t firHa);
    virtual void onGetCard(int8_t card);

    // ---- laid melds, results and table state: the second half of the deal
    virtual void onHaPhom(bool isHa, const std::array<int8_t, 12>& cards, bool isU,
                          const std::array<int32_t, 4>& orderMoney, int32_t curId);
    virtual void onAddCard(int32_t userAdd, int8_t cardId, const std::vector<int32_t>& cards, int len);
    virtual void onUWithUserID(int32_t userId, int uKind, const std::array<int8_t, 12>& cards, int len);
    virtual void onDenBai(int32_t winId, int32_t orderMoney);
    virtual void onOnceWin(int32_t money);
    virtual void onFinish(int32_t score, const std::vector<int32_t>& cards, int32_t userId, int numRac);
    virtual void onPlaying(int interval, int32_t curPlayer, int32_t firPlayer, const PhomPlaying& playing);
    virtual void setMoneyOnBoard(int32_t money);
    // Rings (once in 1.5 s however many amounts come) and draws the seat again, keeping a
    // deal's result picture at it.
    void showHandAmount(const std::shared_ptr<Player>& player, int64_t amount) override;
    void setMoneyWithMoney(int32_t money);
    void resetReady();
    void kickPlayer(int32_t playerId);
    void finishWithWho(int32_t playerId, int finishPosition, int32_t money, int32_t exp);
    // The end of a deal: continue is offered.
    void stopGame();
    // The person's continue: 2 only hides the marks, any other value clears the table.
    void resetCard(int value);
    void resetCard(bool clear) override { resetCard(clear ? 1 : 2); }
    void resetCard();
    // A result image at a screen seat: 0 U, 1 winner, 2 loser, 3 compensation, 4 fourth.
    void setShowImageEnd(int seat, int type);
    void showPointWithSeat(int seat, const std::string& text);
    bool waitToPlayNextSound() const { return waitToPlayNextSound_; }

    // ---- my actions
    void clickNhan();
    void doNhan();
    void getCard();
    void clickAutomaticSelectedCards() override;
    void doEat();
    void doFire();
    void doHaPhom();
    void doAddCard();
    void doStartGame() override;
    // The finger on my hand: a tap raises or lowers a card, a drag moves it (the melds
    // regroup around it), a drag upward fires it, a touch on the last discard eats it.
    void touchesBegan(const std::vector<platform::ui::Touch>& touches) override;
    void touchesMoved(const std::vector<platform::ui::Touch>& touches) override;
    void touchesEnded(const std::vector<platform::ui::Touch>& touches) override;
    void touchesCancelled(const std::vector<platform::ui::Touch>& touches) override;
    // Regrouping around the drop place (indexOfCard2); the decisions are PhomRegroup's.
    void checkDoiPhom();
    bool checkCardIndex() const;
    void moveCardFromIndex(int from, int to);
    int indexOfCard2() const { return indexOfCard2_; }
    const CardPtr& toMove() const { return toMove_; }

    // ---- action button
    void setKindOfFire(int kind);
    void setCmdFire();
    void setCmdEatAndGet();
    void setcmdHaPhom();
    void setCmdGuiPhom();
    void resetCmd() { setKindOfFire(kCmdNone); }
    void setContinue() { setKindOfStart(kContinue); }
    int cmdState() const { return cmdState_; }

    // ---- meld detection and sorting of my hand
    void intelligentSort();
    void findPhom1();
    void findPhom2();
    void sortChat();
    void sortPhom();
    static int valueCard(const CardViewPhom& card) { return phommelds::valueCard(card.cardID()); }
    static bool canBePhom(const CardViewPhom& a, const CardViewPhom& b, const CardViewPhom& c);
    bool isPhomBaLa(int8_t tag) const;
    bool isPhomAn(int8_t tag) const;
    int countPhomCard(int8_t tag) const;
    int countPhomValue(int8_t tag) const;
    int getValueOfPhom(int8_t tag) const;
    void clearPhomMove(int8_t tag);
    // My hand as the meld rules see it (ref = place in myCards), and back.
    MeldHand meldHand() const;
    void applyMeldHand(const MeldHand& hand);
    PhomTagCounter& tagCounter() { return tags_; }
    // Sends 68 with my hand.
    void sendMeldGrouping();

    // ---- painters
    void chiaBai();
    void animateMyCards(const CardList& list);
    void paintMyCards(const CardList& list);
    void paintFiredCards(const CardList& list, int seat);
    void paintFiredCardsWhenFinished();
    void paintPhomCards(const CardList& list, int seat);
    void paintXXXCards(const CardList& list, int seat);
    void paintChuyenBaiRacCards(const CardList& list, int seat);
    void paintCardsOnHand(const CardList& list, int seat);
    void paintOtherPlayerCards();
    platform::ui::Point getPointCardRacOfPlayer(int seat) const;
    int handRowY() const;

    // ---- helpers of the turn
    void getCardsUp();
    void getCheckCard();
    bool unableToEat() const;
    void resetUpCard();
    static int getAssetArray(const int* array, int len);
    int32_t getPlayerIDFromSeat(int index) const;
    void removeCards(int8_t cardId);
    void reset();

    // ---- state read by the logic handler, the second half of the deal and tests
    CardList& myCards() { return myCards_; }
    const CardList& myCards() const { return myCards_; }
    const CardList& playersCards(int seat) const { return playersCards_[size_t(seat)]; }
    const CardList& playersFiredCards(int seat) const { return playersFiredCards_[size_t(seat)]; }
    const CardList& playersPhomCards(int seat) const { return playersPhomCards_[size_t(seat)]; }
    std::array<std::array<int, 4>, 4>& cardShow() { return cardShow_; }
    std::array<std::array<int, 3>, 4>& showCardEat() { return showCardEat_; }
    std::array<std::array<int, 12>, 4>& showHaPhom() { return showHaPhom_; }
    std::array<std::array<int, 11>, 4>& cardRac() { return cardRac_; }
    std::array<int, 4>& numCardPhom() { return numCardPhom_; }
    const std::shared_ptr<platform::ui::Button>& btnBaiTy() const { return btnBaiTy_; }
    const std::shared_ptr<platform::ui::ImageView>& imgNextMe() const { return imgNextMe_; }
    const std::shared_ptr<platform::ui::View>& cardLayer() const { return cardLayer_; }
    int32_t firstPlayer() const { return firstPlayer_; }
    int32_t firstHa() const { return firstHa_; }
    int cardCurrent() const { return cardCurrent_; }
    bool isEatCard() const { return isEatCard_; }
    void setIsEatCard(bool value) { isEatCard_ = value; }
    bool isDoFire() const { return isDoFire_; }
    bool isGetCard() const { return isGetCard_; }
    bool waitingChiaBai() const { return waitingChiaBai_; }
    bool isHaPhom() const { return isHaPhom_; }
    void setIsHaPhom(bool value) { isHaPhom_ = value; }
    bool isU() const { return isU_; }
    void setIsU(bool value) { isU_ = value; }
    bool finish() const { return finish_; }
    void setFinish(bool value) { finish_ = value; }
    bool notPlay() const { return notPlay_; }
    void setNotPlay(bool value) { notPlay_ = value; }
    int denBai() const { return denBai_; }
    void setDenBai(int value) { denBai_ = value; }
    int winer() const { return winer_; }
    void setWiner(int value) { winer_ = value; }
    int focusedCardIndex() const { return focusedCardIndex_; }
    platform::ui::Point baiPost() const { return baiPost_; }
    void setBaiPost(platform::ui::Point point) { baiPost_ = point; }
    int8_t eatCardID() const { return eatCardID_; }
    std::array<int, 4>& scorePlayer() { return scorePlayer_; }
    const CardList& cardP() const { return cardP_; }
    uint64_t generation() const { return generation_; }
    int space() const { return space_; }
    int offsetLeft() const { return offsetLeft_; }
    int availableScreenWidth() const { return availableScreenWidth_; }
    // The seat of a player, -1 when not seated.
    int seatOf(int32_t playerId) const { return getSeatFromID(playerId); }
    std::shared_ptr<TienLenPlayer> tienLenPlayer(size_t index) const;
    // Runs `step` after `seconds` unless the table was reset or left meanwhile.
    std::shared_ptr<platform::Timer> later(double seconds, std::function<void(PhomNewView&)> step);

private:
    void setUpLayout();
    // The seats' bubbles stand at their places in a deal, or at the end's, by the shown hands.
    void placeBubbles(bool atTheEnd);
    // A new generation: every pending delayed step of the old table does nothing.
    void newGeneration();
    void cancelDeal();
    void postToMain(std::function<void(PhomNewView&)> step);
    // Inserts a card into the card layer at base + place, after the last card when the
    // layer holds fewer views.
    void insertCard(const CardPtr& card, int base, int place);
    void removeViews(const CardList& list);
    void bringOverlaysToFront();
    void glow(CardViewPhom& card, bool on);
    void animateTo(const CardPtr& card, platform::ui::Point point, double seconds = 0.2);
    // Where a card of a seat comes from (the fire event's edges).
    platform::ui::Point startPointOfSeat(int seat, int8_t cardId) const;
    CardList firedRowViews(int seat) const;
    void animationWhenNextIsMe();
    bool isMe(int32_t playerId) const;
    int myShownCount() const;
    void lowerAndRepaint();
    void refuse(const char* key);
    // A card view of each id at a seat, starting at that seat's edge.
    CardList laidViews(const std::vector<int>& ids, int seat, int32_t owner) const;
    void repaintLaid(int seat);
    void endTouch(const std::vector<platform::ui::Touch>& touches);

    // Views.
    std::shared_ptr<platform::ui::View> cardLayer_;
    std::shared_ptr<platform::ui::Button> btnBaiTy_;
    std::shared_ptr<platform::ui::ImageView> imgNextMe_;

    // Layout.
    int offsetLeft_ = 120, offsetRight_ = 120, availableScreenWidth_ = 240, lastX_ = 120, idx_ = 0;
    int limitYAtSeat0_ = 190, limitXAtSeat1_ = 350, limitYAtSeat2_ = 35, limitXAtSeat3_ = 60, space_ = 10;

    // Hand and rows.
    CardList myCards_;
    std::array<CardList, 4> playersCards_, playersFiredCards_, playersPhomCards_;
    CardList cardEat_;
    std::array<std::array<int, 4>, 4> cardShow_{};
    std::array<std::array<int, 12>, 4> showHaPhom_{};
    std::array<std::array<int, 3>, 4> showCardEat_{};
    std::array<std::array<int, 11>, 4> cardRac_{};
    std::array<int, 4> numCardEat_{}, numCardPhom_{}, numC_{}, scorePlayer_{}, xxx_{};
    std::array<int8_t, 4> numberCard_{};
    std::vector<int> upCard_;
    std::array<int8_t, 5> cardToEat_{};
    PhomTagCounter tags_;

    // Turn.
    int cmdState_ = kCmdNone;
    int32_t firstPlayer_ = -1, firstHa_ = -1;
    int cardCurrent_ = -1;
    int8_t eatCardID_ = -1;
    int8_t cardInFlight_ = -1; // fired by me, not yet echoed
    int selectCard_ = 0, numPhom_ = 0, focusedCardIndex_ = 0, pos_ = -2, winer_ = -1, denBai_ = -1;
    bool isEatCard_ = false, isDoFire_ = false, isEatTouch_ = false, isGetCard_ = false, isHaPhom_ = false;
    bool isU_ = false, finish_ = false, notPlay_ = false, fire_ = false, isFirstMatch_ = false, isZoom_ = false;
    bool isCardMove_ = false, waitToPlayNextSound_ = false;
    CardPtr toMove_;
    int32_t endingPlayer_ = -1;
    CardList cardP_;
    platform::ui::Point firstTouch_, currentTouch_;
    std::shared_ptr<platform::Timer> soundTimer_, readyTimer_;
    int indexOfCard_ = -1, indexOfCard2_ = -1;
    platform::ui::Point baiPost_;

    // The deal.
    bool isGameBegin_ = true, waitingChiaBai_ = false;
    int posXCard_ = 0, indexCard_ = 0;
    uint64_t generation_ = 1;
    std::shared_ptr<platform::Timer> dealTimer_, slideTimer_, nextMeTimer_;
};

} // namespace kavo
