#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/TextField.h"

#include <cstdint>
#include <memory>

namespace kavo {

// The feedback sheet: one line that goes to the administrators as a private message
// to their account.
class SendAdminView : public CustomUIActionSheetViewController {
public:
    static constexpr int32_t kAdministratorId = 5;
    static const std::shared_ptr<SendAdminView>& getInstance();
    SendAdminView();

    void viewDidLoad() override;
    // Sends the typed line (nothing for an empty one), thanks the player and closes.
    void doSendMail();
    // Empties the field and closes.
    void onCancel();
    const std::shared_ptr<platform::ui::TextField>& txtContent() const { return txtContent_; }

private:
    std::shared_ptr<platform::ui::TextField> txtContent_;
};

} // namespace kavo
