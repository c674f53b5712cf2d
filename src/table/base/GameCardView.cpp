#include "table/base/GameCardView.h"

#include "account/SettingsView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/runtime/Log.h"
#include "platform/ui/Font.h"
#include "platform/ui/NavigationController.h"
#include "portal/GlobalService.h"
#include "table/base/LeavingTable.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/BCCardView.h"
#include "table/cards/CardView.h"
#include "table/cards/CardViewPhom.h"
#include "table/registry/GameController.h"
#include "table/registry/GameRecords.h"
#include "table/registry/GameRequest.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/MauBinhResultView.h"
#include "table/sheets/boardChat.h"
#include "table/sheets/menuCuoc.h"

#include <cmath>

namespace kavo {

namespace {

std::string zel(int64_t amount) {
    return Util::formatNumber(amount) + " Zel";
}

bool isMe(int32_t id) {
    auto me = UIController::myInfo();
    return me && me->IDDB() == id;
}

} // namespace

GameCardView::GameCardView(int8_t gameType, std::string titleKey)
    : GameTableView(gameType, "TienLenView", std::move(titleKey)),
      mauBinhResultView_(std::make_shared<MauBinhResultView>()) {}

GameCardView::~GameCardView() {
    stopTurnClock();
}

// ---------------------------------------------------------------- lifecycle

void GameCardView::viewDidLoad() {
    GameTableView::viewDidLoad();
    currentPlayer_ = -1;
    if (playerTimeTimer_) playerTimeTimer_->invalidate();
    buildLayout();
    for (int s : {1, 3}) {
        seatViews_[size_t(s)].btnSeat->setTransform(platform::ui::AffineTransform::identity());
        seatViews_[size_t(s)].btnSeat->setEnabled(true);
    }
    for (const auto& seat : seatViews_)
        seat.point->setHidden(true);
    hideForActionPlayerMenu();
    imgMoney_->setHidden(false);
    btnCuoc_->setHidden(false);
    // Seat 0's countdown is the Mau Binh screen's own; it starts stopped like the others.
    for (int s = 0; s < kSeats; ++s)
        seatViews_[size_t(s)].cpiSeat->stop();
    const PlayButtonTitles& titles = gameRecordOrNone(gameType()).playButtons;
    if (!titles.fire.empty()) btnFire_->setTitle(text(titles.fire));
    if (!titles.skip.empty()) btnSkip_->setTitle(text(titles.skip));
    if (!titles.autoSelected.empty()) btnAutoSelected_->setTitle(text(titles.autoSelected));
    if (titles.stakeButtonLower) btnCuoc_->setCenter({btnCuoc_->center().x, btnCuoc_->center().y + 20});
    setKindOfStart(kReady);
    btnStart_->setHidden(true);
}

void GameCardView::viewWillAppear(bool animated) {
    GameTableView::viewWillAppear(animated);
    const GameRecord& game = gameRecordOrNone(gameType());
    std::string name;
    if (!game.fadedIcon.empty()) {
        name = text(game.titleKey);
        imgIconGame_->setImage(Util::getImageWithName(std::string(game.fadedIcon)));
    }
    if (const auto& title = KavoOnlineAppDelegate::getInstance().lblWindowTitle()) {
        title->setText(name + ", " + text("KAVO_room") + " " + std::to_string(roomId()) + ", " + text("KAVO_board") +
                       " " + std::to_string(boardId()));
        title->setFont(platform::ui::Font::boldSystem(10 * Util::iPad()));
    }
}

void GameCardView::viewWillDisappear(bool animated) {
    chatView()->historyChat().clear();
    inviteView()->slideOut();
    if (const auto& title = KavoOnlineAppDelegate::getInstance().lblWindowTitle())
        title->setFont(platform::ui::Font::boldSystem(15 * Util::iPad()));
    GameTableView::viewWillDisappear(animated);
}

void GameCardView::resetView() {
    view();
    seats_ = {0, 1, 2, 3};
    isMeNotExistPlayingBoard_ = true;
    isStartGame_ = false;
    setIsGameEnd(true);
    for (int s = 0; s < kSeats; ++s)
        unsetSeatInfoWithSeat(s);
    bubbles_.clear();
    for (const auto& seat : seatViews_) {
        seat.position->setImage(nullptr);
        if (seat.isFriend) seat.isFriend->setHidden(true);
        seat.btnPresent->setImage(Util::getImageWithName(Player::kDefaultGiftImage));
    }
    progressTimer_->setHidden(true);
    imgMyTurn_->setHidden(true);
    btnCuoc_->setTitle(zel(money()));
    // An amount of the last hand still in the air (or waiting) is not this table's.
    moneyFlights_.clear();
    for (const auto& child : std::vector<platform::ui::ViewPtr>(view()->subviews())) {
        if (dynamic_cast<CardView*>(child.get()) || dynamic_cast<CardViewPhom*>(child.get()))
            child->removeFromSuperview();
    }
}

void GameCardView::setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                        const std::vector<std::shared_ptr<Player>>& players) {
    GameTableView::setupPlayersWithRoom(roomId, boardId, ownerId, money, players);
    view();
    // My place comes first: screen seat 0 is mine, the others follow in table order.
    const int count = int(this->players().size());
    int mine = 0;
    for (int i = 0; i < count; ++i)
        if (isMe(this->players()[size_t(i)]->IDDB())) mine = i;
    indexOfMe_ = mine;
    for (int s = 0; s < kSeats; ++s)
        seats_[size_t(s)] = count > 0 ? (mine + s) % std::max(count, kSeats) : s;
    btnCuoc_->setTitle(zel(money));
    showSeats();
    setOwnerWithNewOwner(ownerId);
    setInvatingOnChair();
}

// ---------------------------------------------------------------- seats

std::shared_ptr<Player> GameCardView::playerAtSeat(int seat) const {
    if (seat < 0 || seat >= kSeats) return nullptr;
    const int index = seats_[size_t(seat)];
    const auto& list = players();
    if (index < 0 || size_t(index) >= list.size()) return nullptr;
    return list[size_t(index)];
}

int GameCardView::getSeatFromID(int32_t playerId) const {
    for (int s = 0; s < kSeats; ++s) {
        auto player = playerAtSeat(s);
        if (player && player->IDDB() == playerId) return s;
    }
    return -1;
}

int32_t GameCardView::getIDAtSeat(int seat) const {
    auto player = playerAtSeat(seat);
    return player ? player->IDDB() : -1;
}

std::shared_ptr<Player> GameCardView::myRecord() const {
    for (const auto& player : players())
        if (isMe(player->IDDB())) return player;
    return nullptr;
}

void GameCardView::showSeats() {
    for (int s = 0; s < kSeats; ++s) {
        auto player = playerAtSeat(s);
        if (player && player->IDDB() != -1)
            setSeatInfoWithSeat(s, player);
        else
            unsetSeatInfoWithSeat(s);
    }
}

void GameCardView::setSeatInfoWithSeat(int s, const std::shared_ptr<Player>& player) {
    if (s < 0 || s >= kSeats || !player) {
        platform::log("card table: no seat " + std::to_string(s) + " to draw");
        return;
    }
    unsetSeatInfoWithSeat(s);
    auto& seat = seatViews_[size_t(s)];
    Resources::getInstance().assignAvatarId(player->avatar(), seat.ava);
    seat.btnName->setTitle(player->name());
    seat.btnMoney->setTitle(zel(player->money()));
    for (const auto& part :
         std::initializer_list<platform::ui::ViewPtr>{seat.ava, seat.btnName, seat.btnMoney, seat.ok})
        part->setHidden(false);
    const bool eachBets = gameRecordOrNone(gameType()).stakeSetting == StakeSetting::ByEachPlayer;
    if (player->IDDB() == ownerId()) {
        seat.ok->setImage(Util::getImageWithName("icon_chuban.png"));
        if (s == 0 && eachBets) btnCuoc_->setHidden(true);
    } else if (player->isReady()) {
        seat.ok->setImage(Util::getImageWithName("icon_ok.png"));
        btnCuoc_->setHidden(false);
    } else {
        seat.ok->setImage(nullptr);
    }
    if (seat.isFriend) seat.isFriend->setHidden(!player->isFriend());
    if (player->IDDB() == currentPlayer_ && gameRecordOrNone(gameType()).playsInTurns) setTimerWithSeat(s);
    if (s == 0) return;
    const bool occupied = player->IDDB() != -1;
    seat.btnPresent->setEnabled(occupied);
    const auto& lock = s == 1 ? btnLock1_ : s == 3 ? btnLock3_ : nullptr;
    if (lock) lock->setHidden(occupied || !isMe(ownerId()));
}

void GameCardView::unsetSeatInfoWithSeat(int s) {
    if (s < 0 || s >= kSeats) {
        platform::log("card table: no seat " + std::to_string(s) + " to empty");
        return;
    }
    auto& seat = seatViews_[size_t(s)];
    seat.ava->setImage(nullptr);
    seat.btnName->setTitle("");
    seat.btnMoney->setTitle("");
    seat.ok->setImage(nullptr);
    for (const auto& part :
         std::initializer_list<platform::ui::ViewPtr>{seat.btnName, seat.btnMoney, seat.ok, seat.ava})
        part->setHidden(true);
    if (s == 0) return;
    seat.isFriend->setHidden(true);
    seat.btnPresent->setEnabled(false);
    const auto& lock = s == 1 ? btnLock1_ : s == 3 ? btnLock3_ : nullptr;
    if (lock) lock->setHidden(!isMe(ownerId()));
}

void GameCardView::setInvatingOnChair() {
    for (int s = 0; s < kSeats; ++s) {
        const auto& button = seatViews_[size_t(s)].btnSeat;
        if (getIDAtSeat(s) == -1) {
            button->setImage(Util::getImageWithName("button_moichoi.png"));
            button->setTitle(text("KAVO_invite"));
        } else {
            button->setImage(nullptr);
            button->setTitle("");
        }
    }
}

void GameCardView::unSetInvatingOnChair() {
    for (const auto& seat : seatViews_) {
        seat.btnSeat->setTitle("");
        seat.btnSeat->setImage(nullptr);
    }
}

void GameCardView::setHiddenButtonSeat(bool hidden) {
    for (int s = 0; s < kSeats; ++s)
        seatViews_[size_t(s)].btnSeat->setHidden(hidden && getIDAtSeat(s) != -1);
}

void GameCardView::showOKImageWithMode(int mode) {
    for (int s = 0; s < kSeats; ++s) {
        const auto& mark = seatViews_[size_t(s)].ok;
        auto player = playerAtSeat(s);
        const bool owner = player && player->IDDB() != -1 && player->IDDB() == ownerId();
        mark->setHidden(mode == 0 || !(owner || (player && player->isReady())));
        if (!mark->isHidden() && owner) mark->setImage(Util::getImageWithName("icon_chuban.png"));
    }
}

// ---------------------------------------------------------------- owner, ready, start

void GameCardView::setOwnerWithNewOwner(int32_t newOwner) {
    view();
    setOwnerId(newOwner);
    for (const auto& player : players()) {
        if (player->IDDB() == newOwner) {
            player->setIsReady(1);
            break;
        }
    }
    const bool mine = isMe(newOwner);
    if (isGameEnd()) {
        for (const auto& child : std::vector<platform::ui::ViewPtr>(view()->subviews()))
            if (dynamic_cast<CardViewPhom*>(child.get())) child->removeFromSuperview();
        for (const auto& seat : seatViews_)
            seat.point->setHidden(true);
        if (mine) {
            setKindOfStart(kStart);
        } else if (auto me = myRecord()) {
            setKindOfStart(me->isReady() ? kNoReady : kReady);
        }
    }
    const bool eachBets = gameRecordOrNone(gameType()).stakeSetting == StakeSetting::ByEachPlayer;
    auto& settings = *SettingsView::getInstance();
    if (!mine) {
        btnLock1_->setHidden(true);
        btnLock3_->setHidden(true);
        settings.setIsSetMoney(eachBets);
        settings.setIsSetPass(false);
        settings.setIsSetPlayers(false);
    } else {
        btnLock1_->setHidden(getIDAtSeat(1) != -1);
        btnLock3_->setHidden(getIDAtSeat(3) != -1);
        settings.setIsSetMoney(!eachBets);
        settings.setIsSetPass(true);
        settings.setIsSetPlayers(true);
    }
    showSeats();
}

void GameCardView::setKindOfStart(int kind) {
    static constexpr std::pair<int, const char*> kKinds[] = {
        {kStart, "KAVO_start"}, {kReady, "KAVO_ready"}, {kNoReady, "KAVO_noReady"}, {kContinue, "KAVO_continuee"}};
    for (const auto& [k, key] : kKinds) {
        if (k == kind) btnStart_->setTitle(text(key));
    }
    btnStart_->setHidden(!isGameEnd());
    view()->bringSubviewToFront(viewActions_.get());
    if (auto* parent = btnStart_->superview()) parent->bringSubviewToFront(btnStart_.get());
    view()->bringSubviewToFront(viewPlayerMenu_.get());
}

void GameCardView::clickStartGame() {
    const std::string title = btnStart_->titleForState(platform::ui::ControlState::Normal);
    if (title == text("KAVO_start")) {
        if (isMe(ownerId())) doStartGame();
    } else if (title == text("KAVO_ready")) {
        // A refused ready (a dialog) leaves the button for another try.
        readySent_ = false;
        doReady();
        if (readySent_) btnStart_->setHidden(true);
    } else if (title == text("KAVO_noReady")) {
        GlobalService::getInstance().readyWithRoomId(roomId(), boardId(), false);
        btnStart_->setHidden(true);
    } else if (title == text("KAVO_continuee")) {
        resetCard(true);
    }
}

void GameCardView::clickUnReady() {
    GlobalService::getInstance().readyWithRoomId(roomId(), boardId(), false);
}

void GameCardView::doReady() {
    if (disableReady_) {
        UIController::showNotice(text("KAVO_boardPlayingNoReady"));
        return;
    }
    auto mine = myRecord();
    auto me = UIController::myInfo();
    if ((mine && mine->isReady()) || (me && me->money() >= int64_t(money()))) {
        GlobalService::getInstance().readyWithRoomId(roomId(), boardId(), true);
        readySent_ = true;
        return;
    }
    UIController::showNotice(text("KAVO_koDuTienCuoc"));
}

// ---------------------------------------------------------------- locks, money, leaving

void GameCardView::lockSeat(int s, bool locked) {
    const auto& button = seatViews_[size_t(s)].btnSeat;
    button->setTransform(locked ? platform::ui::AffineTransform::rotation(M_PI / 4)
                                : platform::ui::AffineTransform::identity());
    button->setEnabled(!locked);
}

void GameCardView::clickLockSeat(platform::ui::Button& lock) {
    // Every card game takes the same set-maximum request.
    auto sendMax = [this](int8_t max) { sendGameMessage(setMaxPlayerMessage(roomId(), boardId(), max)); };
    if (std::abs(lock.tag()) != 1) {
        if (btnLock3_->tag() >= 1) {
            btnLock3_->setTag(-3);
            lockSeat(3, true);
            sendMax(3);
        } else if (btnLock1_->tag() == -1) {
            UIController::showNotice(text("KAVO_moKhoaGhe"));
        } else {
            btnLock3_->setTag(3);
            lockSeat(3, false);
            sendMax(4);
        }
        return;
    }
    if (btnLock1_->tag() >= 1) {
        if (btnLock3_->tag() == 3) {
            UIController::showNotice(text("KAVO_khoaGhe"));
            return;
        }
        btnLock1_->setTag(-1);
        lockSeat(1, true);
        sendMax(2);
    } else {
        btnLock1_->setTag(1);
        lockSeat(1, false);
        sendMax(3);
    }
}

void GameCardView::setBtnCuocAtPos(platform::ui::Point point) {
    btnCuoc_->setCenter(point);
}

void GameCardView::showMoneyAtSeat(const Player& player) {
    view();
    const int s = getSeatFromID(player.IDDB());
    if (s >= 0) seatViews_[size_t(s)].btnMoney->setTitle(zel(player.money()));
}

void GameCardView::doLeaveBoard() {
    auto mine = std::dynamic_pointer_cast<TienLenPlayer>(myRecord());
    const bool holdsCards = mine && mine->cards() && !mine->cards()->empty();
    const bool ready = myRecord() && myRecord()->isReady();
    if (leavingAsks(holdsCards, ready)) {
        askToLeaveTable();
        return;
    }
    progressLeaveBoard();
}

void GameCardView::onLeftTable() {
    hasLeft_ = true;
    stopTurnClock();
}

void GameCardView::progressLeaveBoard() {
    onLeftTable();
    GameTableView::progressLeaveBoard();
}

} // namespace kavo
