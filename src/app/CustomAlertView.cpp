#include "app/CustomAlertView.h"

namespace kavo {

std::shared_ptr<CustomAlertView> CustomAlertView::make(const std::string& title, const std::string& message,
                                                       platform::ui::AlertViewDelegate* delegate,
                                                       const std::string& cancelButtonTitle,
                                                       const std::vector<std::string>& otherButtonTitles) {
    return std::make_shared<CustomAlertView>(title, message, delegate, cancelButtonTitle, otherButtonTitles);
}

} // namespace kavo
