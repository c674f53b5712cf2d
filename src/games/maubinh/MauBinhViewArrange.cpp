// Arranging the thirteen cards by touch: placing mode (select in the row, lift into a
// hand, reorder, return, move and swap placed cards) and swapping mode on the
// arranging screen. A card in a place always sits at that place's index of my cards.
#include "app/Resources.h"
#include "app/Util.h"
#include "games/maubinh/MauBinhView.h"
#include "table/cards/CardView.h"

#include <algorithm>
#include <cmath>

namespace kavo {

using platform::ui::Point;

namespace {

constexpr double kFly = 0.25;
constexpr double kMove = 0.3;
constexpr double kLift = 0.1;

double reorderLine() {
    return Util::isPad() ? 650 : 270;
}
double liftLine() {
    return Util::isPad() ? 510 : 210;
}

platform::ui::Color green() {
    return platform::ui::Color::rgba(0, 255, 0);
}

// The places of hand 1, 2 or 3; an empty range for any other number.
std::pair<int, int> rangeOf(int chi) {
    switch (chi) {
    case 1:
        return {0, 3};
    case 2:
        return {3, 8};
    case 3:
        return {8, 13};
    default:
        return {0, 0};
    }
}

// A view's centre in the board layer's coordinates (the layers all lie at the
// screen's origin, so a view off the screen keeps its own).
Point centreOf(const platform::ui::View& target, const platform::ui::View& board) {
    return target.superview() ? target.superview()->convertPoint(target.center(), &board) : target.center();
}

} // namespace

std::shared_ptr<CardViewPhom> MauBinhView::myCardAt(size_t index) const {
    auto* hand = getMyCard();
    return hand && index < hand->size() ? std::dynamic_pointer_cast<CardViewPhom>((*hand)[index]) : nullptr;
}

int MauBinhView::indexOfMyCard(const CardViewPhom* card) const {
    auto* hand = getMyCard();
    if (!hand || !card) return -1;
    for (size_t i = 0; i < hand->size(); ++i)
        if ((*hand)[i].get() == static_cast<const PlayingCard*>(card)) return int(i);
    return -1;
}

void MauBinhView::swapMyCards(size_t a, size_t b) {
    auto* hand = getMyCard();
    if (hand && a < hand->size() && b < hand->size()) std::swap((*hand)[a], (*hand)[b]);
}

int MauBinhView::numOfUncheckCards() const {
    int unplaced = 0;
    if (auto* hand = getMyCard())
        for (size_t i = 0; i < hand->size(); ++i)
            if (auto card = myCardAt(i); card && !card->isChecked()) ++unplaced;
    return int(unplaced * CardView::cardWidth() * 0.6 + 30 * Util::iPadX());
}

void MauBinhView::drawMyCard() {
    auto* hand = getMyCard();
    if (!hand) return;
    const int screenWidth = Util::isPad() ? 1024 : 480;
    const int start = (screenWidth - numOfUncheckCards()) / 2;
    const double base = Util::isPad() ? start + 20 : start;
    int k = 0;
    for (size_t i = 0; i < hand->size(); ++i) {
        auto card = myCardAt(i);
        if (!card || (card->isChecked() && !isFinishManualBinh_)) continue;
        vBoardView_->addSubview(card);
        const double width = card->frame().width();
        const double y = 245 * Util::iPadY();
        if (regionMyCard_.contains(card->center())) {
            card->setCenter({k * width * 0.6 + 30 * Util::iPadX() + base, y});
        } else {
            const Point to{k * width * 0.6 + 30 * Util::iPad() + base, y};
            platform::ui::View::animate(kFly, [card, to] { card->setCenter(to); });
        }
        card->setIsSelected(false);
        card->unsetHighLight();
        ++k;
    }
}

void MauBinhView::drawColorMyCard(bool foul) {
    auto* hand = getMyCard();
    if (!hand) return;
    for (size_t i = 0; i < hand->size(); ++i) {
        auto card = myCardAt(i);
        if (!card) continue;
        if (foul)
            card->setHighLightWithColor(platform::ui::Color::rgba(255, 0, 0));
        else
            card->unsetHighLight();
    }
}

int MauBinhView::getRegionWillDrop(Point point) const {
    if (regionChi1_.contains(point)) return 1;
    if (regionChi2_.contains(point)) return 2;
    if (regionChi3_.contains(point)) return 3;
    return 0;
}

bool MauBinhView::checkValidCardsOnRegion(int chi, size_t count) const {
    const auto [from, to] = rangeOf(chi);
    if (from == to) return false;
    size_t free = 0;
    for (int i = from; i < to && size_t(i) < cardPlaces_.size(); ++i)
        free += cardPlaces_[size_t(i)]->tag() != kPlaceTaken ? 1 : 0;
    return free >= count;
}

void MauBinhView::addValidCardsOnRegion(int chi, const std::vector<std::shared_ptr<CardViewPhom>>& cards) {
    const auto [from, to] = rangeOf(chi);
    size_t next = 0;
    for (int i = from; i < to && size_t(i) < cardPlaces_.size() && next < cards.size(); ++i) {
        const auto& place = cardPlaces_[size_t(i)];
        if (place->tag() == kPlaceTaken) continue;
        const auto& card = cards[next++];
        animationZoomOutCard(card, place);
        card->setIsChecked(true);
        card->unsetHighLight();
        place->setTag(kPlaceTaken);
        const int at = indexOfMyCard(card.get());
        if (at >= 0) swapMyCards(size_t(at), size_t(i));
    }
}

int MauBinhView::getReplacingCard(Point point) const {
    auto* hand = getMyCard();
    if (!hand || !vBackGroundView_->superview()) return -1;
    for (const auto& slot : bigSlots_)
        if (slot->tag() >= 0 && size_t(slot->tag()) < hand->size() && slot->frame().contains(point)) return slot->tag();
    return -1;
}

std::shared_ptr<CardViewPhom> MauBinhView::getMyCardWithPoint(Point point) const {
    auto* hand = getMyCard();
    if (!hand) return nullptr;
    for (size_t i = 0; i < hand->size(); ++i) {
        auto card = myCardAt(i);
        if (card && card != movedCard_ && card->cardID() != (movedCard_ ? movedCard_->cardID() : -2) &&
            card->frame().contains(point))
            return card;
    }
    return nullptr;
}

int MauBinhView::getCardPlaceWithPoint(Point point) const {
    for (size_t i = 0; i < cardPlaces_.size(); ++i)
        if (cardPlaces_[i]->frame().contains(point)) return int(i);
    return -1;
}

void MauBinhView::animationZoomOutCard(const std::shared_ptr<CardViewPhom>& card, const platform::ui::ViewPtr& target) {
    card->setTransform(platform::ui::AffineTransform::identity());
    const auto cardFrame = card->frame();
    const auto targetFrame = target->frame();
    const double sx = cardFrame.width() > 0 ? targetFrame.width() / cardFrame.width() : 1;
    const double sy = cardFrame.height() > 0 ? targetFrame.height() / cardFrame.height() : 1;
    const Point to = centreOf(*target, *vBoardView_);
    platform::ui::View::animate(
        kFly,
        [card, sx, sy, to] {
            card->setTransform(platform::ui::AffineTransform::scale(sx, sy));
            card->setCenter(to);
        },
        guarded([card] { card->setHighLightWithColor(green()); }));
}

void MauBinhView::showSortScreen() {
    auto* hand = getMyCard();
    for (const auto& place : cardPlaces_)
        place->removeFromSuperview();
    vBoardView_->addSubview(vBackGroundView_);
    vBackGroundView_->setBackgroundColor(platform::ui::Color::rgba(10, 70, 40));
    drawMyCard();
    if (hand)
        for (size_t i = 0; i < hand->size() && i < bigSlots_.size(); ++i)
            if (auto card = myCardAt(i)) animationZoomOutCard(card, bigSlots_[i]);
    resetChiResult();
}

// ---------------------------------------------------------------- touches

void MauBinhView::touchesBegan(const std::vector<platform::ui::Touch>& touches) {
    if (touches.empty() || !isAllowBinh_) return;
    const Point p = touches.front().locationInView(view().get());
    if (binhMode_ == 1) {
        if (isFinish_) return;
        const int index = getReplacingCard(p);
        replacingCard_ = index < 0 ? nullptr : myCardAt(size_t(index));
        if (replacingCard_) vBoardView_->bringSubviewToFront(replacingCard_.get());
        return;
    }
    if (binhMode_ != 0 || isFinishManualBinh_) return;
    isSelecting_ = true;
    indexFromMove_ = indexToMove_ = -1;
    isDownTouch_ = isUpTouch_ = isMoving_ = false;
    beginPoint_ = p;
    movedCard_ = nullptr;
    if (auto* hand = getMyCard()) {
        for (size_t i = hand->size(); i-- > 0;) {
            auto card = myCardAt(i);
            if (card && card->frame().contains(p)) {
                movedCard_ = card;
                indexFromMove_ = int(i);
                isSelect_ = card->isSelected();
                break;
            }
        }
    }
    if (movedCard_ && movedCard_->isChecked()) {
        beginDrap_ = movedCard_->center();
        vBoardView_->bringSubviewToFront(movedCard_.get());
    }
}

void MauBinhView::touchesMoved(const std::vector<platform::ui::Touch>& touches) {
    if (touches.empty() || !isAllowBinh_) return;
    const Point p = touches.front().locationInView(view().get());
    if (binhMode_ == 1) {
        if (replacingCard_ && !isFinish_) replacingCard_->setCenter(p);
        return;
    }
    if (binhMode_ != 0 || isFinishManualBinh_) return;
    isSelecting_ = false;
    if (!movedCard_) return;
    auto* hand = getMyCard();
    if (!hand) return;
    if (movedCard_->isChecked()) {
        movedCard_->setCenter(p);
        isMoving_ = true;
        return;
    }
    if (p.y > reorderLine()) {
        if (!isDownTouch_) {
            isDownTouch_ = true;
            auto card = movedCard_;
            platform::ui::View::animate(kLift, [card] {
                card->setTransform(platform::ui::AffineTransform::scale(1.2, 1.2));
                card->setAlpha(0.5);
            });
            vBoardView_->bringSubviewToFront(card.get());
        }
        movedCard_->setCenter(p);
        for (size_t i = 0; i < hand->size(); ++i) {
            auto card = myCardAt(i);
            if (!card || card == movedCard_) continue;
            auto frame = card->frame();
            frame.size.height += 15 * Util::iPad();
            if (frame.contains(p)) {
                indexToMove_ = int(i);
                break;
            }
        }
    } else if (p.y >= liftLine()) {
        const int dx = std::abs(int(p.x - beginPoint_.x));
        const int dy = std::abs(int(p.y - beginPoint_.y));
        if (dx <= dy) return;
        for (size_t i = hand->size(); i-- > 0;) {
            auto card = myCardAt(i);
            if (!card || !card->frame().contains(p)) continue;
            if (card->isSelected() == isSelect_ && !isMoving_) card->setSelected();
            break;
        }
    } else {
        isUpTouch_ = true;
        if (!movedCard_->isSelected() && !movedCard_->isChecked()) movedCard_->setSelected();
        isMoving_ = true;
        int j = 0;
        for (size_t i = 0; i < hand->size(); ++i) {
            auto card = myCardAt(i);
            if (!card || !card->isSelected() || card->isChecked()) continue;
            card->setCenter({p.x + j * 30 * Util::iPad(), p.y});
            vBoardView_->bringSubviewToFront(card.get());
            ++j;
        }
    }
}

void MauBinhView::touchesEnded(const std::vector<platform::ui::Touch>& touches) {
    if (touches.empty() || !isAllowBinh_) return;
    const Point p = touches.front().locationInView(view().get());
    if (binhMode_ == 1) {
        if (replacingCard_ && !isFinish_) {
            const int to = getReplacingCard(p);
            const int from = indexOfMyCard(replacingCard_.get());
            if (from >= 0 && (to < 0 || to == from)) {
                animationZoomOutCard(replacingCard_, bigSlots_[size_t(from)]);
            } else if (from >= 0) {
                animationZoomOutCard(replacingCard_, bigSlots_[size_t(to)]);
                if (auto other = myCardAt(size_t(to))) animationZoomOutCard(other, bigSlots_[size_t(from)]);
                swapMyCards(size_t(from), size_t(to));
                resetChiResult();
            }
        }
        replacingCard_ = nullptr;
        return;
    }
    if (binhMode_ != 0 || isFinishManualBinh_) return;
    touchEndedPlacing(p);
}

void MauBinhView::touchesCancelled(const std::vector<platform::ui::Touch>&) {
    for (const auto& card : {movedCard_, replacingCard_}) {
        if (!card) continue;
        card->setTransform(platform::ui::AffineTransform::identity());
        card->setAlpha(1.0);
    }
    movedCard_ = nullptr;
    replacingCard_ = nullptr;
}

void MauBinhView::touchEndedPlacing(Point p) {
    auto* hand = getMyCard();
    if (!hand) return;
    if (!movedCard_ || movedCard_->isChecked()) {
        if (!isMoving_) {
            // A tap on a placed card sends it back to the row.
            const int place = getCardPlaceWithPoint(p);
            auto card = place >= 0 ? myCardAt(size_t(place)) : nullptr;
            if (card && card->isChecked()) {
                card->setTransform(platform::ui::AffineTransform::identity());
                card->setIsChecked(false);
                cardPlaces_[size_t(place)]->setTag(0);
                drawMyCard();
            }
        } else {
            dropPlacedCard(p);
        }
        movedCard_ = nullptr;
        completeIfTwoHandsFull();
        return;
    }
    auto card = movedCard_;
    movedCard_ = nullptr;
    platform::ui::View::animate(kLift, [card] {
        card->setTransform(platform::ui::AffineTransform::identity());
        card->setAlpha(1.0);
    });
    if (isDownTouch_) {
        const int to = indexToMove_;
        auto target = to >= 0 ? myCardAt(size_t(to)) : nullptr;
        // The row's order changes among the unplaced cards only: a placed card keeps
        // the index of its place.
        if (target && to != indexFromMove_ && !target->isChecked()) {
            std::vector<size_t> rowIndices;
            std::vector<std::shared_ptr<PlayingCard>> row;
            for (size_t i = 0; i < hand->size(); ++i) {
                auto each = myCardAt(i);
                if (each && each->isChecked()) continue;
                rowIndices.push_back(i);
                row.push_back((*hand)[i]);
            }
            auto from = std::find(row.begin(), row.end(), std::static_pointer_cast<PlayingCard>(card));
            auto at = std::find(row.begin(), row.end(), std::static_pointer_cast<PlayingCard>(target));
            if (from != row.end() && at != row.end()) {
                const auto toPos = size_t(at - row.begin());
                row.erase(from);
                row.insert(row.begin() + long(std::min(toPos, row.size())), card);
                for (size_t k = 0; k < rowIndices.size(); ++k)
                    (*hand)[rowIndices[k]] = row[k];
            }
        }
        if (card->isSelected()) card->setSelected();
        drawMyCard();
    } else if (isUpTouch_) {
        std::vector<std::shared_ptr<CardViewPhom>> lifted;
        for (size_t i = 0; i < hand->size(); ++i)
            if (auto each = myCardAt(i); each && each->isSelected() && !each->isChecked()) lifted.push_back(each);
        if (lifted.empty()) return;
        if (const int chi = getRegionWillDrop(p)) {
            if (checkValidCardsOnRegion(chi, lifted.size()))
                addValidCardsOnRegion(chi, lifted);
            else
                showChatWithSeat(4, Resources::getInstance().textWithKey("KAVO_invalidCard"));
        }
        drawMyCard();
    } else if (isSelecting_) {
        card->setSelected();
    }
    completeIfTwoHandsFull();
}

void MauBinhView::dropPlacedCard(Point p) {
    auto moved = movedCard_;
    const Point back = beginDrap_;
    // Onto another placed card: the two swap.
    std::shared_ptr<CardViewPhom> target = getMyCardWithPoint(p);
    if (target && target->isChecked()) {
        platform::ui::View::animate(
            kMove,
            [moved, target, back] {
                moved->setCenter(target->center());
                target->setCenter(back);
            },
            guarded([this, moved, target] {
                const int a = indexOfMyCard(moved.get());
                const int b = indexOfMyCard(target.get());
                if (a >= 0 && b >= 0) swapMyCards(size_t(a), size_t(b));
            }));
        return;
    }
    // Onto a free place or back onto its own: it sits there.
    const int own = indexOfMyCard(moved.get());
    int place = -1;
    for (size_t i = 0; i < cardPlaces_.size(); ++i)
        if (cardPlaces_[i]->frame().contains(p) && (cardPlaces_[i]->tag() != kPlaceTaken || int(i) == own)) {
            place = int(i);
            break;
        }
    if (place < 0) {
        platform::ui::View::animate(kMove, [moved, back] { moved->setCenter(back); });
        return;
    }
    const Point to = cardPlaces_[size_t(place)]->center();
    platform::ui::View::animate(
        kMove, [moved, to] { moved->setCenter(to); }, guarded([this, moved, place] {
            const int from = indexOfMyCard(moved.get());
            if (from < 0) return;
            swapMyCards(size_t(from), size_t(place));
            cardPlaces_[size_t(from)]->setTag(0);
            cardPlaces_[size_t(place)]->setTag(kPlaceTaken);
        }));
}

void MauBinhView::completeIfTwoHandsFull() {
    auto* hand = getMyCard();
    if (!hand || !checkFinish2Chi()) return;
    for (size_t i = 0; i < cardPlaces_.size(); ++i) {
        if (cardPlaces_[i]->tag() == kPlaceTaken) continue;
        for (size_t j = 0; j < hand->size(); ++j) {
            auto card = myCardAt(j);
            if (!card || card->isChecked()) continue;
            animationZoomOutCard(card, cardPlaces_[i]);
            card->setIsChecked(true);
            cardPlaces_[i]->setTag(kPlaceTaken);
            swapMyCards(j, i);
            break;
        }
    }
    isFinishManualBinh_ = true;
    binhMode_ = 1;
    after(1.0, [this] { showSortScreen(); });
}

} // namespace kavo
