#include "table/cards/PlayingCard.h"

#include "app/Util.h"
#include "table/registry/GameController.h"

namespace kavo {

std::string CardFace::pictureName(int index) {
    if (index < 0 || index > 51) return {};
    return index == 0 ? std::string("100.png") : std::to_string(index) + ".png";
}

std::string CardFace::backName(int levelRoom) {
    if (levelRoom == 0) return "52.png";
    if (levelRoom == 1) return "53.png";
    return "54.png";
}

std::string CardFace::pictureOrBack(int index) {
    auto name = pictureName(index);
    return name.empty() ? backName(GameController::getLevelRoom()) : name;
}

std::string CardFace::identifier(int8_t cardId) {
    const auto wire = static_cast<uint8_t>(cardId);
    return wire == 255 ? std::string("cardBack") : "card" + std::to_string(wire);
}

int CardFace::cardWidth() {
    return Util::isPad() ? 120 : 50;
}

int CardFace::cardHeight() {
    return Util::isPad() ? 160 : 65;
}

platform::ui::Point CardFace::startCenter() {
    return Util::isPad() ? platform::ui::Point{512, 369} : platform::ui::Point{240, 145};
}

bool CardFace::toggleLift(platform::ui::View& card, bool wasSelected) {
    const double lift = 15 * Util::iPad();
    platform::ui::View::beginAnimations("selectedCard");
    platform::ui::View::setAnimationDuration(0.1);
    auto center = card.center();
    if (wasSelected) {
        center.y += lift;
        setHighlight(card, platform::ui::Color::clear(), {-1, -1}, 1.0, 2.0);
    } else {
        center.y -= lift;
        setHighlight(card, platform::ui::Color::white(), {-1, -1}, 1.0, 2.0);
    }
    card.setCenter(center);
    platform::ui::View::commitAnimations();
    return !wasSelected;
}

void CardFace::setHighlight(platform::ui::View& card, platform::ui::Color color, platform::ui::Size offset,
                            double opacity, double radius) {
    card.layer().setShadowColor(color);
    card.layer().setShadowOffset(offset);
    card.layer().setShadowOpacity(opacity);
    card.layer().setShadowRadius(radius);
    card.setClipsToBounds(false);
}

} // namespace kavo
