#include "games/baicao/BaiCaoView.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/baicao/BaiCaoMessageHandler.h"
#include "games/baicao/BaiCaoService.h"
#include "table/base/PlaySound.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/BCCardView.h"
#include "table/deal/TurnRequest.h"
#include "table/deal/TurnedCard.h"

#include <cmath>

namespace kavo {

namespace {

constexpr uint8_t kFaceDown = 255;

int32_t myId() {
    return UIController::myInfo()->IDDB();
}

// Where card `card` of a hand comes to rest at a screen seat (the deal fans each hand);
// w and h are the card's size on the table.
DealPlace placeOf(int seat, int card, double w, double h) {
    const double width = UIController::screenWidth();
    const double height = UIController::screenHeight();
    const bool pad = Util::isPad();
    const double L = card;
    switch (seat) {
    case 0:
        return {{width / 2 + 30 * Util::iPadX() - (1 - L) * w, height - h / 2 - (pad ? 60 : 10)}, 0, {}};
    case 1: {
        static constexpr double kTurns[] = {-2 * M_PI / 5, -M_PI / 2, -2 * M_PI / 3};
        return {{width - (pad ? 180 : 90) - w / 2, height / 2 + (L - 1) * h / 3},
                kTurns[card],
                card == 2 ? platform::ui::Point{4, -4} : platform::ui::Point{}};
    }
    case 2: {
        static constexpr double kTurns[] = {-5 * M_PI / 6, M_PI, 5 * M_PI / 6};
        return {{width / 2 - (1 - L) * w / 2, (pad ? 200 : 90) + h / 2},
                kTurns[card],
                card == 2 ? platform::ui::Point{-4, -6} : platform::ui::Point{}};
    }
    default: {
        static constexpr double kTurns[] = {2 * M_PI / 3, M_PI / 2, 2 * M_PI / 5};
        return {{(pad ? 190 : 90) + w / 2, height / 2 + (1 - L) * h / 3},
                kTurns[card],
                card == 2 ? platform::ui::Point{-4, 4} : platform::ui::Point{}};
    }
    }
}

} // namespace

BaiCaoView::BaiCaoView() : StakeTableView(BaiCaoMessageHandler::kGameType, "KAVO_baicao") {}

void BaiCaoView::requestMaxPlayers(int8_t max) {
    BaiCaoService::getInstance().setMaxPlayerWithRoomId(roomId(), boardId(), max);
}

void BaiCaoView::viewDidLoad() {
    StakeTableView::viewDidLoad();
    btnFire()->onTouchUpInside([this] { clickFire(); });
}

// ---------------------------------------------------------------- the hand

void BaiCaoView::startWithInterval(uint8_t interval, const std::vector<uint8_t>& myCards) {
    Util::callRung();
    newGeneration();
    peek().dismiss();
    removeCardViews();
    setIsStartGame(true);
    setIsGameEnd(false);
    indexBaiNan_ = 0;
    btnStart()->setHidden(true);
    btnFire()->setHidden(false);
    daChiaBaiXong_ = false;
    const auto& list = players();
    for (size_t i = 0; i < list.size(); ++i) {
        auto player = cardPlayer(list[i]);
        if (!player) continue;
        player->setFinishPosition(-1);
        if (player->IDDB() == -1) continue;
        auto hand = std::make_shared<TienLenPlayer::Hand>();
        const bool mine = player->IDDB() == myId();
        for (int c = 0; c < kHandSize; ++c) {
            const int8_t id = mine && size_t(c) < myCards.size() ? int8_t(myCards[size_t(c)]) : int8_t(-1);
            hand->push_back(BCCardView::withCardID(id, true, player->IDDB(), true));
        }
        player->setCards(hand);
        if (mine) {
            seats()[0] = int(i);
            setSeatInfoWithSeat(0, player);
        }
    }
    assignSeatsFromMine();
    for (int s = 1; s < kSeats; ++s)
        if (auto player = playerAtSeat(s); player && player->IDDB() != -1) setSeatInfoWithSeat(s, player);
    dealer().start(
        {kSeats, kHandSize, 0.15},
        [this](int seat, int pass) { return cardToDeal(seat, kHandSize - 1 - pass) != nullptr; },
        [this](int seat, int pass) { dealCard(seat, pass); },
        [this] {
            bringOverlaysToFront();
            daChiaBaiXong_ = true;
        },
        [this] {
            bringOverlaysToFront();
            btnFire()->setHidden(false);
            btnAutoSelected()->setHidden(false);
        });
    showOKImageWithMode(1);
    setInterval(interval);
    setDieTime(interval);
    setTimerWithSeat(0);
    schedulePlayerTime();
    setHiddenButtonSeat(true);
}

// The deal hands card 2 of every filled seat, then card 1, then card 0.
void BaiCaoView::dealCard(int seat, int pass) {
    const int index = kHandSize - 1 - pass;
    auto card = cardToDeal(seat, index);
    if (!card) return;
    PlaySound::playSoundWithSource(Resources::getInstance().bai_chia_bai());
    const auto size = card->frame().size;
    const platform::ui::Point deck{UIController::screenWidth() / 2.0,
                                   UIController::screenHeight() / 2.0 - 15 * Util::iPadY()};
    DealStepper::flyCard(card, *view(), deck, placeOf(seat, index, size.width, size.height));
    peek().keepOnTop(*view());
}

void BaiCaoView::moveWithPlayerId(int32_t playerId, const std::vector<uint8_t>& cards) {
    const int seat = getSeatFromID(playerId);
    if (seat < 0) return;
    setCurrentCardsWithCardIDs(cards, seat);
}

void BaiCaoView::setCurrentCardsWithCardIDs(const std::vector<uint8_t>& cards, int seat) {
    PlaySound::playSoundWithSource(Resources::getInstance().bai_lat_bai());
    isFlying_ = true;
    auto player = playerAtSeat(seat);
    const auto hand = handOf(player);
    const bool mine = player && player->IDDB() == myId();
    bool turned = false;
    for (size_t i = 0; i < cards.size() && i < hand.size(); ++i) {
        if (cards[i] == kFaceDown || hand[i]->isChecked()) continue;
        if (!layTurnedFace(*hand[i], cards[i])) continue;
        turned = true;
        if (!mine) continue;
        ++indexBaiNan_;
        hand[i]->setIsTouch(false);
        btnFire()->setHidden(indexBaiNan_ >= kHandSize);
        btnAutoSelected()->setHidden(indexBaiNan_ >= kHandSize);
    }
    if (mine && turned) backPointbaiNan(peek().backCard());
}

void BaiCaoView::showCardsWithPlayers(const std::vector<BaiCaoHand>& hands) {
    backPointbaiNan(peek().backCard());
    for (const auto& hand : hands) {
        std::vector<uint8_t> bytes;
        for (int32_t card : hand.cards)
            bytes.push_back(uint8_t(card & 0xff));
        moveWithPlayerId(hand.playerId, bytes);
    }
}

void BaiCaoView::stopGame() {
    Util::callRung();
    PlaySound::playSoundWithSource(Resources::getInstance().com_trung_tien());
    stopTurnClock();
    dealer().cancel();
    setIsStartGame(false);
    setIsGameEnd(true);
    setCurrentPlayer(-1);
    UIController::myInfo()->setIsReady(ownerId() == myId() ? 1 : 0);
    progressTimer()->setHidden(true);
    setHiddenButtonSeat(false);
    btnFire()->setHidden(true);
    btnAutoSelected()->setHidden(true);
    peek().dismiss();
    setKindOfStart(kContinue);
}

// ---------------------------------------------------------------- peeking and turning

void BaiCaoView::clickFire() {
    if (!daChiaBaiXong_ || peek().isPeeking()) return;
    // Only a card already on the table: one still to be dealt has no place to go back to.
    for (const auto& card : handOf(myRecord())) {
        if (!card->isTouch() || card->superview() != view().get()) continue;
        beginNanbai(card);
        return;
    }
}

void BaiCaoView::beginNanbai(const std::shared_ptr<BCCardView>& card) {
    peek().begin(card, *view(), [](const std::shared_ptr<BCCardView>& zoomed) {
        // The back comes off: the enlarged face lies under the cover.
        if (zoomed->subviews().size() >= 2) zoomed->subviews().back()->removeFromSuperview();
    });
}

void BaiCaoView::showLoadingNanBai() {
    PeekTable::showLoadingNanBai();
    peek().showLoading(*view());
}

void BaiCaoView::hideLoadingNanBai() {
    peek().hideLoading(*view());
}

void BaiCaoView::backPointbaiNan(const std::shared_ptr<BCCardView>& card) {
    PeekTable::backPointbaiNan(card);
    peek().end(card, [this] { bringOverlaysToFront(); });
}

void BaiCaoView::setHiddenBtnNan() {
    PeekTable::setHiddenBtnNan();
    btnAutoSelected()->setHidden(true);
    btnFire()->setHidden(true);
}

void BaiCaoView::sendTurn(const std::vector<uint8_t>& bytes) {
    BaiCaoService::getInstance().moveWithRoomId(roomId(), boardId(), bytes);
}

void BaiCaoView::doFireWithCardId(int8_t cardId) {
    PeekTable::doFireWithCardId(cardId);
    // Every card was asked for already: nothing to ask.
    if (auto bytes = turnRequest(handOf(playerAtSeat(0)), cardId)) sendTurn(*bytes);
}

void BaiCaoView::showAllCards() {
    PeekTable::showAllCards();
    sendTurn(turnAllRequest(handOf(playerAtSeat(0))));
}

} // namespace kavo
