#pragma once

#include "platform/ui/Geometry.h"

namespace platform::ui {

enum class Idiom { Phone, Tablet };

// The device's screen, always in landscape: 480 x 320 points on a phone, 1024 x 768 on a tablet.
class Screen {
public:
    static Idiom idiom();
    static void setIdiom(Idiom idiom);
    static bool isTablet() { return idiom() == Idiom::Tablet; }
    static Rect bounds();
    static Size size() { return bounds().size; }
    // Pixels per point (1 unless set).
    static double scale();
    static void setScale(double scale);
};

} // namespace platform::ui
