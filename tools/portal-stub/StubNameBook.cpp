#include "tools/portal-stub/StubNameBook.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubNames.h"
#include "tools/portal-stub/StubPortal.h"
#include "tools/portal-stub/StubRegistration.h"
#include "tools/portal-stub/StubRoster.h"
#include "tools/portal-stub/StubStore.h"

#include <optional>
#include <utility>
#include <vector>

namespace portalstub {

using platform::SqliteDatabase;

namespace {

// The name of no person whose likeness is `like`'s: a stub player's, or "banned".
std::optional<std::string> reservedAlike(const std::string& like) {
    static const auto reserved = [] {
        std::vector<std::pair<std::string, std::string>> names = {
            {likeness(StubPortal::kBannedUser), StubPortal::kBannedUser}};
        for (const StubPlayer& player : kStubPlayers)
            names.emplace_back(likeness(player.name), player.name);
        return names;
    }();
    for (const auto& [reservedLike, name] : reserved)
        if (like == reservedLike) return name;
    return std::nullopt;
}

// The account kept under `sent` as it came, or under its normal form `normal`.
std::optional<std::string> keptAccount(const std::string& sent, const std::string& normal) {
    std::optional<std::string> kept;
    StubStore::session().read([&](SqliteDatabase& db) {
        for (const std::string& name : {sent, normal})
            if (!kept && StubLedger::hasAccount(db, name)) kept = name;
    });
    return kept;
}

// Enters `name` under `like` inside the caller's transaction unless a name is entered
// there: the name entered there now.
std::optional<std::string> enterIn(SqliteDatabase& db, const std::string& like, const std::string& name) {
    auto enter = db.prepareKept("INSERT OR IGNORE INTO names (likeness, name) VALUES (?, ?)");
    enter.bindText(1, like);
    enter.bindText(2, name);
    auto entered = db.prepareKept("SELECT name FROM names WHERE likeness = ?");
    entered.bindText(1, like);
    if (enter.step() != SqliteDatabase::kDone || entered.step() != SqliteDatabase::kRow) return std::nullopt;
    return entered.columnText(0);
}

} // namespace

StubNameBook::Found StubNameBook::claim(const std::string& sent) {
    const std::string normal = normalName(sent);
    if (const auto kept = keptAccount(sent, normal)) return {Kind::Person, *kept};
    if (!plainlySpaced(normal)) return {Kind::NotValid, ""};
    const std::string like = likeness(normal);
    if (const auto reserved = reservedAlike(like))
        return *reserved == normal ? Found{Kind::StubPlayer, normal} : Found{Kind::Alike, ""};
    std::optional<std::string> entered;
    StubStore::session().transaction([&](SqliteDatabase& db) {
        entered = enterIn(db, like, normal);
        return entered.has_value();
    });
    if (!entered) return {Kind::Failed, ""};
    // The same name entered before, perhaps with its marks apart: his.
    if (normalName(*entered) == normal) return {Kind::Person, *entered};
    return {Kind::Alike, ""};
}

void StubNameBook::enterKeptAccounts() {
    size_t entered = 0;
    const bool kept = StubStore::session().transaction([&](SqliteDatabase& db) {
        auto kept = db.prepare("SELECT substr(key, 2) FROM accounts WHERE key >= 'p' AND key < 'q' ORDER BY key");
        while (kept.step() == SqliteDatabase::kRow) {
            const std::string name = kept.columnText(0);
            if (!enterIn(db, likeness(normalName(name)), name)) return false;
            ++entered;
        }
        return true;
    });
    platform::log(
        kept ? "portal-stub: the names of " + std::to_string(entered) + " kept accounts are in the name book"
             : std::string("portal-stub: the names of the kept accounts could not be entered in the name book"));
}

void StubNameBook::enter(const std::string& name) {
    StubStore::session().transaction([&](SqliteDatabase& db) { return enterIn(db, likeness(name), name).has_value(); });
}

std::string StubNameBook::refusal(const Found& found) {
    switch (found.kind) {
    case Kind::NotValid:
        return StubRegistration::notValid();
    case Kind::Alike:
        return say("Tên đăng nhập này dễ nhầm với tên của người chơi khác",
                   "This user name reads like another player's");
    case Kind::Failed:
        return StubLedger::tryAgainLater();
    case Kind::Person:
    case Kind::StubPlayer:
        break;
    }
    return "";
}

} // namespace portalstub
