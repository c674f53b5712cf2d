#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

// The end-of-hand table of a Mau Binh game: up to four rows of player, note and
// money (three texts a row, flat), and a win or lose banner with its mascot. Rows
// beyond the list keep their earlier text. Main thread only.
class MauBinhResultView : public CustomUIActionSheetViewController {
public:
    MauBinhResultView();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    void resetListResult() { listResult_.clear(); }
    std::vector<std::string>& listResult() { return listResult_; }
    void setListResult(std::vector<std::string> list) { listResult_ = std::move(list); }
    bool isWin() const { return isWin_; }
    void setIsWin(bool win) { isWin_ = win; }

    // Row n (0..3): player, note, money.
    const std::shared_ptr<platform::ui::Label>& lblnguoiChoi(int row) const { return lblnguoiChoi_[size_t(row)]; }
    const std::shared_ptr<platform::ui::Label>& lblGhiChu(int row) const { return lblGhiChu_[size_t(row)]; }
    const std::shared_ptr<platform::ui::Label>& lblTien(int row) const { return lblTien_[size_t(row)]; }
    const std::shared_ptr<platform::ui::Label>& txtThangThua() const { return txtThangThua_; }
    const std::shared_ptr<platform::ui::ImageView>& imgLinhVat() const { return imgLinhVat_; }

private:
    std::vector<std::string> listResult_;
    bool isWin_ = false;
    std::array<std::shared_ptr<platform::ui::Label>, 4> lblnguoiChoi_, lblGhiChu_, lblTien_;
    std::shared_ptr<platform::ui::Label> lblnguoiChoi0_, lblGhiChu0_, lblTien0_;
    std::shared_ptr<platform::ui::Label> txtThangThua_;
    std::shared_ptr<platform::ui::ImageView> imgLinhVat_;
};

} // namespace kavo
