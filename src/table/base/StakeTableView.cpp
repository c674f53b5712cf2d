#include "table/base/StakeTableView.h"

#include "account/ProfileSubView.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/runtime/Log.h"
#include "platform/ui/Font.h"
#include "portal/GlobalService.h"
#include "table/base/PlaySound.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/BCCardView.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/boardChat.h"

namespace kavo {

namespace {

int32_t myId() {
    return UIController::myInfo()->IDDB();
}

// The stake labels of seats 1, 2 and 3 on the phone.
constexpr double kStakeLabels[][4] = {{360, 95, 120, 20}, {95, 45, 120, 20}, {0, 95, 120, 20}};

} // namespace

StakeTableView::StakeTableView(int8_t gameType, std::string titleKey) : GameCardView(gameType, std::move(titleKey)) {}

StakeTableView::~StakeTableView() {
    for (auto& timer : timers_)
        if (timer) timer->invalidate();
}

void StakeTableView::viewDidLoad() {
    GameCardView::viewDidLoad();
    for (int s = 1; s < kSeats; ++s) {
        auto label = platform::ui::Label::make(Util::changeRectFromRect(
            {kStakeLabels[s - 1][0], kStakeLabels[s - 1][1], kStakeLabels[s - 1][2], kStakeLabels[s - 1][3]}));
        label->setAccessibilityIdentifier("lblCuoc" + std::to_string(s));
        label->setBackgroundColor(platform::ui::Color::clear());
        label->setTextColor(platform::ui::Color::white());
        label->setFont(platform::ui::Font::boldSystem(15 * Util::iPad()));
        label->setTextAlignment(platform::ui::TextAlignment::Center);
        label->setHidden(true);
        view()->addSubview(label);
        lblCuoc_[size_t(s)] = label;
    }
    // No turn is ever skipped at these tables; peeking, turning and standing come with a
    // deal, so none of them stands beside Start before one.
    btnSkip()->setHidden(true);
    btnFire()->setHidden(true);
    btnAutoSelected()->setHidden(true);
    const auto board = imgBoard() ? imgBoard()->center() : platform::ui::Point{0, 0};
    // Escape puts a peek away unlooked: the card goes home face down, and nothing is turned,
    // sent or counted (Xi Zach's own end of a peek turns the card).
    peek_.load(myId(), {board.x, board.y + 20}, view()->frame(), [this](const std::shared_ptr<BCCardView>& card) {
        peek_.end(card, [this] { bringOverlaysToFront(); });
    });
}

std::shared_ptr<platform::Timer> StakeTableView::afterDelay(double seconds,
                                                            std::function<void(StakeTableView&)> action) {
    std::erase_if(timers_, [](const auto& timer) { return !timer || !timer->isValid(); });
    std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
    const uint64_t made = generation_;
    auto timer = platform::Timer::scheduled(seconds, false, [weak, made, action] {
        auto self = std::dynamic_pointer_cast<StakeTableView>(weak.lock());
        if (self && self->generation_ == made) action(*self);
    });
    timers_.push_back(timer);
    return timer;
}

void StakeTableView::newGeneration() {
    ++generation_;
    for (auto& timer : timers_)
        if (timer) timer->invalidate();
    timers_.clear();
    dealer_.cancel();
    peek_.cancel();
}

void StakeTableView::resetView() {
    newGeneration();
    peek_.dismiss();
    stopTurnClock();
    GameCardView::resetView();
}

void StakeTableView::onLeftTable() {
    newGeneration();
    peek_.dismiss();
    GameCardView::onLeftTable();
}

void StakeTableView::setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                          const std::vector<std::shared_ptr<Player>>& players) {
    PlaySound::playSoundWithSource(Resources::getInstance().com_player_join_board());
    GameCardView::setupPlayersWithRoom(roomId, boardId, ownerId, money, players);
}

// ---------------------------------------------------------------- seats

void StakeTableView::assignSeatsFromMine() {
    const int count = int(players().size());
    if (count == 0) return;
    auto& map = seats();
    for (int s = 1; s < kSeats; ++s)
        map[size_t(s)] = (map[size_t(s - 1)] + 1) % count;
}

void StakeTableView::resetSeat() {
    const auto& list = players();
    for (size_t i = 0; i < list.size(); ++i) {
        if (int(i) < kSeats) unsetSeatInfoWithSeat(int(i));
        if (list[i]->IDDB() == myId()) {
            seats()[0] = int(i);
            setSeatInfoWithSeat(0, list[i]);
        }
    }
    assignSeatsFromMine();
    for (int s = 1; s < kSeats; ++s) {
        auto player = playerAtSeat(s);
        if (player && player->IDDB() != -1)
            setSeatInfoWithSeat(s, player);
        else
            unsetSeatInfoWithSeat(s);
    }
    setInvatingOnChair();
    for (int s = 0; s < kSeats; ++s)
        seat(s).btnPresent->setImage(Util::getImageWithName(Player::kDefaultGiftImage));
    for (size_t i = 0; i < list.size() && i < size_t(kSeats); ++i)
        if (list[i]->IDDB() != -1) addGiftOnBoardWithPlayer(list[i]);
}

void StakeTableView::setAtSeat(int place, const std::shared_ptr<Player>& player) {
    auto& list = mutablePlayers();
    if (!player || place < 0 || size_t(place) >= list.size()) {
        platform::log("stake table: no place " + std::to_string(place) + " for a player, dropped");
        return;
    }
    player->setIsFriend(Resources::getInstance().playerIsFriend(player->IDDB()) ? 1 : 0);
    list[size_t(place)] = player;
}

void StakeTableView::playerLeaveWithId(int32_t playerId) {
    PlaySound::playSoundWithSource(Resources::getInstance().com_player_leave_board());
    for (const auto& player : players()) {
        if (player->IDDB() != playerId) continue;
        player->setIDDB(-1);
        player->setName("");
        player->setExp(0);
        player->setIsReady(0);
        player->setIsFriend(0);
        break;
    }
    if (isGameEnd()) removeCardViews();
}

void StakeTableView::setSeatInfoWithSeat(int s, const std::shared_ptr<Player>& player) {
    GameCardView::setSeatInfoWithSeat(s, player);
    if (s >= 1 && s < kSeats && player) lblCuoc_[size_t(s)]->setHidden(player->IDDB() == ownerId());
}

void StakeTableView::unsetSeatInfoWithSeat(int s) {
    GameCardView::unsetSeatInfoWithSeat(s);
    if (s >= 1 && s < kSeats && lblCuoc_[size_t(s)]) lblCuoc_[size_t(s)]->setHidden(true);
}

// ---------------------------------------------------------------- ready, start

void StakeTableView::setReadyWithPlayerId(int32_t playerId, bool ready) {
    Util::callRung();
    auto& resources = Resources::getInstance();
    PlaySound::playSoundWithSource(ready ? resources.com_ready() : resources.com_no_ready());
    const bool mine = playerId == myId();
    if (mine) UIController::myInfo()->setIsReady(ready ? 1 : 0);
    for (const auto& player : players())
        if (player->IDDB() == playerId) player->setIsReady(ready ? 1 : 0);
    if (mine) setKindOfStart(ready ? kNoReady : kReady);
}

void StakeTableView::doStartGame() {
    int ready = 0;
    int notReady = 0;
    for (const auto& player : players()) {
        if (player->IDDB() == -1 || player->IDDB() == myId()) continue;
        (player->isReady() ? ready : notReady) += 1;
    }
    if (ready >= 1 && notReady == 0) {
        if (int64_t(money()) <= UIController::myInfo()->money())
            GlobalService::getInstance().startGameWithRoomId(roomId(), boardId());
        else
            UIController::showNotice(text("KAVO_koDuTienCuoc"));
        return;
    }
    UIController::showNotice(text("KAVO_cannotStart"));
}

void StakeTableView::doReady() {
    GameCardView::doReady();
    removeCardViews();
}

void StakeTableView::resetCard(bool clearCards) {
    showOKImageWithMode(2);
    setKindOfStart(ownerId() == myId() ? kStart : kReady);
    if (clearCards) removeCardViews();
    if (auto mine = cardPlayer(myRecord())) mine->setCards(nullptr);
}

void StakeTableView::resetReady() {
    for (const auto& player : players())
        player->setIsReady(0);
    if (!isGameEnd()) return;
    // The start button comes back a moment later, on the main loop: nothing waits.
    afterDelay(0.1, [](StakeTableView& self) { self.setKindOfStart(self.ownerId() == myId() ? kStart : kReady); });
}

// ---------------------------------------------------------------- stakes and money

std::string StakeTableView::myStakeText(int32_t money) const {
    return Util::formatNumber(money) + " " + text("KAVO_zel");
}

void StakeTableView::setMoneyOnBoard(int32_t money, int32_t playerId) {
    PlaySound::playSoundWithSource(Resources::getInstance().com_dat_tien());
    const std::string amount = Util::formatNumber(money) + " " + text("KAVO_zel");
    for (int s = 0; s < kSeats; ++s) {
        auto player = playerAtSeat(s);
        if (!player || player->IDDB() != playerId || player->IDDB() == ownerId()) continue;
        if (s == 0)
            btnCuoc()->setTitle(myStakeText(money));
        else
            lblCuoc_[size_t(s)]->setText(amount);
        setSeatInfoWithSeat(s, player);
    }
}

void StakeTableView::showHandAmount(const std::shared_ptr<Player>& player, int64_t /*amount*/) {
    const int s = getSeatFromID(player->IDDB());
    if (s >= 0) setSeatInfoWithSeat(s, player);
}

void StakeTableView::playingWithInterval(int, int) {
    setIsGameEnd(false);
    showChatWithSeat(4, text("KAVO_playingBoard"));
    btnFire()->setHidden(true);
    for (const auto& player : players()) {
        player->setIsReady(0);
        const int s = getSeatFromID(player->IDDB());
        if (player->IDDB() != -1 && s >= 0) setSeatInfoWithSeat(s, player);
    }
}

// ---------------------------------------------------------------- hands

std::shared_ptr<TienLenPlayer> StakeTableView::cardPlayer(const std::shared_ptr<Player>& player) {
    return std::dynamic_pointer_cast<TienLenPlayer>(player);
}

std::vector<std::shared_ptr<BCCardView>> StakeTableView::handOf(const std::shared_ptr<Player>& player) {
    std::vector<std::shared_ptr<BCCardView>> hand;
    auto record = cardPlayer(player);
    if (!record || !record->cards()) return hand;
    for (const auto& card : *record->cards())
        if (auto bc = std::dynamic_pointer_cast<BCCardView>(card)) hand.push_back(bc);
    return hand;
}

std::shared_ptr<BCCardView> StakeTableView::cardToDeal(int seat, int index) const {
    auto player = playerAtSeat(seat);
    if (!player || player->IDDB() == -1 || index < 0) return nullptr;
    const auto hand = handOf(player);
    return size_t(index) < hand.size() ? hand[size_t(index)] : nullptr;
}

void StakeTableView::removeCardViews() {
    for (const auto& child : std::vector<platform::ui::ViewPtr>(view()->subviews()))
        if (dynamic_cast<BCCardView*>(child.get()) && child != peek_.cover()) child->removeFromSuperview();
}

void StakeTableView::bringOverlaysToFront() {
    auto& root = *view();
    // The play buttons stay above the cards of my hand, which reach down to them.
    if (viewActions() && viewActions()->superview() == &root) root.bringSubviewToFront(viewActions().get());
    for (int slot = 0; slot < 5; ++slot)
        if (chat(slot) && chat(slot)->superview() == &root) root.bringSubviewToFront(chat(slot).get());
    auto front = [&root](const platform::ui::ViewPtr& part) {
        if (part && part->superview() == &root) root.bringSubviewToFront(part.get());
    };
    // The sheets and panels over the table stay above all this (TableRootView).
    front(viewPlayerMenu());
}

} // namespace kavo
