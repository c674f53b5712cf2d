#include "app/KavoViewController.h"

#include "app/EscapeTarget.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "net/MobileClient.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "platform/ui/Path.h"
#include "social/MessageView.h"

#include <string>

namespace kavo {

using platform::ui::Color;
using platform::ui::Point;
using platform::ui::Rect;
using platform::ui::View;
using platform::ui::ViewPtr;

KavoViewController::KavoViewController() = default;

KavoViewController::KavoViewController(const std::string& nibName) : nibName_(nibNameForDevice(nibName)) {}

KavoViewController::~KavoViewController() = default;

std::string KavoViewController::nibNameForDevice(const std::string& name) {
    return Util::isPad() ? name + "-iPad" : name;
}

// ---- life cycle

void KavoViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    makeLottoSubView();
    // The mailbox badge: a red disc with the count, top right, hidden until there is mail.
    imgViewCounterMessage_ = platform::ui::ImageView::make(Util::changeRectFromRect(Rect{452, 2, 24, 24}));
    imgViewCounterMessage_->setBackgroundColor(Color::red());
    imgViewCounterMessage_->layer().setCornerRadius(imgViewCounterMessage_->bounds().height() / 2);
    imgViewCounterMessage_->setAccessibilityIdentifier("imgViewCounterMessage");
    imgViewCounterMessage_->setHidden(true);
    lblCounterMessage_ = platform::ui::Label::make(imgViewCounterMessage_->frame());
    lblCounterMessage_->setTextAlignment(platform::ui::TextAlignment::Center);
    lblCounterMessage_->setTextColor(Color::white());
    lblCounterMessage_->setFont(platform::ui::Font::boldSystem(12 * Util::iPad()));
    lblCounterMessage_->setAccessibilityIdentifier("lblCounterMessage");
    lblCounterMessage_->setHidden(true);
    view()->addSubview(imgViewCounterMessage_);
    view()->addSubview(lblCounterMessage_);
}

void KavoViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    std::weak_ptr<platform::ui::ViewController> weakSelf = weak_from_this();
    platform::runOnMainThread([weakSelf] {
        if (auto self = std::dynamic_pointer_cast<KavoViewController>(weakSelf.lock())) self->reloadMessages();
    });
}

bool KavoViewController::shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation) const {
    return orientation == InterfaceOrientation::LandscapeLeft || orientation == InterfaceOrientation::LandscapeRight;
}

// ---- overlays and badge

void KavoViewController::showLoadingScreen(const ViewPtr& view) {
    Util::hideLoadingOnView(view);
    Util::showLoadingOnView(view);
}

void KavoViewController::hideLoadingScreen(const ViewPtr& view) {
    Util::hideLoadingOnView(view);
}

void KavoViewController::reloadMessages() {
    if (!isViewLoaded() || !imgViewCounterMessage_ || !lblCounterMessage_) return;
    // The badge is the screen's: it goes on top, under the lowest thing shown laid over
    // the screen (a panel or sheet of a controller of its own, such as the shop or the
    // mailbox with its badge, or a view with a close of its own, such as a table's seat
    // menu), which keeps its clicks. Nothing else moves: what a table keeps above its own
    // panel stays there (the chosen seat above its menu, the peeked card above its overlay).
    const platform::ui::View* lowest = nullptr;
    for (const auto& subview : view()->subviews()) {
        if (subview == imgViewCounterMessage_ || subview == lblCounterMessage_ || subview->isHidden()) continue;
        const auto* owner = subview->viewController();
        if ((owner && owner != this) || dynamic_cast<const EscapeTarget*>(subview.get())) {
            lowest = subview.get();
            break;
        }
    }
    for (const platform::ui::ViewPtr& badge :
         {platform::ui::ViewPtr(imgViewCounterMessage_), platform::ui::ViewPtr(lblCounterMessage_)}) {
        if (lowest)
            view()->insertSubviewBelow(badge, lowest);
        else
            view()->bringSubviewToFront(badge.get());
    }
    const size_t count = UIController::listMessageCount();
    if (count > 0) {
        imgViewCounterMessage_->setHidden(false);
        lblCounterMessage_->setHidden(false);
        lblCounterMessage_->setText(std::to_string(count));
    } else {
        imgViewCounterMessage_->setHidden(true);
        lblCounterMessage_->setText("");
        lblCounterMessage_->setHidden(true);
    }
}

// ---- panels

void KavoViewController::openPanel(platform::ui::ViewController& panel, bool animated) {
    view()->addSubview(panel.view());
    panel.viewWillAppear(animated);
}

void KavoViewController::logout() {
    UIController::removeItemsIntoListMessage(UIController::listMessageWithFilter(3));
    MobileClient::getInstance().disconnect();
}

void KavoViewController::clickChatFriend() {
    showMessageView();
}

void KavoViewController::showMenu() {
    const auto& button = KavoOnlineAppDelegate::getInstance().btnMenu();
    if (!button) return;
    // Only the picture and the tag change; the menu itself has no animation.
    if (button->tag() == 1) {
        button->setImage(Util::getImageWithName("show.png"));
        button->setTag(0);
    } else {
        button->setImage(Util::getImageWithName("hide.png"));
        button->setTag(1);
    }
}

void KavoViewController::animateView(const ViewPtr& target, Point point, double seconds) {
    if (!target) return;
    platform::ui::AnimationOptions options;
    options.curve = platform::ui::AnimationCurve::EaseIn;
    View::animate(seconds, 0, options, [&] {
        target->setCenter(point);
        target->setTransform(platform::ui::AffineTransform::identity());
    });
}

} // namespace kavo
