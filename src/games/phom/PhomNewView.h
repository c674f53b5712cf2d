#pragma once

#include "table/GameCardView.h"

namespace kavo {

// The Phom table screen.
class PhomNewView : public GameCardView {
public:
    PhomNewView();
};

} // namespace kavo
