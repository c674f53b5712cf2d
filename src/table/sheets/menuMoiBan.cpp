#include "table/sheets/menuMoiBan.h"

#include "app/Text.h"
#include "app/Util.h"
#include "portal/GlobalService.h"
#include "table/base/ActionController.h"
#include "table/base/GameTableView.h"
#include "table/registry/GameController.h"
#include "table/registry/GameRecords.h"
#include "table/sheets/SheetPanel.h"

namespace kavo {

menuMoiBan::menuMoiBan() : CustomUIActionSheetViewController("menuMoiBan") {}

void menuMoiBan::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {140, 90, 200, 130}, text("KAVO_invite"));
    setActionSheetView(panel);
    imgBg_ = platform::ui::ImageView::make(Util::changeRectFromRect({0, 0, 200, 130}));
    imgBg_->setAccessibilityIdentifier("imgBg");
    panel->insertSubview(imgBg_, 0);
    btnWaitingRoom_ =
        SheetPanel::addButton(*panel, {30, 36, 140, 36}, "btnWaitingRoom", "", [this] { doInviteWaitPlayer(); });
    btnFriends_ = SheetPanel::addButton(*panel, {30, 80, 140, 36}, "btnFriends", "", [this] { doInviteFriend(); });
}

void menuMoiBan::viewWillAppear(bool animated) {
    view();
    CustomUIActionSheetViewController::viewWillAppear(animated);
    btnWaitingRoom_->setTitle(text("KAVO_waitingList"));
    btnFriends_->setTitle(text("KAVO_friendI"));
    const auto& game = gameRecordOrNone(GameController::gameType());
    imgBg_->setImage(Util::getImageWithName(std::string(game.sheetBackground)));
    const auto item = Util::getImageWithName(std::string(game.sheetButton));
    btnWaitingRoom_->setBackgroundImage(item);
    btnFriends_->setBackgroundImage(item);
}

void menuMoiBan::doInviteFriend() {
    slideOut();
    GlobalService::getInstance().requestFriendList();
}

void menuMoiBan::doInviteWaitPlayer() {
    slideOut();
    GlobalService::getInstance().requestWaitingList();
}

menuSpeed::menuSpeed() : CustomUIActionSheetViewController("menuSpeed") {}

void menuSpeed::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {140, 70, 200, 170}, text("KAVO_speed"));
    setActionSheetView(panel);
    auto row = [&](double y, const char* button, const char* tick, int tag, std::shared_ptr<platform::ui::Button>& out,
                   std::shared_ptr<platform::ui::ImageView>& outTick) {
        out = SheetPanel::addButton(*panel, {20, y, 130, 34}, button, "", [] {});
        out->setTag(tag);
        platform::ui::Button* raw = out.get();
        out->onTouchUpInside([this, raw] { doSetupSpeed(*raw); });
        outTick = platform::ui::ImageView::make(Util::changeRectFromRect({160, y + 7, 20, 20}));
        outTick->setImage(Util::getImageWithName("icon_ok.png"));
        outTick->setAccessibilityIdentifier(tick);
        panel->addSubview(outTick);
    };
    row(36, "btnFaster", "imgFaster", 0, btnFaster_, imgFaster_);
    row(78, "btnNormal", "imgNormal", 1, btnNormal_, imgNormal_);
    row(120, "btnSlower", "imgSlower", 2, btnSlower_, imgSlower_);
}

void menuSpeed::viewWillAppear(bool animated) {
    view();
    CustomUIActionSheetViewController::viewWillAppear(animated);
    btnFaster_->setTitle(text("KAVO_setFaster"));
    btnNormal_->setTitle(text("KAVO_setNormal"));
    btnSlower_->setTitle(text("KAVO_setSlower"));
    auto caro = ActionController::currentTable();
    if (!caro) return;
    const int8_t interval = caro->customInterval();
    if (interval < 0 || interval > 2) return;
    imgFaster_->setHidden(interval != 0);
    imgNormal_->setHidden(interval != 1);
    imgSlower_->setHidden(interval != 2);
}

void menuSpeed::doSetupSpeed(const platform::ui::View& sender) {
    if (auto caro = ActionController::currentTable()) caro->setCustomInterval(static_cast<int8_t>(sender.tag()));
    slideOut();
}

} // namespace kavo
