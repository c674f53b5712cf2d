#include "table/sheets/MauBinhResultView.h"

#include "app/Text.h"
#include "app/Util.h"
#include "platform/foundation/Text.h"
#include "table/sheets/SheetPanel.h"

namespace kavo {

MauBinhResultView::MauBinhResultView() : CustomUIActionSheetViewController("MauBinhResultView") {}

void MauBinhResultView::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {40, 40, 400, 240}, "");
    setActionSheetView(panel);
    txtThangThua_ = SheetPanel::addLabel(*panel, {110, 4, 180, 26}, "txtThangThua", "");
    txtThangThua_->setTextAlignment(platform::ui::TextAlignment::Center);
    imgLinhVat_ = platform::ui::ImageView::make(Util::changeRectFromRect({300, 150, 80, 80}));
    imgLinhVat_->setAccessibilityIdentifier("imgLinhVat");
    panel->addSubview(imgLinhVat_);
    lblnguoiChoi0_ = SheetPanel::addLabel(*panel, {20, 40, 130, 22}, "lblnguoiChoi", text("KAVO_nick"));
    lblGhiChu0_ = SheetPanel::addLabel(*panel, {150, 40, 130, 22}, "lblGhiChu", text("KAVO_note"));
    lblTien0_ = SheetPanel::addLabel(*panel, {280, 40, 110, 22}, "lblTien", text("KAVO_money"));
    for (int row = 0; row < 4; ++row) {
        const double y = 68 + row * 26;
        const std::string n = std::to_string(row + 1);
        lblnguoiChoi_[size_t(row)] = SheetPanel::addLabel(*panel, {20, y, 130, 22}, "lblnguoiChoi" + n, "");
        lblGhiChu_[size_t(row)] = SheetPanel::addLabel(*panel, {150, y, 130, 22}, "lblGhiChu" + n, "");
        lblTien_[size_t(row)] = SheetPanel::addLabel(*panel, {280, y, 110, 22}, "lblTien" + n, "");
    }
    setDefaultButton(
        SheetPanel::addButton(*panel, {150, 190, 100, 32}, "slideOut", text("KAVO_OK"), [this] { slideOut(); }));
}

void MauBinhResultView::viewWillAppear(bool animated) {
    view();
    CustomUIActionSheetViewController::viewWillAppear(animated);
    // A row for each whole three texts; the rows past them are emptied, since the sheet is
    // shown again after each hand, perhaps with fewer players.
    for (size_t row = 0; row < 4; ++row) {
        const bool shown = listResult_.size() >= 3 * (row + 1);
        lblnguoiChoi_[row]->setText(shown ? listResult_[3 * row] : "");
        lblGhiChu_[row]->setText(shown ? listResult_[3 * row + 1] : "");
        lblTien_[row]->setText(shown ? listResult_[3 * row + 2] : "");
    }
    if (isWin_) {
        txtThangThua_->setText(platform::toUpper(text("KAVO_win1")));
        imgLinhVat_->setImage(Util::getImageWithName(Util::isVN() ? "linh_vat_thang_vi.png" : "linh_vat_thang_en.png"));
    } else {
        txtThangThua_->setText(platform::toUpper(text("KAVO_lose1")));
        imgLinhVat_->setImage(Util::getImageWithName("linh_vat_thua.png"));
    }
}

} // namespace kavo
