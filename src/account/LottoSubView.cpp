#include "account/LottoSubView.h"

#include "account/LottoInput.h"
#include "account/LottoView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "app/widgets/CustomUIFont.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/NavigationController.h"
#include "portal/GlobalService.h"
#include "table/sheets/SheetPanel.h"

namespace kavo {

namespace ui = platform::ui;

namespace {

constexpr const char* kCellId = "LottoCellIdentifier";
constexpr const char* kFont = "sea.png";

void warn(const char* key) {
    UIController::showNotice(text(key));
}

void askDraw(bool withBets) {
    GlobalService& service = GlobalService::getInstance();
    service.requestTimeNextRound();
    service.requestLottoHistory();
    if (withBets) service.requestMyLottoHistory();
}

// How far the panel rises for the keyboard.
double lift() {
    return Util::isPad() ? 170 : 100;
}

} // namespace

LottoSubView::LottoSubView() : CustomUIActionSheetViewController2("LottoSubView") {}

LottoSubView::~LottoSubView() {
    stopTimer();
    for (const auto& table : {lottoHistory_, myHistory_}) {
        if (!table) continue;
        table->setDataSource(nullptr);
        table->setDelegate(nullptr);
    }
    for (const auto& field : {txfNumber_, txfMoney_})
        if (field) field->setDelegate(nullptr);
}

void LottoSubView::viewDidLoad() {
    CustomUIActionSheetViewController2::viewDidLoad();
    Resources& resources = Resources::getInstance();
    resources.loadLanguage();
    const bool pad = Util::isPad();
    // The panel is the screen's full width; it rises from the bottom edge.
    auto panel = ui::View::make(Util::changeRectFromRect({0, 0, 480, 250}));
    panel->setAccessibilityIdentifier("actionSheetView");
    panel->setBackgroundColor(ui::Color::rgba(30, 40, 60, 0.96));
    view()->addSubview(panel);
    setActionSheetView(panel);

    const bool english = resources.currentLanguage() == "en";
    imgViewDetail_ = ui::ImageView::make(pad       ? ui::Rect(166, 31, 117, 38)
                                         : english ? ui::Rect(81, 13, 48, 16)
                                                   : ui::Rect(78, 13, 55, 16));
    imgViewDetail_->setImage(
        Util::getImageWithName(english ? "i_text_Lotto_Detail-en.png" : "i_text_Lotto_Detail.png"));
    panel->addSubview(imgViewDetail_);
    lottoView_ = ui::View::make(Util::changeRectFromRect({140, 2, 52, 42}));
    lottoView_->setAccessibilityIdentifier("lottoView");
    panel->addSubview(lottoView_);

    SheetPanel::addButton(*panel, {200, 8, 80, 26}, "doSpinTheRound", "?", [this] { doSpinTheRound(); });
    SheetPanel::addButton(*panel, {290, 8, 80, 26}, "doViewGiftInfo", "i", [this] { doViewGiftInfo(); });
    SheetPanel::addButton(*panel, {436, 6, 38, 30}, "slideOut", "x", [this] { slideOut(); });

    // Wide enough for the hints ("Enter a number (00-99)"); the two buttons take what
    // their short titles need.
    txfNumber_ = SheetPanel::addField(*panel, {10, 48, 168, 28}, "txfNumber", "");
    txfMoney_ = SheetPanel::addField(*panel, {182, 48, 130, 28}, "txfMoney", "");
    for (const auto& field : {txfNumber_, txfMoney_}) {
        field->setFont(ui::Font::system(12 * Util::iPad()));
        field->setKeyboardType(ui::KeyboardType::NumberPad);
        field->setDelegate(this);
    }
    btnBuy_ = SheetPanel::addButton(*panel, {316, 48, 66, 28}, "clickBuyLotto", text("KAVO_LottoBuy"),
                                    [this] { clickBuyLotto(); });
    SheetPanel::addButton(*panel, {386, 48, 84, 28}, "doShowLotto", text("KAVO_Lotto"), [this] { doShowLotto(); });

    lblLottoHistory_ = SheetPanel::addLabel(*panel, {10, 82, 220, 18}, "lblLottoHistory", "");
    lblMyHistory_ = SheetPanel::addLabel(*panel, {250, 82, 220, 18}, "lblMyHistory", "");
    auto makeTable = [&](ui::Rect phone, const std::string& id) {
        auto table = ui::TableView::make(Util::changeRectFromRect(phone));
        table->setAccessibilityIdentifier(id);
        table->setBackgroundColor(ui::Color::white(0, 0.3));
        table->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
        table->setRowHeight(pad ? 30 : 22);
        table->setAllowsSelection(false);
        table->setDataSource(this);
        table->setDelegate(this);
        panel->addSubview(table);
        return table;
    };
    lottoHistory_ = makeTable({10, 102, 220, 140}, "lottoHistory");
    myHistory_ = makeTable({250, 102, 220, 140}, "myHistory");

    myToolBar_ = ui::Toolbar::make(Util::changeRectFromRect({160, 200, 320, 50}));
    myToolBar_->setAccessibilityIdentifier("myToolBar");
    myToolBar_->setBarStyle(ui::BarStyle::Black);
    myToolBar_->setItems(
        {ui::BarButtonItem::withSystemItem(ui::BarButtonSystemItem::FlexibleSpace),
         ui::BarButtonItem::withTitle("Done", ui::BarButtonItemStyle::Done, [this] { doneWithNumberPad(); })});
    myToolBar_->setHidden(true);
    panel->addSubview(myToolBar_);
}

void LottoSubView::viewWillAppear(bool animated) {
    view(); // laid out before it slides in
    CustomUIActionSheetViewController2::viewWillAppear(animated);
    txfNumber_->setText("");
    txfMoney_->setText("");
    txfNumber_->setPlaceholder(text("KAVO_TypeNumber"));
    txfMoney_->setPlaceholder(text("KAVO_TypeMoney"));
    lblLottoHistory_->setText(text("KAVO_Lotto_ReleasedNumbers"));
    lblMyHistory_->setText(text("KAVO_Lotto_BoughtNumbers"));
    askDraw(true);
}

void LottoSubView::slideOut() {
    lower();
    stopTimer();
    CustomUIActionSheetViewController2::slideOut();
}

bool LottoSubView::isShown() const {
    return isSliding();
}

// ---------------------------------------------------------------- count-down

void LottoSubView::stopTimer() {
    if (mytimer_) mytimer_->invalidate();
    mytimer_.reset();
}

void LottoSubView::showRemainTimer(int seconds) {
    stopTimer();
    remainTime_ = seconds;
    // A closed panel keeps the seconds only: opening it asks again.
    if (!isShown()) return;
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    mytimer_ = platform::Timer::scheduled(1.0, true, [weak] {
        if (auto self = std::dynamic_pointer_cast<LottoSubView>(weak.lock())) self->downLottoTimeEverySecond();
    });
}

std::string LottoSubView::countText() const {
    if (!lottoView_) return "";
    ui::View* label = lottoView_->viewWithTag(kCountTag);
    return label ? label->text() : "";
}

void LottoSubView::downLottoTimeEverySecond() {
    if (ui::View* old = lottoView_->viewWithTag(kCountTag)) old->removeFromSuperview();
    const bool pad = Util::isPad();
    auto label = CustomUIFont::labelWithFrame(pad ? ui::Rect(12, 24, Util::convertiPhoneWidthToIpad(40), 24 * 2.4)
                                                  : ui::Rect(6, 10, 40, 22),
                                              LottoInput::twoWide(remainTime_), kFont, pad ? 24 : 15);
    label->setTag(kCountTag);
    label->setAccessibilityIdentifier("lblCountDown");
    lottoView_->addSubview(label);
    if (remainTime_ > 0) {
        --remainTime_;
        return;
    }
    stopTimer();
    askDraw(true);
}

// ---------------------------------------------------------------- tables

void LottoSubView::reloadDataLottoHistory(const platform::Value& list) {
    dataLottoHistory_ = list;
    if (lottoHistory_) lottoHistory_->reloadData();
}

void LottoSubView::reloadDataMyHistory(const std::vector<std::shared_ptr<MyLotto>>& list) {
    // The tickets of the draw still open: a ticket of a closed draw is marked used, and the
    // list says nothing of its draw, so it would read as a ticket of this one.
    dataMyHistory_.clear();
    for (const auto& pick : list)
        if (pick && !pick->isUsed()) dataMyHistory_.push_back(pick);
    if (dataMyHistory_.empty()) {
        auto none = std::make_shared<MyLotto>();
        none->setNumber(-1);
        none->setIsUsed(1);
        dataMyHistory_.push_back(std::move(none));
    }
    if (myHistory_) myHistory_->reloadData();
}

int LottoSubView::numberOfRows(ui::TableView& table, int /*section*/) {
    if (&table == lottoHistory_.get()) return int(dataLottoHistory_.size() / 2);
    return int(dataMyHistory_.size());
}

std::shared_ptr<ui::TableViewCell> LottoSubView::cellForRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    auto cell = table.dequeueReusableCell(kCellId);
    if (!cell) cell = ui::TableViewCell::make(ui::TableViewCellStyle::Default, kCellId);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    for (const auto& old : std::vector<ui::ViewPtr>(cell->contentView()->subviews()))
        old->removeFromSuperview();
    const bool pad = Util::isPad();
    const ui::Rect frame = Util::changeRectFromRect({4, 0, 200, 22});
    std::string shown;
    int size = 0;
    int alignment = CustomUIFont::Left;
    const size_t row = indexPath.row < 0 ? SIZE_MAX : size_t(indexPath.row);
    if (&table == lottoHistory_.get()) {
        if (row == SIZE_MAX || 2 * row + 1 >= dataLottoHistory_.size()) return cell;
        const int number = dataLottoHistory_.at(2 * row).intValue();
        if (number == -1) {
            // At least 10 points (a tablet's 10 scaled): the list is read at a glance.
            shown = text("KAVO_NoData");
            size = pad ? 22 : 10;
        } else {
            shown = LottoInput::twoWide(number) + " " + dataLottoHistory_.at(2 * row + 1).stringValue();
            size = pad ? 24 : 13;
        }
    } else {
        if (row >= dataMyHistory_.size()) return cell;
        const MyLotto& pick = *dataMyHistory_[row];
        if (pick.number() == -1) {
            shown = text("KAVO_NoData");
            size = pad ? 22 : 10;
        } else {
            shown = std::to_string(pick.number()) + " : " + Util::formatNumber(pick.money()) + " ZEL";
            size = pad ? 24 : 11;
        }
        alignment = CustomUIFont::Center;
    }
    auto label = CustomUIFont::labelWithFrame(frame, shown, kFont, size);
    label->setTextAlignment(alignment);
    cell->contentView()->addSubview(label);
    return cell;
}

// ---------------------------------------------------------------- fields and buying

bool LottoSubView::shouldChangeCharacters(ui::TextField& /*field*/, size_t /*location*/, size_t /*length*/,
                                          const std::string& replacement) {
    return LottoInput::acceptsReplacement(replacement);
}

void LottoSubView::didBeginEditing(ui::TextField& field) {
    currentTextField_ = &field == txfMoney_.get() ? txfMoney_.get() : txfNumber_.get();
    // The bar's Done stands in for the number pad's missing return key, and the sheet
    // rises out of the pad's way; without an on-screen keyboard neither is needed.
    if (!ui::Keyboard::exists()) return;
    myToolBar_->setHidden(false);
    raise();
}

void LottoSubView::raise() {
    if (isEdit_ || !actionSheetView()) return;
    const ui::ViewPtr sheet = view();
    ui::View::beginAnimations("edit");
    sheet->setCenter({sheet->center().x, sheet->center().y - lift()});
    ui::View::commitAnimations();
    isEdit_ = true;
}

void LottoSubView::lower() {
    if (!isEdit_) return;
    const ui::ViewPtr sheet = view();
    ui::View::beginAnimations("edit");
    sheet->setCenter({sheet->center().x, sheet->center().y + lift()});
    ui::View::commitAnimations();
    isEdit_ = false;
    if (myToolBar_) myToolBar_->setHidden(true);
}

// Return in the number moves on to the stake.
bool LottoSubView::shouldReturn(ui::TextField& field) {
    if (&field == txfNumber_.get()) txfMoney_->becomeFirstResponder();
    return true;
}

void LottoSubView::doneWithNumberPad() {
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    platform::runOnMainThread([weak] {
        auto self = std::dynamic_pointer_cast<LottoSubView>(weak.lock());
        if (!self || !self->currentTextField_) return;
        if (self->currentTextField_ == self->txfNumber_.get()) {
            self->shouldReturn(*self->currentTextField_);
        } else {
            self->btnBuy_->sendActions(ui::ControlEvent::TouchUpInside);
        }
    });
}

void LottoSubView::clickBuyLotto() {
    if (txfNumber_->text().empty() || txfMoney_->text().empty()) {
        warn("KAVO_LottoGeneralWarning");
        return;
    }
    const int32_t stake = LottoInput::valueOf(txfMoney_->text());
    const int32_t number = LottoInput::valueOf(txfNumber_->text());
    // A number below 0 has no ball either.
    if (number >= 100 || number < 0) {
        warn("KAVO_LottoNumberWarning");
        return;
    }
    if (stake < LottoInput::kMinimumStake) {
        warn("KAVO_LottoMoneyWarning");
        return;
    }
    GlobalService::getInstance().requestBuyLottoWithNumber(number, stake);
    GlobalService::getInstance().requestMyLottoHistory();
    txfNumber_->setText("");
    txfMoney_->setText("");
    txfNumber_->resignFirstResponder();
    txfMoney_->resignFirstResponder();
    // The keyboard went with the fields: the panel comes down from its place above it.
    lower();
}

void LottoSubView::doShowLotto() {
    lower();
    auto navigation = KavoOnlineAppDelegate::getInstance().navigationController();
    if (navigation) navigation->pushViewController(std::make_shared<LottoView>(), true);
}

void LottoSubView::doSpinTheRound() {
    warn("KAVO_WarningUnderConstruction");
}

void LottoSubView::doViewGiftInfo() {
    warn("KAVO_WarningUnderConstruction");
}

} // namespace kavo
