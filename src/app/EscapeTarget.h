#pragma once

namespace kavo {

// A screen or panel that shows things over part of itself (a picker, a form, a page it
// opens over itself), or a plain view laid over a screen with a close of its own (the
// lottery's stake entry, a log-in form). Escape closes the topmost thing a player sees
// first: such a thing goes before the screen or panel that shows it, as that thing's own
// close would. A panel's view or its controller may be the target. Main thread only.
class EscapeTarget {
public:
    virtual ~EscapeTarget() = default;
    // Closes the topmost thing shown over this screen or panel; false when none is open.
    virtual bool closeTopmostPart() { return false; }
    // Closes the panel itself as its own close does, with what belongs to it; false
    // leaves the closing to Escape, which takes the panel's view away at once.
    virtual bool closeItself() { return false; }
};

} // namespace kavo
