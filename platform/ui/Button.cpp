#include "platform/ui/Button.h"

#include "platform/ui/GraphicsContext.h"
#include "platform/ui/ShapeDrawing.h"

#include <algorithm>

namespace platform::ui {

Button::Button(Rect frame, ButtonType type) : Control(frame), type_(type) {
    titleLabel_ = Label::make();
    titleLabel_->setFont(Font::boldSystem(15));
    titleLabel_->setTextAlignment(TextAlignment::Center);
    titleLabel_->setLineBreakMode(LineBreakMode::MiddleTruncation);
    imageView_ = ImageView::make();
    imageView_->setContentMode(ContentMode::Center);
    addSubview(imageView_);
    addSubview(titleLabel_);
    refresh();
}

std::shared_ptr<Button> Button::make(Rect frame, ButtonType type) {
    return std::make_shared<Button>(frame, type);
}

template <class T> T Button::lookup(const std::map<unsigned, T>& values, ControlState state, T fallback) {
    auto find = [&](ControlState s) -> const T* {
        auto it = values.find(unsigned(s));
        return it == values.end() ? nullptr : &it->second;
    };
    if (const T* exact = find(state)) return *exact;
    // A combined state falls back on its single flags, then on Normal.
    for (ControlState flag : {ControlState::Highlighted, ControlState::Disabled, ControlState::Selected})
        if (hasFlag(state, flag))
            if (const T* value = find(flag)) return *value;
    if (const T* normal = find(ControlState::Normal)) return *normal;
    return fallback;
}

void Button::setTitle(const std::string& title, ControlState state) {
    titles_[unsigned(state)] = title;
    refresh();
}

void Button::setTitleColor(Color color, ControlState state) {
    titleColors_[unsigned(state)] = color;
    refresh();
}

void Button::setTitleShadowColor(Color color, ControlState state) {
    titleShadowColors_[unsigned(state)] = color;
    refresh();
}

void Button::setImage(ImagePtr image, ControlState state) {
    images_[unsigned(state)] = std::move(image);
    refresh();
}

void Button::setBackgroundImage(ImagePtr image, ControlState state) {
    backgroundImages_[unsigned(state)] = std::move(image);
    refresh();
}

std::string Button::titleForState(ControlState state) const {
    return lookup<std::string>(titles_, state, {});
}

Color Button::titleColorForState(ControlState state) const {
    Color color = lookup<Color>(titleColors_, state, defaultTitleColor());
    // A disabled button without a colour of its own shows its title faded.
    if (hasFlag(state, ControlState::Disabled) && !titleColors_.count(unsigned(ControlState::Disabled)))
        color = color.withAlpha(color.a * 0.5);
    return color;
}

Color Button::titleShadowColorForState(ControlState state) const {
    return lookup<Color>(titleShadowColors_, state, Color::clear());
}

ImagePtr Button::imageForState(ControlState state) const {
    return lookup<ImagePtr>(images_, state, nullptr);
}

ImagePtr Button::backgroundImageForState(ControlState state) const {
    return lookup<ImagePtr>(backgroundImages_, state, nullptr);
}

Color Button::defaultTitleColor() const {
    if (type_ == ButtonType::RoundedRect) return isHighlighted() ? Color::white() : Color::rgba(50, 79, 133);
    return Color::white();
}

void Button::setContentEdgeInsets(const EdgeInsets& insets) {
    contentInsets_ = insets;
    refresh();
}

void Button::setTitleEdgeInsets(const EdgeInsets& insets) {
    titleInsets_ = insets;
    refresh();
}

void Button::setImageEdgeInsets(const EdgeInsets& insets) {
    imageInsets_ = insets;
    refresh();
}

void Button::setShowsTouchWhenHighlighted(bool shows) {
    showsTouch_ = shows;
    setNeedsDisplay();
}

int Button::onTouchUpInside(std::function<void()> action) {
    return addTarget(ControlEvent::TouchUpInside, std::move(action));
}

std::string Button::text() const {
    return titleLabel_->text();
}

void Button::stateChanged() {
    refresh();
}

void Button::refresh() {
    // A title set straight on the label (with no titles per state) is left alone.
    if (!titles_.empty()) titleLabel_->setText(currentTitle());
    titleLabel_->setTextColor(currentTitleColor());
    Color shadow = titleShadowColorForState(state());
    titleLabel_->setShadowColor(shadow);
    imageView_->setImage(currentImage());
    setNeedsLayout();
    layoutSubviews();
    setNeedsDisplay();
}

bool Button::drawsPlaceholderBox() const {
    if (currentBackgroundImage()) return false;
    if (type_ == ButtonType::RoundedRect) return true;
    return !currentImage() && !text().empty() && backgroundColor().isClear();
}

Size Button::sizeThatFits(Size) const {
    Size title = titleLabel_->text().empty() ? Size{} : titleLabel_->sizeThatFits({});
    ImagePtr image = currentImage();
    Size imageSize = image ? image->size() : Size{};
    double width = title.width + imageSize.width + contentInsets_.left + contentInsets_.right;
    double height = std::max(title.height, imageSize.height) + contentInsets_.top + contentInsets_.bottom;
    if (type_ == ButtonType::RoundedRect) {
        width += 24;
        height = std::max(height + 8, 37.0);
    }
    if (ImagePtr background = currentBackgroundImage()) {
        width = std::max(width, background->size().width);
        height = std::max(height, background->size().height);
    }
    return {width, height};
}

void Button::layoutSubviews() {
    Rect content = insetRect(bounds(), contentInsets_);
    ImagePtr image = currentImage();
    Size imageSize = image ? Size{std::min(image->size().width, std::max(0.0, content.width())),
                                  std::min(image->size().height, std::max(0.0, content.height()))}
                           : Size{};
    std::string title = titleLabel_->text();
    Size titleSize = title.empty() ? Size{} : titleLabel_->sizeThatFits({});
    double room = std::max(0.0, content.width() - imageSize.width);
    titleSize.width = std::min(titleSize.width, room);
    titleSize.height = std::min(titleSize.height, std::max(0.0, content.height()));
    // A title that may take a second line once shrunk needs the button's height for it.
    if (titleLabel_->wrapsWhenShrunk() && titleLabel_->adjustsFontSizeToFitWidth())
        titleSize.height = std::max(0.0, content.height());

    double total = imageSize.width + titleSize.width;
    double x = content.midX() - total / 2;
    switch (contentHorizontalAlignment()) {
    case ContentHorizontalAlignment::Left:
    case ContentHorizontalAlignment::Fill:
        x = content.minX();
        break;
    case ContentHorizontalAlignment::Right:
        x = content.maxX() - total;
        break;
    case ContentHorizontalAlignment::Center:
        break;
    }
    if (contentHorizontalAlignment() == ContentHorizontalAlignment::Fill) titleSize.width = room;
    auto top = [&](double height) {
        switch (contentVerticalAlignment()) {
        case ContentVerticalAlignment::Top:
            return content.minY();
        case ContentVerticalAlignment::Bottom:
            return content.maxY() - height;
        default:
            return content.midY() - height / 2;
        }
    };
    imageView_->setFrame(insetRect({x, top(imageSize.height), imageSize.width, imageSize.height}, imageInsets_));
    imageView_->setHidden(!image);
    titleLabel_->setFrame(
        insetRect({x + imageSize.width, top(titleSize.height), titleSize.width, titleSize.height}, titleInsets_));
    titleLabel_->setHidden(title.empty());
}

void Button::draw(GraphicsContext& context) {
    Rect b = bounds();
    bool highlighted = isHighlighted();
    if (ImagePtr background = currentBackgroundImage()) {
        context.drawImage(background, b);
        bool ownHighlight = backgroundImages_.count(unsigned(ControlState::Highlighted)) != 0;
        if (highlighted && adjustsHighlighted_ && !ownHighlight) {
            context.setFillColor(Color::black().withAlpha(0.25));
            context.fillRect(b);
        }
        if (!isEnabled() && adjustsDisabled_) {
            context.setFillColor(Color::white().withAlpha(0.35));
            context.fillRect(b);
        }
    } else if (drawsPlaceholderBox()) {
        Color fill, border;
        if (type_ == ButtonType::RoundedRect) {
            fill = highlighted ? Color::rgba(30, 100, 220) : Color::white();
            border = Color::gray();
        } else {
            fill = highlighted ? Color::rgba(70, 110, 170, 0.95) : Color::rgba(40, 48, 64, 0.85);
            border = Color::lightGray();
        }
        if (!isEnabled()) fill = fill.withAlpha(fill.a * 0.5);
        double radius = std::min(8.0, b.height() / 4);
        fillRoundedRect(context, b, radius, fill);
        strokeRoundedRect(context, b, radius, border, 1);
    }
    if (highlighted && showsTouch_) {
        double radius = std::min(30.0, std::max(b.width(), b.height()) / 2);
        context.drawRadialGradient(b.center(), radius, Color::white().withAlpha(0.8), Color::white().withAlpha(0));
    }
}

} // namespace platform::ui
