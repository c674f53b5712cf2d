// Where a table's bubble stands while it shows a line, and how much of its lines it holds.
#pragma once

#include "platform/ui/Geometry.h"
#include "table/base/BubbleRoom.h"

#include <cstddef>
#include <string>
#include <vector>

namespace platform::ui {
class View;
}

namespace kavo {

class CustomLabel;

// A seat's bubble stands by its speaker: at the place its table gives it (the layout's
// place, a place by the window's right edge, or a point it is centred on), or, where that
// place is covered, the least way from it that lies inside the window, clear of what its
// room says must stay in sight (the buttons, the names and other texts, the other bubbles),
// and nearer its speaker's seat than any other seat taken. It covers the table's pictures (cards,
// pieces, avatars) only where it finds no such place off them, and as little of them as it
// can. Its text wraps within 260 points onto at most three lines (narrower, or onto fewer,
// where a larger bubble finds no place): it holds as many of the lines waiting as fit,
// joined by ", ", and the rest wait for its next time; a line longer than it holds shows its
// beginning and the mark that more follows. A line always shows: where no place at all is
// clear, the bubble stands where it covers the least, still by its speaker. Once it hides it
// goes back to the place the layout gave it; a layout that moves it meanwhile wins.
// Main thread only.
class BubblePlace {
public:
    static constexpr double kTextWidth = 260;
    static constexpr double kInset = 20;
    static constexpr double kLowest = 40;
    // The most lines of text a bubble holds.
    static constexpr int kMostLines = 3;

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
        // The table's seats in window points (empty where nobody sits), and the one whose
        // player speaks in this bubble (-1: the table's own line, which belongs to no seat).
        std::vector<platform::ui::Rect> seats{};
        int speaker = -1;
        // The most lines of text it may take here, and the widest they may be.
        int mostLines = kMostLines;
        double widest = kTextWidth;
    };
    struct Showing {
        // How many of the lines waiting it took (at least one when any waits).
        size_t taken = 0;
        // It found a clear place (else it lies where it covers the least).
        bool clear = false;
    };

    // Lays `bubble` out around what its `label` (its subview) shows of `waiting` (the lines
    // for it, in the order said), standing as `stand` says inside a window of `window`.
    Showing show(platform::ui::View& bubble, CustomLabel& label, const std::vector<std::string>& waiting,
                 const Stand& stand, platform::ui::Size window);
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
