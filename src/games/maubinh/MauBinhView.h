#pragma once

#include "table/GameCardView.h"

namespace kavo {

// The Mau Binh table screen.
class MauBinhView : public GameCardView {
public:
    MauBinhView();

    // Resets the table screen.
    void clearView();
    // The in-table menu's time picker: sends the choice (0 slow, 1 average, 2 fast)
    // for this table.
    void setLimitTime(int choice);
    // How many times the table was cleared (what a test or the logs can see).
    int clearCount() const { return clearCount_; }

private:
    int clearCount_ = 0;
};

} // namespace kavo
