#include "lobby/LobbyLayout.h"

#include "app/Text.h"
#include "app/Util.h"

#include <algorithm>

namespace kavo::lobby {

namespace ui = platform::ui;

double fontSize(double phoneSize) {
    return phoneSize * Util::iPad();
}

ui::ImagePtr image(std::string_view name) {
    return name.empty() ? nullptr : Util::getImageWithName(std::string(name));
}

std::shared_ptr<ui::Label> addLabel(const ui::ViewPtr& parent, ui::Rect phoneRect, const std::string& id,
                                    const std::string& text, double phoneFontSize, bool bold, ui::Color color,
                                    ui::TextAlignment alignment) {
    auto label = ui::Label::make(scaled(phoneRect), text);
    label->setAccessibilityIdentifier(id);
    label->setBackgroundColor(ui::Color::clear());
    label->setOpaque(false);
    label->setTextColor(color);
    label->setTextAlignment(alignment);
    const double size = fontSize(phoneFontSize);
    label->setFont(bold ? ui::Font::boldSystem(size) : ui::Font::system(size));
    // Longer translations shrink to a readable size, then wrap, rather than run out of
    // their box.
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumFontSize(std::max(9.0, size * 0.6));
    label->setWrapsWhenShrunk(true);
    parent->addSubview(label);
    return label;
}

std::shared_ptr<ui::Button> addButton(const ui::ViewPtr& parent, ui::Rect phoneRect, const std::string& id,
                                      const std::string& title) {
    auto button = ui::Button::make(scaled(phoneRect));
    button->setAccessibilityIdentifier(id);
    button->setShowsTouchWhenHighlighted(true);
    button->setBackgroundImage(image("i_img_menu_backgroundbutton.png"));
    if (!title.empty()) {
        button->setTitle(title);
        button->setTitleColor(ui::Color::white());
        button->titleLabel()->setFont(ui::Font::boldSystem(fontSize(12)));
        button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
        button->titleLabel()->setMinimumFontSize(fontSize(7));
    }
    parent->addSubview(button);
    return button;
}

std::shared_ptr<ui::TextField> addField(const ui::ViewPtr& parent, ui::Rect phoneRect, const std::string& id,
                                        const std::string& placeholder) {
    auto field = ui::TextField::make(scaled(phoneRect));
    field->setAccessibilityIdentifier(id);
    field->setBorderStyle(ui::TextBorderStyle::RoundedRect);
    field->setBackgroundColor(ui::Color::white());
    field->setFont(ui::Font::system(fontSize(13)));
    field->setPlaceholder(placeholder);
    parent->addSubview(field);
    return field;
}

ui::ViewPtr addPanelBox(const ui::ViewPtr& parent, ui::Rect phoneRect, const std::string& id) {
    auto box = ui::View::make(scaled(phoneRect));
    box->setAccessibilityIdentifier(id);
    // Opaque: the list under a sheet would show through as a ghost beside the box's controls.
    box->setBackgroundColor(ui::Color::rgba(18, 38, 64));
    box->layer().setCornerRadius(fontSize(8));
    box->layer().setBorderWidth(1);
    box->layer().setBorderColor(ui::Color::rgba(240, 190, 40));
    parent->addSubview(box);
    return box;
}

} // namespace kavo::lobby
