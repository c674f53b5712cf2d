// The painters of the Phom table: the deal, my hand, and the rows of cards at every seat.
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/phom/PhomNewView.h"
#include "platform/runtime/Log.h"
#include "table/base/PlaySound.h"
#include "table/cards/CardView.h"

#include <cmath>

namespace kavo {

namespace {

using platform::ui::AffineTransform;
using platform::ui::Point;

constexpr double kQuarter = M_PI / 2;

platform::ui::AnimationOptions easeIn() {
    platform::ui::AnimationOptions options;
    options.curve = platform::ui::AnimationCurve::EaseIn;
    return options;
}

int sw() {
    return UIController::screenWidth();
}
int sh() {
    return UIController::screenHeight();
}
int cw() {
    return CardView::cardWidth();
}
int ch() {
    return CardView::cardHeight();
}

// Where each seat's painters put their cards in the card layer (lower bases below).
struct SeatBases {
    int fired, phom, eaten, passed, shown;
};
constexpr SeatBases kBases[4] = {
    {28, 48, 48, 38, 48},
    {38, 120, 48, 38, 56},
    {38, 110, 48, 38, 58},
    {58, 130, 28, 58, 38},
};

AffineTransform scaled(double s) {
    return AffineTransform::scale(s, s);
}

AffineTransform turnedThenScaled(double radians, double s) {
    return AffineTransform::rotation(radians).concat(AffineTransform::scale(s, s));
}

// The hand row's overlap and left edge for n cards.
struct HandRow {
    int overlap = 0;
    int left = 0;
};

HandRow handRow(int n, int offsetLeft, int available) {
    HandRow row;
    row.left = offsetLeft;
    if (n <= 0) return row;
    if (n * cw() > available)
        row.overlap = (n * cw() - available) / n;
    else
        row.left += (available - n * cw()) / 2;
    return row;
}

} // namespace

int PhomNewView::handRowY() const {
    return sh() - ch() - (Util::isPad() ? 15 : 5);
}

void PhomNewView::insertCard(const CardPtr& card, int base, int place) {
    const size_t index = size_t(std::max(0, base + place));
    cardLayer_->insertSubview(card, std::min(index, cardLayer_->subviews().size()));
}

void PhomNewView::removeViews(const CardList& list) {
    for (const auto& card : list)
        if (card) card->removeFromSuperview();
}

void PhomNewView::glow(CardViewPhom& card, bool on) {
    if (on)
        card.setHighLightWithWidth();
    else
        card.unsetHighLight();
    card.setClipsToBounds(false);
}

void PhomNewView::animateTo(const CardPtr& card, Point point, double seconds) {
    platform::ui::View::animate(seconds, 0, easeIn(), [card, point] { card->setCenter(point); });
}

Point PhomNewView::getPointCardRacOfPlayer(int seat) const {
    if (seat < 0 || seat >= kSeats) return {sw() / 2.0, sh() / 2.0};
    const int h = int(playersFiredCards_[size_t(seat)].size()) / 2;
    switch (seat) {
    case 0:
        return {double(sw() / 2 - space_ * h), double(limitYAtSeat0_ + ch() / 2)};
    case 1:
        return {double(sw() - cw() / 2 - int(30 * Util::iPadX())), double(sh() / 2 - space_ * h)};
    case 2:
        return {double(sw() / 2 + space_ * h), double(ch() / 2 - space_)};
    default:
        return {double(space_ + cw() / 2), double(sh() / 2 - space_ * h)};
    }
}

Point PhomNewView::startPointOfSeat(int seat, int8_t cardId) const {
    switch (seat) {
    case 0:
        for (const auto& card : playersCards_[0])
            if (card->cardID() == cardId) return card->center();
        return baiPost_;
    case 1:
        return {double(sw()), sh() / 2.0};
    case 2:
        return {sw() / 2.0, 0};
    default:
        return {0, sh() / 2.0};
    }
}

// ---------------------------------------------------------------- the deal and my hand

void PhomNewView::chiaBai() {
    PlaySound::playSoundWithSource(Resources::getInstance().bai_chia_bai());
    const auto& cards = playersCards_[0];
    const int n = int(cards.size());
    const HandRow row = handRow(n, offsetLeft_, availableScreenWidth_);
    if (indexCard_ == 0) posXCard_ = row.left;
    if (indexCard_ < n) {
        const auto card = cards[size_t(indexCard_)];
        card->setHidden(false);
        platform::ui::View::animate(0.09, 0, easeIn(), [card, x = posXCard_ + cw() / 3, y = handRowY()] {
            card->setCenter({double(x), double(y)});
        });
        posXCard_ += cw() - row.overlap;
        ++indexCard_;
        dealTimer_ = later(0.1, [](PhomNewView& self) { self.chiaBai(); });
        return;
    }
    dealTimer_.reset();
    paintOtherPlayerCards();
    for (const auto& card : cards) {
        const bool meld = card->phom() != 0;
        glow(*card, meld);
        card->setCenter({card->center().x, handRowY() + (meld ? 5 * Util::iPadY() : 0)});
    }
    waitingChiaBai_ = false;
}

void PhomNewView::animateMyCards(const CardList& list) {
    if (waitingChiaBai_) {
        // The deal runs: slide once it has ended.
        slideTimer_ = later(1.0, [list](PhomNewView& self) { self.animateMyCards(list); });
        return;
    }
    const int n = int(list.size());
    const HandRow row = handRow(n, offsetLeft_, availableScreenWidth_);
    const int y = handRowY();
    platform::ui::View::animate(0.3, 0, easeIn(), [list, row, y] {
        int x = row.left + cw() / 3;
        for (const auto& card : list) {
            card->setHidden(false);
            card->setCenter({double(x), double(y)});
            x += cw() - row.overlap;
        }
    });
    for (size_t i = 0; i < list.size() && i < myCards_.size(); ++i) {
        const bool meld = list[i]->phom() != 0;
        glow(*list[i], meld);
        list[i]->setCenter({list[i]->center().x, y + (meld ? 5 * Util::iPadY() : 0)});
    }
}

void PhomNewView::paintMyCards(const CardList& list) {
    resetUpCard();
    removeViews(playersCards_[0]);
    playersCards_[0] = list;
    for (size_t i = 0; i < list.size(); ++i) {
        list[i]->setTag(1);
        list[i]->setHidden(true);
        list[i]->setTransform(AffineTransform::identity());
        list[i]->setUserInteractionEnabled(true);
        insertCard(list[i], 58, int(i));
    }
    if (isGameBegin_) {
        isGameBegin_ = false;
        postToMain([](PhomNewView& self) { self.chiaBai(); });
    } else {
        postToMain([](PhomNewView& self) { self.animateMyCards(self.playersCards_[0]); });
    }
}

// ---------------------------------------------------------------- rows at the seats

void PhomNewView::paintFiredCards(const CardList& list, int seat) {
    if (seat < 0 || seat >= kSeats) return;
    PlaySound::playSoundWithSource(Resources::getInstance().bai_lat_bai());
    removeViews(playersFiredCards_[size_t(seat)]);
    playersFiredCards_[size_t(seat)] = list;
    const int n = int(list.size());
    int h = n / 2;
    for (int i = 0; i < n; ++i, --h) {
        const auto& card = list[size_t(i)];
        card->setTransform(scaled(0.7));
        card->setTag(3);
        insertCard(card, kBases[seat].fired, i);
        Point slot;
        switch (seat) {
        case 0:
            slot = {double(sw() - int(100 * Util::iPadX()) - space_ * h), 210 * Util::iPadY()};
            break;
        case 1:
            slot = {double(sw() - int(100 * Util::iPadX()) - space_ * h), 90 * Util::iPadY()};
            break;
        case 2:
            slot = {double(int(140 * Util::iPadX()) - space_ * h), 90 * Util::iPadY()};
            break;
        default:
            slot = {double(int(90 * Util::iPadX()) + space_ * i), 200 * Util::iPadY()};
            break;
        }
        if (i + 1 < n) {
            card->setCenter(slot);
            continue;
        }
        card->setCenter(seat == 0 ? baiPost_ : startPointOfSeat(seat, card->cardID()));
        animateTo(card, slot);
        card->setUserInteractionEnabled(false);
    }
    view()->bringSubviewToFront(chat(seat).get());
}

void PhomNewView::paintFiredCardsWhenFinished() {
    const auto& row = playersFiredCards_[3];
    for (size_t i = 0; i < row.size(); ++i)
        animateTo(row[i], {160 * Util::iPadY() + space_ * double(i), 160 * Util::iPadY()});
}

void PhomNewView::paintPhomCards(const CardList& list, int seat) {
    if (list.empty() || seat < 0 || seat >= kSeats) return;
    removeViews(playersPhomCards_[size_t(seat)]);
    playersPhomCards_[size_t(seat)] = list;
    const int n = int(list.size());
    int h = n / 2;
    for (int i = 0; i < n; ++i, --h) {
        const auto& card = list[size_t(i)];
        card->setTag(2);
        insertCard(card, kBases[seat].phom, i);
        Point slot;
        switch (seat) {
        case 0:
            card->setTransform(scaled(0.6));
            slot = {double(sw() / 2 - space_ * h), 205 * Util::iPadY() + (Util::isPad() ? 20 : 0)};
            break;
        case 1:
            card->setTransform(turnedThenScaled(-kQuarter, 0.5));
            card->setCenter({double(sw()), sh() / 2.0});
            slot = {double(sw() - int(130 * Util::iPadX())), 180 * Util::iPadY() - space_ * i};
            break;
        case 2:
            card->setTransform(scaled(0.5));
            slot = {double(sw() / 2 - space_ * h), 125 * Util::iPadY() - (Util::isPad() ? 20 : 0)};
            break;
        default:
            card->setTransform(turnedThenScaled(kQuarter, 0.5));
            slot = {130 * Util::iPadX(), double(sh() / 2 - space_ * h)};
            break;
        }
        animateTo(card, slot);
        card->setUserInteractionEnabled(false);
    }
}

void PhomNewView::paintXXXCards(const CardList& list, int seat) {
    if (seat < 0 || seat >= kSeats) return;
    PlaySound::playSoundWithSource(Resources::getInstance().bai_chia_bai());
    const int eater = getSeatFromID(firstPlayer_);
    removeViews(playersPhomCards_[size_t(seat)]);
    playersPhomCards_[size_t(seat)] = list;
    const int n = int(list.size());
    int h = n / 2;
    for (int i = 0; i < n; ++i, --h) {
        const auto& card = list[size_t(i)];
        card->setTransform(scaled(0.5));
        insertCard(card, kBases[seat].eaten, i);
        Point slot;
        switch (seat) {
        case 0:
            slot = {double(sw() / 2 - space_ * h), double(limitYAtSeat0_ + ch() / 2 + space_)};
            break;
        case 1:
            slot = {double(sw() - int(80 * Util::iPadX()) - space_ * h), 140 * Util::iPadY()};
            break;
        case 2:
            slot = {double(int(280 * Util::iPadX()) - space_ * h), 100 * Util::iPadY()};
            break;
        default:
            slot = {double(int(90 * Util::iPadX()) - space_ * h), 140 * Util::iPadY()};
            break;
        }
        card->setCenter(i + 1 < n ? slot : getPointCardRacOfPlayer(eater));
        animateTo(card, slot);
        card->setUserInteractionEnabled(false);
    }
    for (int s = 1; s < kSeats; ++s) {
        if (s != seat) continue;
        auto player = tienLenPlayer(size_t(seats()[size_t(s)]));
        if (player && player->cards() && !player->cards()->empty())
            cardLayer_->bringSubviewToFront(&player->cards()->front()->cardView());
    }
    for (const auto& card : playersPhomCards_[size_t(seat)])
        glow(*card, true);
}

void PhomNewView::paintChuyenBaiRacCards(const CardList& list, int seat) {
    if (seat < 0 || seat >= kSeats) return;
    PlaySound::playSoundWithSource(Resources::getInstance().bai_chia_bai());
    removeViews(playersFiredCards_[size_t(seat)]);
    playersFiredCards_[size_t(seat)] = list;
    const int n = int(list.size());
    const Point anchor = getPointCardRacOfPlayer(seat);
    const int h0 = n / 2;
    for (int i = 0; i < n; ++i) {
        const auto& card = list[size_t(i)];
        insertCard(card, kBases[seat].passed, i);
        if (seat == 2) card->setTransform(AffineTransform::rotation(M_PI));
        // The pile point moves with h = n / 2 - i along the seat's row.
        const int h = h0 - i;
        Point slot = anchor;
        switch (seat) {
        case 0:
            slot.x = sw() / 2.0 - space_ * h;
            break;
        case 2:
            slot.x = sw() / 2.0 + space_ * h;
            break;
        default:
            slot.y = sh() / 2.0 - space_ * h;
            break;
        }
        card->setCenter(i + 1 < n ? slot : anchor);
        animateTo(card, slot);
        card->setUserInteractionEnabled(false);
    }
}

void PhomNewView::paintCardsOnHand(const CardList& list, int seat) {
    if (list.empty() || seat < 0 || seat >= kSeats) return;
    const int n = int(list.size());
    int h = n / 2;
    posXCard_ = handRow(n, offsetLeft_, availableScreenWidth_).left;
    for (int i = 0; i < n; ++i, --h) {
        const auto& card = list[size_t(i)];
        insertCard(card, kBases[seat].shown, i);
        Point place;
        switch (seat) {
        case 0:
            card->setTransform(scaled(0.8));
            place = {double(posXCard_), double(sh() - ch())};
            posXCard_ += cw() / 2;
            break;
        case 1:
            card->setTransform(turnedThenScaled(-kQuarter, 0.5));
            card->setTag(2);
            card->setCenter({double(sw()), sh() / 2.0});
            place = {double(sw() - int(90 * Util::iPadX())), 180 * Util::iPadY() - space_ * i};
            break;
        case 2:
            card->setTransform(scaled(0.5));
            card->setTag(2);
            place = {double(sw() / 2 - space_ * h), 85 * Util::iPadY()};
            break;
        default:
            card->setTransform(turnedThenScaled(kQuarter, 0.5));
            card->setTag(2);
            place = {90 * Util::iPadX(), double(sh() / 2 - space_ * h)};
            break;
        }
        animateTo(card, place);
        if (seat != 0) card->setUserInteractionEnabled(false);
    }
}

void PhomNewView::paintOtherPlayerCards() {
    for (size_t i = 0; i < players().size(); ++i) {
        auto player = tienLenPlayer(i);
        if (!player || player->IDDB() == -1 || isMe(player->IDDB()) || !player->cards()) continue;
        if (!player->cards()->empty()) player->cards()->front()->cardView().removeFromSuperview();
        auto back = CardViewPhom::withCardID(-1, true, player->IDDB());
        back->faceView()->setContentMode(platform::ui::ContentMode::ScaleToFill);
        player->setCards(std::make_shared<TienLenPlayer::Hand>(TienLenPlayer::Hand{back}));
    }
    static const struct {
        double x, y, radians;
    } kPlaces[] = {{0, 0, 0}, {0, 0, -kQuarter}, {0, 0, M_PI}, {0, 0, kQuarter}};
    for (int s = 1; s < kSeats; ++s) {
        auto player = std::dynamic_pointer_cast<TienLenPlayer>(playerAtSeat(s));
        if (!player || player->IDDB() == -1 || !player->cards() || player->cards()->empty()) continue;
        auto& card = player->cards()->front()->cardView();
        const Point centre = s == 1   ? Point{sw() - 80 * Util::iPadX(), 160 * Util::iPadY()}
                             : s == 2 ? Point{sw() / 2.0, 100 * Util::iPadX()}
                                      : Point{100 * Util::iPad(), 160 * Util::iPadY()};
        cardLayer_->addSubview(card.shared_from_this());
        card.setTransform(turnedThenScaled(kPlaces[s].radians, 0.6));
        card.setCenter(centre);
        card.setUserInteractionEnabled(false);
    }
}

} // namespace kavo
