#include "account/ShopWidgets.h"

#include "app/Util.h"

namespace kavo::shopui {

namespace ui = platform::ui;

std::shared_ptr<ui::Button> dimmingButton(ui::Rect frame, const std::string& identifier, std::function<void()> action) {
    auto layer = ui::Button::make(frame);
    layer->setAccessibilityIdentifier(identifier);
    layer->setBackgroundColor(ui::Color::black());
    layer->setAlpha(0.8);
    layer->onTouchUpInside(std::move(action));
    return layer;
}

std::shared_ptr<ui::ImageView> image(ui::Rect frame, const std::string& imageName) {
    auto view = ui::ImageView::make(frame);
    if (!imageName.empty()) view->setImage(Util::getImageWithName(imageName));
    return view;
}

std::shared_ptr<ui::Label> label(ui::Rect frame, const std::string& text, double size, ui::Color color,
                                 ui::TextAlignment alignment, bool bold) {
    auto view = ui::Label::make(frame, text);
    view->setBackgroundColor(ui::Color::clear());
    view->setTextColor(color);
    view->setFont(bold ? ui::Font::boldSystem(size) : ui::Font::system(size));
    view->setTextAlignment(alignment);
    return view;
}

std::shared_ptr<ui::Button> button(ui::Rect frame, const std::string& identifier, const std::string& imageName,
                                   const std::string& title, std::function<void()> action) {
    auto view = ui::Button::make(frame);
    view->setAccessibilityIdentifier(identifier);
    if (!imageName.empty()) view->setBackgroundImage(Util::getImageWithName(imageName));
    if (!title.empty()) view->setTitle(title);
    // "Mua ngay" and the like read whole: drawn smaller rather than cut.
    view->titleLabel()->setAdjustsFontSizeToFitWidth(true);
    view->titleLabel()->setMinimumFontSize(fontSize(8));
    if (action) view->onTouchUpInside(std::move(action));
    return view;
}

double fontSize(double phoneSize) {
    return phoneSize * Util::iPad();
}

} // namespace kavo::shopui
