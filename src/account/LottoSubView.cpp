#include "account/LottoSubView.h"

#include "app/Resources.h"
#include "app/Util.h"
#include "table/SheetPanel.h"

#include <algorithm>

namespace kavo {

LottoSubView::LottoSubView() : CustomUIActionSheetViewController2("LottoSubView") {}

LottoSubView::~LottoSubView() {
    if (countdown_) countdown_->invalidate();
}

void LottoSubView::showRemainTimer(int seconds) {
    remainSeconds_ = std::max(0, seconds);
    if (countdown_) countdown_->invalidate();
    // The panel lives as long as its screen; the timer must not outlive it.
    std::weak_ptr<ViewController> weak = weak_from_this();
    countdown_ = platform::Timer::scheduled(1.0, true, [weak] {
        if (auto self = std::dynamic_pointer_cast<LottoSubView>(weak.lock())) self->tick();
    });
    showTimeText();
}

void LottoSubView::tick() {
    if (remainSeconds_ > 0) --remainSeconds_;
    showTimeText();
}

void LottoSubView::showTimeText() {
    if (lblTimer_) lblTimer_->setText(Util::convertIntToQuotaTime(remainSeconds_));
}

void LottoSubView::reloadDataLottoHistory(const platform::Value& list) {
    lottoHistory_ = list;
}

void LottoSubView::reloadDataMyHistory(const std::vector<std::shared_ptr<MyLotto>>& list) {
    myHistory_.clear();
    for (const auto& entry : list) {
        if (entry) myHistory_.push_back(entry);
    }
    if (myHistory_.empty()) {
        // One placeholder row, so the table shows "no number bought" rather than nothing.
        auto none = std::make_shared<MyLotto>();
        none->setIsUsed(1);
        none->setNumber(-1);
        myHistory_.push_back(std::move(none));
    }
}

void LottoSubView::viewDidLoad() {
    auto& res = Resources::getInstance();
    auto panel = SheetPanel::build(*view(), {0, 200, 480, 120}, res.textWithKey("KAVO_Lotto"));
    setActionSheetView(panel);
    lblTimer_ = SheetPanel::addLabel(*panel, {10, 36, 200, 22}, "lblTimer", "");
    SheetPanel::addButton(*panel, {370, 80, 100, 32}, "btnClose_Clicked", res.textWithKey("KAVO_cancel"),
                          [this] { slideOut(); });
    showTimeText();
}

} // namespace kavo
