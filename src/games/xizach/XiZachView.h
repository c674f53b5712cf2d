#pragma once

#include "table/GameCardView.h"

namespace kavo {

// The Xi Zach table screen.
class XiZachView : public GameCardView {
public:
    XiZachView();
};

} // namespace kavo
