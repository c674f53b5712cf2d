#include "app/widgets/MenuView.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/TopScreen.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Animation.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Toolbar.h"
#include "table/base/GameTableView.h"
#include "table/sheets/menuPassword.h"

namespace kavo {

using namespace platform::ui;

namespace {

constexpr const char* kSoundKey = "savedSound";
constexpr const char* kVibrationKey = "savedRung";

constexpr const char* kRowBackground = "i_img_menu_mainbackground.png";
constexpr const char* kTileBackground = "i_img_menu_backgroundbutton.png";
constexpr const char* kPasswordBackground = "i_img_menu_backgroundbuttonPassword.png";
constexpr const char* kTimeBadge = "i_img_menu_backgroundtime.png";
constexpr const char* kPasswordMark = "i_img_toggleOFF_Pass.png";

// The speeds the picker offers, in row order, and the seconds the server reports for them.
constexpr const char* kSlowKey = "KAVO_MauBinh_Time0_Slow";
constexpr const char* kAverageKey = "KAVO_MauBinh_Time1_Average";
constexpr const char* kFastKey = "KAVO_MauBinh_Time2_Fast";
constexpr int kSlowSeconds = 120;
constexpr int kFastSeconds = 60;

// A rectangle of the phone layout, or the tablet's own when the layout gives one.
Rect byIdiom(Rect phone, Rect tablet) {
    return Util::isPad() ? tablet : phone;
}

std::shared_ptr<ImageView> addImage(View& parent, Rect frame, const std::string& name, const std::string& id) {
    auto image = ImageView::make(frame);
    image->setImage(Util::getImageWithName(name));
    image->setAccessibilityIdentifier(id);
    parent.addSubview(image);
    return image;
}

std::shared_ptr<Label> addTimeLabel(View& parent, Rect frame, double size, const std::string& id) {
    auto label = Label::make(frame);
    label->setTextAlignment(TextAlignment::Center);
    label->setTextColor(Color::white());
    label->setFont(Font::boldSystem(size));
    label->setBackgroundColor(Color::clear());
    label->setMinimumFontSize(10);
    label->setAccessibilityIdentifier(id);
    parent.addSubview(label);
    return label;
}

ViewPtr makeRow(Rect frame, const std::string& id) {
    auto row = View::make(frame);
    row->setAccessibilityIdentifier(id);
    addImage(*row, Rect(0, 0, frame.width(), frame.height()), kRowBackground, id + "Background");
    return row;
}

} // namespace

MenuView::MenuView(Rect frame) : View(frame) {}

MenuView::~MenuView() {
    if (pickerMauBinh_) {
        pickerMauBinh_->setDataSource(nullptr);
        pickerMauBinh_->setDelegate(nullptr);
    }
    if (mnViewActionSheet_) {
        mnViewActionSheet_->setDelegate(nullptr);
        // The sheet sits on the table screen but belongs to the menu.
        mnViewActionSheet_->removeFromSuperview();
    }
}

std::shared_ptr<MenuView> MenuView::make(Rect frame) {
    auto menu = std::make_shared<MenuView>(frame);
    menu->setUIScreen();
    return menu;
}

View* MenuView::topScreenView() {
    auto top = topScreen();
    return top ? top->view().get() : nullptr;
}

std::string MenuView::toggleImageName(bool on) {
    return on ? "i_img_menu_toggleON.png" : "i_img_menu_toggleOFF.png";
}

MenuView::Tile MenuView::makeTile(Rect frame, const std::string& icon, const std::string& stateImage,
                                  const std::string& name) {
    Tile tile;
    tile.view = View::make(frame);
    tile.view->setAccessibilityIdentifier("view" + name);
    tile.button = Button::make(Rect(0, 0, frame.width(), frame.height()));
    tile.button->setBackgroundImage(Util::getImageWithName(kTileBackground));
    tile.button->setAccessibilityIdentifier("btn" + name);
    tile.view->addSubview(tile.button);
    addImage(*tile.view, scaled(Rect(13, 6, 32, 32)), icon, "imgIcon" + name);
    tile.state = addImage(*tile.view, byIdiom(Rect(7, 43, 45, 10), Rect(14, 93, 95, 24)), stateImage, "imgView" + name);
    return tile;
}

void MenuView::setUIScreen() {
    auto& defaults = platform::UserDefaults::standard();
    auto& resources = Resources::getInstance();
    std::weak_ptr<MenuView> weak = std::static_pointer_cast<MenuView>(weak_from_this().lock());
    auto action = [weak](void (MenuView::*method)()) {
        return [weak, method] {
            if (auto menu = weak.lock()) (menu.get()->*method)();
        };
    };

    // 1. The clear background: a tap beside the tiles closes the menu.
    btnBG_ = Button::make(byIdiom(Rect(0, 0, 216, 320), Rect(0, 0, 461, 768)));
    btnBG_->setBackgroundColor(Color::clear());
    btnBG_->setAccessibilityIdentifier("btnBG");
    btnBG_->onTouchUpInside(action(&MenuView::hideMenuView));
    addSubview(btnBG_);

    // 2. Row 1: sound, vibration, social network.
    viewRow1_ = makeRow(byIdiom(Rect(-7, 40, 223, 98), Rect(-15, 96, 476, 235)), "viewRow1");
    const double tileY = Util::isPad() ? 43 : 18;
    const Size tileSize = Util::isPad() ? Size{123, 139} : Size{58, 58};
    auto tileFrame = [&](double phoneX, double tabletX) {
        return Rect(Util::isPad() ? tabletX : phoneX, tileY, tileSize.width, tileSize.height);
    };
    Tile sound =
        makeTile(tileFrame(15, 32), "i_img_menu_sound.png", toggleImageName(defaults.boolForKey(kSoundKey)), "Sound");
    viewSound_ = sound.view;
    btnSound_ = sound.button;
    imgViewSound_ = sound.state;
    btnSound_->onTouchUpInside(action(&MenuView::btnSound_Clicked));

    Tile vibration = makeTile(tileFrame(82, 175), "i_img_menu_vibration.png",
                              toggleImageName(defaults.boolForKey(kVibrationKey)), "Vibration");
    viewVibration_ = vibration.view;
    btnVibration_ = vibration.button;
    imgViewVibration_ = vibration.state;
    btnVibration_->onTouchUpInside(action(&MenuView::btnVibration_Clicked));

    Tile social =
        makeTile(tileFrame(148, 316), "i_img_menu_socialnetwork.png", toggleImageName(false), "SocialNetwork");
    viewSocialNetwork_ = social.view;
    btnSocialNetwork_ = social.button;
    imgViewSocialNetwork_ = social.state;
    btnSocialNetwork_->onTouchUpInside(action(&MenuView::btnSocialNetwork_Clicked));
    for (const auto& tile : {viewSound_, viewVibration_, viewSocialNetwork_})
        viewRow1_->addSubview(tile);

    // 3. Row 2: the table's turn time and its password.
    viewRow2_ = makeRow(byIdiom(Rect(-7, 140, 223, 97), Rect(-15, 336, 476, 235)), "viewRow2");
    viewTimer_ = View::make(byIdiom(Rect(84, 17, 58, 58), Rect(175, 25, 123, 139)));
    viewTimer_->setAccessibilityIdentifier("viewTimer");
    btnTime_ = Button::make(Rect(0, 0, viewTimer_->frame().width(), viewTimer_->frame().height()));
    btnTime_->setBackgroundImage(Util::getImageWithName(kTileBackground));
    btnTime_->setAccessibilityIdentifier("btnTime");
    btnTime_->onTouchUpInside(action(&MenuView::btnTime_Clicked));
    viewTimer_->addSubview(btnTime_);
    addImage(*viewTimer_, scaled(Rect(13, 4, 32, 32)), "i_img_menu_time.png", "imgIconTime");
    imgViewTime_ = addImage(*viewTimer_, scaled(Rect(5, 36, 48, 20)), kTimeBadge, "imgViewTime");
    lblTimeText_ = addTimeLabel(*viewTimer_, scaled(Rect(1, 36, 56, 10)), Util::isPad() ? 17 : 8, "lblTimeText");
    lblTime_ = addTimeLabel(*viewTimer_, scaled(Rect(5, 45, 48, 10)), Util::isPad() ? 13 : 8, "lblTime");
    viewRow2_->addSubview(viewTimer_);

    viewPassword_ = View::make(byIdiom(Rect(15, 17, 58, 44), Rect(32, 35, 123, 105)));
    viewPassword_->setAccessibilityIdentifier("viewPassword");
    btnPassword_ = Button::make(Rect(0, 0, viewPassword_->frame().width(), viewPassword_->frame().height()));
    btnPassword_->setBackgroundImage(Util::getImageWithName(kPasswordBackground));
    btnPassword_->setAccessibilityIdentifier("btnPassword");
    btnPassword_->onTouchUpInside(action(&MenuView::btnPassword_Clicked));
    viewPassword_->addSubview(btnPassword_);
    addImage(*viewPassword_, scaled(Rect(13, 2, 32, 32)), "i_img_menu_password.png", "imgIconPassword");
    imgViewPassword_ = addImage(*viewPassword_, scaled(Rect(7, 33, 45, 10)), kPasswordMark, "imgViewPassword");
    viewRow2_->addSubview(viewPassword_);

    // 4. The rows over the background button.
    addSubview(viewRow1_);
    addSubview(viewRow2_);

    // 5. The time picker's sheet, on the table screen.
    arrTimeMauBinh_ = {resources.textWithKey(kSlowKey), resources.textWithKey(kAverageKey),
                       resources.textWithKey(kFastKey)};
    buildPickerSheet();

    // 6. The board-password sheet.
    mnPassword_ = std::make_shared<menuPassword>("menuPassword");
}

void MenuView::buildPickerSheet() {
    std::weak_ptr<MenuView> weak = std::static_pointer_cast<MenuView>(weak_from_this().lock());
    mnViewActionSheet_ = ActionSheet::make(byIdiom(Rect(0, 134, 480, 186), Rect(0, 488, 1024, 372)));
    mnViewActionSheet_->setTitle("");
    mnViewActionSheet_->setDelegate(this);
    mnViewActionSheet_->setAccessibilityIdentifier("mnViewActionSheet");

    auto toolbar = Toolbar::make(byIdiom(Rect(0, 0, 480, 30), Rect(0, 0, 1024, 60)));
    toolbar->setBarStyle(BarStyle::Black);
    auto done = BarButtonItem::withTitle(Resources::getInstance().textWithKey("KAVO_finished"),
                                         BarButtonItemStyle::Done, [weak] {
                                             if (auto menu = weak.lock()) menu->hidePickerView();
                                         });
    toolbar->setItems({BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace), done});
    if (auto button = toolbar->buttonForItem(done.get())) button->setAccessibilityIdentifier("hidePickerView");
    mnViewActionSheet_->addSubview(toolbar);

    pickerMauBinh_ = PickerView::make(byIdiom(Rect(0, 30, 480, 166), Rect(0, 60, 1024, 332)));
    pickerMauBinh_->setShowsSelectionIndicator(true);
    pickerMauBinh_->setDataSource(this);
    pickerMauBinh_->setDelegate(this);
    pickerMauBinh_->setAccessibilityIdentifier("pickerMauBinh");
    mnViewActionSheet_->addSubview(pickerMauBinh_);

    mnViewActionSheet_->setHidden(true);
    pickerMauBinh_->setHidden(true);
    if (View* screen = topScreenView()) screen->addSubview(mnViewActionSheet_);
}

void MenuView::setTimerTime(int seconds) {
    lblTime_->setText(std::to_string(seconds));
    const char* key = seconds == kSlowSeconds ? kSlowKey : seconds == kFastSeconds ? kFastKey : kAverageKey;
    lblTimeText_->setText(Resources::getInstance().textWithKey(key));
}

void MenuView::btnSound_Clicked() {
    auto& defaults = platform::UserDefaults::standard();
    const bool on = !defaults.boolForKey(kSoundKey);
    defaults.setBool(on, kSoundKey);
    UIController::setSound(on);
    if (on)
        UIController::playMusicBackground();
    else
        UIController::stopMusicBackgrond();
    imgViewSound_->setImage(Util::getImageWithName(toggleImageName(on)));
    defaults.synchronize();
}

void MenuView::btnVibration_Clicked() {
    auto& defaults = platform::UserDefaults::standard();
    const bool on = !defaults.boolForKey(kVibrationKey);
    defaults.setBool(on, kVibrationKey);
    UIController::setRung(on);
    imgViewVibration_->setImage(Util::getImageWithName(toggleImageName(on)));
    defaults.synchronize();
    // Buzzes only when vibration is now on: switching it on gives one buzz.
    Util::callRung();
}

void MenuView::btnSocialNetwork_Clicked() {
    UIController::startOKDlg(Resources::getInstance().textWithKey("KAVO_WarningUnderConstruction"));
}

void MenuView::btnTime_Clicked() {
    if (View* screen = topScreenView()) {
        if (mnViewActionSheet_->superview() != screen) screen->addSubview(mnViewActionSheet_);
        screen->bringSubviewToFront(mnViewActionSheet_.get());
    }
    mnViewActionSheet_->bringSubviewToFront(pickerMauBinh_.get());
    pickerMauBinh_->reloadAllComponents();
    mnViewActionSheet_->setHidden(false);
    pickerMauBinh_->setHidden(false);
}

void MenuView::hidePickerView() {
    mnViewActionSheet_->setHidden(true);
    pickerMauBinh_->setHidden(true);
    if (auto table = topScreenAs<GameTableView>()) table->setLimitTime(selectedMauBinhTime_);
}

void MenuView::btnPassword_Clicked() {
    View* screen = topScreenView();
    if (!screen || !mnPassword_) return;
    const ViewPtr& sheet = mnPassword_->view();
    screen->addSubview(sheet);
    mnPassword_->viewWillAppear(false);
    screen->bringSubviewToFront(sheet.get());
}

void MenuView::hideMenuView() {
    KavoOnlineAppDelegate::getInstance().restoreBackButton();
    pickerMauBinh_->setHidden(true);
    mnViewActionSheet_->setHidden(true);
    std::weak_ptr<View> weak = weak_from_this();
    const Rect closed = byIdiom(Rect(-216, 0, 216, 320), Rect(-432, 0, 432, 768));
    View::animate(
        kCloseDuration, 0, AnimationOptions{.curve = AnimationCurve::EaseOut},
        [weak, closed] {
            if (auto menu = weak.lock()) menu->setFrame(closed);
        },
        [weak](bool) {
            if (View* screen = topScreenView()) {
                View* backdrop = screen->viewWithTag(kBackdropTag);
                if (backdrop && backdrop != screen) backdrop->removeFromSuperview();
            }
            if (auto menu = weak.lock()) menu->setHidden(true);
        });
}

int MenuView::numberOfComponents(PickerView& picker) {
    (void)picker;
    return 1;
}

int MenuView::numberOfRowsInComponent(PickerView& picker, int component) {
    (void)picker, (void)component;
    return int(arrTimeMauBinh_.size());
}

std::string MenuView::titleForRow(PickerView& picker, int row, int component) {
    (void)picker, (void)component;
    return row >= 0 && size_t(row) < arrTimeMauBinh_.size() ? arrTimeMauBinh_[size_t(row)] : std::string();
}

void MenuView::didSelectRow(PickerView& picker, int row, int component) {
    const std::string title = titleForRow(picker, row, component);
    auto& resources = Resources::getInstance();
    if (title == resources.textWithKey(kFastKey))
        selectedMauBinhTime_ = 2;
    else if (title == resources.textWithKey(kSlowKey))
        selectedMauBinhTime_ = 0;
    else
        selectedMauBinhTime_ = 1;
}

} // namespace kavo
