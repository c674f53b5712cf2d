// The chat bubbles of a table: one per seat and one for the table's own line, each with
// the lines waiting for it.
#pragma once

#include "platform/runtime/RunLoop.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/ImageView.h"
#include "table/base/BubblePlace.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class Player;

// A line queued for a bubble shows at once when the bubble is hidden; lines that come while
// it shows wait, and when its time ends it shows them, joined by ", ", as many as it holds
// (BubblePlace), then the rest at its next time; with nothing left it hides. So every line
// said shows, by its speaker, within a bubble's time after the one before it. Where a bubble
// finds no clear place by its speaker (every seat speaks at once), the bubbles shown make
// room: each holds one short line of what it shows, the rest following at its next time,
// and they stand again around it. The table makes the bubbles' views and owns this; main
// thread only.
class SeatBubbles {
public:
    struct Look {
        const char* picture;
        bool centred; // the label's text is centred
        BubblePlace::Anchor anchor;
        double seconds; // how long a text stays before the next look
        int seat;       // the seat (index into the table's seats) whose player speaks here; -1 none
    };
    // Runs the bubble's next look (showNext) after `seconds`, only while the table lives.
    using Later = std::function<std::shared_ptr<platform::Timer>(double seconds, int bubble)>;
    // Where the table's seats stand now, in window points; an empty rectangle for a seat
    // nobody sits at (a bubble by it is taken for no one's).
    using Seats = std::function<std::vector<platform::ui::Rect>()>;

    SeatBubbles() = default;
    SeatBubbles(const SeatBubbles&) = delete;
    SeatBubbles& operator=(const SeatBubbles&) = delete;
    ~SeatBubbles() { stopTimers(); }

    // Where a seat stands in the window for the bubbles: its seat button's place, or an
    // empty rectangle when nobody (`sitter` null or without an id) sits there.
    static platform::ui::Rect seatRect(const platform::ui::View& seatButton, const Player* sitter);

    // The table's bubbles, each hidden, with its look.
    void setUp(std::vector<std::shared_ptr<platform::ui::ImageView>> views, std::vector<Look> looks, Later later,
               Seats seats);
    // The right end of a bubble by the window's right edge stands `margin` points left of it;
    // a centred bubble is centred on `centre`.
    void setStandPoints(double margin, platform::ui::Point centre);

    // The lines waiting for a bubble, joined by ", " ("" when none).
    std::string waiting(int bubble) const;
    std::vector<std::string> allWaiting() const;

    // A line for bubble `bubble`: shown now when the bubble is hidden, else after it.
    void queue(int bubble, const std::string& line);
    // The bubble's next look: the lines waiting, or it hides.
    void showNext(int bubble);
    void hide(int bubble);
    // A line still waiting (not shown yet) no longer shows.
    void withdraw(int bubble, const std::string& line);
    // No bubble looks again: the texts shown stay.
    void stopTimers();
    // No line waits any more; the texts shown stay their time.
    void dropWaiting();
    // Every bubble hides and nothing waits.
    void clear();

private:
    bool valid(int bubble) const { return bubble >= 0 && size_t(bubble) < views_.size(); }
    // Lays the bubble out with the lines waiting for it (at most `mostLines` lines of text,
    // `widest` points wide) and takes those it shows; false where it found no clear place.
    bool layOut(int bubble, int mostLines, double widest);
    // The lines a bubble shows go back to the front of its queue.
    void giveBack(int bubble);
    // The bubbles shown make room for `bubble`, which found none.
    void makeRoomFor(int bubble);

    std::vector<std::shared_ptr<platform::ui::ImageView>> views_;
    std::vector<Look> looks_;
    std::vector<std::deque<std::string>> waiting_;
    // The lines each bubble shows now.
    std::vector<std::vector<std::string>> shown_;
    std::vector<std::shared_ptr<platform::Timer>> timers_;
    std::vector<BubblePlace> places_;
    Later later_;
    Seats seats_;
    double margin_ = 55;
    platform::ui::Point centre_{240, 140};
};

} // namespace kavo
