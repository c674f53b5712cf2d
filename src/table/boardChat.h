#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "app/widgets/CustomTextField.h"

#include <memory>

namespace kavo {

// The table chat sheet: one line typed and sent to everybody at the table on top.
class boardChat : public CustomUIActionSheetViewController, public CustomTextFieldOwner {
public:
    static const std::shared_ptr<boardChat>& getInstance();
    boardChat();

    void viewDidLoad() override;
    // The return key of the chat field: passes the sender on to textFieldDoneEditting.
    void endEditing(CustomTextField& sender) override;
    // Sends the typed line to the table on top (nothing for an empty line), empties
    // the field and closes the sheet.
    void textFieldDoneEditting(CustomTextField& sender);
    const std::shared_ptr<CustomTextField>& txfChat() const { return txfChat_; }

private:
    std::shared_ptr<CustomTextField> txfChat_;
};

} // namespace kavo
