// The stored mailbox of the player who signed in last, read ahead from the moment the log-in
// screen shows, while the player fills the form, picks the server and the client connects:
// the sign-in reply of that player takes it over (waiting for a read still under way), a
// sign-in of another player drops it and restores that player's mailbox alone, and mail that
// arrives meanwhile is kept in order. The client runs headless on the manual clock against
// the test portal over a real socket; the ThreadSanitizer build runs these too.
#include "app/UIController.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/e2e/restore/MailRestoreSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

class MailReadAheadRoad : public MailRestoreRoad {
protected:
    static platform::Value storedValue(int32_t iddb) {
        return platform::UserDefaults::standard().objectForKey(UIController::listMessageKey(iddb));
    }

    // The remembered player's stored mailbox of 2,000 mails is read ahead from the log-in
    // screen, its text held (as the defaults' writer holds it) while the player does what
    // `script` says; then the text is given back and the read ends, read or stopped.
    ::testing::AssertionResult readAheadWhile(LogWatch& log, const std::string& script) {
        storeInFile(ClientWorld::kPlayerId, storedMails(2000), {}, true);
        TextHold hold(storedValue(ClientWorld::kPlayerId));
        if (!hold.holding()) return ::testing::AssertionFailure() << "the stored mailbox was decoded before";
        launch();
        if (!log.waitFor([](const std::string& line) { return line == readBegins(ClientWorld::kPlayerId); }))
            return ::testing::AssertionFailure() << "nothing was read ahead";
        if (auto driven = drives(script); !driven) return driven;
        for (int turn = 0; turn < TextHold::kTurns; ++turn)
            hold.mainTurned();
        if (!log.waitFor(readEnded(ClientWorld::kPlayerId))) return ::testing::AssertionFailure() << "the read went on";
        return ::testing::AssertionSuccess();
    }
};

// The read ahead is still under way when the player's sign-in reply comes (its text is held
// as the defaults' writer holds it): the reply waits for it on the reader thread while the
// main thread goes on, and the mail that came before the reply waits in front. Once read,
// the list is handed over as it is; the mail that came before and after the reply is kept,
// newest first.
TEST_F(MailReadAheadRoad, TheRememberedPlayersMailboxIsReadAheadAndMailThatComesMeanwhileIsKeptInOrder) {
    constexpr int kStored = 2000;
    storeInFile(ClientWorld::kPlayerId, storedMails(kStored), {}, true);
    LogWatch log;
    TextHold hold(storedValue(ClientWorld::kPlayerId));
    ASSERT_TRUE(hold.holding());
    launch();
    ASSERT_TRUE(log.waitFor([](const std::string& line) { return line == readBegins(ClientWorld::kPlayerId); }))
        << "the log-in screen shows and nothing is read ahead";
    ASSERT_TRUE(connect());

    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 1, "truoc 1")})));
    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 2, "truoc 2")})));
    ASSERT_TRUE(portal().sendToClient(signInReply(ClientWorld::kPlayerId)));
    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 3, "sau")})));
    // The main thread turns while the read is held: the mail that came first waits, unowned.
    int turns = 0;
    std::vector<std::string> waiting;
    bool ownedMeanwhile = true;
    ASSERT_TRUE(runUntil([&] {
        if (!gridOnTop() && listed("truoc 2") && ++turns <= TextHold::kTurns) {
            waiting = texts(UIController::listMessage());
            ownedMeanwhile = owner().has_value();
            hold.mainTurned();
        }
        return gridOnTop() && listed("sau");
    }));
    EXPECT_TRUE(hold.givenBackForTurns()) << "the main thread stood still while the stored mailbox was read";
    EXPECT_FALSE(log.writtenOnMainThread(readBegins(ClientWorld::kPlayerId)));
    EXPECT_EQ(waiting, (std::vector<std::string>{"truoc 2", "truoc 1"}));
    EXPECT_FALSE(ownedMeanwhile);
    EXPECT_EQ(log.count(readBegins(ClientWorld::kPlayerId)), 1u) << "read once, ahead, and not again at the reply";

    const auto list = texts(UIController::listMessage());
    ASSERT_EQ(list.size(), size_t(3 + kStored));
    EXPECT_EQ(std::vector<std::string>(list.begin(), list.begin() + 5),
              (std::vector<std::string>{"sau", "truoc 2", "truoc 1", "thu 1", "thu 2"}));
    EXPECT_EQ(list.back(), "thu 2000");
    EXPECT_EQ(owner(), ClientWorld::kPlayerId);
    advance(1.0);
    EXPECT_EQ(storedTexts(ClientWorld::kPlayerId), list);
}

// The server signs in another player than the one read ahead (whose read is still under
// way): that player's stored mailbox is read and restored, with the mail that came before
// his reply in front, and nothing of the first player's; the first player's stored mailbox
// stays as it was.
TEST_F(MailReadAheadRoad, ASignInOfAnotherPlayerThanTheOneReadAheadRestoresHisMailboxAndNoneOfTheFirsts) {
    storeInFile(ClientWorld::kPlayerId, storedMails(2000), {}, true);
    storeInFile(kOther, {mail(1, kStoredTime + 5, "cua binh")});
    LogWatch log;
    TextHold hold(storedValue(ClientWorld::kPlayerId));
    ASSERT_TRUE(hold.holding());
    launch();
    ASSERT_TRUE(log.waitFor([](const std::string& line) { return line == readBegins(ClientWorld::kPlayerId); }));
    ASSERT_TRUE(connect());

    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 1, "truoc 1")})));
    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 2, "truoc 2")})));
    ASSERT_TRUE(portal().sendToClient(signInReply(kOther)));
    ASSERT_TRUE(runUntil([] { return gridOnTop() && owner() == kOther; }));
    EXPECT_EQ(texts(UIController::listMessage()), (std::vector<std::string>{"truoc 2", "truoc 1", "cua binh"}));

    // The first player's read, dropped, stops once its text is given back: nothing of it
    // is read or listed.
    hold.mainTurned();
    ASSERT_TRUE(runUntil([&] {
        hold.mainTurned();
        return log.count(readStopped(ClientWorld::kPlayerId)) > 0;
    }));
    EXPECT_EQ(log.count(" mails read"), 1u) << "only the other player's mailbox is read";
    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 3, "sau")})));
    ASSERT_TRUE(runUntil([] { return listed("sau"); }));
    advance(1.0);
    const std::vector<std::string> expected{"sau", "truoc 2", "truoc 1", "cua binh"};
    EXPECT_EQ(texts(UIController::listMessage()), expected);
    EXPECT_EQ(storedTexts(kOther), expected);
    const auto first = storedTexts(ClientWorld::kPlayerId);
    ASSERT_EQ(first.size(), 2000u);
    EXPECT_EQ(first.front(), "thu 1");
}

// A name typed into the sign-in form that is not the remembered player's tells before the
// sign-in that his mailbox will not be used: the read ahead of it stops there (its text is
// held, as the defaults' writer holds it, until the name is typed), and nothing of it is read.
// His name typed again reads it anew.
TEST_F(MailReadAheadRoad, ANameTypedThatIsNotTheRememberedOneStopsTheReadAhead) {
    LogWatch log;
    ASSERT_TRUE(readAheadWhile(log, "screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\n"
                                    "type id=txfUsername binh\ntype id=txfPassword matkhau"));
    EXPECT_EQ(log.count(readStopped(ClientWorld::kPlayerId)), 1u);
    EXPECT_EQ(log.count(" mails read"), 0u) << "the remembered player's mailbox was read for another name";

    ASSERT_TRUE(drives("type id=txfUsername an\ntype id=txfPassword matkhau"));
    ASSERT_TRUE(log.waitFor([](const std::string& line) {
        return line == "stored mailbox of " + std::to_string(ClientWorld::kPlayerId) + ": 2000 mails read";
    }));
    EXPECT_EQ(log.count(readBegins(ClientWorld::kPlayerId)), 2u);
}

// A read ahead dropped while it decodes stops at its next look, a thousand mails on, instead of
// decoding the whole mailbox first: the remembered player's 20,000 stored mails are held at
// the read's first look while the player types another name, and once let go nothing more of
// them is decoded, read or listed.
TEST_F(MailReadAheadRoad, ANameTypedWhileTheMailboxIsDecodedStopsTheDecodeAtItsNextLook) {
    storeInFile(ClientWorld::kPlayerId, storedMails(20'000), {}, true);
    LogWatch log;
    ReadWatch reads(ReadWatch::kHoldFirstLook);
    launch();
    ASSERT_TRUE(reads.waitForLook()) << "nothing was read ahead";
    ASSERT_TRUE(drives("screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\n"
                       "type id=txfUsername binh\ntype id=txfPassword matkhau"));
    reads.release();
    ASSERT_TRUE(log.waitFor(readEnded(ClientWorld::kPlayerId)));
    EXPECT_EQ(reads.looks(), std::vector<size_t>{1000}) << "the decode went on after the drop";
    EXPECT_EQ(log.count("stored mailbox of " + std::to_string(ClientWorld::kPlayerId) + ": 1000 mails decoded"), 1u);
    EXPECT_EQ(log.count(readStopped(ClientWorld::kPlayerId)), 1u);
    EXPECT_EQ(log.count(" mails read"), 0u);
}

// A large mailbox read ahead whole and then dropped (another name typed) is freed on the read
// ahead's thread, and its memory is given back to the system there: that thread's heap, which
// the main thread never allocates from, would keep the tens of megabytes the read took.
TEST_F(MailReadAheadRoad, ALargeMailboxReadAheadAndDroppedGivesItsMemoryBackOffTheMainThread) {
    constexpr size_t kStored = 12'000;
    storeInFile(ClientWorld::kPlayerId, storedMails(int(kStored)), {}, true);
    LogWatch log;
    ReadWatch reads;
    launch();
    ASSERT_TRUE(log.waitFor([](const std::string& line) {
        return line == "stored mailbox of " + std::to_string(ClientWorld::kPlayerId) + ": 12000 mails read";
    }));
    EXPECT_TRUE(reads.givenBack().empty()) << "given back before it was dropped";
    ASSERT_TRUE(drives("screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\n"
                       "type id=txfUsername binh\ntype id=txfPassword matkhau"));
    ASSERT_TRUE(reads.waitForGivenBack()) << "the dropped mailbox's memory was not given back";
    const auto given = reads.givenBack();
    ASSERT_EQ(given.size(), 1u);
    EXPECT_EQ(given[0].mails, kStored);
    EXPECT_FALSE(given[0].onMainThread);
}

// Opening the registration form tells as much: a new account is not the remembered player,
// and the read ahead of his mailbox stops.
TEST_F(MailReadAheadRoad, OpeningTheRegistrationFormStopsTheReadAhead) {
    LogWatch log;
    ASSERT_TRUE(readAheadWhile(log, "screen LoginView\nadvance 0.1\ntap id=btnRegister_Clicked\nwait id=btnRegister"));
    EXPECT_EQ(log.count(readStopped(ClientWorld::kPlayerId)), 1u);
    EXPECT_EQ(log.count(" mails read"), 0u) << "the remembered player's mailbox was read for a registration";
}

} // namespace
} // namespace kavo::test
