#include "platform/ui/Touch.h"

#include "platform/ui/View.h"

namespace platform::ui {

Point Touch::locationInView(const View* v) const {
    return v ? v->convertPointFrom(windowLocation, nullptr) : windowLocation;
}

Point Touch::previousLocationInView(const View* v) const {
    return v ? v->convertPointFrom(previousWindowLocation, nullptr) : previousWindowLocation;
}

} // namespace platform::ui
