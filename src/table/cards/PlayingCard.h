#pragma once

#include "platform/ui/View.h"

#include <cstdint>
#include <string>

namespace kavo {

// What a hand holds of any card picture (CardView at the Tien Len tables,
// CardViewPhom and BCCardView at the others): the id it came with, whether the
// player lifted it, and the view itself. Main thread only.
class PlayingCard {
public:
    virtual ~PlayingCard() = default;
    virtual int8_t cardID() const = 0;
    virtual bool isSelected() const = 0;
    // Lifts or drops the card (animated) and flips isSelected.
    virtual void setSelected() = 0;
    virtual platform::ui::View& cardView() = 0;
};

// The rules every card picture shares: the picture file of an index of the Tien Len
// order, the back of the room level, the accessibility name, and the lift.
class CardFace {
public:
    // "100.png" for index 0, "<n>.png" for 1..51; "" outside 0..51.
    static std::string pictureName(int index);
    // "52.png", "53.png" or "54.png" for room level 0, 1 or any other.
    static std::string backName(int levelRoom);
    // The picture of an index, or the room level's back when the index is outside 0..51.
    static std::string pictureOrBack(int index);
    // "card<id>" with the wire byte in decimal; "cardBack" for 255, whose card is unknown.
    static std::string identifier(int8_t cardId);
    // The card size of the hands: 50 x 65 on a phone, 120 x 160 on a tablet.
    static int cardWidth();
    static int cardHeight();
    // Where a new card stands before a screen lays it out: (240, 145) or (512, 369).
    static platform::ui::Point startCenter();
    // Moves the card up (or back down when it was lifted) by 15 points times the
    // tablet factor in the 0.1 s animation "selectedCard", with the highlight on a
    // lifted card. Returns the new selection.
    static bool toggleLift(platform::ui::View& card, bool wasSelected);
    static void setHighlight(platform::ui::View& card, platform::ui::Color color, platform::ui::Size offset,
                             double opacity, double radius);
};

} // namespace kavo
