#include "platform/ui/Window.h"

#include "platform/runtime/Log.h"
#include "platform/ui/Display.h"
#include "platform/ui/ViewController.h"

#include <algorithm>

namespace platform::ui {

namespace {
// Shown windows in the order they were shown; the list keeps them alive.
std::vector<std::shared_ptr<Window>>& shownWindows() {
    static auto* windows = new std::vector<std::shared_ptr<Window>>();
    return *windows;
}
Window* key = nullptr;
} // namespace

Window::Window(Rect frame) : View(frame) {
    View::setHidden(true);
}

Window::~Window() {
    if (key == this) key = nullptr;
}

std::shared_ptr<Window> Window::make() {
    return make(Screen::bounds());
}

std::shared_ptr<Window> Window::make(Rect frame) {
    return std::make_shared<Window>(frame);
}

void Window::setWindowLevel(double level) {
    if (level == level_) return;
    level_ = level;
    setNeedsDisplay();
}

void Window::makeKeyAndVisible() {
    setHidden(false);
    makeKeyWindow();
}

void Window::makeKeyWindow() {
    key = this;
}

bool Window::isKeyWindow() const {
    return key == this;
}

void Window::setHidden(bool hidden) {
    if (hidden == isHidden()) return;
    std::shared_ptr<View> keep = weak_from_this().lock(); // the list may hold the last reference
    View::setHidden(hidden);
    if (hidden) {
        removeFromVisibleList();
        if (key == this) {
            auto& windows = shownWindows();
            key = windows.empty() ? nullptr : windows.back().get();
        }
    } else {
        addToVisibleList();
        if (rootViewController_) {
            rootViewController_->viewWillAppear(false);
            rootViewController_->viewDidAppear(false);
        }
    }
}

void Window::addToVisibleList() {
    auto self = std::dynamic_pointer_cast<Window>(weak_from_this().lock());
    if (!self) {
        platform::log("Window: a window must be made with Window::make to be shown");
        return;
    }
    auto& windows = shownWindows();
    if (std::find(windows.begin(), windows.end(), self) == windows.end()) windows.push_back(self);
    Display::markDirty();
}

void Window::removeFromVisibleList() {
    auto& windows = shownWindows();
    std::erase_if(windows, [this](const std::shared_ptr<Window>& w) { return w.get() == this; });
    Display::markDirty();
}

void Window::setRootViewController(std::shared_ptr<ViewController> controller) {
    if (controller == rootViewController_) return;
    if (rootViewController_ && rootViewController_->isViewLoaded() && rootViewController_->view()->superview() == this)
        rootViewController_->view()->removeFromSuperview();
    rootViewController_ = std::move(controller);
    if (!rootViewController_) return;
    const ViewPtr& rootView = rootViewController_->view();
    rootView->setFrame(bounds());
    rootView->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
    insertSubview(rootView, 0);
    if (!isHidden()) {
        rootViewController_->viewWillAppear(false);
        rootViewController_->viewDidAppear(false);
    }
}

std::vector<std::shared_ptr<Window>> Window::visibleWindows() {
    std::vector<std::shared_ptr<Window>> windows = shownWindows();
    std::stable_sort(windows.begin(), windows.end(),
                     [](const auto& a, const auto& b) { return a->windowLevel() < b->windowLevel(); });
    return windows;
}

Window* Window::keyWindow() {
    return key;
}

void Window::resetAll() {
    std::vector<std::shared_ptr<Window>> windows = std::move(shownWindows());
    shownWindows().clear();
    key = nullptr;
    for (const auto& window : windows)
        window->View::setHidden(true);
}

} // namespace platform::ui
