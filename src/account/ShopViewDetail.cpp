#include "account/ShopViewDetail.h"

#include "account/ShopView.h"
#include "account/ShopWidgets.h"
#include "account/WaitingGifts.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/foundation/TextFormat.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TextView.h"
#include "portal/GlobalService.h"

#include <algorithm>
#include <atomic>
#include <limits>

namespace kavo {

namespace ui = platform::ui;

namespace {

std::atomic<int32_t>& sharedPrice() {
    static std::atomic<int32_t> price{0};
    return price;
}

// A phone frame, doubled on a tablet.
ui::Rect twice(ui::Rect phone) {
    const double s = Util::isPad() ? 2 : 1;
    return {phone.x() * s, phone.y() * s, phone.width() * s, phone.height() * s};
}

// The panel's elements: x on the right of the tile, x on the left, then y, w, h.
struct Element {
    double rightX, leftX, y, width, height;
    ui::Rect at(bool left) const { return twice({left ? leftX : rightX, y, width, height}); }
};
constexpr Element kTitlePlate{20, 3, 73, 83, 16};
constexpr Element kTitle{22, 3, 73, 76, 16};
constexpr Element kPicture{32, 12, 7, 58, 63};
constexpr Element kPricePlate{20, 7, 90, 119, 65};
constexpr Element kPrice{22, 10, 92, 116, 61};
constexpr Element kGive{106, 93, 7, 33, 26};
constexpr Element kUpper{106, 93, 35, 33, 26};
constexpr Element kLower{106, 93, 63, 33, 23};

constexpr int kAnswerButton = 1;

} // namespace

ShopViewDetail::ShopViewDetail() {
    setAccessibilityIdentifier("ShopViewDetail");
}

ShopViewDetail::~ShopViewDetail() {
    if (alert_) alert_->setDelegate(nullptr);
}

int32_t ShopViewDetail::itemPrice() {
    return sharedPrice().load();
}

void ShopViewDetail::setItemPrice(int32_t price) {
    sharedPrice().store(price);
}

void ShopViewDetail::ShowupScreen(ShopView& shop) {
    shop_ = std::static_pointer_cast<ShopView>(shop.shared_from_this());
    KavoOnlineAppDelegate::getInstance().setBackButtonHidden(true);
    arrayFriendList_ = Resources::getInstance().listMyFriends();
    Resources::getInstance().loadLanguage();
    setUIScreen();
}

void ShopViewDetail::setUIScreen() {
    auto shop = shop_.lock();
    if (!shop) return;
    auto& shopView = *shop->view();
    isAddScrollViewFriendList_ = false;
    btnBg_ = shopui::dimmingButton(shopView.bounds(), "hideThisView", [this] { hideThisView(); });
    shopView.addSubview(btnBg_);
    addVirtualView();
    layOut(shop->isOver());
    shopView.addSubview(std::static_pointer_cast<ShopViewDetail>(shared_from_this()));
}

void ShopViewDetail::addVirtualView() {
    const bool pad = Util::isPad();
    sView_ = ui::View::make(virtualRect_);
    sView_->addSubview(shopui::image(sView_->bounds(), "i_img_borderItem.png"));
    auto picture = ui::ImageView::make({10, 8, pad ? 100.0 : 50.0, pad ? 100.0 : 50.0});
    picture->setContentMode(ui::ContentMode::Center);
    picture->setImage(imgViewAvatar_);
    sView_->addSubview(picture);
    sView_->addSubview(shopui::label({7, pad ? 135.0 : 66.0, pad ? 114.0 : 57.0, pad ? 26.0 : 13.0}, strUsername_,
                                     pad ? 14 : 10, ui::Color::black(), ui::TextAlignment::Center));
    if (auto shop = shop_.lock()) shop->view()->addSubview(sView_);
}

void ShopViewDetail::layOut(bool left) {
    const bool pad = Util::isPad();
    auto background = ui::ImageView::make(bounds());
    auto picture = Util::getImageWithName("i_img_ShopViewDetail_background.png");
    background->setImage(left ? Util::flipImage(picture, ImageOrientation::UpMirrored) : picture);
    addSubview(background);
    addSubview(shopui::image(kTitlePlate.at(left), "i_img_ShopViewDetail_backgroundTitle.png"));
    auto title =
        shopui::label(kTitle.at(left), strUsername_, pad ? 14 : 10, ui::Color::black(), ui::TextAlignment::Center);
    title->setAccessibilityIdentifier("lblTitle");
    addSubview(title);
    addSubview(shopui::image(kPicture.at(left), "i_img_border_itemImage.png"));
    auto image = ui::ImageView::make(kPicture.at(left));
    image->setContentMode(ui::ContentMode::Center);
    image->setImage(imgViewAvatar_);
    addSubview(image);
    addSubview(shopui::image(kPricePlate.at(left), "i_img_ShopwViewDetail_backgroundDescription.png"));
    auto price = ui::TextView::make(kPrice.at(left));
    price->setAccessibilityIdentifier("txvItemDescription");
    price->setEditable(false);
    price->setBackgroundColor(ui::Color::clear());
    price->setTextColor(ui::Color::black());
    price->setFont(ui::Font::system(pad ? 18 : 12));
    price->setText(Util::formatNumber(itemPrice_) + " ZEL");
    addSubview(price);
    addSubview(shopui::button(kGive.at(left), "doPresent", "i_btn_present.png", "", [this] { doPresent(); }));
    const ui::Rect buy = isCheckOut_ ? kUpper.at(left) : kLower.at(left);
    const ui::Rect cart = isCheckOut_ ? kLower.at(left) : kUpper.at(left);
    addSubview(shopui::button(buy, "doCheckOut", "i_btn_checkout.png", "", [this] { doCheckOut(); }));
    if (isCheckOut_) {
        addSubview(shopui::button(cart, "doDiscard", "i_btn_ShopViewDiscard.png", "", [this] { doDiscard(); }));
    } else {
        addSubview(shopui::button(cart, "doAddToCart", "i_btn_cartInHappyHour.png", "", [this] { doAddToCart(); }));
    }
}

// ---------------------------------------------------------------- buying

void ShopViewDetail::doCheckOut() {
    auto shop = shop_.lock();
    if (!shop) return;
    if (shop->shopKind() == 1) {
        doBuyAvatar();
    } else {
        doBuyItem();
    }
}

void ShopViewDetail::doBuyAvatar() {
    checkMoneyAndConfirm("KAVO_confirmBuyAvatar", "KAVO_noEnoughBuyAvatar");
}

void ShopViewDetail::doBuyItem() {
    checkMoneyAndConfirm("KAVO_confirmBuyItem", "KAVO_noEnoughBuyItem");
}

void ShopViewDetail::checkMoneyAndConfirm(const char* confirmKey, const char* notEnoughKey) {
    auto shop = shop_.lock();
    if (!shop) return;
    const int64_t money = UIController::myInfo()->money();
    // The 32-bit price keeps its sign when it meets the 64-bit money.
    const int64_t price = int64_t(shop->selectedItem().price());
    if (money >= price) {
        isGift_ = false;
        itemType_ = std::string(confirmKey) == "KAVO_confirmBuyAvatar" ? 1 : 2;
        confirm(platform::formatText(kavo::text(confirmKey), {Util::formatNumber(money)}), kavo::text("KAVO_OK"));
        return;
    }
    UIController::showNotice(platform::formatText(kavo::text(notEnoughKey), {Util::formatNumber(money)}));
}

void ShopViewDetail::confirm(const std::string& message, const std::string& otherTitle) {
    if (alert_) alert_->setDelegate(nullptr);
    alert_ = ui::AlertView::make("", message, this, kavo::text("KAVO_cancel"), {otherTitle});
    alert_->show();
}

void ShopViewDetail::clickedButtonAtIndex(ui::AlertView&, int index) {
    if (index == kAnswerButton) sendAnswer();
}

void ShopViewDetail::sendAnswer() {
    auto shop = shop_.lock();
    if (!shop) return;
    const ShopEntry& entry = shop->selectedItem();
    auto& service = GlobalService::getInstance();
    std::shared_ptr<Player> chosen;
    if (isGift_) {
        if (selectedIndex_ < 0 || size_t(selectedIndex_) >= arrayFriendList_.size()) return;
        chosen = arrayFriendList_[size_t(selectedIndex_)];
        if (!chosen) return;
    }
    if (itemType_ == 2) {
        if (!isGift_) {
            service.requestBuyItem(entry.id());
            return;
        }
        WaitingGifts::add(entry.price(), chosen->name());
        service.buyItemForFriend(chosen->IDDB(), chosen->name(), entry.id());
    } else if (itemType_ == 1) {
        if (!isGift_) {
            service.buyAvatarWithId(entry.id());
            return;
        }
        const int32_t id = entry.id();
        if (id < std::numeric_limits<int16_t>::min() || id > std::numeric_limits<int16_t>::max()) {
            platform::log("gift: avatar " + std::to_string(id) + " does not fit the request; nothing sent");
            return;
        }
        WaitingGifts::add(entry.price(), chosen->name());
        service.buyAvatarForFriendID(chosen->IDDB(), chosen->name(), int16_t(id));
    }
}

// ---------------------------------------------------------------- giving

void ShopViewDetail::doPresent() {
    if (isAddScrollViewFriendList_) return;
    addScrollView();
    isAddScrollViewFriendList_ = true;
}

void ShopViewDetail::addScrollView() {
    auto shop = shop_.lock();
    if (!shop) return;
    const bool pad = Util::isPad();
    wView_ = ui::View::make(twice({0, 0, 92, 160}));
    wView_->setAccessibilityIdentifier("wView");
    wView_->addSubview(shopui::image(twice({0, 0, 92, 170}), "i_nenListFriend.png"));
    wView_->addSubview(shopui::image(twice({14, 7, 64, 12}), "i_taptrai-text.png"));
    myScrollView_ = ui::ScrollView::make(twice({0, 25, 92, 143}));
    myScrollView_->setAccessibilityIdentifier("myScrollView");
    const double pitch = pad ? 80 : 40;
    for (size_t i = 0; i < arrayFriendList_.size(); ++i) {
        const auto& player = arrayFriendList_[i];
        if (!player) continue;
        auto row = ui::View::make({0, pitch * double(i), pad ? 184.0 : 92.0, pad ? 64.0 : 32.0});
        row->addSubview(shopui::image(twice({0, 2, 20, 30}), "i_nen-avatar.png"));
        auto avatar = ui::ImageView::make(twice({0, 2, 20, 30}));
        avatar->setImage(Util::imageWithImage(Resources::getInstance().getImageFromAvatarID(player->avatar()),
                                              twice({0, 0, 20, 30}).size));
        row->addSubview(avatar);
        row->addSubview(shopui::image(twice({22, 9, 70, 15}), "i_ten-user.png"));
        row->addSubview(shopui::label(twice({26, 9, 62, 15}), player->name(), pad ? 14 : 10, ui::Color::white(),
                                      ui::TextAlignment::Center));
        auto button = ui::Button::make(row->bounds());
        button->setAccessibilityIdentifier("presentFriend" + std::to_string(i));
        button->setTag(int(i));
        button->setShowsTouchWhenHighlighted(true);
        button->onTouchUpInside([this, index = int(i)] { presentFriend(index); });
        row->addSubview(button);
        myScrollView_->addSubview(row);
    }
    myScrollView_->setContentSize({myScrollView_->bounds().width(), pitch * double(arrayFriendList_.size())});
    wView_->addSubview(myScrollView_);
    shop->view()->addSubview(wView_);
}

void ShopViewDetail::presentFriend(int index) {
    if (index < 0 || size_t(index) >= arrayFriendList_.size() || !arrayFriendList_[size_t(index)]) return;
    selectedIndex_ = index;
    isGift_ = true;
    confirm(
        platform::formatText(kavo::text("KAVO_BuyGiftForFriendQuestion"), {arrayFriendList_[size_t(index)]->name()}),
        kavo::text("KAVO_Tang"));
}

// ---------------------------------------------------------------- cart

void ShopViewDetail::doAddToCart() {
    auto shop = shop_.lock();
    if (!shop) return;
    if (itemType_ == 1) {
        doShowAlertViewMessage(kavo::text("KAVO_WarningUnderConstruction"));
        return;
    }
    shop->listSelectedItems().push_back(shop->selectedItem());
    doShowAlertViewMessage(kavo::text("KAVO_Cart_ConfirmItem"));
    redrawCheckout(shop);
}

void ShopViewDetail::redrawCheckout(const std::shared_ptr<ShopView>& shop) {
    std::weak_ptr<ShopView> weak = shop;
    platform::runOnMainThread([weak] {
        if (auto later = weak.lock()) later->reloadScrollViewCheckout();
    });
}

void ShopViewDetail::doDiscard() {
    auto shop = shop_.lock();
    if (!shop) return;
    auto& cart = shop->listSelectedItems();
    auto it = std::find(cart.begin(), cart.end(), shop->selectedItem());
    if (it != cart.end()) cart.erase(it);
    doShowAlertViewMessage(kavo::text(itemType_ == 1 ? "KAVO_Cart_DeleteAvatar" : "KAVO_Cart_DeleteItem"));
    redrawCheckout(shop);
    doHideThisView();
}

void ShopViewDetail::doShowAlertViewMessage(const std::string& message) {
    UIController::postNotice(message);
}

// ---------------------------------------------------------------- closing

void ShopViewDetail::hideThisView() {
    std::weak_ptr<ShopViewDetail> weak = std::static_pointer_cast<ShopViewDetail>(shared_from_this());
    platform::runOnMainThread([weak] {
        if (auto self = weak.lock()) self->doHideThisView();
    });
}

EscapeAnswer ShopViewDetail::closeItself() {
    doHideThisView();
    return EscapeAnswer::closed;
}

void ShopViewDetail::doHideThisView() {
    auto keep = shared_from_this();
    isAddScrollViewFriendList_ = false;
    for (const ui::ViewPtr& view : std::vector<ui::ViewPtr>{btnBg_, sView_, wView_})
        if (view) view->removeFromSuperview();
    removeFromSuperview();
    KavoOnlineAppDelegate::getInstance().restoreBackButton();
}

} // namespace kavo
