#pragma once

namespace platform::ui {
class ViewController;
}

namespace kavo {

// Return over the top screen, where no dialog is up: the one rule every screen goes
// through. The screen's views are walked front to back (as Escape walks them); the first
// of the focused field or picker and the overlay in front (Overlay.h) takes Return.
// - The focused field: when it is the last field of its form (the nearest overlay or form
//   around it: a sheet, a log-in form, a panel with fields), the form's default button is
//   pressed as a click presses it. Any other field, a field of an overlay that names no
//   button, or a picker answers Return itself (it moves on, sends, or chooses): false is
//   returned so that it does.
// - The overlay in front, with no field of it focused, presses its default button (its OK,
//   send or join; the only button of a sheet that shows a result); one without keeps
//   Return from what lies under it.
// Main thread only.
class ReturnWalk {
public:
    // True when a form or a sheet took Return.
    static bool pressDefaultButton(platform::ui::ViewController& screen);
};

} // namespace kavo
