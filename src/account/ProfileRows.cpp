#include "account/ProfileRows.h"

#include "app/Util.h"
#include "platform/ui/ImageView.h"

#include <algorithm>

namespace kavo {

namespace ui = platform::ui;

std::string RowStripe::nextImageName() {
    const bool wasSet = isAdded_;
    isAdded_ = !isAdded_;
    return wasSet ? "tap_profile_cell1.png" : "tap_profile_cell2.png";
}

void RowStripe::addImageToView(ui::View& view, ui::Size size) {
    auto stripe = ui::ImageView::make({0, 0, size.width, size.height});
    stripe->setBackgroundColor(ui::Color::clear());
    stripe->setImage(Util::getImageWithName(nextImageName()));
    view.insertSubview(stripe, 0);
}

namespace profile_rows {

std::shared_ptr<ui::Label> label(ui::Rect frame, double fontSize, ui::Color color) {
    auto made = ui::Label::make(frame);
    made->setBackgroundColor(ui::Color::clear());
    made->setTextColor(color);
    made->setFont(ui::Font::boldSystem(fontSize));
    made->setTextAlignment(ui::TextAlignment::Left);
    return made;
}

ui::Color headerColor() {
    // The header's red of 256/255 is beyond full: a colour component saturates.
    return {std::min(256.0 / 255, 1.0), 162.0 / 255, 0, 1};
}

ui::ViewPtr sectionHeader(ui::Size viewSize, ui::Size imageSize, const std::string& title, double fontSize) {
    auto header = ui::View::make({0, 0, viewSize.width, viewSize.height});
    header->setBackgroundColor(ui::Color::clear());
    auto picture = ui::ImageView::make({0, 0, imageSize.width, imageSize.height});
    picture->setImage(Util::getImageWithName("tap_profile_tieudeTaiSan.png"));
    header->addSubview(picture);
    auto caption = label({10, 0, imageSize.width - 20, imageSize.height}, fontSize, headerColor());
    caption->setText(title);
    header->addSubview(caption);
    return header;
}

} // namespace profile_rows

} // namespace kavo
