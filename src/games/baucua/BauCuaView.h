#pragma once

#include "table/GameTableView.h"

namespace kavo {

// The Bau Cua table screen.
class BauCuaView : public GameTableView {
public:
    BauCuaView();

    // Resets the table screen.
    void clearView();
    int clearCount() const { return clearCount_; }

private:
    int clearCount_ = 0;
};

} // namespace kavo
