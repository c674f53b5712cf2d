#include "table/sheets/PlayerInfo.h"

#include "app/Resources.h"
#include "app/Util.h"
#include "table/sheets/SheetPanel.h"

#include <atomic>

namespace kavo {

namespace {

std::atomic<int16_t>& storedAvatar() {
    static std::atomic<int16_t> avatar{0};
    return avatar;
}

std::string captioned(const char* key, const std::string& value) {
    return Resources::getInstance().textWithKey(key) + ": " + value;
}

} // namespace

PlayerInfo::PlayerInfo() : CustomUIActionSheetViewController("PlayerInfo") {}

void PlayerInfo::setAva(int16_t avatarId) {
    storedAvatar().store(avatarId);
}

int16_t PlayerInfo::ava() {
    return storedAvatar().load();
}

void PlayerInfo::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {90, 50, 300, 200}, Resources::getInstance().textWithKey("KAVO_showInfo"));
    setActionSheetView(panel);
    imgAvatar_ = platform::ui::ImageView::make(Util::changeRectFromRect({12, 40, 60, 60}));
    imgAvatar_->setAccessibilityIdentifier("imgAvatar");
    panel->addSubview(imgAvatar_);
    lblName_ = SheetPanel::addLabel(*panel, {84, 36, 200, 22}, "lblName", "");
    lblMoney_ = SheetPanel::addLabel(*panel, {84, 60, 200, 22}, "lblMoney", "");
    lblLevel_ = SheetPanel::addLabel(*panel, {84, 84, 200, 22}, "lblLevel", "");
    lblWin_ = SheetPanel::addLabel(*panel, {84, 108, 200, 22}, "lblWin", "");
    lblLose_ = SheetPanel::addLabel(*panel, {84, 132, 200, 22}, "lblLose", "");
    lblGiveup_ = SheetPanel::addLabel(*panel, {84, 156, 200, 22}, "lblGiveup", "");
}

void PlayerInfo::loadInfoWithName(const std::string& name, int64_t money, int level, int win, int lose, int giveup) {
    view();
    Resources::getInstance().assignAvatarId(ava(), imgAvatar_);
    lblName_->setText(captioned("KAVO_nick", name));
    lblMoney_->setText(captioned("KAVO_money", Util::formatNumber(money)));
    lblLevel_->setText(captioned("KAVO_level", std::to_string(level)));
    lblWin_->setText(captioned("KAVO_kavo", std::to_string(win)));
    lblLose_->setText(captioned("KAVO_lose", std::to_string(lose)));
    lblGiveup_->setText(captioned("KAVO_giveup", std::to_string(giveup)));
}

} // namespace kavo
