// The Cao Rua table's seats, owner, readiness, stakes and the flow of a hand.
#include "games/caorua/CaoRuaView.h"

#include "account/ProfileSubView.h"
#include "account/SettingsView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/caorua/CaoRuaMessageHandler.h"
#include "games/caorua/CaoRuaService.h"
#include "platform/runtime/Log.h"
#include "platform/ui/Font.h"
#include "platform/ui/NavigationController.h"
#include "portal/GlobalService.h"
#include "table/base/LeavingTable.h"
#include "table/base/PlaySound.h"
#include "table/base/TableWidgets.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/BCCardView.h"
#include "table/cards/CardView.h"
#include "table/deal/TurnRequest.h"
#include "table/deal/TurnedCard.h"
#include "table/registry/GameController.h"
#include "table/registry/TableRules.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/menuSetup.h"

#include <algorithm>
#include <cmath>

namespace kavo {

namespace {

// The start button's titles by kind; other kinds keep the title.
constexpr std::pair<int, const char*> kStartTitles[] = {
    {CaoRuaView::kStart, "KAVO_start"},
    {CaoRuaView::kReady, "KAVO_ready"},
    {CaoRuaView::kNoReady, "KAVO_noReady"},
    {CaoRuaView::kContinue, "KAVO_continuee"},
};

// The dealer's pile by room level: 0, 1, any other.
constexpr const char* kDealerPictures[] = {"img_CaoRua_DealerCardBlue.png", "img_CaoRua_DealerCardYellow.png",
                                           "img_CaoRua_DealerCardRed.png"};

bool isEmpty(const std::shared_ptr<Player>& player) {
    return !player || player->IDDB() == -1;
}

bool holdsCards(const std::shared_ptr<TienLenPlayer>& player) {
    return player && player->cards() && !player->cards()->empty();
}

} // namespace

CaoRuaView::CaoRuaView()
    : GameTableView(CaoRuaMessageHandler::kGameType, "CaoRuaView", "KAVO_CaoRua"),
      setupView_(std::make_shared<menuSetup>()), autoView_(std::make_shared<menuAuto>()) {}

CaoRuaView::~CaoRuaView() {
    stopTimers();
}

bool CaoRuaView::isMe(int32_t playerId) const {
    auto me = UIController::myInfo();
    return me && me->IDDB() == playerId;
}

std::shared_ptr<platform::Timer> CaoRuaView::later(double seconds, std::function<void(CaoRuaView&)> step) {
    std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
    const uint64_t generation = generation_;
    return platform::Timer::scheduled(seconds, false, [weak, generation, step] {
        auto self = std::dynamic_pointer_cast<CaoRuaView>(weak.lock());
        if (self && self->generation_ == generation) step(*self);
    });
}

std::function<void(bool)> CaoRuaView::completion(std::function<void(CaoRuaView&)> step) {
    std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
    const uint64_t generation = generation_;
    return [weak, generation, step](bool) {
        auto self = std::dynamic_pointer_cast<CaoRuaView>(weak.lock());
        if (self && self->generation_ == generation) step(*self);
    };
}

void CaoRuaView::stopTimers() {
    for (auto* timer : {&limitTimer_, &playerTimeTimer_, &readyTimer_}) {
        if (*timer) (*timer)->invalidate();
        timer->reset();
    }
    bubbles_.stopTimers();
    for (const auto& timer : flyTimers_)
        timer->invalidate();
    flyTimers_.clear();
}

// ---------------------------------------------------------------- lifecycle

void CaoRuaView::resetView() {
    view();
    ++generation_;
    stopTimers();
    dealer_.cancel();
    peek_.dismiss();
    for (int s = 0; s < kSeats; ++s)
        seats_[size_t(s)] = s;
    isStartGame_ = false;
    setIsGameEnd(true);
    daChiaBaiXong_ = false;
    indexBaiNan_ = 0;
    for (int s = 0; s < kSeats; ++s)
        unsetSeatInfoWithSeat(s);
    bubbles_.clear();
    for (const auto& seat : seatViews_)
        seat.btnPresent->setImage(Util::getImageWithName(Player::kDefaultGiftImage));
    progressTimer_->setHidden(true);
    imgMyTurn_->setHidden(true);
    btnNanBai_->setHidden(true);
    btnDatCuoc_->setTitle(Util::formatNumber(money()) + " " + text("KAVO_zel"));
    moneyFlights_.clear();
    hideActionPlayerMenu();
    removeCards(false);
}

void CaoRuaView::onLeftTable() {
    // Whatever is still pending for this table stops here.
    ++generation_;
    stopTimers();
    dealer_.cancel();
    peek_.dismiss();
}

void CaoRuaView::setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                      const std::vector<std::shared_ptr<Player>>& players) {
    PlaySound::playSoundWithSource(Resources::getInstance().com_player_join_board());
    GameTableView::setupPlayersWithRoom(roomId, boardId, ownerId, money, players);
    setOwnerWithNewOwner(ownerId);
}

// Every card view of the table; with `onlyThreeCardViews` NO the plain card views too.
void CaoRuaView::removeCards(bool onlyThreeCardViews) {
    const auto subviews = view()->subviews();
    for (const auto& subview : subviews) {
        const bool threeCard = std::dynamic_pointer_cast<BCCardView>(subview) != nullptr;
        const bool plain = std::dynamic_pointer_cast<CardView>(subview) != nullptr ||
                           std::dynamic_pointer_cast<CardViewPhom>(subview) != nullptr;
        if (subview == peek_.cover()) continue;
        if (threeCard || (!onlyThreeCardViews && plain)) subview->removeFromSuperview();
    }
}

// ---------------------------------------------------------------- seats

std::shared_ptr<TienLenPlayer> CaoRuaView::playerAtPlace(int place) const {
    const auto& list = players();
    if (place < 0 || size_t(place) >= list.size()) return nullptr;
    return std::dynamic_pointer_cast<TienLenPlayer>(list[size_t(place)]);
}

std::shared_ptr<TienLenPlayer> CaoRuaView::playerAtSeat(int seat) const {
    if (seat < 0 || seat >= kSeats) return nullptr;
    return playerAtPlace(seats_[size_t(seat)]);
}

std::shared_ptr<TienLenPlayer> CaoRuaView::myRecord() const {
    auto me = UIController::myInfo();
    if (!me) return nullptr;
    for (size_t i = 0; i < players().size(); ++i)
        if (players()[i]->IDDB() == me->IDDB()) return playerAtPlace(int(i));
    return nullptr;
}

int CaoRuaView::getSeatFromID(int32_t playerId) const {
    if (playerId == -1) return -1;
    for (int s = 0; s < kSeats; ++s) {
        auto player = playerAtSeat(s);
        if (player && player->IDDB() == playerId) return s;
    }
    return -1;
}

int32_t CaoRuaView::getIDAtSeat(int seat) const {
    auto player = playerAtSeat(seat);
    return player ? player->IDDB() : -1;
}

std::string CaoRuaView::getPlayerNameFromID(int32_t playerId) const {
    for (const auto& player : players())
        if (player->IDDB() == playerId) return player->name();
    return "";
}

// Entries 1-5 follow entry 0 in table order, wrapping at the end of the list. With
// fewer than six places the seats past the list stay empty (-1), never a repeat.
void CaoRuaView::rebuildSeats() {
    const int n = int(players().size());
    for (int k = 1; k < kSeats; ++k) {
        if (k >= n) {
            seats_[size_t(k)] = -1;
            continue;
        }
        const int next = seats_[size_t(k - 1)] + 1;
        seats_[size_t(k)] = next >= n ? 0 : next;
    }
}

void CaoRuaView::resetSeat() {
    view();
    const int n = int(players().size());
    for (int i = 0; i < n && i < kSeats; ++i)
        unsetSeatInfoWithSeat(i);
    for (int i = 0; i < n; ++i) {
        if (!isMe(players()[size_t(i)]->IDDB())) continue;
        seats_[0] = i;
        setSeatInfoWithSeat(0, players()[size_t(i)]);
    }
    rebuildSeats();
    for (int k = 1; k < kSeats; ++k) {
        auto player = playerAtSeat(k);
        if (!isEmpty(player)) setSeatInfoWithSeat(k, player);
    }
    btnDatCuoc_->setEnabled(isMe(ownerId()));
    setInvatingOnChair();
    for (const auto& seat : seatViews_)
        seat.btnPresent->setImage(Util::getImageWithName(Player::kDefaultGiftImage));
    for (int i = 0; i < n && i < kSeats; ++i)
        if (!isEmpty(players()[size_t(i)])) addGiftOnBoardWithPlayer(players()[size_t(i)]);
}

void CaoRuaView::setSeatInfoWithSeat(int s, const std::shared_ptr<Player>& player) {
    if (s < 0 || s >= kSeats || !player) return;
    unsetSeatInfoWithSeat(s);
    const auto& seat = seatViews_[size_t(s)];
    Resources::getInstance().assignAvatarId(player->avatar(), seat.avatar);
    seat.btnUsername->setTitle(player->name());
    seat.btnMoney->setTitle(Util::formatNumber(player->money()));
    for (const auto& shown : std::vector<platform::ui::ViewPtr>{seat.btnMoney, seat.avatar, seat.btnUsername, seat.ok})
        shown->setHidden(false);
    const char* mark = player->IDDB() == ownerId() ? "icon_chuban.png" : player->isReady() ? "icon_ok.png" : nullptr;
    seat.ok->setImage(mark ? Util::getImageWithName(mark) : nullptr);
    seat.btnPresent->setEnabled(player->IDDB() != -1);
}

void CaoRuaView::unsetSeatInfoWithSeat(int s) {
    if (s < 0 || s >= kSeats || !isViewLoaded()) return;
    const auto& seat = seatViews_[size_t(s)];
    seat.avatar->setImage(nullptr);
    seat.btnUsername->setTitle("");
    seat.btnMoney->setTitle("");
    for (const auto& hidden : std::vector<platform::ui::ViewPtr>{seat.btnUsername, seat.btnMoney, seat.ok, seat.avatar})
        hidden->setHidden(true);
    seat.ok->setImage(nullptr);
    seat.btnPresent->setEnabled(false);
}

void CaoRuaView::setInvatingOnChair() {
    for (int k = 0; k < kSeats; ++k) {
        const auto& button = seatViews_[size_t(k)].btnSeat;
        if (isEmpty(playerAtSeat(k))) {
            button->setImage(Util::getImageWithName("button_moichoi.png"));
            button->setTitle(text("KAVO_invite"));
        } else {
            button->setImage(nullptr);
            button->setTitle("");
        }
    }
}

void CaoRuaView::setAtSeat(int place, const std::shared_ptr<TienLenPlayer>& player) {
    if (!player || place < 0 || place >= kSeats || size_t(place) >= players().size()) {
        platform::log("cao rua: a player sat down at place " + std::to_string(place) + ", which the table lacks");
        return;
    }
    player->setIsFriend(Resources::getInstance().playerIsFriend(player->IDDB()) ? 1 : 0);
    mutablePlayers()[size_t(place)] = player;
}

void CaoRuaView::playerLeaveWithId(int32_t playerId) {
    PlaySound::playSoundWithSource(Resources::getInstance().com_player_leave_board());
    auto& list = mutablePlayers();
    for (auto& player : list) {
        if (player->IDDB() != playerId) continue;
        auto empty = std::make_shared<TienLenPlayer>();
        empty->setIDDB(-1);
        empty->setName("");
        empty->setExp(0);
        empty->setIsReady(0);
        empty->setIsFriend(0);
        player = empty;
        break;
    }
    if (isGameEnd() && isViewLoaded()) removeCards(true);
}

// ---------------------------------------------------------------- owner, ready, start

void CaoRuaView::setOwnerWithNewOwner(int32_t owner) {
    setOwnerId(owner);
    if (auto player = playerWithId(owner)) player->setIsReady(1);
    if (isGameEnd()) {
        // Only the plain card views go: the three-card views stay on the table.
        const auto subviews = view()->subviews();
        for (const auto& subview : subviews)
            if (std::dynamic_pointer_cast<CardView>(subview)) subview->removeFromSuperview();
        if (isMe(owner)) {
            setKindOfStart(kStart);
        } else if (auto mine = myRecord()) {
            setKindOfStart(mine->isReady() ? kNoReady : kReady);
        }
    }
    showOKImageWithMode(1);
    const auto& settings = SettingsView::getInstance();
    settings->setIsSetMoney(isMe(owner));
    settings->setIsSetPass(isMe(owner));
}

void CaoRuaView::setReadyWithPlayerId(int32_t playerId, bool ready) {
    Util::callRung();
    auto& resources = Resources::getInstance();
    PlaySound::playSoundWithSource(ready ? resources.com_ready() : resources.com_no_ready());
    const bool mine = isMe(playerId);
    if (mine) UIController::myInfo()->setIsReady(ready ? 1 : 0);
    for (const auto& player : players())
        if (player->IDDB() == playerId) player->setIsReady(ready ? 1 : 0);
    if (mine) setKindOfStart(ready ? kNoReady : kReady);
}

void CaoRuaView::resetReady() {
    for (const auto& player : players())
        player->setIsReady(0);
    if (!isGameEnd()) return;
    // The start button comes back a moment later, on a timer: the main thread never waits.
    if (readyTimer_) readyTimer_->invalidate();
    readyTimer_ = later(0.1, [](CaoRuaView& self) {
        self.setKindOfStart(self.isMe(self.ownerId()) ? kStart : kReady);
        self.btnStart_->setHidden(false);
    });
}

void CaoRuaView::setKindOfStart(int kind) {
    view();
    btnStart_->setHidden(false);
    for (const auto& [k, key] : kStartTitles) {
        if (k != kind) continue;
        btnStart_->titleLabel()->setText(text(key));
        btnStart_->setTitle(text(key));
    }
    view()->bringSubviewToFront(btnStart_.get());
    view()->bringSubviewToFront(viewPlayerMenu_.get());
}

void CaoRuaView::clickStartGame() {
    const std::string title = btnStart_->titleForState(platform::ui::ControlState::Normal);
    if (title == text("KAVO_start")) {
        if (isMe(ownerId())) doStartGame();
    } else if (title == text("KAVO_ready")) {
        // A refused ready (a dialog) leaves the button where the player can press again.
        if (doReady()) btnStart_->setHidden(true);
    } else if (title == text("KAVO_noReady")) {
        GlobalService::getInstance().readyWithRoomId(roomId(), boardId(), false);
        btnStart_->setHidden(true);
    } else if (title == text("KAVO_continuee")) {
        resetCard(1);
    }
}

void CaoRuaView::clickUnReady() {
    GlobalService::getInstance().readyWithRoomId(roomId(), boardId(), false);
}

bool CaoRuaView::doReady() {
    if (disableReady_) {
        UIController::showNotice(text("KAVO_boardPlayingNoReady"));
        return false;
    }
    auto mine = myRecord();
    const bool alreadyReady = mine && mine->isReady();
    auto me = UIController::myInfo();
    if (!alreadyReady && me && me->money() < int64_t(money())) {
        UIController::showNotice(text("KAVO_koDuTienCuoc"));
        return false;
    }
    GlobalService::getInstance().readyWithRoomId(roomId(), boardId(), true);
    removeCards(true);
    return true;
}

void CaoRuaView::doStartGame() {
    int ready = 0;
    int notReady = 0;
    for (const auto& player : players()) {
        if (isEmpty(player) || isMe(player->IDDB())) continue;
        (player->isReady() ? ready : notReady) += 1;
    }
    if (players().empty() || ready == 0 || notReady >= 1) {
        UIController::showNotice(text("KAVO_cannotStart"));
        return;
    }
    auto me = UIController::myInfo();
    if (me && int64_t(money()) > me->money()) {
        UIController::showNotice(text("KAVO_koDuTienCuoc"));
        return;
    }
    GlobalService::getInstance().startGameWithRoomId(roomId(), boardId());
}

void CaoRuaView::doLeaveBoard() {
    auto mine = myRecord();
    if (!leavingAsks(holdsCards(mine), mine && mine->isReady())) {
        if (UIController::gameType() == GameTypes::kCaoRua) {
            auto table = GameController::getCaoRuaView();
            if (table) GlobalService::getInstance().leaveBoardWithRoomId(table->roomID(), table->boardID());
        }
        onLeftTable();
        if (auto nav = KavoOnlineAppDelegate::getInstance().navigationController()) nav->popViewController(true);
        return;
    }
    askToLeaveTable();
}

void CaoRuaView::showOKImageWithMode(int mode) {
    if (!isViewLoaded()) return;
    if (mode == 0) {
        setHiddenOwnerImages();
        return;
    }
    auto marked = [this](int s) {
        auto player = playerAtSeat(s);
        return !isEmpty(player) && (player->IDDB() == ownerId() || player->isReady());
    };
    for (int s : {5, 1, 2, 3, 4, 0})
        seatViews_[size_t(s)].ok->setHidden(!marked(s));
    // With the owner seated, only the owner's mark stays.
    for (int s : {0, 5, 1, 2, 3, 4}) {
        auto player = playerAtSeat(s);
        if (seatViews_[size_t(s)].ok->isHidden() || isEmpty(player) || player->IDDB() != ownerId()) continue;
        setHiddenOwnerImages();
        seatViews_[size_t(s)].ok->setHidden(false);
        break;
    }
}

void CaoRuaView::setHiddenOwnerImages() {
    for (const auto& seat : seatViews_)
        seat.ok->setHidden(true);
}

// ---------------------------------------------------------------- stakes and money

void CaoRuaView::setMoney(int32_t stake) {
    Util::callRung();
    PlaySound::playSoundWithSource(Resources::getInstance().com_dat_tien());
    set_money(stake);
    btnDatCuoc_->setTitle(Util::formatNumber(stake) + " " + text("KAVO_zel"));
    for (const auto& player : players())
        player->setIsReady(0);
    if (!isMe(ownerId())) setKindOfStart(kReady);
}

void CaoRuaView::setMoneyOnBoard(int32_t stake, int32_t) {
    PlaySound::playSoundWithSource(Resources::getInstance().com_dat_tien());
    btnDatCuoc_->setTitle(Util::formatNumber(stake) + " " + text("KAVO_zel"));
}

void CaoRuaView::showMoneyAtSeat(const Player& player) {
    view();
    const int s = getSeatFromID(player.IDDB());
    if (s >= 0) seatViews_[size_t(s)].btnMoney->setTitle(Util::formatNumber(player.money()));
}

void CaoRuaView::showHandAmount(const std::shared_ptr<Player>& player, int64_t /*amount*/) {
    const int seat = getSeatFromID(player->IDDB());
    if (seat >= 0) setSeatInfoWithSeat(seat, player);
}

// ---------------------------------------------------------------- a hand

void CaoRuaView::startWithBetMoney(int32_t stake, const std::vector<std::shared_ptr<BCCardView>>& myCards,
                                   int32_t seconds) {
    view();
    Util::callRung();
    indexBaiNan_ = 0;
    daChiaBaiXong_ = false;
    isStartGame_ = true;
    setIsGameEnd(false);
    btnStart_->setHidden(true);
    btnNanBai_->setHidden(false);
    // The last hand's cards and peek leave the table before the new ones are dealt.
    peek_.dismiss();
    removeCards(true);
    for (int i = 0; i < int(players().size()); ++i) {
        auto player = playerAtPlace(i);
        if (!player) continue;
        player->setFinishPosition(-1);
        if (isMe(player->IDDB())) {
            auto hand = std::make_shared<TienLenPlayer::Hand>(myCards.begin(), myCards.end());
            player->setCards(hand);
            seats_[0] = i;
            setSeatInfoWithSeat(0, player);
        } else if (!isEmpty(player)) {
            auto hand = std::make_shared<TienLenPlayer::Hand>();
            for (int c = 0; c < 3; ++c)
                hand->push_back(BCCardView::withCardID(-1, true, player->IDDB(), true));
            player->setCards(hand);
        } else {
            player->setCards(nullptr);
        }
    }
    rebuildSeats();
    for (int k = 1; k < kSeats; ++k) {
        auto player = playerAtSeat(k);
        if (!isEmpty(player)) setSeatInfoWithSeat(k, player);
    }
    chiaBaiWithCards();
    showOKImageWithMode(1);
    set_money(stake);
    interval_ = seconds;
    dieTime_ = seconds;
    setTimerWithSeat(0);
    if (playerTimeTimer_) playerTimeTimer_->invalidate();
    playerTimeTimer_ = later(1.0, [](CaoRuaView& self) { self.showPlayerTime(); });
}

void CaoRuaView::stopGame() {
    Util::callRung();
    PlaySound::playSoundWithSource(Resources::getInstance().com_trung_tien());
    if (playerTimeTimer_) playerTimeTimer_->invalidate();
    playerTimeTimer_.reset();
    isStartGame_ = false;
    setIsGameEnd(true);
    if (auto me = UIController::myInfo()) me->setIsReady(isMe(ownerId()) ? 1 : 0);
    if (limitTimer_) limitTimer_->invalidate();
    limitTimer_.reset();
    progressTimer_->setHidden(true);
    imgMyTurn_->setHidden(true);
    btnNanBai_->setHidden(true);
    peek_.dismiss();
    setKindOfStart(kContinue);
}

void CaoRuaView::resetCard(int mode) {
    dealer_.cancel();
    peek_.dismiss();
    showOKImageWithMode(2);
    setKindOfStart(isMe(ownerId()) ? kStart : kReady);
    if (mode == 1) removeCards(true);
    if (auto mine = playerAtSeat(0)) mine->setCards(nullptr);
}

void CaoRuaView::setDealerCards(int levelRoom) {
    const int index = levelRoom == 0 ? 0 : levelRoom == 1 ? 1 : 2;
    imgViewDealerCards_->setImage(Util::getImageWithName(kDealerPictures[index]));
    imgViewDealerCards_->setAccessibilityLabel(kDealerPictures[index]);
}

void CaoRuaView::setTimerWithSeat(int s) {
    if (limitTimer_) limitTimer_->invalidate();
    limitTimer_.reset();
    progressTimer_->setHidden(true);
    imgMyTurn_->setHidden(true);
    // A hand without a time limit shows no bar: nothing to divide by.
    if (s != 0 || interval_ <= 0) return;
    progressTimer_->setHidden(false);
    imgMyTurn_->setHidden(false);
    view()->bringSubviewToFront(imgMyTurn_.get());
    progressTimer_->setTintColor(kTurnBarFull);
    limitProgress_ = float(dieTime_) / float(interval_);
    progressTimer_->setProgress(limitProgress_);
    const float step = 0.1f / float(interval_);
    std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
    const uint64_t generation = generation_;
    limitTimer_ = platform::Timer::scheduled(0.1, true, [weak, generation, step] {
        auto self = std::dynamic_pointer_cast<CaoRuaView>(weak.lock());
        if (self && self->generation_ == generation) self->repeatTimer(step);
    });
}

void CaoRuaView::repeatTimer(float step) {
    limitProgress_ -= step;
    showTurnTimeLeft(*progressTimer_, limitProgress_);
    if (limitProgress_ <= 0) {
        if (limitTimer_) limitTimer_->invalidate();
        limitTimer_.reset();
    }
}

void CaoRuaView::showPlayerTime() {
    if (dieTime_ > 0) {
        --dieTime_;
        if (dieTime_ > 0) {
            playerTimeTimer_ = later(1.0, [](CaoRuaView& self) { self.showPlayerTime(); });
            return;
        }
    }
    currentPlayer_ = -1;
    if (playerTimeTimer_) playerTimeTimer_->invalidate();
    playerTimeTimer_.reset();
}

// ---------------------------------------------------------------- cards

std::shared_ptr<BCCardView> CaoRuaView::cardAt(int s, int index) const {
    auto player = playerAtSeat(s);
    if (isEmpty(player) || !holdsCards(player) || index < 0) return nullptr;
    const auto& hand = *player->cards();
    return size_t(index) < hand.size() ? std::dynamic_pointer_cast<BCCardView>(hand[size_t(index)]) : nullptr;
}

platform::ui::Point CaoRuaView::deckPoint() const {
    const int width = UIController::screenWidth();
    return {double(width / 2) + 25 * Util::iPadX(), double(screenHeight_ / 2) - 10 * Util::iPadY()};
}

DealPlace CaoRuaView::dealPlace(int s, int index, double w, double h) const {
    const double W = UIController::screenWidth();
    const double H = screenHeight_;
    const double halfW = double(int(W) / 2), halfH = double(screenHeight_ / 2);
    const double L = index;
    const double x = Util::iPadX(), y = Util::iPadY(), pad = Util::iPad();
    // The right-hand seats lay their cards turned toward the table's centre, the
    // left-hand ones the other way; a card is indexed 0-2 (card 2 is dealt first).
    static constexpr double kRightTurns[] = {-2 * M_PI / 5, -M_PI / 2, -2 * M_PI / 3};
    static constexpr double kLeftTurns[] = {2 * M_PI / 3, M_PI / 2, 2 * M_PI / 5};
    static constexpr double kFarLeftTurns[] = {3 * M_PI / 4, M_PI, 5 * M_PI / 4};
    const size_t card = size_t(std::clamp(index, 0, 2));
    switch (s) {
    case 0:
        return {{halfW + (L - 1) * w, H - h / 3 - (Util::isPad() ? 80 : 20)}, 0, {}};
    case 1:
    case 2:
        return {{W - 90 * x - w / 2, halfH + (L - 1) * h / 3 + (s == 1 ? 70 * y : 0)},
                kRightTurns[card],
                card == 2 ? platform::ui::Point{4 * x, -4 * y} : platform::ui::Point{}};
    case 3: {
        static const platform::ui::Point kNudges[] = {{32, -25}, {18, -5}, {0, 0}};
        return {{150 * x + w / 2, halfH + (1 - L) * h / 3 - 15 * y},
                kFarLeftTurns[card],
                {kNudges[card].x * x, kNudges[card].y * y}};
    }
    case 4:
        return {{80 * pad + w / 2, halfH + (1 - L) * h / 3 - 20 * pad},
                kLeftTurns[card],
                card == 2 ? platform::ui::Point{-4 * x, 4 * y} : platform::ui::Point{}};
    default:
        return {{100 * x + w / 2, halfH + (1 - L) * h / 3 + 70 * y},
                kLeftTurns[card],
                card == 2 ? platform::ui::Point{-4 * x, 4 * y} : platform::ui::Point{}};
    }
}

// Pass 0 deals card 2 of every hand, pass 1 card 1, pass 2 card 0.
void CaoRuaView::dealCard(int s, int pass) {
    const int index = 2 - pass;
    auto card = cardAt(s, index);
    if (!card) return;
    PlaySound::playSoundWithSource(Resources::getInstance().bai_chia_bai());
    const auto size = card->frame().size;
    DealStepper::flyCard(card, *view(), deckPoint(), dealPlace(s, index, size.width, size.height));
    // A peek open meanwhile stays above the cards still being dealt.
    if (peek_.isPeeking()) {
        view()->bringSubviewToFront(peek_.overlay().get());
        if (auto back = peek_.backCard()) view()->bringSubviewToFront(back.get());
        view()->bringSubviewToFront(peek_.cover().get());
    }
}

void CaoRuaView::bringOverlaysToFront() {
    auto& root = *view();
    auto front = [&root](const platform::ui::ViewPtr& part) {
        if (part && part->superview() == &root) root.bringSubviewToFront(part.get());
    };
    // The peek and start buttons stay above my hand, which reaches down to them on a tablet.
    front(btnNanBai_);
    front(btnStart_);
    // The grown hand of the result reaches over my heart, which still takes its clicks.
    front(seatViews_[0].btnPresent);
    for (const auto& bubble : chats_)
        front(bubble);
    // The sheets and panels over the table stay above all this (TableRootView).
    front(viewPlayerMenu_);
}

void CaoRuaView::chiaBaiWithCards() {
    const uint64_t generation = generation_;
    auto current = [this, generation] { return generation == generation_; };
    dealer_.start(
        {kSeats, 3, 0.15}, [this, current](int s, int pass) { return current() && cardAt(s, 2 - pass) != nullptr; },
        [this, current](int s, int pass) {
            if (current()) dealCard(s, pass);
        },
        [this, current] {
            if (!current()) return;
            bringOverlaysToFront();
            daChiaBaiXong_ = true;
        },
        [this, current] {
            if (!current()) return;
            bringOverlaysToFront();
            btnNanBai_->setHidden(indexBaiNan_ >= 3);
        });
}

void CaoRuaView::setCurrentCardsWithCardIDs(const std::vector<uint8_t>& cards, int s) {
    auto player = playerAtSeat(s);
    if (!holdsCards(player)) return;
    PlaySound::playSoundWithSource(Resources::getInstance().bai_lat_bai());
    const bool mine = isMe(player->IDDB());
    bool turned = false;
    // Reported cards beyond the hand are skipped; 255 leaves a card face down and a
    // card already turned is not drawn again.
    for (int i = 0; i < int(cards.size()); ++i) {
        auto card = cardAt(s, i);
        if (!card || cards[size_t(i)] == 255 || card->isChecked()) continue;
        if (!layTurnedFace(*card, cards[size_t(i)])) continue;
        turned = true;
        if (!mine) continue;
        ++indexBaiNan_;
        card->setIsTouch(false);
        btnNanBai_->setHidden(indexBaiNan_ >= 3);
    }
    if (mine && turned) backPointbaiNan(peek_.backCard());
}

void CaoRuaView::moveWithPlayerId(int32_t playerId, const std::vector<uint8_t>& cards) {
    const int s = getSeatFromID(playerId);
    if (s < 0) {
        platform::log("cao rua: cards of player " + std::to_string(playerId) + ", who has no seat, dropped");
        return;
    }
    setCurrentCardsWithCardIDs(cards, s);
}

void CaoRuaView::showCardsWithPlayers(const CaoRuaCardRecords& records) {
    backPointbaiNan(peek_.backCard());
    for (const auto& record : records) {
        std::vector<uint8_t> bytes;
        for (int32_t card : record.cards)
            bytes.push_back(uint8_t(card & 0xff));
        moveWithPlayerId(record.playerId, bytes);
    }
    btnStart_->setHidden(false);
}

void CaoRuaView::playingWithMoney(int32_t, const CaoRuaCardRecords&) {
    setIsGameEnd(false);
    btnStart_->setHidden(true);
    btnNanBai_->setHidden(true);
    showChatWithSeat(kCentreBubble, text("KAVO_playingBoard"));
}

// ---------------------------------------------------------------- peeking and turning

void CaoRuaView::clickNanBai() {
    if (!daChiaBaiXong_ || peek_.isPeeking()) return;
    auto mine = myRecord();
    if (!holdsCards(mine)) return;
    // Only a card already on the table: one still in the dealer's hand has no place
    // to go back to.
    for (const auto& face : *mine->cards()) {
        auto card = std::dynamic_pointer_cast<BCCardView>(face);
        if (!card || !card->isTouch() || card->superview() != view().get()) continue;
        beginNanbai(card);
        return;
    }
}

void CaoRuaView::beginNanbai(const std::shared_ptr<BCCardView>& card) {
    peek_.begin(card, *view(), [](const std::shared_ptr<BCCardView>& zoomed) {
        // The back comes off: the enlarged face lies under the cover.
        if (zoomed->subviews().size() >= 2) zoomed->subviews().back()->removeFromSuperview();
    });
}

void CaoRuaView::showLoadingNanBai() {
    PeekTable::showLoadingNanBai();
    peek_.showLoading(*view());
}

void CaoRuaView::hideLoadingNanBai() {
    peek_.hideLoading(*view());
}

void CaoRuaView::backPointbaiNan(const std::shared_ptr<BCCardView>& card) {
    PeekTable::backPointbaiNan(card);
    peek_.end(card, [this] { bringOverlaysToFront(); });
}

void CaoRuaView::setHiddenBtnNan() {
    PeekTable::setHiddenBtnNan();
    btnNanBai_->setHidden(true);
}

void CaoRuaView::sendTurn(const std::vector<uint8_t>& cards) {
    CaoRuaService::getInstance().moveWithRoomId(uint8_t(roomID()), uint8_t(boardID()), cards);
}

std::vector<std::shared_ptr<BCCardView>> CaoRuaView::myHand() const {
    std::vector<std::shared_ptr<BCCardView>> hand;
    for (int i = 0; i < 3; ++i)
        if (auto card = cardAt(0, i)) hand.push_back(card);
    return hand;
}

void CaoRuaView::doFireWithCardId(int8_t cardId) {
    PeekTable::doFireWithCardId(cardId);
    // Every card was asked for already: nothing to ask.
    if (auto bytes = turnRequest(myHand(), cardId)) sendTurn(*bytes);
}

void CaoRuaView::showAllCards() {
    PeekTable::showAllCards();
    sendTurn(turnAllRequest(myHand()));
}

} // namespace kavo
