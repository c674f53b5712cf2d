#include "tools/portal-stub/StubRecords.h"

#include "platform/foundation/SqliteDatabase.h"
#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubStore.h"

#include <algorithm>
#include <ctime>
#include <map>

namespace portalstub {

using platform::SqliteDatabase;
using platform::SqliteStatement;

namespace {

// How many of a person's tickets his list shows, the newest.
constexpr int kListedTickets = 20;

bool done(SqliteStatement& statement, SqliteDatabase& db) {
    if (statement.step() == SqliteDatabase::kDone) return true;
    platform::log("portal-stub: a record could not be kept: " + db.errorMessage());
    return false;
}

// The rows of a query about one person (its first value), each read by `row`.
void eachRow(const std::string& sql, const std::string& person, const std::function<void(SqliteStatement&)>& row) {
    StubStore::session().transaction([&](SqliteDatabase& db) {
        auto query = db.prepare(sql);
        if (!query.isValid()) platform::log("portal-stub: the records cannot be read: " + db.errorMessage());
        query.bindText(1, person);
        while (query.step() == SqliteDatabase::kRow)
            row(query);
        return true;
    });
}

} // namespace

std::vector<int32_t> StubRecords::acceptedFriends(const std::string& person) {
    std::vector<int32_t> friends;
    eachRow("SELECT friend FROM friends WHERE person = ? AND accepted = 1 ORDER BY rowid", person,
            [&](SqliteStatement& row) { friends.push_back(int32_t(row.columnInt(0))); });
    return friends;
}

bool StubRecords::answered(const std::string& person, int32_t from) {
    bool found = false;
    eachRow("SELECT friend FROM friends WHERE person = ?", person,
            [&](SqliteStatement& row) { found = found || row.columnInt(0) == from; });
    return found;
}

void StubRecords::answer(const std::string& person, int32_t from, bool accepted) {
    // The first answer stands: an accepted friend is not refused by a late second answer.
    StubStore::session().transaction([&](SqliteDatabase& db) {
        auto keep = db.prepare("INSERT OR IGNORE INTO friends (person, friend, accepted) VALUES (?, ?, ?)");
        keep.bindText(1, person);
        keep.bindInt(2, from);
        keep.bindInt(3, accepted ? 1 : 0);
        return done(keep, db);
    });
}

bool StubRecords::firstTime(const std::string& person, const std::string& what) {
    bool first = false;
    StubStore::session().transaction([&](SqliteDatabase& db) {
        auto seen = db.prepare("SELECT 1 FROM had WHERE person = ? AND what = ?");
        seen.bindText(1, person);
        seen.bindText(2, what);
        if (seen.step() == SqliteDatabase::kRow) return true;
        auto keep = db.prepare("INSERT INTO had (person, what) VALUES (?, ?)");
        keep.bindText(1, person);
        keep.bindText(2, what);
        first = done(keep, db);
        return first;
    });
    return first;
}

bool StubRecords::had(const std::string& person, const std::string& what) {
    bool found = false;
    eachRow("SELECT what FROM had WHERE person = ?", person,
            [&](SqliteStatement& row) { found = found || row.columnText(0) == what; });
    return found;
}

void StubRecords::addHistory(SqliteDatabase& db, const std::string& person, const HistoryEntry& what, int64_t amount) {
    char time[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(time, sizeof time, "%H:%M %d/%m/%Y", &local);
    auto keep = db.prepareKept("INSERT INTO history (person, time, kind, subject, amount) VALUES (?, ?, ?, ?, ?)");
    keep.bindText(1, person);
    keep.bindText(2, time);
    keep.bindText(3, what.kind);
    keep.bindText(4, what.subject);
    keep.bindInt(5, amount);
    done(keep, db);
}

std::vector<StubRecords::HistoryLine> StubRecords::history(const std::string& person) {
    std::vector<HistoryLine> lines;
    eachRow("SELECT time, kind, subject, amount FROM history WHERE person = ? ORDER BY rowid", person,
            [&](SqliteStatement& row) {
                lines.push_back({row.columnText(0), {row.columnText(1), row.columnText(2)}, row.columnInt(3)});
            });
    return lines;
}

namespace {

// Whether the row of the `values` `key` binds is kept for the first time: then `keep`
// (the same values, then the person) keeps it inside the caller's transaction. Nothing
// when the file fails.
std::optional<bool> keptFirst(SqliteDatabase& db, const std::string& seen, const std::string& keep, int values,
                              const std::function<void(SqliteStatement&)>& key, const std::string& person) {
    auto found = db.prepare(seen);
    key(found);
    const int step = found.step();
    if (step == SqliteDatabase::kRow) return false;
    if (step != SqliteDatabase::kDone) return std::nullopt;
    auto kept = db.prepare(keep);
    key(kept);
    kept.bindText(values + 1, person);
    if (!done(kept, db)) return std::nullopt;
    return true;
}

} // namespace

std::optional<bool> StubRecords::firstReceipt(SqliteDatabase& db, const std::string& receipt,
                                              const std::string& person) {
    return keptFirst(
        db, "SELECT 1 FROM receipts WHERE receipt = ?", "INSERT INTO receipts (receipt, person) VALUES (?, ?)", 1,
        [&](SqliteStatement& statement) { statement.bindText(1, receipt); }, person);
}

std::optional<bool> StubRecords::firstCard(SqliteDatabase& db, int8_t carrier, const std::string& serial,
                                           const std::string& person) {
    return keptFirst(
        db, "SELECT 1 FROM cards WHERE carrier = ? AND serial = ?",
        "INSERT INTO cards (carrier, serial, person) VALUES (?, ?, ?)", 2,
        [&](SqliteStatement& statement) {
            statement.bindInt(1, carrier);
            statement.bindText(2, serial);
        },
        person);
}

void StubRecords::addTicket(SqliteDatabase& db, const std::string& person, const Ticket& ticket) {
    auto keep = db.prepareKept("INSERT INTO tickets (person, draw, number, stake) VALUES (?, ?, ?, ?)");
    keep.bindText(1, person);
    keep.bindInt(2, ticket.draw);
    keep.bindInt(3, ticket.number);
    keep.bindInt(4, ticket.stake);
    done(keep, db);
}

std::vector<StubRecords::Ticket> StubRecords::tickets(const std::string& person) {
    std::vector<Ticket> tickets;
    eachRow("SELECT draw, number, stake FROM tickets WHERE person = ? ORDER BY rowid DESC LIMIT " +
                std::to_string(kListedTickets),
            person, [&](SqliteStatement& row) {
                tickets.push_back({int32_t(row.columnInt(0)), int32_t(row.columnInt(1)), int32_t(row.columnInt(2))});
            });
    std::reverse(tickets.begin(), tickets.end());
    return tickets;
}

std::vector<StubRecords::Result> StubRecords::settle(SqliteDatabase& db, const std::string& person, int32_t openDraw,
                                                     const std::function<int32_t(int32_t)>& winningOf) {
    auto open = db.prepare("SELECT draw, number, stake FROM tickets WHERE person = ? AND settled = 0 AND draw < ?");
    open.bindText(1, person);
    open.bindInt(2, openDraw);
    std::map<int32_t, Result> byDraw;
    while (open.step() == SqliteDatabase::kRow) {
        const int32_t draw = int32_t(open.columnInt(0));
        Result& result = byDraw.try_emplace(draw, Result{draw, winningOf(draw), 0}).first->second;
        if (open.columnInt(1) == result.winning) result.won += open.columnInt(2) * kPrizeTimes;
    }
    auto mark = db.prepare("UPDATE tickets SET settled = 1 WHERE person = ? AND settled = 0 AND draw < ?");
    mark.bindText(1, person);
    mark.bindInt(2, openDraw);
    if (!done(mark, db)) return {};
    std::vector<Result> results;
    for (const auto& entry : byDraw)
        results.push_back(entry.second);
    return results;
}

} // namespace portalstub
