// The turn of the Phom table: the deal start, my actions and the server's turn events.
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/phom/PhomNewService.h"
#include "games/phom/PhomNewView.h"
#include "platform/runtime/Log.h"
#include "portal/GlobalService.h"

#include <algorithm>

namespace kavo {

namespace {

bool isSeat(int seat) {
    return seat >= 0 && seat < GameCardView::kSeats;
}

// Phom keeps a turn of 30 s where the server gives none.
constexpr int kDefaultInterval = 30;

} // namespace

void PhomNewView::reset() {
    newGeneration();
    placeBubbles(false);
    cardInFlight_ = -1;
    setCurrentPlayer(-1);
    setIsStartGame(false);
    setDieTime(30);
    isDoFire_ = false;
    isEatTouch_ = false;
    upCard_.assign(myCards_.size(), -1);
    if (cardLayer_) cardLayer_->removeAllSubviews();
    for (size_t i = 0; i < players().size(); ++i)
        if (auto player = tienLenPlayer(i); player && player->cards()) player->setCards(nullptr);
    selectCard_ = 0;
    cardCurrent_ = -1;
    fire_ = false;
    for (size_t s = 0; s < size_t(kSeats); ++s) {
        playersFiredCards_[s].clear();
        playersPhomCards_[s].clear();
        playersCards_[s].clear();
        cardShow_[s].fill(-1);
        showCardEat_[s].fill(-1);
        showHaPhom_[s].fill(-1);
        cardRac_[s].fill(-1);
    }
    scorePlayer_.fill(-1);
    xxx_.fill(-1);
    numC_.fill(0);
    numCardEat_.fill(0);
    numCardPhom_.fill(0);
    numberCard_.fill(0);
    numPhom_ = 0;
    tags_.reset();
    finish_ = false;
    winer_ = -1;
    isU_ = isHaPhom_ = false;
    denBai_ = -1;
    firstHa_ = -1;
    isEatCard_ = notPlay_ = false;
    pos_ = -2;
    isGetCard_ = false;
    endingPlayer_ = -1;
    waitToPlayNextSound_ = false;
    indexOfCard2_ = -1;
    toMove_.reset();
    cardP_.clear();
}

// ---------------------------------------------------------------- the deal start

void PhomNewView::start(int interval, const std::vector<int8_t>& cards, int32_t firstMove, int32_t) {
    reset();
    Util::callRung();
    btnBaiTy_->setHidden(false);
    btnStart()->setHidden(true);
    seat(0).btnSeat->setHidden(true);
    seat(0).btnName->setHidden(true);
    seat(0).btnMoney->setHidden(true);
    setIsMeNotExistPlayingBoard(false);

    setCurrentPlayer(firstMove);
    firstHa_ = firstPlayer_ = firstMove;
    setInterval(interval);
    setIsStartGame(true);
    indexCard_ = 0;
    posXCard_ = offsetLeft_;
    isGameBegin_ = true;
    waitingChiaBai_ = true;
    setIsGameEnd(false);
    selectCard_ = 0;

    if (isMe(firstMove))
        setCmdFire();
    else
        resetCmd();

    myCards_.clear();
    for (int8_t id : cards)
        myCards_.push_back(CardViewPhom::withCardID(id, true, 0));
    for (size_t i = 0; i < players().size(); ++i) {
        auto player = tienLenPlayer(i);
        if (!player) continue;
        player->setFinishPosition(-1);
        if (isMe(player->IDDB())) {
            player->setCards(std::make_shared<TienLenPlayer::Hand>(myCards_.begin(), myCards_.end()));
            seats()[0] = int(i);
            setIndexOfMe(int(i));
            setSeatInfoWithSeat(0, player);
        } else if (player->IDDB() != -1) {
            player->setCards(std::make_shared<TienLenPlayer::Hand>(
                TienLenPlayer::Hand{CardViewPhom::withCardID(-1, true, player->IDDB())}));
        }
    }
    intelligentSort();
    paintMyCards(myCards_);
    sendMeldGrouping();
    showOKImageWithMode(0);
    setDieTime(interval);
    focusedCardIndex_ = 0;
    setTimerWithSeat(getSeatFromID(firstMove));
    if (cmdState_ == kCmdNone) btnAutoSelected()->setHidden(true);
    schedulePlayerTime();
}

// ---------------------------------------------------------------- fired, eaten, skipped

PhomNewView::CardList PhomNewView::firedRowViews(int seat) const {
    CardList row;
    if (!isSeat(seat)) return row;
    for (int card : cardShow_[size_t(seat)])
        if (card != -1) row.push_back(CardViewPhom::withCardID(int8_t(card), true, getIDAtSeat(seat)));
    return row;
}

void PhomNewView::onFire(int32_t firedBy, int32_t next, int8_t card, int slot) {
    eatCardID_ = card;
    setCurrentPlayer(next);
    const int f = getSeatFromID(firedBy);
    if (f == -1) {
        platform::log("Phom table: a fire by a player without a seat, dropped");
        return;
    }
    if (slot < 0 || slot > 3) {
        platform::log("Phom table: a fire into slot " + std::to_string(slot) + ", no row changed");
        return;
    }
    if (isMe(next)) {
        const int free = getAssetArray(cardShow_[0].data(), 4);
        if (free != -1 && free <= 3) setCmdEatAndGet();
        Util::callRung();
        imgNextMe_->setHidden(false);
        animationWhenNextIsMe();
    }
    cardCurrent_ = card;
    firstPlayer_ = firedBy;
    numberCard_[size_t(f)] = int8_t(slot);
    fire_ = true;
    ++numC_[size_t(f)];
    cardRac_[size_t(f)][size_t(slot)] = card;
    cardShow_[size_t(f)][size_t(slot)] = card;
    // The row up to the new slot; the newest card starts where it came from.
    CardList row;
    for (int i = 0; i <= slot; ++i)
        if (cardShow_[size_t(f)][size_t(i)] != -1)
            row.push_back(CardViewPhom::withCardID(int8_t(cardShow_[size_t(f)][size_t(i)]), true, firedBy));
    if (isMe(firedBy)) {
        baiPost_ = startPointOfSeat(0, card);
        // The rest of the fired card's meld goes loose: two cards left with a tag would
        // be reported as a meld with whatever card follows them.
        for (const auto& held : myCards_)
            if (held->cardID() == card && held->phom() != 0) clearPhomMove(held->phom());
        cardInFlight_ = -1;
        removeCards(card);
        intelligentSort();
        if (!myCards_.empty()) paintMyCards(myCards_);
        resetCmd();
    } else if (!row.empty()) {
        row.back()->setCenter(startPointOfSeat(f, card));
    }
    paintFiredCards(row, f);
    if (interval() < 1) setInterval(kDefaultInterval);
    setDieTime(interval());
    setTimerWithSeat(getSeatFromID(next));
    if (cmdState_ == kCmdNone) btnAutoSelected()->setHidden(true);
    schedulePlayerTime();
}

void PhomNewView::onEatCard(bool isEat, int, int32_t firHa, int nCard) {
    const int e = getSeatFromID(currentPlayer());
    const int f = getSeatFromID(firstPlayer_);
    const int h = getSeatFromID(firstHa_);
    if (e == -1) {
        platform::log("Phom table: an eat by a player without a seat, dropped");
        return;
    }
    const bool mine = isMe(currentPlayer());
    if (!isEat) {
        if (mine) {
            refuse("KAVO_notPhom");
            setCmdEatAndGet();
            lowerAndRepaint();
        }
        return;
    }
    if (isSeat(f)) {
        auto& fired = cardShow_[size_t(f)];
        const size_t taken = size_t(numberCard_[size_t(f)]);
        fired[taken] = -1;
        if (f != h && isSeat(h)) {
            // The first to lay's last discard moves into the emptied slot.
            auto& first = cardShow_[size_t(h)];
            fired[taken] = first[size_t(numberCard_[size_t(h)])];
            first[size_t(numberCard_[size_t(h)])] = -1;
        }
    }
    firstHa_ = firHa;
    if (isSeat(h)) {
        if (nCard >= 0 && nCard <= 3) numberCard_[size_t(h)] = int8_t(nCard);
        numC_[size_t(e)] = numberCard_[size_t(e)];
        numC_[size_t(h)] = numberCard_[size_t(h)];
    }
    const int8_t tag = tags_.next(meldHand());
    auto eaten = CardViewPhom::withCardID(int8_t(cardCurrent_), true, currentPlayer());
    eaten->setIsFix(true);
    eaten->setIsPhom(true);
    ++numCardEat_[size_t(e)];
    if (mine) {
        imgNextMe_->setHidden(true);
        isEatCard_ = false;
        ++numPhom_;
        const auto shown = std::count_if(cardShow_[0].begin(), cardShow_[0].end(), [](int c) { return c != -1; });
        if (shown == 3)
            setcmdHaPhom();
        else
            setCmdFire();
        for (size_t k = cardToEat_.size(); k-- > 0;) {
            if (cardToEat_[k] == -1) continue;
            for (const auto& card : myCards_) {
                if (card->cardID() != cardToEat_[k]) continue;
                if (card->phom() != 0) {
                    const int8_t old = card->phom();
                    for (const auto& other : myCards_)
                        if (other != card && other->phom() == old) other->setPhom(0);
                }
                card->setPhom(tag);
            }
        }
        eaten->setPhom(tag);
        baiPost_ = eaten->center();
        myCards_.push_back(eaten);
        intelligentSort();
        paintMyCards(myCards_);
    }
    auto& eatenRow = showCardEat_[size_t(e)];
    const int free = getAssetArray(eatenRow.data(), 3);
    if (free != -1)
        eatenRow[size_t(free)] = cardCurrent_;
    else
        platform::log("Phom table: the eaten row of seat " + std::to_string(e) + " is full");
    if (isSeat(f)) paintChuyenBaiRacCards(firedRowViews(f), f);
    if (isSeat(h) && h != f) paintChuyenBaiRacCards(firedRowViews(h), h);
    if (!mine) {
        CardList eatenViews;
        for (int card : eatenRow)
            if (card != -1) eatenViews.push_back(CardViewPhom::withCardID(int8_t(card), true, currentPlayer()));
        paintXXXCards(eatenViews, e);
    }
    resetUpCard();
    for (int s = 0; s < kSeats; ++s)
        paintFiredCards(firedRowViews(s), s);
}

void PhomNewView::onSkipPlayer(int32_t next, int32_t firHa) {
    const int seat = getSeatFromID(next);
    if (seat == -1) {
        platform::log("Phom table: a turn passed to a player without a seat, dropped");
        return;
    }
    setCurrentPlayer(next);
    firstHa_ = firHa;
    if (isMe(next)) {
        setCmdEatAndGet();
        imgNextMe_->setHidden(false);
        animationWhenNextIsMe();
    }
    if (interval() < 1) setInterval(kDefaultInterval);
    setDieTime(interval());
    setTimerWithSeat(seat);
    if (cmdState_ == kCmdNone) btnAutoSelected()->setHidden(true);
    schedulePlayerTime();
}

void PhomNewView::animationWhenNextIsMe() {
    if (nextMeTimer_) nextMeTimer_->invalidate();
    nextMeTimer_.reset();
    if (!isMe(currentPlayer())) {
        imgNextMe_->setHidden(true);
        return;
    }
    // Up to 40 points above the stock, down to 20, and again while my turn lasts.
    const auto stock = btnBaiTy_->center();
    auto marker = imgNextMe_;
    platform::ui::View::animate(0.4, [marker, stock] { marker->setCenter({stock.x, stock.y - 40}); });
    nextMeTimer_ = later(0.4, [marker, stock](PhomNewView& self) {
        if (!self.isMe(self.currentPlayer())) {
            marker->setHidden(true);
            return;
        }
        platform::ui::View::animate(0.4, [marker, stock] { marker->setCenter({stock.x, stock.y - 20}); });
        self.nextMeTimer_ = self.later(0.4, [](PhomNewView& again) { again.animationWhenNextIsMe(); });
    });
}

// ---------------------------------------------------------------- my actions

void PhomNewView::doEat() {
    getCardsUp();
    getCheckCard();
    if (unableToEat()) {
        refuse("KAVO_invalidCard");
        paintMyCards(myCards_);
        return;
    }
    cardToEat_.fill(-1);
    size_t raised = 0;
    for (const auto& card : myCards_) {
        if (!card->isSelected()) continue;
        if (raised == cardToEat_.size()) {
            lowerAndRepaint();
            isEatCard_ = true;
            refuse("KAVO_selectTooCards");
            return;
        }
        cardToEat_[raised++] = card->cardID();
    }
    if (raised < 2) {
        lowerAndRepaint();
        refuse("KAVO_selectMin2Cards");
        isEatCard_ = true;
        return;
    }
    if (raised > 2) {
        lowerAndRepaint();
        refuse("KAVO_invalidCard");
        return;
    }
    for (const auto& card : myCards_) {
        if (card->isSelected() && card->phom() != 0 && isPhomAn(card->phom())) {
            lowerAndRepaint();
            isEatCard_ = true;
            refuse("KAVO_invalidCard");
            return;
        }
    }
    lowerAndRepaint();
    PhomNewService::getInstance().eatCard(roomId(), boardId(), cardToEat_[0], cardToEat_[1], eatCardID_);
    sendMeldGrouping();
}

void PhomNewView::doFire() {
    isDoFire_ = false;
    getCardsUp();
    int raised = 0;
    CardPtr chosen;
    for (const auto& card : myCards_) {
        if (!card->isSelected()) continue;
        ++raised;
        chosen = card;
    }
    if (raised == 0) {
        isDoFire_ = true;
        refuse("KAVO_yetSellectCard");
        return;
    }
    if (raised > 1) {
        isDoFire_ = true;
        lowerAndRepaint();
        refuse("KAVO_canYouOnceOnly");
        return;
    }
    if (chosen->phom() != 0 && isPhomAn(chosen->phom())) {
        isDoFire_ = true;
        lowerAndRepaint();
        return;
    }
    resetCmd();
    // The meld of the fired card is broken, the card itself included: a tag left on it
    // would make the next meld list send it with the two cards after it as a meld.
    if (chosen->phom() != 0) clearPhomMove(chosen->phom());
    cardInFlight_ = chosen->cardID();
    PhomNewService::getInstance().fire(roomId(), boardId(), chosen->cardID());
    intelligentSort();
}

void PhomNewView::doHaPhom() {
    if (!isMe(currentPlayer())) {
        refuse("KAVO_waitToCurrent");
        return;
    }
    resetCmd();
    PhomNewService::getInstance().haPhom(roomId(), boardId(), meldHand());
}

void PhomNewView::doAddCard() {
    if (!isMe(currentPlayer())) {
        refuse("KAVO_waitToCurrent");
        return;
    }
    std::vector<int8_t> raised, all;
    for (const auto& card : myCards_) {
        all.push_back(card->cardID());
        if (card->isSelected()) raised.push_back(card->cardID());
    }
    PhomNewService::getInstance().addCard(roomId(), boardId(), raised.empty() ? all : raised);
    setKindOfFire(kCmdFire);
}

void PhomNewView::doStartGame() {
    int ready = 0, notReady = 0;
    for (const auto& player : players()) {
        if (!player || player->IDDB() == -1 || isMe(player->IDDB())) continue;
        (player->isReady() ? ready : notReady) += 1;
    }
    if (ready >= 1 && notReady == 0) {
        if (int64_t(money()) <= UIController::myInfo()->money())
            GlobalService::getInstance().startGameWithRoomId(roomId(), boardId());
        else
            refuse("KAVO_koDuTienCuoc");
        return;
    }
    UIController::showNotice(text("KAVO_cannotStart"));
}

} // namespace kavo
