#pragma once

#include "platform/services/SystemSound.h"

namespace kavo {

// The one gate every table plays its short sounds through: a sound plays only while
// the player's sound switch is on, read at each call. Main thread.
class PlaySound {
public:
    static void playSoundWithSource(platform::SoundId soundId);
    static void playSoundMove();
    static void playSoundClick();
    static void playSoundEat();
    static void playSoundChieuTuog();
    static void playSoundWin();
    static void playTetrisBingo();
    static void playTetrisRotate();
    static void playTetrisDrop();
};

} // namespace kavo
