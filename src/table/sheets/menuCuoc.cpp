#include "table/sheets/menuCuoc.h"

#include "account/LottoView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/foundation/Value.h"
#include "platform/ui/Keyboard.h"
#include "portal/GlobalService.h"
#include "table/base/GameTableView.h"
#include "table/registry/GameController.h"
#include "table/registry/TableRules.h"
#include "table/sheets/SheetPanel.h"

#include <algorithm>
#include <limits>

namespace kavo {

namespace {

// How an amount reaches its destination: the sheet sends the stake; the lottery
// entry hands the poker amount to the table's raise.
enum class Entry { Sheet, Typed };

// Steps 3 to 7 of both entries once the amount is known.
void saveAmount(int32_t amount, Entry entry) {
    const int8_t game = GameController::gameType();
    if (amount < 0) {
        UIController::showNotice(text("KAVO_InvalidBet"));
        return;
    }
    if (entry == Entry::Sheet && amount == 0 && gameRecordOrNone(game).refusesZeroStake) {
        UIController::showNotice(text("KAVO_no0Zel"));
        return;
    }
    if (LottoView::buyWithStake(amount, entry == Entry::Typed)) return;
    auto me = UIController::myInfo();
    const int64_t myMoney = me ? me->money() : 0;
    if (int64_t(amount) > myMoney) {
        UIController::showNotice(text("KAVO_banChiCo") + " " + Util::formatNumber(myMoney) + " " + text("KAVO_zel") + " " +
                                 text("KAVO_setMaxMoney"));
        return;
    }
    const auto* rule = tableRule(game);
    if (!rule || (entry == Entry::Typed && !rule->takesTypedStake)) return;
    auto table = GameController::getTableView(game);
    if (!table) return;
    if (entry == Entry::Typed)
        table->sendTypedStake(amount);
    else
        table->sendStake(amount);
}

} // namespace

const std::shared_ptr<menuCuoc>& menuCuoc::getInstance() {
    static const std::shared_ptr<menuCuoc> instance = std::make_shared<menuCuoc>();
    return instance;
}

menuCuoc::menuCuoc() : CustomUIActionSheetViewController("menuCuoc") {}

int32_t menuCuoc::amountOf(const std::string& typed) {
    const int64_t value = platform::parseLeadingInteger(typed);
    return int32_t(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

void menuCuoc::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {110, 80, 260, 110}, "");
    setActionSheetView(panel);
    languageTexts().text(SheetPanel::titleOf(*panel), "KAVO_dat_cuoc");
    imgTextField_ = platform::ui::ImageView::make(Util::changeRectFromRect({18, 38, 224, 34}));
    imgTextField_->setImage(Util::getImageWithName("textbox400.png"));
    panel->addSubview(imgTextField_);
    txtMoney_ = SheetPanel::addField(*panel, {20, 40, 220, 30}, "txtMoney", text("KAVO_setMoney"));
    txtMoney_->setKeyboardType(platform::ui::KeyboardType::NumberPad);
    txtMoney_->addTarget(platform::ui::ControlEvent::EditingDidBegin, [this] { textFieldBeginEditting(); });
    btnOK_ = SheetPanel::addButton(*panel, {80, 76, 100, 30}, "btnOK", "", [this] { clickOK(); });
    setDefaultButton(btnOK_);
    languageTexts().title(btnOK_, "KAVO_OK");
}

void menuCuoc::viewWillAppear(bool animated) {
    view();
    CustomUIActionSheetViewController::viewWillAppear(animated);
    txtMoney_->setPlaceholder(text(LottoView::onTop() ? "KAVO_TypeMoney" : "KAVO_setMoney"));
    txtMoney_->becomeFirstResponder();
    txtMoney_->setText("");
    liftAboveKeyboard();
}

void menuCuoc::liftAboveKeyboard() {
    // The sheet itself moves, so it sits above the keyboard; a desktop window has none,
    // and there the sheet stays where it slid in.
    if (!platform::ui::Keyboard::exists()) return;
    platform::ui::View::beginAnimations(PresentAnimationName);
    auto frame = view()->frame();
    frame.origin = Util::isPad() ? platform::ui::Point{0, 200} : platform::ui::Point{0, 30};
    view()->setFrame(frame);
    platform::ui::View::commitAnimations();
}

void menuCuoc::textFieldBeginEditting() {
    liftAboveKeyboard();
}

void menuCuoc::clickOK() {
    txtMoney_->resignFirstResponder();
    doSave();
}

void menuCuoc::clearText() {
    txtMoney_->setText("");
    txtMoney_->becomeFirstResponder();
}

void menuCuoc::doSave() {
    slideOut();
    const std::string typed = txtMoney_ ? txtMoney_->text() : std::string();
    if (typed.empty()) return;
    saveAmount(amountOf(typed), Entry::Sheet);
}

void menuCuoc::doSaveSetMoney(const std::string& typed) {
    saveAmount(amountOf(typed), Entry::Typed);
}

} // namespace kavo
