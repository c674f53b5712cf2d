#pragma once

#include "net/Message.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace platform {
class SqliteDatabase;
}

namespace portalstub {

// The money of every account, as a server keeps it, for the stub's whole life: a
// person starts with 1,000,000 Zel at his name's first sign-in, a stub player with his
// roster amount, and every hand, top-up, purchase, transfer and lottery ticket moves
// those balances, so every join, list and profile shows the same amount. The amounts
// are rows of the stub's store (StubStore), shared by the processes that serve the
// connections; a spend checks the balance and takes it in one transaction, so two
// connections of one name never both spend the same money.
class StubLedger {
public:
    static constexpr int64_t kStartMoney = 1000000;

    // The process's one ledger.
    static StubLedger& session();

    // The player who signed in: his balance.
    int64_t signIn(const std::string& name);
    // No one is signed in from now on: nothing is anyone's until the next sign-in.
    void signOut();
    // The signed-in player's balance.
    int64_t balance();
    // Moves the signed-in player's balance by `amount` (a win, a top-up, a hand's
    // result: not checked); the new balance.
    int64_t move(int64_t amount, const std::string& why);
    // Moves the balance of whoever sits under `id` at a table: a stub player's, else the
    // signed-in player's.
    int64_t moveSeat(int32_t id, int64_t amount, const std::string& why);
    // Spends `amount` (above 0) of the signed-in player's balance when it covers it,
    // inside a transaction of the store that the caller runs (with what else the spend
    // keeps, so that all of it is kept or none); with a `payee`, the stub player of that
    // name gets it. The balance after, or nothing (and nothing changed) when refused: also
    // when the calling thread answers no row that moves money (StubMoneyRow).
    std::optional<int64_t> spendIn(platform::SqliteDatabase& db, int64_t amount, const std::string& why,
                                   const std::string& payee = "");
    // Adds `amount` (a top-up) to the signed-in player's balance inside the caller's
    // transaction: the balance after, or nothing (nothing changed) when the file fails or
    // the calling thread answers no row that moves money.
    std::optional<int64_t> creditIn(platform::SqliteDatabase& db, int64_t amount, const std::string& why);
    // A draw's win, which no request pays for, inside the caller's transaction (not checked).
    std::optional<int64_t> winIn(platform::SqliteDatabase& db, int64_t amount, const std::string& why);
    // The signed-in player's balance, read inside the caller's transaction.
    std::optional<int64_t> balanceWithin(platform::SqliteDatabase& db);
    // The amount a stub player (by name) has now.
    static int64_t stubPlayerMoney(const std::string& name);
    // The reply that tells the client the signed-in player's balance without a word
    // (17 with an empty text), as a server sends it after anything that moved it.
    kavo::Message balanceReply();

    // Opens the account of a person named `name` with his start money when no account
    // has that name yet: whether it was opened (a person's name is taken once).
    static bool open(const std::string& name);
    // Whether a person named `name` has an account, inside the caller's transaction or
    // as the file holds it now.
    static bool hasAccount(platform::SqliteDatabase& db, const std::string& name);
    static bool known(const std::string& name);

    // The name of the player who signed in last.
    std::string player();

    // What a spend or a top-up is answered when the accounts file fails (another
    // process holds it beyond the wait): a failure, in the player's language.
    static std::string tryAgainLater();
    // What a spend of an amount of 0 or less (a transfer, a lottery ticket) is answered: not
    // a want of money, but no amount, in the player's language.
    static std::string noAmount();

private:
    // Moves the balance of the account under `key` by `amount` in one transaction of its
    // own (0: reads it); the new balance.
    int64_t change(const std::string& key, int64_t amount, const std::string& why);
    // The balance under `key`, read beside any other process's change; an account not
    // yet opened is opened.
    int64_t moneyOf(const std::string& key);

    std::mutex mutex_;
    std::string player_;
};

} // namespace portalstub
