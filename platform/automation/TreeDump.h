#pragma once

#include <string>

namespace platform::ui {
class View;
}

namespace platform::automation {

// The view tree as text, one view per line, indented two spaces per level:
//   Button id=btnNext frame=(20 200 120 40) text="Tiếp tục"
// with " hidden" at the end of hidden views (their subviews are listed too). Frames are
// in the superview's coordinates.
class TreeDump {
public:
    // Every shown window, lowest level first.
    static std::string dumpWindows();
    static std::string dump(const ui::View& root);
};

} // namespace platform::automation
