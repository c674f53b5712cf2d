#pragma once

#include "account/ProfileTab.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextField.h"
#include "portal/model/Province.h"
#include "portal/model/User.h"

#include <memory>
#include <string>
#include <vector>

namespace kavo {

class BirthdayPicker;
class ColoredProgressView;

// The info tab of the own profile: the player's record, with full name, gender, birthday,
// address, identity-card number, phone and province editable. Every edit goes to the
// server at once with the whole record (1002), as typed: a choice when it is made, a text
// when its edit ends, however it ends. Another player's read-only
// record derives from it. Main thread only.
class Profile_UserDataView : public ProfileTab,
                             public platform::ui::PickerViewDataSource,
                             public platform::ui::PickerViewDelegate,
                             public platform::ui::TextFieldDelegate {
public:
    // The row buttons' tags.
    static constexpr int kRowGender = 2;
    static constexpr int kRowBirthday = 3;
    static constexpr int kRowProvince = 7;
    // Fewer provinces than this and the list is asked for.
    static constexpr size_t kProvincesWanted = 3;

    Profile_UserDataView();
    explicit Profile_UserDataView(const std::string& nibName);
    ~Profile_UserDataView() override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    // The captions' texts.
    virtual void setUIScreen();
    virtual void updateViewWithUserData(const std::shared_ptr<User>& user);
    // The money the client learnt after the record came; nothing before a record.
    void showMoney(int64_t money);

    void btnRow_Clicked(int tag);
    void hidePickerView();
    // The panel's Done: chooses what the shown picker highlights, then hides the panel.
    void chooseInPicker();
    // Hides the picker panel when it is up; false when it was not.
    bool closePickerView();
    // A birthday was chosen.
    void onDateChanged();

    int numberOfRowsInComponent(platform::ui::PickerView& picker, int component) override;
    std::string titleForRow(platform::ui::PickerView& picker, int row, int component) override;
    void didSelectRow(platform::ui::PickerView& picker, int row, int component) override;
    void didBeginEditing(platform::ui::TextField& field) override;
    // Return ends the edit; the end of an edit, however it comes, sends the record.
    bool shouldReturn(platform::ui::TextField& field) override;
    void didEndEditing(platform::ui::TextField& field) override;

    const std::shared_ptr<User>& userData() const { return userData_; }
    double yPop() const { return yPop_; }
    bool isEdit() const { return isEdit_; }
    const std::shared_ptr<platform::ui::ImageView>& imgViewAvatar() const { return imgViewAvatar_; }
    const std::shared_ptr<platform::ui::Label>& vNickname() const { return vNickname_; }
    const std::shared_ptr<platform::ui::Label>& vTien() const { return vTien_; }
    const std::shared_ptr<platform::ui::Label>& vGioChoi() const { return vGioChoi_; }
    const std::shared_ptr<platform::ui::Label>& vGioiTinh() const { return vGioiTinh_; }
    const std::shared_ptr<platform::ui::Label>& vNamSinh() const { return vNamSinh_; }
    const std::shared_ptr<platform::ui::Label>& vTinhTP() const { return vTinhTP_; }
    const std::shared_ptr<platform::ui::Label>& vThangCap() const { return vThangCap_; }
    const std::shared_ptr<platform::ui::Label>& vDiaChi() const { return vDiaChi_; }
    const std::shared_ptr<platform::ui::Label>& vCMND() const { return vCMND_; }
    const std::shared_ptr<platform::ui::Label>& vSoDT() const { return vSoDT_; }
    const std::shared_ptr<platform::ui::TextField>& txfHoTen() const { return txfHoTen_; }
    const std::shared_ptr<platform::ui::TextField>& txfDiaChi() const { return txfDiaChi_; }
    const std::shared_ptr<platform::ui::TextField>& txfCMND() const { return txfCMND_; }
    const std::shared_ptr<platform::ui::TextField>& txfSoDT() const { return txfSoDT_; }
    const std::shared_ptr<platform::ui::ScrollView>& scrollView() const { return scrollView_; }
    const platform::ui::ViewPtr& actionSheet() const { return actionSheet_; }
    const std::shared_ptr<platform::ui::PickerView>& pickerCity() const { return pickerCity_; }
    const std::shared_ptr<BirthdayPicker>& pickerDate() const { return pickerDate_; }
    const std::shared_ptr<ColoredProgressView>& progressView() const { return progressView_; }

    // "KAVO_Woman" for 2, "KAVO_Man" for 1, "KAVO_unknow" otherwise.
    static std::string genderText(int gender);
    // "dd/MM/yyyy" when day, month and year are all above 0, else empty.
    static std::string birthdayText(const User& user);
    // "KAVO_unknow" for no province (255), else the province's name (or its number).
    static std::string provinceText(int8_t provinceId);
    // The level bar's tint: red 255, green 26, blue 0 taken as components from 0 to 1,
    // each saturating, so the bar shows yellow.
    static platform::ui::Color levelTint();

protected:
    // Rows of the layout: the caption and value of each, in order.
    struct Row {
        std::shared_ptr<platform::ui::Label> caption;
        std::shared_ptr<platform::ui::Label> value;
    };
    // The tab's own rows (phone geometry); the read-only profile lays out its own.
    virtual void layoutRows();
    Row addRow(double y, const std::string& captionId, const std::string& valueId);
    std::shared_ptr<platform::ui::TextField> addField(double y, const std::string& id);
    void addRowButton(double y, int tag);
    void sendProfile();
    // The record's value in a field, unless the player is editing it.
    static void showUnlessEdited(platform::ui::TextField& field, const std::string& value);

    std::shared_ptr<User> userData_;
    std::shared_ptr<platform::ui::ScrollView> scrollView_;
    std::shared_ptr<platform::ui::ImageView> imgViewAvatar_;
    std::shared_ptr<platform::ui::Label> lblDoThangcap_, lblNickName_, lblTIen_, lblGioChoi_, lblHoTen_, lblGioiTinh_,
        lblNamSinh_, lblDiaChi_, lblCMND_, lblSoDT_, lblTinhTP_;
    std::shared_ptr<platform::ui::Label> vThangCap_, vNickname_, vTien_, vGioChoi_, vGioiTinh_, vNamSinh_, vDiaChi_,
        vCMND_, vSoDT_, vTinhTP_;
    std::shared_ptr<platform::ui::TextField> txfHoTen_, txfDiaChi_, txfCMND_, txfSoDT_;

private:
    void buildPickerPanel();

    platform::ui::ViewPtr actionSheet_;
    std::shared_ptr<platform::ui::PickerView> pickerCity_;
    std::shared_ptr<BirthdayPicker> pickerDate_;
    std::shared_ptr<ColoredProgressView> progressView_;
    int rowSelected_ = 0;
    std::vector<std::string> listSex_;
    std::vector<std::shared_ptr<Province>> listCity_;
    double yPop_ = 0;
    bool isEdit_ = false;
    std::weak_ptr<platform::ui::View> raisedScreen_;
};

} // namespace kavo
