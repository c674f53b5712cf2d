#pragma once

#include "platform/ui/ScrollView.h"

#include <memory>

namespace kavo {

// A scroll view that also hands a tap on to the responder behind it (the Caro board holds
// its grid in one, so a tap on a cell reaches the board while drags still scroll). The end
// of a drag reaches only the scroll view.
class CustomUIScrollView : public platform::ui::ScrollView {
public:
    explicit CustomUIScrollView(platform::ui::Rect frame = {});
    static std::shared_ptr<CustomUIScrollView> make(platform::ui::Rect frame = {});

    void touchesEnded(const std::vector<platform::ui::Touch>& touches) override;
};

} // namespace kavo
