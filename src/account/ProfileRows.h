#pragma once

#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace kavo {

// What the profile's tables share: the alternating row backgrounds and the section
// headers with the title picture and an orange title.
class RowStripe {
public:
    // "tap_profile_cell2.png" when the stripe was clear, "tap_profile_cell1.png" when it
    // was set; each call flips it, so consecutive cells alternate.
    std::string nextImageName();
    // A clear image view at (0, 0) of `size` with the next stripe, added under `view`'s
    // other subviews.
    void addImageToView(platform::ui::View& view, platform::ui::Size size);
    void reset() { isAdded_ = false; }
    bool isAdded() const { return isAdded_; }

private:
    bool isAdded_ = false;
};

namespace profile_rows {

// A clear, left-aligned bold label.
std::shared_ptr<platform::ui::Label> label(platform::ui::Rect frame, double fontSize,
                                           platform::ui::Color color = platform::ui::Color::white());
// A section header: the title picture `imageSize` at (0, 0), and over it the title at x 10,
// 20 points narrower than the picture, in the headers' orange.
platform::ui::ViewPtr sectionHeader(platform::ui::Size viewSize, platform::ui::Size imageSize, const std::string& title,
                                    double fontSize);
// The headers' orange: red 256/255 (full), green 162/255, blue 0.
platform::ui::Color headerColor();

} // namespace profile_rows

} // namespace kavo
