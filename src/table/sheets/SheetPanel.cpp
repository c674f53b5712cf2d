#include "table/sheets/SheetPanel.h"

#include "app/Util.h"
#include "platform/ui/Font.h"

namespace kavo {

std::shared_ptr<platform::ui::View> SheetPanel::build(platform::ui::View& sheetView, platform::ui::Rect frame,
                                                      const std::string& title) {
    auto panel = platform::ui::View::make(Util::changeRectFromRect(frame));
    panel->setBackgroundColor(platform::ui::Color::rgba(30, 40, 60, 0.95));
    panel->layer().setCornerRadius(8);
    panel->setAccessibilityIdentifier("actionSheetView");
    sheetView.addSubview(panel);
    auto label = addLabel(*panel, {10, 6, frame.width() - 20, 22}, "lblTitle", title);
    label->setFont(platform::ui::Font::boldSystem(15 * Util::iPad()));
    return panel;
}

std::shared_ptr<platform::ui::Label> SheetPanel::titleOf(const platform::ui::View& panel) {
    for (const auto& child : panel.subviews())
        if (child->accessibilityIdentifier() == "lblTitle")
            return std::dynamic_pointer_cast<platform::ui::Label>(child);
    return nullptr;
}

std::shared_ptr<platform::ui::Button> SheetPanel::addButton(platform::ui::View& panel, platform::ui::Rect frame,
                                                            const std::string& identifier, const std::string& title,
                                                            std::function<void()> action) {
    auto button = platform::ui::Button::make(Util::changeRectFromRect(frame), platform::ui::ButtonType::RoundedRect);
    button->setAccessibilityIdentifier(identifier);
    button->setTitle(title);
    button->onTouchUpInside(std::move(action));
    panel.addSubview(button);
    return button;
}

std::shared_ptr<platform::ui::TextField> SheetPanel::addField(platform::ui::View& panel, platform::ui::Rect frame,
                                                              const std::string& identifier,
                                                              const std::string& placeholder) {
    auto field = platform::ui::TextField::make(Util::changeRectFromRect(frame));
    field->setAccessibilityIdentifier(identifier);
    field->setPlaceholder(placeholder);
    field->setBorderStyle(platform::ui::TextBorderStyle::RoundedRect);
    field->setFont(platform::ui::Font::system(14 * Util::iPad()));
    panel.addSubview(field);
    return field;
}

std::shared_ptr<platform::ui::Label> SheetPanel::addLabel(platform::ui::View& panel, platform::ui::Rect frame,
                                                          const std::string& identifier, const std::string& text) {
    auto label = platform::ui::Label::make(Util::changeRectFromRect(frame), text);
    label->setAccessibilityIdentifier(identifier);
    label->setTextColor(platform::ui::Color::white());
    label->setBackgroundColor(platform::ui::Color::clear());
    label->setFont(platform::ui::Font::system(13 * Util::iPad()));
    panel.addSubview(label);
    return label;
}

} // namespace kavo
