#include "platform/ui/SystemWords.h"

#include <mutex>

namespace platform::ui {

namespace {

struct Given {
    std::mutex mutex;
    std::map<SystemWord, std::string> words;
};

Given& given() {
    static Given shared;
    return shared;
}

} // namespace

void SystemWords::set(std::map<SystemWord, std::string> words) {
    std::lock_guard lock(given().mutex);
    given().words = std::move(words);
}

std::string SystemWords::text(SystemWord word) {
    {
        std::lock_guard lock(given().mutex);
        const auto found = given().words.find(word);
        if (found != given().words.end() && !found->second.empty()) return found->second;
    }
    return sign(word);
}

std::string SystemWords::sign(SystemWord word) {
    switch (word) {
    case SystemWord::On:
        return "I"; // the marks of a power switch
    case SystemWord::Off:
        return "O";
    case SystemWord::Done:
        return "\u2713";
    case SystemWord::Cancel:
        return "\u2715";
    case SystemWord::Delete:
        return "\u232B";
    case SystemWord::Search:
        return "?";
    case SystemWord::Undo:
        return "\u21B6";
    case SystemWord::Edit:
        return "\u270E";
    case SystemWord::Save:
        return "\u2193";
    case SystemWord::Refresh:
        return "\u21BB";
    case SystemWord::Stop:
        return "\u25A0";
    case SystemWord::Share:
        return "\u2197";
    case SystemWord::Reply:
        return "\u21A9";
    case SystemWord::Play:
        return "\u25B6";
    case SystemWord::Pause:
        return "\u2016";
    case SystemWord::Redo:
        return "\u21B7";
    }
    return "";
}

} // namespace platform::ui
