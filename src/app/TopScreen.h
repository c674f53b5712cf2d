#pragma once

#include "platform/ui/ViewController.h"

#include <memory>

namespace kavo {

// The screen on top of the navigation stack (nullptr before there is one): the screen a
// reply or a dialog's answer acts on, and drops itself when it is not the one it is for.
// Main thread.
platform::ui::ViewControllerPtr topScreen();

// The screen on top when it is a `Screen`, else nullptr.
template <class Screen> std::shared_ptr<Screen> topScreenAs() {
    return std::dynamic_pointer_cast<Screen>(topScreen());
}

} // namespace kavo
