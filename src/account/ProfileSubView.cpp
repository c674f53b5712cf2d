#include "account/ProfileSubView.h"

#include "account/ProfileSubAchievementView.h"
#include "account/ProfileSubUser.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/ReturnTarget.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/runtime/Log.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Toolbar.h"
#include "portal/GlobalService.h"
#include "social/ChatView.h"

#include <algorithm>

namespace kavo {

namespace ui = platform::ui;

namespace {

std::shared_ptr<ui::Button> addButton(const ui::ViewPtr& parent, ui::Rect phone, const std::string& id,
                                      std::function<void()> action) {
    auto button = ui::Button::make(scaled(phone), ui::ButtonType::RoundedRect);
    button->setAccessibilityIdentifier(id);
    button->titleLabel()->setFont(ui::Font::boldSystem(Util::isPad() ? 20 : 10));
    button->onTouchUpInside(std::move(action));
    parent->addSubview(button);
    return button;
}

// The tab area inside the panel.
ui::Rect tabRect() {
    return Util::isPad() ? ui::Rect(30, 280, 628, 271) : ui::Rect(13, 117, 295, 117);
}

} // namespace

ProfileSubView::ProfileSubView() : KavoViewController("ProfileSubView") {}

ProfileSubView::~ProfileSubView() {
    auto& center = platform::NotificationCenter::defaultCenter();
    if (showToken_) center.removeObserver(showToken_);
    if (hideToken_) center.removeObserver(hideToken_);
    if (pickerCategory_) {
        pickerCategory_->setDataSource(nullptr);
        pickerCategory_->setDelegate(nullptr);
    }
    if (actionSheet_) actionSheet_->removeFromSuperview();
}

// ---------------------------------------------------------------- layout

void ProfileSubView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    imgViewCounterMessage()->removeFromSuperview();
    lblCounterMessage()->removeFromSuperview();
    Resources::getInstance().loadLanguage();
    listReportCategory_ = Resources::getInstance().listReportCategory();
    const bool pad = Util::isPad();
    const ui::ViewPtr& root = view();
    root->setAccessibilityIdentifier("ProfileSubView");
    // An opaque backdrop: the screen under the panel must not show through its texts.
    root->setBackgroundColor(ui::Color::rgba(35, 45, 70));
    root->setClipsToBounds(true);
    auto backdrop = ui::ImageView::make(root->bounds());
    backdrop->setAccessibilityIdentifier("imgBackdrop");
    backdrop->setImage(Util::getImageWithName("bg_profile.png"));
    backdrop->setAutoresizingMask(ui::AutoresizingFlexibleWidth | ui::AutoresizingFlexibleHeight);
    root->addSubview(backdrop);

    imageAvatar_ = ui::ImageView::make(scaled({10, 10, 60, 60}));
    imageAvatar_->setAccessibilityIdentifier("imageAvatar");
    imageAvatar_->setContentMode(ui::ContentMode::ScaleAspectFit);
    root->addSubview(imageAvatar_);
    lbUserName_ = ui::Label::make(scaled({80, 10, 170, 22}));
    lbUserName_->setAccessibilityIdentifier("lbUserName");
    lbUserName_->setBackgroundColor(ui::Color::clear());
    lbUserName_->setTextColor(ui::Color::yellow());
    lbUserName_->setFont(ui::Font::boldSystem(pad ? 28 : 14));
    root->addSubview(lbUserName_);
    addButton(root, {284, 4, 30, 26}, "doClose", [this] { doClose(); })->setTitle("x");

    addButton(root, {80, 40, 70, 24}, "btnPresentGift_Clicked", [this] {
        btnPresentGift_Clicked();
    })->setTitle(text("KAVO_present"));
    addButton(root, {155, 40, 70, 24}, "btnChallenge_Clicked", [this] {
        btnChallenge_Clicked();
    })->setTitle(text("KAVO_Challenge"));
    addButton(root, {230, 40, 80, 24}, "btnAddFavorite_Clicked", [this] {
        btnAddFavorite_Clicked();
    })->setTitle(text("KAVO_AddFavorite"));
    addButton(root, {230, 70, 80, 24}, "showReportView", [this] {
        showReportView();
    })->setTitle(text("KAVO_Report_Title"));

    btnInfo_ = addButton(root, {13, 92, 90, 24}, "btnInfo", [this] { doChangeTab(kTabInfo); });
    btnInfo_->setTag(kTabInfo);
    btnAchievement_ = addButton(root, {106, 92, 110, 24}, "btnAchievement", [this] { doChangeTab(kTabAchievements); });
    btnAchievement_->setTag(kTabAchievements);
    for (const auto& tab : {btnInfo_, btnAchievement_})
        tab->setTitleColor(ui::Color::yellow(), ui::ControlState::Selected);

    // The report form waits just right of the panel.
    const ui::Rect bounds = root->bounds();
    // Escape closes the form while it is in view, as its cancel does.
    auto report = closingView<FormPanel>(
        {bounds.width(), 0, bounds.width(), bounds.height()}, "viewReport",
        [this] {
            closeReportView();
            return true;
        },
        [this] { return viewReport_->superview() == view().get() && viewReport_->frame().x() == 0; });
    viewReport_ = report;
    viewReport_->setBackgroundColor(ui::Color::rgba(30, 40, 60, 0.98));
    viewReport_btnBaoCao_ = addButton(viewReport_, {10, 8, 300, 24}, "viewReport_btnBaoCao", [] {});
    btnCategory_ = addButton(viewReport_, {10, 40, 300, 28}, "showPickerCategory", [this] { showPickerCategory(); });
    viewReport_txtContent_ = ui::TextField::make(scaled({10, 76, 300, 30}));
    viewReport_txtContent_->setAccessibilityIdentifier("viewReport_txtContent");
    viewReport_txtContent_->setBorderStyle(ui::TextBorderStyle::RoundedRect);
    viewReport_txtContent_->setBackgroundColor(ui::Color::white());
    viewReport_->addSubview(viewReport_txtContent_);
    viewReport_btnSend_ =
        addButton(viewReport_, {40, 120, 100, 30}, "viewReport_btnSend", [this] { viewReportBtnSend_Clicked(); });
    report->setDefaultButton(viewReport_btnSend_);
    btnReport_Cancel_ = addButton(viewReport_, {180, 120, 100, 30}, "btnReport_Cancel", [this] { closeReportView(); });
    root->addSubview(viewReport_);

    // The category picker rises at the bottom of the screen underneath.
    const double width = pad ? 1024 : 480;
    const double pickerHeight = pad ? 320 : 160;
    const double barHeight = pad ? 45 : 30;
    // Escape closes it with the category as it was.
    actionSheet_ = closingView<ui::View>(
        {0, (pad ? 768 : 320) - pickerHeight - barHeight, width, pickerHeight + barHeight}, "actionSheet", [this] {
            hidePickerView();
            return true;
        });
    actionSheet_->setBackgroundColor(ui::Color::white(0.15));
    auto toolbar = ui::Toolbar::make({0, 0, width, barHeight});
    toolbar->setBarStyle(ui::BarStyle::Black);
    toolbar->setItems({ui::BarButtonItem::withSystemItem(ui::BarButtonSystemItem::FlexibleSpace),
                       ui::BarButtonItem::withSystemItem(ui::BarButtonSystemItem::Done, [this] {
                           pickerCategory_->chooseHighlighted();
                           hidePickerView();
                       })});
    actionSheet_->addSubview(toolbar);
    pickerCategory_ = ui::PickerView::make({0, barHeight, viewReport_->bounds().width(), pickerHeight});
    pickerCategory_->setAccessibilityIdentifier("pickerCategory");
    pickerCategory_->setShowsSelectionIndicator(true);
    pickerCategory_->setChoosesOnTap(true);
    pickerCategory_->setDataSource(this);
    pickerCategory_->setDelegate(this);
    actionSheet_->addSubview(pickerCategory_);
    actionSheet_->setHidden(true);

    auto& center = platform::NotificationCenter::defaultCenter();
    showToken_ = center.addObserver(ui::Keyboard::WillShowNotification,
                                    [this](const platform::Notification&) { keyboardWillShow(); });
    hideToken_ = center.addObserver(ui::Keyboard::WillHideNotification,
                                    [this](const platform::Notification&) { keyboardWillHide(); });
    setUIScreen();
}

void ProfileSubView::viewDidAppear(bool animated) {
    KavoViewController::viewDidAppear(animated);
    setUIScreen();
}

void ProfileSubView::setUIScreen() {
    viewReport_btnBaoCao_->setTitle(text("KAVO_Report_Title"));
    viewReport_btnSend_->setTitle(text("KAVO_OK"));
    btnReport_Cancel_->setTitle(text("KAVO_cancel"));
    btnInfo_->setTitle(text("KAVO_info"));
    btnAchievement_->setTitle(text("KAVO_Achivements"));
    btnCategory_->setTitle(selectedCategory_ ? *selectedCategory_ : text("KAVO_Report_Title"));
}

// ---------------------------------------------------------------- the player

void ProfileSubView::getInfoOfUserId(int32_t id) {
    setCurrentId(id);
    btnInfo_Clicked();
}

void ProfileSubView::btnInfo_Clicked() {
    view();
    btnInfo_->sendActions(ui::ControlEvent::TouchUpInside);
}

void ProfileSubView::doChangeTab(int tag) {
    platform::log("profile panel tab " + std::to_string(tag));
    if (tag == kTabInfo) GlobalService::getInstance().requestUserProfile(currentId());
    if (tag == viewingTabIndex_) return;
    btnInfo_->setSelected(tag == kTabInfo);
    btnAchievement_->setSelected(tag == kTabAchievements);
    viewingTabIndex_ = tag;
    showTab(tabRect(), tag, false, currentId());
}

void ProfileSubView::showTab(ui::Rect rect, int index, bool /*isProfileView*/, int32_t userId) {
    const ui::ViewPtr& root = view();
    auto place = [&](ui::ViewController& tab) {
        if (tab.view()->superview() != root.get()) {
            tab.view()->setFrame(rect);
            root->insertSubviewBelow(tab.view(), viewReport_.get());
            tab.viewWillAppear(false);
        } else {
            root->bringSubviewToFront(tab.view().get());
            root->bringSubviewToFront(viewReport_.get());
        }
        Util::showLoadingOnView(tab.view());
    };
    if (index == kTabInfo) {
        if (!subUserDataView_) subUserDataView_ = std::make_shared<ProfileSubUser>();
        place(*subUserDataView_);
    } else if (index == kTabAchievements) {
        if (!subAchievementView_) subAchievementView_ = std::make_shared<ProfileSubAchievementView>();
        place(*subAchievementView_);
        subAchievementView_->clearAchievements();
        for (int gameId : kAchievementRequests)
            GlobalService::getInstance().requestOtherUserAchievementWithGameID(int8_t(gameId), userId);
    }
}

void ProfileSubView::onOtherUserDataWithUser(const std::shared_ptr<User>& user) {
    if (!user) return;
    view();
    lbUserName_->setText(user->nickname());
    Resources::getInstance().assignAvatarId(user->avatarId(), imageAvatar_);
    if (subUserDataView_) subUserDataView_->updateViewWithUserData(user);
}

void ProfileSubView::onOtherAchievementWithGameId(int32_t userId, int gameId, const std::vector<int32_t>& achivement) {
    // Rows asked for an earlier player can arrive after another player's panel opened.
    if (userId != currentId()) return;
    if (subAchievementView_) subAchievementView_->updateViewWithAchievement(achivement, gameId);
}

void ProfileSubView::onChatWithMessage(const std::shared_ptr<KavoMessage>& message) {
    if (message) chatMessages_.insert(chatMessages_.begin(), message);
}

// ---------------------------------------------------------------- closing and the idle buttons

void ProfileSubView::slideTo(double x) {
    const ui::ViewPtr panel = view();
    ui::View::animate(
        0.2,
        [panel, x] {
            ui::Rect frame = panel->frame();
            frame.origin = {x, 0};
            panel->setFrame(frame);
        },
        [panel](bool) { panel->removeFromSuperview(); });
}

void ProfileSubView::doClose() {
    hidePickerView();
    const ui::ViewPtr panel = view();
    const bool pad = Util::isPad();
    ui::View::animate(
        0.2, [panel, pad] { panel->setFrame(pad ? ui::Rect(0, 0, 1024, 768) : ui::Rect(480, 0, 320, 268)); },
        [panel](bool) { panel->removeFromSuperview(); });
}

void ProfileSubView::doCloseThisView() {
    hidePickerView();
    slideTo(view()->frame().width());
}

EscapeAnswer ProfileSubView::closeItself() {
    hidePickerView();
    view()->removeFromSuperview();
    return EscapeAnswer::closed;
}

void ProfileSubView::underConstruction() {
    UIController::showNotice(text("KAVO_WarningUnderConstruction"));
}

void ProfileSubView::btnPresentGift_Clicked() {
    underConstruction();
}

void ProfileSubView::btnChallenge_Clicked() {
    underConstruction();
}

void ProfileSubView::btnAddFavorite_Clicked() {
    underConstruction();
}

// ---------------------------------------------------------------- the report form

void ProfileSubView::showReportView() {
    viewReport_->setFrame({0, 0, viewReport_->frame().width(), viewReport_->frame().height()});
    view()->addSubview(viewReport_);
}

void ProfileSubView::closeReportView() {
    viewReport_txtContent_->resignFirstResponder();
    ui::Rect frame = viewReport_->frame();
    frame.origin = {frame.width(), 0};
    viewReport_->setFrame(frame);
    if (subAchievementView_ && subAchievementView_->isViewLoaded())
        view()->bringSubviewToFront(subAchievementView_->view().get());
    if (subUserDataView_ && subUserDataView_->isViewLoaded())
        view()->bringSubviewToFront(subUserDataView_->view().get());
}

void ProfileSubView::showPickerCategory() {
    listReportCategory_ = Resources::getInstance().listReportCategory();
    actionSheet_->setHidden(false);
    auto top = KavoOnlineAppDelegate::getInstance().topViewController();
    const ui::ViewPtr host = top ? top->view() : view();
    if (actionSheet_->superview() != host.get()) host->addSubview(actionSheet_);
    host->bringSubviewToFront(actionSheet_.get());
    // On the category the form shows.
    const auto shown = selectedCategory_
                           ? std::find(listReportCategory_.begin(), listReportCategory_.end(), *selectedCategory_)
                           : listReportCategory_.end();
    pickerCategory_->openOn({shown == listReportCategory_.end() ? 0 : int(shown - listReportCategory_.begin())});
}

void ProfileSubView::hidePickerView() {
    pickerCategory_->setHidden(true);
    actionSheet_->setHidden(true);
}

int ProfileSubView::numberOfRowsInComponent(ui::PickerView& /*picker*/, int /*component*/) {
    return int(listReportCategory_.size());
}

std::string ProfileSubView::titleForRow(ui::PickerView& /*picker*/, int row, int /*component*/) {
    return row >= 0 && size_t(row) < listReportCategory_.size() ? listReportCategory_[size_t(row)] : "";
}

void ProfileSubView::didSelectRow(ui::PickerView& /*picker*/, int row, int /*component*/) {
    if (row < 0 || size_t(row) >= listReportCategory_.size()) return;
    selectedCategory_ = listReportCategory_[size_t(row)];
    btnCategory_->setTitle(*selectedCategory_);
    hidePickerView();
}

void ProfileSubView::keyboardWillShow() {
    if (isEdit_ || !isViewLoaded() || !view()->superview()) return;
    isEdit_ = true;
    if (Util::isPad()) return;
    const ui::ViewPtr form = viewReport_;
    ui::View::animate(0.5, [form] { form->setCenter({form->center().x, form->center().y - kFormLift}); });
}

void ProfileSubView::keyboardWillHide() {
    if (!isEdit_) return;
    isEdit_ = false;
    if (Util::isPad()) return;
    viewReport_txtContent_->resignFirstResponder();
    const ui::ViewPtr form = viewReport_;
    ui::View::animate(0.5, [form] { form->setCenter({form->center().x, form->center().y + kFormLift}); });
}

void ProfileSubView::viewReportBtnSend_Clicked() {
    viewReport_txtContent_->resignFirstResponder();
    doSendReport();
}

void ProfileSubView::doSendReport() {
    const std::string comment = viewReport_txtContent_->text();
    if (comment.empty()) {
        UIController::showNotice(text("KAVO_LottoGeneralWarning"));
        return;
    }
    GlobalService::getInstance().reportUser(lbUserName_->text(), selectedCategory_.value_or(""), comment);
}

} // namespace kavo
