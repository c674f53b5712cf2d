#pragma once

#include "app/EscapeTarget.h"
#include "app/LanguageTexts.h"
#include "app/ReturnTarget.h"
#include "platform/ui/Button.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

#include <functional>
#include <string>

namespace kavo {

// A panel that opens over a screen. The sheet's own view covers the whole screen and is
// otherwise transparent; its visible panel (actionSheetView) slides to the middle when
// the sheet appears and slides down, then the sheet's view is removed, when it closes.
// The top bar's back button is hidden while a sheet is up.
//
// Showing: the owner adds `sheet->view()` to its own view and calls
// `sheet->viewWillAppear(animated)`. Closing: `slideOut()`.
class CustomUIActionSheetViewController : public platform::ui::ViewController,
                                          public EscapeTarget,
                                          public ReturnTarget {
public:
    // The name of the panel's animation whose end removes the sheet's view.
    static constexpr const char* RemoveAnimationName = "removeFromSuperviewWithAnimation";
    static constexpr const char* PresentAnimationName = "presentWithSuperview";

    CustomUIActionSheetViewController() = default;
    // `nibName` names the panel's layout; on a tablet it becomes "<nibName>-iPad".
    explicit CustomUIActionSheetViewController(const std::string& nibName);

    const std::string& nibName() const { return nibName_; }
    const platform::ui::ViewPtr& actionSheetView() const { return actionSheetView_; }
    void setActionSheetView(platform::ui::ViewPtr view) { actionSheetView_ = std::move(view); }

    // Sets the bound language texts again, draws the default button bold (the buttons
    // beside it regular), then the platform's, then slideIn. Subclasses that override it
    // call this one.
    void viewWillAppear(bool animated) override;
    // Hides the back button, makes the sheet full-screen and moves the panel from y 30 to
    // the vertical middle of the screen.
    virtual void slideIn();
    // Moves the panel down to 30 points above the bottom, removes the sheet's view when
    // that ends, and shows the back button again at once unless the screen underneath
    // is one that never shows it (log-in, game grid, Caro table).
    virtual void slideOut();
    // Removes the sheet's view when `name` is the closing animation's.
    virtual void animationDidStop(const std::string& name, bool finished);
    // From slideOut until the sheet shows again: a closing sheet is no longer one Escape
    // closes.
    bool isClosing() const { return closing_; }
    // Escape slides the sheet out as its close button does; a sheet already sliding out is
    // no longer open, and leaves both keys to what lies under it.
    bool isOpen() const override { return !closing_; }
    EscapeAnswer closeItself() override;
    // The button Return presses while the sheet is the topmost thing shown and no field of
    // it has the focus, or its last field has it (its OK, send or join; the only button of a
    // sheet that shows a result). None: Return does nothing there but what its fields do.
    const std::shared_ptr<platform::ui::Button>& defaultButton() const override { return defaultButton_; }
    void setDefaultButton(std::shared_ptr<platform::ui::Button> button) { defaultButton_ = std::move(button); }

    // The sheet's full-screen size on this device.
    static platform::ui::Rect screenRect();
    // Runs the closing animation to y = view height - 30 and removes the sheet's view at
    // its end, unless the sheet was shown again meanwhile. Shared by both bases.
    static void animateClosing(platform::ui::ViewController& sheet, const platform::ui::ViewPtr& panel,
                               const unsigned& showCount,
                               std::function<void(const std::string& name, bool finished)> didStop);

protected:
    // The panel's texts from the language table: a sheet made once and shown again binds
    // them here as it builds its panel, so each showing reads the language in force.
    LanguageTexts& languageTexts() { return languageTexts_; }

private:
    void markDefaultButton() const;

    std::string nibName_;
    platform::ui::ViewPtr actionSheetView_;
    LanguageTexts languageTexts_;
    std::shared_ptr<platform::ui::Button> defaultButton_;
    // Counts the shows, so a close that is still animating never removes a newer show.
    unsigned showCount_ = 0;
    bool closing_ = false;
};

// The twin used by the lottery panel: the panel rises from the bottom edge and ends flush
// with it. isSliding makes a second slideIn without a slideOut between (and a slideOut of
// a closed panel) do nothing.
class CustomUIActionSheetViewController2 : public platform::ui::ViewController, public EscapeTarget {
public:
    CustomUIActionSheetViewController2() = default;
    explicit CustomUIActionSheetViewController2(const std::string& nibName);

    const std::string& nibName() const { return nibName_; }
    const platform::ui::ViewPtr& actionSheetView() const { return actionSheetView_; }
    void setActionSheetView(platform::ui::ViewPtr view) { actionSheetView_ = std::move(view); }
    bool isSliding() const { return isSliding_; }
    void setIsSliding(bool sliding) { isSliding_ = sliding; }

    // The platform's, clears isSliding, then slideIn.
    void viewWillAppear(bool animated) override;
    virtual void slideIn();
    // Closes as the other sheets do, the back button as the top screen shows it.
    virtual void slideOut();
    virtual void animationDidStop(const std::string& name, bool finished);
    // Escape slides the panel out while it is up.
    bool isOpen() const override { return isSliding_; }
    EscapeAnswer closeItself() override;

private:
    std::string nibName_;
    platform::ui::ViewPtr actionSheetView_;
    bool isSliding_ = false;
    unsigned showCount_ = 0;
};

} // namespace kavo
