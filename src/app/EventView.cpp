#include "app/EventView.h"

#include "app/Util.h"
#include "platform/ui/Font.h"

namespace kavo {

using namespace platform::ui;

namespace {

std::shared_ptr<Button> makeWebButton(View& parent, Rect phoneFrame, const std::string& image, const std::string& id,
                                      std::function<void()> action) {
    auto button = Button::make(Util::changeRectFromRect(phoneFrame));
    button->setBackgroundImage(Util::getImageWithName(image));
    button->setAccessibilityIdentifier(id);
    button->setShowsTouchWhenHighlighted(true);
    button->onTouchUpInside(std::move(action));
    parent.addSubview(button);
    return button;
}

} // namespace

EventView::EventView(const std::string& nibName) : KavoViewController(nibName) {}

EventView::~EventView() = default;

std::shared_ptr<EventView> EventView::make(const std::string& nibName) {
    return std::make_shared<EventView>(nibName);
}

void EventView::layoutForPhone() {
    View& root = *view();
    std::weak_ptr<ViewController> weak = weak_from_this();
    auto action = [weak](void (EventView::*method)()) {
        return [weak, method] {
            if (auto screen = std::dynamic_pointer_cast<EventView>(weak.lock())) (screen.get()->*method)();
        };
    };

    // Below the app's top bar: the title, the page, and a row of page buttons at the bottom.
    lblTitle_ = Label::make(Util::changeRectFromRect(Rect(70, 34, 340, 24)));
    lblTitle_->setTextAlignment(TextAlignment::Center);
    lblTitle_->setTextColor(Color::white());
    lblTitle_->setFont(Font::boldSystem(16 * Util::iPad()));
    lblTitle_->setBackgroundColor(Color::clear());
    lblTitle_->setAccessibilityIdentifier("lblTitle");
    root.addSubview(lblTitle_);

    auto page = WebView::make(Util::changeRectFromRect(Rect(10, 62, 460, 218)));
    page->setBackgroundColor(Color::white());
    page->setScalesPageToFit(true);
    page->setAccessibilityIdentifier("webView");
    root.addSubview(page);
    webView_ = page;

    btnGoBack_ =
        makeWebButton(root, Rect(10, 284, 44, 32), "btn_web_back.png", "btnGoBack", action(&EventView::btnGoBack));
    btnForware_ = makeWebButton(root, Rect(64, 284, 44, 32), "btn_web_forward.png", "btnForware",
                                action(&EventView::btnGoForware));
    btnRefresh_ = makeWebButton(root, Rect(426, 284, 44, 32), "btn_web_refresh.png", "btnRefresh",
                                action(&EventView::btnRefresh));
}

void EventView::viewDidUnload() {
    webView_.reset();
    lblTitle_.reset();
    btnGoBack_.reset();
    btnForware_.reset();
    btnRefresh_.reset();
    KavoViewController::viewDidUnload();
}

void EventView::setTitleLabel(const std::string& title) {
    if (lblTitle_) lblTitle_->setText(title);
}

void EventView::loadWebViewWithURL(const std::string& url) {
    if (auto page = webView()) page->loadRequest(url);
}

void EventView::btnGoBack() {
    auto page = webView();
    if (page && page->canGoBack()) page->goBack();
}

void EventView::btnGoForware() {
    auto page = webView();
    if (page && page->canGoForward()) page->goForward();
}

void EventView::btnRefresh() {
    if (auto page = webView()) page->reload();
}

} // namespace kavo
