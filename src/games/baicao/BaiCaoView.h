#pragma once

#include "table/GameCardView.h"

namespace kavo {

// The Bai Cao table screen.
class BaiCaoView : public GameCardView {
public:
    BaiCaoView();
};

} // namespace kavo
