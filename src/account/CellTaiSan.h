#pragma once

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

#include <memory>
#include <string>

namespace kavo {

// A row of the assets tab: stripe, picture, name, price and term or description.
class CellTaiSan : public platform::ui::TableViewCell {
public:
    static constexpr const char* kIdentifier = "CellTaiSanIdentifier "; // with its trailing blank
    explicit CellTaiSan(double width);
    static std::shared_ptr<CellTaiSan> make(double width);

    void setBackground(const platform::ui::ImagePtr& image);
    const std::shared_ptr<platform::ui::ImageView>& imgViewBackground() const { return imgViewBackground_; }
    const std::shared_ptr<platform::ui::ImageView>& imgViewItem() const { return imgViewItem_; }
    const std::shared_ptr<platform::ui::Label>& lblTenVatPham() const { return lblTenVatPham_; }
    const std::shared_ptr<platform::ui::Label>& lblSoTien() const { return lblSoTien_; }
    const std::shared_ptr<platform::ui::Label>& lblThoiHan() const { return lblThoiHan_; }

private:
    std::shared_ptr<platform::ui::ImageView> imgViewBackground_;
    std::shared_ptr<platform::ui::ImageView> imgViewItem_;
    std::shared_ptr<platform::ui::Label> lblTenVatPham_, lblSoTien_, lblThoiHan_;
};

// A row of the transactions tab: stripe, what happened and when.
class CellLichSu : public platform::ui::TableViewCell {
public:
    static constexpr const char* kIdentifier = "CellLichSuIdentifier";
    CellLichSu();
    static std::shared_ptr<CellLichSu> make();

    const std::shared_ptr<platform::ui::ImageView>& imgBackground() const { return imgBackground_; }
    const std::shared_ptr<platform::ui::Label>& lblContent() const { return lblContent_; }
    const std::shared_ptr<platform::ui::Label>& lblTime() const { return lblTime_; }

private:
    std::shared_ptr<platform::ui::ImageView> imgBackground_;
    std::shared_ptr<platform::ui::Label> lblContent_, lblTime_;
};

} // namespace kavo
