#pragma once

#include "platform/ui/Application.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/View.h"

#include <string>

namespace kavo::test {

// Input as a desktop window delivers it: a mouse click at a point of the screen and the
// keys typed after it, through the application's entry points. Points are taken before
// anything is clicked, as a player aims at what the screen showed.

// The centre of a view on the screen.
inline platform::ui::Point screenCentre(const platform::ui::View& view) {
    return view.convertRect(view.bounds(), nullptr).center();
}

// The view's rectangle on the screen.
inline platform::ui::Rect screenFrame(const platform::ui::View& view) {
    return view.convertRect(view.bounds(), nullptr);
}

inline void clickAndType(platform::ui::Point at, const std::string& text) {
    auto& app = platform::ui::Application::shared();
    app.dispatchTouch(platform::ui::TouchPhase::Began, at);
    app.dispatchTouch(platform::ui::TouchPhase::Ended, at);
    app.dispatchText(text);
}

} // namespace kavo::test
