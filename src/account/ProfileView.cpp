#include "account/ProfileView.h"

#include "account/Profile_AchievementView.h"
#include "account/Profile_AssetsView.h"
#include "account/Profile_TransactionView.h"
#include "account/Profile_UserDataView.h"
#include "account/TopupZelView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "portal/GlobalService.h"

namespace kavo {

namespace ui = platform::ui;

ProfileView::ProfileView() : KavoViewController("ProfileView") {}

void ProfileView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    const bool pad = Util::isPad();
    const ui::ViewPtr& root = view();
    root->setBackgroundColor(ui::Color::rgba(25, 35, 60));
    Util::showLoadingOnView(root);

    // The title stands right of the event ticker's strip (the top left 240 x 30), before
    // the top-up button; a longer one shrinks.
    lblBanThan_ = ui::Label::make(Util::changeRectFromRect({244, 4, 118, 26}));
    lblBanThan_->setAccessibilityIdentifier("lblBanThan");
    lblBanThan_->setBackgroundColor(ui::Color::clear());
    lblBanThan_->setTextColor(ui::Color::yellow());
    lblBanThan_->setFont(ui::Font::boldSystem(pad ? 30 : 15));
    lblBanThan_->setAdjustsFontSizeToFitWidth(true);
    lblBanThan_->setMinimumFontSize(pad ? 18 : 9);
    lblBanThan_->setText(text("KAVO_My_Information"));
    root->addSubview(lblBanThan_);

    struct Tab {
        std::shared_ptr<ui::Button>* button;
        const char* id;
        const char* titleKey;
        int tag;
    };
    const Tab tabs[] = {{&btnInfo_, "btnInfo", "KAVO_info", kTabInfo},
                        {&btnItems_, "btnItems", "KAVO_present", kTabItems},
                        {&btnAchivements_, "btnAchivements", "KAVO_Achivements", kTabAchievements},
                        {&btnTransaction_, "btnTransaction", "KAVO_Transaction", kTabTransactions}};
    double x = 26;
    for (const Tab& tab : tabs) {
        auto button = ui::Button::make(Util::changeRectFromRect({x, 32, 104, 26}));
        button->setAccessibilityIdentifier(tab.id);
        button->setTag(tab.tag);
        button->setBackgroundColor(ui::Color::white(0, 0.35));
        button->setTitle(text(tab.titleKey));
        button->setTitleColor(ui::Color::white());
        button->setTitleColor(ui::Color::yellow(), ui::ControlState::Selected);
        button->titleLabel()->setFont(ui::Font::boldSystem(pad ? 22 : 11));
        const int tag = tab.tag;
        button->onTouchUpInside([this, tag] { doChangeTab(tag); });
        root->addSubview(button);
        *tab.button = button;
        x += 107;
    }
    auto topUp = ui::Button::make(Util::changeRectFromRect({366, 4, 86, 24}), ui::ButtonType::RoundedRect);
    topUp->setAccessibilityIdentifier("doTopupZel");
    topUp->setTitle(text("KAVO_napZel"));
    topUp->titleLabel()->setFont(ui::Font::boldSystem(pad ? 20 : 10));
    topUp->onTouchUpInside([this] { doTopupZel(); });
    root->addSubview(topUp);
    mainView_ = ui::View::make(Util::changeRectFromRect({26, 60, 427, 234}));
    mainView_->setAccessibilityIdentifier("mainView");
    mainView_->setBackgroundColor(ui::Color::white(0, 0.25));
    root->addSubview(mainView_);
}

void ProfileView::viewDidAppear(bool animated) {
    KavoViewController::viewDidAppear(animated);
    const bool infoMade = holds(userDataView_.get());
    btnInfo_->sendActions(ui::ControlEvent::TouchUpInside);
    // The hands played since the last showing moved the level and the playing time, which
    // only the record tells: it is asked for again at every showing (a new tab asks itself).
    if (infoMade) requestMyRecord();
    showMyMoney();
}

void ProfileView::requestMyRecord() {
    GlobalService::getInstance().requestUserProfile(UIController::myInfo()->IDDB());
    showMyAvatar();
}

void ProfileView::showMyAvatar() {
    if (userDataView_ && userDataView_->isViewLoaded())
        Resources::getInstance().assignAvatarId(UIController::myInfo()->avatar(), userDataView_->imgViewAvatar());
}

void ProfileView::doChangeTab(int tag) {
    if (tag == viewingTabIndex_) return;
    for (const auto& button : {btnInfo_, btnItems_, btnAchivements_, btnTransaction_})
        button->setSelected(false);
    viewingTabIndex_ = tag;
    for (const auto& button : {btnInfo_, btnItems_, btnAchivements_, btnTransaction_})
        if (button->tag() == tag) button->setSelected(true);
    const ui::Rect rect = Util::isPad() ? ui::Rect(0, 70, 1024, 688) : ui::Rect(0, 60, 427, 234);
    showTab(rect, tag, true, UIController::myInfo()->IDDB());
}

void ProfileView::setHiddenAllView() {
    ui::ViewController* tabs[] = {userDataView_.get(), assetsView_.get(), achievementView_.get(),
                                  transactionView_.get()};
    for (ui::ViewController* tab : tabs)
        if (tab && tab->isViewLoaded()) tab->view()->setHidden(true);
}

bool ProfileView::holds(ui::ViewController* tab) const {
    return tab && tab->isViewLoaded() && tab->view()->superview() == mainView_.get();
}

void ProfileView::addTab(ui::ViewController& tab) {
    tab.view()->setFrame({0, 0, mainView_->bounds().width(), mainView_->bounds().height()});
    mainView_->addSubview(tab.view());
    tab.view()->setHidden(false);
}

void ProfileView::showTab(ui::Rect /*rect*/, int index, bool /*isProfileView*/, int32_t userId) {
    setHiddenAllView();
    GlobalService& service = GlobalService::getInstance();
    switch (index) {
    case kTabInfo:
        if (holds(userDataView_.get())) {
            userDataView_->view()->setHidden(false);
            return;
        }
        if (!userDataView_) userDataView_ = std::make_shared<Profile_UserDataView>();
        addTab(*userDataView_);
        userDataView_->viewWillAppear(false);
        service.requestUserProfile(userId);
        showMyAvatar();
        return;
    case kTabItems:
        if (holds(assetsView_.get())) {
            assetsView_->view()->setHidden(false);
            Profile_AssetsView::requestAssets();
            return;
        }
        if (!assetsView_) assetsView_ = std::make_shared<Profile_AssetsView>();
        addTab(*assetsView_);
        Util::showLoadingOnView(assetsView_->view());
        assetsView_->viewDidAppear(false);
        return;
    case kTabAchievements:
        if (holds(achievementView_.get())) {
            achievementView_->view()->setHidden(false);
            return;
        }
        if (!achievementView_) achievementView_ = std::make_shared<Profile_AchievementView>();
        addTab(*achievementView_);
        if (!achievementSent_) {
            for (int gameId : kAchievementRequests)
                service.requestUserAchievementWithGameId(int8_t(gameId));
            achievementSent_ = true;
        }
        return;
    case kTabTransactions:
        if (holds(transactionView_.get())) {
            transactionView_->view()->setHidden(false);
            return;
        }
        if (!transactionView_) {
            transactionView_ = std::make_shared<Profile_TransactionView>();
            addTab(*transactionView_);
            Util::showLoadingOnView(transactionView_->view());
            service.requestTransactionLog();
        }
        return;
    default:
        return;
    }
}

void ProfileView::viewWillDisappear(bool animated) {
    if (userDataView_ && userDataView_->isViewLoaded()) userDataView_->closePickerView();
    KavoViewController::viewWillDisappear(animated);
}

void ProfileView::doTopupZel() {
    auto panel = TopupZelView::make(Util::isPad() ? ui::Rect(0, 0, 1024, 768) : ui::Rect(0, 0, 480, 320));
    GlobalService::getInstance().requestChargeMoneyInfo();
    if (auto top = KavoOnlineAppDelegate::getInstance().topViewController()) top->view()->addSubview(panel);
}

void ProfileView::onMyUserDataWithUser(const std::shared_ptr<User>& user) {
    Util::hideLoadingOnView(view());
    userProfile_ = user;
    if (userDataView_) userDataView_->updateViewWithUserData(user);
}

void ProfileView::showMyMoney() {
    if (userDataView_) userDataView_->showMoney(UIController::myInfo()->money());
}

void ProfileView::onMyAchievementWithGameId(int gameId, const std::vector<int32_t>& achivement) {
    if (achievementView_) achievementView_->updateViewWithAchievement(achivement, gameId);
}

} // namespace kavo
