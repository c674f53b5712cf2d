#include "games/maubinh/MauBinhView.h"

#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/maubinh/MauBinhMessageHandler.h"
#include "games/maubinh/MauBinhRules.h"
#include "games/maubinh/MauBinhService.h"
#include "platform/runtime/Log.h"
#include "portal/GlobalService.h"
#include "table/base/PlaySound.h"

namespace kavo {

namespace {

int32_t myId() {
    return UIController::myInfo()->IDDB();
}

std::string zel(int64_t amount) {
    return Util::formatNumber(amount) + " Zel";
}

} // namespace

MauBinhView::MauBinhView() : GameCardView(MauBinhMessageHandler::kGameType, "KAVO_MauBinh") {}

MauBinhView::~MauBinhView() {
    for (auto& step : steps_)
        if (step) step->invalidate();
}

void MauBinhView::viewDidLoad() {
    GameCardView::viewDidLoad();
    layoutMauBinh();
}

// ---------------------------------------------------------------- generations

void MauBinhView::after(double seconds, std::function<void()> step) {
    std::erase_if(steps_, [](const auto& timer) { return !timer->isValid(); });
    const uint64_t born = generation_;
    std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
    steps_.push_back(platform::Timer::scheduled(seconds, false, [weak, born, step = std::move(step)] {
        auto self = std::dynamic_pointer_cast<MauBinhView>(weak.lock());
        if (self && self->generation_ == born) step();
    }));
}

std::function<void(bool)> MauBinhView::guarded(std::function<void()> step) {
    const uint64_t born = generation_;
    std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
    return [weak, born, step = std::move(step)](bool) {
        auto self = std::dynamic_pointer_cast<MauBinhView>(weak.lock());
        if (self && self->generation_ == born) step();
    };
}

void MauBinhView::stopUpdateAction() {
    ++generation_;
    GameTableView::stopUpdateAction();
}

void MauBinhView::onLeftTable() {
    ++generation_;
    GameCardView::onLeftTable();
}

void MauBinhView::progressLeaveBoard() {
    GameCardView::progressLeaveBoard();
    clearView();
    stopUpdateAction();
}

bool MauBinhView::leaveAfterQuestion() {
    GameCardView::leaveAfterQuestion();
    clearView();
    stopUpdateAction();
    return true;
}

// ---------------------------------------------------------------- queue

void MauBinhView::setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                       const std::vector<std::shared_ptr<Player>>& players) {
    GameCardView::setupPlayersWithRoom(roomId, boardId, ownerId, money, players);
    ++generation_;
    actionList_.clear();
    myResult_.clear();
    actionStatus_ = kIdle;
    startUpdateAction(kTick);
    Action join;
    join.code = kJoinBoard;
    join.a = ownerId;
    join.b = money;
    join.players = players;
    enqueue(std::move(join));
}

void MauBinhView::enqueue(Action action) {
    actionList_.push_back(std::move(action));
}

void MauBinhView::updateAction() {
    switch (actionStatus_) {
    case kIdle:
        if (actionList_.empty()) return;
        nowAction_ = actionList_.front().code;
        actionStatus_ = kRun;
        return;
    case kRun:
        if (actionList_.empty()) {
            actionStatus_ = kIdle;
            return;
        }
        runAction(actionList_.front());
        return;
    case kBusy:
        return;
    default:
        if (!actionList_.empty()) actionList_.pop_front();
        actionStatus_ = kIdle;
        return;
    }
}

void MauBinhView::runAction(const Action& action) {
    switch (action.code) {
    case kJoinBoard:
        handleJoinBoard(action);
        break;
    case kReadyAction:
        setReadyState(action.b != 0, action.a);
        actionStatus_ = kDone;
        break;
    case kStartGame:
        handleStartGame(action);
        break;
    case kPlaying:
        handlePlaying(action);
        break;
    case kSortAction:
        handleSort(action);
        break;
    case kResultAction:
        handleResult(action);
        break;
    case kFinishAction:
        handleFinish(action);
        break;
    default:
        platform::log("Undeclair action " + std::to_string(action.code));
        actionStatus_ = kDone;
        break;
    }
}

void MauBinhView::onReadyWithId(int32_t userId, bool isReady) {
    Action action;
    action.code = kReadyAction;
    action.a = userId;
    action.b = isReady ? 1 : 0;
    enqueue(std::move(action));
}

void MauBinhView::onStartWithTime(int time, const std::vector<int8_t>& cardList, int mbType) {
    for (const auto& place : cardPlaces_)
        place->setHidden(false);
    setInterval(time);
    setDieTime(time);
    Action action;
    action.code = kStartGame;
    action.cards = cardList;
    action.a = mbType;
    enqueue(std::move(action));
}

void MauBinhView::onJoinBoardPlayingWithLimitTime(int8_t limit, int8_t rest) {
    Action action;
    action.code = kPlaying;
    action.a = limit;
    action.b = rest;
    enqueue(std::move(action));
}

void MauBinhView::onSort(const std::vector<int8_t>& cardList) {
    Action action;
    action.code = kSortAction;
    action.cards = cardList;
    enqueue(std::move(action));
}

void MauBinhView::onResultWithUserID(int32_t userId, int32_t winMoney, int32_t winChi, int mbType,
                                     const std::vector<ResultPlayer>& resultList) {
    Action action;
    action.code = kResultAction;
    action.a = userId;
    action.b = winMoney;
    action.c = winChi;
    action.d = mbType;
    action.rows = resultList;
    enqueue(std::move(action));
}

void MauBinhView::onFinishWithUserID(int32_t userId) {
    Action action;
    action.code = kFinishAction;
    action.a = userId;
    enqueue(std::move(action));
}

// ---------------------------------------------------------------- handlers

std::shared_ptr<TienLenPlayer> MauBinhView::tienLenPlayer(size_t index) const {
    return index < players().size() ? std::dynamic_pointer_cast<TienLenPlayer>(players()[index]) : nullptr;
}

std::shared_ptr<TienLenPlayer> MauBinhView::playerWithIdTL(int32_t userId) const {
    for (size_t i = 0; i < players().size(); ++i)
        if (auto player = tienLenPlayer(i); player && player->IDDB() == userId) return player;
    return nullptr;
}

void MauBinhView::handleJoinBoard(const Action& action) {
    PlaySound::playSoundWithSource(Resources::getInstance().com_player_join_board());
    mySeat_ = 0;
    betMoney_ = float(action.b);
    btnCuoc()->setTitle(zel(money()));
    setOwnerWithNewOwner(action.a);
    setIsMeNotExistPlayingBoard(true);
    setCurrentPlayer(-1);
    clearView();
    auto me = UIController::myInfo();
    for (size_t i = 0; i < players().size(); ++i) {
        auto player = tienLenPlayer(i);
        if (!player) continue;
        if (player->IDDB() == ownerId()) player->setIsReady(1);
        if (player->IDDB() == me->IDDB()) me->setMoney(player->money());
    }
    resetSeat();
    for (int chi = 1; chi <= 3; ++chi)
        cufChi(chi)->setHidden(true);
    cufLung_->setHidden(true);
    cufLung_->setText(text("KAVO_maubinh_lung"));
    setTimerWithSeat(-1);
    actionStatus_ = kDone;
}

void MauBinhView::handleStartGame(const Action& action) {
    setIsMeNotExistPlayingBoard(false);
    isFinish_ = false;
    const int mbType = action.a;
    for (size_t i = 0; i < players().size(); ++i)
        if (auto player = tienLenPlayer(i)) player->setIsReady(0);
    resetSeat();
    resetMyCardWithCardList(action.cards);
    resetAllCard();
    // A special hand is not arranged: the cards close once they are mine.
    if (mbType >= 1) {
        finishCard();
    } else {
        isAllowBinh_ = true;
    }
    actionStatus_ = kDone;
    binhMode_ = 0;
    btnStart()->setHidden(true);
    seat(0).btnSeat->setHidden(true);
    for (const auto& button : {btnFire(), btnSkip(), btnAutoSelected()})
        button->setHidden(false);
    vBoardView_->setHidden(false);
    setIsStartGame(true);
    setIsGameEnd(false);
    setIsPlaying(true);
    setTimerWithSeat(0);
    schedulePlayerTime();
}

void MauBinhView::handlePlaying(const Action& action) {
    setIsMeNotExistPlayingBoard(true);
    setIsGameEnd(false);
    btnStart()->setHidden(true);
    vBoardView_->setHidden(false);
    setInterval(action.a);
    setDieTime(action.b);
    resetAllCard();
    setTimerWithSeat(0);
    for (size_t i = 0; i < players().size(); ++i) {
        auto player = tienLenPlayer(i);
        if (!player || player->IDDB() == -1) continue;
        player->setIsReady(0);
        const int s = getSeatFromID(player->IDDB());
        if (s >= 0) setSeatInfoWithSeat(s, player);
    }
    for (const auto& place : cardPlaces_)
        place->setHidden(true);
    actionStatus_ = kDone;
}

void MauBinhView::handleSort(const Action& action) {
    resetMyCardWithCardList(action.cards);
    showSortScreen();
    actionStatus_ = kDone;
}

void MauBinhView::handleFinish(const Action& action) {
    if (!isFinish_ && action.a == myId() && playerWithIdTL(myId())) finishCard();
    actionStatus_ = kDone;
}

void MauBinhView::handleResult(const Action& action) {
    if (!isFinish_) finishCard();
    countAch_ = 0;
    isXapHam_ = false;
    if (auto me = playerWithIdTL(myId())) {
        me->setWinMoney(action.b);
        me->setWinChi(action.c);
        me->setMbType(action.d);
        for (const auto& row : action.rows) {
            if (auto player = playerWithIdTL(row.userId)) {
                player->setWinChi(row.winChi);
                player->setWinMoney(row.winMoney);
                player->setMbType(row.mbType);
            }
            if (row.winChi1 < 0 && row.winChi2 < 0 && row.winChi3 < 0) isXapHam_ = true;
            countAch_ += row.winChiAce;
            setCardList(row.cardList, row.userId);
            myResult_.push_back({row.userId, row.winMoney, row.winChi, row.mbType, row.winChiMB, row.winChi1,
                                 row.winChi2, row.winChi3, row.multiKo, row.winChiAce});
        }
    }
    xapHamDaAch();
    animationResult();
    actionStatus_ = kBusy;
    for (const auto& button : {btnFire(), btnSkip(), btnAutoSelected()})
        button->setHidden(true);
}

// ---------------------------------------------------------------- seats

void MauBinhView::resetSeat() {
    const size_t count = std::min(players().size(), size_t(kSeats));
    for (size_t i = 0; i < count; ++i) {
        unsetSeatInfoWithSeat(int(i));
        if (players()[i]->IDDB() == myId()) seats()[0] = int(i);
    }
    if (auto me = playerAtSeat(0); me && me->IDDB() != -1) setSeatInfoWithSeat(0, me);
    for (int s = 1; s < kSeats; ++s) {
        const int next = count == 0 ? s : (seats()[size_t(s - 1)] + 1) % int(count);
        seats()[size_t(s)] = next;
        auto player = playerAtSeat(s);
        if (player && player->IDDB() != -1) setSeatInfoWithSeat(s, player);
    }
    setInvatingOnChair();
    for (int s = 0; s < kSeats; ++s)
        seat(s).btnPresent->setImage(Util::getImageWithName("tl_present.png"));
    for (size_t i = 0; i < count; ++i)
        if (players()[i]->IDDB() != -1) addGiftOnBoardWithPlayer(players()[i]);
}

void MauBinhView::setAtSeat(int seatIndex, const std::shared_ptr<TienLenPlayer>& player) {
    if (!player || seatIndex < 0 || size_t(seatIndex) >= players().size()) {
        platform::log("MauBinhView: no place " + std::to_string(seatIndex) + " to sit at");
        return;
    }
    player->setIsFriend(Resources::getInstance().playerIsFriend(player->IDDB()) ? 1 : 0);
    if (auto old = tienLenPlayer(size_t(seatIndex))) removeCardsOf(*old);
    player->resetCard();
    mutablePlayers()[size_t(seatIndex)] = player;
    resetSeat();
}

void MauBinhView::playerLeaveWithId(int32_t userId) {
    PlaySound::playSoundWithSource(Resources::getInstance().com_player_leave_board());
    auto player = playerWithIdTL(userId);
    if (!player) return;
    removeCardsOf(*player);
    player->setIDDB(-1);
    player->setName("");
    player->setExp(0);
    player->setIsReady(0);
    player->setIsFriend(0);
}

void MauBinhView::onLeaveBoard(int32_t leaveId, int32_t newOwner) {
    if (auto player = playerWithIdTL(leaveId)) removeCardsOf(*player);
    playerLeaveWithId(leaveId);
    setOwnerWithNewOwner(newOwner);
    resetSeat();
}

void MauBinhView::removeCardsOf(TienLenPlayer& player) {
    if (!player.cards()) return;
    for (const auto& card : *player.cards())
        card->cardView().removeFromSuperview();
    player.cards()->clear();
}

void MauBinhView::setReadyState(bool ready, int32_t userId) {
    auto& resources = Resources::getInstance();
    PlaySound::playSoundWithSource(ready ? resources.com_ready() : resources.com_no_ready());
    auto player = playerWithIdTL(userId);
    if (player) {
        player->setIsReady(ready ? 1 : 0);
        const int s = getSeatFromID(userId);
        if (s >= 0) setSeatInfoWithSeat(s, player);
    }
    if (userId != myId()) return;
    isReady_ = ready;
    setKindOfStart(ready ? kNoReady : kReady);
}

void MauBinhView::setMoneyOnBoard(int32_t stake) {
    btnCuoc()->setTitle(zel(stake));
    // The ready and start checks read the table's stake: it follows the change.
    setMoney(stake);
    for (int s = 0; s < kSeats; ++s) {
        auto player = playerAtSeat(s);
        if (!player || player->IDDB() == -1 || player->IDDB() == ownerId()) continue;
        player->setIsReady(0);
        setSeatInfoWithSeat(s, player);
    }
    setKindOfStart(myId() == ownerId() ? kStart : kReady);
}

void MauBinhView::doStartGame() {
    int ready = 0;
    int notReady = 0;
    for (const auto& player : players()) {
        if (player->IDDB() == -1 || player->IDDB() == myId()) continue;
        (player->isReady() ? ready : notReady)++;
    }
    if (ready >= 1 && notReady == 0) {
        if (UIController::myInfo()->money() >= money())
            GlobalService::getInstance().startGameWithRoomId(roomId(), boardId());
        else
            UIController::showNotice(text("KAVO_koDuTienCuoc"));
        return;
    }
    UIController::showNotice(text("KAVO_cannotStart"));
}

void MauBinhView::onStopGame() {
    isFinishManualBinh_ = true;
    isAllowBinh_ = true;
    setCurrentPlayer(-1);
    setIsPlaying(false);
    if (isMeNotExistPlayingBoard()) {
        setIsGameEnd(true);
        clearView();
    }
    setTimerWithSeat(-1);
    for (size_t i = 0; i < players().size(); ++i) {
        auto player = tienLenPlayer(i);
        if (!player || player->IDDB() == -1 || player->IDDB() == ownerId()) continue;
        player->setIsReady(0);
        const int s = getSeatFromID(player->IDDB());
        if (s >= 0) setSeatInfoWithSeat(s, player);
    }
}

// ---------------------------------------------------------------- buttons

void MauBinhView::clickSkip() {
    if (!isAllowBinh_) return;
    binhMode_ = 1;
    auto& service = MauBinhService::getInstance();
    if (btnSkip()->tag() != 0) {
        btnSkip()->setTag(0);
        service.doSortByType(roomId(), boardId());
        btnSkip()->setTitle(text("KAVO_xepThuTu"));
    } else {
        btnSkip()->setTag(1);
        service.doSortByOrder(roomId(), boardId());
        btnSkip()->setTitle(text("KAVO_xepTheoNuoc"));
    }
    isFinish_ = false;
}

void MauBinhView::clickAutomaticSelectedCards() {
    if (!isAllowBinh_) return;
    binhMode_ = 1;
    MauBinhService::getInstance().doAutoArrange(roomId(), boardId());
    isFinish_ = false;
}

void MauBinhView::clickFire() {
    if (!isAllowBinh_ || !getMyCard()) return;
    if (binhMode_ == 0) {
        if (!checkFinishBinh()) return;
    } else if (binhMode_ != 1) {
        return;
    }
    MauBinhService::getInstance().doFinishTurn(roomId(), boardId(), myCardIds());
}

void MauBinhView::setLimitTime(int choice) {
    MauBinhService::getInstance().doSetLimitTime(choice, roomId(), boardId());
}

// ---------------------------------------------------------------- cards

TienLenPlayer::Hand* MauBinhView::getMyCard() const {
    auto me = playerWithIdTL(myId());
    return me && me->cards() ? me->cards().get() : nullptr;
}

std::vector<int> MauBinhView::myCardIds() const {
    std::vector<int> ids;
    if (auto* hand = getMyCard())
        for (const auto& card : *hand)
            ids.push_back(card->cardID());
    return ids;
}

std::string MauBinhView::getBinhTypeOfChi(int chi) const {
    const int type = MauBinhRules::getHandTypeOfCards(MauBinhRules::handOfChi(myCardIds(), chi));
    return MauBinhRules::typeName(type, Resources::getInstance().currentLanguage() == "vi");
}

bool MauBinhView::checkBinhLung() const {
    return MauBinhRules::checkBinhLung(myCardIds());
}

void MauBinhView::resetChiResult() {
    for (int chi = 1; chi <= 3; ++chi) {
        cufChi(chi)->setText(getBinhTypeOfChi(chi));
        cufChi(chi)->setHidden(false);
        view()->bringSubviewToFront(cufChi(chi).get());
    }
    const bool foul = checkBinhLung();
    cufLung_->setHidden(!foul);
    view()->bringSubviewToFront(cufLung_.get());
    drawColorMyCard(foul);
}

void MauBinhView::resetMyCardWithCardList(const std::vector<int8_t>& ids) {
    auto me = playerWithIdTL(myId());
    if (!me) return;
    if (me->cards()) removeCardsOf(*me);
    auto hand = std::make_shared<TienLenPlayer::Hand>();
    for (int8_t id : ids)
        hand->push_back(CardViewPhom::withCardID(id, false, me->IDDB()));
    me->setCards(hand);
    // New cards sit in no place.
    for (const auto& place : cardPlaces_)
        place->setTag(0);
}

void MauBinhView::resetAllCard() {
    for (size_t i = 0; i < players().size(); ++i) {
        auto player = tienLenPlayer(i);
        if (!player) continue;
        if (player->IDDB() == -1) {
            removeCardsOf(*player);
            continue;
        }
        if (player->IDDB() == myId()) {
            if (!isMeNotExistPlayingBoard()) showCardOfPlayer(player);
            continue;
        }
        removeCardsOf(*player);
        auto hand = std::make_shared<TienLenPlayer::Hand>();
        for (int c = 0; c < kCards; ++c)
            hand->push_back(CardViewPhom::withCardID(-1, false, player->IDDB()));
        player->setCards(hand);
        showCardOfPlayer(player);
    }
}

void MauBinhView::setCardList(const std::vector<int8_t>& ids, int32_t playerId) {
    auto player = playerWithIdTL(playerId);
    if (!player) return;
    if (!player->cards()) player->resetCard();
    auto& hand = *player->cards();
    for (size_t i = 0; i < ids.size(); ++i) {
        auto card = CardViewPhom::withCardID(ids[i], false, playerId);
        card->setTransform(platform::ui::AffineTransform::scale(0.6, 0.6));
        platform::ui::Point centre{};
        if (i < hand.size()) {
            centre = hand[i]->cardView().center();
            hand[i]->cardView().removeFromSuperview();
            hand[i] = card;
        } else {
            hand.push_back(card);
        }
        card->setCenter(centre);
        vBoardView_->addSubview(card);
    }
}

bool MauBinhView::checkFinishBinh() const {
    for (const auto& place : cardPlaces_)
        if (place->tag() == 0) return false;
    return true;
}

bool MauBinhView::checkFinish2Chi() const {
    int full = 0;
    for (auto [from, to] : {std::pair{0, 3}, std::pair{3, 8}, std::pair{8, 13}}) {
        bool all = true;
        for (int i = from; i < to && size_t(i) < cardPlaces_.size(); ++i)
            all = all && cardPlaces_[size_t(i)]->tag() == kPlaceTaken;
        full += all ? 1 : 0;
    }
    return full >= 2;
}

void MauBinhView::finishCard() {
    vBackGroundView_->setBackgroundColor(platform::ui::Color::clear());
    // The arrangement is closed: its empty slots leave the table with the arranging screen,
    // or they would lie over the seats' names through the result.
    vBackGroundView_->removeFromSuperview();
    for (int chi = 1; chi <= 3; ++chi) {
        cufChi(chi)->setHidden(true);
        cufChi(chi)->setText("");
    }
    cufLung_->setHidden(true);
    if (auto* hand = getMyCard()) {
        for (size_t i = 0; i < hand->size() && i < cardPlaces_.size(); ++i)
            if (auto card = myCardAt(i)) animationZoomOutCard(card, cardPlaces_[i]);
    }
    isAllowBinh_ = false;
    isFinish_ = true;
}

void MauBinhView::clearView() {
    ++clearCount_;
    isFinishManualBinh_ = false;
    setKindOfStart(myId() == ownerId() ? kStart : kReady);
    vBoardView_->setHidden(true);
    vBackGroundView_->setBackgroundColor(platform::ui::Color::clear());
    vResultView_->setBackgroundColor(platform::ui::Color::clear());
    for (const auto& layer : {view(), vBoardView_, vBackGroundView_, vResultView_})
        for (const auto& child : std::vector<platform::ui::ViewPtr>(layer->subviews()))
            if (dynamic_cast<CardViewPhom*>(child.get())) child->removeFromSuperview();
    for (size_t i = 0; i < players().size(); ++i)
        if (auto player = tienLenPlayer(i)) {
            removeCardsOf(*player);
            player->resetCard();
        }
    for (const auto& place : cardPlaces_) {
        place->setTag(0);
        place->setImage(Util::getImageWithName("maubinh_trang.png"));
    }
    myResult_.clear();
    setIsPlaying(false);
}

} // namespace kavo
