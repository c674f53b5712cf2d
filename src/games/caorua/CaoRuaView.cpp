// The Cao Rua table's seats, owner, readiness, stakes and the flow of a hand.
#include "games/caorua/CaoRuaView.h"

#include "account/SettingsView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/caorua/CaoRuaMessageHandler.h"
#include "platform/runtime/Log.h"
#include "platform/ui/Font.h"
#include "platform/ui/NavigationController.h"
#include "portal/GlobalService.h"
#include "table/BCCardView.h"
#include "table/CardView.h"
#include "table/GameController.h"
#include "table/PlaySound.h"
#include "table/TableRules.h"
#include "table/TienLenPlayer.h"
#include "table/menuGift.h"
#include "table/menuSetup.h"

namespace kavo {

namespace {

std::string text(const char* key) {
    return Resources::getInstance().textWithKey(key);
}

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

const platform::ui::Color kFullColour = platform::ui::Color::rgba(27, 175, 57);

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
    for (auto& timer : chatTimers_) {
        if (timer) timer->invalidate();
        timer.reset();
    }
    for (const auto& timer : flyTimers_)
        timer->invalidate();
    flyTimers_.clear();
}

// ---------------------------------------------------------------- lifecycle

void CaoRuaView::resetView() {
    view();
    ++generation_;
    stopTimers();
    for (int s = 0; s < kSeats; ++s)
        seats_[size_t(s)] = s;
    isStartGame_ = false;
    setIsGameEnd(true);
    daChiaBaiXong_ = false;
    indexBaiNan_ = 0;
    chatPlayers_.assign(kBubbles, "");
    for (int s = 0; s < kSeats; ++s)
        unsetSeatInfoWithSeat(s);
    for (int b = 0; b < kBubbles; ++b)
        hideChat(b);
    for (const auto& seat : seatViews_)
        seat.btnPresent->setImage(Util::getImageWithName(Player::kDefaultGiftImage));
    progressTimer_->setHidden(true);
    btnNanBai_->setHidden(true);
    btnDatCuoc_->setTitle(Util::formatNumber(money()) + " " + text("KAVO_zel"));
    for (const auto& label : flyTexts_)
        label->removeFromSuperview();
    flyTexts_.clear();
    hideActionPlayerMenu();
    removeCards(false);
}

void CaoRuaView::onLeftTable() {
    // Whatever is still pending for this table stops here.
    ++generation_;
    stopTimers();
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
        if (subview == imgBaiTiNanBai_) continue;
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
    if (giftView()->isViewLoaded() && giftView()->view()->superview() == view().get())
        view()->bringSubviewToFront(giftView()->view().get());
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
        UIController::startOKDlg(text("KAVO_boardPlayingNoReady"));
        return false;
    }
    auto mine = myRecord();
    const bool alreadyReady = mine && mine->isReady();
    auto me = UIController::myInfo();
    if (!alreadyReady && me && me->money() < int64_t(money())) {
        UIController::startOKDlg(text("KAVO_koDuTienCuoc"));
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
        UIController::setOkValue(UIController::kActionNone);
        UIController::startOKDlg(text("KAVO_cannotStart"));
        return;
    }
    auto me = UIController::myInfo();
    if (me && int64_t(money()) > me->money()) {
        UIController::startOKDlg(text("KAVO_koDuTienCuoc"));
        return;
    }
    GlobalService::getInstance().startGameWithRoomId(roomId(), boardId());
}

void CaoRuaView::doLeaveBoard() {
    auto mine = myRecord();
    if (!holdsCards(mine) && !(mine && mine->isReady())) {
        if (UIController::gameType() == GameTypes::kCaoRua) {
            auto table = GameController::getCaoRuaView();
            if (table) GlobalService::getInstance().leaveBoardWithRoomId(table->roomID(), table->boardID());
        }
        onLeftTable();
        if (auto nav = KavoOnlineAppDelegate::getInstance().navigationController()) nav->popViewController(true);
        return;
    }
    UIController::setOkValue(UIController::kActionLeaveBoard);
    UIController::startCancelOkDlg(text("KAVO_doYouWantExit"), text("KAVO_cancel"), text("KAVO_OK"));
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

void CaoRuaView::updateMoneyForPlayer(int32_t playerId, int32_t amount) {
    const int seat = getSeatFromID(playerId);
    if (seat < 0) return;
    auto player = playerAtSeat(seat);
    player->setMoney(player->money() + int64_t(amount));
    setSeatInfoWithSeat(seat, player);
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
    // The last hand's cards leave the table before the new ones are laid.
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
    btnNanBai_->setHidden(true);
    imgBaiTiNanBai_->removeFromSuperview();
    imgBaiTiNanBai_->setAlpha(0);
    viewNanBai_->removeFromSuperview();
    setKindOfStart(kContinue);
}

void CaoRuaView::resetCard(int mode) {
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
    // A hand without a time limit shows no bar: nothing to divide by.
    if (s != 0 || interval_ <= 0) return;
    progressTimer_->setHidden(false);
    progressTimer_->setTintColor(kFullColour);
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
    if (limitProgress_ > 0.6f)
        progressTimer_->setTintColor(kFullColour);
    else if (limitProgress_ > 0.3f)
        progressTimer_->setTintColor(platform::ui::Color::orange());
    else
        progressTimer_->setTintColor(platform::ui::Color::red());
    progressTimer_->setProgress(std::max(0.0f, limitProgress_));
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

platform::ui::Point CaoRuaView::handPoint(int s, int index) const {
    // Where each seat's three cards rest, fanned from left to right (phone points).
    static constexpr double kHand[kSeats][2] = {{190, 232}, {330, 170}, {330, 100}, {180, 70}, {95, 100}, {95, 170}};
    const double spread = s == 0 ? CardFace::cardWidth() : 18 * Util::iPad();
    const auto base = Util::changePointFromPoint({kHand[s][0], kHand[s][1]});
    return {base.x + index * spread, base.y};
}

void CaoRuaView::layHand(int s) {
    auto player = playerAtSeat(s);
    if (isEmpty(player) || !holdsCards(player)) return;
    int index = 0;
    for (const auto& card : *player->cards()) {
        auto& view = card->cardView();
        view.setCenter(handPoint(s, index++));
        this->view()->addSubview(view.self());
    }
}

void CaoRuaView::chiaBaiWithCards() {
    for (int s = 0; s < kSeats; ++s)
        layHand(s);
    view()->bringSubviewToFront(viewPlayerMenu_.get());
    for (const auto& bubble : chats_)
        view()->bringSubviewToFront(bubble.get());
    btnNanBai_->setHidden(false);
    daChiaBaiXong_ = true;
}

// The reported card takes its face: the record's hand gets a face-up card with that
// id in the old card's place.
void CaoRuaView::turnCard(const std::shared_ptr<TienLenPlayer>& player, size_t index, int8_t cardId) {
    auto& hand = *player->cards();
    auto old = std::dynamic_pointer_cast<BCCardView>(hand[index]);
    if (old && old->isChecked()) return;
    auto card = BCCardView::withCardID(cardId, true, player->IDDB(), true);
    if (card->cover()) card->cover()->removeFromSuperview();
    card->setIsChecked(true);
    card->setIsTouch(false);
    if (old) {
        card->setTransform(old->transform());
        card->setCenter(old->center());
        if (auto* parent = old->superview()) parent->insertSubviewAbove(card, old.get());
        old->removeFromSuperview();
    }
    hand[index] = card;
    if (isMe(player->IDDB())) {
        ++indexBaiNan_;
        btnNanBai_->setHidden(indexBaiNan_ >= 3);
    }
}

void CaoRuaView::setCurrentCardsWithCardIDs(const std::vector<uint8_t>& cards, int s) {
    auto player = playerAtSeat(s);
    if (!holdsCards(player)) return;
    PlaySound::playSoundWithSource(Resources::getInstance().bai_lat_bai());
    // Reported cards beyond the hand are skipped; 255 leaves a card face down.
    for (size_t i = 0; i < cards.size() && i < player->cards()->size(); ++i)
        if (cards[i] != 255) turnCard(player, i, int8_t(cards[i]));
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
    for (const auto& record : records) {
        std::vector<uint8_t> bytes;
        for (int32_t card : record.cards)
            bytes.push_back(uint8_t(card));
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

} // namespace kavo
