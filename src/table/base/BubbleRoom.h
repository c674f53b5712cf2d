#pragma once

#include "platform/ui/Geometry.h"

#include <memory>
#include <span>
#include <vector>

namespace platform::ui {
class ImageView;
class View;
} // namespace platform::ui

namespace kavo {

// What a bubble must leave in sight at its table, found in the table's window as it is
// drawn now: the table's views and the window's own controls over every screen (the sheets
// and panels laid over the table are their own controllers' and not looked at).
struct BubbleRoom {
    // The bubble lies on none of these: the other bubbles shown, every text and every
    // button of the table (a seat, a name, the play and start buttons, a gift).
    std::vector<platform::ui::Rect> clearOf;
    // Nor on these, the table's pictures (cards, pieces, avatars), unless the table leaves no
    // place clear of them with no other bubble up.
    std::vector<platform::ui::Rect> rather;
    // Another bubble of the table shows.
    bool othersShown = false;
    // Pictures large enough to carry a bubble (the felt, the board): a bubble lies wholly on
    // one or off it, never across its edge.
    std::vector<platform::ui::Rect> carriers;

    // The room around `bubble`, one of the table's `bubbles`, on the table's view `table`.
    // All in window points.
    static BubbleRoom around(const platform::ui::View& table, const platform::ui::View& bubble,
                             std::span<const std::shared_ptr<platform::ui::ImageView>> bubbles);
};

} // namespace kavo
