#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewController.h"

#include <memory>

namespace kavo {

// A plain screen holding an item's picture, price, description and its gift, cart
// and purchase buttons; it only lays them out.
class ItemDetailView : public platform::ui::ViewController {
public:
    void viewDidLoad() override;
    void viewDidUnload() override;

    const std::shared_ptr<platform::ui::ImageView>& imgViewItemImage() const { return imgViewItemImage_; }
    const std::shared_ptr<platform::ui::ImageView>& imgViewItemMoney() const { return imgViewItemMoney_; }
    const std::shared_ptr<platform::ui::Label>& lblMoney() const { return lblMoney_; }
    const std::shared_ptr<platform::ui::Button>& btnGift() const { return btnGift_; }
    const std::shared_ptr<platform::ui::Button>& btnCart() const { return btnCart_; }
    const std::shared_ptr<platform::ui::Button>& btnPurchase() const { return btnPurchase_; }
    const std::shared_ptr<platform::ui::TextView>& txvItemDEscription() const { return txvItemDEscription_; }

private:
    std::shared_ptr<platform::ui::ImageView> imgViewItemImage_, imgViewItemMoney_;
    std::shared_ptr<platform::ui::Label> lblMoney_;
    std::shared_ptr<platform::ui::Button> btnGift_, btnCart_, btnPurchase_;
    std::shared_ptr<platform::ui::TextView> txvItemDEscription_;
};

} // namespace kavo
