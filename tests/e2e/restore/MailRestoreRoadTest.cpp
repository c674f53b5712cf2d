// The sign-in's restore of the stored mailbox, as the connection's reader thread does it
// (read, decoded, checked and indexed there) and the main thread takes it in, with mail
// that arrives before, while and after the reader thread restores, read marks and a second
// sign-in as another player: the client runs headless on the manual clock against the test
// portal over a real socket. The ThreadSanitizer build runs these too.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "lobby/GameView.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalService.h"
#include "portal/model/KavoMessage.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <chrono>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kavo::test {
namespace {

constexpr int32_t kOther = ClientWorld::kPlayerId + 1;
constexpr int64_t kStoredTime = 1'700'000'000'000LL;

std::shared_ptr<KavoMessage> mail(int32_t type, int64_t time, const std::string& text) {
    auto m = std::make_shared<KavoMessage>();
    m->setType(type);
    m->setTime(time);
    m->setFromID(7);
    m->setFromName("admin");
    m->setMessage(text);
    return m;
}

// Stored mail "thu <i>", newest first: its time falls as i grows.
std::shared_ptr<KavoMessage> storedMail(int i) {
    return mail(1, kStoredTime - i, "thu " + std::to_string(i));
}

// One mailbox reply (1701) of these mails, in list order.
Message mailboxReply(const KavoMessageList& mails) {
    Bytes body;
    for (const auto& m : mails)
        body.int32(m->type()).int64(m->time()).int32(m->fromID()).utf(m->fromName()).utf(m->message());
    return body.message(1701);
}

Message signInReply(int32_t iddb) {
    return Bytes().int32(iddb).int64(ClientWorld::kPlayerMoney).int16(3).int32(1500).message(3);
}

std::vector<std::string> texts(const KavoMessageList& list) {
    std::vector<std::string> out;
    for (const auto& m : list)
        out.push_back(m->message());
    return out;
}

// What a later run reads back for the player.
std::vector<std::string> storedTexts(int32_t iddb) {
    const platform::Value value = platform::UserDefaults::standard().objectForKey(UIController::listMessageKey(iddb));
    return texts(KavoMessage::unarchiveList(value.dataValue()).value_or(KavoMessageList{}));
}

class MailRestoreRoad : public ClientFixture {
protected:
    // A mailbox and read marks that an earlier run left in the file: read back, the large
    // archive stays its Base64 text until the sign-in decodes it.
    static void storeInFile(int32_t iddb, const KavoMessageList& mailbox, const KavoMessageList& read = {}) {
        auto& defaults = platform::UserDefaults::standard();
        defaults.setData(KavoMessage::archiveList(mailbox), UIController::listMessageKey(iddb));
        if (!read.empty()) defaults.setData(KavoMessage::archiveList(read), UIController::readMailKey(iddb));
        defaults.flush();
        defaults.reset();
    }

    ::testing::AssertionResult connect() {
        launch();
        const int connections = portal().connectionCount();
        GlobalService::getInstance().connect();
        if (!portal().waitForConnections(connections + 1, 5)) return ::testing::AssertionFailure() << "no connection";
        return ::testing::AssertionSuccess();
    }

    // Runs the main loop (real time) until `done`.
    static bool runUntil(const std::function<bool()>& done) { return platform::RunLoop::main().runUntil(done, 10); }

    static bool gridOnTop() {
        return bool(std::dynamic_pointer_cast<GameView>(KavoOnlineAppDelegate::getInstance().topViewController()));
    }

    static bool listed(const std::string& text) {
        const auto list = UIController::listMessage();
        return std::any_of(list.begin(), list.end(), [&](const auto& m) { return m->message() == text; });
    }

    // Waits (real time, without the main loop) until the portal has a request of `command`.
    bool portalGot(int16_t command) {
        for (int i = 0; i < 500; ++i) {
            if (!portal().messages(command).empty()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
};

// The sign-in reply's handler reads the stored mailbox on the reader thread; mail whose
// twin the main thread runs meanwhile waits, and goes in front of the stored list once the
// main thread takes that list in: a new notice replaces the stored one, a mail the server
// sends again is listed once, and a mail the player read stays out.
TEST_F(MailRestoreRoad, MailThatArrivesWhileTheReaderThreadRestoresGoesInFrontOfTheStoredMailbox) {
    constexpr int kStored = 2000;
    KavoMessageList stored{mail(KavoMessage::kTypeLatestOnly, kStoredTime + 10, "thong bao cu")};
    for (int i = 1; i < kStored; ++i)
        stored.push_back(storedMail(i));
    const auto read = mail(1, kStoredTime + 20, "da doc");
    storeInFile(ClientWorld::kPlayerId, stored, {read});
    ASSERT_TRUE(connect());

    ASSERT_TRUE(
        portal().sendToClient(mailboxReply({mail(KavoMessage::kTypeLatestOnly, kStoredTime + 30, "thong bao moi"),
                                            storedMail(5), mail(1, kStoredTime + 40, "thu moi"), read})));
    ASSERT_TRUE(portal().sendToClient(signInReply(ClientWorld::kPlayerId)));
    // The reader thread sends its requests (2800 last) and then decodes the stored mailbox,
    // whose text this thread holds as the defaults' writer would while it writes: the
    // decode waits, and the main thread runs the mail's twin meanwhile.
    std::optional<size_t> waiting;
    bool ownedMeanwhile = true;
    const platform::Value text =
        platform::UserDefaults::standard().objectForKey(UIController::listMessageKey(ClientWorld::kPlayerId));
    const bool held = text.readBase64Text([&](std::string_view) {
        if (!portalGot(2800)) return;
        platform::RunLoop::main().runPending();
        waiting = UIController::listMessageCount();
        ownedMeanwhile = UIController::listMessageOwner().has_value();
    });
    ASSERT_TRUE(held) << "the stored mailbox was decoded before the sign-in";
    ASSERT_TRUE(waiting) << "the reader thread never sent its requests";
    EXPECT_EQ(*waiting, 4u) << "the mail's twin ran while the reader thread restored";
    EXPECT_FALSE(ownedMeanwhile) << "nobody owned the list before the main thread took it in";

    ASSERT_TRUE(runUntil(gridOnTop));
    EXPECT_EQ(UIController::listMessageOwner(), ClientWorld::kPlayerId);
    // After the grid: listed in front; a stored mail sent again is not listed twice.
    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 50, "thu sau"), storedMail(7)})));
    ASSERT_TRUE(runUntil([] { return listed("thu sau"); }));
    advance(1.0);

    const std::vector<std::string> expectedFront{"thu sau", "thong bao moi", "thu 5", "thu moi", "thu 1",
                                                 "thu 2",   "thu 3",         "thu 4", "thu 6",   "thu 7"};
    const auto list = texts(UIController::listMessage());
    ASSERT_EQ(list.size(), size_t(1 + 3 + kStored - 2));
    EXPECT_EQ(std::vector<std::string>(list.begin(), list.begin() + 10), expectedFront);
    EXPECT_EQ(list.back(), "thu 1999");
    EXPECT_EQ(std::count(list.begin(), list.end(), "thu 7"), 1);
    EXPECT_EQ(std::count(list.begin(), list.end(), "da doc"), 0) << "read mail stays read";
    EXPECT_EQ(std::count(list.begin(), list.end(), "thong bao cu"), 0) << "the new notice replaced it";
    EXPECT_EQ(storedTexts(ClientWorld::kPlayerId), list);
}

// Mail that came before the sign-in reply goes in front of the stored mailbox; a second
// sign-in on the same connection as another player writes the first player's mail under his
// key and shows only the other's, and signing in again as the first brings his mail back.
TEST_F(MailRestoreRoad, EachSignInOfTheConnectionShowsThatPlayersMailAndKeepsTheOthers) {
    storeInFile(ClientWorld::kPlayerId, {storedMail(1), storedMail(2)});
    storeInFile(kOther, {mail(1, kStoredTime + 5, "cua binh")});
    ASSERT_TRUE(connect());

    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 1, "som")})));
    ASSERT_TRUE(runUntil([] { return listed("som"); }));
    ASSERT_TRUE(portal().sendToClient(signInReply(ClientWorld::kPlayerId)));
    ASSERT_TRUE(runUntil(gridOnTop));
    EXPECT_EQ(texts(UIController::listMessage()), (std::vector<std::string>{"som", "thu 1", "thu 2"}));

    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 2, "cho an")})));
    ASSERT_TRUE(runUntil([] { return listed("cho an"); }));
    ASSERT_TRUE(portal().sendToClient(signInReply(kOther)));
    ASSERT_TRUE(runUntil([] { return UIController::listMessageOwner() == kOther; }));
    EXPECT_EQ(texts(UIController::listMessage()), std::vector<std::string>{"cua binh"});
    EXPECT_EQ(storedTexts(ClientWorld::kPlayerId), (std::vector<std::string>{"cho an", "som", "thu 1", "thu 2"}));

    ASSERT_TRUE(portal().sendToClient(signInReply(ClientWorld::kPlayerId)));
    ASSERT_TRUE(runUntil([] { return UIController::listMessageOwner() == ClientWorld::kPlayerId; }));
    EXPECT_EQ(texts(UIController::listMessage()), (std::vector<std::string>{"cho an", "som", "thu 1", "thu 2"}));
}

} // namespace
} // namespace kavo::test
