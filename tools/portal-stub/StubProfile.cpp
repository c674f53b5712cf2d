#include "tools/portal-stub/StubProfile.h"

#include "platform/foundation/SqliteDatabase.h"
#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubMoneyRow.h"
#include "tools/portal-stub/StubStore.h"

namespace portalstub {

using platform::SqliteDatabase;
using platform::SqliteStatement;

namespace {

// Experience a hand gives: a win, an even hand, a loss.
constexpr int32_t kWinExperience = 10;
constexpr int32_t kDrawExperience = 5;
constexpr int32_t kLossExperience = 2;

bool kept(SqliteStatement& statement, SqliteDatabase& db) {
    if (statement.step() == SqliteDatabase::kDone) return true;
    platform::log("portal-stub: a profile could not be kept: " + db.errorMessage());
    return false;
}

// Opens his profile row when he has none yet, inside the caller's transaction.
bool openIn(SqliteDatabase& db, const std::string& person) {
    auto open = db.prepare("INSERT OR IGNORE INTO profiles (person, fullname, gender, year, address, idnumber, phone, "
                           "province, month, day, avatar) VALUES (?, '', 0, 0, '', '', '', ?, 0, 0, ?)");
    open.bindText(1, person);
    open.bindInt(2, StubProfile::kNoProvince);
    open.bindInt(3, StubProfile::kFirstAvatar);
    return kept(open, db);
}

} // namespace

StubProfile::Record StubProfile::of(const std::string& person) {
    Record record;
    StubStore::session().transaction([&](SqliteDatabase& db) {
        auto read = db.prepare("SELECT fullname, gender, year, address, idnumber, phone, province, month, day, avatar "
                               "FROM profiles WHERE person = ?");
        read.bindText(1, person);
        if (read.step() != SqliteDatabase::kRow) return true;
        record = {read.columnText(0),        int8_t(read.columnInt(1)), int16_t(read.columnInt(2)),
                  read.columnText(3),        read.columnText(4),        read.columnText(5),
                  int8_t(read.columnInt(6)), int8_t(read.columnInt(7)), int8_t(read.columnInt(8)),
                  int32_t(read.columnInt(9))};
        return true;
    });
    return record;
}

void StubProfile::save(const std::string& person, const Record& record) {
    StubStore::session().transaction([&](SqliteDatabase& db) {
        if (!openIn(db, person)) return false;
        auto write = db.prepare("UPDATE profiles SET fullname = ?, gender = ?, year = ?, address = ?, idnumber = ?, "
                                "phone = ?, province = ?, month = ?, day = ? WHERE person = ?");
        write.bindText(1, record.fullname);
        write.bindInt(2, record.gender);
        write.bindInt(3, record.birthYear);
        write.bindText(4, record.address);
        write.bindText(5, record.idnumber);
        write.bindText(6, record.phone);
        write.bindInt(7, record.province);
        write.bindInt(8, record.birthMonth);
        write.bindInt(9, record.birthDay);
        write.bindText(10, person);
        return kept(write, db);
    });
}

bool StubProfile::choose(const std::string& person, int32_t avatar) {
    if (person.empty()) return false; // no one signed in: no profile to wear it
    bool worn = false;
    StubStore::session().transaction([&](SqliteDatabase& db) {
        if (avatar != kFirstAvatar && !owns(db, person, kAvatar, avatar)) return false;
        auto wear = db.prepare("UPDATE profiles SET avatar = ? WHERE person = ?");
        wear.bindInt(1, avatar);
        wear.bindText(2, person);
        worn = openIn(db, person) && kept(wear, db);
        return worn;
    });
    return worn;
}

bool StubProfile::own(SqliteDatabase& db, const std::string& person, char kind, int32_t id) {
    if (!StubMoneyRow::admits("a thing owned by " + person)) return false;
    auto keep = db.prepareKept("INSERT INTO owned (person, kind, id) VALUES (?, ?, ?)");
    keep.bindText(1, person);
    keep.bindText(2, std::string(1, kind));
    keep.bindInt(3, id);
    return kept(keep, db);
}

bool StubProfile::owns(SqliteDatabase& db, const std::string& person, char kind, int32_t id) {
    auto mine = db.prepareKept("SELECT 1 FROM owned WHERE person = ? AND kind = ? AND id = ?");
    mine.bindText(1, person);
    mine.bindText(2, std::string(1, kind));
    mine.bindInt(3, id);
    return mine.step() == SqliteDatabase::kRow;
}

bool StubProfile::ownedByStubPlayer(SqliteDatabase& db, int32_t player, char kind, int32_t id) {
    if (!StubMoneyRow::admits("a thing owned by stub player " + std::to_string(player))) return false;
    auto keep = db.prepareKept("INSERT INTO stub_owned (player, kind, id) VALUES (?, ?, ?)");
    keep.bindInt(1, player);
    keep.bindText(2, std::string(1, kind));
    keep.bindInt(3, id);
    return kept(keep, db);
}

bool StubProfile::stubPlayerOwns(SqliteDatabase& db, int32_t player, char kind, int32_t id) {
    auto his = db.prepareKept("SELECT 1 FROM stub_owned WHERE player = ? AND kind = ? AND id = ?");
    his.bindInt(1, player);
    his.bindText(2, std::string(1, kind));
    his.bindInt(3, id);
    return his.step() == SqliteDatabase::kRow;
}

std::vector<int32_t> StubProfile::owned(const std::string& person, char kind) {
    std::vector<int32_t> ids;
    StubStore::session().transaction([&](SqliteDatabase& db) {
        // An avatar is owned once however often bought; each item bought is one more.
        auto read = db.prepare(kind == kAvatar ? "SELECT id FROM owned WHERE person = ? AND kind = ? GROUP BY id "
                                                 "ORDER BY min(rowid)"
                                               : "SELECT id FROM owned WHERE person = ? AND kind = ? ORDER BY rowid");
        read.bindText(1, person);
        read.bindText(2, std::string(1, kind));
        while (read.step() == SqliteDatabase::kRow)
            ids.push_back(int32_t(read.columnInt(0)));
        return true;
    });
    return ids;
}

StubProfile::Achievement StubProfile::achievement(const std::string& person, int game) {
    Achievement achievement;
    StubStore::session().transaction([&](SqliteDatabase& db) {
        auto read = db.prepare("SELECT count(CASE WHEN change > 0 THEN 1 END), count(CASE WHEN change < 0 THEN 1 END), "
                               "count(CASE WHEN change = 0 THEN 1 END), coalesce(sum(seconds), 0) FROM hands "
                               "WHERE person = ? AND (? = 0 OR game = ?)");
        read.bindText(1, person);
        read.bindInt(2, game);
        read.bindInt(3, game);
        if (read.step() != SqliteDatabase::kRow) return true;
        achievement.wins = int32_t(read.columnInt(0));
        achievement.losses = int32_t(read.columnInt(1));
        achievement.draws = int32_t(read.columnInt(2));
        achievement.seconds = read.columnInt(3);
        return true;
    });
    achievement.experience =
        achievement.wins * kWinExperience + achievement.draws * kDrawExperience + achievement.losses * kLossExperience;
    return achievement;
}

StubProfile& StubProfile::session() {
    static StubProfile profile;
    return profile;
}

void StubProfile::seated(int game) {
    std::lock_guard lock(mutex_);
    game_ = game;
    since_ = steadyMilliseconds();
}

void StubProfile::handEnded(const std::string& person, int64_t change) {
    int game = 0;
    int64_t seconds = 0;
    {
        std::lock_guard lock(mutex_);
        const int64_t now = steadyMilliseconds();
        game = game_;
        seconds = since_ > 0 ? (now - since_) / 1000 : 0;
        since_ = now;
    }
    if (person.empty() || game == 0) return;
    StubStore::session().transaction([&](SqliteDatabase& db) {
        auto keep = db.prepare("INSERT INTO hands (person, game, change, seconds) VALUES (?, ?, ?, ?)");
        keep.bindText(1, person);
        keep.bindInt(2, game);
        keep.bindInt(3, change);
        keep.bindInt(4, seconds);
        return kept(keep, db);
    });
}

} // namespace portalstub
