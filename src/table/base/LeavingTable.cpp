#include "table/base/LeavingTable.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/Text.h"
#include "app/UIController.h"

namespace kavo {

void askToLeaveTable() {
    UIController::startCancelOkDlg(text("KAVO_doYouWantExit"), text("KAVO_cancel"), text("KAVO_OK"),
                                   {UIController::kActionLeaveBoard});
}

void leaveKickedTable(const std::function<bool(const platform::ui::ViewControllerPtr&)>& isTable) {
    if (auto nav = KavoOnlineAppDelegate::getInstance().navigationController()) {
        const auto stack = nav->viewControllers();
        if (!stack.empty() && isTable(stack.back())) {
            nav->popViewController(true);
        } else {
            for (size_t i = stack.size(); i-- > 1;) {
                if (!isTable(stack[i])) continue;
                nav->popToViewController(stack[i - 1].get(), true);
                break;
            }
        }
    }
    UIController::startOKDlg(text("KAVO_youAreKicked"), {UIController::kActionKicked});
}

} // namespace kavo
