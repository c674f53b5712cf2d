#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace portalstub {

// The money of the session's players, as a server's accounts keep it: a player starts
// with 1,000,000 Zel at his first sign-in and every hand, top-up, purchase, transfer
// and lottery ticket moves that one balance, so every table's join, the profile and
// the game grid show the same amount. The stub's own players each have one fixed
// amount wherever they are listed.
class StubLedger {
public:
    static constexpr int64_t kStartMoney = 1000000;

    // The session's one ledger (each client's session runs in a process of its own).
    static StubLedger& session();

    // The player who signed in: his balance.
    int64_t signIn(const std::string& name);
    // The signed-in player's balance.
    int64_t balance();
    // Moves the signed-in player's balance by `amount` (negative: spent); the new balance.
    int64_t move(int64_t amount, const std::string& why);
    // The amount a stub player (by name) shows in every list, profile and seat.
    static int64_t stubPlayerMoney(const std::string& name);

private:
    std::mutex mutex_;
    std::string player_;
    std::map<std::string, int64_t> money_;
};

} // namespace portalstub
