#include "table/cards/CardView.h"

#include "app/Util.h"
#include "platform/ui/GestureRecognizer.h"
#include "table/base/GameCardView.h"
#include "table/registry/GameController.h"

namespace kavo {

CardView::CardView(platform::ui::Rect frame) : ImageView(frame) {}

void CardView::showPicture(const std::string& name) {
    pictureName_ = name;
    setImage(Util::getImageWithName(name));
}

std::shared_ptr<CardView> CardView::withCardID(int8_t cardId) {
    auto card = std::make_shared<CardView>(platform::ui::Rect{0, 0, double(cardWidth()), double(cardHeight())});
    card->setContentMode(platform::ui::ContentMode::ScaleToFill);
    card->showPicture(CardFace::pictureOrBack(cardId));
    card->cardID_ = cardId;
    card->setTag(cardId);
    card->cardType_ = cardId % 4;
    card->cardValue_ = cardId / 4;
    card->cardColor_ = card->cardType_ > 1 ? 1 : 0;
    card->setCenter(CardFace::startCenter());
    card->setAccessibilityIdentifier(CardFace::identifier(cardId));
    // A hand card reacts to a tap by lifting or dropping.
    card->setUserInteractionEnabled(true);
    std::weak_ptr<CardView> weak = card;
    card->addGestureRecognizer(platform::ui::TapGestureRecognizer::make(1, [weak](auto&) {
        if (auto self = weak.lock()) self->setSelected();
    }));
    return card;
}

std::shared_ptr<CardView> CardView::withCardID(int8_t cardId, bool isPhom) {
    auto card = withCardID(cardId);
    if (isPhom) card->cardMapping_.assign(std::begin(kPhomRankMapping), std::end(kPhomRankMapping));
    return card;
}

std::shared_ptr<CardView> CardView::baiTy() {
    auto card = std::make_shared<CardView>(Util::changeRectFromRect({0, 0, 20, 28}));
    auto back = platform::ui::ImageView::make(platform::ui::Rect{{0, 0}, card->bounds().size});
    const auto name = CardFace::backName(GameController::getLevelRoom());
    back->setImage(Util::getImageWithName(name));
    card->addSubview(back);
    card->pictureName_ = name;
    card->cardID_ = -1;
    card->setTag(52);
    card->setCenter(CardFace::startCenter());
    card->setAccessibilityIdentifier("cardBack");
    return card;
}

int CardView::cardWidth() {
    return CardFace::cardWidth();
}

int CardView::cardHeight() {
    return CardFace::cardHeight();
}

void CardView::setSelected() {
    isSelected_ = CardFace::toggleLift(*this, isSelected_);
    // The current game's table checks a selection as it changes, where it cares (the
    // Tien Len tables' fire button).
    if (auto table = std::dynamic_pointer_cast<GameCardView>(GameController::getTableView(GameController::gameType())))
        table->checkValidSelectedCards();
}

void CardView::setHighLightWithWidth() {
    CardFace::setHighlight(*this, platform::ui::Color::white(), {-1, -1}, 1.0, 2.0);
}

void CardView::unsetHighLightWithWidth() {
    CardFace::setHighlight(*this, platform::ui::Color::clear(), {-1, -1}, 1.0, 2.0);
}

} // namespace kavo
