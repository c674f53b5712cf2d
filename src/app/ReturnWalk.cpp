#include "app/ReturnWalk.h"

#include "app/Overlay.h"
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

// The default button of the nearest overlay or form around `field` when the field is its
// last (in the order Tab visits them); none otherwise, and none for one without a button.
std::shared_ptr<ui::Button> lastFieldsButton(ui::TextField& field, const ui::ViewController& screen) {
    for (ui::View* view = field.superview(); view; view = view->superview()) {
        ReturnTarget* form = formOf(*view);
        if (!form && !overlayOf(*view, screen)) continue;
        const std::vector<ui::View*> fields = ui::Application::textInputsIn(*view);
        if (!form || fields.empty() || fields.back() != &field) return nullptr;
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
            taken = field && press(lastFieldsButton(*field, screen));
            return true;
        }
        const EscapeTarget* overlay = overlayOf(view, screen);
        if (!overlay || !overlay->isOpen()) return false;
        const ReturnTarget* form = formOf(view);
        press(form ? form->defaultButton() : nullptr);
        // Pressed or not, the key is the overlay's: what lies under it hears nothing.
        taken = true;
        return true;
    });
    return taken;
}

} // namespace kavo
