#include "app/ReturnWalk.h"

#include "app/CustomUIActionSheetViewController.h"
#include "app/ReturnTarget.h"
#include "app/ViewWalk.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/ui/Application.h"
#include "platform/ui/Responder.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include <vector>

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

// The form a view stands for: itself, or the controller whose view it is.
ReturnTarget* formOf(ui::View& view) {
    if (auto* form = dynamic_cast<ReturnTarget*>(&view)) return form;
    ui::ViewController* controller = view.viewController();
    if (!controller || !controller->isViewLoaded() || controller->view().get() != &view) return nullptr;
    return dynamic_cast<ReturnTarget*>(controller);
}

// The default button of the nearest form around `field` when the field is that form's last
// (in the order Tab visits them); none otherwise, and none for a form without one.
std::shared_ptr<ui::Button> lastFieldsButton(ui::TextField& field) {
    for (ui::View* view = field.superview(); view; view = view->superview()) {
        ReturnTarget* form = formOf(*view);
        if (!form) continue;
        const std::vector<ui::View*> fields = ui::Application::textInputsIn(*view);
        if (fields.empty() || fields.back() != &field) return nullptr;
        return form->defaultButton();
    }
    return nullptr;
}

// Presses the button as a click does, so that the form's answer runs the one way; false
// when there is none that can be pressed.
bool press(const std::shared_ptr<ui::Button>& button) {
    if (!button || button->isHidden() || !button->isEnabled()) return false;
    button->sendActions(ui::ControlEvent::TouchUpInside);
    return true;
}

} // namespace

bool ReturnWalk::pressDefaultButton(ui::ViewController& screen) {
    KAVO_ASSERT_MAIN_THREAD();
    if (!screen.isViewLoaded()) return false;
    const auto* focused = dynamic_cast<const ui::View*>(ui::Responder::firstResponder());
    bool taken = false;
    walkFrontToBack(*screen.view(), [&](ui::View& view) {
        if (&view == focused) {
            auto* field = dynamic_cast<ui::TextField*>(&view);
            taken = field && press(lastFieldsButton(*field));
            return true;
        }
        if (!isUpSheet(view)) return false;
        const ReturnTarget* sheet = formOf(view);
        press(sheet ? sheet->defaultButton() : nullptr);
        // Pressed or not, the key is the sheet's: a field under it hears nothing.
        taken = true;
        return true;
    });
    return taken;
}

} // namespace kavo
