#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/foundation/Value.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <memory>

namespace kavo {

class KavoViewController;

// Another player's details over a table: name, money, level and match record as plain
// lines. Filled from the player-detail reply's array (name, money, avatar, experience,
// won, lost, drawn, given up). Main thread only.
class PlayerDetailView : public CustomUIActionSheetViewController {
public:
    // Name, money, avatar, experience, won, lost, drawn, given up.
    static constexpr size_t kItemCount = 8;

    PlayerDetailView();

    void viewDidLoad() override;
    // The captions in the language in force, then the slide-in.
    void viewWillAppear(bool animated) override;
    // Fills the lines; an array of fewer than eight items is logged and dropped.
    void updateViewWithData(const platform::Value& data);
    // What a table does with the reply: the data is queued on the main thread, the sheet
    // is laid over the table and slides in.
    static void showOver(KavoViewController& table, const std::shared_ptr<PlayerDetailView>& sheet,
                         const platform::Value& data);

    const platform::Value& playerDetail() const { return playerDetail_; }
    const std::shared_ptr<platform::ui::Label>& lblName() const { return lblName_; }
    const std::shared_ptr<platform::ui::Label>& lblMoney() const { return lblMoney_; }
    const std::shared_ptr<platform::ui::Label>& lblLevel() const { return lblLevel_; }
    const std::shared_ptr<platform::ui::Label>& lblWin() const { return lblWin_; }
    const std::shared_ptr<platform::ui::Label>& lblLose() const { return lblLose_; }
    const std::shared_ptr<platform::ui::Label>& lblDraw() const { return lblDraw_; }
    const std::shared_ptr<platform::ui::Label>& lblGiveup() const { return lblGiveup_; }

private:
    platform::Value playerDetail_;
    std::shared_ptr<platform::ui::Label> lblName_, lblMoney_, lblLevel_, lblWin_, lblLose_, lblDraw_, lblGiveup_;
    std::shared_ptr<platform::ui::Label> lblNameTitle_, lblMoneyTitle_, lblLevelTitle_, lblWinTitle_, lblLoseTitle_,
        lblDrawTitle_, lblGiveupTitle_;
};

} // namespace kavo
