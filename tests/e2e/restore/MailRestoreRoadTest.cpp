// The sign-in's restore of the stored mailbox when it is read on the connection's reader
// thread (nobody was remembered, so nothing was read ahead) and the main thread takes it in,
// with mail that arrives before, while and after the reader thread reads, read marks, a
// second sign-in as the same or another player, a new connection whose sign-in reply is
// read before the previous sign-out ran, and the mailbox opened while another thread
// saves: the client runs headless on the manual clock against the test portal over a real
// socket. The ThreadSanitizer build runs these too.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "net/MobileClient.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "tests/e2e/restore/MailRestoreSupport.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kavo::test {
namespace {

// The sign-in reply's handler reads the stored mailbox on the reader thread while the main
// thread goes on: mail whose twin runs meanwhile waits, and goes in front of the stored list
// once the main thread takes that list in: a new notice replaces the stored one, a mail the
// server sends again is listed once, and a mail the player read stays out. The read waits
// on the stored text, held as the defaults' writer holds it, until the main thread has
// turned a few times: read on the main thread, it would hold the main thread up until the
// hold gives up, a few seconds later.
TEST_F(MailRestoreRoad, TheMainThreadRunsTheMailThatArrivesWhileTheReaderThreadReadsTheStoredMailbox) {
    constexpr int kStored = 2000;
    KavoMessageList stored{mail(KavoMessage::kTypeLatestOnly, kStoredTime + 10, "thong bao cu")};
    for (int i = 1; i < kStored; ++i)
        stored.push_back(storedMail(i));
    const auto read = mail(1, kStoredTime + 20, "da doc");
    storeInFile(ClientWorld::kPlayerId, stored, {read});
    launch();
    LogWatch log;
    TextHold hold(
        platform::UserDefaults::standard().objectForKey(UIController::listMessageKey(ClientWorld::kPlayerId)));
    ASSERT_TRUE(hold.holding()) << "the stored mailbox was decoded before the sign-in";
    ASSERT_TRUE(connect());

    ASSERT_TRUE(
        portal().sendToClient(mailboxReply({mail(KavoMessage::kTypeLatestOnly, kStoredTime + 30, "thong bao moi"),
                                            storedMail(5), mail(1, kStoredTime + 40, "thu moi"), read})));
    ASSERT_TRUE(portal().sendToClient(signInReply(ClientWorld::kPlayerId)));
    // What the main thread sees on its turns while the read is under way.
    int turns = 0;
    std::optional<size_t> waiting;
    bool ownedMeanwhile = true;
    ASSERT_TRUE(runUntil([&] {
        if (!gridOnTop() && log.count(readBegins(ClientWorld::kPlayerId)) > 0 && ++turns <= TextHold::kTurns) {
            waiting = UIController::listMessageCount();
            ownedMeanwhile = owner().has_value();
            hold.mainTurned();
        }
        return gridOnTop();
    }));
    EXPECT_TRUE(hold.givenBackForTurns()) << "the main thread stood still while the stored mailbox was read";
    EXPECT_FALSE(log.writtenOnMainThread(readBegins(ClientWorld::kPlayerId)));
    ASSERT_TRUE(waiting) << "the main thread did not turn while the stored mailbox was read";
    EXPECT_EQ(*waiting, 4u) << "the mail's twin ran while the reader thread read";
    EXPECT_FALSE(ownedMeanwhile) << "nobody owned the list before the main thread took it in";

    EXPECT_EQ(owner(), ClientWorld::kPlayerId);
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
    launch();
    ASSERT_TRUE(connect());

    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 1, "som")})));
    ASSERT_TRUE(runUntil([] { return listed("som"); }));
    ASSERT_TRUE(portal().sendToClient(signInReply(ClientWorld::kPlayerId)));
    ASSERT_TRUE(runUntil(gridOnTop));
    EXPECT_EQ(texts(UIController::listMessage()), (std::vector<std::string>{"som", "thu 1", "thu 2"}));

    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 2, "cho an")})));
    ASSERT_TRUE(runUntil([] { return listed("cho an"); }));
    ASSERT_TRUE(portal().sendToClient(signInReply(kOther)));
    ASSERT_TRUE(runUntil([] { return owner() == kOther; }));
    EXPECT_EQ(texts(UIController::listMessage()), std::vector<std::string>{"cua binh"});
    EXPECT_EQ(storedTexts(ClientWorld::kPlayerId), (std::vector<std::string>{"cho an", "som", "thu 1", "thu 2"}));

    ASSERT_TRUE(portal().sendToClient(signInReply(ClientWorld::kPlayerId)));
    ASSERT_TRUE(runUntil([] { return owner() == ClientWorld::kPlayerId; }));
    EXPECT_EQ(texts(UIController::listMessage()), (std::vector<std::string>{"cho an", "som", "thu 1", "thu 2"}));
}

// Signed in again as the same player on the same connection, the list in memory is his, newer
// than anything stored: nothing is read, decoded or made (the stored value, a list the
// defaults' writer archives when asked, is not asked), and the mail not written yet stays.
TEST_F(MailRestoreRoad, ASecondSignInOfThePlayerReadsNothingAndKeepsTheMailNotWrittenYet) {
    storeInFile(ClientWorld::kPlayerId, storedMails(3));
    launch();
    ASSERT_TRUE(connect());
    ASSERT_TRUE(portal().sendToClient(signInReply(ClientWorld::kPlayerId)));
    ASSERT_TRUE(runUntil(gridOnTop));
    // The first mail after the sign-in is saved at once; the next one waits for the second.
    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 1, "moi 1")})));
    ASSERT_TRUE(runUntil([] { return listed("moi 1"); }));
    ASSERT_TRUE(platform::UserDefaults::standard().flush());
    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 2, "moi 2")})));
    ASSERT_TRUE(runUntil([] { return listed("moi 2"); }));
    const platform::Value storedValue =
        platform::UserDefaults::standard().objectForKey(UIController::listMessageKey(ClientWorld::kPlayerId));
    ASSERT_TRUE(storedValue.isDeferredData()) << "the saved list is archived only when asked";

    LogWatch log;
    ASSERT_TRUE(portal().sendToClient(signInReply(ClientWorld::kPlayerId)));
    ASSERT_TRUE(log.waitFor(readEnded(ClientWorld::kPlayerId)));
    // Read once the sign-in reply's twin has run.
    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 3, "moi 3")})));
    ASSERT_TRUE(runUntil([] { return listed("moi 3"); }));

    EXPECT_EQ(log.count(readBegins(ClientWorld::kPlayerId)), 0u) << "the stored mailbox was read";
    EXPECT_TRUE(storedValue.isDeferredData()) << "the stored list was archived to be read";
    EXPECT_EQ(owner(), ClientWorld::kPlayerId);
    EXPECT_EQ(texts(UIController::listMessage()),
              (std::vector<std::string>{"moi 3", "moi 2", "moi 1", "thu 1", "thu 2", "thu 3"}));
}

// A new connection's sign-in reply can be read before the main thread has run the sign-out
// that the connection's start posted, which writes what the player changed last: a list read
// then is older than the one that sign-out writes. The restore refuses it, and the list is
// read again once the sign-out ran: the mail that only that sign-out wrote stays listed.
TEST_F(MailRestoreRoad, ASignInReadBeforeThePreviousSignOutRanIsReadAgainWithWhatThatSignOutWrote) {
    storeInFile(ClientWorld::kPlayerId, storedMails(2));
    launch();
    ASSERT_TRUE(connect());
    ASSERT_TRUE(portal().sendToClient(signInReply(ClientWorld::kPlayerId)));
    ASSERT_TRUE(runUntil(gridOnTop));
    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 1, "moi 1")})));
    ASSERT_TRUE(runUntil([] { return listed("moi 1"); }));
    // Within the second after the save "moi 1" made: written only when the list is signed out.
    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 2, "moi 2")})));
    ASSERT_TRUE(runUntil([] { return listed("moi 2"); }));

    // A new connection; the main thread runs nothing until the sign-in reply is read.
    MobileClient::getInstance().manualDisconnect();
    ASSERT_TRUE(portal().waitForClientGone(kStateWait));
    LogWatch log;
    ASSERT_TRUE(connect());
    ASSERT_TRUE(portal().sendToClient(signInReply(ClientWorld::kPlayerId)));
    ASSERT_TRUE(log.waitFor(readEnded(ClientWorld::kPlayerId)));
    // Read once the sign-in reply's twin has run.
    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 3, "moi 3")})));
    ASSERT_TRUE(runUntil([] { return listed("moi 3"); }));

    const std::vector<std::string> expected{"moi 3", "moi 2", "moi 1", "thu 1", "thu 2"};
    EXPECT_EQ(texts(UIController::listMessage()), expected);
    EXPECT_EQ(owner(), ClientWorld::kPlayerId);
    advance(1.0);
    UIController::flushListMessage();
    EXPECT_EQ(storedTexts(ClientWorld::kPlayerId), expected);
}

// A connection can end while its sign-in waits for the main thread, and the next one's
// sign-in reply be read before that hop ran: both read the player's stored mailbox while
// nobody owns the list. The first restore takes the mail that came before it and saves it;
// the second read is older than that save, so the restore refuses it and the list is read
// again: the mail of the first connection stays listed and stored.
TEST_F(MailRestoreRoad, ASignInReadBeforeAnEarlierSignInSavedIsReadAgainWithWhatThatSignInSaved) {
    storeInFile(ClientWorld::kPlayerId, storedMails(2));
    launch();
    WaitingHops hops;
    // The main thread runs nothing until both sign-in replies are read.
    ASSERT_TRUE(connect());
    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 1, "som")})));
    ASSERT_TRUE(portal().sendToClient(signInReply(ClientWorld::kPlayerId)));
    ASSERT_TRUE(hops.reached(1));
    MobileClient::getInstance().manualDisconnect();
    ASSERT_TRUE(portal().waitForClientGone(kStateWait));
    ASSERT_TRUE(connect());
    ASSERT_TRUE(portal().sendToClient(signInReply(ClientWorld::kPlayerId)));
    ASSERT_TRUE(hops.reached(2));
    // Read once the second sign-in reply's twin has run.
    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 2, "moi")})));

    ASSERT_TRUE(runUntil([] { return listed("moi"); }));
    platform::RunLoop::main().setTestHook(nullptr);
    EXPECT_EQ(owner(), ClientWorld::kPlayerId);
    const std::vector<std::string> expected{"moi", "som", "thu 1", "thu 2"};
    EXPECT_EQ(texts(UIController::listMessage()), expected);
    advance(1.0);
    UIController::flushListMessage();
    EXPECT_EQ(storedTexts(ClientWorld::kPlayerId), expected);
}

// At the exit the main loop drops what is still posted to it, the sign-in's hop among them:
// the sign-in then ends on the reader thread, nobody signed in, and the stored mailbox is not
// read again (at the exit, among objects being destroyed); the connection's next reply is
// read. The main loop here drops its work as it does at the exit, once the hop waits.
TEST_F(MailRestoreRoad, ASignInWhoseHopTheMainLoopDropsEndsWithoutReadingTheMailboxAgain) {
    storeInFile(ClientWorld::kPlayerId, storedMails(3));
    launch();
    LogWatch log;
    ASSERT_TRUE(connect());
    WaitingHops hops;
    ASSERT_TRUE(portal().sendToClient(signInReply(ClientWorld::kPlayerId)));
    ASSERT_TRUE(hops.reached(1));
    // Drops the hop (and the hook).
    platform::RunLoop::main().reset();

    ASSERT_TRUE(portal().sendToClient(mailboxReply({mail(1, kStoredTime + 1, "sau")})));
    ASSERT_TRUE(runUntil([] { return listed("sau"); }));
    EXPECT_EQ(log.count(readBegins(ClientWorld::kPlayerId)), 1u) << "read again after the hop was dropped";
    EXPECT_FALSE(owner().has_value());
    EXPECT_FALSE(gridOnTop());
}

// The stop signal's thread writes what is pending while the main thread may be busy, for
// example opening the mailbox, which marks every mail seen: the flags a save reads change
// under the mailbox's lock, and the mail is stored seen. Here another thread saves the list
// and the main thread opens the mailbox as soon as it sees that save over, through a relaxed
// flag, which orders nothing: only the mailbox's lock orders the save's reading of the flags
// before their change, and the ThreadSanitizer build reports the two otherwise, every run.
TEST_F(MailRestoreRoad, MailOpenedWhileAnotherThreadSavesIsStoredSeen) {
    storeInFile(ClientWorld::kPlayerId, storedMails(2000));
    launch();
    ASSERT_TRUE(connect());
    ASSERT_TRUE(portal().sendToClient(signInReply(ClientWorld::kPlayerId)));
    ASSERT_TRUE(runUntil(gridOnTop));
    advance(0.4);

    // The first mail is saved at once, the second waits for its save.
    UIController::addItemIntoListMessage(mail(1, kStoredTime + 10'000, "ben 1"));
    UIController::addItemIntoListMessage(mail(1, kStoredTime + 10'001, "ben 2"));
    std::atomic<bool> saved{false};
    std::thread saver([&saved] {
        if (UIController::flushListMessage()) saved.store(true, std::memory_order_relaxed);
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!saved.load(std::memory_order_relaxed) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    auto& delegate = KavoOnlineAppDelegate::getInstance();
    delegate.onOpenMessage();
    const bool opened = !gridOnTop();
    saver.join();
    ASSERT_TRUE(saved.load()) << "the other thread's save wrote nothing";
    ASSERT_TRUE(opened);
    delegate.navigationController()->popViewController(false);
    platform::RunLoop::main().runPending();
    ASSERT_TRUE(gridOnTop());

    UIController::addItemIntoListMessage(mail(1, kStoredTime + 200, "cuoi"));
    UIController::flushListMessage();
    const platform::Value value =
        platform::UserDefaults::standard().objectForKey(UIController::listMessageKey(ClientWorld::kPlayerId));
    const auto storedList = KavoMessage::unarchiveList(value.dataValue()).value_or(KavoMessageList{});
    ASSERT_EQ(storedList.size(), 2003u);
    EXPECT_EQ(storedList.front()->message(), "cuoi");
    EXPECT_EQ(std::count_if(storedList.begin(), storedList.end(), [](const auto& m) { return m->isSee() == 0; }), 1)
        << "only the mail that came after the opening is unseen";
}

} // namespace
} // namespace kavo::test
