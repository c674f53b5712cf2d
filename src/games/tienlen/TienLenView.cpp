// The Tien Len table screen: set-up, seats, the start and the deal, my hand's layout.
// The touches and actions are in TienLenViewHand.cpp, the table events in
// TienLenViewEvents.cpp.
#include "games/tienlen/TienLenView.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/tienlen/CardUtils.h"
#include "games/tienlen/TienLenMessageHandler.h"
#include "games/tienlen/TienLenService.h"
#include "platform/runtime/Log.h"
#include "table/base/PlaySound.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/CardView.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/boardChat.h"

#include <algorithm>
#include <cmath>

namespace kavo {

namespace ui = platform::ui;

namespace {

constexpr int kHandSize = 13;
constexpr int kFaceDownTag = 52;

// The face-down places of the other seats, card k at (x + dx k, y + dy k) in phone
// points, and their turn.
struct FaceDownRow {
    double x, y, dx, dy, degrees;
};
constexpr FaceDownRow kFaceDown[4] = {
    {0, 0, 0, 0, 0}, {390, 115, 0, 6, -90}, {165, 95, 6, 0, 180}, {100, 115, 0, 6, 90}};

Resources& resources() {
    return Resources::getInstance();
}

} // namespace

TienLenView::TienLenView() : TienLenView(TienLenMessageHandler::kGameType, "KAVO_tienLen", TienLenTableRules{}) {}

TienLenView::TienLenView(int8_t gameType, std::string titleKey, TienLenTableRules rules)
    : GameCardView(gameType, std::move(titleKey)), rules_(rules) {}

// ---------------------------------------------------------------- the variant's engine

int TienLenView::combinationType(const std::vector<int8_t>& ascending) const {
    return CardUtils::getType(ascending);
}

bool TienLenView::beats(const std::vector<int8_t>& mine, int mineType, const std::vector<int8_t>& table,
                        int tableType) const {
    return CardUtils::available(mine.data(), int(mine.size()), mineType, table.data(), int(table.size()), tableType);
}

void TienLenView::autoSelectOn(SelectableHand& hand, const std::vector<int8_t>& table) const {
    CardUtils::autoSelect(table.empty() ? nullptr : table.data(), int(table.size()), hand);
}

void TienLenView::sendMove(const std::vector<uint8_t>& cards) const {
    TienLenService::getInstance().moveWithRoomId(roomId(), boardId(), cards);
}

void TienLenView::onMyTurnTimedOut() {
    TienLenService::getInstance().skipWithRoomId(roomId(), boardId());
}

void TienLenView::skipTurn() {
    setForceMove3Bich(false);
    onMyTurnTimedOut();
}

void TienLenView::requestMaxPlayers(int8_t max) {
    TienLenService::getInstance().setMaxPlayerWithRoomId(roomId(), boardId(), max);
}

// ---------------------------------------------------------------- lookups

bool TienLenView::isMe(int32_t id) const {
    auto me = UIController::myInfo();
    return me && me->IDDB() == id;
}

bool TienLenView::myTurn() const {
    return !isGameEnd() && isMe(currentPlayer());
}

std::shared_ptr<TienLenPlayer> TienLenView::recordAt(size_t index) const {
    return index < players().size() ? std::dynamic_pointer_cast<TienLenPlayer>(players()[index]) : nullptr;
}

std::shared_ptr<TienLenPlayer> TienLenView::myPlayer() const {
    return std::dynamic_pointer_cast<TienLenPlayer>(playerAtSeat(0));
}

std::vector<std::shared_ptr<CardView>> TienLenView::myHand() const {
    std::vector<std::shared_ptr<CardView>> hand;
    auto mine = myPlayer();
    if (!mine || !isMe(mine->IDDB()) || !mine->cards()) return hand;
    for (const auto& card : *mine->cards())
        if (auto view = std::dynamic_pointer_cast<CardView>(card)) hand.push_back(view);
    return hand;
}

int TienLenView::firstSeatOf(int32_t playerId) const {
    for (int s = 0; s < kSeats; ++s) {
        auto player = playerAtSeat(s);
        if (player && player->IDDB() == playerId) return s;
    }
    return -1;
}

std::string TienLenView::getPlayerNameFromID(int32_t playerId) const {
    for (const auto& player : players())
        if (player->IDDB() == playerId) return player->name();
    return "";
}

double TienLenView::handTop() const {
    const int gap = Util::isPad() ? rules_.handTopTabletGap : 5;
    return UIController::screenHeight() - CardView::cardHeight() - gap;
}

void TienLenView::refreshSeat(const std::shared_ptr<Player>& player) {
    const int seat = player ? getSeatFromID(player->IDDB()) : -1;
    if (seat >= 0) setSeatInfoWithSeat(seat, player);
}

// ---------------------------------------------------------------- set-up

void TienLenView::viewDidLoad() {
    GameCardView::viewDidLoad();
    offsetLeft_ = Util::isPad() ? 70 : 40;
    offsetRight_ = Util::isPad() ? 80 : 30;
    availableScreenWidth_ = UIController::screenWidth() - offsetLeft_ - offsetRight_;
    posXCard_ = offsetLeft_;
    selectedCards_.clear();
    waitToPlayNextSound_ = false;
    btnFire()->onTouchUpInside([this] { clickFire(); });
    btnSkip()->onTouchUpInside([this] { clickSkip(); });
    btnFire()->setHidden(true);
    btnSkip()->setHidden(true);
}

void TienLenView::resetView() {
    GameCardView::resetView();
    cancelDeal();
    setInterval(rules_.resetInterval);
    currentCardsValue_.clear();
    currentCards_.clear();
    cardShows_.clear();
    selectedCards_.clear();
    if (rules_.resetClearsCurrentPlayer) setCurrentPlayer(-1);
}

void TienLenView::setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                       const std::vector<std::shared_ptr<Player>>& players) {
    PlaySound::playSoundWithSource(resources().com_player_join_board());
    setIsMeNotExistPlayingBoard(true);
    GameCardView::setupPlayersWithRoom(roomId, boardId, ownerId, money, players);
    for (size_t i = 0; i < this->players().size(); ++i) {
        if (isMe(this->players()[i]->IDDB())) {
            setIndexOfMe(int(i));
            break;
        }
    }
    cardShows_.clear();
    for (size_t i = 0; i < this->players().size(); ++i)
        if (auto record = recordAt(i)) record->setCards(nullptr);
}

void TienLenView::setAtSeat(int index, const std::shared_ptr<TienLenPlayer>& player) {
    if (!player || index < 0 || size_t(index) >= players().size()) {
        platform::log("Tien Len: no place " + std::to_string(index) + " to sit at, dropped");
        return;
    }
    player->setIsFriend(resources().playerIsFriend(player->IDDB()) ? 1 : 0);
    player->setCards(nullptr);
    mutablePlayers()[size_t(index)] = player;
}

namespace {

bool seated(const std::shared_ptr<Player>& player) {
    return player && player->IDDB() != -1;
}

} // namespace

void TienLenView::resetSeat() {
    auto& map = seats();
    const int count = int(players().size());
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const auto& player = players()[size_t(i)];
        n += seated(player) ? 1 : 0;
        if (i < kSeats) unsetSeatInfoWithSeat(i);
        if (isMe(player->IDDB())) {
            map[0] = i;
            setSeatInfoWithSeat(0, player);
        }
    }
    if (count > 0) {
        for (int s = 1; s < kSeats; ++s) {
            map[size_t(s)] = map[size_t(s - 1)] + 1 >= count ? 0 : map[size_t(s - 1)] + 1;
            auto player = playerAtSeat(s);
            if (seated(player) && !isMe(player->IDDB())) setSeatInfoWithSeat(s, player);
        }
        if (n == 3) {
            // The three players take seats 0, 1 and 2.
            if (!seated(playerAtSeat(1))) {
                std::swap(map[1], map[2]);
                unsetSeatInfoWithSeat(2);
                if (seated(playerAtSeat(1))) setSeatInfoWithSeat(1, playerAtSeat(1));
            }
            if (!seated(playerAtSeat(2))) {
                std::swap(map[2], map[3]);
                unsetSeatInfoWithSeat(3);
                if (seated(playerAtSeat(2))) setSeatInfoWithSeat(2, playerAtSeat(2));
            }
        } else if (n == 2) {
            // The two players face each other.
            if (seated(playerAtSeat(1))) {
                std::swap(map[1], map[2]);
                unsetSeatInfoWithSeat(1);
                setSeatInfoWithSeat(2, playerAtSeat(2));
            } else if (seated(playerAtSeat(3))) {
                std::swap(map[2], map[3]);
                unsetSeatInfoWithSeat(3);
                setSeatInfoWithSeat(2, playerAtSeat(2));
            }
        }
    }
    paintOtherPlayerCards();
    setInvatingOnChair();
    for (int s = 0; s < kSeats; ++s)
        seat(s).btnPresent->setImage(Util::getImageWithName("tl_present.png"));
    for (int i = 0; i < std::min(count, kSeats); ++i)
        if (seated(players()[size_t(i)])) addGiftOnBoardWithPlayer(players()[size_t(i)]);
}

// ---------------------------------------------------------------- face-down hands

ui::Point TienLenView::otherSeatPlace(int seat, int k) const {
    const auto& row = kFaceDown[size_t(std::clamp(seat, 0, 3))];
    return Util::changePointFromPoint({row.x + row.dx * k, row.y + row.dy * k});
}

double TienLenView::otherSeatRotation(int seat) const {
    return kFaceDown[size_t(std::clamp(seat, 0, 3))].degrees * M_PI / 180.0;
}

void TienLenView::removeHandViews(const std::shared_ptr<Player>& player) {
    auto record = std::dynamic_pointer_cast<TienLenPlayer>(player);
    if (!record || !record->cards()) return;
    for (const auto& card : *record->cards())
        card->cardView().removeFromSuperview();
}

void TienLenView::paintOtherPlayerCards() {
    for (size_t i = 0; i < players().size(); ++i) {
        auto record = recordAt(i);
        if (!record) continue;
        if (record->IDDB() == -1) {
            if (rules_.clearEmptyChairHands) {
                removeHandViews(record);
                record->setCards(nullptr);
            }
            continue;
        }
        if (isMe(record->IDDB()) || !record->cards()) continue;
        removeHandViews(record);
        auto hand = std::make_shared<TienLenPlayer::Hand>();
        for (int k = 0; k < kHandSize; ++k)
            hand->push_back(CardView::baiTy());
        record->setCards(hand);
    }
    for (int s = 1; s < kSeats; ++s) {
        auto record = std::dynamic_pointer_cast<TienLenPlayer>(playerAtSeat(s));
        if (!record || record->IDDB() == -1 || isMe(record->IDDB()) || !record->cards()) continue;
        int k = 0;
        for (const auto& card : *record->cards()) {
            auto& view = card->cardView();
            view.setCenter(otherSeatPlace(s, k++));
            view.setTransform(ui::AffineTransform::rotation(otherSeatRotation(s)));
            this->view()->addSubview(view.shared_from_this());
        }
    }
}

// ---------------------------------------------------------------- the start and the deal

void TienLenView::cancelDeal() {
    ++dealChain_;
    if (dealTimer_) dealTimer_->invalidate();
    dealTimer_.reset();
}

void TienLenView::onLeftTable() {
    cancelDeal();
    GameCardView::onLeftTable();
}

void TienLenView::startWithWhoMoveFirst(int32_t whoMoveFirst, int interval, const std::vector<uint8_t>& myCards) {
    view();
    cancelDeal();
    Util::callRung();
    btnStart()->setHidden(true);
    for (const auto& part : {seat(0).btnSeat, seat(0).btnName, seat(0).btnMoney})
        part->setHidden(true);
    setIsMeNotExistPlayingBoard(false);
    indexCard_ = 0;
    posXCard_ = offsetLeft_;
    setIsStartGame(true);
    setIsGameEnd(false);
    forceMove3Bich_ = false;
    endPoint_ = {UIController::screenWidth() / 2.0, UIController::screenHeight() - 50.0};
    const bool holdsThree = std::find(myCards.begin(), myCards.end(), uint8_t(0)) != myCards.end();
    if (isFirstMatch_ && isMe(whoMoveFirst)) forceMove3Bich_ = holdsThree;
    if (rules_.startEndsFirstMatch) isFirstMatch_ = false;
    btnFire()->setHidden(false);
    btnSkip()->setHidden(false);
    cardShows_.clear();
    currentCardsType_ = -1;
    // What lay on the table belongs to the last match.
    currentCards_.clear();
    currentCardsValue_.clear();
    std::vector<uint8_t> sorted = myCards;
    std::sort(sorted.begin(), sorted.end(), [](uint8_t a, uint8_t b) { return int8_t(a) < int8_t(b); });
    for (size_t i = 0; i < players().size(); ++i) {
        auto record = recordAt(i);
        if (!record) continue;
        record->setFinishPosition(-1);
        record->setIsReady(0);
        if (isMe(record->IDDB())) {
            auto hand = std::make_shared<TienLenPlayer::Hand>();
            for (uint8_t id : sorted)
                hand->push_back(CardView::withCardID(int8_t(id)));
            removeHandViews(record);
            record->setCards(hand);
            seats()[0] = int(i);
            setSeatInfoWithSeat(0, record);
        } else if (record->IDDB() != -1) {
            removeHandViews(record);
            auto hand = std::make_shared<TienLenPlayer::Hand>();
            for (int k = 0; k < kHandSize; ++k)
                hand->push_back(CardView::baiTy());
            record->setCards(hand);
        }
    }
    resetSeat();
    showOKImageWithMode(0);
    setInterval(interval);
    setDieTime(interval);
    focusedCardIndex_ = 0;
    setCurrentPlayer(whoMoveFirst);
    setTurnButtons(isMe(whoMoveFirst));
    paintMyCards(true, false);
    setTimerWithSeat(getSeatFromID(currentPlayer()));
    schedulePlayerTime();
}

void TienLenView::paintMyCards(bool isChiaBai, bool isSapBai) {
    auto& root = *view();
    if (!isSapBai) {
        for (const auto& child : std::vector<ui::ViewPtr>(root.subviews())) {
            if (dynamic_cast<CardView*>(child.get()) && child->tag() != kFaceDownTag) child->removeFromSuperview();
        }
    }
    for (const auto& card : myHand()) {
        if (isChiaBai) {
            card->setIsSelected(false);
            card->setHidden(true);
        }
        root.addSubview(card);
        if (rules_.bubblesOverCards) root.bringSubviewToFront(chat(0).get());
    }
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    if (isChiaBai) {
        const uint64_t chain = dealChain_;
        platform::runOnMainThread([weak, chain] {
            if (auto self = std::dynamic_pointer_cast<TienLenView>(weak.lock())) self->chiaBaiWithCards(chain);
        });
    } else {
        platform::runOnMainThread([weak] {
            if (auto self = std::dynamic_pointer_cast<TienLenView>(weak.lock())) self->animateMyCards();
        });
    }
}

void TienLenView::chiaBaiWithCards(uint64_t chain) {
    if (chain != dealChain_) return;
    dealTimer_.reset();
    PlaySound::playSoundWithSource(resources().bai_chia_bai());
    const auto hand = myHand();
    const int count = int(hand.size());
    const int k = indexCard_;
    const int cw = CardView::cardWidth();
    const int ch = CardView::cardHeight();
    const int width = cw * count;
    int overlap = 0;
    if (k == 0) posXCard_ = offsetLeft_;
    if (width < availableScreenWidth_) {
        if (k == 0) posXCard_ += (availableScreenWidth_ - width) / 2;
    } else if (count > 0) {
        overlap = (width - availableScreenWidth_) / count;
    }
    if (k < count) {
        const auto& card = hand[size_t(k)];
        card->setHidden(false);
        const ui::Point target{posXCard_ + cw / 2.0, handTop() + ch / 2.0};
        ui::View::animate(rules_.dealFlight, 0, {}, [card, target] { card->setCenter(target); });
        int order = 0;
        for (int s = 1; s < kSeats; ++s) {
            auto record = std::dynamic_pointer_cast<TienLenPlayer>(playerAtSeat(s));
            if (!record || record->IDDB() == -1 || !record->cards() || size_t(k) >= record->cards()->size()) continue;
            ++order;
            auto faceDown = std::dynamic_pointer_cast<CardView>((*record->cards())[size_t(k)]);
            if (!faceDown) continue;
            view()->addSubview(faceDown);
            const ui::Point place = otherSeatPlace(s, k);
            const bool turn = s != 2 || rules_.rotateTopWhileDealt;
            const double angle = turn ? otherSeatRotation(s) : 0;
            ui::View::animate(rules_.dealFlight, rules_.dealStep * order, {}, [faceDown, place, angle] {
                faceDown->setCenter(place);
                faceDown->setTransform(ui::AffineTransform::rotation(angle));
            });
        }
        posXCard_ += cw - 2 - overlap;
        ++indexCard_;
        std::weak_ptr<ui::ViewController> weak = weak_from_this();
        dealTimer_ =
            platform::Timer::scheduled((order + 1) * rules_.dealStep + rules_.dealFlight, false, [weak, chain] {
                if (auto self = std::dynamic_pointer_cast<TienLenView>(weak.lock())) self->chiaBaiWithCards(chain);
            });
    } else {
        paintOtherPlayerCards();
        for (const auto& player : players())
            player->setIsReady(0);
    }
    bringOverlaysToFront();
}

void TienLenView::animateMyCards() {
    const auto hand = myHand();
    const int count = int(hand.size());
    const int cw = CardView::cardWidth();
    const int ch = CardView::cardHeight();
    double x = offsetLeft_;
    const int width = cw * count;
    int overlap = 0;
    if (width < availableScreenWidth_)
        x += (availableScreenWidth_ - width) / 2;
    else if (count > 0)
        overlap = (width - availableScreenWidth_) / count;
    const double top = handTop();
    for (const auto& card : hand) {
        const ui::Point centre{x + cw / 2.0, top + ch / 2.0 - (card->isSelected() ? 15 : 0)};
        card->setHidden(false);
        ui::View::animate(0.083, 0, {.curve = ui::AnimationCurve::EaseIn}, [card, centre] {
            card->setTransform(ui::AffineTransform::identity());
            card->setAlpha(1);
            card->setCenter(centre);
        });
        x += cw - 2 - overlap;
    }
    bringOverlaysToFront();
}

void TienLenView::bringOverlaysToFront() {
    auto& root = *view();
    // The play buttons stay above the hand so that they can be pressed.
    root.bringSubviewToFront(viewActions().get());
    // Start stands partly on the play buttons' row between hands: the row must not take its clicks.
    if (btnStart()->superview() == &root) root.bringSubviewToFront(btnStart().get());
    // The sheets and panels over the table stay above all this (TableRootView).
    root.bringSubviewToFront(viewPlayerMenu().get());
}

} // namespace kavo
