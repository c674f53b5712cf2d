// The Tien Len table screen: the events of a board as the logic handler reports them
// (moves, skips, refusals, finishes, shown hands, the stop, bonuses, ready marks, a new
// stake, departures) with their flights, sounds and texts.
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/tienlen/TienLenView.h"
#include "table/base/PlaySound.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/CardView.h"

#include <algorithm>

namespace kavo {

namespace ui = platform::ui;

namespace {

Resources& resources() {
    return Resources::getInstance();
}

std::vector<std::shared_ptr<CardView>> faceUp(const std::vector<uint8_t>& ids) {
    std::vector<std::shared_ptr<CardView>> cards;
    for (uint8_t id : ids) {
        auto card = CardView::withCardID(int8_t(id));
        card->setUserInteractionEnabled(false);
        cards.push_back(card);
    }
    return cards;
}

} // namespace

// ---------------------------------------------------------------- turns

void TienLenView::startTurnClock(bool fromEvent) {
    const bool noLength = rules_.twentyOnlyForZero ? interval() == 0 : interval() < 1;
    if (fromEvent && noLength) setInterval(20);
    setDieTime(interval());
    const int seat = firstSeatOf(currentPlayer());
    setTimerWithSeat(seat < 0 ? 4 : seat);
    schedulePlayerTime();
}

void TienLenView::moveWithPlayerId(int32_t playerId, const std::vector<uint8_t>& movedCards, int32_t nextMove) {
    view();
    if (isMeNotExistPlayingBoard()) {
        setIsGameEnd(false);
        setIsMeNotExistPlayingBoard(false);
        btnStart()->setHidden(true);
    }
    for (const auto& player : players()) {
        if (player->IDDB() == -1) continue;
        player->setIsReady(0);
        refreshSeat(player);
    }
    forceMove3Bich_ = false;
    if (isMe(playerId)) {
        auto mine = myPlayer();
        selectedCards_ = selectionIds();
        // The ids the server reports leave my hand, whatever is lifted now.
        if (mine && isMe(mine->IDDB())) mine->removeCards(movedCards);
        focusedCardIndex_ = 0;
        paintMyCards(false, false);
        setCurrentCards(movedCards, 0);
        // My own combination is not the one my next selection must beat.
        currentCardsValue_.clear();
    } else {
        const int seat = firstSeatOf(playerId);
        if (seat >= 0) setCurrentCards(movedCards, seat);
    }
    setCurrentPlayer(nextMove);
    if (isMe(nextMove)) Util::callRung();
    setTurnButtons(isMe(nextMove));
    startTurnClock(true);
}

void TienLenView::setCurrentCards(const std::vector<uint8_t>& ids, int seat) {
    for (const auto& card : currentCards_)
        card->removeFromSuperview();
    currentCards_ = faceUp(ids);
    currentCardsValue_ = ids;
    std::vector<int8_t> sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    currentCardsType_ = int8_t(combinationType(sorted));
    animateCards(currentCards_, seat, false);
    endPoint_ = {UIController::screenWidth() / 2.0, UIController::screenHeight() - 50.0};
}

ui::Point TienLenView::flightStart(int seat, bool shown) const {
    const double w = UIController::screenWidth();
    const double h = UIController::screenHeight();
    switch (seat) {
    case 0:
        return shown ? ui::Point{w / 2, h - 50 * Util::iPadY()} : endPoint_;
    case 1:
        return {w - 50 * Util::iPadX(), h / 2};
    case 2:
        return {w / 2 - 80 * Util::iPadX(), 50 * Util::iPadY()};
    case 3:
        return {50 * Util::iPadX(), h / 2};
    default:
        return {0, 0};
    }
}

void TienLenView::animateCards(const std::vector<std::shared_ptr<CardView>>& cards, int seat, bool shown) {
    auto& root = *view();
    if (!shown) PlaySound::playSoundWithSource(resources().bai_lat_bai());
    const ui::Point start = flightStart(seat, shown);
    const int step = int((shown ? 16 : 22) * Util::iPad());
    int offset = -step * (int(cards.size()) / 2);
    const double w = UIController::screenWidth();
    const double h = UIController::screenHeight();
    const double y = shown ? h / 2 - 20 * Util::iPadY() : h / 2 + 20;
    for (const auto& card : cards) {
        card->setCenter(start);
        if (shown) {
            root.insertSubviewBelow(card, btnStart()->superview() == &root ? btnStart().get() : viewActions().get());
            // A shown hand lands on the middle line, where the result bubbles stand.
            if (rules_.bubblesOverCards)
                for (int slot = 0; slot < 5; ++slot)
                    root.bringSubviewToFront(chat(slot).get());
        } else {
            const auto& all = root.subviews();
            if (all.empty())
                root.addSubview(card);
            else
                root.insertSubviewBelow(card, all.back().get());
            if (rules_.bubblesOverCards)
                for (int slot = 0; slot < 5; ++slot)
                    root.bringSubviewToFront(chat(slot).get());
        }
        const ui::Point target{w / 2 + offset, y};
        ui::View::animate(0.2, 0, {.curve = ui::AnimationCurve::EaseIn}, [card, target] { card->setCenter(target); });
        card->setUserInteractionEnabled(false);
        offset += step;
    }
    bringOverlaysToFront();
}

void TienLenView::skipWithWho(int32_t who, int32_t nextMove, bool isClearCurrentCards) {
    view();
    int slot = 4;
    if (isMe(who)) {
        paintMyCards(false, true);
        slot = 0;
    } else if (const int seat = firstSeatOf(who); seat >= 0) {
        slot = seat;
    }
    showChatWithSeat(slot, getPlayerNameFromID(who).empty() ? text("KAVO_exitBoard") : text("KAVO_skip"));
    setCurrentPlayer(nextMove);
    if (isClearCurrentCards) {
        for (const auto& card : currentCards_)
            card->removeFromSuperview();
        currentCards_.clear();
        currentCardsType_ = -1;
    }
    if (isMe(nextMove)) Util::callRung();
    setTurnButtons(isMe(nextMove));
    startTurnClock(true);
}

void TienLenView::moveErrorWithInfo(const std::string& info) {
    view();
    Util::callRung();
    if (auto me = UIController::myInfo()) setCurrentPlayer(me->IDDB());
    setTurnButtons(true);
    showChatWithSeat(0, info);
}

void TienLenView::finishWithWho(int32_t who, int position, int32_t, int32_t exp) {
    view();
    Util::callRung();
    const int seat = firstSeatOf(who);
    if (seat >= 0) {
        auto player = playerAtSeat(seat);
        player->setFinishPosition(int8_t(position));
        player->setIsReady(0);
        player->setExp(std::max(0, player->exp() + exp));
        setSeatInfoWithSeat(seat, player);
        setImagePositionWithPosition(position, seat);
        removeHandViews(player);
    }
    showChatWithSeat(seat < 0 ? 4 : seat, text("KAVO_goad") + " " + std::to_string(position + 1));
    if (isMe(who)) showMySeat();
}

void TienLenView::showMySeat() {
    for (const auto& part : {seat(0).btnSeat, seat(0).btnName, seat(0).btnMoney})
        part->setHidden(false);
}

void TienLenView::showCardsWithWho(int32_t who, std::vector<uint8_t> cards) {
    view();
    std::sort(cards.begin(), cards.end(), [](uint8_t a, uint8_t b) { return int8_t(a) < int8_t(b); });
    cardShows_ = faceUp(cards);
    if (isMe(who)) {
        for (const auto& child : std::vector<ui::ViewPtr>(view()->subviews())) {
            auto card = std::dynamic_pointer_cast<CardView>(child);
            if (!card || std::find(currentCards_.begin(), currentCards_.end(), card) != currentCards_.end()) continue;
            if (std::find(cards.begin(), cards.end(), uint8_t(card->tag())) != cards.end()) card->removeFromSuperview();
        }
    }
    for (int s = 0; s < kSeats && size_t(s) < players().size(); ++s) {
        auto record = std::dynamic_pointer_cast<TienLenPlayer>(playerAtSeat(s));
        if (!record || record->IDDB() != who) continue;
        if (record->cards() && !record->cards()->empty()) {
            removeHandViews(record);
            record->cards()->clear();
        }
        animateCards(cardShows_, s, true);
        return;
    }
}

void TienLenView::stopGame() {
    view();
    cancelDeal();
    Util::callRung();
    setCurrentPlayer(-1);
    showMySeat();
    for (const auto& button : {btnFire(), btnSkip(), btnAutoSelected()})
        button->setHidden(true);
    stopTurnClock();
    setIsStartGame(false);
    setIsGameEnd(true);
    if (auto me = UIController::myInfo()) me->setIsReady(isMe(ownerId()) ? 1 : 0);
    setTimerWithSeat(-1);
    for (size_t i = 0; i < players().size(); ++i) {
        auto record = recordAt(i);
        if (!record) continue;
        removeHandViews(record);
        record->setCards(nullptr);
    }
    setKindOfStart(kContinue);
}

void TienLenView::resetCard(bool clearCards) {
    view();
    cancelDeal();
    showOKImageWithMode(2);
    setKindOfStart(isMe(ownerId()) ? kStart : kReady);
    if (clearCards) {
        for (const auto& child : std::vector<ui::ViewPtr>(view()->subviews()))
            if (dynamic_cast<CardView*>(child.get())) child->removeFromSuperview();
    }
    for (int s = 0; s < kSeats; ++s)
        seat(s).position->setImage(nullptr);
    currentCardsType_ = -1;
    focusedCardIndex_ = -1;
    selectedCards_.clear();
    selectedCardsType_ = -1;
    cardShows_.clear();
    if (auto mine = myPlayer(); mine && isMe(mine->IDDB())) mine->setCards(nullptr);
}

void TienLenView::showHandAmount(const std::shared_ptr<Player>& player, int64_t /*amount*/) {
    view();
    if (!waitToPlayNextSound_) {
        PlaySound::playSoundWithSource(resources().com_trung_tien());
        waitToPlayNextSound_ = true;
        std::weak_ptr<ui::ViewController> weak = weak_from_this();
        soundTimer_ = platform::Timer::scheduled(1.5, false, [weak] {
            if (auto self = std::dynamic_pointer_cast<TienLenView>(weak.lock())) self->waitToPlayNextSound_ = false;
        });
    }
    const int seat = firstSeatOf(player->IDDB());
    if (seat >= 0) setSeatInfoWithSeat(seat, playerAtSeat(seat));
}

void TienLenView::setReadyWithPlayerId(int32_t playerId, bool isReady) {
    view();
    Util::callRung();
    PlaySound::playSoundWithSource(isReady ? resources().com_ready() : resources().com_no_ready());
    for (const auto& player : players())
        if (player->IDDB() == playerId) player->setIsReady(isReady ? 1 : 0);
    if (isMe(playerId)) {
        if (rules_.readySetsMyInfo) UIController::myInfo()->setIsReady(isReady ? 1 : 0);
        setKindOfStart(isReady ? kNoReady : kReady);
    }
}

void TienLenView::setMoneyOnBoard(int32_t money) {
    view();
    resetCard(true);
    btnCuoc()->setTitle(Util::formatNumber(money) + " Zel");
    for (int s = 0; s < kSeats; ++s) {
        auto player = playerAtSeat(s);
        if (!player || player->IDDB() == -1 || player->IDDB() == ownerId()) continue;
        player->setIsReady(0);
        setSeatInfoWithSeat(s, player);
    }
    setKindOfStart(isMe(ownerId()) ? kStart : kReady);
}

void TienLenView::playerLeaveWithId(int32_t playerId) {
    view();
    PlaySound::playSoundWithSource(resources().com_player_leave_board());
    for (const auto& player : players()) {
        if (player->IDDB() != playerId) continue;
        auto record = std::dynamic_pointer_cast<TienLenPlayer>(player);
        removeHandViews(player);
        player->setIDDB(-1);
        player->setName("");
        player->setExp(0);
        player->setIsReady(0);
        player->setIsFriend(0);
        if (record) record->setCards(nullptr);
        break;
    }
}

} // namespace kavo
