#include "app/EscapeWalk.h"

#include "app/EscapeTarget.h"
#include "app/Overlay.h"
#include "app/ViewWalk.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <string_view>
#include <typeinfo>
#include <vector>

namespace kavo {

namespace ui = platform::ui;

namespace {

std::map<std::string, int>& closed() {
    static std::map<std::string, int> kinds;
    return kinds;
}

std::map<std::string, int>& kept() {
    static std::map<std::string, int> kinds;
    return kinds;
}

// The class of a target without the "kavo::" namespace: a nested class keeps the class
// it is declared in ("Outer::Inner"), so two of the same name stay apart.
std::string className(const EscapeTarget& target) {
    const char* mangled = typeid(target).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> plain(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    std::string name = status == 0 && plain ? plain.get() : mangled;
    constexpr std::string_view ours = "kavo::";
    return name.starts_with(ours) ? name.substr(ours.size()) : name;
}

// A closing view's name, or the class of the target.
std::string kindOf(const EscapeTarget& target) {
    if (const auto* owned = dynamic_cast<const OwnedClose*>(&target)) return owned->escapeName();
    return className(target);
}

} // namespace

EscapeAnswer EscapeWalk::closeTopmost(ui::ViewController& screen) {
    KAVO_ASSERT_MAIN_THREAD();
    if (!screen.isViewLoaded()) return EscapeAnswer::notOpen;
    // The first open overlay front to back answers; one whose close finds nothing to close
    // passes Escape on to what lies under it.
    EscapeAnswer answer = EscapeAnswer::notOpen;
    walkFrontToBack(*screen.view(), [&screen, &answer](ui::View& view) {
        EscapeTarget* target = overlayOf(view, screen);
        if (!target || !target->isOpen()) return false;
        const std::string kind = kindOf(*target); // before the close, which may end it
        answer = target->closeItself();
        if (answer == EscapeAnswer::notOpen) return false;
        ++(answer == EscapeAnswer::closed ? closed() : kept())[kind];
        return true;
    });
    return answer;
}

const std::map<std::string, int>& EscapeWalk::closedKinds() {
    return closed();
}

const std::map<std::string, int>& EscapeWalk::keptKinds() {
    return kept();
}

} // namespace kavo
