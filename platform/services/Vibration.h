#pragma once

namespace platform {

// This machine has nothing to buzz: a vibration is counted so tests can see it.
class Vibration {
public:
    static void vibrate();
    static int count();
    static void clearRecord();
};

} // namespace platform
