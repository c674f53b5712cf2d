#include "account/CellTaiSan.h"

#include "account/ProfileRows.h"
#include "app/Util.h"

namespace kavo {

namespace ui = platform::ui;

namespace {

double fontSize() {
    return Util::isPad() ? 20 : 10;
}

} // namespace

CellTaiSan::CellTaiSan(double width) : ui::TableViewCell(ui::TableViewCellStyle::Default, kIdentifier) {
    setSelectionStyle(ui::TableViewCellSelectionStyle::Gray);
    const ui::ViewPtr& content = contentView();
    imgViewBackground_ = ui::ImageView::make({0, 0, width, Util::isPad() ? 102.0 : 41.0});
    content->addSubview(imgViewBackground_);
    imgViewItem_ = ui::ImageView::make(scaled({6, 3, 35, 35}));
    imgViewItem_->setAccessibilityIdentifier("imgViewItem");
    imgViewItem_->setContentMode(ui::ContentMode::ScaleAspectFit);
    content->addSubview(imgViewItem_);
    lblTenVatPham_ = profile_rows::label(scaled({50, 10, 150, 21}), fontSize());
    lblTenVatPham_->setAccessibilityIdentifier("lblTenVatPham");
    lblSoTien_ = profile_rows::label(scaled({205, 10, 90, 21}), fontSize(), ui::Color::yellow());
    lblSoTien_->setAccessibilityIdentifier("lblSoTien");
    lblThoiHan_ = profile_rows::label(scaled({300, 10, 125, 21}), fontSize());
    lblThoiHan_->setAccessibilityIdentifier("lblThoiHan");
    for (const auto& label : {lblTenVatPham_, lblSoTien_, lblThoiHan_})
        content->addSubview(label);
}

std::shared_ptr<CellTaiSan> CellTaiSan::make(double width) {
    return std::make_shared<CellTaiSan>(width);
}

void CellTaiSan::setBackground(const ui::ImagePtr& image) {
    imgViewBackground_->setImage(image);
}

CellLichSu::CellLichSu() : ui::TableViewCell(ui::TableViewCellStyle::Default, kIdentifier) {
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    const ui::ViewPtr& content = contentView();
    imgBackground_ = ui::ImageView::make(ui::Rect{});
    content->addSubview(imgBackground_);
    lblContent_ = profile_rows::label(scaled({10, 0, 290, 41}), fontSize());
    lblContent_->setAccessibilityIdentifier("lblContent");
    lblContent_->setNumberOfLines(2);
    lblTime_ = profile_rows::label(scaled({305, 0, 125, 41}), fontSize(), ui::Color::yellow());
    lblTime_->setAccessibilityIdentifier("lblTime");
    content->addSubview(lblContent_);
    content->addSubview(lblTime_);
}

std::shared_ptr<CellLichSu> CellLichSu::make() {
    return std::make_shared<CellLichSu>();
}

} // namespace kavo
