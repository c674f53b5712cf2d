#pragma once

#include "platform/ui/Control.h"

#include <memory>
#include <string>

namespace platform::ui {

// An on/off control: a rounded track with a knob at the "on" (right) or "off" (left) end
// and the caption of the current side: the captions given, else the platform's words for
// on and off. A tap (a touch that lifts inside) flips it and
// sends ValueChanged; setOn from code sends nothing.
class Switch : public Control {
public:
    explicit Switch(Rect frame = {});
    static std::shared_ptr<Switch> make(Rect frame = {});

    bool isOn() const { return on_; }
    void setOn(bool on, bool animated = false);
    std::string onText() const;
    void setOnText(const std::string& text);
    std::string offText() const;
    void setOffText(const std::string& text);
    Color onTintColor() const { return onTint_; }
    void setOnTintColor(Color color);

    // The caption shown now (automation reads it).
    std::string text() const override { return on_ ? onText() : offText(); }

    Size sizeThatFits(Size size) const override { return (void)size, Size{79, 27}; }
    void draw(GraphicsContext& context) override;

protected:
    void endTracking(Point location, bool inside) override;
    bool passesDragsToScrollView() const override { return false; }

private:
    bool on_ = false;
    std::string onText_;
    std::string offText_;
    Color onTint_ = Color::rgba(0, 127, 234);
};

} // namespace platform::ui
