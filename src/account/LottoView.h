#pragma once

#include "app/KavoViewController.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "portal/model/AccountRecords.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

class LottoBetZelView;

// The number lottery's full screen: a board of the numbers 0 to 99, the seconds left to
// the draw, the last winning number, and the player's bought numbers marked. Tapping a
// number opens the stake entry. Its count-down stops when it leaves the navigation stack.
// Main thread only.
class LottoView : public KavoViewController {
public:
    static constexpr int kCountTag = 113;
    static constexpr int kNumbers = 100;
    static constexpr double kMarkDelay = 0.5;

    LottoView();
    ~LottoView() override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

    // Reply 1400: starts the count-down (replacing a running one).
    void showTimer(int seconds);
    void downLottoTimeEverySecond();
    // Reply 1401, flattened: number, text, ...
    void showLottoHistory(const platform::Value& history);
    // Reply 1402: marks the picks not used yet.
    void showBoughtNumbers(const std::vector<std::shared_ptr<MyLotto>>& numbers);
    // Marks a number's button after half a second; a number without a button marks nothing.
    void showBoughtNumber(int32_t number, int32_t money);
    void buyLottoNumber(int number);
    // Rebuilds the board unmarked.
    void reloadData();
    void newLotto();

    // A stake confirmed while the lottery screen is on top: refused below 500, else buys
    // the screen's selected number (1403, and 1402 when `askBets`). False when the lottery
    // screen is not on top.
    static bool buyWithStake(int32_t stake, bool askBets);
    static std::shared_ptr<LottoView> onTop();

    int32_t selectedNumber() const { return selectedNumber_; }
    void setSelectedNumber(int32_t number) { selectedNumber_ = number; }
    int remainTime() const { return remainTime_; }
    bool isCounting() const { return bool(mytimer_); }
    const std::vector<std::shared_ptr<MyLotto>>& dataMyHistory() const { return dataMyHistory_; }
    const std::shared_ptr<platform::ui::ScrollView>& scrollView() const { return scrollView_; }
    // The board's button of a number, or nullptr.
    std::shared_ptr<platform::ui::Button> numberButton(int number) const;
    const std::shared_ptr<platform::ui::Button>& btnClosesIn() const { return btnClosesIn_; }
    const std::shared_ptr<platform::ui::Button>& btnLastWinning() const { return btnLastWinning_; }
    const std::shared_ptr<platform::ui::Label>& lblClosesIn() const { return lblClosesIn_; }
    const std::shared_ptr<platform::ui::Label>& lblLastWinning() const { return lblLastWinning_; }
    const std::shared_ptr<LottoBetZelView>& betZelView() const { return betZelView_; }
    // The count-down's text now ("" before the first tick).
    std::string countText();

    static constexpr const char* kUnmarked = "i_img_LottoSubView_NonselectedNumbers.png";
    static constexpr const char* kMarked = "i_img_LottoSubView_SelectedNumber.png";

private:
    void stopTimer();
    void fadeStep(int step);

    std::shared_ptr<platform::ui::ScrollView> scrollView_;
    std::shared_ptr<platform::ui::Label> lblClosesIn_, lblLastWinning_;
    std::shared_ptr<platform::ui::Button> btnClosesIn_, btnLastWinning_;
    std::shared_ptr<platform::ui::ImageView> imgViewNumberBoard_;
    int remainTime_ = 0;
    std::shared_ptr<platform::Timer> mytimer_;
    int32_t selectedNumber_ = 0;
    std::vector<std::shared_ptr<MyLotto>> dataMyHistory_;
    std::shared_ptr<LottoBetZelView> betZelView_;
};

} // namespace kavo
