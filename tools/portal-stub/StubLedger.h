#pragma once

#include "net/Message.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace portalstub {

// The money of every account, as a server keeps it, for the stub's whole life: a
// person starts with 1,000,000 Zel at his name's first sign-in, a stub player with his
// roster amount, and every hand, top-up, purchase, transfer and lottery ticket moves
// those balances, so every join, list and profile shows the same amount. The stub
// serves each connection in a process of its own: the amounts live in a file of the
// stub's state folder, which every process reads and writes under a lock.
class StubLedger {
public:
    static constexpr int64_t kStartMoney = 1000000;

    // The process's one ledger.
    static StubLedger& session();

    // Keeps the amounts in `folder` (shared with the other processes) from now on;
    // without it they are kept in this process alone.
    void keepIn(const std::string& folder);
    // The player who signed in: his balance.
    int64_t signIn(const std::string& name);
    // The signed-in player's balance.
    int64_t balance();
    // Moves the signed-in player's balance by `amount` (negative: spent); the new balance.
    int64_t move(int64_t amount, const std::string& why);
    // Moves the balance of whoever sits under `id` at a table: a stub player's, else the
    // signed-in player's.
    int64_t moveSeat(int32_t id, int64_t amount, const std::string& why);
    // The amount a stub player (by name) has now.
    static int64_t stubPlayerMoney(const std::string& name);
    // The reply that tells the client the signed-in player's balance without a word
    // (17 with an empty text), as a server sends it after anything that moved it.
    kavo::Message balanceReply();

    // The name of the player who signed in last.
    std::string player();

private:
    // Reads (and with `amount` not 0 moves) the balance of the account under `key`.
    int64_t change(const std::string& key, int64_t amount, const std::string& why);
    std::map<std::string, int64_t> load() const;
    void store(const std::map<std::string, int64_t>& money) const;

    std::mutex mutex_;
    std::string player_;
    std::string file_;                     // empty: kept in money_
    std::map<std::string, int64_t> money_; // by account key
};

} // namespace portalstub
