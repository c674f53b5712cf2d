#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kavo {

// The gifts the player sent to friends from the shop whose answer has not come yet, oldest
// first. A gift is paid when the server says it was given: that answer names no gift, and
// the server answers in the order asked, so it pays for the oldest one waiting. A gift the
// server refuses (a one-button notice: the friend has it already, no such player, not
// enough money) costs nothing; the refusal says whom it was for, so a notice that names no
// friend of a waiting gift (one about something else) leaves every gift waiting. A
// connection that ends, or a new sign-in, leaves none waiting: no answer comes for them.
// Main thread only.
class WaitingGifts {
public:
    // A gift of `price` to the friend named `receiver` was sent.
    static void add(int32_t price, std::string receiver);
    // The server gave a gift: the price of the oldest one waiting, which is taken off the
    // list, or nothing when none waits.
    static std::optional<int32_t> takeGiven();
    // A notice came: when it names the friend of a waiting gift (the oldest of them), that
    // gift was refused and leaves the list without being paid. Whether one was.
    static bool dropRefusedBy(const std::string& notice);
    static void forget();
    static size_t count();
};

// Whether `text` names `name` as a word of its own (not inside a longer word), letters
// compared without their case.
bool textNames(const std::string& text, const std::string& name);

} // namespace kavo
