#include "table/cards/BCCardView.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/Touch.h"
#include "table/base/GameTableView.h"
#include "table/cards/PeekTable.h"
#include "table/registry/GameController.h"

#include <cmath>
#include <cstdlib>

namespace kavo {

namespace {

PeekTable* peekTableOf(int8_t gameType) {
    return dynamic_cast<PeekTable*>(GameController::getTableView(gameType).get());
}

} // namespace

std::shared_ptr<BCCardView> BCCardView::withCardID(int8_t cardId, bool isPhom, int32_t playerId, bool isBaiCao) {
    auto card = std::make_shared<BCCardView>();
    card->setUpCard(cardId, isPhom, playerId);
    std::weak_ptr<BCCardView> weak = card;
    card->addGestureRecognizer(platform::ui::TapGestureRecognizer::make(2, [weak](auto&) {
        if (auto self = weak.lock()) self->handleTapGesture();
    }));
    auto me = UIController::myInfo();
    if (!me || me->IDDB() != playerId) {
        card->setTransform(platform::ui::AffineTransform::scale(0.6, 0.6));
        card->setIsTouch(false);
        return card;
    }
    card->setIsTouch(true);
    card->setUserInteractionEnabled(true);
    card->cover_ = platform::ui::ImageView::make(card->bounds());
    card->cover_->setImage(Util::getImageWithName(CardFace::backName(GameController::getLevelRoom())));
    card->addSubview(card->cover_);
    if (!isBaiCao) card->setIsChecked(true);
    return card;
}

void BCCardView::handleTapGesture() {
    auto top = KavoOnlineAppDelegate::getInstance().topViewController();
    if (auto* peek = dynamic_cast<PeekTable*>(top.get())) peek->cardDoubleTapped();
}

void BCCardView::touchesBegan(const std::vector<platform::ui::Touch>& touches) {
    if (!isBaiNan_ || touches.empty()) return;
    firstPoint_ = touches.front().locationInView(this);
}

void BCCardView::touchesMoved(const std::vector<platform::ui::Touch>& touches) {
    if (!isBaiNan_ || touches.empty()) return;
    const auto at = touches.front().locationInView(this);
    const double dx = std::trunc(at.x - firstPoint_.x);
    const double dy = std::trunc(at.y - firstPoint_.y);
    const auto origin = frame().origin;
    // The card follows the finger to the right or downward of where the peek began.
    if (origin.x + dx >= comparePoint_.x || origin.y + dy >= comparePoint_.y)
        setCenter({center().x + dx, center().y + dy});
}

void BCCardView::touchesEnded(const std::vector<platform::ui::Touch>&) {
    if (isBaiNan_)
        peekEnded();
    else
        tapped();
}

void BCCardView::peekEnded() {
    const auto origin = frame().origin;
    const bool far = std::abs(int(origin.x - comparePoint_.x)) > 10 * Util::iPadX() ||
                     std::abs(int(origin.y - comparePoint_.y)) > 14 * Util::iPadY();
    if (!far) return;
    if (auto* table = peekTableOf(GameController::gameType()))
        table->cardPeekedAway(std::static_pointer_cast<BCCardView>(shared_from_this()));
}

void BCCardView::tapped() {
    if (auto* table = peekTableOf(GameController::gameType()))
        table->cardTapped(std::static_pointer_cast<BCCardView>(shared_from_this()));
}

} // namespace kavo
