#include "app/widgets/CustomUISwitch.h"

#include "app/Resources.h"

namespace kavo {

CustomUISwitch::CustomUISwitch(platform::ui::Rect frame) : Switch(frame) {}

std::shared_ptr<CustomUISwitch> CustomUISwitch::make(platform::ui::Rect frame) {
    return std::make_shared<CustomUISwitch>(frame);
}

void CustomUISwitch::layoutSubviews() {
    // Read at every layout, so a change of language shows at the next one.
    auto& resources = Resources::getInstance();
    setOnText(resources.textWithKey("KAVO_on"));
    setOffText(resources.textWithKey("KAVO_off"));
}

} // namespace kavo
