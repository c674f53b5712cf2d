#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"

#include <cstdint>
#include <memory>

namespace kavo {

// The feedback sheet: one line, sent as typed to the administrators' account as a
// private message; only an empty text is refused. Nothing is stored and no answer is
// awaited: the thanks show as soon as the line is queued. One shared sheet.
class SendAdminView : public CustomUIActionSheetViewController, public platform::ui::TextFieldDelegate {
public:
    static constexpr int32_t kAdministratorId = 5;
    static const std::shared_ptr<SendAdminView>& getInstance();
    SendAdminView();
    ~SendAdminView() override;
    void viewDidLoad() override;
    // Slides in, gives the field the keyboard and lifts the panel to its typing place.
    void viewWillAppear(bool animated) override;
    // The send button (which Return in the field presses): closes; then sends a text that
    // is not empty and thanks the player.
    void doSendMail();
    // Empties the field and closes.
    void onCancel();
    // Empties the field and gives it the keyboard.
    void clearText();
    int32_t sendType() const { return sendType_; }
    void setSendType(int32_t type) { sendType_ = type; }
    const std::shared_ptr<platform::ui::Label>& lblTitle() const { return lblTitle_; }
    void setLblTitle(std::shared_ptr<platform::ui::Label> label) { lblTitle_ = std::move(label); }
    const std::shared_ptr<platform::ui::TextField>& txtContent() const { return txtContent_; }

    void didBeginEditing(platform::ui::TextField& field) override;

private:
    void liftPanel();

    std::shared_ptr<platform::ui::TextField> txtContent_;
    std::shared_ptr<platform::ui::Label> lblTitle_;
    int32_t sendType_ = 0;
};

} // namespace kavo
