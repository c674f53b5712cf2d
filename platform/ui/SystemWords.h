#pragma once

#include <map>
#include <string>

namespace platform::ui {

// A word that a control of the platform draws by itself.
enum class SystemWord {
    On,
    Off,
    Done,
    Cancel,
    Delete,
    Search,
    Undo,
    Edit,
    Save,
    Refresh,
    Stop,
    Share,
    Reply,
    Play,
    Pause,
    Redo
};

// The words the platform's own controls draw: a switch's captions, the titles of the
// system bar items, a table row's delete confirmation. The platform speaks no language of
// its own: the application hands it the words in the player's language, again after each
// change of language; a word it was not given is drawn as a sign, never as an English
// word. A control reads the word as it draws, so a new hand shows at its next drawing.
// Any thread (the words are kept under a lock).
class SystemWords {
public:
    // Replaces every word given before.
    static void set(std::map<SystemWord, std::string> words);
    // The word given for it, else its sign.
    static std::string text(SystemWord word);
    static std::string sign(SystemWord word);
};

} // namespace platform::ui
