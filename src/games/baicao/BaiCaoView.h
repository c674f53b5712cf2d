#pragma once

#include "table/GameCardView.h"
#include "table/PeekTable.h"

namespace kavo {

// The Bai Cao table screen.
class BaiCaoView : public GameCardView, public PeekTable {
public:
    BaiCaoView();
};

} // namespace kavo
