#include "platform/ui/Screen.h"

#include "platform/ui/Display.h"

#include <atomic>

namespace platform::ui {

namespace {
std::atomic<Idiom> currentIdiom{Idiom::Phone};
std::atomic<double> currentScale{1.0};
} // namespace

Idiom Screen::idiom() {
    return currentIdiom.load();
}

void Screen::setIdiom(Idiom idiom) {
    currentIdiom.store(idiom);
    Display::markDirty();
}

Rect Screen::bounds() {
    return idiom() == Idiom::Tablet ? Rect(0, 0, 1024, 768) : Rect(0, 0, 480, 320);
}

double Screen::scale() {
    return currentScale.load();
}

void Screen::setScale(double scale) {
    if (scale > 0) currentScale.store(scale);
}

} // namespace platform::ui
