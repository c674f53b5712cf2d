#pragma once

#include "app/CustomAlertView.h"
#include "app/DialogAction.h"
#include "app/UIController.h"

#include <memory>

namespace kavo::test {

// The action of the client's dialog on screen, read from the dialog itself: code -1 and
// no context when none is up (or it was opened without one).
inline DialogAction openDialogAction() {
    const auto dialog = std::dynamic_pointer_cast<CustomAlertView>(UIController::currentDialog());
    return dialog ? dialog->action() : DialogAction{};
}

inline int openDialogCode() {
    return openDialogAction().code;
}

} // namespace kavo::test
