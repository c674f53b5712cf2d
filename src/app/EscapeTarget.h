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
// close of its own (the lottery's stake entry, a log-in form). Escape closes the topmost
// one the player sees (EscapeWalk: the top screen's views front to back, what lies over a
// view before the view). The view itself is the target, or the controller whose view it
// is. Main thread only.
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
    virtual EscapeAnswer closeItself() = 0;
};

// The close its owner gives a view of a kind that knows nothing of Escape, and the name
// of that view.
class OwnedClose : public EscapeTarget {
public:
    OwnedClose(std::string name, std::function<bool()> close) : name_(std::move(name)), close_(std::move(close)) {}

    EscapeAnswer closeItself() override { return close_ && close_() ? EscapeAnswer::closed : EscapeAnswer::notOpen; }
    // "<file that made it> <identifier>", e.g. "ProfileSubView.cpp actionSheet".
    const std::string& escapeName() const { return name_; }

private:
    std::string name_;
    std::function<bool()> close_;
};

// A view of a kind that knows nothing of Escape (a plain view, a picker) that its owner
// makes to close on Escape as the owner closes it: a picker's panel, a page laid over a
// list, the emoticon board. Made by closingView, which names it by the file that made it
// and the view's identifier.
template <class Kind> class ClosingView : public Kind, public OwnedClose {
public:
    ClosingView(platform::ui::Rect frame, std::string name, std::function<bool()> close)
        : Kind(frame), OwnedClose(std::move(name), std::move(close)) {}
};

// The name of a closing view made at `where` with that identifier.
std::string closingViewName(const std::source_location& where, const std::string& identifier);

// A view of `Kind` with that frame and accessibility identifier that Escape closes by
// `close` (which returns false when there is nothing to close).
template <class Kind>
std::shared_ptr<ClosingView<Kind>> closingView(platform::ui::Rect frame, const std::string& identifier,
                                               std::function<bool()> close,
                                               std::source_location where = std::source_location::current()) {
    auto view = std::make_shared<ClosingView<Kind>>(frame, closingViewName(where, identifier), std::move(close));
    view->setAccessibilityIdentifier(identifier);
    return view;
}

} // namespace kavo
