#pragma once

#include "app/widgets/ColoredProgressView.h"
#include "app/widgets/SubSeatView.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "table/base/GameTableView.h"
#include "table/base/MoneyFlights.h"
#include "table/base/SeatBubbles.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class MauBinhResultView;

// The base screen of the six four-seat card tables (Tien Len, Tien Len MB, Phom, Bai
// Cao, Xi Zach, Mau Binh). They share one layout ("TienLenView"): four screen seats
// (0 me at the bottom, 1 right, 2 top, 3 left) mapped to the table's places by
// `seats`, the owner and ready marks, the start button, seat locks, leaving, the turn
// clock, chat bubbles, money texts, the per-seat menu, gifts and the shared sheets.
// The games override the hooks (virtual functions with the base behaviour) and fill
// `players` from their join message. Every seat lookup is bounds-checked: a place
// outside `players` behaves as an empty place. Main thread only, except roomId and
// boardId (see GameTableView).
class GameCardView : public GameTableView {
public:
    static constexpr int kSeats = 4;
    // The start button's kinds.
    static constexpr int kStart = 0, kReady = 1, kNoReady = 2, kContinue = 5;

    GameCardView(int8_t gameType, std::string titleKey);
    ~GameCardView() override;

    // ---- lifecycle and layout
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void resetView() override;
    void setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                              const std::vector<std::shared_ptr<Player>>& players) override;

    // ---- seats
    int getSeatFromID(int32_t playerId) const;
    // -1 for an empty or missing place.
    int32_t getIDAtSeat(int seat) const;
    // The record at a screen seat, or nullptr (seat outside 0-3 or place outside players).
    std::shared_ptr<Player> playerAtSeat(int seat) const;
    std::shared_ptr<Player> myRecord() const;
    virtual void setSeatInfoWithSeat(int seat, const std::shared_ptr<Player>& player);
    virtual void unsetSeatInfoWithSeat(int seat);
    // Draws the four seats from players and seats.
    void showSeats();
    void setInvatingOnChair();
    void unSetInvatingOnChair();
    void setHiddenButtonSeat(bool hidden);
    virtual void showOKImageWithMode(int mode);
    std::array<int, kSeats>& seats() { return seats_; }

    // ---- owner, ready, start
    void setOwnerWithNewOwner(int32_t ownerId);
    void setKindOfStart(int kind);
    void clickStartGame();
    void clickUnReady();
    virtual void doReady();
    virtual void doStartGame() {}
    virtual void resetCard(bool) {}
    virtual void clickAutomaticSelectedCards() {}
    virtual void setImagePositionWithPosition(int, int) {}
    virtual void changeBackgroundOfStart() {}
    bool disableReady() const { return disableReady_; }
    void setDisableReady(bool disable) { disableReady_ = disable; }
    bool isStartGame() const { return isStartGame_; }
    void setIsStartGame(bool started) { isStartGame_ = started; }
    int indexOfMe() const { return indexOfMe_; }
    void setIndexOfMe(int index) { indexOfMe_ = index; }
    bool isMeNotExistPlayingBoard() const { return isMeNotExistPlayingBoard_; }
    void setIsMeNotExistPlayingBoard(bool value) { isMeNotExistPlayingBoard_ = value; }

    // ---- seat locks, money, leaving
    void clickLockSeat(platform::ui::Button& lock);
    void setBtnCuocAtPos(platform::ui::Point point);
    // The money title of the player's seat.
    void showMoneyAtSeat(const Player& player) override;
    void doLeaveBoard() override;
    void progressLeaveBoard() override;
    // Stops the turn clock for good: a left table never counts or skips again.
    void onLeftTable() override;

    // ---- turn clock
    void setTimerWithSeat(int seat);
    void repeatTimer(float step);
    void showPlayerTime();
    // Stops the bar, the count and the countdowns (leaving, a new turn).
    void stopTurnClock();
    int32_t currentPlayer() const { return currentPlayer_; }
    void setCurrentPlayer(int32_t id) { currentPlayer_ = id; }
    int32_t interval() const { return interval_; }
    void setInterval(int32_t seconds) { interval_ = seconds; }
    int64_t dieTime() const { return dieTime_; }
    void setDieTime(int64_t seconds) { dieTime_ = seconds; }
    float limitProgress() const { return limitProgress_; }
    // Schedules the next 1-second step of the count (the games call it when a turn starts).
    void schedulePlayerTime();
    // The count ran out at my turn: a game that skips for the player sends it here.
    virtual void onMyTurnTimedOut() {}

    // ---- chat bubbles, buzz, names, money texts
    void showChatWithSeat(int slot, const std::string& text);
    void showChatAtSeat(int slot);
    void hideChat(int slot);
    // Takes a line that still waits for the slot's bubble out of the queue, so that it never
    // shows (a notice whose moment passed). A line already shown is not touched.
    void withdrawWaitingLine(int slot, const std::string& text);
    bool onChatFromWithId(int32_t userId, const std::string& name, const std::string& text);
    void onChatFromMeWithText(const std::string& text) override;
    void onBuzzWithContent(const std::string& text);
    virtual std::string getPlayerNameFromID(int32_t playerId) const;
    void showFlyTextWirhFromId(int32_t playerId, int32_t money);
    // The lines waiting for each bubble, joined by ", " (slot 4: the table's own line).
    std::vector<std::string> chatPlayers() const { return bubbles_.allWaiting(); }

    // ---- seat menu, gifts, sheets
    void clickShowActionPlayer(platform::ui::Button& seatButton);
    void animationForActionPlayerMenu(platform::ui::Button& seatButton);
    void hideForActionPlayerMenu();
    bool offersPlayerCount() const override { return true; }
    void clickShowPlayerInfo();
    void clickPresentForPlayer(int seat);
    void clickAddFriend(platform::ui::Button& button);
    void clickKick(platform::ui::Button& button);
    void clickBuzz();
    void onShowGift(int32_t itemId, int32_t fromUser, int32_t toUser) override;
    void addGiftOnBoardWithPlayer(const std::shared_ptr<Player>& player);
    // Names the player seated at the pressed gift button.
    virtual void clickGiftDetail(int seat);
    void upIconPresent();
    void downIconPresent();
    void clickChatBoardOfMe();
    void clickMailBox();
    void showCuoc() override;
    void showSetupCuoc() { showCuoc(); }
    virtual void clickViewPlayerInfo(platform::ui::Button& button);
    void onRequestDetail(const platform::Value& details) override;
    // A card of my hand was lifted or dropped: the Tien Len tables check the
    // selection (their fire button); the others do nothing.
    virtual void checkValidSelectedCards() {}

    // ---- widgets (named as their accessibility identifiers, less the seat number)
    struct Seat {
        std::shared_ptr<platform::ui::ImageView> ava, ok, isFriend, point, position;
        std::shared_ptr<platform::ui::Button> btnName, btnMoney, btnSeat, btnPresent;
        std::shared_ptr<SubSeatView> cpiSeat;
        // The menu's buttons of this seat (seat 0 has only info and present).
        std::shared_ptr<platform::ui::Button> btnPlayerInfo, btnPlayerPresent, btnPlayerFriend, btnPlayerKick,
            btnPlayerBuzz;
    };
    const Seat& seat(int s) const { return seatViews_[size_t(s)]; }
    const std::shared_ptr<platform::ui::ImageView>& chat(int slot) const { return chats_[size_t(slot)]; }
    const std::shared_ptr<platform::ui::View>& viewActions() const { return viewActions_; }
    const std::shared_ptr<platform::ui::Button>& btnStart() const { return btnStart_; }
    const std::shared_ptr<platform::ui::Button>& btnFire() const { return btnFire_; }
    const std::shared_ptr<platform::ui::Button>& btnSkip() const { return btnSkip_; }
    const std::shared_ptr<platform::ui::Button>& btnAutoSelected() const { return btnAutoSelected_; }
    const std::shared_ptr<platform::ui::Button>& btnCuoc() const { return btnCuoc_; }
    const std::shared_ptr<platform::ui::Button>& btnLock1() const { return btnLock1_; }
    const std::shared_ptr<platform::ui::Button>& btnLock3() const { return btnLock3_; }
    const std::shared_ptr<ColoredProgressView>& progressTimer() const { return progressTimer_; }
    // The mark beside my seat while my turn's bar runs (the other seats show their countdown).
    const std::shared_ptr<platform::ui::ImageView>& imgMyTurn() const { return imgMyTurn_; }
    const std::shared_ptr<platform::ui::View>& viewPlayerMenu() const { return viewPlayerMenu_; }
    const std::shared_ptr<platform::ui::ImageView>& imgBoard() const { return imgBoard_; }
    const std::shared_ptr<platform::ui::ImageView>& imgIconGame() const { return imgIconGame_; }
    // The money text flying now (one at a time) and those that wait to take off.
    const std::vector<std::shared_ptr<platform::ui::Label>>& flyTexts() const { return moneyFlights_.flying(); }
    size_t waitingFlyTexts() const { return moneyFlights_.waiting(); }
    const std::vector<platform::ui::ViewPtr>& listViewOfPlayer() const { return listViewOfPlayer_; }

    // The Mau Binh result sheet, made with the screen.
    const std::shared_ptr<MauBinhResultView>& mauBinhResultView() const { return mauBinhResultView_; }

private:
    void buildLayout();
    void buildSeat(int s);
    void buildMenu();
    void placeTurnBar();
    void placeMySeatAboveTheHand();
    void placeBadgeOnTheMailbox();
    void placeTopSeatNameBeside();
    void placeSeatsBesideTheirCards();
    void placeTopSeatNameLeft();
    void setUpBubbles();
    std::shared_ptr<platform::Timer> oneShot(double seconds, std::function<void(GameCardView&)> action);
    void lockSeat(int seat, bool locked);
    platform::ui::Point seatPoint(int seat, bool gift) const;

    std::array<int, kSeats> seats_{0, 1, 2, 3};
    std::array<Seat, kSeats> seatViews_;
    std::array<std::shared_ptr<platform::ui::ImageView>, 5> chats_;
    SeatBubbles bubbles_;
    // How far left of the window's right edge the right seat's bubble ends.
    double rightBubbleMargin_ = 55;
    std::shared_ptr<platform::ui::ImageView> imgBoard_, imgMoney_, imgIconGame_;
    std::shared_ptr<platform::ui::View> viewActions_, viewPlayerMenu_;
    std::shared_ptr<platform::ui::Button> btnStart_, btnFire_, btnSkip_, btnAutoSelected_, btnCuoc_, btnLock1_,
        btnLock3_, btnChat_, btnMail_;
    std::shared_ptr<ColoredProgressView> progressTimer_;
    std::shared_ptr<platform::ui::ImageView> imgMyTurn_;
    std::vector<platform::ui::ViewPtr> mauBinhAreas_;
    std::shared_ptr<platform::Timer> limitTimer_, playerTimeTimer_;
    MoneyFlights moneyFlights_;
    std::vector<platform::ui::ViewPtr> listViewOfPlayer_;
    std::shared_ptr<MauBinhResultView> mauBinhResultView_;
    float limitProgress_ = 0;
    int64_t dieTime_ = 0;
    int32_t currentPlayer_ = -1;
    int32_t interval_ = 0;
    bool disableReady_ = false;
    bool isStartGame_ = false;
    bool isMeNotExistPlayingBoard_ = true;
    int indexOfMe_ = 0;
    // Set by doReady when the ready request went out (clickStartGame reads it).
    bool readySent_ = false;
    // Set when the table was left: no clock of it may act any more.
    bool hasLeft_ = false;
};

} // namespace kavo
