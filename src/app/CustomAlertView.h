#pragma once

#include "app/DialogAction.h"
#include "platform/ui/AlertView.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kavo {

// The alert of the client's own dialogs. UIController opens every dialog with
// this class, so "a dialog of ours" can be told apart from any other alert (the
// dialogs close only their own kind). Each carries its own action: a press reads it
// there.
class CustomAlertView : public platform::ui::AlertView {
public:
    using platform::ui::AlertView::AlertView;
    const DialogAction& action() const { return action_; }
    void setAction(DialogAction action) { action_ = std::move(action); }
    static std::shared_ptr<CustomAlertView> make(const std::string& title, const std::string& message,
                                                 platform::ui::AlertViewDelegate* delegate = nullptr,
                                                 const std::string& cancelButtonTitle = {},
                                                 const std::vector<std::string>& otherButtonTitles = {});

private:
    DialogAction action_;
};

} // namespace kavo
