#include "platform/ui/Keyboard.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Value.h"
#include "platform/ui/Display.h"
#include "platform/ui/Screen.h"

namespace platform::ui {

namespace {

bool visible = false;
KeyboardModel currentModel = KeyboardModel::OnScreen;
constexpr double animationDuration = 0.25;

platform::Value userInfo() {
    Rect r = Keyboard::frame();
    platform::Value frame = platform::Value::emptyDictionary();
    frame.set("x", r.x());
    frame.set("y", r.y());
    frame.set("width", r.width());
    frame.set("height", r.height());
    platform::Value info = platform::Value::emptyDictionary();
    info.set("frame", frame);
    info.set("animationDuration", animationDuration);
    return info;
}

void post(const char* name) {
    platform::NotificationCenter::defaultCenter().post(name, userInfo());
}

} // namespace

KeyboardModel Keyboard::model() {
    return currentModel;
}

void Keyboard::setModel(KeyboardModel model) {
    currentModel = model;
    // A keyboard that cannot exist is not up.
    if (model == KeyboardModel::None && visible) firstResponderChanged(false);
}

double Keyboard::height() {
    if (!exists()) return 0;
    return Screen::idiom() == Idiom::Tablet ? 352 : 162;
}

Rect Keyboard::frame() {
    Rect screen = Screen::bounds();
    return {0, screen.height() - height(), screen.width(), height()};
}

bool Keyboard::isVisible() {
    return visible;
}

Rect Keyboard::frameFromUserInfo(const platform::Value& info) {
    const platform::Value& f = info["frame"];
    return {f["x"].doubleValue(), f["y"].doubleValue(), f["width"].doubleValue(), f["height"].doubleValue()};
}

void Keyboard::firstResponderChanged(bool textInputIsFirst) {
    if (!exists() && textInputIsFirst) return;
    if (textInputIsFirst == visible) return;
    visible = textInputIsFirst;
    Display::markDirty();
    if (visible) {
        post(WillShowNotification);
        post(DidShowNotification);
    } else {
        post(WillHideNotification);
        post(DidHideNotification);
    }
}

void Keyboard::reset() {
    visible = false;
}

} // namespace platform::ui
