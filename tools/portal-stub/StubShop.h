#pragma once

#include "tests/support/TestPortal.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace portalstub {

// The stub's shop and top-up answers: the channel list, the promotion text, pages of
// items and avatars, purchases for oneself and gifts to two stub friends, card and
// store top-ups, and a log of all of it. The money is the session ledger's; the player
// is the one who signed in last.
class StubShop {
public:
    static constexpr int kPages = 3;
    // What a card whose serial and code are digits adds.
    static constexpr int64_t kCardValue = 50000;
    // What a store receipt adds.
    static constexpr int64_t kStoreValue = 20000;
    // What a sent top-up text message adds.
    static constexpr int64_t kSmsValue = 10000;

    void install(kavo::test::TestPortal& portal);
    // The player who signed in; the money the sign-in reply carries.
    int64_t signIn(const std::string& name);
    // The answer to information key 13 (the promotion text).
    static kavo::Message promotionText();
    static kavo::Message channels();

private:
    int64_t money();
    void spend(int64_t amount, const std::string& what);
    int64_t credit(int64_t amount, const std::string& what);

    std::mutex mutex_;
    std::string player_;
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> log_;
};

} // namespace portalstub
