#pragma once

#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"
#include "portal/model/FlyTextInfo.h"
#include "portal/model/KavoMessage.h"

#include <functional>
#include <memory>
#include <string>

namespace socialnet {
class SNSession;
}

namespace kavo {

// The application delegate: it launches the client (nothing connects at start), owns the
// window and the one navigation controller through which every full screen is pushed and
// popped, and builds the top bar (window title, scrolling event ticker) and the back
// button. It reacts to navigation (background picture, back button), implements the back
// button and the swipe back, keeps the SMS switch, stores the push token, and passes the
// social-network login's hooks on. Main thread only.
//
// One instance serves the process: set `&KavoOnlineAppDelegate::getInstance()` as the
// application's delegate and launch the application; reset() (tests) drops what a launch
// built.
class KavoOnlineAppDelegate : public platform::ui::ApplicationDelegate,
                              public platform::ui::NavigationControllerDelegate {
public:
    static KavoOnlineAppDelegate& getInstance();

    // The SMS switch (on at launch; the server's information reply may turn it off).
    static bool switchOnSMS();
    static void setSwitchOnSMS(bool on);

    // The screen at the bottom of the navigation stack; the log-in screen by default.
    // Tests may give another maker before the launch.
    void setRootScreenMaker(std::function<platform::ui::ViewControllerPtr()> maker);

    // ---- what the launch builds (nullptr before it)
    const std::shared_ptr<platform::ui::Window>& window() const { return window_; }
    const std::shared_ptr<platform::ui::NavigationController>& navigationController() const {
        return navigationController_;
    }
    const std::shared_ptr<platform::ui::Label>& lblWindowTitle() const { return lblWindowTitle_; }
    const std::shared_ptr<platform::ui::Label>& lblServerInfo() const { return lblServerInfo_; }
    const std::shared_ptr<platform::ui::Button>& btnBack() const { return btnBack_; }
    const std::shared_ptr<platform::ui::Button>& btnMenu() const { return btnMenu_; }
    const std::shared_ptr<platform::ui::ImageView>& imgBG() const { return imgBG_; }
    const platform::ui::ViewPtr& viewTopBar() const { return viewTopBar_; }
    // Where in the top bar the ticker shows (it clips the text): from right of the back
    // button, when it shows, to a little before the first button of the screen on top that
    // a click reaches in the strip; none where that leaves no room for a few words. Placed
    // again as a ticker starts, a screen shows and a sheet comes or goes.
    void placeTickerLane();
    const platform::ui::ViewPtr& tickerLane() const { return tickerLane_; }
    const std::shared_ptr<socialnet::SNSession>& session() const { return session_; }
    void setSession(std::shared_ptr<socialnet::SNSession> session) { session_ = std::move(session); }
    // The top screen of the navigation stack, or nullptr.
    platform::ui::ViewControllerPtr topViewController() const;

    // ---- application events
    void didFinishLaunching(platform::ui::Application& app) override;
    void didBecomeActive(platform::ui::Application& app) override;
    bool openURL(platform::ui::Application& app, const std::string& url) override;
    void willTerminate(platform::ui::Application& app) override;
    void didReceiveMemoryWarning(platform::ui::Application& app) override;
    // Stores the token's text form "<xxxxxxxx xxxxxxxx ...>" under "PNDT".
    void didRegisterForRemoteNotifications(platform::ui::Application& app,
                                           const std::vector<uint8_t>& deviceToken) override;
    // The token's text form: hexadecimal in groups of four bytes, blank-separated, in <>.
    static std::string deviceTokenDescription(const std::vector<uint8_t>& deviceToken);

    // ---- navigation
    // The Caro table gets its own background picture.
    void willShowViewController(platform::ui::NavigationController& nav, platform::ui::ViewController& controller,
                                bool animated) override;
    // The back button: hidden on the log-in screen, the game grid and the Caro table;
    // lower on the board list.
    void didShowViewController(platform::ui::NavigationController& nav, platform::ui::ViewController& controller,
                               bool animated) override;
    // Whether the back button stays hidden over this screen.
    static bool hidesBackButton(const platform::ui::ViewController* controller);
    // A sheet or panel hides the back button while it is up, and puts back what the top
    // screen shows when it goes (no button over the screens that never show it), unless
    // another sheet is still up over the screen.
    void setBackButtonHidden(bool hidden);
    void restoreBackButton();

    // The back button: a table asks to leave, the game grid disconnects, any other
    // screen is popped.
    void doBack();
    // The Escape key of a desktop window: the topmost thing over the top screen that
    // closes on Escape closes (EscapeWalk); with none, the back button's action runs
    // where the button shows. Where it does not (the game grid, the log-in screen),
    // Escape does nothing. An Escape pressed while a screen slides in or out waits for it
    // and then acts on what is shown (a screen still opening is closed once it is open).
    // True when something happened.
    bool escapePressed();
    // A swipe: only a leftward one counts; tables ignore it.
    void handleSwipeFrom(platform::ui::SwipeDirection direction);

    // ---- event ticker in the top bar
    // Slides the bar in and runs the text from the bar's right edge to past its left edge.
    // A new text while one runs restarts the ticker; the earlier run's stop is cancelled.
    void startEventWithiOS4(const std::string& text);
    // The frame-stepped ticker (a 0.033 s timer moving the text 1.5 points a step).
    void startEventWithiOS3(const std::string& text);
    void stopEvent();
    void runEvent();
    void scrollEvent();
    float lenEvent() const { return lenEvent_; }
    const std::shared_ptr<platform::Timer>& mytimer() const { return mytimer_; }
    // The top bar slides in, then out again; hideMenu slides it out.
    void showMenu();
    void hideMenu();

    // ---- mailbox shortcut and presents
    // Marks every message seen and opens the mailbox at the first list that has mail.
    void onOpenMessage();
    static int countMessagesInList(const KavoMessageList& list);
    // A present (picture) or a text floats down over the top screen for 5 s.
    void startPresend(const FlyTextInfo& present);
    void removePresent(const platform::ui::ViewPtr& view);

    // Empty: other parts send them.
    void reloadNewMails(platform::ui::ViewController* top) { (void)top; }

    // Drops the window, the navigation stack, the top bar, timers and the root maker
    // (between tests).
    void reset();

private:
    KavoOnlineAppDelegate() = default;
    static platform::ui::ViewControllerPtr defaultRootScreen();
    void buildInterface();
    void buildTopBar();
    void buildBackButton();
    void installSwipeBack();
    void applyUserDefaultSwitches();
    // Stops a running ticker's timers, shows the ticker label with the text, hides the
    // title and measures the text.
    void prepareTicker(const std::string& text);
    // The game grid's way back: drop the invitations from the mailbox, then disconnect.
    static void leaveGameGrid();

    std::function<platform::ui::ViewControllerPtr()> rootScreenMaker_;
    std::shared_ptr<platform::ui::Window> window_;
    std::shared_ptr<platform::ui::NavigationController> navigationController_;
    std::shared_ptr<platform::ui::Label> lblWindowTitle_;
    std::shared_ptr<platform::ui::Label> lblServerInfo_;
    float lenEvent_ = 0;
    std::shared_ptr<platform::Timer> mytimer_;
    // The stop that the running ticker scheduled; a restart cancels it.
    std::shared_ptr<platform::Timer> stopEventTimer_;
    std::shared_ptr<platform::ui::Button> btnBack_;
    std::shared_ptr<platform::ui::ImageView> imgBG_;
    std::shared_ptr<platform::ui::Button> btnMenu_;
    std::shared_ptr<socialnet::SNSession> session_;
    platform::ui::ViewPtr viewTopBar_;
    platform::ui::ViewPtr tickerLane_;
    std::shared_ptr<platform::ui::SwipeGestureRecognizer> swipeBack_;
    // Escapes pressed during a screen's transition, answered one by one as each ends.
    int heldEscapes_ = 0;
};

} // namespace kavo
