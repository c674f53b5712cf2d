#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/Button.h"

#include <cstdint>
#include <memory>

namespace kavo {

// How many players the board takes: four, three or two (Cao Rua six, five or two),
// sent with the game's own set-maximum request (56). Other tables only close it.
class menuSoNguoi : public CustomUIActionSheetViewController {
public:
    static const std::shared_ptr<menuSoNguoi>& getInstance();
    menuSoNguoi();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void doSet4Players();
    void doSet3Players();
    void doSetSoloPlayers();

    const std::shared_ptr<platform::ui::Button>& btn4Nguoi() const { return btn4Nguoi_; }
    const std::shared_ptr<platform::ui::Button>& btn3Nguoi() const { return btn3Nguoi_; }
    const std::shared_ptr<platform::ui::Button>& btn2nguoi() const { return btn2nguoi_; }

private:
    // `fewer` players than the game's most (0, 1); solo is always 2.
    void sendMax(int fewer, bool solo);

    std::shared_ptr<platform::ui::Button> btn4Nguoi_, btn3Nguoi_, btn2nguoi_;
};

} // namespace kavo
