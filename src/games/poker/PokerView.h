#pragma once

#include "table/GameTableView.h"

namespace kavo {

// The poker table screen.
class PokerView : public GameTableView {
public:
    PokerView();

    // The player was refused a stack: the sit-down state ends.
    void denyBuyStack();
    // Whether the player is sitting down (buying a stack) rather than watching.
    bool isSitDown() const { return isSitDown_; }
    void setIsSitDown(bool sitDown) { isSitDown_ = sitDown; }

private:
    bool isSitDown_ = false;
};

} // namespace kavo
