#include "app/ReturnWalk.h"

#include "app/CustomUIActionSheetViewController.h"
#include "app/ViewWalk.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/ui/Responder.h"
#include "platform/ui/ViewController.h"

namespace kavo {

namespace ui = platform::ui;

namespace {

// Whether `view` is the view of a sheet that is up.
bool isUpSheet(ui::View& view) {
    ui::ViewController* controller = view.viewController();
    if (!controller || !controller->isViewLoaded() || controller->view().get() != &view) return false;
    if (auto* sheet = dynamic_cast<CustomUIActionSheetViewController*>(controller)) return !sheet->isClosing();
    if (auto* twin = dynamic_cast<CustomUIActionSheetViewController2*>(controller)) return twin->isSliding();
    return false;
}

} // namespace

bool ReturnWalk::pressDefaultButton(ui::ViewController& screen) {
    KAVO_ASSERT_MAIN_THREAD();
    if (!screen.isViewLoaded()) return false;
    const auto* focused = dynamic_cast<const ui::View*>(ui::Responder::firstResponder());
    bool fieldFirst = false;
    const bool taken = walkFrontToBack(*screen.view(), [&](ui::View& view) {
        if (&view == focused) {
            fieldFirst = true;
            return true;
        }
        if (!isUpSheet(view)) return false;
        auto* sheet = dynamic_cast<CustomUIActionSheetViewController*>(view.viewController());
        const auto button = sheet ? sheet->defaultButton() : nullptr;
        // Pressed as a click presses it, so the sheet's answer runs the one way.
        if (button && !button->isHidden() && button->isEnabled()) button->sendActions(ui::ControlEvent::TouchUpInside);
        return true;
    });
    return taken && !fieldFirst;
}

} // namespace kavo
