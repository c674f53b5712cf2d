#include "platform/ui/ActionSheet.h"

#include "platform/ui/Label.h"
#include "platform/ui/OverlayStack.h"
#include "platform/ui/Screen.h"

#include <algorithm>

namespace platform::ui {

namespace {
constexpr double kButtonHeight = 40;
constexpr double kGap = 8;
} // namespace

ActionSheet::ActionSheet(Rect frame) : View(frame) {
    setBackgroundColor(Color::rgba(28, 30, 36, 0.92));
}

ActionSheet::ActionSheet(const std::string& title, ActionSheetDelegate* delegate, const std::string& cancelButtonTitle,
                         const std::string& destructiveButtonTitle, const std::vector<std::string>& otherButtonTitles)
    : View(Rect(0, 0, Screen::bounds().width(), 100)), title_(title), delegate_(delegate) {
    setBackgroundColor(Color::rgba(28, 30, 36, 0.92));
    if (!destructiveButtonTitle.empty()) {
        destructiveIndex_ = 0;
        buttonTitles_.push_back(destructiveButtonTitle);
    }
    for (const std::string& other : otherButtonTitles)
        buttonTitles_.push_back(other);
    if (!cancelButtonTitle.empty()) {
        cancelIndex_ = int(buttonTitles_.size());
        buttonTitles_.push_back(cancelButtonTitle);
    }
}

std::shared_ptr<ActionSheet> ActionSheet::make(Rect frame) {
    return std::make_shared<ActionSheet>(frame);
}

std::shared_ptr<ActionSheet> ActionSheet::make(const std::string& title, ActionSheetDelegate* delegate,
                                               const std::string& cancelButtonTitle,
                                               const std::string& destructiveButtonTitle,
                                               const std::vector<std::string>& otherButtonTitles) {
    return std::make_shared<ActionSheet>(title, delegate, cancelButtonTitle, destructiveButtonTitle, otherButtonTitles);
}

int ActionSheet::addButtonWithTitle(const std::string& title) {
    buttonTitles_.push_back(title);
    return int(buttonTitles_.size()) - 1;
}

std::string ActionSheet::buttonTitleAtIndex(int index) const {
    if (index < 0 || index >= numberOfButtons()) return {};
    return buttonTitles_[size_t(index)];
}

int ActionSheet::firstOtherButtonIndex() const {
    for (int i = 0; i < numberOfButtons(); ++i)
        if (i != cancelIndex_ && i != destructiveIndex_) return i;
    return -1;
}

std::shared_ptr<Button> ActionSheet::buttonAtIndex(int index) const {
    if (!shown_ || index < 0 || size_t(index) >= buttons_.size()) return nullptr;
    return buttons_[size_t(index)];
}

void ActionSheet::build() {
    for (const auto& button : buttons_)
        button->removeFromSuperview();
    buttons_.clear();
    if (titleLabel_) titleLabel_->removeFromSuperview();
    titleLabel_.reset();
    Rect screen = Screen::bounds();
    double width = screen.width();
    double inner = std::min(width - 40, 400.0);
    double x = (width - inner) / 2;
    double y = 12;
    if (!title_.empty()) {
        Font font = Font::system(14);
        double height = font.measureWrapped(title_, inner).height;
        auto label = Label::make({x, y, inner, height}, title_);
        label->setFont(font);
        label->setTextColor(Color::white(0.85));
        label->setTextAlignment(TextAlignment::Center);
        label->setNumberOfLines(0);
        addSubview(label);
        titleLabel_ = label;
        y += height + kGap;
    }
    std::weak_ptr<View> weak = weak_from_this();
    buttons_.resize(buttonTitles_.size());
    auto place = [&](int index) {
        auto button = Button::make({x, y, inner, kButtonHeight});
        button->setTitle(buttonTitles_[size_t(index)]);
        if (index == destructiveIndex_) {
            button->setBackgroundColor(Color::rgba(200, 35, 35));
            button->layer().setCornerRadius(8);
        } else if (index == cancelIndex_) {
            button->setBackgroundColor(Color::rgba(70, 70, 76));
            button->layer().setCornerRadius(8);
        }
        button->onTouchUpInside([weak, index] {
            if (auto sheet = std::static_pointer_cast<ActionSheet>(weak.lock())) sheet->pressButton(index);
        });
        addSubview(button);
        buttons_[size_t(index)] = button;
        y += kButtonHeight + kGap;
    };
    for (int i = 0; i < numberOfButtons(); ++i)
        if (i != cancelIndex_) place(i);
    if (cancelIndex_ >= 0 && cancelIndex_ < numberOfButtons()) {
        y += 6; // the cancel button stands apart
        place(cancelIndex_);
    }
    double height = y + 4;
    setFrame({0, screen.maxY() - height, width, height});
}

void ActionSheet::showInView(View*) {
    if (shown_) return;
    auto keep = weak_from_this().lock();
    if (!keep) return;
    build();
    shown_ = true;
    if (delegate_) delegate_->willPresent(*this);
    OverlayStack::push(keep, Color::black().withAlpha(0.3));
    if (delegate_ && shown_) delegate_->didPresent(*this);
}

void ActionSheet::dismissWithClickedButtonIndex(int index, bool) {
    if (!shown_ || dismissing_) return;
    auto keep = weak_from_this().lock();
    dismissing_ = true;
    if (delegate_) delegate_->willDismissWithButtonIndex(*this, index);
    OverlayStack::remove(this);
    shown_ = false;
    if (delegate_) delegate_->didDismissWithButtonIndex(*this, index);
    dismissing_ = false;
}

void ActionSheet::pressButton(int index) {
    if (!shown_ || dismissing_) return;
    auto keep = weak_from_this().lock();
    if (delegate_) delegate_->clickedButtonAtIndex(*this, index);
    dismissWithClickedButtonIndex(index, true);
}

} // namespace platform::ui
