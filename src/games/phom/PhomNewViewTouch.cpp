// The finger on my Phom hand: tap, drag and drop with regrouping, fire by dragging up,
// and eat by touching the last discard. Card views take no touches of their own; the
// touches reach the screen through the responder chain.
#include "app/Text.h"
#include "app/Util.h"
#include "games/phom/PhomNewService.h"
#include "games/phom/PhomNewView.h"
#include "games/phom/PhomRegroup.h"
#include "platform/runtime/Log.h"
#include "platform/ui/Touch.h"

#include <algorithm>

namespace kavo {

namespace {

using platform::ui::AffineTransform;

} // namespace

void PhomNewView::touchesBegan(const std::vector<platform::ui::Touch>& touches) {
    if (touches.empty() || !cardLayer_) return;
    firstTouch_ = currentTouch_ = touches.front().locationInView(cardLayer_.get());
    toMove_.reset();
    // A drop place is the drag's own: none of an earlier touch carries over.
    indexOfCard2_ = -1;
    isCardMove_ = false;
    // Cards overlap: the last (rightmost, topmost) card under the finger wins.
    for (size_t i = 0; i < myCards_.size(); ++i) {
        const auto& card = myCards_[i];
        if (card->superview() != cardLayer_.get() || !card->frame().contains(firstTouch_)) continue;
        toMove_ = card;
        indexOfCard_ = int(i);
    }
    if (!isEatCard_ || isEatTouch_) return;
    const int seat = getSeatFromID(firstPlayer_);
    if (seat < 0 || seat >= kSeats || playersFiredCards_[size_t(seat)].empty()) return;
    if (playersFiredCards_[size_t(seat)].back()->frame().contains(firstTouch_)) isEatTouch_ = true;
}

void PhomNewView::touchesMoved(const std::vector<platform::ui::Touch>& touches) {
    if (touches.empty() || !cardLayer_ || !toMove_) return;
    currentTouch_ = touches.front().locationInView(cardLayer_.get());
    toMove_->setCenter(currentTouch_);
    cardLayer_->bringSubviewToFront(toMove_.get());
    toMove_->setAlpha(0.5);
    if (!isCardMove_) {
        auto card = toMove_;
        platform::ui::View::animate(0.1, [card] { card->setTransform(AffineTransform::scale(1.2, 1.2)); });
        isCardMove_ = true;
    }
    for (size_t i = 0; i < myCards_.size(); ++i)
        if (myCards_[i] != toMove_ && myCards_[i]->frame().contains(currentTouch_)) indexOfCard2_ = int(i);
}

void PhomNewView::touchesEnded(const std::vector<platform::ui::Touch>& touches) {
    endTouch(touches);
}

void PhomNewView::touchesCancelled(const std::vector<platform::ui::Touch>& touches) {
    endTouch(touches);
}

void PhomNewView::endTouch(const std::vector<platform::ui::Touch>& touches) {
    if (!touches.empty() && cardLayer_) currentTouch_ = touches.front().locationInView(cardLayer_.get());
    const CardPtr card = std::move(toMove_);
    toMove_.reset();
    if (card) {
        card->setAlpha(1.0);
        platform::ui::View::animate(1.0, [card] { card->setTransform(AffineTransform::identity()); });
    }
    if (isEatTouch_) {
        isEatTouch_ = false;
        baiPost_ = card ? card->center() : platform::ui::Point{};
        doEat();
        return;
    }
    if (!card) return;
    // A server event may have taken the card out of the hand while the finger held it.
    const auto found = std::find(myCards_.begin(), myCards_.end(), card);
    if (found == myCards_.end()) {
        platform::log("Phom table: the dragged card left the hand meanwhile, the move is dropped");
        card->removeFromSuperview();
        indexOfCard2_ = -1;
        paintMyCards(myCards_);
        return;
    }
    indexOfCard_ = int(found - myCards_.begin());
    if (!isCardMove_) {
        card->setSelected();
        return;
    }
    if (isDoFire_ && currentTouch_.y < limitYAtSeat0_ + 30 * Util::iPadY()) {
        resetUpCard();
        card->setIsSelected(true);
        if (!btnAutoSelected()->isHidden() &&
            btnAutoSelected()->titleForState(platform::ui::ControlState::Normal) == text("KAVO_guiPhom")) {
            showChatWithSeat(kBubble, text("KAVO_CancelBeforeFire"));
            paintMyCards(myCards_);
        } else {
            doFire();
        }
        return;
    }
    card->setIsSelected(false);
    if (indexOfCard2_ != indexOfCard_ && indexOfCard2_ != -1) {
        MeldHand hand = meldHand();
        phomregroup::dropCard(hand, indexOfCard_, indexOfCard2_, tags_, [this](const MeldHand& regrouped) {
            PhomNewService::getInstance().doResetPhom(roomId(), boardId(), regrouped);
        });
        applyMeldHand(hand);
        sendMeldGrouping();
        indexOfCard2_ = -1;
        resetUpCard();
    }
    paintMyCards(myCards_);
}

void PhomNewView::checkDoiPhom() {
    MeldHand hand = meldHand();
    const auto change = phomregroup::checkDoiPhom(hand, indexOfCard2_, tags_);
    applyMeldHand(hand);
    if (change != phomregroup::Change::None) sendMeldGrouping();
}

bool PhomNewView::checkCardIndex() const {
    return phomregroup::checkCardIndex(meldHand(), indexOfCard2_);
}

void PhomNewView::moveCardFromIndex(int from, int to) {
    if (from == to || from < 0 || size_t(from) >= myCards_.size() || to < 0) return;
    const auto card = myCards_[size_t(from)];
    myCards_.erase(myCards_.begin() + from);
    if (size_t(to) >= myCards_.size())
        myCards_.push_back(card);
    else
        myCards_.insert(myCards_.begin() + to, card);
}

} // namespace kavo
