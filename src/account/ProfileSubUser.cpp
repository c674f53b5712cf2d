#include "account/ProfileSubUser.h"

#include "account/ProfileRows.h"
#include "app/Text.h"
#include "app/Util.h"

namespace kavo {

namespace ui = platform::ui;

ProfileSubUser::ProfileSubUser() : Profile_UserDataView("ProfileSubUser") {}

void ProfileSubUser::layoutRows() {
    const double font = Util::isPad() ? 20 : 9;
    double y = 2;
    auto row = [&](std::shared_ptr<ui::Label>& caption, std::shared_ptr<ui::Label>& value, const std::string& id) {
        caption = profile_rows::label(Util::changeRectFromRect({5, y, 100, 18}), font);
        caption->setAccessibilityIdentifier("lbl" + id);
        value = profile_rows::label(Util::changeRectFromRect({108, y, 182, 18}), font, ui::Color::yellow());
        value->setAccessibilityIdentifier("v" + id);
        scrollView_->addSubview(caption);
        scrollView_->addSubview(value);
        y += 20;
    };
    row(lblTIen_, vTien_, "Tien");
    row(lblGioChoi_, vGioChoi_, "GioChoi");
    row(lblDiemTichLuy_, vDiemTichLuy_, "DiemTichLuy");
    row(lblGioiTinh_, vGioiTinh_, "GioiTinh");
    row(lblNamSinh_, vNamSinh_, "NamSinh");
    row(lblDiaChi_, vDiaChi_, "DiaChi");
    row(lblCMND_, vCMND_, "CMND");
    row(lblSoDT_, vSoDT_, "SoDT");
    row(lblTinhTP_, vTinhTP_, "TinhTP");
}

void ProfileSubUser::viewDidLoad() {
    Profile_UserDataView::viewDidLoad();
    scrollView_->setContentSize(Util::isPad() ? ui::Size{628, 480} : ui::Size{295, 200});
}

void ProfileSubUser::setUIScreen() {
    lblTIen_->setText(text("KAVO_money"));
    lblGioChoi_->setText(text("KAVO_playedTime"));
    lblDiemTichLuy_->setText(text("KAVO_LevelUpProgress"));
    lblGioiTinh_->setText(text("KAVO_Gender"));
    lblNamSinh_->setText(text("KAVO_birthday"));
    lblDiaChi_->setText(text("KAVO_address"));
    lblCMND_->setText(text("KAVO_IDNumber"));
    lblSoDT_->setText(text("KAVO_phone"));
    lblTinhTP_->setText(text("KAVO_city"));
}

void ProfileSubUser::updateViewWithUserData(const std::shared_ptr<User>& user) {
    Util::hideLoadingOnView(view());
    if (!user) return;
    userData_ = user;
    vTien_->setText(Util::formatNumber(user->dmoney()) + " " + text("KAVO_zel"));
    vGioChoi_->setText(user->playingTime());
    vGioiTinh_->setText(genderText(user->gender()));
    vNamSinh_->setText(birthdayText(*user));
    vDiaChi_->setText(user->address());
    vCMND_->setText(user->idnumber());
    vSoDT_->setText(user->phoneNum());
    vTinhTP_->setText(provinceText(user->provinceId()));
    vDiemTichLuy_->setText(std::to_string(user->percent()) + "%");
}

} // namespace kavo
