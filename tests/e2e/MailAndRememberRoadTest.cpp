// Mail floods, a mail delivered twice, and the remember switch of the log-in form,
// walked as a player and a server would: the client runs headless on the manual clock
// against the test portal.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "portal/model/KavoMessage.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <memory>
#include <optional>

using namespace kavo;
using namespace kavo::test;

namespace {

constexpr int64_t kWelcomeTime = 1'765'000'000'000LL;

Message mailReply(int32_t type, int64_t time, const std::string& text) {
    Bytes mail;
    mail.int32(type).int64(time).int32(1).utf("admin").utf(text);
    return mail.message(1701);
}

// From the first screen to the pick of the server; `onForm` runs on the open form first.
std::string signInScript(const std::string& onForm = "") {
    return "screen LoginView\n"
           "advance 0.1\n"
           "tap id=btnSignIn_Clicked\n" +
           onForm +
           "type id=txfUsername an\n"
           "type id=txfPassword bimat\n"
           "tap id=btnSignIn\n"
           "wait text=Kavo Test\n"
           "tap text=Kavo Test\n";
}

// How many mails a later run would read back for the signed-in player.
std::optional<size_t> storedMailCount() {
    const platform::Value value =
        platform::UserDefaults::standard().objectForKey(UIController::listMessageKey(ClientWorld::kPlayerId));
    if (value.isNull()) return std::nullopt;
    auto list = KavoMessage::unarchiveList(value.dataValue());
    return list ? std::optional<size_t>(list->size()) : std::nullopt;
}

class MailRoad : public ClientFixture {
protected:
    void signIn() {
        launch();
        ASSERT_TRUE(drives(signInScript() + "screen GameView\n"));
    }
    // Runs the main loop (real time) until the mailbox lists `count` mails.
    [[nodiscard]] bool waitForMailCount(size_t count) {
        return platform::RunLoop::main().runUntil([count] { return UIController::listMessageCount() >= count; },
                                                  kStateWait);
    }
};

TEST_F(MailRoad, AFloodOfMailIsListedWholeAndStoredOnceASecondNotOncePerMail) {
    signIn();
    constexpr int kMails = 600;
    for (int i = 0; i < kMails; ++i)
        ASSERT_TRUE(portal().sendToClient(mailReply(1, kWelcomeTime + i, "tin so " + std::to_string(i))));
    ASSERT_TRUE(waitForMailCount(kMails)) << UIController::listMessageCount();
    EXPECT_EQ(UIController::listMessage().front()->message(), "tin so 599") << "the newest first";

    // The first mail was stored at once; the rest wait for the next save, a second on.
    EXPECT_EQ(storedMailCount(), 1u);
    advance(1.0);
    EXPECT_EQ(storedMailCount(), size_t(kMails));
}

TEST_F(MailRoad, TheWelcomeMailSentAtEverySignInIsListedOnce) {
    portal().onCommand(1702, [](Message&, TestPortal::Reply& reply) {
        reply.send(mailReply(4, kWelcomeTime, "Chào mừng đến Kavo Online!"));
    });
    // What an earlier session stored: that same welcome mail.
    auto earlier = std::make_shared<KavoMessage>();
    earlier->setType(4);
    earlier->setTime(kWelcomeTime);
    earlier->setFromID(1);
    earlier->setFromName("admin");
    earlier->setMessage("Chào mừng đến Kavo Online!");
    platform::UserDefaults::standard().setData(KavoMessage::archiveList({earlier}),
                                               UIController::listMessageKey(ClientWorld::kPlayerId));

    signIn();
    advance(0.5);
    EXPECT_EQ(UIController::listMessageCount(), 1u);

    // A mail of another type with the same text is another mail; sent twice, it is
    // listed once.
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(portal().sendToClient(mailReply(1, kWelcomeTime, "Chào mừng đến Kavo Online!")));
    ASSERT_TRUE(portal().sendToClient(mailReply(1, kWelcomeTime + 1, "Quà tặng hôm nay")));
    ASSERT_TRUE(waitForMailCount(3));
    advance(1.0);
    const auto listed = UIController::listMessage();
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0]->message(), "Quà tặng hôm nay");
    EXPECT_EQ(listed[1]->type(), 1);
    EXPECT_EQ(listed[2]->type(), 4);
    EXPECT_EQ(storedMailCount(), 3u);
}

// The remember switch decides whether the typed password outlives the sign-in attempt.
struct RememberCase {
    const char* name;
    bool switchOn;
    bool refused;
    const char* passwordAfter;
};

class RememberSwitch : public ClientFixture, public ::testing::WithParamInterface<RememberCase> {};

TEST_P(RememberSwitch, ThePasswordIsKeptOnlyWhenTheSwitchIsOn) {
    const RememberCase& c = GetParam();
    if (c.refused) {
        portal().onCommand(1, [](Message&, TestPortal::Reply& reply) { reply.send(4, Bytes().utf("Sai mat khau")); });
    }
    launch();
    // A new installation starts with the switch on.
    std::string script = signInScript(c.switchOn ? "" : "tap id=switchAutoLogin\n");
    script += c.refused ? "wait text=Sai mat khau\n" : "screen GameView\n";
    ASSERT_TRUE(drives(script));
    advance(0.5);

    auto& defaults = platform::UserDefaults::standard();
    // A refused sign-in ends when its connection does: the reader thread's last report
    // reaches the main loop a moment after the refusal shows.
    const std::string expected = c.passwordAfter;
    EXPECT_TRUE(
        platform::RunLoop::main().runUntil([&] { return defaults.stringForKey("password") == expected; }, kStateWait));
    defaults.reset(); // what the next run reads
    EXPECT_EQ(defaults.boolForKey("savednextLogin"), c.switchOn);
    EXPECT_EQ(defaults.stringForKey("password"), c.passwordAfter);
    EXPECT_EQ(defaults.stringForKey("uname"), "an");
    EXPECT_EQ(defaults.stringForKey("KAVO_LOGIN_OLDPASS"), "bimat") << "the change-password road reads it";
}

INSTANTIATE_TEST_SUITE_P(Cases, RememberSwitch,
                         ::testing::Values(RememberCase{"OnSignedIn", true, false, "bimat"},
                                           RememberCase{"OffSignedIn", false, false, ""},
                                           RememberCase{"OnRefused", true, true, "bimat"},
                                           RememberCase{"OffRefused", false, true, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
