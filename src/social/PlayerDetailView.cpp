#include "social/PlayerDetailView.h"

#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/Util.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "portal/model/Player.h"
#include "table/SheetPanel.h"

#include <array>

namespace kavo {

namespace {

// The items of the player-detail array.
enum Item : size_t { kName, kMoney, kAvatar, kExp, kWon, kLost, kDrawn, kGivenUp };

std::string text(const char* key) {
    return Resources::getInstance().textWithKey(key);
}

} // namespace

PlayerDetailView::PlayerDetailView() : CustomUIActionSheetViewController("PlayerDetailView") {}

void PlayerDetailView::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {90, 40, 300, 240}, "");
    setActionSheetView(panel);
    struct Line {
        const char* caption;
        const char* value;
        std::shared_ptr<platform::ui::Label>* captionLabel;
        std::shared_ptr<platform::ui::Label>* valueLabel;
    };
    const std::array<Line, 7> lines{{
        {"lblNameTitle", "lblName", &lblNameTitle_, &lblName_},
        {"lblMoneyTitle", "lblMoney", &lblMoneyTitle_, &lblMoney_},
        {"lblLevelTitle", "lblLevel", &lblLevelTitle_, &lblLevel_},
        {"lblWinTitle", "lblWin", &lblWinTitle_, &lblWin_},
        {"lblLoseTitle", "lblLose", &lblLoseTitle_, &lblLose_},
        {"lblDrawTitle", "lblDraw", &lblDrawTitle_, &lblDraw_},
        {"lblGiveupTitle", "lblGiveup", &lblGiveupTitle_, &lblGiveup_},
    }};
    double y = 32;
    for (const auto& line : lines) {
        *line.captionLabel = SheetPanel::addLabel(*panel, {12, y, 100, 22}, line.caption, "");
        *line.valueLabel = SheetPanel::addLabel(*panel, {116, y, 174, 22}, line.value, "");
        y += 24;
    }
    SheetPanel::addButton(*panel, {100, 204, 100, 30}, "btnClose", "X", [this] { slideOut(); });
}

void PlayerDetailView::viewWillAppear(bool animated) {
    view();
    CustomUIActionSheetViewController::viewWillAppear(animated);
    lblNameTitle_->setText(text("KAVO_nick"));
    lblMoneyTitle_->setText(text("KAVO_money"));
    lblLevelTitle_->setText(text("KAVO_level"));
    lblWinTitle_->setText(text("KAVO_won"));
    lblLoseTitle_->setText(text("KAVO_lose"));
    lblDrawTitle_->setText(text("KAVO_draw"));
    lblGiveupTitle_->setText(text("KAVO_giveup"));
}

void PlayerDetailView::updateViewWithData(const platform::Value& data) {
    if (!data.isArray() || data.arrayValue().size() < kItemCount) {
        platform::log("player detail with fewer than eight items dropped");
        return;
    }
    view();
    playerDetail_ = data;
    lblName_->setText(data.at(kName).stringValue());
    lblMoney_->setText(Util::formatNumber(data.at(kMoney).int64Value()) + " " + text("KAVO_zel"));
    const auto level = LevelDetail::fromExp(data.at(kExp).intValue());
    lblLevel_->setText(std::to_string(level.lv) + " + " + std::to_string(level.percent) + "%");
    lblWin_->setText(std::to_string(data.at(kWon).int64Value()));
    lblLose_->setText(std::to_string(data.at(kLost).int64Value()));
    lblDraw_->setText(std::to_string(data.at(kDrawn).int64Value()));
    lblGiveup_->setText(std::to_string(data.at(kGivenUp).int64Value()));
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
