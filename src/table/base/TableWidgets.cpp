#include "table/base/TableWidgets.h"

#include "app/Util.h"
#include "app/widgets/ColoredProgressView.h"
#include "platform/ui/Font.h"

#include <algorithm>

namespace kavo {

using platform::ui::Button;
using platform::ui::ImageView;

const platform::ui::Color kTurnBarFull = platform::ui::Color::rgba(27, 175, 57);

platform::ui::Rect phoneRect(double x, double y, double w, double h) {
    return Util::changeRectFromRect({x, y, w, h});
}

std::shared_ptr<ImageView> addTableImage(platform::ui::View& parent, platform::ui::Rect frame, const std::string& id,
                                         const std::string& picture) {
    auto view = ImageView::make(frame);
    view->setAccessibilityIdentifier(id);
    if (!picture.empty()) view->setImage(Util::getImageWithName(picture));
    parent.addSubview(view);
    return view;
}

std::shared_ptr<Button> addTableButton(platform::ui::View& parent, platform::ui::Rect frame, const std::string& id,
                                       const std::string& title) {
    auto made = Button::make(frame);
    made->setAccessibilityIdentifier(id);
    made->setTitle(title);
    made->titleLabel()->setFont(platform::ui::Font::boldSystem(11 * Util::iPad()));
    made->titleLabel()->setAdjustsFontSizeToFitWidth(true);
    made->titleLabel()->setMinimumFontSize(7 * Util::iPad());
    parent.addSubview(made);
    return made;
}

void showTurnTimeLeft(ColoredProgressView& bar, float left) {
    if (left > 0.6f)
        bar.setTintColor(kTurnBarFull);
    else if (left > 0.3f)
        bar.setTintColor(platform::ui::Color::orange());
    else
        bar.setTintColor(platform::ui::Color::red());
    bar.setProgress(std::max(0.0f, left));
}

} // namespace kavo
