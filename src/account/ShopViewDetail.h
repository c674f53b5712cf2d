#pragma once

#include "app/EscapeTarget.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/View.h"
#include "portal/model/Player.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class ShopView;

// The small panel the shop opens beside a tile: the entry's picture, name and price,
// and four actions: buy it (after a money check and a confirmation), give it to a
// friend, put it in the cart, take it out of the cart. It works on the shop's
// selection and cart and sends the purchase and gift requests itself. Main thread.
class ShopViewDetail : public platform::ui::View, public platform::ui::AlertViewDelegate, public EscapeTarget {
public:
    ShopViewDetail();
    ~ShopViewDetail() override;

    // The price of the entry opened last (kept for the class).
    static int32_t itemPrice();
    static void setItemPrice(int32_t price);

    void set_isCheckOut(bool on) { isCheckOut_ = on; }
    void set_itemType(int type) { itemType_ = type; }
    int itemType() const { return itemType_; }
    void set_avatarID(int32_t id) { avatarID_ = id; }
    void set_imgViewAvatar(platform::ui::ImagePtr image) { imgViewAvatar_ = std::move(image); }
    void set_itemPrice(int32_t price) { itemPrice_ = price; }
    void set_strUsername(std::string name) { strUsername_ = std::move(name); }
    void set_virtualRect(platform::ui::Rect rect) { virtualRect_ = rect; }
    bool isGift() const { return isGift_; }
    bool isAddScrollViewFriendList() const { return isAddScrollViewFriendList_; }

    // Lays the panel out over the shop's view and shows it.
    void ShowupScreen(ShopView& shop);

    void doPresent();
    void doCheckOut();
    void doAddToCart();
    void doDiscard();
    void hideThisView();
    // Escape closes the panel at once, as a tap beside it does.
    EscapeAnswer closeItself() override;
    void presentFriend(int index);
    void clickedButtonAtIndex(platform::ui::AlertView& alert, int index) override;

    const std::shared_ptr<platform::ui::View>& wView() const { return wView_; }

private:
    void setUIScreen();
    void addVirtualView();
    void layOut(bool leftOfTile);
    void addScrollView();
    void doBuyAvatar();
    void doBuyItem();
    void checkMoneyAndConfirm(const char* confirmKey, const char* notEnoughKey);
    void confirm(const std::string& message, const std::string& otherTitle);
    void sendAnswer();
    void doHideThisView();
    static void doShowAlertViewMessage(const std::string& message);
    // The cart's tiles follow the cart, on a later turn of the main loop.
    static void redrawCheckout(const std::shared_ptr<ShopView>& shop);

    std::weak_ptr<ShopView> shop_;
    int itemType_ = 1;
    bool isGift_ = false;
    int selectedIndex_ = -1;
    std::vector<std::shared_ptr<Player>> arrayFriendList_;
    bool isAddScrollViewFriendList_ = false;
    bool isCheckOut_ = false;
    std::string strUsername_;
    platform::ui::ImagePtr imgViewAvatar_;
    int32_t itemPrice_ = 0;
    int32_t avatarID_ = 0;
    platform::ui::Rect virtualRect_;
    std::shared_ptr<platform::ui::Button> btnBg_;
    std::shared_ptr<platform::ui::View> sView_, wView_;
    std::shared_ptr<platform::ui::ScrollView> myScrollView_;
    std::shared_ptr<platform::ui::AlertView> alert_;
};

} // namespace kavo
