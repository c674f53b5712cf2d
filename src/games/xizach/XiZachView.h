#pragma once

#include "table/GameCardView.h"
#include "table/PeekTable.h"

namespace kavo {

// The Xi Zach table screen.
class XiZachView : public GameCardView, public PeekTable {
public:
    XiZachView();
};

} // namespace kavo
