#pragma once

#include "platform/ui/Geometry.h"

#include <string>

namespace platform {
class Value;
}

namespace platform::ui {

// Keys the window host and the automation driver send to the first responder.
enum class Key { Return, Backspace, Tab, Escape, Up, Down, Left, Right };

// Whether the device has a keyboard drawn over the screen. A desktop window has none
// (keys come from the computer's keyboard), so nothing there lifts out of its way.
enum class KeyboardModel { OnScreen, None };

// The on-screen keyboard: it is up while a text input is the first responder. Its
// showing and hiding are posted on platform::NotificationCenter::defaultCenter() with the
// names below; the user info holds "frame" (a dictionary x, y, width, height) and
// "animationDuration". Moving from one text input to another keeps it up and posts nothing.
class Keyboard {
public:
    static constexpr const char* WillShowNotification = "KeyboardWillShowNotification";
    static constexpr const char* DidShowNotification = "KeyboardDidShowNotification";
    static constexpr const char* WillHideNotification = "KeyboardWillHideNotification";
    static constexpr const char* DidHideNotification = "KeyboardDidHideNotification";

    // OnScreen unless set: headless runs and tests keep the device's behaviour; the
    // desktop window sets None.
    static KeyboardModel model();
    static void setModel(KeyboardModel model);
    // True when an on-screen keyboard exists at all.
    static bool exists() { return model() == KeyboardModel::OnScreen; }

    // 162 on the phone in landscape, 352 on a tablet; 0 without an on-screen keyboard.
    static double height();
    // The keyboard's rectangle along the bottom of the screen.
    static Rect frame();
    static bool isVisible();
    // Reads "frame" from a notification's user info (all zero when missing).
    static Rect frameFromUserInfo(const platform::Value& userInfo);

    // Called by Responder when the first responder changes.
    static void firstResponderChanged(bool textInputIsFirst);
    // Forgets the visible state without posting (between tests).
    static void reset();
};

} // namespace platform::ui
