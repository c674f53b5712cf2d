#pragma once

#include "platform/ui/Geometry.h"

#include <functional>
#include <memory>
#include <source_location>
#include <string>
#include <utility>

namespace kavo {

// Something shown over a screen that closes on Escape, and says so itself: a sheet, a
// panel, a form, a picker, a page laid over a list, a plain view laid over a screen with a
// close of its own (the lottery's stake entry, a log-in form). The topmost open one the
// player sees is the overlay in front (Overlay.h): Escape closes it (EscapeWalk: the top
// screen's views front to back, what lies over a view before the view) and Return stops at
// it (ReturnWalk). The view itself is the target, or the controller whose view it is. Main
// thread only.
// What Escape did at a target.
enum class EscapeAnswer {
    notOpen,     // it is not open (or already going): Escape goes on to what lies under it
    closed,      // it closed as its own close does, with what belongs to it
    keepsEscape, // it is open and Escape stops at it, closing nothing (a step the player
                 // leaves only by its own buttons)
};

class EscapeTarget {
public:
    virtual ~EscapeTarget() = default;
    // Whether it is open, asked without changing anything: one that is shown is, unless it
    // says it is going already (a sheet sliding out) or shows nothing to close yet. The
    // walks pass over hidden views before they ask.
    virtual bool isOpen() const { return true; }
    virtual EscapeAnswer closeItself() = 0;
};

// The close its owner gives a view of a kind that knows nothing of Escape, the name of that
// view, and, for a view that stays shown while it has nothing open (a page that shows its
// list, a form slid off the screen), whether it is open.
class OwnedClose : public EscapeTarget {
public:
    OwnedClose(std::string name, std::function<bool()> close, std::function<bool()> open)
        : name_(std::move(name)), close_(std::move(close)), open_(std::move(open)) {}

    bool isOpen() const override { return !open_ || open_(); }
    EscapeAnswer closeItself() override { return close_ && close_() ? EscapeAnswer::closed : EscapeAnswer::notOpen; }
    // "<file that made it> <identifier>", e.g. "ProfileSubView.cpp actionSheet".
    const std::string& escapeName() const { return name_; }

private:
    std::string name_;
    std::function<bool()> close_;
    std::function<bool()> open_;
};

// A view of a kind that knows nothing of Escape (a plain view, a picker) that its owner
// makes to close on Escape as the owner closes it: a picker's panel, a page laid over a
// list, the emoticon board. Made by closingView, which names it by the file that made it
// and the view's identifier.
template <class Kind> class ClosingView : public Kind, public OwnedClose {
public:
    ClosingView(platform::ui::Rect frame, std::string name, std::function<bool()> close, std::function<bool()> open)
        : Kind(frame), OwnedClose(std::move(name), std::move(close), std::move(open)) {}
};

// The name of a closing view made at `where` with that identifier.
std::string closingViewName(const std::source_location& where, const std::string& identifier);

// A view of `Kind` with that frame and accessibility identifier that Escape closes by
// `close` (which returns false when there is nothing to close). It is open whenever it is
// shown, or, when `open` is given, while that says so.
template <class Kind>
std::shared_ptr<ClosingView<Kind>> closingView(platform::ui::Rect frame, const std::string& identifier,
                                               std::function<bool()> close, std::function<bool()> open = nullptr,
                                               std::source_location where = std::source_location::current()) {
    auto view = std::make_shared<ClosingView<Kind>>(frame, closingViewName(where, identifier), std::move(close),
                                                    std::move(open));
    view->setAccessibilityIdentifier(identifier);
    return view;
}

} // namespace kavo
