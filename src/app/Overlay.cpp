#include "app/Overlay.h"

#include "app/ReturnTarget.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

namespace kavo {

namespace ui = platform::ui;

namespace {

// The controller whose own view `view` is (nullptr for any other view).
ui::ViewController* controllerOf(ui::View& view) {
    ui::ViewController* controller = view.viewController();
    if (!controller || !controller->isViewLoaded() || controller->view().get() != &view) return nullptr;
    return controller;
}

} // namespace

EscapeTarget* overlayOf(ui::View& view, const ui::ViewController& screen) {
    if (auto* target = dynamic_cast<EscapeTarget*>(&view)) return target;
    ui::ViewController* controller = controllerOf(view);
    if (!controller || controller == &screen) return nullptr;
    return dynamic_cast<EscapeTarget*>(controller);
}

ReturnTarget* formOf(ui::View& view) {
    if (auto* form = dynamic_cast<ReturnTarget*>(&view)) return form;
    ui::ViewController* controller = controllerOf(view);
    return controller ? dynamic_cast<ReturnTarget*>(controller) : nullptr;
}

} // namespace kavo
