#include "platform/ui/Application.h"

#include "platform/runtime/Clock.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <fstream>

namespace platform::ui {

namespace {

std::function<bool(const std::string&)>& urlOpener() {
    static auto* opener = new std::function<bool(const std::string&)>();
    return *opener;
}

std::string readMachineId() {
    for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        std::ifstream in(path);
        std::string id;
        if (in && std::getline(in, id)) {
            while (!id.empty() && (id.back() == ' ' || id.back() == '\r' || id.back() == '\n'))
                id.pop_back();
            if (!id.empty()) return id;
        }
    }
    return {};
}

uint64_t fnv1a(const std::string& text) {
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// Every controller reachable from a window's root: containers' children and presented ones.
void forEachController(const ViewControllerPtr& controller, const std::function<void(ViewController&)>& visit) {
    if (!controller) return;
    visit(*controller);
    if (auto* nav = dynamic_cast<NavigationController*>(controller.get()))
        for (const ViewControllerPtr& child : nav->viewControllers())
            forEachController(child, visit);
    forEachController(controller->modalViewController(), visit);
}

// Every text input under `view` that could take the keyboard, in tree order.
void collectTextInputs(View& view, std::vector<View*>& out) {
    if (view.isHidden() || view.alpha() <= 0.01) return;
    if (view.isTextInput() && view.canBecomeFirstResponder()) out.push_back(&view);
    for (const ViewPtr& child : view.subviews())
        collectTextInputs(*child, out);
}

} // namespace

Application& Application::shared() {
    static Application* app = new Application();
    return *app;
}

// ---- life cycle

void Application::launch() {
    state_ = ApplicationState::Inactive;
    if (delegate_) delegate_->didFinishLaunching(*this);
    becomeActive();
}

void Application::resignActive() {
    if (state_ != ApplicationState::Active) return;
    if (delegate_) delegate_->willResignActive(*this);
    state_ = ApplicationState::Inactive;
}

void Application::becomeActive() {
    if (state_ == ApplicationState::Active) return;
    state_ = ApplicationState::Active;
    if (delegate_) delegate_->didBecomeActive(*this);
}

void Application::enterBackground() {
    if (state_ == ApplicationState::Background) return;
    resignActive();
    state_ = ApplicationState::Background;
    if (delegate_) delegate_->didEnterBackground(*this);
}

void Application::enterForeground() {
    if (state_ != ApplicationState::Background) return;
    state_ = ApplicationState::Inactive;
    if (delegate_) delegate_->willEnterForeground(*this);
    becomeActive();
}

void Application::terminate() {
    if (delegate_) delegate_->willTerminate(*this);
    state_ = ApplicationState::NotRunning;
    platform::RunLoop::main().stop();
}

void Application::simulateMemoryWarning() {
    if (delegate_) delegate_->didReceiveMemoryWarning(*this);
    for (const auto& window : Window::visibleWindows())
        forEachController(window->rootViewController(), [](ViewController& c) { c.didReceiveMemoryWarning(); });
}

bool Application::handleOpenURL(const std::string& url) {
    return delegate_ && delegate_->openURL(*this, url);
}

// ---- push registration

std::vector<uint8_t> Application::deviceToken() {
    std::string id = readMachineId();
    if (id.empty()) return {};
    // 32 bytes, stable for the machine: four 64-bit hashes of the id with a counter.
    std::vector<uint8_t> token;
    for (int part = 0; part < 4; ++part) {
        uint64_t hash = fnv1a(id + ":" + std::to_string(part));
        for (int i = 0; i < 8; ++i)
            token.push_back(uint8_t(hash >> (8 * i)));
    }
    return token;
}

void Application::registerForRemoteNotifications() {
    std::vector<uint8_t> token = deviceToken();
    platform::runOnMainThread([this, token] {
        if (!delegate_) return;
        if (token.empty())
            delegate_->didFailToRegisterForRemoteNotifications(*this, "no machine id to make a device token from");
        else
            delegate_->didRegisterForRemoteNotifications(*this, token);
    });
}

void Application::setUrlOpener(std::function<bool(const std::string&)> opener) {
    urlOpener() = std::move(opener);
}

bool Application::openURL(const std::string& url) {
    if (!urlOpener()) {
        platform::log("Application: no URL opener for " + url);
        return false;
    }
    return urlOpener()(url);
}

// ---- touches

View* Application::touchedView() const {
    return touchView_.get();
}

void Application::dispatchTouch(TouchPhase phase, Point screenPoint, int tapCount) {
    Touch touch;
    touch.phase = phase;
    touch.windowLocation = screenPoint;
    touch.previousWindowLocation = touching_ ? lastPoint_ : screenPoint;
    touch.tapCount = tapCount;
    touch.timestamp = platform::Clock::time();

    if (phase == TouchPhase::Began) {
        if (touching_) cancelSequence();
        View* hit = nullptr;
        auto windows = Window::visibleWindows();
        for (auto it = windows.rbegin(); it != windows.rend() && !hit; ++it) {
            Window& window = **it;
            if (!window.frame().contains(screenPoint)) continue;
            hit = window.hitTest(window.pointFromSuperview(screenPoint));
        }
        if (!hit) return;
        touchView_ = hit->weak_from_this().lock();
        if (!touchView_) return;
        touching_ = true;
        viewTouchesCancelled_ = false;
        recognizers_.clear();
        for (View* v = hit; v; v = v->superview())
            for (const auto& recognizer : v->gestureRecognizers())
                if (recognizer->shouldReceive(hit)) recognizers_.push_back(recognizer);
        for (const auto& recognizer : recognizers_)
            recognizer->reset();
    }
    if (!touching_) return;
    lastPoint_ = screenPoint;

    // Local copies: handlers may start a new sequence or remove views.
    std::shared_ptr<View> view = touchView_;
    std::vector<std::shared_ptr<GestureRecognizer>> recognizers = recognizers_;
    touch.view = view.get();
    for (const auto& recognizer : recognizers) {
        if (!recognizer->view() || !recognizer->isEnabled()) continue;
        switch (phase) {
        case TouchPhase::Began:
            recognizer->touchesBegan(touch);
            break;
        case TouchPhase::Moved:
            recognizer->touchesMoved(touch);
            break;
        case TouchPhase::Ended:
            recognizer->touchesEnded(touch);
            break;
        case TouchPhase::Cancelled:
            recognizer->touchesCancelled(touch);
            break;
        }
    }
    bool claimed = std::any_of(recognizers.begin(), recognizers.end(), [](const auto& r) {
        return r->view() && r->hasRecognized() && r->cancelsTouchesInView();
    });
    if (!viewTouchesCancelled_ && claimed && phase != TouchPhase::Began) {
        // A recognised gesture takes the sequence over: the view learns it was cancelled.
        viewTouchesCancelled_ = true;
        Touch cancelled = touch;
        cancelled.phase = TouchPhase::Cancelled;
        view->touchesCancelled({cancelled});
    } else if (!viewTouchesCancelled_) {
        switch (phase) {
        case TouchPhase::Began:
            view->touchesBegan({touch});
            break;
        case TouchPhase::Moved:
            view->touchesMoved({touch});
            break;
        case TouchPhase::Ended:
            view->touchesEnded({touch});
            break;
        case TouchPhase::Cancelled:
            view->touchesCancelled({touch});
            break;
        }
    }
    if ((phase == TouchPhase::Ended || phase == TouchPhase::Cancelled) && touchView_ == view) {
        touching_ = false;
        touchView_.reset();
        recognizers_.clear();
    }
}

void Application::cancelSequence() {
    if (!touching_) return;
    dispatchTouch(TouchPhase::Cancelled, lastPoint_);
    touching_ = false;
    touchView_.reset();
    recognizers_.clear();
}

// ---- keys

void Application::dispatchText(const std::string& text) {
    if (Responder* responder = Responder::firstResponder()) responder->insertText(text);
}

void Application::dispatchKey(Key key) {
    Responder* responder = Responder::firstResponder();
    switch (key) {
    case Key::Return:
        // A dialog on screen takes Return before whatever field lies under it, then a sheet
        // over the field.
        if (pressAlertButton(false)) break;
        if (returnAction_ && returnAction_()) break;
        if (responder) responder->pressReturn();
        break;
    case Key::Backspace:
        if (responder) responder->deleteBackward();
        break;
    case Key::Escape: {
        // What Escape does is chosen first, with the screen as the player sees it (a form
        // that closes as its field lets the keyboard go must not make Escape close what
        // lies under it too); then the edit of the focused field ends with it, so what was
        // typed is answered (sent, kept) whatever Escape closed.
        const bool acted = pressAlertButton(true) || (escapeAction_ && escapeAction_());
        Responder* focused = Responder::firstResponder();
        if (focused && (!acted || focused->isTextInput())) focused->resignFirstResponder();
        break;
    }
    case Key::Tab:
        focusNextTextInput();
        break;
    case Key::Up:
    case Key::Down:
    case Key::Left:
    case Key::Right:
        if (responder && AlertView::visibleAlerts().empty()) responder->pressArrow(key);
        break;
    }
}

void Application::windowLostFocus() {
    cancelSequence();
    endEditing();
}

void Application::endEditing() {
    Responder* responder = Responder::firstResponder();
    if (responder && responder->isTextInput()) responder->resignFirstResponder();
}

bool Application::dispatchScroll(Point screenPoint, Point delta) {
    auto windows = Window::visibleWindows();
    View* hit = nullptr;
    for (auto it = windows.rbegin(); it != windows.rend() && !hit; ++it) {
        Window& window = **it;
        if (!window.frame().contains(screenPoint)) continue;
        hit = window.hitTest(window.pointFromSuperview(screenPoint));
    }
    for (View* v = hit; v; v = v->superview()) {
        // A picker wheel steps its rows like a list scrolls, and picks as a click would.
        if (auto* picker = dynamic_cast<PickerView*>(v)) {
            if (picker->scrollWheel(picker->convertPointFrom(screenPoint, nullptr), delta.y)) return true;
            continue;
        }
        auto* scroll = dynamic_cast<ScrollView*>(v);
        if (!scroll || !scroll->isScrollEnabled()) continue;
        const Point from = scroll->contentOffset();
        const Point to = scroll->clampedOffset({from.x + delta.x, from.y + delta.y});
        if (to.x == from.x && to.y == from.y) continue; // at its end: an outer one may move
        scroll->setContentOffset(to);
        return true;
    }
    return false;
}

bool Application::pressAlertButton(bool cancel) {
    auto alerts = AlertView::visibleAlerts();
    if (alerts.empty()) return false;
    const auto& alert = alerts.back();
    int index = alert->cancelButtonIndex();
    if (cancel) {
        if (index < 0 && alert->delegate()) index = alert->delegate()->escapeButtonIndex(*alert);
    } else {
        index = alert->defaultButtonIndex();
    }
    // Pressed as a click presses it, so the alert's answer runs the one way.
    auto button = alert->buttonAtIndex(index);
    // An alert without a button for Escape waits for its own answer.
    if (!button) return true;
    button->sendActions(ControlEvent::TouchUpInside);
    return true;
}

void Application::focusNextTextInput() {
    Window* window = Window::keyWindow();
    if (!window) {
        auto windows = Window::visibleWindows();
        if (windows.empty()) return;
        window = windows.back().get();
    }
    const std::vector<View*> inputs = textInputsIn(*window);
    if (inputs.empty()) return;
    auto current = std::find(inputs.begin(), inputs.end(), dynamic_cast<View*>(Responder::firstResponder()));
    size_t next = current == inputs.end() ? 0 : size_t(current - inputs.begin() + 1) % inputs.size();
    inputs[next]->becomeFirstResponder();
}

std::vector<View*> Application::textInputsIn(View& root) {
    std::vector<View*> inputs;
    collectTextInputs(root, inputs);
    return inputs;
}

// ---- tests

void Application::reset() {
    touching_ = false;
    touchView_.reset();
    recognizers_.clear();
    viewTouchesCancelled_ = false;
    Responder::forgetFirstResponder();
    Window::resetAll();
    delegate_ = nullptr;
    escapeAction_ = nullptr;
    returnAction_ = nullptr;
    Keyboard::setModel(KeyboardModel::OnScreen);
    state_ = ApplicationState::NotRunning;
    badgeNumber_ = 0;
    idleTimerDisabled_ = false;
    networkActivityVisible_ = false;
    Screen::setIdiom(Idiom::Phone);
    View::setAnimationsEnabled(true);
}

} // namespace platform::ui
