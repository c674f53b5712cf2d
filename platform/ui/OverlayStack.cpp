#include "platform/ui/OverlayStack.h"

#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

#include <algorithm>

namespace platform::ui {

namespace {
struct Entry {
    ViewPtr panel;
    std::shared_ptr<Window> window;
};

// Never destroyed: windows still up when the process ends must not be torn down after
// the window list they belong to.
std::vector<Entry>& entries() {
    static auto* stack = new std::vector<Entry>;
    return *stack;
}

// The key window before the first panel came up, made key again when the last one goes.
std::weak_ptr<View>& previousKey() {
    static auto* window = new std::weak_ptr<View>;
    return *window;
}
} // namespace

void OverlayStack::push(const ViewPtr& panel, Color dim) {
    if (!panel || contains(panel.get())) return;
    if (entries().empty()) {
        Window* key = Window::keyWindow();
        previousKey() = key ? key->weak_from_this() : std::weak_ptr<View>();
    }
    auto window = Window::make(Screen::bounds());
    window->setWindowLevel(WindowLevel::Alert);
    window->setBackgroundColor(dim);
    window->addSubview(panel);
    entries().push_back({panel, window});
    showTop();
}

void OverlayStack::remove(const View* panel) {
    auto& stack = entries();
    auto found = std::find_if(stack.begin(), stack.end(), [panel](const Entry& e) { return e.panel.get() == panel; });
    if (found == stack.end()) return;
    Entry entry = *found; // keeps both alive until the end of this call
    stack.erase(found);
    entry.window->setHidden(true);
    entry.panel->removeFromSuperview();
    if (stack.empty()) {
        if (auto previous = std::dynamic_pointer_cast<Window>(previousKey().lock()))
            if (!previous->isHidden()) previous->makeKeyWindow();
        previousKey().reset();
        return;
    }
    showTop();
}

bool OverlayStack::contains(const View* panel) {
    const auto& stack = entries();
    return std::any_of(stack.begin(), stack.end(), [panel](const Entry& e) { return e.panel.get() == panel; });
}

std::vector<ViewPtr> OverlayStack::panels() {
    std::vector<ViewPtr> result;
    for (const Entry& e : entries())
        result.push_back(e.panel);
    return result;
}

std::shared_ptr<Window> OverlayStack::windowOf(const View* panel) {
    for (const Entry& e : entries())
        if (e.panel.get() == panel) return e.window;
    return nullptr;
}

void OverlayStack::reset() {
    auto stack = std::move(entries());
    entries().clear();
    for (Entry& e : stack) {
        e.window->setHidden(true);
        e.panel->removeFromSuperview();
    }
    previousKey().reset();
}

void OverlayStack::showTop() {
    auto& stack = entries();
    for (size_t i = 0; i + 1 < stack.size(); ++i)
        stack[i].window->setHidden(true);
    if (!stack.empty()) stack.back().window->makeKeyAndVisible();
}

} // namespace platform::ui
