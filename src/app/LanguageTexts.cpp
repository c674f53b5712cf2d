#include "app/LanguageTexts.h"

#include "app/Resources.h"
#include "platform/foundation/Text.h"

namespace kavo {

namespace ui = platform::ui;

void LanguageTexts::text(const std::shared_ptr<ui::Label>& label, std::string key, bool upperCase) {
    bind({label, std::move(key), upperCase ? Kind::UpperText : Kind::Text});
}

void LanguageTexts::title(const std::shared_ptr<ui::Button>& button, std::string key) {
    bind({button, std::move(key), Kind::Title});
}

void LanguageTexts::placeholder(const std::shared_ptr<ui::TextField>& field, std::string key) {
    bind({field, std::move(key), Kind::Placeholder});
}

void LanguageTexts::bind(Binding binding) {
    set(binding);
    bindings_.push_back(std::move(binding));
}

void LanguageTexts::apply() const {
    for (const Binding& binding : bindings_)
        set(binding);
}

void LanguageTexts::set(const Binding& binding) {
    auto view = binding.view.lock();
    if (!view) return;
    const std::string words = Resources::getInstance().textWithKey(binding.key);
    switch (binding.kind) {
    case Kind::Text:
        static_cast<ui::Label&>(*view).setText(words);
        break;
    case Kind::UpperText:
        static_cast<ui::Label&>(*view).setText(platform::toUpper(words));
        break;
    case Kind::Title:
        static_cast<ui::Button&>(*view).setTitle(words);
        break;
    case Kind::Placeholder:
        static_cast<ui::TextField&>(*view).setPlaceholder(words);
        break;
    }
}

} // namespace kavo
