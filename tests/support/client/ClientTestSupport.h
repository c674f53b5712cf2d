#pragma once

#include "platform/automation/Driver.h"
#include "platform/runtime/Clock.h"
#include "platform/ui/Screen.h"
#include "tests/support/StateWaits.h"
#include "tests/support/TestHttpServer.h"
#include "tests/support/TestPortal.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace kavo::test {

// Test servers and a bundle for the whole test process. The client reads its
// configuration once, so the bundle's KavoOnlineConfig points at these servers: the
// portal (Server, Port and the default list "Kavo Test|127.0.0.1:<port>") and the
// HTTP server (LinkServer = /servers.txt, LinkEvent, LinkGuide). Made on first use.
class ClientWorld {
public:
    static ClientWorld& get();

    TestPortal& portal() { return portal_; }
    TestHttpServer& http() { return http_; }
    const std::string& bundlePath() const { return bundlePath_; }
    // The default server list of the configuration: the one server, this portal.
    std::string defaultServerList() const;
    // That list for a portal on another port.
    static std::string serverListNaming(uint16_t port);
    static constexpr const char* kServerName = "Kavo Test";
    // True when the client's configuration is this bundle's (false when something
    // read another bundle's configuration first in this process).
    bool configurationMatches() const;

    // Portal answers for the sign-in road: 222 -> 220 status 1, 1 -> 3 (the player
    // kPlayerId with kPlayerMoney), nothing for the rest. Replaces earlier handlers.
    void installDefaultPortalHandlers();
    // Drops every handler a test set (waiting a bounded time for running calls to end)
    // and installs the defaults again.
    void resetPortalHandlers();
    static constexpr int32_t kPlayerId = 4242;
    static constexpr int64_t kPlayerMoney = 125000;

private:
    ClientWorld();
    ~ClientWorld();
    TestPortal portal_;
    TestHttpServer http_;
    std::string bundlePath_;
};

// A port on 127.0.0.1 where nobody listens (a connect is refused).
uint16_t deadLoopbackPort();

// Each test: a fresh data folder (user defaults), the world's bundle, the manual
// clock, the main run loop on this thread, no windows or alerts, the portal's
// handlers and records, the web server's answers and records and the shop screen reset. launch() starts the client as
// the application does, headless.
class ClientFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The application delegate launches: window, navigation with the log-in screen.
    void launch();
    // Launches, connects and answers with the sign-in reply (the player kPlayerId with
    // kPlayerMoney); true once the game grid is on top.
    [[nodiscard]] bool signInByReply();
    // The same, then the clock moves 0.4 s (the grid's opening animations end).
    [[nodiscard]] bool signInToGameGrid();
    // Runs a driver script; the driver's log goes to log().
    platform::automation::DriverResult drive(const std::string& script);
    // The same, as a check: a failure tells the driver's message and its log.
    ::testing::AssertionResult drives(const std::string& script);
    const std::string log() const { return log_.str(); }
    // Runs posted work and moves the clock by `seconds`, firing timers on the way.
    void advance(double seconds);
    // Runs what is posted to the main loop, and what that posts, until nothing is left
    // (the clock does not move).
    static void runPosted();
    // The text of a language key in the current language.
    static std::string text(const char* key);
    // The message of the alert on screen ("" when none).
    static std::string dialogText();
    // Stores the server-list text the server choice shows.
    static void storeServerList(const std::string& list);
    // "<name>|127.0.0.1:<port>" of the world's portal.
    static std::string portalEntry(const std::string& name);
    // The portal answers the shop's items (101 sub 21): one page of one item, "Hoa hong" at
    // 3000 zel.
    void answerShopItems();

    TestPortal& portal() { return ClientWorld::get().portal(); }
    TestHttpServer& http() { return ClientWorld::get().http(); }
    const std::string& dataPath() const { return dataPath_; }

    // Waits (real time, running the main loop) until the portal has a message of the command.
    [[nodiscard]] bool waitForCommand(int16_t commandId, double timeout = kStateWait);
    // Waits until the client's main thread has run what every reply the portal sent
    // before has done (their twins and what those posted): a reply no handler knows
    // follows them, and its note on the dispatch record runs after their twins. False
    // when it has not within the bound.
    [[nodiscard]] bool clientCaughtUp();
    // Runs the posted work, then waits until the portal has every request the client
    // sent before: a request no server knows follows them through the client's writer.
    // Afterwards what the portal has not got was not sent.
    [[nodiscard]] bool portalCaughtUp();
    // Both: the portal has handled every request the client sent so far, and the
    // client's main thread has run what every reply, their answers among them, did.
    [[nodiscard]] bool exchangeSettled() { return portalCaughtUp() && clientCaughtUp(); }
    // The bound of a wait for a state, in real seconds: far above what any load makes
    // of it, so that it catches a hang and nothing else.
    static constexpr double kStateWait = ::kavo::test::kStateWait;
    // The command ids the portal recorded, in order.
    std::vector<int16_t> commands() const;

private:
    std::unique_ptr<platform::ScopedManualClock> clock_;
    std::string dataPath_;
    std::ostringstream log_;
};

// "Phone" or "Tablet": the name of an idiom's instance of a screens test.
inline std::string idiomName(const ::testing::TestParamInfo<platform::ui::Idiom>& info) {
    return info.param == platform::ui::Idiom::Tablet ? "Tablet" : "Phone";
}

} // namespace kavo::test
