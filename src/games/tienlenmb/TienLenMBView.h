#pragma once

#include "table/GameCardView.h"

namespace kavo {

// The Tien Len MB table screen.
class TienLenMBView : public GameCardView {
public:
    TienLenMBView();

    // The opening move must hold the three of spades.
    bool forceMove3Bich() const { return forceMove3Bich_; }
    void setForceMove3Bich(bool force) { forceMove3Bich_ = force; }

private:
    bool forceMove3Bich_ = false;
};

} // namespace kavo
