#pragma once

#include "app/Text.h"
#include "app/Util.h"
#include "platform/ui/Button.h"
#include "platform/ui/Color.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <string_view>

// Small helpers the lobby's screens and sheets build their layouts with, beside the
// shared `scaled` and `text`. Rectangles are given for the phone and go through the
// tablet rule; font sizes are phone sizes, doubled on a tablet.
namespace kavo::lobby {

using kavo::scaled;
using kavo::text;

double fontSize(double phoneSize);
// A named picture, or nullptr (drawn as a placeholder box).
platform::ui::ImagePtr image(std::string_view name);

// A clear label with its identifier, added to `parent`.
std::shared_ptr<platform::ui::Label>
addLabel(const platform::ui::ViewPtr& parent, platform::ui::Rect phoneRect, const std::string& id,
         const std::string& text, double phoneFontSize = 12, bool bold = true,
         platform::ui::Color color = platform::ui::Color::white(),
         platform::ui::TextAlignment alignment = platform::ui::TextAlignment::Center);
// A button with the menu-button picture and a title (empty: no title).
std::shared_ptr<platform::ui::Button> addButton(const platform::ui::ViewPtr& parent, platform::ui::Rect phoneRect,
                                                const std::string& id, const std::string& title = {});
// A white rounded field with a placeholder.
std::shared_ptr<platform::ui::TextField> addField(const platform::ui::ViewPtr& parent, platform::ui::Rect phoneRect,
                                                  const std::string& id, const std::string& placeholder = {});
// The dark rounded box of a sheet's panel.
platform::ui::ViewPtr addPanelBox(const platform::ui::ViewPtr& parent, platform::ui::Rect phoneRect,
                                  const std::string& id);

} // namespace kavo::lobby
