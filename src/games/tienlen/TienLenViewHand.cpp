// The Tien Len table screen: my hand's touches (tap, swipe, reorder drag, drag up to
// fire) and the actions Fire, Skip, auto select and start.
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/tienlen/CardUtils.h"
#include "games/tienlen/TienLenView.h"
#include "portal/GlobalService.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/CardView.h"

#include <algorithm>
#include <cmath>

namespace kavo {

namespace ui = platform::ui;

namespace {

// The phone thresholds of a drag, scaled to the device.
constexpr double kFireDragBelow = 215;
constexpr double kFireReleaseAbove = 185;
constexpr double kRowTaller = 15;
constexpr double kFanStep = 30;

std::vector<int8_t> ascending(const std::vector<uint8_t>& ids) {
    std::vector<int8_t> bytes(ids.begin(), ids.end());
    return CardUtils::sorted(bytes);
}

// My record's hand as the rule engine's auto select sees it.
class PlayerHand : public SelectableHand {
public:
    explicit PlayerHand(TienLenPlayer& player) : player_(player) {}
    std::vector<int8_t> handIds() const override {
        std::vector<int8_t> ids;
        if (player_.cards())
            for (const auto& card : *player_.cards())
                ids.push_back(card->cardID());
        return ids;
    }
    std::vector<int8_t> selectedIds() const override {
        std::vector<int8_t> ids;
        for (uint8_t id : player_.getSelectedCardsValue())
            ids.push_back(int8_t(id));
        return ids;
    }
    void unSelectAll() override { player_.unSelectAllCards(); }
    void selectAt(int index) override {
        const auto& cards = player_.cards();
        if (!cards || index < 0 || size_t(index) >= cards->size()) return;
        auto card = (*cards)[size_t(index)];
        if (!card->isSelected()) card->setSelected();
    }

private:
    TienLenPlayer& player_;
};

} // namespace

std::vector<uint8_t> TienLenView::selectionIds() const {
    auto mine = myPlayer();
    return mine && isMe(mine->IDDB()) ? mine->getSelectedCardsValue() : std::vector<uint8_t>{};
}

void TienLenView::setTurnButtons(bool mine) {
    btnSkip()->setEnabled(mine);
    btnFire()->setEnabled(mine && isValidSelection());
}

// ---------------------------------------------------------------- the selection

bool TienLenView::isValidSelection() {
    selectedCards_ = selectionIds();
    std::vector<int8_t> sorted = ascending(selectedCards_);
    selectedCards_.assign(sorted.begin(), sorted.end());
    selectedCardsType_ = int8_t(combinationType(sorted));
    return !selectedCards_.empty() && selectedCardsType_ != -1;
}

void TienLenView::checkValidSelectedCards() {
    const bool valid = isValidSelection();
    if (isViewLoaded()) btnFire()->setEnabled(valid && myTurn());
}

bool TienLenView::isAvailableFiredCards() {
    selectedCards_ = selectionIds();
    if (forceMove3Bich_) {
        if (std::find(selectedCards_.begin(), selectedCards_.end(), uint8_t(0)) == selectedCards_.end()) {
            showChatWithSeat(4, text("KAVO_youMustFire3Bich"));
            return false;
        }
        forceMove3Bich_ = false;
    }
    if (!currentCards_.empty() && !currentCardsValue_.empty()) {
        const std::vector<int8_t> mine = ascending(selectedCards_);
        const std::vector<int8_t> table = ascending(currentCardsValue_);
        if (!beats(mine, combinationType(mine), table, currentCardsType_)) {
            showChatWithSeat(4, text("KAVO_notSameOrSmaller"));
            return false;
        }
    }
    return true;
}

bool TienLenView::fireMyCards() {
    // Nothing goes out out of turn or for a selection that is no combination.
    if (!myTurn() || !isValidSelection()) return false;
    if (!isAvailableFiredCards()) return false;
    sendMove(selectedCards_);
    return true;
}

void TienLenView::clickFire() {
    fireMyCards();
}

void TienLenView::clickSkip() {
    UIController::startCancelOkDlg(text("KAVO_doYouWantSkip"), text("KAVO_cancel"), text("KAVO_OK"),
                                   {UIController::kActionSkipTurn});
}

void TienLenView::clickAutomaticSelectedCards() {
    if (btnAutoSelected()->titleForState(ui::ControlState::Normal) != text("KAVO_autoselect")) return;
    auto mine = myPlayer();
    if (!mine || !isMe(mine->IDDB())) return;
    std::vector<int8_t> table;
    if (!currentCards_.empty()) table = ascending(currentCardsValue_);
    PlayerHand hand(*mine);
    autoSelectOn(hand, table);
}

void TienLenView::doStartGame() {
    int ready = 0;
    int notReady = 0;
    for (const auto& player : players()) {
        if (player->IDDB() == -1 || isMe(player->IDDB())) continue;
        (player->isReady() ? ready : notReady) += 1;
    }
    if (ready >= 1 && notReady == 0) {
        auto me = UIController::myInfo();
        if (me && int64_t(money()) <= me->money())
            GlobalService::getInstance().startGameWithRoomId(roomId(), boardId());
        else
            UIController::showNotice(text("KAVO_koDuTienCuoc"));
        return;
    }
    UIController::showNotice(text("KAVO_cannotStart"));
}

// ---------------------------------------------------------------- touches

int TienLenView::handIndexAt(ui::Point point, bool fromLast, const CardView* except, double taller) const {
    const auto hand = myHand();
    const int n = int(hand.size());
    for (int k = 0; k < n; ++k) {
        const int i = fromLast ? n - 1 - k : k;
        const auto& card = hand[size_t(i)];
        if (card.get() == except) continue;
        ui::Rect frame = card->frame();
        frame.size.height += taller;
        if (frame.contains(point)) return i;
    }
    return -1;
}

void TienLenView::touchesBegan(const std::vector<ui::Touch>& touches) {
    if (isGameEnd() || touches.empty()) return;
    indexFromMove_ = indexToMove_ = -1;
    isDownTouch_ = isUpTouch_ = false;
    isSelecting_ = true;
    beginPoint_ = touches.front().locationInView(view().get());
    const int index = handIndexAt(beginPoint_, true, nullptr, 0);
    movedCard_ = index < 0 ? nullptr : myHand()[size_t(index)];
    indexFromMove_ = index;
    isSelect_ = movedCard_ && movedCard_->isSelected();
}

void TienLenView::touchesMoved(const std::vector<ui::Touch>& touches) {
    if (isGameEnd() || !movedCard_ || touches.empty()) return;
    isSelecting_ = false;
    const ui::Point p = touches.front().locationInView(view().get());
    const auto hand = myHand();
    if (p.y > rules_.reorderBelow * Util::iPadY() || isDownTouch_) {
        if (!isDownTouch_) {
            isDownTouch_ = true;
            auto card = movedCard_;
            ui::View::animate(0.1, [card] {
                card->setTransform(ui::AffineTransform::scale(1.2, 1.2));
                card->setAlpha(0.5);
            });
            view()->bringSubviewToFront(movedCard_.get());
        }
        movedCard_->setCenter(p);
        const int over = handIndexAt(p, false, movedCard_.get(), kRowTaller * Util::iPadY());
        if (over >= 0) indexToMove_ = over;
    } else if (p.y < kFireDragBelow * Util::iPadY() && myTurn()) {
        isUpTouch_ = true;
        if (!movedCard_->isSelected()) movedCard_->setSelected();
        int j = 0;
        for (const auto& card : myHand()) {
            if (!card->isSelected()) continue;
            card->setCenter({p.x + kFanStep * Util::iPadX() * j++, p.y});
            view()->bringSubviewToFront(card.get());
        }
    } else if (std::trunc(std::abs(p.x - beginPoint_.x)) > std::trunc(std::abs(p.y - beginPoint_.y))) {
        const int index = handIndexAt(p, true, nullptr, 0);
        if (index >= 0 && hand[size_t(index)]->isSelected() == isSelect_) hand[size_t(index)]->setSelected();
    }
}

void TienLenView::touchesEnded(const std::vector<ui::Touch>& touches) {
    if (isGameEnd() || !movedCard_ || touches.empty()) return;
    const ui::Point p = touches.front().locationInView(view().get());
    auto card = movedCard_;
    ui::View::animate(0.1, [card] {
        card->setTransform(ui::AffineTransform::identity());
        card->setAlpha(1);
    });
    auto mine = myPlayer();
    if (isDownTouch_) {
        if (mine && mine->cards() && indexToMove_ != indexFromMove_ && indexToMove_ != -1) {
            auto& cards = *mine->cards();
            auto it = std::find_if(cards.begin(), cards.end(), [&](const auto& c) { return c.get() == card.get(); });
            if (it != cards.end()) {
                auto held = *it;
                cards.erase(it);
                if (size_t(indexToMove_) >= cards.size())
                    cards.push_back(held);
                else
                    cards.insert(cards.begin() + indexToMove_, held);
            }
        }
        if (card->isSelected()) card->setSelected();
        paintMyCards(false, true);
    } else if (isUpTouch_) {
        if (p.y < kFireReleaseAbove * Util::iPadY() && fireMyCards()) {
            endPoint_ = p;
        } else {
            paintMyCards(false, true);
        }
    } else if (isSelecting_) {
        card->setSelected();
    }
    movedCard_.reset();
}

void TienLenView::touchesCancelled(const std::vector<ui::Touch>&) {
    // A card's own tap took the touch: it lifted or dropped itself.
    if (movedCard_ && (isDownTouch_ || isUpTouch_)) paintMyCards(false, true);
    movedCard_.reset();
    isDownTouch_ = isUpTouch_ = false;
}

} // namespace kavo
