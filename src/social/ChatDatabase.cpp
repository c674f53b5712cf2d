#include "social/ChatDatabase.h"

#include "app/UIController.h"
#include "platform/foundation/FileSystem.h"
#include "platform/runtime/Log.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace kavo {

namespace {

constexpr const char* kCreateUsers =
    "CREATE TABLE IF NOT EXISTS TB_USER (ID INTEGER PRIMARY KEY AUTOINCREMENT, USERID TEXT, OWNERID TEXT)";
constexpr const char* kCreateConversations = "CREATE TABLE IF NOT EXISTS TB_CONVERSATION (ID INTEGER PRIMARY KEY "
                                             "AUTOINCREMENT, USERID TEXT, MSG TEXT, TIME TEXT, FORWHO TEXT, OWNERID "
                                             "TEXT)";
constexpr const char* kSelectUser = "SELECT userid from tb_user where userid=? and ownerid=?";
constexpr const char* kInsertUser = "INSERT INTO TB_USER (userid,ownerid) values (?,?)";
constexpr const char* kInsertLine =
    "INSERT INTO TB_CONVERSATION (userid, msg, time, forwho, ownerid) values (?,?,?,?,?)";
constexpr const char* kSelectPartners = "SELECT userid FROM TB_USER WHERE ownerid = ? ORDER BY ID";
constexpr const char* kSelectLines =
    "SELECT  msg, time, forwho from tb_conversation where userid =? and ownerid=? ORDER BY ID";
// The integer value of a stored decimal text; 0 for anything else, as the readers expect.
int64_t integerValue(const std::string& text) {
    long long value = 0;
    return std::sscanf(text.c_str(), "%lld", &value) == 1 ? int64_t(value) : 0;
}

int64_t unixSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

std::string ChatDatabase::defaultPath() {
    return (std::filesystem::path(platform::documentsDirectory()) / kFileName).string();
}

std::string ChatDatabase::ownerId() {
    return std::to_string(UIController::myInfo()->IDDB());
}

bool ChatDatabase::open(const std::string& path) {
    path_ = path;
    std::error_code error;
    const bool existed = std::filesystem::exists(path, error);
    if (!db_.open(path)) {
        platform::log("\n\nFailed to open/create database " + path + ": " + db_.errorMessage());
        return false;
    }
    platform::log(std::string(existed ? "chat database opened: " : "chat database created: ") + path);
    if (createTableInDB()) return true;
    const int code = db_.errorCode();
    if (code != platform::SqliteDatabase::kNotADatabase && code != platform::SqliteDatabase::kCorrupt) return false;
    // Not a database: keep the bytes aside for a look later and start a fresh file,
    // so that lines are stored again from now on.
    db_.close();
    const std::string aside = path + ".corrupt-" + std::to_string(unixSeconds());
    std::filesystem::rename(path, aside, error);
    if (error) {
        platform::log("chat database is not a database and cannot be moved aside: " + error.message());
        return false;
    }
    platform::log("chat database was not a database; kept as " + aside + ", starting a new one");
    if (!db_.open(path)) {
        platform::log("\n\nFailed to open/create database " + path + ": " + db_.errorMessage());
        return false;
    }
    return createTableInDB();
}

void ChatDatabase::close() {
    db_.close();
}

bool ChatDatabase::createTableInDB() {
    for (const char* statement : {kCreateUsers, kCreateConversations}) {
        if (!db_.exec(statement)) {
            platform::log("\n\nFailed to execute command: " + db_.errorMessage());
            return false;
        }
    }
    return true;
}

bool ChatDatabase::ready(const char* what) const {
    if (db_.isOpen()) return true;
    platform::log(std::string("chat database not open: ") + what + " skipped");
    return false;
}

std::string ChatDatabase::queryUserInTableUser(const std::string& userId) {
    if (!ready("partner lookup")) return "-1";
    auto statement = db_.prepare(kSelectUser);
    statement.bindText(1, userId);
    statement.bindText(2, ownerId());
    if (statement.step() == platform::SqliteDatabase::kRow) return statement.columnText(0);
    return "-1";
}

void ChatDatabase::insertUserToDB(const std::string& userId) {
    if (queryUserInTableUser(userId) == userId) return;
    if (!ready("partner insert")) return;
    auto statement = db_.prepare(kInsertUser);
    statement.bindText(1, userId);
    statement.bindText(2, ownerId());
    if (statement.step() == platform::SqliteDatabase::kDone)
        platform::log("Inserted User.");
    else
        platform::log("Error: " + db_.errorMessage());
}

void ChatDatabase::insertMsgToDB(const KavoMessage& message, int forWho) {
    if (!ready("line insert")) return;
    auto statement = db_.prepare(kInsertLine);
    statement.bindText(1, std::to_string(message.fromID()));
    statement.bindText(2, message.message());
    statement.bindText(3, std::to_string(message.time()));
    statement.bindText(4, forWho == kReceived ? "1" : "0");
    statement.bindText(5, ownerId());
    if (statement.step() == platform::SqliteDatabase::kDone)
        platform::log("Inserted Conversation.");
    else
        platform::log("Error: " + db_.errorMessage());
}

void ChatDatabase::insertMsg(const KavoMessage& message, int forWho) {
    insertUserToDB(std::to_string(message.fromID()));
    insertMsgToDB(message, forWho);
}

std::vector<std::string> ChatDatabase::queryAllConversation() {
    std::vector<std::string> partners;
    if (!ready("partner list")) return partners;
    auto statement = db_.prepare(kSelectPartners);
    statement.bindText(1, ownerId());
    while (statement.step() == platform::SqliteDatabase::kRow)
        partners.push_back(statement.columnText(0));
    return partners;
}

KavoMessageList ChatDatabase::queryConversationWithUserID(const std::string& userId,
                                                          const std::vector<std::shared_ptr<Player>>& friends) {
    KavoMessageList lines;
    if (queryUserInTableUser(userId) != userId) return lines;
    const auto partnerId = int32_t(integerValue(userId));
    std::string name = userId;
    for (const auto& player : friends) {
        if (player && player->IDDB() == partnerId) {
            name = player->name();
            break;
        }
    }
    auto statement = db_.prepare(kSelectLines);
    statement.bindText(1, userId);
    statement.bindText(2, ownerId());
    while (statement.step() == platform::SqliteDatabase::kRow) {
        auto line = std::make_shared<KavoMessage>();
        line->setFromID(partnerId);
        line->setFromName(name);
        line->setMessage(statement.columnText(0));
        line->setTime(integerValue(statement.columnText(1)));
        line->setForWho(int32_t(integerValue(statement.columnText(2))));
        line->setSenderAvatarID(-1);
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace kavo
