#pragma once

#include "games/maubinh/MauBinhRecords.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "table/base/GameCardView.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/CardViewPhom.h"

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

// The Mau Binh table screen. The server's events that drive animations (join, ready,
// start, joining a running hand, sort, finish, result) go through an action queue
// that runs one at a time on the table's update timer (0.05 s); seats, stake, stop
// and chat act at once. The player arranges the thirteen cards by touch: in placing
// mode into the thirteen places of the three hands, in swapping mode on the
// arranging screen. The result is shown as a timed sequence (special hands, the
// three hands, the sheet).
//
// Every delayed step and animation completion belongs to a generation of the table,
// bumped when the players are seated anew, when the queue stops and when the player
// leaves; a step of an older generation does nothing, so a late step never frees a
// newer queue. Main thread only.
class MauBinhView : public GameCardView {
public:
    // Action codes of the queue.
    enum ActionCode : int {
        kJoinBoard = 0,
        kReadyAction = 3,
        kStartGame = 5,
        kPlaying = 6,
        kSortAction = 10,
        kResultAction = 11,
        kFinishAction = 12,
    };
    // Queue states: idle, run the head, busy (the result show), done.
    enum Status : int { kIdle = 0, kRun = 1, kBusy = 2, kDone = 3 };
    static constexpr int kCards = 13;
    static constexpr int kPlaceTaken = 2;
    static constexpr double kTick = 0.05;
    static constexpr double kStep = 5.0;

    MauBinhView();
    ~MauBinhView() override;

    void viewDidLoad() override;
    void setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                              const std::vector<std::shared_ptr<Player>>& players) override;
    void updateAction() override;
    void onLeftTable() override;
    // Leaves as every card table does, then clears the hands and the result and stops
    // the queue.
    void progressLeaveBoard() override;
    // The leave question's OK: the leave request, then the hands and the result clear
    // and the queue stops.
    bool leaveAfterQuestion() override;
    // Stops the queue (and the table's current generation of steps).
    void stopUpdateAction();

    // ---- queued events
    void onReadyWithId(int32_t userId, bool isReady);
    void onStartWithTime(int time, const std::vector<int8_t>& cardList, int mbType);
    void onJoinBoardPlayingWithLimitTime(int8_t limit, int8_t rest);
    void onSort(const std::vector<int8_t>& cardList);
    void onResultWithUserID(int32_t userId, int32_t winMoney, int32_t winChi, int mbType,
                            const std::vector<ResultPlayer>& resultList);
    void onFinishWithUserID(int32_t userId);

    // ---- direct events
    void setAtSeat(int seat, const std::shared_ptr<TienLenPlayer>& player);
    void onLeaveBoard(int32_t leaveId, int32_t newOwner);
    void playerLeaveWithId(int32_t userId);
    void setMoneyOnBoard(int32_t money);
    void onStopGame();
    void resetSeat();

    // ---- buttons
    void doStartGame() override;
    void clickSkip();
    void clickAutomaticSelectedCards() override;
    void clickFire();
    // The in-table menu's time picker: sends the choice (0 slow, 1 average, 2 fast).
    void setLimitTime(int choice) override;

    // ---- table state helpers
    // My thirteen cards in arrangement order, nullptr when I hold none or sit out.
    TienLenPlayer::Hand* getMyCard() const;
    std::vector<int> myCardIds() const;
    void resetChiResult();
    std::string getBinhTypeOfChi(int chi) const;
    bool checkBinhLung() const;
    void finishCard();
    void clearView();
    bool checkFinishBinh() const;
    bool checkFinish2Chi() const;
    void showSortScreen();
    void setCardList(const std::vector<int8_t>& ids, int32_t playerId);
    void addFlyText(const std::string& text, platform::ui::Point at, int size);
    void showMauBinhScreen(const TienLenPlayer::Hand& cards);
    void showMauBinhWithParams(const std::string& name, int type);

    // ---- arranging (touch)
    void touchesBegan(const std::vector<platform::ui::Touch>& touches) override;
    void touchesMoved(const std::vector<platform::ui::Touch>& touches) override;
    void touchesEnded(const std::vector<platform::ui::Touch>& touches) override;
    void touchesCancelled(const std::vector<platform::ui::Touch>& touches) override;
    void drawMyCard();
    void drawColorMyCard(bool foul);
    int getRegionWillDrop(platform::ui::Point point) const;
    bool checkValidCardsOnRegion(int chi, size_t count) const;
    int getReplacingCard(platform::ui::Point point) const;

    // ---- the result show
    void showCardOfPlayer(const std::shared_ptr<TienLenPlayer>& player);

    // ---- what tests and the driver read
    int actionStatus() const { return actionStatus_; }
    int nowAction() const { return nowAction_; }
    size_t queuedActions() const { return actionList_.size(); }
    int binhMode() const { return binhMode_; }
    bool isAllowBinh() const { return isAllowBinh_; }
    bool isFinish() const { return isFinish_; }
    bool isFinishManualBinh() const { return isFinishManualBinh_; }
    uint64_t generation() const { return generation_; }
    int clearCount() const { return clearCount_; }
    int countAch() const { return countAch_; }
    bool isXapHam() const { return isXapHam_; }
    const std::vector<MauBinhResult>& myResult() const { return myResult_; }
    const std::vector<std::shared_ptr<platform::ui::ImageView>>& cardPlaces() const { return cardPlaces_; }
    const std::vector<std::shared_ptr<platform::ui::ImageView>>& bigSlots() const { return bigSlots_; }
    const platform::ui::ViewPtr& vBoardView() const { return vBoardView_; }
    const platform::ui::ViewPtr& vResultView() const { return vResultView_; }
    const platform::ui::ViewPtr& vBackGroundView() const { return vBackGroundView_; }
    const std::shared_ptr<platform::ui::Label>& cufChi(int chi) const { return cufChi_[size_t(chi - 1)]; }
    const std::shared_ptr<platform::ui::Label>& cufLung() const { return cufLung_; }
    // The rising texts shown so far in this hand's show, oldest first.
    const std::vector<std::shared_ptr<platform::ui::Label>>& risingTexts() const { return risingTexts_; }

private:
    struct Action {
        int code = 0;
        int32_t a = 0, b = 0, c = 0, d = 0;
        std::vector<int8_t> cards;
        std::vector<ResultPlayer> rows;
        std::vector<std::shared_ptr<Player>> players;
    };

    // Layout (MauBinhViewLayout.cpp).
    void layoutMauBinh();
    // Queue (MauBinhView.cpp).
    void enqueue(Action action);
    void runAction(const Action& action);
    void handleJoinBoard(const Action& action);
    void handleStartGame(const Action& action);
    void handlePlaying(const Action& action);
    void handleSort(const Action& action);
    void handleResult(const Action& action);
    void handleFinish(const Action& action);
    void setReadyState(bool ready, int32_t userId);
    void resetMyCardWithCardList(const std::vector<int8_t>& ids);
    void resetAllCard();
    void removeCardsOf(TienLenPlayer& player);
    std::shared_ptr<TienLenPlayer> tienLenPlayer(size_t index) const;
    std::shared_ptr<TienLenPlayer> playerWithIdTL(int32_t userId) const;
    // Delayed steps and completions of the current generation.
    void after(double seconds, std::function<void()> step);
    std::function<void(bool)> guarded(std::function<void()> step);
    // Arranging (MauBinhViewArrange.cpp).
    void animationZoomOutCard(const std::shared_ptr<CardViewPhom>& card, const platform::ui::ViewPtr& target);
    void addValidCardsOnRegion(int chi, const std::vector<std::shared_ptr<CardViewPhom>>& cards);
    std::shared_ptr<CardViewPhom> myCardAt(size_t index) const;
    int indexOfMyCard(const CardViewPhom* card) const;
    void swapMyCards(size_t a, size_t b);
    std::shared_ptr<CardViewPhom> getMyCardWithPoint(platform::ui::Point point) const;
    int getCardPlaceWithPoint(platform::ui::Point point) const;
    void dropPlacedCard(platform::ui::Point point);
    void completeIfTwoHandsFull();
    void touchEndedPlacing(platform::ui::Point point);
    int numOfUncheckCards() const;
    // The result show (MauBinhViewResult.cpp).
    void xapHamDaAch();
    void animationResult();
    void scheduleSpecialHand(const TienLenPlayer::Hand& cards, const std::string& name, int type);
    void removeMauBinhScreen();
    void animationShowChi(int chi);
    void animationTextChi(int chi);
    void animationHightLightChi(int chi, platform::ui::Color color, int32_t playerId);
    void unHightLightChi(int chi);
    void animationFinalResult();
    void finishResult();
    platform::ui::Point seatTextPoint(int seat) const;

    // Queue.
    std::deque<Action> actionList_;
    int nowAction_ = -1;
    int actionStatus_ = kIdle;
    uint64_t generation_ = 0;
    std::vector<std::shared_ptr<platform::Timer>> steps_;
    // Layers, places and slots (outlets of the shared layout).
    platform::ui::ViewPtr vBoardView_, vResultView_, vBackGroundView_;
    std::vector<std::shared_ptr<platform::ui::ImageView>> cardPlaces_, bigSlots_;
    std::array<std::shared_ptr<platform::ui::Label>, 3> cufChi_;
    std::shared_ptr<platform::ui::Label> cufLung_;
    platform::ui::Rect regionMyCard_, regionChi1_, regionChi2_, regionChi3_;
    // Table state.
    int binhMode_ = 0;
    bool isReady_ = false;
    bool isFinish_ = false;
    bool isAllowBinh_ = false;
    bool isFinishManualBinh_ = false;
    bool isXapHam_ = false;
    int countAch_ = 0;
    int countMauBinh_ = 0;
    int mySeat_ = 0;
    float betMoney_ = 0;
    int clearCount_ = 0;
    std::vector<MauBinhResult> myResult_;
    std::vector<std::shared_ptr<platform::ui::Label>> risingTexts_;
    // Touch state.
    bool isDownTouch_ = false, isUpTouch_ = false;
    std::shared_ptr<CardViewPhom> movedCard_;
    int indexFromMove_ = -1, indexToMove_ = -1;
    platform::ui::Point beginPoint_, beginDrap_;
    bool isSelect_ = false, isSelecting_ = false, isMoving_ = false;
    std::shared_ptr<CardViewPhom> replacingCard_;
};

} // namespace kavo
