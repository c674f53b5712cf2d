#include "tools/portal-stub/StubLedger.h"

#include "platform/foundation/SqliteDatabase.h"
#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubMoneyRow.h"
#include "tools/portal-stub/StubProfile.h"
#include "tools/portal-stub/StubRoster.h"
#include "tools/portal-stub/StubStore.h"

namespace portalstub {

using platform::SqliteDatabase;

namespace {

// A person's account and a stub player's never share a key, whatever the name.
std::string personKey(const std::string& name) {
    return "p" + name;
}

std::string stubPlayerKey(const std::string& name) {
    return "s" + name;
}

int64_t startMoneyOf(const std::string& key) {
    const StubPlayer* player = key.front() == 's' ? stubPlayerNamed(key.substr(1)) : nullptr;
    return player ? player->startMoney : StubLedger::kStartMoney;
}

// The balance of the account under `key` inside an open transaction; an account's
// first use opens it with its start money.
std::optional<int64_t> balanceIn(SqliteDatabase& db, const std::string& key) {
    if (key.size() < 2) return std::nullopt; // no name, no account
    auto open = db.prepareKept("INSERT OR IGNORE INTO accounts (key, money) VALUES (?, ?)");
    open.bindText(1, key);
    open.bindInt(2, startMoneyOf(key));
    auto read = db.prepareKept("SELECT money FROM accounts WHERE key = ?");
    read.bindText(1, key);
    if (open.step() != SqliteDatabase::kDone || read.step() != SqliteDatabase::kRow) return std::nullopt;
    return read.columnInt(0);
}

// Moves the balance under `key` inside an open transaction; with `covered`, a move
// below 0 changes nothing. The new balance, or nothing when refused or failed.
std::optional<int64_t> moveKey(SqliteDatabase& db, const std::string& key, int64_t amount, const std::string& why,
                               bool covered) {
    const auto money = balanceIn(db, key);
    if (!money || amount == 0) return money;
    if (covered && *money + amount < 0) return std::nullopt;
    if (covered) StubStore::pauseSpendForTests(key.substr(1));
    auto write = db.prepareKept("UPDATE accounts SET money = ? WHERE key = ?");
    write.bindInt(1, *money + amount);
    write.bindText(2, key);
    if (write.step() != SqliteDatabase::kDone) return std::nullopt;
    StubStore::session().logWhenKept("money of " + key.substr(1) + ": " + (amount < 0 ? "" : "+") +
                                     std::to_string(amount) + " (" + why + "), now " + std::to_string(*money + amount));
    return *money + amount;
}

} // namespace

StubLedger& StubLedger::session() {
    static StubLedger ledger;
    return ledger;
}

int64_t StubLedger::signIn(const std::string& name) {
    {
        std::lock_guard lock(mutex_);
        player_ = name;
    }
    return moneyOf(personKey(name));
}

void StubLedger::signOut() {
    std::lock_guard lock(mutex_);
    player_.clear();
}

int64_t StubLedger::balance() {
    return moneyOf(personKey(player()));
}

int64_t StubLedger::move(int64_t amount, const std::string& why) {
    return change(personKey(player()), amount, why);
}

int64_t StubLedger::moveSeat(int32_t id, int64_t amount, const std::string& why) {
    const StubPlayer* stubPlayer = stubPlayerWithId(id);
    // The person's hand is one more in his achievements.
    if (!stubPlayer) StubProfile::session().handEnded(player(), amount);
    return change(stubPlayer ? stubPlayerKey(stubPlayer->name) : personKey(player()), amount, why);
}

std::optional<int64_t> StubLedger::spendIn(SqliteDatabase& db, int64_t amount, const std::string& why,
                                           const std::string& payee) {
    if (amount <= 0 || !StubMoneyRow::admits("a spend of " + player() + " (" + why + ")")) return std::nullopt;
    const auto money = moveKey(db, personKey(player()), -amount, why, true);
    if (!money || payee.empty()) return money;
    if (!moveKey(db, stubPlayerKey(payee), amount, "sent by " + player(), false)) return std::nullopt;
    return money;
}

std::optional<int64_t> StubLedger::creditIn(SqliteDatabase& db, int64_t amount, const std::string& why) {
    if (!StubMoneyRow::admits("a credit to " + player() + " (" + why + ")")) return std::nullopt;
    return moveKey(db, personKey(player()), amount, why, false);
}

std::optional<int64_t> StubLedger::winIn(SqliteDatabase& db, int64_t amount, const std::string& why) {
    return moveKey(db, personKey(player()), amount, why, false);
}

std::optional<int64_t> StubLedger::balanceWithin(SqliteDatabase& db) {
    return balanceIn(db, personKey(player()));
}

kavo::Message StubLedger::balanceReply() {
    kavo::Message reply(17);
    reply.writeLong(balance());
    reply.writeUTF("");
    return reply;
}

std::string StubLedger::player() {
    std::lock_guard lock(mutex_);
    return player_;
}

bool StubLedger::open(const std::string& name) {
    bool opened = false;
    StubStore::session().transaction([&](SqliteDatabase& db) {
        auto taken = db.prepare("SELECT 1 FROM accounts WHERE key = ?");
        taken.bindText(1, personKey(name));
        if (taken.step() != SqliteDatabase::kDone) return false;
        opened = balanceIn(db, personKey(name)).has_value();
        return opened;
    });
    return opened;
}

bool StubLedger::hasAccount(SqliteDatabase& db, const std::string& name) {
    auto found = db.prepareKept("SELECT 1 FROM accounts WHERE key = ?");
    found.bindText(1, personKey(name));
    return found.step() == SqliteDatabase::kRow;
}

bool StubLedger::known(const std::string& name) {
    bool found = false;
    StubStore::session().read([&](SqliteDatabase& db) { found = hasAccount(db, name); });
    return found;
}

int64_t StubLedger::stubPlayerMoney(const std::string& name) {
    return session().moneyOf(stubPlayerKey(name));
}

std::string StubLedger::tryAgainLater() {
    return say("Máy chủ đang bận, vui lòng thử lại sau", "The server is busy, please try again later");
}

std::string StubLedger::noAmount() {
    return say("Số tiền phải lớn hơn 0 Zel", "The amount must be more than 0 Zel");
}

int64_t StubLedger::moneyOf(const std::string& key) {
    std::optional<int64_t> money;
    StubStore::session().read([&](SqliteDatabase& db) {
        auto read = db.prepare("SELECT money FROM accounts WHERE key = ?");
        read.bindText(1, key);
        if (read.step() == SqliteDatabase::kRow) money = read.columnInt(0);
    });
    return money ? *money : change(key, 0, "");
}

int64_t StubLedger::change(const std::string& key, int64_t amount, const std::string& why) {
    std::optional<int64_t> money;
    StubStore::session().transaction([&](SqliteDatabase& db) {
        money = moveKey(db, key, amount, why, false);
        return money.has_value();
    });
    if (!money) platform::log("portal-stub: the balance of " + key.substr(1) + " could not be read or moved");
    return money.value_or(0);
}

} // namespace portalstub
