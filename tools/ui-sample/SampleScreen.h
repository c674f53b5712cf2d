#pragma once

#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <memory>
#include <string>

namespace platform::sample {

// The screen a row of the sample's table opens: it shows the row's text and goes back.
class DetailScreen : public ui::ViewController {
public:
    explicit DetailScreen(std::string rowText) : rowText_(std::move(rowText)) {}
    const std::string& rowText() const { return rowText_; }

    void layoutForPhone() override { build(1.0); }
    void layoutForTablet() override { build(2.0); }

private:
    void build(double scale);
    std::string rowText_;
};

// A first screen made of one of each kind of view, to try the view layer, the renderer
// and the automation driver by hand or from tests:
//   lblTitle "Đăng nhập", txfUsername, lblPassword "Mật khẩu", txfPassword (return in the
//   user name moves to the password; return in the password greets in lblStatus),
//   imgLogo (a picture made from pixels), btnNext "Tiếp tục" (a stretchable background;
//   sets lblStatus), viewPie (drawn by a draw handler), btnConfirm "Xác nhận" (an alert
//   "Xác nhận" with "Hủy" and "Đồng ý"; the answer goes to lblStatus) and tblRows (50 rows
//   "Dòng 1" ... "Dòng 50" with reused cells; a row opens a DetailScreen).
class SampleScreen : public ui::ViewController,
                     public ui::TableViewDataSource,
                     public ui::TableViewDelegate,
                     public ui::TextFieldDelegate,
                     public ui::AlertViewDelegate {
public:
    static constexpr int kRowCount = 50;

    void layoutForPhone() override { build(1.0); }
    void layoutForTablet() override { build(2.0); }

    // Cells the table asked this screen to make (the rest were reused).
    int cellsMade() const { return cellsMade_; }
    const std::shared_ptr<ui::TableView>& table() const { return table_; }
    const std::shared_ptr<ui::Label>& status() const { return status_; }

    // Table
    int numberOfRows(ui::TableView& table, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView& table, const ui::IndexPath& indexPath) override;
    void didSelectRow(ui::TableView& table, const ui::IndexPath& indexPath) override;
    // Text fields
    bool shouldReturn(ui::TextField& field) override;
    // Alert
    void clickedButtonAtIndex(ui::AlertView& alert, int index) override;

private:
    void build(double scale);

    std::shared_ptr<ui::TextField> username_;
    std::shared_ptr<ui::TextField> password_;
    std::shared_ptr<ui::Label> status_;
    std::shared_ptr<ui::TableView> table_;
    std::shared_ptr<ui::AlertView> alert_;
    int cellsMade_ = 0;
};

struct Sample {
    std::shared_ptr<ui::Window> window;
    std::shared_ptr<ui::NavigationController> navigation;
    std::shared_ptr<SampleScreen> screen;
};

// Makes the sample's window (key and visible) with a navigation controller whose first
// screen is a SampleScreen, laid out for the current idiom.
Sample showSample();

// A small picture made from pixels (a round badge), and the stretchable button
// background (rounded, with 10-pixel caps).
ui::ImagePtr makeLogoImage();
ui::ImagePtr makeButtonBackground();

} // namespace platform::sample
