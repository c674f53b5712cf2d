#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Image.h"
#include "platform/ui/View.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

// A modal alert drawn from pictures: a title, a message and a row or column of picture
// buttons, each with its own action. Shown in the dimmed window of CustomAlertBackground;
// a shown alert keeps itself alive until a button or code dismisses it.
class CustomBlockAlertView : public std::enable_shared_from_this<CustomBlockAlertView> {
public:
    // Posted (no object) when an entrance animation ends.
    static constexpr const char* kFinishedAnimationsNotification = "AlertViewFinishedAnimations";

    // Layout constants (points).
    static constexpr double kBorder = 1;
    static constexpr double kFirstLine = 7;
    static constexpr double kButtonHeight = 25;
    static constexpr double kButtonRowStep = 26;
    static constexpr double kBottomMargin = 10;
    static constexpr double kMinimumButtonFontSize = 10;
    static constexpr double kLoneButtonMinimumWidth = 80;
    static constexpr double kPopDuration = 0.2;

    CustomBlockAlertView(const std::string& title, const std::string& message);
    virtual ~CustomBlockAlertView();
    CustomBlockAlertView(const CustomBlockAlertView&) = delete;
    CustomBlockAlertView& operator=(const CustomBlockAlertView&) = delete;

    // An empty title or message is left out.
    static std::shared_ptr<CustomBlockAlertView> alertWithTitle(const std::string& title, const std::string& message);

    // Buttons appear in the order added; the colour word picks "alert-<colour>-button.png".
    void addButtonWithTitle(const std::string& title, const std::string& color, std::function<void()> block);
    void addButtonWithTitle(const std::string& title, std::function<void()> block);       // red
    void setCancelButtonWithTitle(const std::string& title, std::function<void()> block); // black
    void setOKButtonWithTitle(const std::string& title, std::function<void()> block);     // red

    // Lays the buttons out, puts the alert on screen and runs its entrance.
    virtual void show();
    // Runs the block of the button at `index` (none outside the buttons), then takes the
    // alert away at once (`animated` is not used).
    virtual void dismissWithClickedButtonIndex(int index, bool animated);
    // A button's action: its tag is its index + 1.
    void buttonClicked(int tag);

    // The entrance: scale 0.5, then 1.2, 0.9 and 1.0 over kPopDuration each; posts the notification.
    static void popupAnimation(const platform::ui::ViewPtr& view);
    // Another entrance: drops to the centre with a bounce (not used by show).
    static void horizontalAnimationShow(const platform::ui::ViewPtr& view);
    static void horizontalAnimationHide(const platform::ui::ViewPtr& view) { (void)view; }

    const platform::ui::ViewPtr& view() const { return view_; }
    const platform::ui::ImagePtr& backgroundImage() const { return backgroundImage_; }
    void setBackgroundImage(platform::ui::ImagePtr image) { backgroundImage_ = std::move(image); }
    bool vignetteBackground() const { return vignetteBackground_; }
    void setVignetteBackground(bool on) { vignetteBackground_ = on; }
    bool isShown() const { return shown_; }
    size_t buttonCount() const { return blocks_.size(); }

    static platform::ui::ImagePtr alertBackgroundImage();
    static platform::ui::Font titleFont() { return platform::ui::Font::boldSystem(18); }
    static platform::ui::Font messageFont() { return platform::ui::Font::system(16); }
    static platform::ui::Font buttonFont() { return platform::ui::Font::boldSystem(16); }

protected:
    struct ButtonRecord {
        std::function<void()> block; // empty: no action
        std::string title;
        std::string color;
    };

    // Adds a centred, wrapped, shadowed text line of the content.
    void addTextLabel(const std::string& text, const platform::ui::Font& font);
    void layoutButtons();

    platform::ui::ViewPtr view_;
    std::vector<ButtonRecord> blocks_;
    double height_ = kFirstLine;
    platform::ui::ImagePtr backgroundImage_;
    bool vignetteBackground_ = false;

private:
    bool shown_ = false;
    bool used_ = false;                          // an alert is shown once
    std::shared_ptr<CustomBlockAlertView> self_; // keeps a shared alert alive while shown
};

} // namespace kavo
