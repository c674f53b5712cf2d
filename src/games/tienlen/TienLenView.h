#pragma once

#include "table/GameCardView.h"

namespace kavo {

// The Tien Len table screen.
class TienLenView : public GameCardView {
public:
    TienLenView();

    // The opening move must hold the three of spades.
    bool forceMove3Bich() const { return forceMove3Bich_; }
    void setForceMove3Bich(bool force) { forceMove3Bich_ = force; }

private:
    bool forceMove3Bich_ = false;
};

} // namespace kavo
