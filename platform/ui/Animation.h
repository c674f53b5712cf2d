#pragma once

#include "platform/ui/Geometry.h"

#include <functional>
#include <string>
#include <vector>

namespace platform::ui {

enum class AnimationCurve { EaseInOut, EaseIn, EaseOut, Linear };

// Options of View::animate. Write them with designated initialisers:
// {.curve = AnimationCurve::Linear, .allowUserInteraction = true}.
struct AnimationOptions {
    AnimationCurve curve = AnimationCurve::EaseInOut;
    bool allowUserInteraction = false;
    bool beginFromCurrentState = false;
    bool repeat = false;
    bool autoreverse = false;
};

// The look of View::transition and of the transitions in a begin/commit block.
enum class TransitionOptions { None, FlipFromLeft, FlipFromRight, CurlUp, CurlDown, CrossDissolve };

// A property animation attached to a layer under a key ("transform.rotation.y",
// "opacity", "position.x", ...). The renderer may show it; the model value is not changed.
struct LayerAnimation {
    std::string keyPath;
    std::vector<double> values; // from, (intermediate,) to
    double duration = 0.25;
    double repeatCount = 1; // a huge number repeats for ever
    bool autoreverses = false;
    double startTime = 0; // platform::Clock time; set by Layer::addAnimation
    // The time it stops (infinite when it repeats for ever).
    double endTime() const;
};

// What a renderer needs to show the in-between frames of a view's property animation:
// the values before and after, and when it runs.
struct ViewAnimationState {
    double startTime = 0; // after the delay
    double duration = 0;
    AnimationCurve curve = AnimationCurve::EaseInOut;
    bool repeats = false;
    bool autoreverses = false;
    Point fromCenter, toCenter;
    Rect fromBounds, toBounds;
    double fromAlpha = 1, toAlpha = 1;
    AffineTransform fromTransform, toTransform;
    TransitionOptions transition = TransitionOptions::None;
    // 0..1 of the way at `time` after the curve (1 once over).
    double progressAt(double time) const;
    bool isOver(double time) const;
};

// Turns off implicit animations of the changes made between begin() and commit():
// inside, animate() sets the values and runs completions without recording in-flight
// state. Nested transactions count.
class Transaction {
public:
    static void begin();
    static void setDisableActions(bool disable);
    static void commit();
    static bool disablesActions();
};

} // namespace platform::ui
