#pragma once

#include "tools/portal-stub/StubHistory.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {
class SqliteDatabase;
}

namespace portalstub {

// What a person's account keeps beside his money, in the stub's store (StubStore) for
// the stub's life, by his name: the friend invitations he answered, the notices he has
// had, his shop history, the store receipts and scratch cards credited to him and his
// lottery tickets.
class StubRecords {
public:
    // Friends: the invitations he accepted (ids, in the order accepted), and whether he
    // answered the one from `from` at all (an answered invitation is not sent again).
    static std::vector<int32_t> acceptedFriends(const std::string& person);
    static bool answered(const std::string& person, int32_t from);
    static void answer(const std::string& person, int32_t from, bool accepted);

    // True the first time `person` is given the notice `what`, false ever after.
    static bool firstTime(const std::string& person, const std::string& what);
    // Whether `person` was ever given the notice `what`.
    static bool had(const std::string& person, const std::string& what);

    // A line of his history (a top-up, purchase, present, transfer, ticket or win: what,
    // the amount it moved his money by, at the time now), kept inside the caller's
    // transaction; the history, oldest first.
    struct HistoryLine {
        std::string time;
        HistoryEntry entry;
        int64_t amount;
    };
    static void addHistory(platform::SqliteDatabase& db, const std::string& person, const HistoryEntry& what,
                           int64_t amount);
    static std::vector<HistoryLine> history(const std::string& person);

    // Whether a store receipt is credited for the first time: then it is kept, as
    // `person`'s, inside the caller's transaction (with what it adds). A receipt is
    // credited once, whoever sends it again. Nothing when the file fails.
    static std::optional<bool> firstReceipt(platform::SqliteDatabase& db, const std::string& receipt,
                                            const std::string& person);
    // The same for a scratch card, by its carrier and serial: a card is used once,
    // whoever sends it again.
    static std::optional<bool> firstCard(platform::SqliteDatabase& db, int8_t carrier, const std::string& serial,
                                         const std::string& person);

    struct Ticket {
        int32_t draw;
        int32_t number;
        int32_t stake;
    };
    // A ticket for `draw`, kept inside the caller's transaction (with its payment).
    static void addTicket(platform::SqliteDatabase& db, const std::string& person, const Ticket& ticket);
    // His last tickets, oldest first.
    static std::vector<Ticket> tickets(const std::string& person);

    // A winning ticket pays this many times its stake.
    static constexpr int64_t kPrizeTimes = 70;
    // One settled draw of his: its winning number and what his tickets won.
    struct Result {
        int32_t draw;
        int32_t winning;
        int64_t won;
    };
    // Settles, inside the caller's transaction, his tickets of the draws before
    // `openDraw` that no process settled yet: each draw's result once.
    static std::vector<Result> settle(platform::SqliteDatabase& db, const std::string& person, int32_t openDraw,
                                      const std::function<int32_t(int32_t)>& winningOf);
};

} // namespace portalstub
