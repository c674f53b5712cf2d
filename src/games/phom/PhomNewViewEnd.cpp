// The second half of a Phom deal: laid melds, lay-offs, the endings and their images,
// a deal in progress seen on entering, and the table's stake, money and ready state.
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/phom/PhomNewLogicHandler.h"
#include "games/phom/PhomNewView.h"
#include "platform/runtime/Log.h"
#include "platform/ui/Label.h"
#include "portal/GlobalService.h"
#include "table/base/PlaySound.h"

#include <algorithm>

namespace kavo {

namespace {

bool isSeat(int seat) {
    return seat >= 0 && seat < GameCardView::kSeats;
}

bool isCard(int id) {
    return id >= 0 && id < 52;
}

// The result pictures by type.
constexpr const char* kEndImages[] = {
    "p_phomtext_05.png", // 0: U
    "p_phomtext_02.png", // 1: winner
    "p_phomtext_03.png", // 2: loser
    "p_phomtext_06.png", // 3: compensation
    "p_phomtext_04.png", // 4: the last place
};

void log(const std::string& line) {
    platform::log("Phom table: " + line);
}

} // namespace

PhomNewView::CardList PhomNewView::laidViews(const std::vector<int>& ids, int seat, int32_t owner) const {
    CardList list;
    for (int id : ids) {
        if (!isCard(id)) continue;
        auto card = CardViewPhom::withCardID(int8_t(id), true, owner);
        card->setCenter(startPointOfSeat(seat, seat == 0 ? int8_t(cardCurrent_) : int8_t(id)));
        list.push_back(card);
    }
    return list;
}

void PhomNewView::repaintLaid(int seat) {
    const auto& row = showHaPhom_[size_t(seat)];
    auto list = laidViews(std::vector<int>(row.begin(), row.end()), seat, getIDAtSeat(seat));
    // Cards already on the table stay where they lie; only new ones come from the edge.
    for (const auto& card : list)
        for (const auto& old : playersPhomCards_[size_t(seat)])
            if (old->cardID() == card->cardID()) card->setCenter(old->center());
    if (list.empty()) {
        removeViews(playersPhomCards_[size_t(seat)]);
        playersPhomCards_[size_t(seat)].clear();
        return;
    }
    paintPhomCards(list, seat);
}

// ---------------------------------------------------------------- melds and lay-offs

void PhomNewView::onHaPhom(bool, const std::array<int8_t, 12>& cards, bool isU, const std::array<int32_t, 4>&,
                           int32_t) {
    resetUpCard();
    isU_ = isU;
    const int s = getSeatFromID(currentPlayer());
    if (!isSeat(s)) {
        log("melds laid by a player without a seat, dropped");
        return;
    }
    auto& row = showHaPhom_[size_t(s)];
    int last = -1;
    for (int i = 0; i < 12; ++i)
        if (row[size_t(i)] != -1) last = i;
    // Earlier melds keep their slots; one empty slot parts them from the new ones.
    const int start = last == -1 ? 0 : last + 2;
    int dropped = 0;
    for (int k = 0; k < 12; ++k) {
        if (!isCard(cards[size_t(k)])) continue;
        if (start + k > 11) {
            ++dropped;
            continue;
        }
        row[size_t(start + k)] = cards[size_t(k)];
    }
    if (dropped > 0) log(std::to_string(dropped) + " laid cards beyond the row of seat " + std::to_string(s));
    numCardPhom_[size_t(s)] = int(std::count_if(row.begin(), row.end(), [](int c) { return c != -1; }));
    repaintLaid(s);
    if (!isMe(currentPlayer())) return;
    isHaPhom_ = true;
    cardP_ = myCards_;
    for (int8_t card : cards)
        if (isCard(card)) removeCards(card);
    paintMyCards(myCards_);
    if (!isU) setCmdFire();
    setCmdGuiPhom();
}

void PhomNewView::onAddCard(int32_t userAdd, int8_t cardId, const std::vector<int32_t>& cards, int len) {
    if (len <= 0) {
        lowerAndRepaint();
        return;
    }
    const int s = getSeatFromID(userAdd);
    if (!isSeat(s)) {
        log("a lay-off onto a player without a seat, dropped");
        return;
    }
    auto& row = showHaPhom_[size_t(s)];
    std::vector<int> list;
    for (int c : row)
        if (c != -1) list.push_back(c);
    for (int k = 0; k < len && size_t(k) < cards.size(); ++k) {
        if (!isCard(cards[size_t(k)])) continue;
        list.erase(std::remove(list.begin(), list.end(), cards[size_t(k)]), list.end());
        list.push_back(cards[size_t(k)]);
    }
    row.fill(-1);
    for (size_t i = 0; i < list.size() && i < row.size(); ++i)
        row[i] = list[i];
    numCardPhom_[size_t(s)] = int(std::min(list.size(), row.size()));
    repaintLaid(s);
    const bool held =
        std::any_of(myCards_.begin(), myCards_.end(), [cardId](const CardPtr& c) { return c->cardID() == cardId; });
    if (!held) return;
    resetUpCard();
    removeCards(cardId);
    paintMyCards(myCards_);
}

// ---------------------------------------------------------------- endings

void PhomNewView::onUWithUserID(int32_t userId, int, const std::array<int8_t, 12>& cards, int len) {
    const int s = getSeatFromID(userId);
    if (!isSeat(s)) {
        log("U by a player without a seat, dropped");
        return;
    }
    std::vector<int> ids;
    for (int k = 0; k < len && k < 12; ++k)
        ids.push_back(cards[size_t(k)]);
    auto list = laidViews(ids, s, userId);
    if (!list.empty()) paintPhomCards(list, s);
}

void PhomNewView::onDenBai(int32_t winId, int32_t) {
    finish_ = true;
    stopGame();
    setContinue();
    winer_ = winId;
    isU_ = true;
    denBai_ = getSeatFromID(firstPlayer_);
}

void PhomNewView::onOnceWin(int32_t) {
    finish_ = true;
    winer_ = indexOfMe();
    stopGame();
    setContinue();
}

void PhomNewView::onFinish(int32_t score, const std::vector<int32_t>& cards, int32_t userId, int numRac) {
    stopGame();
    if (auto player = std::dynamic_pointer_cast<TienLenPlayer>(playerWithId(userId))) {
        player->setIsReady(0);
        if (player->cards() && !player->cards()->empty()) player->cards()->front()->cardView().removeFromSuperview();
        player->setCards(nullptr);
    }
    const int s = getSeatFromID(userId);
    if (!isSeat(s)) {
        log("a finish of a player without a seat, dropped");
        return;
    }
    std::vector<int> ids;
    for (int k = 0; k < numRac && size_t(k) < cards.size(); ++k)
        ids.push_back(cards[size_t(k)]);
    auto list = laidViews(ids, s, userId);
    // My hand gives way to its loose cards, shown in its place: the same cards twice would
    // lie on each other.
    if (s == 0) {
        removeViews(playersCards_[0]);
        playersCards_[0].clear();
    }
    paintFiredCardsWhenFinished();
    paintCardsOnHand(list, s);
    if (score > 0) showPointWithSeat(s, std::to_string(score));
    if (!isU_) {
        // The lowest score of 0 or more wins, the first place on ties.
        int best = -1;
        const size_t places = std::min(players().size(), scorePlayer_.size());
        for (size_t i = 0; i < places; ++i)
            if (scorePlayer_[i] >= 0 && scorePlayer_[i] < 1000 &&
                (best == -1 || scorePlayer_[i] < scorePlayer_[size_t(best)]))
                best = int(i);
        for (size_t i = 0; i < places; ++i) {
            const auto& player = players()[i];
            if (!player || player->IDDB() == -1 || scorePlayer_[i] == -1) continue;
            setShowImageEnd(getSeatFromID(player->IDDB()), int(i) == best ? 1 : 2);
        }
        setContinue();
        return;
    }
    if (const int u = getSeatFromID(endingPlayer_); isSeat(u)) setShowImageEnd(u, 0);
    if (denBai_ != -1) setShowImageEnd(denBai_, 3);
}

void PhomNewView::setShowImageEnd(int seat, int type) {
    if (isSeat(seat) && type >= 0 && type < int(std::size(kEndImages))) {
        const auto& image = this->seat(seat).ok;
        image->setImage(Util::getImageWithName(kEndImages[type]));
        image->setHidden(false);
    }
    for (int s = 0; s < kSeats; ++s)
        view()->bringSubviewToFront(this->seat(s).ok.get());
}

void PhomNewView::showPointWithSeat(int seat, const std::string& value) {
    if (!isSeat(seat)) return;
    auto label = platform::ui::Label::make(Util::changeRectFromRect({0, 20, 45, 16}), value);
    label->setBackgroundColor(platform::ui::Color::clear());
    label->setTextAlignment(platform::ui::TextAlignment::Center);
    label->setFont(platform::ui::Font::boldSystem(14 * Util::iPad()));
    label->setAccessibilityIdentifier("lblPoint" + std::to_string(seat));
    const auto& badge = this->seat(seat).point;
    badge->removeAllSubviews();
    badge->addSubview(label);
    badge->setHidden(false);
    view()->bringSubviewToFront(badge.get());
}

// ---------------------------------------------------------------- a deal in progress

void PhomNewView::onPlaying(int interval, int32_t curPlayer, int32_t firPlayer, const PhomPlaying& playing) {
    if (isMeNotExistPlayingBoard()) {
        setIsMeNotExistPlayingBoard(false);
        setIsGameEnd(false);
        btnStart()->setHidden(true);
    }
    reset();
    showChatWithSeat(kBubble, text("KAVO_PlayingNoReady"));
    notPlay_ = true;
    for (size_t i = 0; i < players().size(); ++i)
        if (players()[i] && isMe(players()[i]->IDDB())) setIndexOfMe(int(i));
    for (size_t i = 0; i < players().size(); ++i) {
        auto player = tienLenPlayer(i);
        if (!player || player->IDDB() == -1) continue;
        player->setIsReady(0);
        if (const int s = getSeatFromID(player->IDDB()); isSeat(s)) setSeatInfoWithSeat(s, player);
    }
    for (size_t k = 0; k < playing.userIds.size(); ++k) {
        const int32_t id = playing.userIds[k];
        if (id == -1) continue;
        const int s = getSeatFromID(id);
        if (!isSeat(s)) {
            log("a record of a player without a seat, skipped");
            continue;
        }
        for (size_t c = 0; c < 4; ++c)
            cardShow_[size_t(s)][c] = isCard(playing.cardShow[k][c]) ? playing.cardShow[k][c] : -1;
        for (size_t c = 0; c < 3; ++c)
            showCardEat_[size_t(s)][c] = isCard(playing.cardEat[k][c]) ? playing.cardEat[k][c] : -1;
        if (auto player = std::dynamic_pointer_cast<TienLenPlayer>(playerWithId(id)); player && !isMe(id))
            player->setCards(
                std::make_shared<TienLenPlayer::Hand>(TienLenPlayer::Hand{CardViewPhom::withCardID(-1, true, id)}));
    }
    paintOtherPlayerCards();
    setInterval(interval);
    setCurrentPlayer(curPlayer);
    firstPlayer_ = firPlayer;
    setIsStartGame(true);
    for (int s = 0; s < kSeats; ++s) {
        CardList eaten;
        for (int card : showCardEat_[size_t(s)])
            if (card != -1) eaten.push_back(CardViewPhom::withCardID(int8_t(card), true, getIDAtSeat(s)));
        if (!eaten.empty()) paintXXXCards(eaten, s);
        paintFiredCards(firedRowViews(s), s);
    }
}

// ---------------------------------------------------------------- end of a deal

void PhomNewView::stopGame() {
    Util::callRung();
    placeBubbles(true);
    btnBaiTy_->setHidden(true);
    btnAutoSelected()->setHidden(true);
    imgNextMe_->setHidden(true);
    if (nextMeTimer_) nextMeTimer_->invalidate();
    nextMeTimer_.reset();
    seat(0).btnSeat->setHidden(false);
    seat(0).btnName->setHidden(false);
    seat(0).btnMoney->setHidden(false);
    // The player whose turn ended the deal shows the U picture of the finish after it.
    if (currentPlayer() != -1) endingPlayer_ = currentPlayer();
    setCurrentPlayer(-1);
    stopTurnClock();
    finish_ = true;
    notPlay_ = false;
    setDisableReady(false);
    isFirstMatch_ = false;
    setIsStartGame(false);
    setIsGameEnd(true);
    for (const auto& player : players())
        if (player) player->setIsReady(player->IDDB() != -1 && player->IDDB() == ownerId() && isMe(ownerId()) ? 1 : 0);
    cmdState_ = kCmdNone;
    setKindOfStart(kContinue);
}

void PhomNewView::resetCard(int value) {
    showOKImageWithMode(2);
    if (value != 2) {
        btnBaiTy_->setHidden(false);
        if (cardLayer_) cardLayer_->removeAllSubviews();
        myCards_.clear();
        for (size_t s = 0; s < size_t(kSeats); ++s) {
            playersCards_[s].clear();
            playersFiredCards_[s].clear();
            playersPhomCards_[s].clear();
        }
        for (int s = 0; s < kSeats; ++s)
            seat(s).point->setHidden(true);
        showSeats();
        showOKImageWithMode(2);
        setKindOfStart(isMe(ownerId()) ? kStart : kReady);
    }
    if (auto me = std::dynamic_pointer_cast<TienLenPlayer>(myRecord())) me->setCards(nullptr);
}

void PhomNewView::resetCard() {
    showOKImageWithMode(2);
    setKindOfStart(isMe(ownerId()) ? kStart : kReady);
    if (cardLayer_) cardLayer_->removeAllSubviews();
    for (int s = 0; s < kSeats; ++s)
        seat(s).position->setImage(nullptr);
    focusedCardIndex_ = -1;
}

// ---------------------------------------------------------------- stake, money, ready

void PhomNewView::setMoneyOnBoard(int32_t money) {
    PlaySound::playSoundWithSource(Resources::getInstance().com_dat_tien());
    resetCard();
    btnCuoc()->setTitle(Util::formatNumber(money) + " Zel");
    // The ready and start checks read the screen's stake.
    setMoney(money);
    for (const auto& player : players())
        if (player && player->IDDB() != -1 && player->IDDB() != ownerId()) player->setIsReady(0);
    showSeats();
    setKindOfStart(isMe(ownerId()) ? kStart : kReady);
}

void PhomNewView::setMoneyWithMoney(int32_t money) {
    Util::callRung();
    setMoney(money);
    for (const auto& player : players())
        if (player) player->setIsReady(0);
}

void PhomNewView::showHandAmount(const std::shared_ptr<Player>& player, int64_t /*amount*/) {
    if (!waitToPlayNextSound_) {
        PlaySound::playSoundWithSource(Resources::getInstance().com_trung_tien());
        waitToPlayNextSound_ = true;
        soundTimer_ = later(1.5, [](PhomNewView& self) { self.waitToPlayNextSound_ = false; });
    }
    const int s = getSeatFromID(player->IDDB());
    if (!isSeat(s)) return;
    // The amounts come right after the deal's result pictures, which stand where the seat's
    // owner or ready mark is drawn: showing the new money must not take the picture away.
    const auto& mark = seat(s).ok;
    const auto picture = mark->image();
    const bool result =
        !mark->isHidden() && picture &&
        std::find(std::begin(kEndImages), std::end(kEndImages), picture->name()) != std::end(kEndImages);
    setSeatInfoWithSeat(s, player);
    if (!result) return;
    mark->setImage(picture);
    mark->setHidden(false);
}

void PhomNewView::resetReady() {
    for (const auto& player : players())
        if (player) player->setIsReady(0);
    if (isGameEnd()) readyTimer_ = later(0.1, [](PhomNewView& self) { self.setKindOfStart(kReady); });
}

void PhomNewView::kickPlayer(int32_t playerId) {
    GlobalService::getInstance().kickWithRoomId(roomId(), boardId(), playerId);
}

void PhomNewView::finishWithWho(int32_t playerId, int finishPosition, int32_t money, int32_t exp) {
    Util::callRung();
    auto player = std::dynamic_pointer_cast<TienLenPlayer>(playerWithId(playerId));
    const int s = getSeatFromID(playerId);
    if (!player || !isSeat(s)) return;
    player->setFinishPosition(finishPosition);
    player->setIsReady(0);
    player->setExp(std::max<int32_t>(0, player->exp() + exp));
    addHandAmount(playerId, money);
    setSeatInfoWithSeat(s, player);
    setImagePositionWithPosition(finishPosition, s);
    onChatFromWithId(playerId, "", text("KAVO_goad") + " " + std::to_string(finishPosition + 1));
    if (!isMe(playerId)) return;
    seat(0).btnSeat->setHidden(false);
    seat(0).btnName->setHidden(false);
    seat(0).btnMoney->setHidden(false);
}

} // namespace kavo
