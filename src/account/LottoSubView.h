#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Label.h"
#include "portal/model/AccountRecords.h"

#include <memory>
#include <vector>

namespace kavo {

// The lottery panel every screen can raise from the bottom edge: the countdown to
// the next draw, the drawn results and the player's numbers.
class LottoSubView : public CustomUIActionSheetViewController2 {
public:
    LottoSubView();
    ~LottoSubView() override;

    // Stores the remaining time and restarts the 1 s countdown.
    void showRemainTimer(int seconds);
    int remainSeconds() const { return remainSeconds_; }
    // The drawn results (flat rows: number, text, ...), then the table reloads.
    void reloadDataLottoHistory(const platform::Value& list);
    const platform::Value& lottoHistory() const { return lottoHistory_; }
    // The player's bought numbers, then the table reloads; an empty list gets one
    // placeholder entry (used, number -1).
    void reloadDataMyHistory(const std::vector<std::shared_ptr<MyLotto>>& list);
    const std::vector<std::shared_ptr<MyLotto>>& myHistory() const { return myHistory_; }

    void viewDidLoad() override;
    const std::shared_ptr<platform::ui::Label>& lblTimer() const { return lblTimer_; }

private:
    void tick();
    void showTimeText();

    int remainSeconds_ = 0;
    std::shared_ptr<platform::Timer> countdown_;
    platform::Value lottoHistory_;
    std::vector<std::shared_ptr<MyLotto>> myHistory_;
    std::shared_ptr<platform::ui::Label> lblTimer_;
};

} // namespace kavo
