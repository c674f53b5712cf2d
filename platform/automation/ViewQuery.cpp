#include "platform/automation/ViewQuery.h"

#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <algorithm>

namespace platform::automation {

namespace {

bool allDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void collectVisible(ui::View& view, std::vector<ui::View*>& out) {
    if (view.isHidden() || view.alpha() <= 0) return; // nothing below can be seen either
    if (ViewQuery::isVisible(view)) out.push_back(&view);
    for (const ui::ViewPtr& child : view.subviews())
        collectVisible(*child, out);
}

bool isInside(const ui::View* view, const ui::View* within) {
    for (; view; view = view->superview())
        if (view == within) return true;
    return false;
}

bool isShownWindow(const ui::Window* window) {
    if (!window) return false;
    for (const auto& shown : ui::Window::visibleWindows())
        if (shown.get() == window) return true;
    return false;
}

} // namespace

std::optional<Selector> Selector::parse(const std::string& text, std::string* error) {
    auto fail = [&](const std::string& why) -> std::optional<Selector> {
        if (error) *error = why;
        return std::nullopt;
    };
    auto equals = text.find('=');
    if (equals == std::string::npos) return fail("a selector is id=, text=, contains=, class= or image=: " + text);
    std::string kind = text.substr(0, equals);
    Selector selector;
    if (kind == "id")
        selector.kind = Kind::Id;
    else if (kind == "text")
        selector.kind = Kind::Text;
    else if (kind == "contains")
        selector.kind = Kind::Contains;
    else if (kind == "class")
        selector.kind = Kind::Class;
    else if (kind == "image")
        selector.kind = Kind::Image;
    else
        return fail("unknown selector kind \"" + kind + "\"");
    selector.value = text.substr(equals + 1);
    auto hash = selector.value.rfind('#');
    if (hash != std::string::npos && hash > 0 && allDigits(selector.value.substr(hash + 1))) {
        std::string number = selector.value.substr(hash + 1);
        if (number.size() > 6 || std::stoi(number) < 1) return fail("the match number must be 1 or more: " + text);
        selector.index = std::stoi(number);
        selector.value.erase(hash);
    }
    if (selector.value.empty()) return fail("empty selector value: " + text);
    return selector;
}

std::string Selector::describe() const {
    static const char* names[] = {"id", "text", "contains", "class", "image"};
    std::string text = std::string(names[static_cast<int>(kind)]) + "=" + value;
    if (index != 1) text += "#" + std::to_string(index);
    return text;
}

void ViewQuery::layoutWindows() {
    for (const auto& window : ui::Window::visibleWindows())
        window->layoutIfNeeded();
}

std::vector<ui::View*> ViewQuery::visibleViews() {
    std::vector<ui::View*> views;
    for (const auto& window : ui::Window::visibleWindows())
        collectVisible(*window, views);
    return views;
}

bool ViewQuery::matches(const ui::View& view, const Selector& selector) {
    switch (selector.kind) {
    case Selector::Kind::Id:
        return view.accessibilityIdentifier() == selector.value;
    case Selector::Kind::Text:
        return view.text() == selector.value;
    case Selector::Kind::Contains:
        return view.text().find(selector.value) != std::string::npos;
    case Selector::Kind::Class:
        return view.className() == selector.value;
    case Selector::Kind::Image: {
        const auto* imageView = dynamic_cast<const ui::ImageView*>(&view);
        return imageView && imageView->image() && imageView->image()->name() == selector.value;
    }
    }
    return false;
}

std::vector<ui::View*> ViewQuery::findAll(const Selector& selector) {
    std::vector<ui::View*> found;
    for (ui::View* view : visibleViews())
        if (matches(*view, selector)) found.push_back(view);
    return found;
}

ui::View* ViewQuery::find(const Selector& selector) {
    auto found = findAll(selector);
    if (selector.index < 1 || static_cast<size_t>(selector.index) > found.size()) return nullptr;
    return found[static_cast<size_t>(selector.index) - 1];
}

ui::Rect ViewQuery::visibleRect(const ui::View& view) {
    ui::Rect rect = view.convertRect(view.bounds(), nullptr);
    rect = rect.intersection(ui::Screen::bounds());
    for (const ui::View* above = view.superview(); above && !rect.isEmpty(); above = above->superview()) {
        // A window always bounds what it shows; other views only when they clip.
        if (above->superview() == nullptr || above->clipsToBounds() || above->layer().masksToBounds())
            rect = rect.intersection(above->convertRect(above->bounds(), nullptr));
    }
    return rect.isEmpty() ? ui::Rect() : rect;
}

bool ViewQuery::isVisible(const ui::View& view) {
    for (const ui::View* v = &view; v; v = v->superview())
        if (v->isHidden() || v->alpha() <= 0) return false;
    if (!isShownWindow(view.window())) return false;
    return !visibleRect(view).isEmpty();
}

ui::View* ViewQuery::hitView(ui::Point screenPoint) {
    auto windows = ui::Window::visibleWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        ui::Window& window = **it;
        if (!window.frame().contains(screenPoint)) continue;
        if (ui::View* hit = window.hitTest(window.convertPointFrom(screenPoint, nullptr))) return hit;
    }
    return nullptr;
}

ui::ViewController* ViewQuery::topScreen() {
    ui::Window* window = ui::Window::keyWindow();
    if (!window || !window->rootViewController()) {
        window = nullptr;
        for (const auto& shown : ui::Window::visibleWindows())
            if (shown->rootViewController()) window = shown.get();
    }
    if (!window) return nullptr;
    ui::ViewController* screen = window->rootViewController().get();
    // A presented controller covers its presenter; a navigation controller shows its top.
    for (int depth = 0; screen && depth < 64; ++depth) {
        if (screen->modalViewController()) {
            screen = screen->modalViewController().get();
        } else if (auto* nav = dynamic_cast<ui::NavigationController*>(screen); nav && nav->topViewController()) {
            screen = nav->topViewController().get();
        } else {
            break;
        }
    }
    return screen;
}

std::string ViewQuery::topScreenClass() {
    ui::ViewController* screen = topScreen();
    return screen ? screen->className() : std::string();
}

std::vector<std::string> ViewQuery::visibleTexts(const ui::View* within) {
    std::vector<std::string> texts;
    for (ui::View* view : visibleViews()) {
        std::string text = view->text();
        if (!text.empty() && (!within || isInside(view, within))) texts.push_back(text);
    }
    return texts;
}

std::string ViewQuery::describe(const ui::View& view) {
    std::string text = view.className();
    if (!view.accessibilityIdentifier().empty()) text += " id=" + view.accessibilityIdentifier();
    std::string shown = view.text();
    if (!shown.empty()) text += " text=\"" + shown + "\"";
    return text;
}

} // namespace platform::automation
