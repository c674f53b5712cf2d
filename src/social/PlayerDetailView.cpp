#include "social/PlayerDetailView.h"

#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/Util.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "portal/model/Player.h"
#include "social/FriendSearch.h"
#include "table/registry/GameController.h"
#include "table/registry/GameRecords.h"
#include "table/sheets/SheetPanel.h"

namespace kavo {

using platform::ui::Rect;

namespace {


} // namespace

PlayerDetailView::PlayerDetailView() : CustomUIActionSheetViewController("PlayerDetailView") {}

void PlayerDetailView::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {90, 40, 300, 240}, "");
    setActionSheetView(panel);
    imgBg_ = platform::ui::ImageView::make(Rect{0, 0, panel->frame().width(), panel->frame().height()});
    imgBg_->setAccessibilityIdentifier("imgBg");
    panel->insertSubview(imgBg_, 0);
    imgViewAvatar_ = platform::ui::ImageView::make(Util::changeRectFromRect({12, 30, 60, 60}));
    imgViewAvatar_->setContentMode(platform::ui::ContentMode::ScaleAspectFit);
    panel->addSubview(imgViewAvatar_);
    struct Row {
        std::shared_ptr<platform::ui::Label>* caption;
        std::shared_ptr<platform::ui::Label>* value;
        const char* identifier;
    };
    const Row rows[] = {{&lblNameTitle_, &lblName_, "lblName"},      {&lblMoneyTitle_, &lblMoney_, "lblMoney"},
                        {&lblLevelTitle_, &lblLevel_, "lblLevel"},   {&lblWinTitle_, &lblWin_, "lblWin"},
                        {&lblLoseTitle_, &lblLose_, "lblLose"},      {&lblDrawTitle_, &lblDraw_, "lblDraw"},
                        {&lblGiveupTitle_, &lblGiveup_, "lblGiveup"}};
    double y = 28;
    for (const Row& row : rows) {
        *row.caption = SheetPanel::addLabel(*panel, {80, y, 90, 20}, std::string(row.identifier) + "Title", "");
        *row.value = SheetPanel::addLabel(*panel, {170, y, 125, 20}, row.identifier, "");
        y += 22;
    }
    SheetPanel::addButton(*panel, {40, 196, 110, 34}, "addFriend", text("KAVO_addFriend"), [this] { addFriend(); });
    SheetPanel::addButton(*panel, {160, 196, 110, 34}, "slideOut", text("KAVO_cancel"), [this] { slideOut(); });
}

void PlayerDetailView::viewWillAppear(bool animated) {
    CustomUIActionSheetViewController::viewWillAppear(animated);
    lblNameTitle_->setText(text("KAVO_nick"));
    lblMoneyTitle_->setText(text("KAVO_money"));
    lblLevelTitle_->setText(text("KAVO_level"));
    lblWinTitle_->setText(text("KAVO_won"));
    lblLoseTitle_->setText(text("KAVO_lose"));
    lblDrawTitle_->setText(text("KAVO_draw"));
    lblGiveupTitle_->setText(text("KAVO_giveup"));
    imgBg_->setImage(
        Util::getImageWithName(std::string(gameRecordOrNone(GameController::gameType()).detailBackground)));
}

void PlayerDetailView::updateViewWithData(const platform::Value& data) {
    if (!data.isArray() || data.arrayValue().size() < kItemCount) {
        platform::log("player detail with fewer than eight items dropped");
        return;
    }
    playerDetail_ = data;
    if (!isViewLoaded()) view();
    lblName_->setText(data.at(0).stringValue());
    lblMoney_->setText(Util::formatNumber(data.at(1).int64Value()) + " " + text("KAVO_zel"));
    Resources::getInstance().assignAvatarId(data.at(2).intValue(), imgViewAvatar_);
    const LevelDetail level = LevelDetail::fromExp(data.at(3).intValue());
    lblLevel_->setText(std::to_string(level.lv) + " + " + std::to_string(level.percent) + "%");
    lblWin_->setText(std::to_string(data.at(4).int64Value()));
    lblLose_->setText(std::to_string(data.at(5).int64Value()));
    lblDraw_->setText(std::to_string(data.at(6).int64Value()));
    lblGiveup_->setText(std::to_string(data.at(7).int64Value()));
}

void PlayerDetailView::addFriend() {
    if (!playerDetail_.isArray() || playerDetail_.arrayValue().empty()) return;
    FriendSearch::requestByName(playerDetail_.at(0).stringValue());
}

void PlayerDetailView::showOver(KavoViewController& table, const std::shared_ptr<PlayerDetailView>& sheet,
                                const platform::Value& data) {
    if (!sheet) return;
    std::weak_ptr<PlayerDetailView> weakSheet = sheet;
    platform::runOnMainThread([weakSheet, data] {
        if (auto shown = weakSheet.lock()) shown->updateViewWithData(data);
    });
    table.view()->addSubview(sheet->view());
    sheet->viewWillAppear(false);
}

} // namespace kavo
