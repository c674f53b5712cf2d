#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

using SoundId = uint32_t;

// Short sounds of the games (a card played, a piece taken). A sound is registered
// once from a file and played by its id. Files are WAV data (".caf" files of the
// bundle hold WAV data too). Playing goes through SDL audio when an audio device
// opens, and every play is recorded by file name so tests can check what a player
// would have heard. Playing never blocks the caller: the sound is mixed in by the
// audio thread.
class SystemSound {
public:
    // The id that buzzes the device instead of playing a sound.
    static constexpr SoundId kVibrate = 4095;

    // Returns the new sound's id (never 0 or kVibrate). A file that cannot be read
    // still gets an id, so its plays are recorded; it just stays silent. An empty
    // path gives 0.
    static SoundId registerSound(const std::string& path);
    static void dispose(SoundId id);
    // Unknown ids are ignored; kVibrate vibrates.
    static void play(SoundId id);

    // Plays the sound over and over until stopLooping (a background track); a second
    // looping sound replaces the first. Recorded like play.
    static void playLooping(SoundId id);
    static void stopLooping();
    // The file name of the sound looping now, or "".
    static std::string looping();
    // File names (without folder) of the sounds played since the last clearRecord(), the
    // latest 1,000 at most.
    static std::vector<std::string> played();
    static void clearRecord();
    // Whether an audio device is open (false under a machine without sound).
    static bool hasAudioDevice();
};

} // namespace platform
