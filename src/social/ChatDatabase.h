#pragma once

#include "platform/foundation/SqliteDatabase.h"
#include "portal/model/KavoMessage.h"
#include "portal/model/Player.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

// The private conversations of every account that signs in on this device, in one
// SQLite file ("DBKAVO.db" in the Documents folder). Each row carries its owner, the
// signed-in player's IDDB read afresh for every statement, and every read is filtered
// by it, so one account never sees another's partners or lines. Every value is text
// (ids "%d", times "%lld", direction "1" received / "0" sent), bound into the
// statement, never pasted. Rows are only ever added; reads keep the order they were
// added in.
//
// Each messages screen opens its own connection when it comes into view and closes it
// with its close control; its chat panels borrow it. Statements on a closed or failed
// connection are logged and do nothing: reads are empty. Main thread only.
class ChatDatabase {
public:
    static constexpr const char* kFileName = "DBKAVO.db";
    // Direction of a stored line.
    static constexpr int kReceived = 1;
    static constexpr int kSent = 0;

    // Documents folder joined with kFileName.
    static std::string defaultPath();

    // Opens the file (creating it) and its two tables. A file that opens but whose
    // tables cannot be made because it is not a database is moved aside as
    // "<path>.corrupt-<unix seconds>" and a fresh file takes its place. False when no
    // usable connection results (logged once); the connection then stores nothing.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return db_.isOpen(); }
    const std::string& databasePath() const { return path_; }

    // The partner id back when the current owner has a partner row for it, else "-1".
    std::string queryUserInTableUser(const std::string& userId);
    // Adds the owner's partner row unless it stands already.
    void insertUserToDB(const std::string& userId);
    // One line: partner "%d" of fromID, the text, "%lld" of time, the direction.
    void insertMsgToDB(const KavoMessage& message, int forWho);
    // The partner row first, then the line (no transaction: a partner may stand alone).
    void insertMsg(const KavoMessage& message, int forWho);
    // The owner's partner ids, in the order they were first stored.
    std::vector<std::string> queryAllConversation();
    // The owner's lines with that partner, oldest first; empty without a partner row.
    // fromName is the name of the friend of `friends` with that IDDB (first match),
    // else the partner id itself; senderAvatarID is -1.
    KavoMessageList queryConversationWithUserID(const std::string& userId,
                                                const std::vector<std::shared_ptr<Player>>& friends);

private:
    bool createTableInDB();
    // Logs the statement's failure; false when the connection is not open.
    bool ready(const char* what) const;
    static std::string ownerId();

    platform::SqliteDatabase db_;
    std::string path_;
};

} // namespace kavo
