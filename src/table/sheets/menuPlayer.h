#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"

#include <memory>

namespace kavo {

// The per-seat action sheet of the Caro and Tetris tables (and any table of the
// eleven it serves): kick, details, befriend, gift and buzz, laid out by who the
// chosen player is, whether I own the table and whether a match runs. Every action
// reads the open table at the moment it runs. Main thread only.
class menuPlayer : public CustomUIActionSheetViewController {
public:
    menuPlayer();

    void viewDidLoad() override;
    // Pictures, titles and the layout for the current table, then the slide-in.
    void viewWillAppear(bool animated) override;
    void doKick();
    void doViewInfo();
    void doAddFriend();
    void doPresentGift();
    void doBuzz();

    const std::shared_ptr<platform::ui::Button>& btnKick() const { return btnKick_; }
    const std::shared_ptr<platform::ui::Button>& btnViewInfo() const { return btnViewInfo_; }
    const std::shared_ptr<platform::ui::Button>& btnAddFriend() const { return btnAddFriend_; }
    const std::shared_ptr<platform::ui::Button>& btnPresentGift() const { return btnPresentGift_; }
    const std::shared_ptr<platform::ui::Button>& btnBuzz() const { return btnBuzz_; }
    const std::shared_ptr<platform::ui::ImageView>& imgBg() const { return imgBg_; }

private:
    void layOut();

    std::shared_ptr<platform::ui::Button> btnKick_, btnViewInfo_, btnAddFriend_, btnPresentGift_, btnBuzz_;
    std::shared_ptr<platform::ui::ImageView> imgBg_;
};

} // namespace kavo
