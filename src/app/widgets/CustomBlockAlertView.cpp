#include "app/widgets/CustomBlockAlertView.h"

#include "app/widgets/CustomAlertBackground.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Animation.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <cmath>

namespace kavo {

using namespace platform::ui;

namespace {

constexpr const char* kBackgroundImage = "alert-background.png";
// The picture's size when it is missing, so the alert still has a shape.
constexpr Size kFallbackBackgroundSize{284, 160};

Size backgroundSize() {
    auto image = CustomBlockAlertView::alertBackgroundImage();
    return image ? image->size() : kFallbackBackgroundSize;
}

// The width a button title takes: the button font, shrunk down to the minimum size to fit
// `width`, never wider than it.
double titleWidth(const std::string& title, double width) {
    return std::min(CustomBlockAlertView::buttonFont().measure(title).width, width);
}

ImagePtr buttonImage(const std::string& color) {
    auto image = Image::named("alert-" + color + "-button.png");
    return image ? image->stretchable((image->width() + 1) >> 1, 0) : nullptr;
}

void postFinished() {
    platform::NotificationCenter::defaultCenter().post(CustomBlockAlertView::kFinishedAnimationsNotification);
}

} // namespace

ImagePtr CustomBlockAlertView::alertBackgroundImage() {
    auto image = Image::named(kBackgroundImage);
    return image ? image->stretchable(0, 20) : nullptr;
}

CustomBlockAlertView::CustomBlockAlertView(const std::string& title, const std::string& message) {
    // The dim window's coordinates are the landscape screen's own, so the alert is simply
    // centred across it (no quarter turn is needed).
    Rect screen = CustomAlertBackground::sharedInstance()->bounds();
    Size picture = backgroundSize();
    view_ = View::make(Rect(std::floor((screen.width() - picture.width) * 0.5), 0, picture.width, screen.height()));
    view_->setAccessibilityIdentifier("CustomBlockAlertView");
    height_ = kFirstLine;
    if (!title.empty()) addTextLabel(title, titleFont());
    if (!message.empty()) addTextLabel(message, messageFont());
    vignetteBackground_ = false;
}

CustomBlockAlertView::~CustomBlockAlertView() = default;

std::shared_ptr<CustomBlockAlertView> CustomBlockAlertView::alertWithTitle(const std::string& title,
                                                                           const std::string& message) {
    return std::make_shared<CustomBlockAlertView>(title, message);
}

void CustomBlockAlertView::addTextLabel(const std::string& text, const Font& font) {
    const double width = view_->bounds().width();
    Size size = font.measureWrapped(text, width - 2 * kBorder);
    auto label = Label::make(Rect(kBorder, height_, width - 2 * kBorder, size.height), text);
    label->setFont(font);
    label->setNumberOfLines(0);
    label->setLineBreakMode(LineBreakMode::CharacterWrap);
    label->setTextColor(Color::white(244.0 / 255.0));
    label->setBackgroundColor(Color::clear());
    label->setTextAlignment(TextAlignment::Center);
    label->setShadowColor(Color::black());
    label->setShadowOffset({0, -1});
    view_->addSubview(label);
    height_ += size.height + kBorder;
}

void CustomBlockAlertView::addButtonWithTitle(const std::string& title, const std::string& color,
                                              std::function<void()> block) {
    blocks_.push_back({std::move(block), title, color});
}

void CustomBlockAlertView::addButtonWithTitle(const std::string& title, std::function<void()> block) {
    addButtonWithTitle(title, "red", std::move(block));
}

void CustomBlockAlertView::setCancelButtonWithTitle(const std::string& title, std::function<void()> block) {
    addButtonWithTitle(title, "black", std::move(block));
}

void CustomBlockAlertView::setOKButtonWithTitle(const std::string& title, std::function<void()> block) {
    addButtonWithTitle(title, "red", std::move(block));
}

void CustomBlockAlertView::layoutButtons() {
    const double width = view_->bounds().width();
    const double half = std::floor((width - 3) * 0.5);
    const size_t count = blocks_.size();
    bool partnerClaimed = false; // the previous button shares its row with this one
    std::weak_ptr<CustomBlockAlertView> weak = weak_from_this();
    for (size_t i = 0; i < count; ++i) {
        const ButtonRecord& record = blocks_[i];
        double x = kBorder;
        double buttonWidth = width - 2 * kBorder;
        bool opensPair = false;
        if (partnerClaimed) {
            buttonWidth = half;
            x = half + 2;
            partnerClaimed = false;
        } else if (i + 1 < count) {
            // Two short titles in a row share one row.
            if (titleWidth(record.title, width - 2) < half - 1 &&
                titleWidth(blocks_[i + 1].title, width - 2) < half - 1) {
                buttonWidth = half;
                opensPair = partnerClaimed = true;
            }
        } else if (count == 1) {
            double lone = std::max(titleWidth(record.title, width - 2), kLoneButtonMinimumWidth) + 2;
            if (lone < width - 2) {
                buttonWidth = lone;
                x = std::floor((width - lone) * 0.5);
            }
        }
        auto button = Button::make(Rect(x, height_, buttonWidth, kButtonHeight), ButtonType::Custom);
        button->titleLabel()->setFont(buttonFont());
        button->titleLabel()->setMinimumFontSize(kMinimumButtonFontSize);
        button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
        button->titleLabel()->setTextAlignment(TextAlignment::Center);
        button->titleLabel()->setShadowOffset({0, -1});
        button->setBackgroundColor(Color::clear());
        button->setTag(int(i) + 1);
        button->setBackgroundImage(buttonImage(record.color));
        button->setTitle(record.title);
        button->setTitleColor(Color::white());
        button->setTitleShadowColor(Color::black());
        button->setAccessibilityLabel(record.title);
        int tag = int(i) + 1;
        button->onTouchUpInside([weak, tag] {
            if (auto alert = weak.lock()) alert->buttonClicked(tag);
        });
        view_->addSubview(button);
        if (!opensPair) height_ += kButtonRowStep;
    }
}

void CustomBlockAlertView::show() {
    if (used_) return; // shown once
    used_ = true;
    layoutButtons();
    height_ += kBottomMargin;
    Size picture = backgroundSize();
    if (height_ < picture.height) {
        // Short content: the alert takes the picture's height, buttons at the bottom.
        double shift = picture.height - height_;
        for (size_t tag = 1; tag <= blocks_.size(); ++tag)
            if (View* button = view_->viewWithTag(int(tag))) {
                Point center = button->center();
                button->setCenter({center.x, center.y + shift});
            }
        height_ = picture.height;
    }
    auto background = CustomAlertBackground::sharedInstance();
    Rect screen = background->bounds();
    const double width = view_->bounds().width();
    view_->setFrame(Rect(std::floor((screen.width() - width) * 0.5), std::floor((screen.height() - height_) * 0.5),
                         width, height_));

    auto backdrop = ImageView::make(Rect(0, 0, width, height_));
    backdrop->setImage(alertBackgroundImage());
    backdrop->setContentMode(ContentMode::ScaleToFill);
    view_->insertSubview(backdrop, 0);

    if (backgroundImage_) {
        background->setBackgroundImage(backgroundImage_);
        backgroundImage_ = nullptr;
    }
    background->setVignetteBackground(vignetteBackground_);
    background->addToMainWindow(view_);
    background->setAlpha(1);
    popupAnimation(view_);
    // A shown alert lives until it is dismissed.
    shown_ = true;
    self_ = weak_from_this().lock();
}

void CustomBlockAlertView::buttonClicked(int tag) {
    dismissWithClickedButtonIndex(tag - 1, true);
}

void CustomBlockAlertView::dismissWithClickedButtonIndex(int index, bool animated) {
    (void)animated; // removal is immediate
    auto keep = weak_from_this().lock();
    if (index >= 0 && size_t(index) < blocks_.size()) {
        // A copy: the block may add buttons or dismiss again.
        auto block = blocks_[size_t(index)].block;
        if (block) block();
    }
    CustomAlertBackground::sharedInstance()->removeView(view_);
    shown_ = false;
    self_.reset();
}

void CustomBlockAlertView::popupAnimation(const ViewPtr& view) {
    if (!view) return;
    std::weak_ptr<View> weak = view;
    auto scaleTo = [weak](double scale) {
        return [weak, scale] {
            if (auto shown = weak.lock()) shown->setTransform(AffineTransform::scale(scale, scale));
        };
    };
    View::animate(0, scaleTo(0.5), [scaleTo](bool) {
        View::animate(kPopDuration, scaleTo(1.2), [scaleTo](bool) {
            View::animate(kPopDuration, scaleTo(0.9),
                          [scaleTo](bool) { View::animate(kPopDuration, scaleTo(1.0), [](bool) { postFinished(); }); });
        });
    });
}

void CustomBlockAlertView::horizontalAnimationShow(const ViewPtr& view) {
    if (!view) return;
    auto background = CustomAlertBackground::sharedInstance();
    const double targetY = std::floor(background->bounds().height() * 0.5) + 20;
    std::weak_ptr<View> weak = view;
    std::weak_ptr<CustomAlertBackground> weakBackground = background;
    View::animate(
        0.4, 0, AnimationOptions{.allowUserInteraction = true},
        [weak, weakBackground, targetY] {
            if (auto window = weakBackground.lock()) window->setAlpha(1);
            if (auto shown = weak.lock()) shown->setCenter({shown->center().x, targetY});
        },
        [weak](bool) {
            View::animate(
                0.1,
                [weak] {
                    if (auto shown = weak.lock()) shown->setCenter({shown->center().x, shown->center().y - 20});
                },
                [](bool) { postFinished(); });
        });
}

} // namespace kavo
