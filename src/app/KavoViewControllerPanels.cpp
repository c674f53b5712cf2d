// The panels a screen opens over itself: shop, lottery, settings, feedback, the table
// owner's sheets, password change, mailbox and the player profile.

#include "account/ChangePassView.h"
#include "account/LottoSubView.h"
#include "account/ProfileSubView.h"
#include "account/SettingsView.h"
#include "account/ShopView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/Util.h"
#include "platform/runtime/RunLoop.h"
#include "social/MessageView.h"
#include "social/SendAdminView.h"
#include "table/sheets/menuCuoc.h"
#include "table/sheets/menuPassword.h"
#include "table/sheets/menuSoNguoi.h"

namespace kavo {

using platform::ui::Rect;

void KavoViewController::makeLottoSubView() {
    lottoSubView_ = std::make_shared<LottoSubView>();
}

void KavoViewController::napZel() {
    if (const auto& shop = ShopView::getInstance()) openPanel(*shop, true);
}

void KavoViewController::showLottoSubView() {
    doShowLottoView();
}

void KavoViewController::doShowLottoView() {
    if (lottoSubView_) openPanel(*lottoSubView_, true);
}

void KavoViewController::clickSetting() {
    const auto& settings = SettingsView::getInstance();
    if (!settings) return;
    auto top = KavoOnlineAppDelegate::getInstance().topViewController();
    auto* topScreen = dynamic_cast<KavoViewController*>(top.get());
    // At a table other than a four-seat card table the sheet never offers the player count.
    if (topScreen && topScreen->isTableScreen() && !topScreen->offersPlayerCount()) settings->setIsSetPlayers(false);
    settings->refreshData(topScreen && topScreen->isTableScreen() ? 2 : 0);
    openPanel(*settings, true);
}

void KavoViewController::addSettingAndLottoButtons(const platform::ui::ViewPtr& parent, Rect settingPhone,
                                                   Rect lottoPhone) {
    const std::pair<Rect, const char*> buttons[] = {{settingPhone, "clickSetting"}, {lottoPhone, "showLottoSubView"}};
    for (const auto& [phone, id] : buttons) {
        auto button =
            platform::ui::Button::make(Util::changeRectFromRect(phone), platform::ui::ButtonType::RoundedRect);
        button->setAccessibilityIdentifier(id);
        const bool settings = std::string(id) == "clickSetting";
        const std::string title = Resources::getInstance().textWithKey(settings ? "KAVO_Settings" : "KAVO_Lotto");
        button->setTitle(title);
        // A name too wide for one line at its size takes a second line ("Cài / đặt", "Xổ / số"
        // on the board list's small buttons) instead of shrinking; only a single word too wide
        // for the button is drawn smaller. A name of words keeps off the button's rounded
        // edges: one that would reach them takes its second line. (A single word cannot: it
        // keeps the button's whole width, "Settings" on the board list's 32 points.)
        const double size = 9 * Util::iPad();
        const double margin = title.find(' ') == std::string::npos ? 0 : 2 * Util::iPad();
        button->setContentEdgeInsets({0, margin, 0, margin});
        button->titleLabel()->setFont(platform::ui::Font::boldSystem(size));
        button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
        button->titleLabel()->setMinimumFontSize(size);
        button->titleLabel()->setWrapsWhenShrunk(true);
        std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
        button->onTouchUpInside([weak, settings] {
            auto self = std::dynamic_pointer_cast<KavoViewController>(weak.lock());
            if (!self) return;
            if (settings) {
                self->clickSetting();
            } else {
                self->showLottoSubView();
            }
        });
        parent->addSubview(button);
    }
}

void KavoViewController::showGopY() {
    if (const auto& feedback = SendAdminView::getInstance()) openPanel(*feedback, false);
}

void KavoViewController::showBetOnBoard() {
    if (const auto& sheet = menuCuoc::getInstance()) openPanel(*sheet, false);
}

void KavoViewController::showPlayersOnBoard() {
    if (const auto& sheet = menuSoNguoi::getInstance()) openPanel(*sheet, false);
}

void KavoViewController::showPassOnBoard() {
    if (const auto& sheet = menuPassword::getInstance()) openPanel(*sheet, false);
}

void KavoViewController::changeMyPassord() {
    changePass_ = std::make_shared<ChangePassView>();
    openPanel(*changePass_, false);
}

void KavoViewController::showMessageView() {
    const auto& mailbox = MessageView::getInstance();
    if (!mailbox) return;
    mailbox->view()->setFrame(Rect{0, 0, view()->frame().width(), view()->frame().height()});
    view()->addSubview(mailbox->view());
    mailbox->viewDidAppear(false);
    std::weak_ptr<platform::ui::ViewController> weakSelf = weak_from_this();
    platform::runOnMainThread([weakSelf] {
        if (auto self = std::dynamic_pointer_cast<KavoViewController>(weakSelf.lock())) self->reloadMessages();
    });
}

void KavoViewController::reloadDataLottoHistory(const platform::Value& list) {
    if (lottoSubView_) lottoSubView_->reloadDataLottoHistory(list);
}

void KavoViewController::reloadDataMyHistory(const std::vector<std::shared_ptr<MyLotto>>& list) {
    if (lottoSubView_) lottoSubView_->reloadDataMyHistory(list);
}

void KavoViewController::showRemainTimer(int seconds) {
    if (lottoSubView_) lottoSubView_->showRemainTimer(seconds);
}

void KavoViewController::doShowUserInfo(int idDb) {
    if (!profileSubView_) profileSubView_ = std::make_shared<ProfileSubView>();
    const platform::ui::ViewPtr& panel = profileSubView_->view();
    if (panel->superview() == view().get()) {
        // Already over this screen: show it again on top, reloading only for another player.
        panel->setHidden(false);
        view()->bringSubviewToFront(panel.get());
        if (profileSubView_->currentId() != idDb) {
            profileSubView_->setCurrentId(idDb);
            profileSubView_->btnInfo_Clicked();
        }
        return;
    }
    // Just right of the screen, then slid in.
    const bool pad = Util::isPad();
    const Rect start = pad ? Rect{1024, 0, 686, 660} : Rect{480, 0, 320, 268};
    panel->setFrame(start);
    panel->setHidden(false);
    view()->addSubview(panel);
    view()->bringSubviewToFront(panel.get());
    platform::ui::View::animate(0.2, [panel, start, pad] {
        Rect end = start;
        end.origin.x = pad ? 338 : 160;
        panel->setFrame(end);
    });
    profileSubView_->getInfoOfUserId(idDb);
}

} // namespace kavo
