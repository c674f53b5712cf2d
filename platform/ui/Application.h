#pragma once

#include "platform/ui/Geometry.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Touch.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform::ui {

class Application;
class GestureRecognizer;
class View;

// The application's delegate; every call has an empty default.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    virtual void didFinishLaunching(Application& app) { (void)app; }
    virtual void didBecomeActive(Application& app) { (void)app; }
    virtual void willResignActive(Application& app) { (void)app; }
    virtual void didEnterBackground(Application& app) { (void)app; }
    virtual void willEnterForeground(Application& app) { (void)app; }
    // An address handed to the application from outside; true when handled.
    virtual bool openURL(Application& app, const std::string& url) {
        (void)app, (void)url;
        return false;
    }
    virtual void willTerminate(Application& app) { (void)app; }
    virtual void didReceiveMemoryWarning(Application& app) { (void)app; }
    virtual void didRegisterForRemoteNotifications(Application& app, const std::vector<uint8_t>& deviceToken) {
        (void)app, (void)deviceToken;
    }
    virtual void didFailToRegisterForRemoteNotifications(Application& app, const std::string& error) {
        (void)app, (void)error;
    }
};

enum class ApplicationState { NotRunning, Active, Inactive, Background };

// The process's application object: its delegate, its state, and the input entry points
// that the window host (mouse and keyboard) and the automation driver both go through.
// Main thread only.
class Application {
public:
    static Application& shared();

    void setDelegate(ApplicationDelegate* delegate) { delegate_ = delegate; }
    ApplicationDelegate* delegate() const { return delegate_; }
    ApplicationState state() const { return state_; }

    int applicationIconBadgeNumber() const { return badgeNumber_; }
    void setApplicationIconBadgeNumber(int number) { badgeNumber_ = number; }
    bool isIdleTimerDisabled() const { return idleTimerDisabled_; }
    void setIdleTimerDisabled(bool disabled) { idleTimerDisabled_ = disabled; }
    bool isNetworkActivityIndicatorVisible() const { return networkActivityVisible_; }
    void setNetworkActivityIndicatorVisible(bool visible) { networkActivityVisible_ = visible; }

    // didFinishLaunching then didBecomeActive.
    void launch();
    void resignActive();
    void becomeActive();
    // willResignActive then didEnterBackground.
    void enterBackground();
    // willEnterForeground then didBecomeActive.
    void enterForeground();
    // willTerminate, then stops the main run loop.
    void terminate();
    void simulateMemoryWarning();
    // An address opened from outside: handed to the delegate.
    bool handleOpenURL(const std::string& url);

    // Hands the delegate a 32-byte device token made from the machine id, on a later run
    // loop turn (or a failure when no machine id can be read).
    void registerForRemoteNotifications();
    static std::vector<uint8_t> deviceToken();

    // Opening an address outside the application goes to the opener that the services
    // layer installs; false when none is set or it refuses.
    static void setUrlOpener(std::function<bool(const std::string&)> opener);
    bool openURL(const std::string& url);

    // ---- input
    // A finger at `screenPoint`. Began picks the top-most shown window (by level) whose
    // bounds hold the point and whose hit test finds a view; that view gets the rest of
    // the sequence. Gesture recognizers on the view and its ancestors see each touch first.
    void dispatchTouch(TouchPhase phase, Point screenPoint, int tapCount = 1);
    // Typed text and keys go to the first responder. Tab moves to the next text input of
    // the key window. Escape presses the cancel button of the alert on screen; without
    // one it runs the escape action (a sheet's close, a screen's back), and when that
    // does nothing it resigns the first responder. Return presses the default button of
    // the alert on screen (its first other button, else its only one) before the first
    // responder sees it; without an alert the return action goes first (a sheet's
    // default button over the field), and when that does nothing the first responder
    // sees it. The arrow keys go to the first responder while no alert is up. Whatever
    // Escape did, the edit of the focused text input ends with it.
    void dispatchText(const std::string& text);
    void dispatchKey(Key key);
    // The keyboard focus left the application's window (another program took it): the
    // text input being edited ends its edit, as it does when the player leaves it.
    void windowLostFocus();
    // Ends the edit of the text input that has the focus, however it ends (Escape, the
    // window losing the focus, the panel holding it going): it resigns the first
    // responder, so its delegate hears didEndEditing and its EditingDidEnd actions run.
    // Nothing when no text input has the focus.
    static void endEditing();
    // What Escape does where no alert is up; true when it did something.
    void setEscapeAction(std::function<bool()> action) { escapeAction_ = std::move(action); }
    // What Return does where no alert is up, before the first responder; true when it
    // took the key.
    void setReturnAction(std::function<bool()> action) { returnAction_ = std::move(action); }
    // The mouse wheel at `screenPoint`: the innermost scroll view under the point that can
    // move that way scrolls by `delta` points (positive: towards the content's end),
    // within its content; a picker wheel steps its rows instead. False when none moved.
    bool dispatchScroll(Point screenPoint, Point delta);
    // The view that the current touch sequence began in (nullptr when none).
    View* touchedView() const;
    // The text inputs under `root` that can take the focus, in the order Tab visits them
    // (shown ones only, each one's subviews in order).
    static std::vector<View*> textInputsIn(View& root);

    // Drops windows, touches, the first responder, the delegate and the keyboard state
    // (between tests).
    void reset();

private:
    Application() = default;
    void cancelSequence();
    void focusNextTextInput();
    // True when an alert is up. Escape (`cancel`) presses its cancel button, or the button
    // its delegate names for Escape; Return its default button; a missing one nothing.
    bool pressAlertButton(bool cancel);

    ApplicationDelegate* delegate_ = nullptr;
    std::function<bool()> escapeAction_;
    std::function<bool()> returnAction_;
    ApplicationState state_ = ApplicationState::NotRunning;
    int badgeNumber_ = 0;
    bool idleTimerDisabled_ = false;
    bool networkActivityVisible_ = false;

    // The touch sequence in progress.
    std::shared_ptr<View> touchView_;
    std::vector<std::shared_ptr<GestureRecognizer>> recognizers_;
    bool viewTouchesCancelled_ = false;
    Point lastPoint_;
    bool touching_ = false;
};

} // namespace platform::ui
