#include "account/Profile_UserDataView.h"

#include "account/BirthdayPicker.h"
#include "account/ProfileRows.h"
#include "app/EscapeTarget.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/Util.h"
#include "app/widgets/ColoredProgressView.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Toolbar.h"
#include "portal/GlobalService.h"

#include <algorithm>

namespace kavo {

namespace ui = platform::ui;

namespace {

double fontSize() {
    return Util::isPad() ? 22 : 11;
}

// Rows of the tab, top to bottom, 36 points apart.
constexpr double kRowPitch = 36;
constexpr double kCaptionX = 10;
constexpr double kValueX = 158;
constexpr double kValueWidth = 256;
constexpr double kRowHeight = 26;
constexpr double kPercentWidth = 48; // "100 %" after the level bar

// A colour component beyond 1 is full, below 0 is none.
double saturated(double component) {
    return std::clamp(component, 0.0, 1.0);
}

} // namespace

Profile_UserDataView::Profile_UserDataView() : Profile_UserDataView("Profile_UserDataView") {}

Profile_UserDataView::Profile_UserDataView(const std::string& nibName) : ProfileTab(nibName) {}

Profile_UserDataView::~Profile_UserDataView() {
    if (pickerCity_) {
        pickerCity_->setDataSource(nullptr);
        pickerCity_->setDelegate(nullptr);
    }
    for (const auto& field : {txfHoTen_, txfDiaChi_, txfCMND_, txfSoDT_})
        if (field) field->setDelegate(nullptr);
    if (actionSheet_) actionSheet_->removeFromSuperview();
}

std::string Profile_UserDataView::genderText(int gender) {
    return text(gender == 2 ? "KAVO_Woman" : gender == 1 ? "KAVO_Man" : "KAVO_unknow");
}

std::string Profile_UserDataView::birthdayText(const User& user) {
    if (user.birthDay() <= 0 || user.birthMonth() <= 0 || user.birthYear() <= 0) return "";
    return Util::getDateStringWithDay(user.birthDay(), user.birthMonth(), user.birthYear());
}

std::string Profile_UserDataView::provinceText(int8_t provinceId) {
    if (uint8_t(provinceId) == 0xFF) return text("KAVO_unknow");
    return Province::getProviceNameWithId(provinceId);
}

ui::Color Profile_UserDataView::levelTint() {
    return {saturated(255), saturated(26), saturated(0), 1};
}

// ---------------------------------------------------------------- layout

Profile_UserDataView::Row Profile_UserDataView::addRow(double y, const std::string& captionId,
                                                       const std::string& valueId) {
    Row row;
    row.caption = profile_rows::label(scaled({kCaptionX, y, kValueX - kCaptionX - 4, kRowHeight}), fontSize());
    row.caption->setAccessibilityIdentifier(captionId);
    row.value = profile_rows::label(scaled({kValueX, y, kValueWidth, kRowHeight}), fontSize(), ui::Color::yellow());
    row.value->setAccessibilityIdentifier(valueId);
    scrollView_->addSubview(row.caption);
    scrollView_->addSubview(row.value);
    return row;
}

std::shared_ptr<ui::TextField> Profile_UserDataView::addField(double y, const std::string& id) {
    auto field = ui::TextField::make(scaled({kValueX, y, kValueWidth, kRowHeight}));
    field->setAccessibilityIdentifier(id);
    field->setBorderStyle(ui::TextBorderStyle::RoundedRect);
    field->setBackgroundColor(ui::Color::white());
    field->setFont(ui::Font::system(fontSize()));
    field->setDelegate(this);
    scrollView_->addSubview(field);
    return field;
}

void Profile_UserDataView::addRowButton(double y, int tag) {
    auto button = ui::Button::make(scaled({kValueX, y, kValueWidth, kRowHeight}));
    button->setAccessibilityIdentifier("btnRow_Clicked" + std::to_string(tag));
    button->setTag(tag);
    button->setBackgroundColor(ui::Color::clear());
    button->onTouchUpInside([this, tag] { btnRow_Clicked(tag); });
    scrollView_->addSubview(button);
}

void Profile_UserDataView::layoutRows() {
    double y = 10;
    auto next = [&y] {
        const double at = y;
        y += kRowPitch;
        return at;
    };
    Row nick = addRow(next(), "lblNickName", "vNickname");
    lblNickName_ = nick.caption;
    vNickname_ = nick.value;
    Row level = addRow(next(), "lblDoThangcap", "vThangCap");
    lblDoThangcap_ = level.caption;
    vThangCap_ = level.value;
    // The percentage ends the row after the bar, inside the tab's width.
    vThangCap_->setFrame(scaled(
        {kValueX + kValueWidth - kPercentWidth, level.value->frame().y() / Util::iPadY(), kPercentWidth, kRowHeight}));
    Row money = addRow(next(), "lblTIen", "vTien");
    lblTIen_ = money.caption;
    vTien_ = money.value;
    Row played = addRow(next(), "lblGioChoi", "vGioChoi");
    lblGioChoi_ = played.caption;
    vGioChoi_ = played.value;
    const double nameY = next();
    lblHoTen_ = addRow(nameY, "lblHoTen", "vHoTen").caption;
    txfHoTen_ = addField(nameY, "txfHoTen");
    const double genderY = next();
    Row gender = addRow(genderY, "lblGioiTinh", "vGioiTinh");
    lblGioiTinh_ = gender.caption;
    vGioiTinh_ = gender.value;
    addRowButton(genderY, kRowGender);
    const double birthdayY = next();
    Row birthday = addRow(birthdayY, "lblNamSinh", "vNamSinh");
    lblNamSinh_ = birthday.caption;
    vNamSinh_ = birthday.value;
    addRowButton(birthdayY, kRowBirthday);
    const double addressY = next();
    Row address = addRow(addressY, "lblDiaChi", "vDiaChi");
    lblDiaChi_ = address.caption;
    vDiaChi_ = address.value;
    txfDiaChi_ = addField(addressY, "txfDiaChi");
    const double idY = next();
    Row id = addRow(idY, "lblCMND", "vCMND");
    lblCMND_ = id.caption;
    vCMND_ = id.value;
    txfCMND_ = addField(idY, "txfCMND");
    const double phoneY = next();
    Row phone = addRow(phoneY, "lblSoDT", "vSoDT");
    lblSoDT_ = phone.caption;
    vSoDT_ = phone.value;
    txfSoDT_ = addField(phoneY, "txfSoDT");
    const double provinceY = next();
    Row province = addRow(provinceY, "lblTinhTP", "vTinhTP");
    lblTinhTP_ = province.caption;
    vTinhTP_ = province.value;
    addRowButton(provinceY, kRowProvince);
    // Fields take the rows of their values here.
    for (const auto& hidden : {vDiaChi_, vCMND_, vSoDT_})
        hidden->setHidden(true);
    scrollView_->setContentSize(Util::isPad() ? ui::Size{942, 1200} : ui::Size{437, 460});
}

void Profile_UserDataView::viewDidLoad() {
    ProfileTab::viewDidLoad();
    if (Province::list().size() < kProvincesWanted) GlobalService::getInstance().getListWithType(3);
    scrollView_ = ui::ScrollView::make(view()->bounds());
    scrollView_->setAccessibilityIdentifier("scrollView");
    scrollView_->setAutoresizingMask(ui::AutoresizingFlexibleWidth | ui::AutoresizingFlexibleHeight);
    view()->addSubview(scrollView_);
    layoutRows();
    imgViewAvatar_ = ui::ImageView::make(scaled({370, 82, 56, 56}));
    imgViewAvatar_->setAccessibilityIdentifier("imgViewAvatar");
    imgViewAvatar_->setContentMode(ui::ContentMode::ScaleAspectFit);
    scrollView_->addSubview(imgViewAvatar_);
    listSex_ = {text("KAVO_unknow"), text("KAVO_Man"), text("KAVO_Woman")};
    buildPickerPanel();
}

void Profile_UserDataView::buildPickerPanel() {
    const bool pad = Util::isPad();
    const double width = pad ? 1024 : 480;
    // Escape closes the panel with the field as it was.
    actionSheet_ =
        closingView<ui::View>({0, pad ? 515.0 : 134.0, width, pad ? Util::convertiPhoneHeightToIpad(186) : 186},
                              "actionSheet", [this] { return closePickerView(); });
    actionSheet_->setBackgroundColor(ui::Color::white(0.15));
    auto toolbar = ui::Toolbar::make({0, 0, width, pad ? 45.0 : 30.0});
    toolbar->setBarStyle(ui::BarStyle::Black);
    toolbar->setItems({ui::BarButtonItem::withSystemItem(ui::BarButtonSystemItem::FlexibleSpace),
                       ui::BarButtonItem::withSystemItem(ui::BarButtonSystemItem::Done, [this] { chooseInPicker(); })});
    actionSheet_->addSubview(toolbar);
    const ui::Rect pickerFrame{0, pad ? 45.0 : 30.0, width, pad ? Util::convertiPhoneHeightToIpad(166) : 166};
    pickerCity_ = ui::PickerView::make(pickerFrame);
    pickerCity_->setAccessibilityIdentifier("pickerCity");
    pickerCity_->setShowsSelectionIndicator(true);
    pickerCity_->setChoosesOnTap(true);
    pickerCity_->setDataSource(this);
    pickerCity_->setDelegate(this);
    pickerCity_->setHidden(true);
    actionSheet_->addSubview(pickerCity_);
    pickerDate_ = BirthdayPicker::make(pickerFrame);
    pickerDate_->setAccessibilityIdentifier("pickerDate");
    pickerDate_->setHidden(true);
    pickerDate_->setOnDateChanged([this] { onDateChanged(); });
    actionSheet_->addSubview(pickerDate_);
    auto top = KavoOnlineAppDelegate::getInstance().topViewController();
    (top ? top->view() : view())->addSubview(actionSheet_);
    actionSheet_->setHidden(true);
}

void Profile_UserDataView::viewWillAppear(bool animated) {
    ProfileTab::viewWillAppear(animated);
    Resources::getInstance().loadLanguage();
    setUIScreen();
}

void Profile_UserDataView::setUIScreen() {
    lblDoThangcap_->setText(text("KAVO_LevelUpProgress"));
    lblNickName_->setText("Nickname");
    lblTIen_->setText(text("KAVO_money"));
    lblGioChoi_->setText(text("KAVO_playedTime"));
    lblHoTen_->setText(text("KAVO_fullName"));
    lblGioiTinh_->setText(text("KAVO_Gender"));
    lblNamSinh_->setText(text("KAVO_birthday"));
    lblDiaChi_->setText(text("KAVO_address"));
    lblCMND_->setText(text("KAVO_IDNumber"));
    lblSoDT_->setText(text("KAVO_phone"));
    lblTinhTP_->setText(text("KAVO_city"));
}

// ---------------------------------------------------------------- the record

void Profile_UserDataView::updateViewWithUserData(const std::shared_ptr<User>& user) {
    if (!user) return;
    Util::showLoadingOnView(view());
    userData_ = user;
    vNickname_->setText(user->nickname());
    showMoney(user->dmoney());
    vGioChoi_->setText(user->playingTime());
    showUnlessEdited(*txfHoTen_, user->fullname());
    vGioiTinh_->setText(genderText(user->gender()));
    vNamSinh_->setText(birthdayText(*user));
    showUnlessEdited(*txfDiaChi_, user->address());
    showUnlessEdited(*txfCMND_, user->idnumber());
    showUnlessEdited(*txfSoDT_, user->phoneNum());
    vTinhTP_->setText(provinceText(user->provinceId()));
    // One bar for the tab's life: each record only moves it.
    if (!progressView_) {
        progressView_ =
            ColoredProgressView::make(Util::isPad() ? ui::Rect(336, 132, 434, 28) : ui::Rect(158, 55, 204, 12));
        progressView_->setAccessibilityIdentifier("progressView");
        scrollView_->addSubview(progressView_);
    }
    progressView_->setTintColor(levelTint());
    progressView_->setProgress(double(user->percent()) / 100, false);
    vThangCap_->setText(std::to_string(user->percent()) + " %");
    Util::hideLoadingOnView(view());
}

void Profile_UserDataView::showUnlessEdited(ui::TextField& field, const std::string& value) {
    // A record that arrives while the player types keeps what he typed: it goes into the
    // record, and to the server, when his edit ends.
    if (!field.isEditing()) field.setText(value);
}

void Profile_UserDataView::showMoney(int64_t money) {
    if (!userData_) return;
    userData_->setDmoney(money);
    vTien_->setText(Util::formatNumber(money) + " Zel");
}

void Profile_UserDataView::sendProfile() {
    if (userData_) GlobalService::getInstance().updateDateProfileWithUser(*userData_);
}

// ---------------------------------------------------------------- the picker panel

void Profile_UserDataView::btnRow_Clicked(int tag) {
    rowSelected_ = tag;
    actionSheet_->setHidden(false);
    if (actionSheet_->superview()) actionSheet_->superview()->bringSubviewToFront(actionSheet_.get());
    // Each picker opens on what its field shows.
    switch (tag) {
    case kRowProvince: {
        listCity_ = Province::list();
        pickerDate_->setHidden(true);
        const auto shown = std::find_if(listCity_.begin(), listCity_.end(), [this](const auto& province) {
            return province && userData_ && province->pId() == userData_->provinceId();
        });
        pickerCity_->openOn({shown == listCity_.end() ? 0 : int(shown - listCity_.begin())});
        break;
    }
    case kRowBirthday:
        pickerCity_->setHidden(true);
        if (userData_)
            pickerDate_->openOnDate(userData_->birthDay(), userData_->birthMonth(), userData_->birthYear());
        else
            pickerDate_->openOnDate(pickerDate_->day(), pickerDate_->month(), pickerDate_->year());
        break;
    case kRowGender: {
        pickerDate_->setHidden(true);
        const std::string shown = vGioiTinh_->text();
        pickerCity_->openOn({shown == text("KAVO_Woman") ? 2 : shown == text("KAVO_Man") ? 1 : 0});
        break;
    }
    default:
        hidePickerView();
        break;
    }
}

void Profile_UserDataView::chooseInPicker() {
    if (!pickerDate_->isHidden())
        pickerDate_->chooseHighlighted();
    else if (!pickerCity_->isHidden())
        pickerCity_->chooseHighlighted();
    hidePickerView();
}

void Profile_UserDataView::hidePickerView() {
    actionSheet_->setHidden(true);
    pickerCity_->setHidden(true);
    pickerDate_->setHidden(true);
}

bool Profile_UserDataView::closePickerView() {
    if (!actionSheet_ || actionSheet_->isHidden()) return false;
    hidePickerView();
    return true;
}

int Profile_UserDataView::numberOfRowsInComponent(ui::PickerView& /*picker*/, int /*component*/) {
    if (rowSelected_ == kRowProvince) return int(listCity_.size());
    if (rowSelected_ == kRowGender) return int(listSex_.size());
    return 0;
}

std::string Profile_UserDataView::titleForRow(ui::PickerView& /*picker*/, int row, int /*component*/) {
    if (row < 0) return "";
    if (rowSelected_ == kRowProvince && size_t(row) < listCity_.size() && listCity_[size_t(row)])
        return listCity_[size_t(row)]->name();
    if (rowSelected_ == kRowGender && size_t(row) < listSex_.size()) return listSex_[size_t(row)];
    return "";
}

void Profile_UserDataView::didSelectRow(ui::PickerView& /*picker*/, int row, int /*component*/) {
    if (row < 0 || !userData_) return;
    if (rowSelected_ == kRowProvince) {
        if (size_t(row) >= listCity_.size() || !listCity_[size_t(row)]) return;
        vTinhTP_->setText(listCity_[size_t(row)]->name());
        userData_->setProvinceId(listCity_[size_t(row)]->pId());
    } else if (rowSelected_ == kRowGender) {
        if (size_t(row) >= listSex_.size()) return;
        vGioiTinh_->setText(listSex_[size_t(row)]);
        userData_->setGender(int8_t(row));
    }
    sendProfile();
    hidePickerView();
}

void Profile_UserDataView::onDateChanged() {
    hidePickerView();
    const std::string date = Util::getDateStringWithDay(pickerDate_->day(), pickerDate_->month(), pickerDate_->year());
    vNamSinh_->setText(date);
    if (!userData_ || date.size() < 10) return;
    userData_->setBirthDay(int8_t(std::stoi(date.substr(0, 2))));
    userData_->setBirthMonth(int8_t(std::stoi(date.substr(3, 2))));
    userData_->setBirthYear(int16_t(std::stoi(date.substr(6, 4))));
    sendProfile();
}

// ---------------------------------------------------------------- text fields

void Profile_UserDataView::didBeginEditing(ui::TextField& field) {
    // Raised already: the return lowers by what was raised, once. Without an on-screen
    // keyboard the screen stays where it is.
    if (isEdit_ || !ui::Keyboard::exists()) return;
    auto top = KavoOnlineAppDelegate::getInstance().topViewController();
    if (!top) return;
    const double y = field.convertPoint({0, 0}, top->view().get()).y;
    const double keyboard = Util::iOSKeyboardHeight();
    if (Util::isPad()) {
        yPop_ = 720 - keyboard < y ? y - keyboard : 0;
    } else {
        yPop_ = 320 - keyboard < y ? y - keyboard + 50 : 0;
    }
    const ui::ViewPtr screen = top->view();
    const double lift = yPop_;
    ui::View::animate(0.5, [screen, lift] {
        const ui::Point centre = screen->center();
        screen->setCenter({centre.x, centre.y - lift});
    });
    raisedScreen_ = screen;
    isEdit_ = true;
}

bool Profile_UserDataView::shouldReturn(ui::TextField& field) {
    field.resignFirstResponder();
    return true;
}

void Profile_UserDataView::didEndEditing(ui::TextField& field) {
    // However the edit ends (Return, another field, a picker, Escape, the tab or the screen
    // going, the window losing the focus), the text goes into the record and the record to
    // the server, as typed and even unchanged.
    if (userData_) {
        if (&field == txfCMND_.get()) userData_->setIdnumber(field.text());
        if (&field == txfDiaChi_.get()) userData_->setAddress(field.text());
        if (&field == txfHoTen_.get()) userData_->setFullname(field.text());
        if (&field == txfSoDT_.get()) userData_->setPhoneNum(field.text());
    }
    sendProfile();
    // Down once the keyboard goes; moving on to another field keeps it up, and the screen
    // with it.
    // The screen that was raised comes down, even when another is on top by now.
    if (!isEdit_ || ui::Keyboard::isVisible()) return;
    if (const ui::ViewPtr screen = raisedScreen_.lock()) {
        const double lift = yPop_;
        ui::View::animate(0.5, [screen, lift] {
            const ui::Point centre = screen->center();
            screen->setCenter({centre.x, centre.y + lift});
        });
    }
    raisedScreen_.reset();
    isEdit_ = false;
}

} // namespace kavo
