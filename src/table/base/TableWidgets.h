#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/Color.h"
#include "platform/ui/ImageView.h"

#include <memory>
#include <string>

namespace kavo {

class ColoredProgressView;

// What the table screens' layouts are built from. Main thread only.

// A frame given in phone points, converted for the device (the tablet rule).
platform::ui::Rect phoneRect(double x, double y, double w, double h);

// A picture added to `parent`, identified `id`; `picture` names its image (none: empty).
std::shared_ptr<platform::ui::ImageView> addTableImage(platform::ui::View& parent, platform::ui::Rect frame,
                                                       const std::string& id, const std::string& picture = "");
// A seat or table button added to `parent`: bold 11-point title that a long name or a
// big amount shrinks (down to 7) before it is ever cut.
std::shared_ptr<platform::ui::Button> addTableButton(platform::ui::View& parent, platform::ui::Rect frame,
                                                     const std::string& id, const std::string& title = "");

// The colour of my turn's time bar when the turn starts.
extern const platform::ui::Color kTurnBarFull;
// Shows `left` (the share of my turn's time still left) on the bar, in the colour of
// that share: full above 60 %, orange above 30 %, red below.
void showTurnTimeLeft(ColoredProgressView& bar, float left);

} // namespace kavo
