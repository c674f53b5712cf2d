#include "app/widgets/CustomTextField.h"

#include "platform/ui/Font.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/Image.h"

#include <cmath>

namespace kavo {

using platform::ui::Color;
using platform::ui::Font;
using platform::ui::GraphicsContext;
using platform::ui::Point;
using platform::ui::Rect;

CustomTextField::CustomTextField(Rect frame) : KeyInputView(frame), xDictEmotions_(EmoticonText::currentTable()) {
    setBackgroundColor(Color::clear());
    setOpaque(false);
    // Drawn by draw() behind the text: a picture subview would cover what draw() paints.
    background_ = platform::ui::Image::named("textbox400.png");
    setReturnKeyType(platform::ui::ReturnKeyType::Done);
    setAutocorrectionType(platform::ui::AutocorrectionType::No);
    setAutocapitalizationType(platform::ui::AutocapitalizationType::None);
}

std::shared_ptr<CustomTextField> CustomTextField::make(Rect frame) {
    return std::make_shared<CustomTextField>(frame);
}

std::optional<std::string> CustomTextField::typedText() const {
    if (text_.empty()) return std::nullopt;
    return text_;
}

void CustomTextField::setText(const std::string& text) {
    text_ = text;
    setNeedsDisplay();
}

void CustomTextField::insertText(const std::string& text) {
    if (text == "\n") {
        resignFirstResponder(); // clears the editing flag
        if (parentViewController_) parentViewController_->endEditing(*this);
        return;
    }
    text_ += text;
    setNeedsDisplay();
}

void CustomTextField::deleteBackward() {
    if (text_.empty()) return;
    // One whole character: never leave half of a UTF-8 sequence behind.
    size_t cut = text_.size() - 1;
    while (cut > 0 && (static_cast<unsigned char>(text_[cut]) & 0xC0) == 0x80)
        --cut;
    text_.erase(cut);
    setNeedsDisplay();
}

void CustomTextField::touchesBegan(const std::vector<platform::ui::Touch>&) {
    if (isBecomeFirstResponder_) return;
    isBecomeFirstResponder_ = true;
    becomeFirstResponder();
    if (parentViewController_) parentViewController_->beginEdit(*this);
}

bool CustomTextField::resignFirstResponder() {
    isBecomeFirstResponder_ = false;
    return KeyInputView::resignFirstResponder();
}

void CustomTextField::draw(GraphicsContext& context) {
    if (background_) context.drawImage(background_, bounds());
    const Font font = Font::boldSystem(16);
    const double lineHeight = std::trunc(Font::system(16).measure("a").height);
    xLastpos_ = Point{10, std::trunc((frame().size.height - lineHeight) * 0.5)};
    EmoticonText::split(
        text_, xDictEmotions_,
        [&](const std::string& plain) {
            context.drawTextAt(plain, xLastpos_, font, Color::black());
            xLastpos_.x += font.measure(plain).width;
        },
        [&](const std::string&, const std::string& imageName) {
            auto image = platform::ui::Image::named(imageName);
            if (image) context.drawImage(image, Rect{xLastpos_, image->size()});
            xLastpos_.x += (image ? image->width() : 0) + 3;
        });
}

} // namespace kavo
