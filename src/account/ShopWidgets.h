#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/Color.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

#include <functional>
#include <memory>
#include <string>

namespace kavo::shopui {

// The pieces the shop, the top-up panels and the item panel are built from. Frames
// are given in phone points and placed as they are: callers scale them for a tablet
// (Util::changeRectFromRect) where a panel has no tablet frame of its own.

// A full-screen black layer at alpha 0.8 that runs `action` when touched.
std::shared_ptr<platform::ui::Button> dimmingButton(platform::ui::Rect frame, const std::string& identifier,
                                                    std::function<void()> action);
std::shared_ptr<platform::ui::ImageView> image(platform::ui::Rect frame, const std::string& imageName);
std::shared_ptr<platform::ui::Label> label(platform::ui::Rect frame, const std::string& text, double fontSize,
                                           platform::ui::Color color,
                                           platform::ui::TextAlignment alignment = platform::ui::TextAlignment::Left,
                                           bool bold = true);
// A button with a background picture (none when the name is empty) and a title.
std::shared_ptr<platform::ui::Button> button(platform::ui::Rect frame, const std::string& identifier,
                                             const std::string& imageName, const std::string& title,
                                             std::function<void()> action);
// The tablet scale of a font size (1 on a phone).
double fontSize(double phoneSize);

} // namespace kavo::shopui
