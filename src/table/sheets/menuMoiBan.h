#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"

#include <memory>

namespace kavo {

// The invitation menu: ask the waiting list or the friend list; the replies open the
// invitation sheet.
class menuMoiBan : public CustomUIActionSheetViewController {
public:
    menuMoiBan();

    void viewDidLoad() override;
    // Titles, and the Caro pictures at the Caro table.
    void viewWillAppear(bool animated) override;
    void doInviteFriend();
    void doInviteWaitPlayer();

    const std::shared_ptr<platform::ui::ImageView>& imgBg() const { return imgBg_; }
    const std::shared_ptr<platform::ui::Button>& btnWaitingRoom() const { return btnWaitingRoom_; }
    const std::shared_ptr<platform::ui::Button>& btnFriends() const { return btnFriends_; }

private:
    std::shared_ptr<platform::ui::ImageView> imgBg_;
    std::shared_ptr<platform::ui::Button> btnWaitingRoom_, btnFriends_;
};

// The Caro move speed: faster, normal or slower, ticked by the table's choice.
class menuSpeed : public CustomUIActionSheetViewController {
public:
    menuSpeed();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    // The button's tag (0, 1, 2) becomes the Caro table's interval.
    void doSetupSpeed(const platform::ui::View& sender);

    const std::shared_ptr<platform::ui::Button>& btnFaster() const { return btnFaster_; }
    const std::shared_ptr<platform::ui::Button>& btnNormal() const { return btnNormal_; }
    const std::shared_ptr<platform::ui::Button>& btnSlower() const { return btnSlower_; }
    const std::shared_ptr<platform::ui::ImageView>& imgFaster() const { return imgFaster_; }
    const std::shared_ptr<platform::ui::ImageView>& imgNormal() const { return imgNormal_; }
    const std::shared_ptr<platform::ui::ImageView>& imgSlower() const { return imgSlower_; }

private:
    std::shared_ptr<platform::ui::Button> btnFaster_, btnNormal_, btnSlower_;
    std::shared_ptr<platform::ui::ImageView> imgFaster_, imgNormal_, imgSlower_;
};

} // namespace kavo
