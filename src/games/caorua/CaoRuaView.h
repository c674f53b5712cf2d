#pragma once

#include "app/widgets/ColoredProgressView.h"
#include "games/caorua/CaoRuaRecords.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "social/PlayerDetailView.h"
#include "table/base/GameTableView.h"
#include "table/base/MoneyFlights.h"
#include "table/base/SeatBubbles.h"
#include "table/cards/PeekTable.h"
#include "table/deal/DealStepper.h"
#include "table/deal/PeekController.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class BCCardView;
class TienLenPlayer;
class menuAuto;
class menuSetup;

// The Cao Rua table screen (game type 17): six seats around one table, me always at
// screen seat 0 at the bottom, three cards per player. It derives from the table base,
// not from the four-seat card table, and keeps its own seats, marks, start button,
// chat bubbles, money texts, seat menu and turn bar.
//
// `seats` maps a screen seat to a place of the player list; every lookup through it is
// bounded by the list, so a place outside the list behaves as an empty one. Every
// delayed step (menu fades, gift flight, money text, bubbles, countdown, turn bar,
// the start button's wait) carries the table's generation: once the table is reset
// or left it does nothing. Main thread only, except roomID and boardID.
class CaoRuaView : public GameTableView, public PeekTable {
public:
    static constexpr int kSeats = kCaoRuaPlaces;
    // Bubbles 0-5 belong to the screen seats; 6 is the centre of the table.
    static constexpr int kBubbles = 7;
    static constexpr int kCentreBubble = 6;
    // The start button's kinds.
    static constexpr int kStart = 0, kReady = 1, kNoReady = 2, kContinue = 5;

    CaoRuaView();
    ~CaoRuaView() override;

    // ---- the names the sheets and the logic handlers read
    int8_t roomID() const { return roomId(); }
    void setRoomID(int8_t roomId) { setRoomId(roomId); }
    int8_t boardID() const { return boardId(); }
    void setBoardID(int8_t boardId) { setBoardId(boardId); }
    int32_t ownerID() const { return ownerId(); }
    void set_roomID(int8_t roomId) { setRoomId(roomId); }
    void set_boardID(int8_t boardId) { setBoardId(boardId); }
    void set_money(int32_t money) { GameTableView::setMoney(money); }
    void set_ownerID(int32_t ownerId) { setOwnerId(ownerId); }
    bool disableReady() const { return disableReady_; }
    void set_disableReady(bool disable) { disableReady_ = disable; }
    bool isStartGame() const { return isStartGame_; }
    int32_t interval() const { return interval_; }
    int64_t dieTime() const { return dieTime_; }
    void setDieTime(int64_t seconds) { dieTime_ = seconds; }
    int32_t currentPlayer() const { return currentPlayer_; }
    void setCurrentPlayer(int32_t id) { currentPlayer_ = id; }
    float limitProgress() const { return limitProgress_; }
    bool limitTimerRunning() const { return limitTimer_ != nullptr; }
    // The texts waiting for each bubble, joined by ", ".
    std::vector<std::string> chatPlayers() const { return bubbles_.allWaiting(); }
    const std::array<int, kSeats>& seats() const { return seats_; }
    // Made with the view and never shown.
    const std::shared_ptr<PlayerDetailView>& playerDetailView() const { return playerDetailView_; }
    const std::shared_ptr<menuSetup>& setupView() const { return setupView_; }
    const std::shared_ptr<menuAuto>& autoView() const { return autoView_; }

    // ---- lifecycle
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void resetView() override;
    // The join sound, the table's values and the owner; resetSeat follows.
    void setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                              const std::vector<std::shared_ptr<Player>>& players) override;
    void onLeftTable() override;

    // ---- seats
    void resetSeat();
    void setSeatInfoWithSeat(int seat, const std::shared_ptr<Player>& player);
    void unsetSeatInfoWithSeat(int seat);
    void setInvatingOnChair();
    int getSeatFromID(int32_t playerId) const;
    // -1 for an empty seat or one outside the list.
    int32_t getIDAtSeat(int seat) const;
    // The record at a screen seat, or nullptr (seat outside 0-5, place outside the list).
    std::shared_ptr<TienLenPlayer> playerAtSeat(int seat) const;
    std::shared_ptr<TienLenPlayer> playerAtPlace(int place) const;
    std::shared_ptr<TienLenPlayer> myRecord() const;
    // Someone sat down at a place 0-5; any other place is dropped.
    void setAtSeat(int place, const std::shared_ptr<TienLenPlayer>& player);
    void playerLeaveWithId(int32_t playerId);
    void setHiddenButtonSeat(bool) {}
    void showMoneyAtSeat(const Player& player) override;

    // ---- owner, ready, start, leave
    void setOwnerWithNewOwner(int32_t ownerId);
    void setReadyWithPlayerId(int32_t playerId, bool ready);
    void resetReady();
    void setKindOfStart(int kind);
    void clickStartGame();
    void clickUnReady();
    // True when the ready request went out.
    bool doReady();
    void doStartGame();
    void doLeaveBoard() override;
    void setModeWithHas(bool started) { isStartGame_ = started; }
    void showOKImageWithMode(int mode);
    void setHiddenOwnerImages();

    // ---- stakes and money
    // The owner's new table stake (hides the base's plain setter: every caller of
    // this class means the table event; set_money is the plain one).
    void setMoney(int32_t money);
    void setMoneyOnBoard(int32_t money, int32_t who);
    // Draws the seat again.
    void showHandAmount(const std::shared_ptr<Player>& player, int64_t amount) override;

    // ---- a hand
    void startWithBetMoney(int32_t money, const std::vector<std::shared_ptr<BCCardView>>& myCards, int32_t seconds);
    void stopGame();
    void resetCard(int mode);
    void setDealerCards(int levelRoom);
    void setTimerWithSeat(int seat);
    void repeatTimer(float step);
    void showPlayerTime();

    // ---- cards: each hand is kept on its player's record. The deal hands one card
    // per step, 0.15 s apart, card 2 of every hand first (one chain per table: a new
    // hand, a reset or leaving drops the pending step); a report turns the reported
    // cards face up where they lie.
    void chiaBaiWithCards();
    // Where card L of a hand at a screen seat comes to rest; w and h are its size.
    DealPlace dealPlace(int seat, int index, double w, double h) const;
    platform::ui::Point deckPoint() const;
    void moveWithPlayerId(int32_t playerId, const std::vector<uint8_t>& cards);
    void setCurrentCardsWithCardIDs(const std::vector<uint8_t>& cards, int seat);
    void showCardsWithPlayers(const CaoRuaCardRecords& records);
    void playingWithMoney(int32_t money, const CaoRuaCardRecords& records);

    // ---- peeking and turning my cards
    void clickNanBai();
    void beginNanbai(const std::shared_ptr<BCCardView>& card);
    void showLoadingNanBai() override;
    void hideLoadingNanBai();
    void doFireWithCardId(int8_t cardId) override;
    void showAllCards() override;
    void backPointbaiNan(const std::shared_ptr<BCCardView>& card) override;
    void setHiddenBtnNan() override;
    int indexBaiNan() const { return indexBaiNan_; }
    bool daChiaBaiXong() const { return daChiaBaiXong_; }
    DealStepper& dealer() { return dealer_; }
    PeekController& peek() { return peek_; }

    // ---- chat bubbles, buzz, names, money texts
    void showChatWithSeat(int bubble, const std::string& text);
    void showChatAtSeat(int bubble);
    void hideChat(int bubble);
    bool onChatFromWithId(int32_t playerId, const std::string& name, const std::string& text);
    void onChatFromMeWithText(const std::string& text) override;
    void onBuzzWithContent(const std::string& text);
    std::string getPlayerNameFromID(int32_t playerId) const;
    void showFlyTextWirhFromId(int32_t playerId, int32_t money);
    // The money texts flying now.
    const std::vector<std::shared_ptr<platform::ui::Label>>& flyTexts() const { return moneyFlights_.flying(); }
    size_t waitingFlyTexts() const { return moneyFlights_.waiting(); }

    // ---- seat menu, gifts, sheets
    void clickShowActionPlayer(platform::ui::Button& seatButton);
    void animationForActionPlayerMenu(platform::ui::Button& seatButton);
    void hideActionPlayerMenu();
    void clickShowPlayerInfo();
    void clickPresentForPlayer(platform::ui::Button& sender);
    void clickAddFriend(platform::ui::Button& sender);
    void clickKick(platform::ui::Button& sender);
    void clickBuzz();
    void onShowGift(int32_t itemId, int32_t fromUser, int32_t toUser) override;
    void addGiftOnBoardWithPlayer(const std::shared_ptr<Player>& player);
    void clickGiftDetail(platform::ui::Button& sender);
    void clickConfig();
    void onRequestDetail(const platform::Value& details) override;
    void showCuoc() override;
    void showSetupCuoc() { showCuoc(); }
    void showSetupSoNguoi() override;
    void showSetupPassword() override;
    // The board takes six players at the most; the player-count sheet sets fewer.
    int8_t mostPlayers() const override { return 6; }
    void requestMaxPlayers(int8_t max) override;
    void clickChatBoardOfMe();
    // The mailbox button: a fresh messages screen is pushed.
    void clickMailBox();
    void clickViewPlayerInfo(platform::ui::Button& sender);
    const std::vector<platform::ui::ViewPtr>& listViewOfPlayer() const { return listViewOfPlayer_; }

    // ---- widgets (named as their accessibility identifiers, less the seat number)
    struct Seat {
        std::shared_ptr<platform::ui::ImageView> avatar, ok;
        std::shared_ptr<platform::ui::Button> btnSeat, btnUsername, btnMoney, btnPresent;
        // The menu's five buttons (none at my seat).
        std::shared_ptr<platform::ui::Button> btnInfo, btnPresentGift, btnAdd, btnKick, btnBuzz;
    };
    const Seat& seat(int s) const { return seatViews_.at(size_t(s)); }
    const std::shared_ptr<platform::ui::ImageView>& chat(int bubble) const { return chats_.at(size_t(bubble)); }
    const std::shared_ptr<platform::ui::Button>& btnStart() const { return btnStart_; }
    const std::shared_ptr<platform::ui::Button>& btnNanBai() const { return btnNanBai_; }
    const std::shared_ptr<platform::ui::Button>& btnDatCuoc() const { return btnDatCuoc_; }
    const std::shared_ptr<platform::ui::ImageView>& imgBoard() const { return imgBoard_; }
    const std::shared_ptr<platform::ui::ImageView>& imgViewDealerCards() const { return imgViewDealerCards_; }
    const std::shared_ptr<ColoredProgressView>& progressTimer() const { return progressTimer_; }
    // The mark beside my seat while my hand's bar runs.
    const std::shared_ptr<platform::ui::ImageView>& imgMyTurn() const { return imgMyTurn_; }
    const std::shared_ptr<platform::ui::View>& viewPlayerMenu() const { return viewPlayerMenu_; }
    const std::shared_ptr<BCCardView>& imgBaiTiNanBai() const { return peek_.cover(); }
    const std::shared_ptr<platform::ui::View>& viewNanBai() const { return peek_.overlay(); }

private:
    void buildLayout();
    void buildSeat(int s);
    void buildMenu();
    void buildBubbles();
    void setUpBubbles();
    // A one-shot step of this table: it runs only while the table keeps the
    // generation it had when the step was scheduled.
    std::shared_ptr<platform::Timer> later(double seconds, std::function<void(CaoRuaView&)> step);
    std::function<void(bool)> completion(std::function<void(CaoRuaView&)> step);
    void stopTimers();
    bool isMe(int32_t playerId) const;
    void rebuildSeats();
    void removeCards(bool onlyThreeCardViews);
    // Card `index` of the hand at a screen seat, or nullptr (no hand, no such card).
    std::shared_ptr<BCCardView> cardAt(int seat, int index) const;
    void dealCard(int seat, int pass);
    void bringOverlaysToFront();
    void sendTurn(const std::vector<uint8_t>& cards);
    // My cards in hand order (those of screen seat 0).
    std::vector<std::shared_ptr<BCCardView>> myHand() const;

    std::array<int, kSeats> seats_{0, 1, 2, 3, 4, 5};
    std::array<Seat, kSeats> seatViews_;
    std::array<std::shared_ptr<platform::ui::ImageView>, kBubbles> chats_;
    SeatBubbles bubbles_;
    std::shared_ptr<platform::ui::ImageView> imgBoard_, imgViewDealerCards_;
    std::shared_ptr<platform::ui::View> viewPlayerMenu_;
    std::shared_ptr<platform::ui::Button> btnStart_, btnNanBai_, btnDatCuoc_, btnChat_, btnMail_, btnConfig_;
    std::shared_ptr<ColoredProgressView> progressTimer_;
    std::shared_ptr<platform::ui::ImageView> imgMyTurn_;
    PeekController peek_;
    DealStepper dealer_;
    std::shared_ptr<platform::Timer> limitTimer_, playerTimeTimer_, readyTimer_;
    std::vector<std::shared_ptr<platform::Timer>> flyTimers_;
    MoneyFlights moneyFlights_;
    std::vector<platform::ui::ViewPtr> listViewOfPlayer_;
    // For each lifted view, the view that lay just below it.
    std::vector<std::weak_ptr<platform::ui::View>> liftedBelow_;
    std::shared_ptr<menuSetup> setupView_;
    std::shared_ptr<menuAuto> autoView_;
    std::shared_ptr<PlayerDetailView> playerDetailView_;
    uint64_t generation_ = 0;
    float limitProgress_ = 0;
    int64_t dieTime_ = 0;
    int32_t currentPlayer_ = -1;
    int32_t interval_ = 0;
    int screenHeight_ = 288;
    int indexBaiNan_ = 0;
    bool daChiaBaiXong_ = false;
    bool disableReady_ = false;
    bool isStartGame_ = false;
};

} // namespace kavo
