#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "app/ReturnTarget.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Toolbar.h"
#include "portal/model/AccountRecords.h"

#include <memory>
#include <vector>

namespace kavo {

// The lottery panel every full screen carries: buy a number without leaving the screen,
// the count-down to the draw, the released numbers and the player's own bets, and the way
// into the full lottery screen. The replies reach it through its screen whether or not it
// is shown; only a shown panel counts down. Return in the stake (the last field) buys.
// Main thread only.
class LottoSubView : public CustomUIActionSheetViewController2,
                     public ReturnTarget,
                     public platform::ui::TableViewDataSource,
                     public platform::ui::TableViewDelegate,
                     public platform::ui::TextFieldDelegate {
public:
    // The count-down label's tag.
    static constexpr int kCountTag = 113;

    LottoSubView();
    ~LottoSubView() override;

    void viewDidLoad() override;
    // Slides in, empties the fields and asks 1400, 1401, 1402.
    void viewWillAppear(bool animated) override;
    // Lowers the panel and stops the count-down, then slides out.
    void slideOut() override;

    // Reply 1400: the seconds to the draw. Counted down only while the panel is shown.
    void showRemainTimer(int seconds);
    void downLottoTimeEverySecond();
    // Reply 1401, flattened: number, text, number, text, ...
    void reloadDataLottoHistory(const platform::Value& list);
    // Reply 1402: the tickets of the draw still open; none shows one "no data" row.
    void reloadDataMyHistory(const std::vector<std::shared_ptr<MyLotto>>& list);

    // The buy button: checks the number and the stake and buys; a ticket bought empties the
    // fields and lowers the panel.
    void clickBuyLotto();
    const std::shared_ptr<platform::ui::Button>& defaultButton() const override { return btnBuy_; }
    void doShowLotto();
    void doSpinTheRound();
    void doViewGiftInfo();
    // The number pad's Done: on from the number to the stake; in the stake it buys.
    void doneWithNumberPad();
    void raise();
    void lower();

    void didBeginEditing(platform::ui::TextField& field) override;
    bool shouldReturn(platform::ui::TextField& field) override;
    bool shouldChangeCharacters(platform::ui::TextField& field, size_t location, size_t length,
                                const std::string& replacement) override;

    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;

    int remainTime() const { return remainTime_; }
    bool isCounting() const { return bool(mytimer_); }
    bool isEdit() const { return isEdit_; }
    const platform::Value& dataLottoHistory() const { return dataLottoHistory_; }
    const std::vector<std::shared_ptr<MyLotto>>& dataMyHistory() const { return dataMyHistory_; }
    const std::shared_ptr<platform::ui::TextField>& txfNumber() const { return txfNumber_; }
    const std::shared_ptr<platform::ui::TextField>& txfMoney() const { return txfMoney_; }
    const std::shared_ptr<platform::ui::TableView>& lottoHistory() const { return lottoHistory_; }
    const std::shared_ptr<platform::ui::TableView>& myHistory() const { return myHistory_; }
    const platform::ui::ViewPtr& lottoView() const { return lottoView_; }
    // The count-down's text now ("" before the first tick).
    std::string countText() const;

private:
    void stopTimer();
    bool isShown() const;

    std::shared_ptr<platform::ui::TextField> txfNumber_, txfMoney_;
    std::shared_ptr<platform::ui::TableView> lottoHistory_, myHistory_;
    std::shared_ptr<platform::ui::Label> lblLottoHistory_, lblMyHistory_;
    std::shared_ptr<platform::ui::ImageView> imgViewDetail_;
    platform::ui::ViewPtr lottoView_;
    std::shared_ptr<platform::ui::Toolbar> myToolBar_;
    std::shared_ptr<platform::ui::Button> btnBuy_;
    platform::ui::TextField* currentTextField_ = nullptr;
    platform::Value dataLottoHistory_;
    std::vector<std::shared_ptr<MyLotto>> dataMyHistory_;
    int remainTime_ = 0;
    std::shared_ptr<platform::Timer> mytimer_;
    bool isEdit_ = false;
};

} // namespace kavo
