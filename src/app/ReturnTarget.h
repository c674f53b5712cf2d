#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/View.h"

#include <memory>
#include <utility>

namespace kavo {

// A form that Return answers, and says so itself: its fields and the button that sends them
// (its OK, send, join, sign-in, top-up or buy). Return in the form's last field presses that
// button as a click does (ReturnWalk); Return in another of its fields is that field's own
// (it moves on). A sheet is one by its base; a log-in form by its base; another form (a
// panel with fields) names its button itself. The view is the form, or the controller whose
// view it is. Main thread only.
class ReturnTarget {
public:
    virtual ~ReturnTarget() = default;
    // The button Return presses; none (nullptr): the form's fields answer Return themselves.
    virtual const std::shared_ptr<platform::ui::Button>& defaultButton() const = 0;
};

// A plain panel laid over a screen that holds a form (a report's fields and its send), and
// names the button Return in its last field presses.
class FormPanel : public platform::ui::View, public ReturnTarget {
public:
    explicit FormPanel(platform::ui::Rect frame = {}) : View(frame) {}
    const std::shared_ptr<platform::ui::Button>& defaultButton() const override { return defaultButton_; }
    void setDefaultButton(std::shared_ptr<platform::ui::Button> button) { defaultButton_ = std::move(button); }

private:
    std::shared_ptr<platform::ui::Button> defaultButton_;
};

} // namespace kavo
