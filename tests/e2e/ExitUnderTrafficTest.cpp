// Ending the client while a server floods it: the client in its own process (the sanitizer
// build of kavo-online), signed in headless, ended by a termination request at moments
// spread over its sign-in and the flood. Every run must end on its own, at once and
// cleanly: exit status 0, no sanitizer report.
#include "tests/e2e/ChildProcess.h"
#include "tests/support/Bytes.h"
#include "tests/support/StateWaits.h"
#include "tests/support/client/ClientTestSupport.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <thread>

using namespace kavo;
using namespace kavo::test;

namespace {

class ExitUnderTraffic : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        flooder_ = std::thread([this] { flood(); });
    }
    void TearDown() override {
        stop_ = true;
        flooder_.join();
        ClientFixture::TearDown();
    }

    // Mail after mail to whichever client is connected.
    void flood() {
        int64_t n = 0;
        while (!stop_) {
            if (portal().connectionCount() == 0 || !portal().isClientConnected()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            Bytes mail;
            mail.int32(1).int64(1'765'000'000'000LL + n).int32(7).utf("admin");
            mail.utf("tin so " + std::to_string(n++));
            portal().sendToClient(mail.message(1701));
            // About a thousand mails a second: a flood for the client, yet no faster than
            // it takes them in. Unpaced, the backlog (and the machine's load) only grew
            // from run to run, and each run spent seconds working it off before it ended.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    std::atomic<bool> stop_{false};
    std::thread flooder_;
};

TEST_F(ExitUnderTraffic, TwentyTerminationRequestsAtRandomMomentsAllEndCleanly) {
    const std::string script = dataPath() + "/flooded.drive";
    std::ofstream(script) << "screen LoginView 30\n"
                             "tap id=btnSignIn_Clicked\n"
                             "type id=txfUsername an\n"
                             "type id=txfPassword bimat\n"
                             "tap id=btnSignIn\n"
                             "wait text=Kavo Test 30\n"
                             "tap text=Kavo Test\n"
                             "screen GameView 30\n"
                             "sleep 60\n";
    // Moments from the start to well into the flood, the same every run of the suite.
    uint32_t seed = 12345;
    auto nextMoment = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return double((seed >> 8) % 2000) / 1000.0;
    };
    for (int run = 0; run < 20; ++run) {
        const std::string errors = dataPath() + "/stderr-" + std::to_string(run) + ".txt";
        ChildProcess client;
        ASSERT_TRUE(client.start({KAVO_ONLINE, "--headless", "--bundle", ClientWorld::get().bundlePath(), "--data-dir",
                                  dataPath() + "/client", "--drive", script},
                                 {{"SDL_AUDIODRIVER", "dummy"}, {"SDL_VIDEODRIVER", "dummy"}}, true, errors));
        // The moments count from the client's first script line (its start-up differs
        // from machine to machine).
        ASSERT_TRUE(client.readLine(kStateWait)) << "run " << run << " never started";
        const double moment = nextMoment();
        std::this_thread::sleep_for(std::chrono::duration<double>(moment));
        ASSERT_EQ(kill(client.pid(), run % 2 == 0 ? SIGTERM : SIGINT), 0);
        // A loaded machine (the whole suite in parallel) can take a few seconds to close
        // the window and the connection; a hang is far longer.
        const auto status = client.wait(kStateWait);
        std::ifstream in(errors);
        std::stringstream text;
        text << in.rdbuf();
        ASSERT_TRUE(status.has_value()) << "run " << run << " did not end within " << kStateWait
                                        << " s of the request\n"
                                        << text.str();
        EXPECT_EQ(*status, 0) << "run " << run << " at " << moment << " s\n" << text.str();
        EXPECT_EQ(text.str().find("Sanitizer"), std::string::npos) << "run " << run << "\n" << text.str();
        EXPECT_EQ(text.str().find("runtime error"), std::string::npos) << "run " << run << "\n" << text.str();
    }
}

} // namespace
