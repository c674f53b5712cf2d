#include "account/LottoView.h"

#include "account/LottoBetZelView.h"
#include "account/LottoInput.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/TopScreen.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "app/widgets/CustomUIFont.h"
#include "platform/foundation/Text.h"
#include "platform/ui/NavigationController.h"
#include "portal/GlobalService.h"

#include <algorithm>
#include <cmath>

namespace kavo {

namespace ui = platform::ui;

namespace {

// The new-draw animation: the captions' alpha at the end of each of its seven seconds.
constexpr double kFadeSteps[] = {1, 0, 1, 0, 1, 0, 1};
// The step that puts the captions' own texts back.
constexpr int kFadeRestoreStep = 5;

} // namespace

LottoView::LottoView() : KavoViewController("LottoView") {}

LottoView::~LottoView() {
    stopTimer();
}

std::shared_ptr<LottoView> LottoView::onTop() {
    return topScreenAs<LottoView>();
}

bool LottoView::buyWithStake(int32_t stake, bool askBets) {
    auto lotto = onTop();
    if (!lotto) return false;
    if (stake < LottoInput::kMinimumStake) {
        UIController::showNotice(text("KAVO_LottoMoneyWarning"));
        return true;
    }
    GlobalService::getInstance().requestBuyLottoWithNumber(lotto->selectedNumber(), stake);
    if (askBets) GlobalService::getInstance().requestMyLottoHistory();
    return true;
}

// ---------------------------------------------------------------- layout

void LottoView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    Resources& resources = Resources::getInstance();
    resources.loadLanguage();
    const bool pad = Util::isPad();
    const ui::ViewPtr& root = view();
    root->setBackgroundColor(ui::Color::rgba(25, 35, 60));

    // Right of the top bar's back button, up to the count-down.
    lblClosesIn_ = ui::Label::make(Util::changeRectFromRect({40, 6, 72, 28}));
    lblClosesIn_->setAccessibilityIdentifier("lblClosesIn");
    lblLastWinning_ = ui::Label::make(Util::changeRectFromRect({180, 8, 150, 24}));
    lblLastWinning_->setAccessibilityIdentifier("lblLastWinning");
    for (const auto& label : {lblClosesIn_, lblLastWinning_}) {
        label->setBackgroundColor(ui::Color::clear());
        label->setTextColor(ui::Color::white());
        label->setFont(ui::Font::boldSystem(pad ? 22 : 11));
        // A caption longer than its place shrinks a little, then takes a second line.
        label->setAdjustsFontSizeToFitWidth(true);
        label->setMinimumFontSize(pad ? 18 : 9);
        label->setWrapsWhenShrunk(true);
        root->addSubview(label);
    }
    btnClosesIn_ = ui::Button::make(Util::changeRectFromRect({113, 4, 48, 32}));
    btnClosesIn_->setAccessibilityIdentifier("btnClosesIn");
    btnLastWinning_ = ui::Button::make(Util::changeRectFromRect({335, 4, 48, 32}));
    btnLastWinning_->setAccessibilityIdentifier("btnLastWinning");
    for (const auto& button : {btnClosesIn_, btnLastWinning_}) {
        button->setTitleColor(ui::Color::yellow());
        button->titleLabel()->setFont(ui::Font::boldSystem(pad ? 26 : 15));
        root->addSubview(button);
    }

    const bool english = resources.currentLanguage() == "en";
    imgViewNumberBoard_ =
        ui::ImageView::make(english ? (pad ? ui::Rect(449, 106, 129, 22) : ui::Rect(211, 44, 58, 10))
                                    : (pad ? ui::Rect(460, 100, 102, 28) : ui::Rect(216, 42, 48, 12)));
    imgViewNumberBoard_->setImage(
        Util::getImageWithName(english ? "i_text_LottoSubView_BangSo-en.png" : "i_text_LottoSubView_BangSo.png"));
    root->addSubview(imgViewNumberBoard_);
    scrollView_ = ui::ScrollView::make(Util::changeRectFromRect({45, 58, 392, 258}));
    scrollView_->setAccessibilityIdentifier("scrollView");
    root->addSubview(scrollView_);

    reloadData();
    GlobalService& service = GlobalService::getInstance();
    service.requestTimeNextRound();
    service.requestLottoHistory();
    service.requestMyLottoHistory();
    btnClosesIn_->setTitle("");
    btnClosesIn_->setHidden(true);
    betZelView_ = LottoBetZelView::make(pad ? ui::Rect(0, 0, 1024, 768) : ui::Rect(0, 0, 480, 320));
}

void LottoView::viewWillAppear(bool animated) {
    KavoViewController::viewWillAppear(animated);
    if (const auto& title = KavoOnlineAppDelegate::getInstance().lblWindowTitle())
        title->setText(platform::toUpper(text("KAVO_Lotto")));
    lblClosesIn_->setText(text("KAVO_DrawClosesIn"));
    lblLastWinning_->setText(text("KAVO_SoonerResultNumber"));
}

void LottoView::viewDidDisappear(bool animated) {
    KavoViewController::viewDidDisappear(animated);
    // Gone from the navigation stack: no count-down and no request keep running for it.
    auto navigation = KavoOnlineAppDelegate::getInstance().navigationController();
    const auto& stack = navigation ? navigation->viewControllers() : std::vector<platform::ui::ViewControllerPtr>{};
    if (std::find(stack.begin(), stack.end(), shared_from_this()) == stack.end()) stopTimer();
}

void LottoView::reloadData() {
    for (const auto& old : std::vector<ui::ViewPtr>(scrollView_->subviews()))
        old->removeFromSuperview();
    const bool pad = Util::isPad();
    scrollView_->setContentSize({390 * (pad ? Util::iPadX() : 1.0), pad ? 1300.0 : 650.0});
    for (int n = 0; n < kNumbers; ++n) {
        const int column = n % 8;
        const int row = n / 8;
        const ui::Rect frame = pad ? ui::Rect(std::trunc(10 * Util::iPadX()) + 50 * Util::iPadX() * column,
                                              50 * Util::iPadY() * row, 40 * Util::iPadX(), 40 * Util::iPadY())
                                   : ui::Rect(column * 50 + 2, row * 50, 40, 40);
        auto button = ui::Button::make(frame);
        button->setAccessibilityIdentifier("buyLottoNumber" + std::to_string(n));
        button->setBackgroundImage(Util::getImageWithName(kUnmarked));
        button->setTitle(LottoInput::twoWide(n));
        button->setTitleColor(ui::Color::white());
        button->titleLabel()->setFont(ui::Font::boldSystem(pad ? 22 : 14));
        button->setShowsTouchWhenHighlighted(true);
        button->setTag(n);
        button->onTouchUpInside([this, n] { buyLottoNumber(n); });
        scrollView_->addSubview(button);
    }
}

std::shared_ptr<ui::Button> LottoView::numberButton(int number) const {
    for (const auto& subview : scrollView_->subviews()) {
        auto button = std::dynamic_pointer_cast<ui::Button>(subview);
        if (button && LottoInput::valueOf(button->titleForState(ui::ControlState::Normal)) == number) return button;
    }
    return nullptr;
}

// ---------------------------------------------------------------- buying

void LottoView::buyLottoNumber(int number) {
    selectedNumber_ = number;
    betZelView_->set_selectedNumber(number);
    betZelView_->setNumber(number);
    view()->addSubview(betZelView_);
    betZelView_->setTextFieldBecomeFirstResponder();
}

void LottoView::showLottoHistory(const platform::Value& history) {
    const bool any = history.size() > 0;
    if (any) btnLastWinning_->setTitle(std::to_string(history.at(0).intValue()));
    lblLastWinning_->setHidden(!any);
    btnLastWinning_->setHidden(!any);
}

void LottoView::showBoughtNumbers(const std::vector<std::shared_ptr<MyLotto>>& numbers) {
    dataMyHistory_ = numbers;
    for (const auto& pick : numbers)
        if (pick && !pick->isUsed()) showBoughtNumber(pick->number(), pick->money());
}

void LottoView::showBoughtNumber(int32_t number, int32_t /*money*/) {
    if (number < 0 || number >= kNumbers) return;
    auto button = numberButton(number);
    if (!button) return;
    std::weak_ptr<ui::Button> weak = button;
    platform::performAfterDelay(kMarkDelay, [weak] {
        auto marked = weak.lock();
        if (!marked) return;
        ui::View::animate(0.1, [marked] { marked->setBackgroundImage(Util::getImageWithName(kMarked)); });
    });
}

// ---------------------------------------------------------------- the count-down

void LottoView::stopTimer() {
    if (mytimer_) mytimer_->invalidate();
    mytimer_.reset();
}

void LottoView::showTimer(int seconds) {
    stopTimer();
    remainTime_ = seconds;
    btnClosesIn_->setHidden(false);
    btnClosesIn_->setTitle(std::to_string(seconds));
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    mytimer_ = platform::Timer::scheduled(1.0, true, [weak] {
        if (auto self = std::dynamic_pointer_cast<LottoView>(weak.lock())) self->downLottoTimeEverySecond();
    });
}

std::string LottoView::countText() {
    ui::View* label = isViewLoaded() ? view()->viewWithTag(kCountTag) : nullptr;
    return label ? label->text() : "";
}

void LottoView::downLottoTimeEverySecond() {
    if (ui::View* old = view()->viewWithTag(kCountTag)) old->removeFromSuperview();
    // From the first tick on the count label shows the seconds where the button's title
    // showed them: one count is drawn, never two over each other.
    btnClosesIn_->setTitle("");
    const bool pad = Util::isPad();
    auto label = CustomUIFont::labelWithFrame(
        pad ? ui::Rect(241, 9, Util::convertiPhoneWidthToIpad(48), Util::convertiPhoneHeightToIpad(32))
            : ui::Rect(113, 4, 48, 32),
        std::to_string(remainTime_), "sea.png", pad ? 26 : 15);
    label->setTag(kCountTag);
    label->setAccessibilityIdentifier("lblCountDown");
    view()->addSubview(label);
    if (remainTime_ > 0) {
        --remainTime_;
        return;
    }
    stopTimer();
    btnClosesIn_->setHidden(true);
    GlobalService::getInstance().requestTimeNextRound();
    GlobalService::getInstance().requestLottoHistory();
    newLotto();
    reloadData();
}

void LottoView::newLotto() {
    lblClosesIn_->setText(text("KAVO_NewGame"));
    lblLastWinning_->setText(text("KAVO_NewWinning"));
    lblClosesIn_->setAlpha(0);
    lblLastWinning_->setAlpha(0);
    fadeStep(0);
}

void LottoView::fadeStep(int step) {
    if (step >= int(std::size(kFadeSteps))) return;
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    const double alpha = kFadeSteps[step];
    auto closes = lblClosesIn_;
    auto winning = lblLastWinning_;
    if (step == kFadeRestoreStep) {
        closes->setText(text("KAVO_DrawClosesIn"));
        winning->setText(text("KAVO_SoonerResultNumber"));
    }
    ui::View::animate(
        1.0,
        [closes, winning, alpha] {
            closes->setAlpha(alpha);
            winning->setAlpha(alpha);
        },
        [weak, step](bool) {
            if (auto self = std::dynamic_pointer_cast<LottoView>(weak.lock())) self->fadeStep(step + 1);
        });
}

} // namespace kavo
