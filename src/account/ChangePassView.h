#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/TextField.h"

#include <memory>

namespace kavo {

// The change-password sheet, made anew each time it is opened.
class ChangePassView : public CustomUIActionSheetViewController {
public:
    ChangePassView();

    void viewDidLoad() override;
    // Sends the old and the new password (1003) when the new one is typed twice alike.
    void btnOK_Clicked();
    void btnCancel_Clicked() { slideOut(); }
    const std::shared_ptr<platform::ui::TextField>& txfOldPass() const { return txfOldPass_; }
    const std::shared_ptr<platform::ui::TextField>& txfNewPass() const { return txfNewPass_; }
    const std::shared_ptr<platform::ui::TextField>& txfRetypePass() const { return txfRetypePass_; }

private:
    std::shared_ptr<platform::ui::TextField> txfOldPass_;
    std::shared_ptr<platform::ui::TextField> txfNewPass_;
    std::shared_ptr<platform::ui::TextField> txfRetypePass_;
};

} // namespace kavo
