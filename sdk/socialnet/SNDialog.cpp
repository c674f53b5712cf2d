#include "sdk/socialnet/SNDialog.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Url.h"
#include "platform/foundation/Value.h"
#include "platform/ui/Font.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/Image.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "sdk/socialnet/SNLoginPlatform.h"
#include "sdk/socialnet/SNUtility.h"

#include <cmath>

namespace socialnet {

namespace {

using platform::ui::Color;
using platform::ui::Rect;

constexpr Color kFillColor{0.3, 0.3, 0.3, 0.8};
constexpr Color kBorderColor{0.3, 0.3, 0.3, 1};
constexpr Color kCloseTitleColor{0.655, 0.722, 0.847, 1};
const Rect kCloseButtonFrame{2, 2, 29, 29};
constexpr const char* kCloseImage = "SocialNetSDKResources.bundle/SNDialog/images/close.png";
constexpr double kAppearSteps[][2] = {{0.2, 1.1}, {0.15, 0.9}, {0.15, 1.0}};
constexpr double kDismissDuration = 0.3;
constexpr double kKeyboardAdjustment = 10;
constexpr const char* kLoadCancelledDomain = "NSURLErrorDomain";
constexpr int kLoadCancelledCode = -999;
constexpr const char* kPolicyChangeDomain = "WebKitErrorDomain";
constexpr int kPolicyChangeCode = 102;

} // namespace

SNDialog::SNDialog() : View(Rect{}) {
    setBackgroundColor({0, 0, 0, 0});
    setAutoresizesSubviews(true);
    setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth | platform::ui::AutoresizingFlexibleHeight);
    setAccessibilityIdentifier("snDialog");

    webView_ = platform::ui::WebView::make({0, 0, 480, 480});
    webView_->setDelegate(this);
    webView_->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth | platform::ui::AutoresizingFlexibleHeight);
    webView_->setAccessibilityIdentifier("webView");
    addSubview(webView_);

    closeButton_ = platform::ui::Button::make();
    auto closeImage = platform::ui::Image::named(kCloseImage);
    closeButton_->setImage(closeImage);
    // The network's resource bundle is not shipped: the button then shows its letter.
    if (!closeImage) closeButton_->setTitle("X");
    closeButton_->titleLabel()->setFont(platform::ui::Font::boldSystem(12));
    closeButton_->setTitleColor(kCloseTitleColor);
    closeButton_->setTitleColor({1, 1, 1, 1}, platform::ui::ControlState::Highlighted);
    closeButton_->setShowsTouchWhenHighlighted(true);
    closeButton_->setAutoresizingMask(platform::ui::AutoresizingFlexibleRightMargin |
                                      platform::ui::AutoresizingFlexibleBottomMargin);
    closeButton_->setAccessibilityIdentifier("closeButton");
    closeButton_->addTarget(platform::ui::ControlEvent::TouchUpInside, [this] { cancel(); });
    addSubview(closeButton_);

    spinner_ = platform::ui::ActivityIndicatorView::make(platform::ui::ActivityIndicatorStyle::Gray);
    spinner_->setAutoresizingMask(
        platform::ui::AutoresizingFlexibleLeftMargin | platform::ui::AutoresizingFlexibleRightMargin |
        platform::ui::AutoresizingFlexibleTopMargin | platform::ui::AutoresizingFlexibleBottomMargin);
    spinner_->setAccessibilityIdentifier("spinner");
}

SNDialog::SNDialog(std::string serverURL, SNDictionaryPtr params, bool isViewInvisible, SNDialogDelegate* delegate)
    : SNDialog() {
    serverURL_ = std::move(serverURL);
    params_ = params ? std::move(params) : SNDictionary::make();
    isViewInvisible_ = isViewInvisible;
    delegate_ = delegate;
}

SNDialog::~SNDialog() {
    stopObservingKeyboard();
    webView_->setDelegate(nullptr);
    if (delayedShow_) delayedShow_->invalidate();
}

std::string SNDialog::generateURL(const std::string& base, const SNDictionaryPtr& params) {
    if (!params || params->count() == 0) return base;
    std::string pairs;
    for (auto& key : params->keys()) {
        if (!pairs.empty()) pairs += '&';
        pairs +=
            key.description() + "=" + SNUtility::stringByURLEncodingString(params->objectForKey(key).description());
    }
    return base + "?" + pairs;
}

std::optional<std::string> SNDialog::getStringFromUrl(const std::string& url, const std::string& needle) {
    size_t at = url.find(needle);
    if (at == std::string::npos) return std::nullopt;
    // Only the first occurrence counts, and only at the start of a parameter.
    if (at != 0) {
        char before = url[at - 1];
        if (before != '?' && before != '&' && before != '#') return std::nullopt;
    }
    size_t start = at + needle.size();
    size_t end = url.find('&', start);
    std::string value = url.substr(start, end == std::string::npos ? std::string::npos : end - start);
    return platform::percentDecode(value);
}

bool SNDialog::testBoolUrlParam(const std::string& url, const std::string& needle) {
    auto value = getStringFromUrl(url, needle);
    return value && platform::Value(*value).boolValue();
}

void SNDialog::load() {
    loadURL(serverURL_, params_);
}

void SNDialog::loadURL(const std::string& url, const SNDictionaryPtr& params) {
    loadingURL_ = generateURL(url, params);
    webView_->loadRequest(*loadingURL_);
}

void SNDialog::sizeToFitScreen() {
    Rect screen = platform::ui::Screen::bounds();
    double scale = platform::ui::Screen::isTablet() ? kTabletScale : 1.0;
    double width = std::floor(scale * screen.width());
    double height = std::floor(scale * screen.height());
    setFrame({0, 0, width, height});
    setCenter({screen.x() + std::ceil(screen.width() * 0.5), screen.y() + std::ceil(screen.height() * 0.5)});
}

void SNDialog::show() {
    load();
    // This screen never rotates: the panel is sized for landscape once.
    sizeToFitScreen();
    closeButton_->sizeToFit();
    closeButton_->setFrame(kCloseButtonFrame);
    webView_->setFrame({11, 11, bounds().width() - 22, bounds().height() - 21});
    if (!isViewInvisible_) {
        spinner_->sizeToFit();
        spinner_->startAnimating();
        spinner_->setCenter(webView_->center());
        addSubview(spinner_);
        showWebView();
    }
}

void SNDialog::showWebView() {
    platform::ui::Window* window = platform::ui::Window::keyWindow();
    auto background = platform::ui::View::make(window ? window->frame() : platform::ui::Rect{});
    background->setAccessibilityIdentifier("snDialogBackground");
    background->addSubview(shared_from_this());
    if (window) window->addSubview(background);
    modalBackgroundView_ = background;
    observeKeyboard();
    setTransform(platform::ui::AffineTransform::scale(0.001, 0.001));
    std::weak_ptr<View> weak = weak_from_this();
    // Grows past its size, back under it, then settles, as the panel always did.
    View::animate(
        kAppearSteps[0][0],
        [weak] {
            if (auto self = weak.lock()) self->setTransform(platform::ui::AffineTransform::scale(1.1, 1.1));
        },
        [weak](bool) {
            View::animate(
                kAppearSteps[1][0],
                [weak] {
                    if (auto self = weak.lock()) self->setTransform(platform::ui::AffineTransform::scale(0.9, 0.9));
                },
                [weak](bool) {
                    View::animate(kAppearSteps[2][0], [weak] {
                        if (auto self = weak.lock()) self->setTransform(platform::ui::AffineTransform::scale(1.0, 1.0));
                    });
                });
        });
    dialogWillAppear();
}

void SNDialog::dismiss(bool animated) {
    if (dismissed_) return;
    dismissed_ = true;
    dialogWillDisappear();
    if (delayedShow_) delayedShow_->invalidate();
    delayedShow_.reset();
    loadingURL_.reset();
    if (!animated) {
        postDismissCleanup();
        return;
    }
    auto self = std::static_pointer_cast<SNDialog>(shared_from_this());
    View::animate(
        kDismissDuration, [self] { self->setAlpha(0); }, [self](bool) { self->postDismissCleanup(); });
}

void SNDialog::observeKeyboard() {
    if (!keyboardObservers_.empty()) return;
    auto& center = platform::NotificationCenter::defaultCenter();
    keyboardObservers_.push_back(center.addObserver(platform::ui::Keyboard::WillShowNotification,
                                                    [this](const platform::Notification&) { keyboardWillShow(true); }));
    keyboardObservers_.push_back(
        center.addObserver(platform::ui::Keyboard::WillHideNotification,
                           [this](const platform::Notification&) { keyboardWillShow(false); }));
}

void SNDialog::stopObservingKeyboard() {
    for (auto token : keyboardObservers_)
        platform::NotificationCenter::defaultCenter().removeObserver(token);
    keyboardObservers_.clear();
}

void SNDialog::keyboardWillShow(bool showing) {
    if (showing == showingKeyboard_) return;
    showingKeyboard_ = showing;
    // A phone (always in landscape here) gives the page the border's room while typing.
    if (platform::ui::Screen::isTablet()) return;
    double grow = showing ? kKeyboardAdjustment : -kKeyboardAdjustment;
    Rect frame = webView_->frame();
    webView_->setFrame({frame.x() - grow, frame.y() - grow, frame.width() + 2 * grow, frame.height() + 2 * grow});
}

void SNDialog::postDismissCleanup() {
    stopObservingKeyboard();
    removeFromSuperview();
    if (auto background = modalBackgroundView_.lock()) background->removeFromSuperview();
}

void SNDialog::dismissWithSuccess(bool success, bool animated) {
    if (delegate_) {
        if (success)
            delegate_->dialogDidComplete(*this);
        else
            delegate_->dialogDidNotComplete(*this);
    }
    dismiss(animated);
}

void SNDialog::dismissWithError(const SNError& error, bool animated) {
    if (delegate_) delegate_->dialogDidFailWithError(*this, error);
    dismiss(animated);
}

void SNDialog::dialogDidSucceed(const std::string& url) {
    if (delegate_) delegate_->dialogCompleteWithUrl(*this, url);
    dismissWithSuccess(true, true);
}

void SNDialog::dialogDidCancel(const std::optional<std::string>& url) {
    if (delegate_) delegate_->dialogDidNotCompleteWithUrl(*this, url);
    dismissWithSuccess(false, true);
}

void SNDialog::cancel() {
    dialogDidCancel(std::nullopt);
}

bool SNDialog::shouldStartLoad(platform::ui::WebView&, const std::string& url,
                               platform::ui::WebViewNavigationType type) {
    // Keeps this dialog alive through a delegate that lets go of it.
    auto self = shared_from_this();
    auto parsed = platform::Url::parse(url);
    std::string scheme = parsed ? parsed->scheme : std::string();
    if (scheme == "snconnect") {
        std::string rest = url.substr(url.find(':') + 1);
        if (rest.rfind("//cancel", 0) == 0) {
            auto errorCode = getStringFromUrl(url, "error_code=");
            auto errorMessage = getStringFromUrl(url, "error_msg=");
            if (errorCode) {
                SNError error;
                error.domain = "socialnetErrDomain";
                error.code = platform::parseLeadingInteger(*errorCode);
                if (errorMessage) {
                    error.message = *errorMessage;
                    error.userInfo.emplace_back("error_msg", *errorMessage);
                }
                dismissWithError(error, true);
            } else {
                dialogDidCancel(url);
            }
        } else {
            // Frictionless-request settings are never given in this client: nothing
            // to hand over before the success.
            dialogDidSucceed(url);
        }
        return false;
    }
    if ((loadingURL_ && url == *loadingURL_) || type != platform::ui::WebViewNavigationType::LinkClicked) return true;
    std::optional<bool> external;
    if (delegate_) external = delegate_->dialogShouldOpenURLInExternalBrowser(*this, url);
    if (external.value_or(true)) SNLoginPlatform::current()->openURL(url);
    return false;
}

void SNDialog::didFinishLoad(platform::ui::WebView&) {
    if (isViewInvisible_) {
        std::weak_ptr<View> weak = weak_from_this();
        delayedShow_ = platform::performAfterDelay(kDelayedShow, [weak] {
            if (auto self = std::static_pointer_cast<SNDialog>(weak.lock())) self->showWebView();
        });
    } else {
        spinner_->stopAnimating();
        spinner_->setHidden(true);
    }
    // This screen is always in landscape.
    webView_->stringByEvaluatingJavaScriptFromString(kScriptLandscape);
}

void SNDialog::didFailLoadWithError(platform::ui::WebView&, const platform::ui::WebViewError& error) {
    if ((error.domain == kLoadCancelledDomain && error.code == kLoadCancelledCode) ||
        (error.domain == kPolicyChangeDomain && error.code == kPolicyChangeCode))
        return;
    SNError failure;
    failure.domain = error.domain;
    failure.code = error.code;
    failure.message = error.description;
    auto self = shared_from_this();
    dismissWithError(failure, true);
}

void SNDialog::draw(platform::ui::GraphicsContext& context) {
    Rect rect = bounds();
    context.setFillColor(kFillColor);
    context.fillRect(rect);
    context.setStrokeColor(kBorderColor);
    Rect line{std::ceil(rect.x() + kBorderWidth), std::ceil(rect.y() + kBorderWidth) + 1,
              rect.width() - 2 * kBorderWidth, webView_->frame().height() + 1};
    context.strokeRect(line);
}

} // namespace socialnet
