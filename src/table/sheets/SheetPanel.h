#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"

#include <functional>
#include <memory>
#include <string>

namespace kavo {

// The parts the thin sheets and panels are built from. Frames are phone coordinates;
// on a tablet they are scaled by the tablet rule. Panel contents are placed relative
// to the panel.
class SheetPanel {
public:
    // A rounded dark panel at `frame`, added to `sheetView`, with `title` on its top
    // line (the label is identified "lblTitle").
    static std::shared_ptr<platform::ui::View> build(platform::ui::View& sheetView, platform::ui::Rect frame,
                                                     const std::string& title);
    // The title label of a panel that build() made (nullptr for another view).
    static std::shared_ptr<platform::ui::Label> titleOf(const platform::ui::View& panel);
    static std::shared_ptr<platform::ui::Button> addButton(platform::ui::View& panel, platform::ui::Rect frame,
                                                           const std::string& identifier, const std::string& title,
                                                           std::function<void()> action);
    static std::shared_ptr<platform::ui::TextField> addField(platform::ui::View& panel, platform::ui::Rect frame,
                                                             const std::string& identifier,
                                                             const std::string& placeholder);
    static std::shared_ptr<platform::ui::Label> addLabel(platform::ui::View& panel, platform::ui::Rect frame,
                                                         const std::string& identifier, const std::string& text);
};

} // namespace kavo
