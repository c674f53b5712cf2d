#include "table/base/PlaySound.h"

#include "app/Resources.h"
#include "app/UIController.h"

namespace kavo {

void PlaySound::playSoundWithSource(platform::SoundId soundId) {
    if (!UIController::sound() || soundId == 0) return;
    platform::SystemSound::play(soundId);
}

void PlaySound::playSoundMove() {
    playSoundWithSource(Resources::getInstance().ct_move_soundID());
}

void PlaySound::playSoundClick() {
    playSoundWithSource(Resources::getInstance().ct_click_soundID());
}

void PlaySound::playSoundEat() {
    playSoundWithSource(Resources::getInstance().ct_eat_soundID());
}

void PlaySound::playSoundChieuTuog() {
    playSoundWithSource(Resources::getInstance().ct_chieu_soundID());
}

void PlaySound::playSoundWin() {
    playSoundWithSource(Resources::getInstance().ct_win_soundID());
}

void PlaySound::playTetrisBingo() {
    playSoundWithSource(Resources::getInstance().t_bingo_soundID());
}

void PlaySound::playTetrisRotate() {
    playSoundWithSource(Resources::getInstance().t_rotate_soundID());
}

void PlaySound::playTetrisDrop() {
    playSoundWithSource(Resources::getInstance().t_drop_soundID());
}

} // namespace kavo
