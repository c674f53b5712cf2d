#pragma once

namespace kavo {

// Carries the Mau Binh replies to the table screen on the main thread.
class MauBinhLogicHandler {
public:
    static MauBinhLogicHandler& getInstance();

    // The table's time to arrange the hands changed (seconds): the first in-table
    // menu on the top screen shows it; nothing when the screen has none. Main thread.
    void doSetLimitTime(int seconds);

private:
    MauBinhLogicHandler() = default;
};

} // namespace kavo
