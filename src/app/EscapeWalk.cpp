#include "app/EscapeWalk.h"

#include "app/EscapeTarget.h"
#include "app/ViewWalk.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>
#include <vector>

namespace kavo {

namespace ui = platform::ui;

namespace {

std::map<std::string, int>& closed() {
    static std::map<std::string, int> kinds;
    return kinds;
}

// The class of a target without its namespace.
std::string className(const EscapeTarget& target) {
    const char* mangled = typeid(target).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> plain(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    std::string name = status == 0 && plain ? plain.get() : mangled;
    const size_t colons = name.rfind("::");
    return colons == std::string::npos ? name : name.substr(colons + 2);
}

// A closing view's name, or the class of the target.
std::string kindOf(const EscapeTarget& target) {
    if (const auto* owned = dynamic_cast<const OwnedClose*>(&target)) return owned->escapeName();
    return className(target);
}

// The target a view stands for: itself, or the controller whose view it is. The screen
// itself is none: Escape leaves it by its back button.
EscapeTarget* targetOf(ui::View& view, const ui::ViewController& screen) {
    if (auto* target = dynamic_cast<EscapeTarget*>(&view)) return target;
    ui::ViewController* controller = view.viewController();
    if (!controller || controller == &screen) return nullptr;
    return dynamic_cast<EscapeTarget*>(controller);
}

// Closes the topmost open target in `panel` or `panel` itself.
bool closeWithin(ui::View& panel, const ui::ViewController& screen) {
    return walkFrontToBack(panel, [&screen](ui::View& view) {
        EscapeTarget* target = targetOf(view, screen);
        if (!target) return false;
        const std::string kind = kindOf(*target); // before the close, which may end it
        if (!target->closeItself()) return false;
        ++closed()[kind];
        return true;
    });
}

} // namespace

bool EscapeWalk::closeTopmost(ui::ViewController& screen) {
    KAVO_ASSERT_MAIN_THREAD();
    if (!screen.isViewLoaded()) return false;
    const std::vector<ui::ViewPtr> subviews = screen.view()->subviews();
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        ui::View& panel = **it;
        if (panel.isHidden() || panel.alpha() <= 0) continue;
        if (closeWithin(panel, screen)) return true;
        // A panel laid over the screen by a controller that has no close for Escape goes
        // at once.
        ui::ViewController* controller = panel.viewController();
        if (controller && controller != &screen && !dynamic_cast<EscapeTarget*>(controller)) {
            panel.removeFromSuperview();
            return true;
        }
    }
    return false;
}

const std::map<std::string, int>& EscapeWalk::closedKinds() {
    return closed();
}

} // namespace kavo
