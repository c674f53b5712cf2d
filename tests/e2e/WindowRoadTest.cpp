// The road a player takes on a desktop: the client in its own process, in a real window on
// a virtual X display, signed in with real mouse clicks and typed keys sent to the window
// by an X input tool. The client's script only waits and tells where its controls are; it
// never taps. Needs Xvfb and xdotool (scripts/setup installs both).
#include "tests/e2e/ChildProcess.h"
#include "tests/support/client/ClientTestSupport.h"

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <poll.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace kavo;
using namespace kavo::test;

namespace {

using Clock = std::chrono::steady_clock;

class WindowRoad : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        xvfb_ = findInPath("Xvfb");
        xdotool_ = findInPath("xdotool");
        if (!xvfb_ || !xdotool_) GTEST_SKIP() << "Xvfb or xdotool is missing (scripts/setup installs them)";
        portal().onCommand(61, [](Message& request, TestPortal::Reply& reply) {
            Message accepted(61);
            accepted.writeByte(request.readByte());
            reply.send(accepted);
        });
        portal().onCommand(2700, [](Message&, TestPortal::Reply& reply) {
            Message list(2700);
            list.writeInt(100000);
            list.writeInt(1);
            list.writeByte(1);
            list.writeByte(1);
            list.writeBool(0);
            list.writeInt(1000);
            list.writeInt(10000);
            list.writeBool(0);
            list.writeByte(1);
            list.writeByte(4);
            list.writeByte(0);
            reply.send(list);
        });
    }

    // Starts a virtual display on a free number; false when it did not come up in time.
    bool startDisplay() {
        int ready[2];
        if (pipe(ready) != 0) return false;
        const bool started = xserver_.start(
            {*xvfb_, "-displayfd", std::to_string(ready[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, {},
            false);
        close(ready[1]);
        if (!started) {
            close(ready[0]);
            return false;
        }
        std::string number;
        pollfd p{ready[0], POLLIN, 0};
        const auto deadline = Clock::now() + std::chrono::seconds(15);
        while (Clock::now() < deadline && number.find('\n') == std::string::npos) {
            if (poll(&p, 1, 200) <= 0) continue;
            char c[16];
            const ssize_t n = read(ready[0], c, sizeof c);
            if (n <= 0) break;
            number.append(c, size_t(n));
        }
        close(ready[0]);
        if (number.find('\n') == std::string::npos) return false;
        display_ = ":" + number.substr(0, number.find('\n'));
        return true;
    }

    std::map<std::string, std::string> xEnv() const { return {{"DISPLAY", display_}}; }

    // The point the client says a control is at, read from its output.
    std::optional<std::pair<int, int>> where(const std::string& selector, double timeout = 30) {
        const std::string prefix = "where " + selector + " at ";
        const auto deadline = Clock::now() + std::chrono::duration<double>(timeout);
        while (Clock::now() < deadline) {
            auto line = client_.readLine(std::chrono::duration<double>(deadline - Clock::now()).count());
            if (!line) return std::nullopt;
            if (line->rfind("script failed", 0) == 0) return std::nullopt;
            if (line->rfind(prefix, 0) != 0) continue;
            std::istringstream numbers(line->substr(prefix.size()));
            double x = 0, y = 0;
            if (numbers >> x >> y) return std::make_pair(int(x + 0.5), int(y + 0.5));
        }
        return std::nullopt;
    }

    // A left click at a point of the client's window, as a mouse makes it.
    bool clickAt(const std::pair<int, int>& point) {
        return runToEnd({*xdotool_, "mousemove", "--window", windowId_, std::to_string(point.first),
                         std::to_string(point.second), "click", "1"},
                        xEnv());
    }
    bool typeText(const std::string& text) { return runToEnd({*xdotool_, "type", "--delay", "20", text}, xEnv()); }

    std::optional<std::string> xvfb_, xdotool_;
    std::string display_;
    std::string windowId_;
    ChildProcess xserver_;
    ChildProcess client_;
};

TEST_F(WindowRoad, APlayerSignsInWithMouseAndKeysAndReachesTheBoardList) {
    ASSERT_TRUE(startDisplay()) << "Xvfb did not start";
    const std::string script = dataPath() + "/window.drive";
    std::ofstream(script) << "screen LoginView 30\n"
                             "where id=btnSignIn_Clicked\n"
                             "wait id=txfUsername 30\n"
                             "where id=txfUsername\n"
                             "where id=txfPassword\n"
                             "where id=btnSignIn\n"
                             "wait text=Kavo Test 30\n"
                             "where text=Kavo Test\n"
                             "screen GameView 30\n"
                             "where id=btnTLMN\n"
                             "screen BoardView 30\n"
                             "wait text=1000 zel 30\n";
    ASSERT_TRUE(client_.start({KAVO_ONLINE, "--bundle", ClientWorld::get().bundlePath(), "--data-dir",
                               dataPath() + "/client", "--drive", script},
                              {{"DISPLAY", display_},
                               {"SDL_VIDEODRIVER", "x11"},
                               {"SDL_AUDIODRIVER", "dummy"},
                               // The X and GL libraries SDL loads and unloads at run time keep
                               // memory the leak check cannot name; every other check stays.
                               {"ASAN_OPTIONS", "detect_leaks=0"}},
                              true));

    // The window shows.
    ChildProcess search;
    ASSERT_TRUE(search.start({*xdotool_, "search", "--sync", "--onlyvisible", "--name", "Kavo Online"}, xEnv(), true));
    auto id = search.readLine(30);
    ASSERT_TRUE(id && !id->empty()) << "no window appeared";
    windowId_ = *id;
    ASSERT_TRUE(runToEnd({*xdotool_, "windowfocus", "--sync", windowId_}, xEnv()));

    auto point = where("id=btnSignIn_Clicked");
    ASSERT_TRUE(point) << client_.transcript();
    ASSERT_TRUE(clickAt(*point));
    const auto user = where("id=txfUsername");
    const auto password = where("id=txfPassword");
    const auto signIn = where("id=btnSignIn");
    ASSERT_TRUE(user && password && signIn) << client_.transcript();
    ASSERT_TRUE(clickAt(*user));
    ASSERT_TRUE(typeText("an"));
    ASSERT_TRUE(clickAt(*password));
    ASSERT_TRUE(typeText("bimat"));
    ASSERT_TRUE(clickAt(*signIn));

    point = where("text=Kavo Test");
    ASSERT_TRUE(point) << client_.transcript();
    ASSERT_TRUE(clickAt(*point));
    point = where("id=btnTLMN");
    ASSERT_TRUE(point) << client_.transcript();
    ASSERT_TRUE(clickAt(*point));

    EXPECT_EQ(client_.wait(40), 0) << client_.transcript();
    // What the server heard came from the keys typed into the window.
    const auto logins = portal().messages(1);
    ASSERT_FALSE(logins.empty());
    const std::vector<uint8_t> expected{0, 2, 'a', 'n', 0, 5, 'b', 'i', 'm', 'a', 't'};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), logins.front().body.begin()));
}

} // namespace
