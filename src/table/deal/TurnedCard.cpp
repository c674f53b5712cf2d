#include "table/deal/TurnedCard.h"

#include "app/Util.h"
#include "table/cards/CardView.h"
#include "table/cards/CardViewPhom.h"

#include <string>
#include <vector>

namespace kavo {

bool layTurnedFace(CardViewPhom& card, uint8_t wireId) {
    const int8_t id = int8_t(wireId);
    if (id < 0 || id > 51) return false;
    const std::string picture = CardFace::pictureName(CardViewPhom::mapToRealCardIdWithId(id));
    if (picture.empty()) return false;
    for (const auto& child : std::vector<platform::ui::ViewPtr>(card.subviews()))
        child->removeFromSuperview();
    auto face = platform::ui::ImageView::make({0, 0, double(CardView::cardWidth()), double(CardView::cardHeight())});
    face->setImage(Util::getImageWithName(picture));
    face->setAccessibilityIdentifier("face" + picture);
    card.addSubview(face);
    card.setIsChecked(true);
    card.setAccessibilityIdentifier(CardFace::identifier(id));
    return true;
}

} // namespace kavo
