#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::ui {

class ActionSheet;

// Told what happens to an action sheet; every call has an empty default.
class ActionSheetDelegate {
public:
    virtual ~ActionSheetDelegate() = default;
    virtual void clickedButtonAtIndex(ActionSheet& sheet, int index) { (void)sheet, (void)index; }
    virtual void willPresent(ActionSheet& sheet) { (void)sheet; }
    virtual void didPresent(ActionSheet& sheet) { (void)sheet; }
    virtual void willDismissWithButtonIndex(ActionSheet& sheet, int index) { (void)sheet, (void)index; }
    virtual void didDismissWithButtonIndex(ActionSheet& sheet, int index) { (void)sheet, (void)index; }
};

// A column of choices that rises from the bottom of the screen. Button indexes: the
// destructive button first (when given), then the other buttons, then the cancel button;
// buttons added later come after those. showInView puts the sheet in a window of the
// alert level like an alert (OverlayStack); pressing a button calls clickedButtonAtIndex,
// then willDismiss and didDismiss, and takes the sheet away. A sheet never shown can also
// serve as a plain dark panel (its background colour) that holds other views.
class ActionSheet : public View {
public:
    explicit ActionSheet(Rect frame = {});
    ActionSheet(const std::string& title, ActionSheetDelegate* delegate, const std::string& cancelButtonTitle,
                const std::string& destructiveButtonTitle, const std::vector<std::string>& otherButtonTitles);
    static std::shared_ptr<ActionSheet> make(Rect frame = {});
    static std::shared_ptr<ActionSheet> make(const std::string& title, ActionSheetDelegate* delegate,
                                             const std::string& cancelButtonTitle = {},
                                             const std::string& destructiveButtonTitle = {},
                                             const std::vector<std::string>& otherButtonTitles = {});

    const std::string& title() const { return title_; }
    void setTitle(const std::string& title) { title_ = title; }
    ActionSheetDelegate* delegate() const { return delegate_; }
    void setDelegate(ActionSheetDelegate* delegate) { delegate_ = delegate; }

    int addButtonWithTitle(const std::string& title);
    int numberOfButtons() const { return int(buttonTitles_.size()); }
    std::string buttonTitleAtIndex(int index) const;
    int cancelButtonIndex() const { return cancelIndex_; }
    void setCancelButtonIndex(int index) { cancelIndex_ = index; }
    int destructiveButtonIndex() const { return destructiveIndex_; }
    void setDestructiveButtonIndex(int index) { destructiveIndex_ = index; }
    int firstOtherButtonIndex() const;

    // The view says where the sheet belongs; it always rises from the screen's bottom.
    void showInView(View* view);
    void dismissWithClickedButtonIndex(int index, bool animated);
    bool isVisible() const { return shown_; }
    std::shared_ptr<Button> buttonAtIndex(int index) const;

private:
    void build();
    void pressButton(int index);

    std::string title_;
    ActionSheetDelegate* delegate_ = nullptr;
    std::vector<std::string> buttonTitles_;
    int cancelIndex_ = -1;
    int destructiveIndex_ = -1;
    std::vector<std::shared_ptr<Button>> buttons_;
    ViewPtr titleLabel_;
    bool shown_ = false;
    bool dismissing_ = false;
};

} // namespace platform::ui
