// Where a table's bubble stands while it shows a line, and how it holds the line.
#pragma once

#include "platform/ui/Geometry.h"
#include "table/base/BubbleRoom.h"

namespace platform::ui {
class View;
}

namespace kavo {

class CustomLabel;

// A seat's bubble holds its whole line: the text wraps within 260 points onto as many
// lines as it needs (narrower, onto more lines, where a wide bubble finds no room), the
// picture lies 20 points beyond it on each side and is at least one line's bubble (40)
// high. The bubble stands where its table puts it (the layout's place, a place by the
// window's right edge or a point it is centred on), or as near to it as the bubble lies
// inside the window and clear of what its room says; once it hides it goes back to the
// place the layout gave it. A layout that moves the bubble meanwhile wins. Main thread only.
class BubblePlace {
public:
    static constexpr double kTextWidth = 260;
    static constexpr double kInset = 20;
    static constexpr double kLowest = 40;
    // How often a line that found no room looks for it again (and whenever another
    // bubble of its table hides).
    static constexpr double kWaitForRoom = 0.5;

    enum class Anchor {
        Origin,    // the layout's place: the bubble grows right and down from it
        RightEdge, // its right end `margin` points left of the window's right edge, its y kept
        Centre,    // centred on `centre`
    };
    struct Stand {
        Anchor anchor = Anchor::Origin;
        double margin = 0;
        platform::ui::Point centre{};
        BubbleRoom room{};
    };

    // Lays `bubble` out around the text its `label` (its subview) holds, standing as
    // `stand` says inside a window of `window`. False, and the bubble left as it was, when
    // no place inside the window is clear: the line waits for room.
    bool show(platform::ui::View& bubble, CustomLabel& label, const Stand& stand, platform::ui::Size window);
    // The bubble hides: it goes back to the layout's place.
    void hide(platform::ui::View& bubble);

private:
    // The layout's place of a bubble now at `origin`.
    platform::ui::Point home(platform::ui::Point origin) const;

    bool moved_ = false;
    platform::ui::Point home_{}; // the layout's origin
    platform::ui::Point at_{};   // the origin it was moved to
};

} // namespace kavo
