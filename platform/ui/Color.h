#pragma once

namespace platform::ui {

// A colour with components from 0 to 1 (not premultiplied).
struct Color {
    double r = 0;
    double g = 0;
    double b = 0;
    double a = 0;

    // Components 0-255, alpha 0-1 (the way screens give their colours).
    static Color rgba(int r, int g, int b, double a = 1);
    static Color white(double w, double a = 1) { return {w, w, w, a}; }

    static Color clear() { return {0, 0, 0, 0}; }
    static Color black() { return {0, 0, 0, 1}; }
    static Color white() { return {1, 1, 1, 1}; }
    static Color gray() { return {0.5, 0.5, 0.5, 1}; }
    static Color darkGray() { return {1.0 / 3, 1.0 / 3, 1.0 / 3, 1}; }
    static Color lightGray() { return {2.0 / 3, 2.0 / 3, 2.0 / 3, 1}; }
    static Color red() { return {1, 0, 0, 1}; }
    static Color green() { return {0, 1, 0, 1}; }
    static Color blue() { return {0, 0, 1, 1}; }
    static Color yellow() { return {1, 1, 0, 1}; }
    static Color orange() { return {1, 0.5, 0, 1}; }
    static Color brown() { return {0.6, 0.4, 0.2, 1}; }
    static Color cyan() { return {0, 1, 1, 1}; }
    static Color magenta() { return {1, 0, 1, 1}; }
    static Color purple() { return {0.5, 0, 0.5, 1}; }

    Color withAlpha(double alpha) const { return {r, g, b, alpha}; }
    bool isClear() const { return a <= 0; }
    // Components rounded to 0-255.
    int red8() const;
    int green8() const;
    int blue8() const;
    int alpha8() const;

    bool operator==(const Color&) const = default;
};

} // namespace platform::ui
