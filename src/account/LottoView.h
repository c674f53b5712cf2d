#pragma once

#include "app/KavoViewController.h"
#include "platform/foundation/Value.h"
#include "platform/ui/Label.h"
#include "portal/model/AccountRecords.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

// The lottery screen: the time to the next draw, the drawn results and the numbers
// the player bought.
class LottoView : public KavoViewController {
public:
    LottoView();

    // Seconds to the next draw.
    void showTimer(int seconds);
    int remainSeconds() const { return remainSeconds_; }
    // Flat rows: number, text, number, text...
    void showLottoHistory(const platform::Value& history);
    const platform::Value& lottoHistory() const { return lottoHistory_; }
    void showBoughtNumbers(const std::vector<std::shared_ptr<MyLotto>>& numbers);
    const std::vector<std::shared_ptr<MyLotto>>& boughtNumbers() const { return boughtNumbers_; }
    // One more number bought for that money, placed first (newest first).
    void showBoughtNumber(int32_t number, int32_t money);
    // The number the player picked (00-99; -1 none).
    int32_t selectedNumber() const { return selectedNumber_; }
    void setSelectedNumber(int32_t number) { selectedNumber_ = number; }

    void viewDidLoad() override;
    const std::shared_ptr<platform::ui::Label>& lblTimer() const { return lblTimer_; }

private:
    int remainSeconds_ = 0;
    platform::Value lottoHistory_;
    std::vector<std::shared_ptr<MyLotto>> boughtNumbers_;
    int32_t selectedNumber_ = -1;
    std::shared_ptr<platform::ui::Label> lblTimer_;
};

} // namespace kavo
