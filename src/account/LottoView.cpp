#include "account/LottoView.h"

#include "app/Resources.h"
#include "app/Util.h"

#include <algorithm>

namespace kavo {

LottoView::LottoView() : KavoViewController("LottoView") {}

void LottoView::showTimer(int seconds) {
    remainSeconds_ = std::max(0, seconds);
    if (lblTimer_) lblTimer_->setText(Util::convertIntToQuotaTime(remainSeconds_));
}

void LottoView::showLottoHistory(const platform::Value& history) {
    lottoHistory_ = history;
}

void LottoView::showBoughtNumbers(const std::vector<std::shared_ptr<MyLotto>>& numbers) {
    boughtNumbers_ = numbers;
}

void LottoView::showBoughtNumber(int32_t number, int32_t money) {
    auto bought = std::make_shared<MyLotto>();
    bought->setNumber(number);
    bought->setMoney(money);
    boughtNumbers_.insert(boughtNumbers_.begin(), std::move(bought));
}

void LottoView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    auto& root = *view();
    root.setBackgroundColor(platform::ui::Color::rgba(25, 35, 60));
    auto title = platform::ui::Label::make(Util::changeRectFromRect({10, 40, 300, 24}),
                                           Resources::getInstance().textWithKey("KAVO_Lotto"));
    title->setAccessibilityIdentifier("lblTitle");
    title->setTextColor(platform::ui::Color::white());
    title->setBackgroundColor(platform::ui::Color::clear());
    root.addSubview(title);
    lblTimer_ = platform::ui::Label::make(Util::changeRectFromRect({10, 70, 200, 24}));
    lblTimer_->setAccessibilityIdentifier("lblTimer");
    lblTimer_->setTextColor(platform::ui::Color::white());
    lblTimer_->setBackgroundColor(platform::ui::Color::clear());
    root.addSubview(lblTimer_);
    showTimer(remainSeconds_);
}

} // namespace kavo
