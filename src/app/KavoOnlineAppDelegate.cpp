#include "app/KavoOnlineAppDelegate.h"

#include "account/KavoIAPHelper.h"
#include "app/CustomUIActionSheetViewController.h"
#include "app/EscapeWalk.h"
#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/ReturnWalk.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "app/widgets/ImageCache.h"
#include "lobby/LoginView.h"
#include "net/MobileClient.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/PaymentQueue.h"
#include "platform/ui/Image.h"
#include "platform/ui/Screen.h"
#include "portal/GlobalService.h"
#include "sdk/socialnet/SNSession.h"
#include "social/MessageView.h"
#include "table/registry/GameController.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>

namespace kavo {

using platform::ui::Color;
using platform::ui::Point;
using platform::ui::Rect;
using platform::ui::View;
using platform::ui::ViewControllerPtr;

namespace {

std::atomic<bool> smsSwitch{false};

// The three switches the launch creates (on) when a fresh install has none.
constexpr const char* kSwitchKeys[] = {"savedRung", "savedInviting", "savedSound"};

// What a screen of ours answers; a controller of another kind answers `otherwise`.
template <class Answer>
Answer ask(const platform::ui::ViewController* controller, Answer (KavoViewController::*question)() const,
           Answer otherwise = Answer()) {
    auto* screen = dynamic_cast<const KavoViewController*>(controller);
    return screen ? (screen->*question)() : otherwise;
}

bool isTable(const platform::ui::ViewController* controller) {
    return ask(controller, &KavoViewController::isTableScreen);
}

// The screen's long side: the top bar is that wide.
double longSide() {
    const platform::ui::Size size = platform::ui::Screen::size();
    return std::max(size.width, size.height);
}

} // namespace

KavoOnlineAppDelegate& KavoOnlineAppDelegate::getInstance() {
    static KavoOnlineAppDelegate delegate;
    return delegate;
}

bool KavoOnlineAppDelegate::switchOnSMS() {
    return smsSwitch.load();
}

void KavoOnlineAppDelegate::setSwitchOnSMS(bool on) {
    smsSwitch.store(on);
}

void KavoOnlineAppDelegate::setRootScreenMaker(std::function<ViewControllerPtr()> maker) {
    rootScreenMaker_ = std::move(maker);
}

ViewControllerPtr KavoOnlineAppDelegate::topViewController() const {
    return navigationController_ ? navigationController_->topViewController() : nullptr;
}

// ---- launch

void KavoOnlineAppDelegate::didFinishLaunching(platform::ui::Application& app) {
    // Pictures are stored as they come, later on; one whose write an earlier run cut short
    // left its temporary file, which nothing else would remove. (The user defaults see to
    // theirs when they are first read.)
    platform::removeInterruptedWrites(ImageCache::sharedImageCache().getCacheDirectoryName());
    app.setApplicationIconBadgeNumber(0);
    setSwitchOnSMS(true);
    static bool hooksInstalled = false;
    if (!hooksInstalled) {
        // The picture cache's requests and the SMS-sent report reach the server from here on.
        GlobalService::installRequestHooks();
        hooksInstalled = true;
    }
    buildInterface();
    navigationController_->setDelegate(this);
    app.setEscapeAction([this] { return escapePressed(); });
    app.setReturnAction([this] {
        auto top = topViewController();
        return top && ReturnWalk::pressDefaultButton(*top);
    });
    platform::PaymentQueue::defaultQueue().addObserver(&KavoIAPHelper::sharedHelper());
    UIController::getInstance();
    buildTopBar();
    buildBackButton();
    installSwipeBack();
    GameController::startGame();
    applyUserDefaultSwitches();
    window_->setRootViewController(navigationController_);
    window_->sendSubviewToBack(imgBG_.get()); // under the screens
    window_->makeKeyAndVisible();
    // The first screen is shown without a push: tell the navigation hooks about it too.
    if (auto root = topViewController()) {
        willShowViewController(*navigationController_, *root, false);
        didShowViewController(*navigationController_, *root, false);
    }
    app.setIdleTimerDisabled(true);
    app.registerForRemoteNotifications();
}

ViewControllerPtr KavoOnlineAppDelegate::defaultRootScreen() {
    return std::make_shared<LoginView>();
}

void KavoOnlineAppDelegate::buildInterface() {
    window_ = platform::ui::Window::make();
    window_->setBackgroundColor(Color::black());
    ViewControllerPtr root = rootScreenMaker_ ? rootScreenMaker_() : defaultRootScreen();
    navigationController_ = platform::ui::NavigationController::make(root);
    navigationController_->setNavigationBarHidden(true);
    // The background picture lies under every screen (screens are transparent); the
    // navigation controller's view goes over it when it becomes the window's root.
    imgBG_ = platform::ui::ImageView::make(platform::ui::Screen::bounds());
    imgBG_->setImage(Util::getImageWithName("bg_main.png"));
    imgBG_->setAccessibilityIdentifier("imgBG");
    window_->addSubview(imgBG_);
    // The menu toggle only swaps its picture (KavoViewController::showMenu); no screen
    // has a menu for it, so it stays out of sight.
    btnMenu_ = platform::ui::Button::make(Util::changeRectFromRect(Rect{440, 280, 35, 35}));
    btnMenu_->setImage(Util::getImageWithName("show.png"));
    btnMenu_->setTag(0);
    btnMenu_->setHidden(true);
    btnMenu_->setAccessibilityIdentifier("btnMenu");
    window_->addSubview(btnMenu_);
}

void KavoOnlineAppDelegate::buildTopBar() {
    // In phone points, scaled for a tablet like every frame: the tablet's long side in
    // points scaled again would make the bar's visible half as wide as the whole screen,
    // over every screen's top right buttons.
    const double length = Util::isPad() ? 480 : longSide();
    viewTopBar_ = View::make(Util::changeRectFromRect(Rect{0, 0, length, 30}));
    // Centred on the screen's left edge: only the bar's right half lies on the screen.
    viewTopBar_->setCenter(Point{0, viewTopBar_->center().y});
    viewTopBar_->setBackgroundColor(Color::clear());
    viewTopBar_->setUserInteractionEnabled(false);
    viewTopBar_->setAccessibilityIdentifier("viewTopBar");
    const Rect bar = viewTopBar_->frame();

    // The strip the ticker shows in (placeTickerLane) and, in the text's own place (the
    // whole bar: the text enters at its right end and leaves past its left end), the text.
    tickerLane_ = View::make(Rect{0, 0, bar.width(), bar.height()});
    tickerLane_->setBackgroundColor(Color::clear());
    tickerLane_->setClipsToBounds(true);
    tickerLane_->setUserInteractionEnabled(false);
    tickerLane_->setAccessibilityIdentifier("tickerLane");
    viewTopBar_->addSubview(tickerLane_);
    auto clip = View::make(Rect{0, 0, bar.width(), bar.height()});
    clip->setBackgroundColor(Color::clear());
    clip->setUserInteractionEnabled(false);
    lblServerInfo_ = platform::ui::Label::make();
    lblServerInfo_->setBackgroundColor(Color::clear());
    lblServerInfo_->setTextColor(Color::white());
    lblServerInfo_->setFont(platform::ui::Font::boldSystem(16 * Util::iPad()));
    lblServerInfo_->setUserInteractionEnabled(false);
    lblServerInfo_->setAccessibilityIdentifier("lblServerInfo");
    clip->addSubview(lblServerInfo_);
    tickerLane_->addSubview(clip);

    lblWindowTitle_ = platform::ui::Label::make(Rect{0, 0, length, 24 * Util::iPadY()});
    lblWindowTitle_->setBackgroundColor(Color::clear());
    lblWindowTitle_->setTextColor(Color::white());
    lblWindowTitle_->setFont(platform::ui::Font::boldSystem(14 * Util::iPad()));
    lblWindowTitle_->setTextAlignment(platform::ui::TextAlignment::Center);
    lblWindowTitle_->setText(Resources::getInstance().textWithKey("KAVO_Kavo"));
    lblWindowTitle_->setUserInteractionEnabled(false);
    lblWindowTitle_->setAccessibilityIdentifier("lblWindowTitle");
    viewTopBar_->addSubview(lblWindowTitle_);

    // The bar waits above the top edge until the ticker slides it in. It lies on the
    // window over the navigation controller's view, so pushed screens never cover it.
    viewTopBar_->setCenter(Point{0, -bar.height()});
    window_->addSubview(viewTopBar_);
}

void KavoOnlineAppDelegate::buildBackButton() {
    btnBack_ = platform::ui::Button::make(Util::changeRectFromRect(Rect{0, 0, 35, 35}));
    btnBack_->setTag(0);
    btnBack_->setShowsTouchWhenHighlighted(true);
    btnBack_->setBackgroundImage(Util::getImageWithName("button_red_small.png"));
    btnBack_->setHidden(true);
    btnBack_->setAccessibilityIdentifier("btnBack");
    btnBack_->onTouchUpInside([this] { doBack(); });
    auto icon = platform::ui::ImageView::make(Util::changeRectFromRect(Rect{5, 5, 25, 25}));
    icon->setImage(Util::getImageWithName("icon_black_room.png"));
    btnBack_->addSubview(icon);
    window_->addSubview(btnBack_); // over every screen, as the top bar
}

void KavoOnlineAppDelegate::installSwipeBack() {
    swipeBack_ = platform::ui::SwipeGestureRecognizer::make(
        platform::ui::SwipeDirection::Left,
        [this](platform::ui::SwipeGestureRecognizer& recognizer) { handleSwipeFrom(recognizer.direction()); });
    navigationController_->view()->addGestureRecognizer(swipeBack_);
}

void KavoOnlineAppDelegate::applyUserDefaultSwitches() {
    auto& defaults = platform::UserDefaults::standard();
    for (const char* key : kSwitchKeys)
        if (defaults.objectForKey(key).isNull()) defaults.setBool(true, key);
    defaults.synchronize();
    UIController::setRung(defaults.boolForKey("savedRung"));
    UIController::setInviting(defaults.boolForKey("savedInviting"));
    UIController::setSound(defaults.boolForKey("savedSound"));
}

// ---- application events

void KavoOnlineAppDelegate::didBecomeActive(platform::ui::Application&) {
    try {
        socialnet::SNSession::activeSession()->handleDidBecomeActive();
    } catch (const socialnet::SNInvalidOperationException& misuse) {
        // No application id in the bundle: there is no session to tell.
        platform::log(std::string("socialnet: ") + misuse.what());
    }
}

bool KavoOnlineAppDelegate::openURL(platform::ui::Application&, const std::string& url) {
    // The social network's log-in comes back into the client this way.
    return session_ && session_->handleOpenURL(url);
}

void KavoOnlineAppDelegate::willTerminate(platform::ui::Application&) {
    if (session_) session_->close();
    // Mail that came within the last second is still waiting for its coalesced save, and
    // the writer thread may still be writing the defaults.
    UIController::flushListMessage();
    platform::UserDefaults::standard().flush();
}

void KavoOnlineAppDelegate::didReceiveMemoryWarning(platform::ui::Application&) {
    platform::log("applicationDidReceiveMemoryWarning");
}

std::string KavoOnlineAppDelegate::deviceTokenDescription(const std::vector<uint8_t>& deviceToken) {
    std::string text = "<";
    for (size_t i = 0; i < deviceToken.size(); ++i) {
        if (i > 0 && i % 4 == 0) text += ' ';
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", deviceToken[i]);
        text += digits;
    }
    return text + ">";
}

void KavoOnlineAppDelegate::didRegisterForRemoteNotifications(platform::ui::Application&,
                                                              const std::vector<uint8_t>& deviceToken) {
    const std::string description = deviceTokenDescription(deviceToken);
    platform::log("device token: " + description);
    auto& defaults = platform::UserDefaults::standard();
    defaults.setString(description, "PNDT");
    defaults.synchronize();
}

// ---- navigation

bool KavoOnlineAppDelegate::hidesBackButton(const platform::ui::ViewController* controller) {
    return ask(controller, &KavoViewController::hidesBackButton);
}

void KavoOnlineAppDelegate::setBackButtonHidden(bool hidden) {
    if (btnBack_) btnBack_->setHidden(hidden);
    placeTickerLane();
}

void KavoOnlineAppDelegate::placeTickerLane() {
    if (!viewTopBar_ || !tickerLane_ || !lblServerInfo_) return;
    const Rect bar = viewTopBar_->bounds();
    const double gap = 4 * Util::iPadX();
    // In window points: the bar is centred on the window's left edge.
    const double half = bar.width() / 2;
    double left = 0;
    double right = half;
    if (btnBack_ && !btnBack_->isHidden()) left = btnBack_->frame().maxX() + gap;
    const auto top = topViewController();
    // The buttons of the screen a click at their centre reaches (not those a panel covers).
    const std::function<void(View&)> clearOf = [&](View& view) {
        if (view.isHidden() || view.alpha() <= 0.01) return;
        const Rect frame = view.convertRect(view.bounds(), nullptr);
        if (dynamic_cast<platform::ui::Button*>(&view) && frame.minY() < bar.height() && frame.maxX() > left &&
            window_ && window_->hitTest(frame.center()) && window_->hitTest(frame.center())->isDescendantOf(&view))
            right = std::min(right, frame.minX() - gap);
        for (const auto& child : view.subviews())
            clearOf(*child);
    };
    if (top && top->isViewLoaded()) clearOf(*top->view());
    const double width = std::max(0.0, right - left);
    tickerLane_->setFrame({half + left, 0, width, bar.height()});
    // Narrower than a few words, the text would only flicker past.
    tickerLane_->setHidden(width < 80 * Util::iPadX());
    for (const auto& part : tickerLane_->subviews())
        part->setFrame({-(half + left), 0, bar.width(), bar.height()});
}

void KavoOnlineAppDelegate::restoreBackButton() {
    auto top = topViewController();
    // Another sheet still up over the screen (one this sheet opened as it went) keeps the
    // button hidden; the last sheet to go puts back what the screen shows.
    if (top && top->isViewLoaded()) {
        for (const auto& subview : top->view()->subviews()) {
            auto* controller = subview->viewController();
            auto* sheet = dynamic_cast<CustomUIActionSheetViewController*>(controller);
            auto* twin = dynamic_cast<CustomUIActionSheetViewController2*>(controller);
            if ((sheet && !sheet->isClosing()) || (twin && twin->isSliding())) return setBackButtonHidden(true);
        }
    }
    setBackButtonHidden(hidesBackButton(top.get()));
}

void KavoOnlineAppDelegate::willShowViewController(platform::ui::NavigationController&,
                                                   platform::ui::ViewController& controller, bool) {
    if (!imgBG_) return;
    imgBG_->setImage(Util::getImageWithName(
        ask(&controller, &KavoViewController::backgroundImage, std::string(KavoViewController::kBackgroundImage))));
}

void KavoOnlineAppDelegate::didShowViewController(platform::ui::NavigationController&,
                                                  platform::ui::ViewController& controller, bool) {
    // A table keeps its leftward drags (cards, pieces): the swipe back does nothing there.
    if (swipeBack_) swipeBack_->setEnabled(!isTable(&controller));
    if (!btnBack_) return;
    btnBack_->setCenter(Util::changePointFromPoint(
        ask(&controller, &KavoViewController::backButtonCentre, KavoViewController::kBackButtonCentre)));
    setBackButtonHidden(hidesBackButton(&controller));
    if (heldEscapes_ > 0) {
        // One held Escape for the screen now shown; a transition it starts holds the next.
        --heldEscapes_;
        platform::runOnMainThread([this] { escapePressed(); });
    }
}

void KavoOnlineAppDelegate::leaveGameGrid() {
    UIController::removeItemsIntoListMessage(UIController::listMessageWithFilter(3));
    MobileClient::getInstance().disconnect();
}

void KavoOnlineAppDelegate::doBack() {
    auto top = topViewController();
    if (!top) return;
    // The mailbox opened as a panel over this screen (the board list's chat button): back
    // closes the panel and leaves the player on the screen they opened it from.
    const auto& mailbox = MessageView::getInstance();
    if (mailbox && mailbox->isViewLoaded() && top->isViewLoaded() &&
        mailbox->view()->superview() == top->view().get()) {
        mailbox->view()->removeFromSuperview();
        if (auto screen = std::dynamic_pointer_cast<KavoViewController>(top)) screen->reloadMessages();
        return;
    }
    if (isTable(top.get())) {
        // The table asks the player, then leaves the board; it is not popped here. Tetris
        // too: popped without the leave request it would keep the player seated there.
        static_cast<KavoViewController&>(*top).doLeaveBoard();
    } else if (ask(top.get(), &KavoViewController::backLeavesTheServer)) {
        leaveGameGrid();
    } else {
        navigationController_->popViewController(true);
    }
}

bool KavoOnlineAppDelegate::escapePressed() {
    // The screen sliding in is not shown yet and the one sliding out not gone: the key
    // waits for the transition's end, so quick Escapes after a click are not lost.
    if (navigationController_ && navigationController_->isTransitioning()) {
        ++heldEscapes_;
        return true;
    }
    auto top = topViewController();
    if (!top || !top->isViewLoaded()) return false;
    // What keeps Escape takes it as a close does: it is not the back button's.
    if (EscapeWalk::closeTopmost(*top) != EscapeAnswer::notOpen) return true;
    // Where the back button shows, Escape is that button. The game grid, the log-in screen
    // and the server choice show none: there a stray key must never sign the player out
    // (only the swipe leaves the game grid).
    if (btnBack_ && !btnBack_->isHidden() && !hidesBackButton(top.get())) {
        doBack();
        return true;
    }
    return false;
}

void KavoOnlineAppDelegate::handleSwipeFrom(platform::ui::SwipeDirection direction) {
    if (direction != platform::ui::SwipeDirection::Left) return;
    auto top = topViewController();
    if (!top || isTable(top.get())) return;
    if (ask(top.get(), &KavoViewController::backLeavesTheServer))
        leaveGameGrid();
    else
        navigationController_->popViewController(true);
}

// ---- event ticker

void KavoOnlineAppDelegate::startEventWithiOS4(const std::string& text) {
    if (!viewTopBar_) return;
    prepareTicker(text);
    const Rect bar = viewTopBar_->frame();
    lblServerInfo_->setFrame(Rect{bar.width(), 0, lenEvent_, 24 * Util::iPadY()});
    platform::log("event ticker at x " + std::to_string(bar.width()) + " width " + std::to_string(lenEvent_));
    View::animate(0.4, [this, bar] { viewTopBar_->setCenter(Point{viewTopBar_->center().x, bar.height() / 2}); });
    // 23 ms a point of the way across (whole seconds), half as long on a tablet.
    const int wholeSeconds = int((bar.width() + lenEvent_) * 23 / 1000);
    const double seconds = wholeSeconds / Util::iPad();
    // This run's own stop; a later run cancels it so that its text runs its whole time.
    stopEventTimer_ = platform::performAfterDelay(seconds, [this] {
        stopEventTimer_.reset();
        stopEvent();
    });
    platform::ui::AnimationOptions options;
    options.curve = platform::ui::AnimationCurve::Linear;
    options.allowUserInteraction = true;
    View::animate(seconds, 0, options, [this] {
        Rect frame = lblServerInfo_->frame();
        frame.origin.x = -lenEvent_;
        lblServerInfo_->setFrame(frame);
    });
}

void KavoOnlineAppDelegate::startEventWithiOS3(const std::string& text) {
    if (!viewTopBar_) return;
    prepareTicker(text);
    lblServerInfo_->setFrame(Rect{200 * Util::iPadX(), 0, lenEvent_, 24 * Util::iPadY()});
    mytimer_ = platform::Timer::scheduled(0.033, true, [this] { runEvent(); });
}

void KavoOnlineAppDelegate::prepareTicker(const std::string& text) {
    placeTickerLane();
    if (mytimer_) mytimer_->invalidate();
    mytimer_.reset();
    if (stopEventTimer_) stopEventTimer_->invalidate();
    stopEventTimer_.reset();
    lblServerInfo_->setHidden(false);
    lblWindowTitle_->setHidden(true);
    lblServerInfo_->setText(text);
    lenEvent_ = float(lblServerInfo_->font().measure(text).width);
}

void KavoOnlineAppDelegate::runEvent() {
    if (!viewTopBar_) return;
    if (lenEvent_ > -viewTopBar_->frame().width())
        scrollEvent();
    else
        stopEvent();
}

void KavoOnlineAppDelegate::scrollEvent() {
    Rect frame = lblServerInfo_->frame();
    frame.origin.x -= 1.5;
    frame.origin.y = 3 * Util::iPadY();
    frame.size.height = 24 * Util::iPadY();
    lblServerInfo_->setFrame(frame);
    lenEvent_ -= 1.5f * Util::iPadY();
}

void KavoOnlineAppDelegate::stopEvent() {
    if (!viewTopBar_) return;
    hideMenu();
    if (mytimer_) mytimer_->invalidate();
    mytimer_.reset();
    if (stopEventTimer_) stopEventTimer_->invalidate();
    stopEventTimer_.reset();
    lblServerInfo_->setHidden(true);
    lblWindowTitle_->setHidden(false);
}

void KavoOnlineAppDelegate::showMenu() {
    if (!viewTopBar_) return;
    View::animate(
        0.6,
        [this] {
            viewTopBar_->setCenter(Point{viewTopBar_->center().x, viewTopBar_->frame().height() / 2});
        },
        [this](bool) { hideMenu(); });
}

void KavoOnlineAppDelegate::hideMenu() {
    if (!viewTopBar_) return;
    View::animate(0.6, [this] {
        viewTopBar_->setCenter(Point{viewTopBar_->center().x, -viewTopBar_->frame().height()});
    });
}

// ---- mailbox shortcut and presents

void KavoOnlineAppDelegate::onOpenMessage() {
    if (!navigationController_) return;
    UIController::markAllListMessageSeen();
    // The administrators' messages first, then the friend requests; with only system
    // notices nothing opens, and an empty mailbox opens the empty administrators' list.
    int type = 4;
    if (countMessagesInList(UIController::listMessageWithFilter(4)) >= 1)
        type = 4;
    else if (countMessagesInList(UIController::listMessageWithFilter(3)) >= 1)
        type = 3;
    else if (countMessagesInList(UIController::listMessageWithFilter(2)) > 0)
        return;
    auto mailbox = std::make_shared<MessageView>();
    mailbox->setMessageType(type);
    mailbox->setListMessage(UIController::listMessageWithFilter(type));
    navigationController_->pushViewController(mailbox, true);
}

int KavoOnlineAppDelegate::countMessagesInList(const KavoMessageList& list) {
    return int(list.size());
}

void KavoOnlineAppDelegate::startPresend(const FlyTextInfo& present) {
    auto top = topViewController();
    if (!top) return;
    const platform::ui::ViewPtr& screen = top->view();
    platform::ui::ViewPtr flying;
    double endY = 0;
    if (present.imgId() >= 0) {
        auto picture = platform::ui::ImageView::make(Rect{longSide() / 2, 0, 80, 80});
        picture->setContentMode(platform::ui::ContentMode::Center);
        // The present's own picture when the client has it, else a wrapped box.
        auto image = Resources::getInstance().getExistedImageWithKey(present.imgId());
        picture->setImage(image ? image : Util::getImageWithName("tl_present.png"));
        flying = picture;
        endY = 400;
    } else {
        auto label = platform::ui::Label::make();
        label->setBackgroundColor(Color::clear());
        label->setFont(platform::ui::Font::boldSystem(14));
        label->setTextColor(Color::yellow());
        label->setText(present.text());
        const double width = label->font().measure(present.text()).width;
        label->setFrame(Rect{(platform::ui::Screen::size().width - width) / 2, 0, width, 20});
        flying = label;
        endY = 320;
    }
    flying->setAccessibilityIdentifier("flyPresend");
    flying->setUserInteractionEnabled(false);
    screen->addSubview(flying); // above the screen's last subview
    platform::ui::AnimationOptions options;
    options.curve = platform::ui::AnimationCurve::EaseIn;
    View::animate(5.0, 0, options, [flying, endY] { flying->setCenter(Point{flying->center().x, endY}); });
    std::weak_ptr<View> weakFlying = flying;
    platform::performAfterDelay(5.1, [this, weakFlying] {
        if (auto view = weakFlying.lock()) removePresent(view);
    });
}

void KavoOnlineAppDelegate::removePresent(const platform::ui::ViewPtr& view) {
    if (view) view->removeFromSuperview();
}

// ---- tests

void KavoOnlineAppDelegate::reset() {
    if (mytimer_) mytimer_->invalidate();
    if (stopEventTimer_) stopEventTimer_->invalidate();
    mytimer_.reset();
    stopEventTimer_.reset();
    if (navigationController_) navigationController_->setDelegate(nullptr);
    if (window_) window_->setHidden(true);
    platform::PaymentQueue::defaultQueue().removeObserver(&KavoIAPHelper::sharedHelper());
    window_.reset();
    navigationController_.reset();
    lblWindowTitle_.reset();
    lblServerInfo_.reset();
    btnBack_.reset();
    imgBG_.reset();
    btnMenu_.reset();
    viewTopBar_.reset();
    tickerLane_.reset();
    swipeBack_.reset();
    session_.reset();
    rootScreenMaker_ = nullptr;
    lenEvent_ = 0;
    heldEscapes_ = 0;
}

} // namespace kavo
