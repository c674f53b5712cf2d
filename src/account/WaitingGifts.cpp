#include "account/WaitingGifts.h"

#include "platform/foundation/Text.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/MainThreadCheck.h"

#include <algorithm>
#include <cctype>
#include <deque>

namespace kavo {

namespace {

struct Gift {
    int32_t price;
    std::string receiver;
};

std::deque<Gift>& gifts() {
    static std::deque<Gift> waiting;
    return waiting;
}

// A letter or a digit: what a name standing inside a longer word touches.
bool partOfWord(char32_t c) {
    if (c < 0x80) return std::isalnum(int(c)) || c == U'_';
    return platform::toLowerCharacter(c) != platform::toUpperCharacter(c);
}

} // namespace

bool textNames(const std::string& text, const std::string& name) {
    const std::u32string haystack = platform::toUtf32(platform::toLower(text));
    const std::u32string needle = platform::toUtf32(platform::toLower(platform::trimWhitespace(name)));
    if (needle.empty()) return false;
    for (size_t at = haystack.find(needle); at != std::u32string::npos; at = haystack.find(needle, at + 1)) {
        const size_t end = at + needle.size();
        const bool startsWord = at == 0 || !partOfWord(haystack[at - 1]);
        const bool endsWord = end == haystack.size() || !partOfWord(haystack[end]);
        if (startsWord && endsWord) return true;
    }
    return false;
}

void WaitingGifts::add(int32_t price, std::string receiver) {
    KAVO_ASSERT_MAIN_THREAD();
    gifts().push_back({price, std::move(receiver)});
}

std::optional<int32_t> WaitingGifts::takeGiven() {
    KAVO_ASSERT_MAIN_THREAD();
    if (gifts().empty()) return std::nullopt;
    const int32_t price = gifts().front().price;
    gifts().pop_front();
    return price;
}

bool WaitingGifts::dropRefusedBy(const std::string& notice) {
    KAVO_ASSERT_MAIN_THREAD();
    auto& waiting = gifts();
    const auto refused = std::find_if(waiting.begin(), waiting.end(),
                                      [&](const Gift& gift) { return textNames(notice, gift.receiver); });
    if (refused == waiting.end()) return false;
    platform::log("gift of " + std::to_string(refused->price) + " refused; it costs nothing");
    waiting.erase(refused);
    return true;
}

void WaitingGifts::forget() {
    KAVO_ASSERT_MAIN_THREAD();
    gifts().clear();
}

size_t WaitingGifts::count() {
    KAVO_ASSERT_MAIN_THREAD();
    return gifts().size();
}

} // namespace kavo
