// The chat database on real SQLite files in a temporary data folder.
#include "social/ChatDatabase.h"

#include "app/UIController.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/SqliteDatabase.h"
#include "tests/table/TableTestSupport.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

class ChatDatabaseTest : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        signInAs(4242);
    }
    static void signInAs(int32_t id) { UIController::myInfo()->setIDDB(id); }
    static std::string path() { return ChatDatabase::defaultPath(); }

    static KavoMessage line(int32_t partner, const std::string& text, int64_t time) {
        KavoMessage message;
        message.setFromID(partner);
        message.setMessage(text);
        message.setTime(time);
        return message;
    }

    // Every row of a table as "col|col|..." in row order, read with a connection of its own.
    static std::vector<std::string> rows(const std::string& table) {
        platform::SqliteDatabase db;
        EXPECT_TRUE(db.open(path()));
        auto statement = db.prepare("SELECT * FROM " + table + " ORDER BY ID");
        std::vector<std::string> out;
        while (statement.step() == platform::SqliteDatabase::kRow) {
            std::string row;
            for (int column = 1; column < statement.columnCount(); ++column)
                row += (column > 1 ? "|" : "") + statement.columnText(column);
            out.push_back(row);
        }
        return out;
    }

    static std::vector<std::string> texts(const KavoMessageList& lines) {
        std::vector<std::string> out;
        for (const auto& message : lines)
            out.push_back(message->message() + "/" + std::to_string(message->forWho()) + "/" +
                          std::to_string(message->time()));
        return out;
    }
};

struct Case {
    const char* name;
    std::function<void(ChatDatabase&)> act;
    std::vector<std::string> users;         // TB_USER rows: USERID|OWNERID
    std::vector<std::string> conversations; // TB_CONVERSATION rows: USERID|MSG|TIME|FORWHO|OWNERID
    std::vector<std::string> partners;      // queryAllConversation of owner 4242
    std::vector<std::string> linesOf77;     // queryConversationWithUserID("77") of owner 4242
};

TEST_F(ChatDatabaseTest, StoresAndReadsConversationsAsTheCasesSay) {
    const std::vector<Case> cases = {
        {"no file yet", [](ChatDatabase&) {}, {}, {}, {}, {}},
        {"two lines from one partner",
         [](ChatDatabase& db) {
             db.insertMsg(line(77, "hi", 1000), ChatDatabase::kReceived);
             db.insertMsg(line(77, "again", 2000), ChatDatabase::kReceived);
         },
         {"77|4242"},
         {"77|hi|1000|1|4242", "77|again|2000|1|4242"},
         {"77"},
         {"hi/1/1000", "again/1/2000"}},
        {"first line to a new partner",
         [](ChatDatabase& db) { db.insertMsg(line(77, "hello", 5), ChatDatabase::kSent); },
         {"77|4242"},
         {"77|hello|5|0|4242"},
         {"77"},
         {"hello/0/5"}},
        {"a time past 32 bits",
         [](ChatDatabase& db) { db.insertMsg(line(77, "late", 1765000000123LL), ChatDatabase::kReceived); },
         {"77|4242"},
         {"77|late|1765000000123|1|4242"},
         {"77"},
         {"late/1/1765000000123"}},
        {"lines without a partner row",
         [](ChatDatabase& db) { db.insertMsgToDB(line(77, "orphan", 9), ChatDatabase::kReceived); },
         {},
         {"77|orphan|9|1|4242"},
         {},
         {}},
        {"another owner's partner",
         [](ChatDatabase& db) {
             signInAs(999);
             db.insertMsg(line(77, "theirs", 1), ChatDatabase::kReceived);
             signInAs(4242);
         },
         {"77|999"},
         {"77|theirs|1|1|999"},
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(path());
        ChatDatabase db;
        ASSERT_TRUE(db.open(path()));
        c.act(db);
        EXPECT_EQ(db.queryAllConversation(), c.partners);
        EXPECT_EQ(texts(db.queryConversationWithUserID("77", {})), c.linesOf77);
        db.close();
        EXPECT_EQ(rows("TB_USER"), c.users);
        EXPECT_EQ(rows("TB_CONVERSATION"), c.conversations);
    }
}

TEST_F(ChatDatabaseTest, ANewConnectionFindsEarlierConversationsWithTheFriendsName) {
    {
        ChatDatabase first;
        ASSERT_TRUE(first.open(path()));
        first.insertMsg(line(77, "one", 1), ChatDatabase::kSent);
        first.insertMsg(line(78, "two", 2), ChatDatabase::kReceived);
    }
    ChatDatabase second;
    ASSERT_TRUE(second.open(path()));
    EXPECT_EQ(second.queryAllConversation(), (std::vector<std::string>{"77", "78"}));
    auto friendOf77 = std::make_shared<Player>();
    friendOf77->setIDDB(77);
    friendOf77->setName("an");
    const auto lines = second.queryConversationWithUserID("77", {friendOf77});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->fromName(), "an");
    EXPECT_EQ(lines[0]->fromID(), 77);
    EXPECT_EQ(lines[0]->senderAvatarID(), -1);
    EXPECT_EQ(second.queryConversationWithUserID("78", {friendOf77})[0]->fromName(), "78")
        << "a partner who is no friend is named by the id";
}

TEST_F(ChatDatabaseTest, QuotesInALineAreStoredAsTextAndBothTablesSurvive) {
    const std::string nasty = "he said \"hi\"'); DROP TABLE TB_USER;--";
    ChatDatabase db;
    ASSERT_TRUE(db.open(path()));
    db.insertMsg(line(77, nasty, 3), ChatDatabase::kReceived);
    db.insertMsg(line(77, "after", 4), ChatDatabase::kReceived);
    const auto lines = db.queryConversationWithUserID("77", {});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->message(), nasty);
    EXPECT_EQ(rows("TB_USER"), (std::vector<std::string>{"77|4242"}));
}

TEST_F(ChatDatabaseTest, AFileThatIsNoDatabaseIsKeptAsideAndANewOneStoresLines) {
    {
        std::ofstream garbage(path(), std::ios::binary);
        garbage << std::string(4096, 'x');
    }
    ChatDatabase db;
    EXPECT_TRUE(db.open(path()));
    db.insertMsg(line(77, "stored", 1), ChatDatabase::kReceived);
    EXPECT_EQ(db.queryConversationWithUserID("77", {}).size(), 1u);
    int aside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(path()).parent_path()))
        if (entry.path().filename().string().rfind("DBKAVO.db.corrupt-", 0) == 0) {
            ++aside;
            EXPECT_EQ(std::filesystem::file_size(entry.path()), 4096u) << "kept as it was";
        }
    EXPECT_EQ(aside, 1);
}

TEST_F(ChatDatabaseTest, AFileWithAValidHeaderAndDamagedPagesIsKeptAsideToo) {
    {
        ChatDatabase first;
        ASSERT_TRUE(first.open(path()));
        for (int i = 0; i < 50; ++i)
            first.insertMsg(line(77, std::string(200, char('a' + i % 26)), i), ChatDatabase::kReceived);
        first.close();
    }
    const auto size = std::filesystem::file_size(path());
    ASSERT_GT(size, 4096u);
    {
        // The 100-byte header stays; the pages after it become garbage.
        std::fstream file(path(), std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(100);
        file << std::string(size_t(size) - 100, char(0xA5));
    }
    ChatDatabase db;
    EXPECT_TRUE(db.open(path()));
    db.insertMsg(line(77, "stored", 1), ChatDatabase::kReceived);
    EXPECT_EQ(db.queryConversationWithUserID("77", {}).size(), 1u);
    int aside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(path()).parent_path()))
        aside += entry.path().filename().string().rfind("DBKAVO.db.corrupt-", 0) == 0;
    EXPECT_EQ(aside, 1);
}

TEST_F(ChatDatabaseTest, AConnectionThatCannotOpenStoresNothingAndReadsEmpty) {
    ChatDatabase db;
    EXPECT_FALSE(db.open(platform::documentsDirectory() + "/no/such/folder/DBKAVO.db"));
    db.insertMsg(line(77, "lost", 1), ChatDatabase::kReceived);
    EXPECT_TRUE(db.queryAllConversation().empty());
    EXPECT_EQ(db.queryUserInTableUser("77"), "-1");

    ChatDatabase closed;
    ASSERT_TRUE(closed.open(path()));
    closed.close();
    closed.insertMsg(line(77, "late", 1), ChatDatabase::kReceived);
    EXPECT_TRUE(rows("TB_CONVERSATION").empty());
}

} // namespace
} // namespace kavo::test
