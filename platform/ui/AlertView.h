#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::ui {

class AlertView;

// Told what happens to an alert; every call has an empty default.
class AlertViewDelegate {
public:
    virtual ~AlertViewDelegate() = default;
    // A button was pressed (not called for dismissWithClickedButtonIndex from code).
    virtual void clickedButtonAtIndex(AlertView& alert, int index) { (void)alert, (void)index; }
    virtual void willPresent(AlertView& alert) { (void)alert; }
    virtual void didPresent(AlertView& alert) { (void)alert; }
    virtual void willDismissWithButtonIndex(AlertView& alert, int index) { (void)alert, (void)index; }
    virtual void didDismissWithButtonIndex(AlertView& alert, int index) { (void)alert, (void)index; }
    // The button Escape presses on an alert without a cancel button; -1 (the default):
    // none, the alert waits for a click.
    virtual int escapeButtonIndex(AlertView& alert) { return (void)alert, -1; }
};

enum class AlertViewStyle { Default, SecureTextInput, PlainTextInput, LoginAndPasswordInput };

// A modal message with buttons. Button indexes: the cancel button is 0 when one is
// given, then the other buttons in the order given or added. show() puts the alert, a
// rounded dark panel with title, message and a row (two buttons) or column of real
// Buttons, in a window of the alert level (OverlayStack): several alerts queue and only
// the newest is on screen. Pressing a button calls clickedButtonAtIndex, then
// willDismiss and didDismiss with its index, and takes the alert's window away.
// dismissWithClickedButtonIndex from code makes the same dismissal calls (without the
// click). All of this happens at once, animated or not. A shown alert keeps itself alive.
class AlertView : public View {
public:
    AlertView(const std::string& title, const std::string& message, AlertViewDelegate* delegate,
              const std::string& cancelButtonTitle, const std::vector<std::string>& otherButtonTitles);
    ~AlertView() override;
    static std::shared_ptr<AlertView> make(const std::string& title, const std::string& message,
                                           AlertViewDelegate* delegate = nullptr,
                                           const std::string& cancelButtonTitle = {},
                                           const std::vector<std::string>& otherButtonTitles = {});

    const std::string& title() const { return title_; }
    void setTitle(const std::string& title) { title_ = title; }
    const std::string& message() const { return message_; }
    void setMessage(const std::string& message) { message_ = message; }
    AlertViewDelegate* delegate() const { return delegate_; }
    void setDelegate(AlertViewDelegate* delegate) { delegate_ = delegate; }

    // Returns the new button's index.
    int addButtonWithTitle(const std::string& title);
    int numberOfButtons() const { return int(buttonTitles_.size()); }
    // Empty for an index out of range.
    std::string buttonTitleAtIndex(int index) const;
    int cancelButtonIndex() const { return cancelIndex_; }
    void setCancelButtonIndex(int index) { cancelIndex_ = index; }
    // -1 when there is no other button.
    int firstOtherButtonIndex() const;
    // The button Return presses, which the alert draws bold: the first other button (its
    // OK), else the cancel button of a notice that has only that one; -1 without buttons.
    int defaultButtonIndex() const;

    AlertViewStyle alertViewStyle() const { return style_; }
    void setAlertViewStyle(AlertViewStyle style);
    // The text fields of the input styles (nullptr when there is none at that index).
    std::shared_ptr<TextField> textFieldAtIndex(int index) const;

    void show();
    void dismissWithClickedButtonIndex(int index, bool animated);
    bool isVisible() const { return shown_; }
    // The button of an index while shown (nullptr otherwise).
    std::shared_ptr<Button> buttonAtIndex(int index) const;

    // Presses the button of that index as a tap on it does: the delegate is told, then the
    // alert goes. Every press comes here (a tap, and a key that answers an alert).
    // Nothing for an index without a button or an alert not shown.
    void pressButton(int index);

    // Alerts up now, oldest first (the last one is on screen).
    static std::vector<std::shared_ptr<AlertView>> visibleAlerts();

    static constexpr double width() { return 284; }

private:
    void build();

    std::string title_;
    std::string message_;
    AlertViewDelegate* delegate_ = nullptr;
    std::vector<std::string> buttonTitles_;
    int cancelIndex_ = -1;
    AlertViewStyle style_ = AlertViewStyle::Default;
    std::vector<std::shared_ptr<TextField>> fields_;
    std::vector<std::shared_ptr<Button>> buttons_;
    bool shown_ = false;
    bool dismissing_ = false;
};

} // namespace platform::ui
