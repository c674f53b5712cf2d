#pragma once

#include "platform/ui/Switch.h"

#include <memory>

namespace kavo {

// An on/off switch whose captions are the client's own words for on and off
// ("KAVO_on", "KAVO_off"), read again at every layout so they follow the language.
class CustomUISwitch : public platform::ui::Switch {
public:
    explicit CustomUISwitch(platform::ui::Rect frame = {});
    static std::shared_ptr<CustomUISwitch> make(platform::ui::Rect frame = {});

    void layoutSubviews() override;
};

} // namespace kavo
