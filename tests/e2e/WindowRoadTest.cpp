// The road a player takes on a desktop: the client in its own process, in a real window on
// a virtual X display, signed in with real mouse clicks and typed keys sent to the window
// by an X input tool. The client's script only waits and tells where its controls are; it
// never taps. Needs Xvfb and xdotool (scripts/setup installs both).
#include "tests/e2e/ChildProcess.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/StateWaits.h"
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
        acceptGameChoices(portal());
        // Board 1 is open, board 2 locked.
        answerBoardList(portal(), 100000,
                        {{1, 1, false, 1000, 10000, false, 1, 4}, {1, 2, true, 500, 10000, false, 1, 4}});
    }

    // Starts a virtual display on a free number; false when it did not come up in time.
    bool startDisplay() {
        int ready[2];
        if (pipe(ready) != 0) return false;
        // Without auto-repeat: a key the typing tool holds while it is held up (a loaded
        // machine) must not come twice.
        const bool started = xserver_.start(
            {*xvfb_, "-displayfd", std::to_string(ready[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-r"},
            {}, false);
        close(ready[1]);
        if (!started) {
            close(ready[0]);
            return false;
        }
        // The display's number, one line; a server that ends without it ends the look.
        std::string number;
        bool ended = false;
        (void)lookUntil([&] {
            pollfd p{ready[0], POLLIN, 0};
            while (!ended && number.find('\n') == std::string::npos && poll(&p, 1, 0) > 0) {
                char c[16];
                const ssize_t n = read(ready[0], c, sizeof c);
                if (n <= 0)
                    ended = true;
                else
                    number.append(c, size_t(n));
            }
            return ended || number.find('\n') != std::string::npos;
        });
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
    bool pressKey(const std::string& key) { return runToEnd({*xdotool_, "key", key}, xEnv()); }

    // Starts the client in a window on the display with the script, and finds the window.
    void startClientInWindow(const std::string& script) {
        const std::string path = dataPath() + "/window.drive";
        std::ofstream(path) << script;
        ASSERT_TRUE(client_.start({KAVO_ONLINE, "--bundle", ClientWorld::get().bundlePath(), "--data-dir",
                                   dataPath() + "/client", "--drive", path},
                                  {{"DISPLAY", display_},
                                   {"SDL_VIDEODRIVER", "x11"},
                                   {"SDL_AUDIODRIVER", "dummy"},
                                   // The X and GL libraries SDL loads and unloads at run time keep
                                   // memory the leak check cannot name; every other check stays.
                                   {"ASAN_OPTIONS", "detect_leaks=0"}},
                                  true));
        ChildProcess search;
        ASSERT_TRUE(
            search.start({*xdotool_, "search", "--sync", "--onlyvisible", "--name", "Kavo Online"}, xEnv(), true));
        auto id = search.readLine(30);
        ASSERT_TRUE(id && !id->empty()) << "no window appeared";
        windowId_ = *id;
        ASSERT_TRUE(runToEnd({*xdotool_, "windowfocus", "--sync", windowId_}, xEnv()));
    }

    std::optional<std::string> xvfb_, xdotool_;
    std::string display_;
    std::string windowId_;
    ChildProcess xserver_;
    ChildProcess client_;
};

TEST_F(WindowRoad, APlayerSignsInWithMouseAndKeysAndReachesTheBoardList) {
    ASSERT_TRUE(startDisplay()) << "Xvfb did not start";
    // The window shows.
    ASSERT_NO_FATAL_FAILURE(startClientInWindow("screen LoginView 30\n"
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
                                                "wait text=1.000 zel 30\n"));

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

// What the player does in one step of the walk through the screens.
struct WalkStep {
    // PickBelow: a click on the row under a picker wheel's band, the hand trembling a little.
    // Await: nothing done; the client's walk goes on once the screen shows the target (what
    // the server's last reply for it fills in, which would overwrite a field typed earlier).
    // AwaitGone: the same once no view shows the target (a wait's spinner, which holds
    // every touch of what it covers until the server's answer).
    enum class Kind { Click, Field, Key, Wheel, PickBelow, Await, AwaitGone };
    Kind kind;
    std::string target; // the selector clicked or wheeled over, or the key pressed
    std::string typed;  // for a field: the keys typed after the click; "up" for a wheel turned up
    std::string shows;  // for a field: its text afterwards (what it held, then the keys)
    bool settle;        // the client waits half a second first (a closing sheet's slide ends)
};

WalkStep click(const std::string& selector) {
    return {WalkStep::Kind::Click, selector, "", "", false};
}
WalkStep clickSettled(const std::string& selector) {
    return {WalkStep::Kind::Click, selector, "", "", true};
}
// A field is often on a sheet that slides in (and a paused client may show it mid-slide):
// its place is taken once any slide has ended.
WalkStep field(const std::string& selector, const std::string& typed, const std::string& held = "") {
    return {WalkStep::Kind::Field, selector, typed, held + typed, true};
}
WalkStep key(const std::string& name) {
    return {WalkStep::Kind::Key, name, "", "", false};
}
WalkStep await(const std::string& selector) {
    return {WalkStep::Kind::Await, selector, "", "", false};
}
WalkStep awaitGone(const std::string& selector) {
    return {WalkStep::Kind::AwaitGone, selector, "", "", false};
}
// Turns the mouse wheel towards the player (or away: up), four notches, with the pointer
// over the view.
WalkStep wheelDown(const std::string& selector) {
    return {WalkStep::Kind::Wheel, selector, "", "", false};
}
WalkStep wheelUp(const std::string& selector) {
    return {WalkStep::Kind::Wheel, selector, "up", "", false};
}

// The client's half of the walk: it waits for each control and says where it is; after a
// field's keys it says where the typed text shows. After each click, wheel and key it waits
// until the window has taken it (the count of inputs in all so far), however long a busy
// machine takes to send it, so the next control is looked for on the screen it led to.
std::string walkScript(const std::vector<WalkStep>& steps) {
    std::string script = "screen LoginView 30\nsleep 0.5\n";
    int inputs = 0;
    auto landed = [&](int taken) { return "inputs " + std::to_string(inputs += taken) + " 30\n"; };
    for (const auto& step : steps) {
        switch (step.kind) {
        case WalkStep::Kind::Click:
        case WalkStep::Kind::PickBelow:
            if (step.settle) script += "sleep 0.5\n";
            script += "wait " + step.target + " 30\nwhere " + step.target + "\n" + landed(1);
            break;
        case WalkStep::Kind::Wheel:
            script += "wait " + step.target + " 30\nwhere " + step.target + "\n" + landed(4);
            break;
        case WalkStep::Kind::Field:
            // The click counts; the typed letters are seen in the field itself.
            inputs += 1;
            script += "wait " + step.target + " 30\n" + (step.settle ? "sleep 0.5\n" : "") + "where " + step.target +
                      "\nwait text=" + step.shows + " 30\nwhere text=" + step.shows + "\n";
            break;
        case WalkStep::Kind::Key:
            script += landed(1);
            break;
        case WalkStep::Kind::Await:
            script += "wait " + step.target + " 30\n";
            break;
        case WalkStep::Kind::AwaitGone:
            script += "wait-not " + step.target + " 30\n";
            break;
        }
    }
    return script;
}

// Every text field of the screens a player reaches before a table, each focused with a
// real click and typed into: nothing lifts (no on-screen keyboard in a window), so the
// typed text shows exactly where the player clicked, in the field that was clicked. Escape
// closes the sheet or panel on top, and on the bare game grid it signs nobody out, also
// after the lottery sheet closed.
TEST_F(WindowRoad, EveryTextFieldTakesTheClickAndTheKeysWhereItWasDrawn) {
    portal().onCommand(44, [](Message&, TestPortal::Reply& reply) {
        reply.send(44, Bytes().byte(2).byte(1).utf("The gate").utf("").utf(""));
    });
    // One friend, away. Answered, so that no wait of the game grid ends in a notice
    // (which would take the Escape meant for a sheet).
    portal().onCommand(104, [](Message& request, TestPortal::Reply& reply) {
        if (request.readByte() != 5) return;
        reply.send(104, Bytes().byte(5).int32(202).utf("binh").int64(1000).int16(1).byte(0).utf(""));
    });
    // No bought avatars: the profile's items tab stops waiting.
    portal().onCommand(1010, [](Message&, TestPortal::Reply& reply) { reply.send(1010, Bytes().int32(0)); });
    // The profile's record, with the fields to be typed into empty.
    portal().onCommand(1005, [](Message& request, TestPortal::Reply& reply) {
        Bytes record;
        record.int32(request.readInt()).utf("an").int64(125000).utf("").byte(1).boolean(true).int16(1990);
        record.utf("").utf("").boolean(false).utf("").utf("").byte(1).utf("Ha Noi").byte(5).byte(17);
        reply.send(1005, record.boolean(true).int32(40).boolean(false).utf("").int32(1));
    });
    ASSERT_TRUE(startDisplay()) << "Xvfb did not start";
    const std::vector<WalkStep> steps{
        // The log-in screen's three forms.
        click("id=btnRegister_Clicked"),
        field("id=txfUsername", "moi"),
        field("id=txfPassword", "pw1"),
        field("id=txfRetypePwd", "pw2"),
        click("id=btnDelete"),
        click("id=lblForgetPassword"),
        field("id=txfUsername", "quen"),
        click("id=btnDelete"),
        click("id=btnSignIn_Clicked"),
        field("id=txfUsername", "an"),
        field("id=txfPassword", "bimat"),
        click("id=btnSignIn"),
        click("text=Kavo Test"),
        // A friend's chat panel in the mailbox, closed with Escape.
        click("id=btnChat"),
        click("text=binh#2"),
        field("id=txtChat", "xin chao"),
        key("Escape"),
        // Escape on the bare game grid does nothing: the walk goes on signed in.
        key("Escape"),
        // The mailbox's add-friend sheet.
        click("id=btnChat"),
        click("id=btnAddFriend"),
        field("id=txtName", "minh"),
        click("id=btnCancel"),
        key("Escape"),
        // The settings' feedback and password sheets.
        click("id=clickSetting"),
        click("text=Góp ý"),
        field("id=txtContent", "hay lam"),
        click("id=onCancel"),
        click("id=clickSetting"),
        click("text=Đổi mật khẩu"),
        field("id=txtOldPass", "cu1"),
        field("id=txtNewPass", "moi2"),
        field("id=txtConfirmNewPass", "moi3"),
        click("id=onCancel"),
        // The lottery sheet and the lottery screen's stake sheet.
        click("id=showLottoSubView"),
        field("id=txfNumber", "42"),
        field("id=txfMoney", "600"),
        click("id=doShowLotto"),
        click("id=buyLottoNumber7"),
        field("id=txfBetZel", "800"),
        click("id=btnBack"),
        key("Escape"),
        // The lottery sheet closed by its own button leaves the grid without a back button;
        // Escape there signs nobody out (the walk goes on to a friend's profile).
        click("id=showLottoSubView"),
        click("id=slideOut"),
        clickSettled("id=btnAll"),
        key("Escape"),
        // A friend's profile and its report form: Escape closes the form, then the profile.
        click("text=binh"),
        click("id=showReportView"),
        field("id=viewReport_txtContent", "spam"),
        key("Escape"),
        key("Escape"),
        // The profile, wheeled down to its lower fields, and its items tab's money transfer sheet.
        click("id=doShowProfileView"),
        await("text=17/05/1990"),
        field("id=txfHoTen", "Nguyen Van An"),
        wheelDown("id=txfHoTen"),
        field("id=txfDiaChi", "Le Loi"),
        field("id=txfCMND", "0123"),
        field("id=txfSoDT", "0909"),
        click("id=btnItems"),
        awaitGone("class=ActivityIndicatorView"), // the player's avatars (1010) came
        click("id=showTransferZel"),
        field("id=txtName", "binh"),
        field("id=txtMoney", "15000"),
        click("id=btnCancel"),
        click("id=btnBack"),
        // The board list: its stake field, the create sheet, the go-to-board sheet and the
        // password sheet of a locked board.
        click("id=btnTLMN"),
        field("id=tfBetMoney", "777"),
        click("id=btnCreateBoard"),
        field("id=tfBetMoney#2", "5"),
        field("id=tfPlayerNumber", "2", "4"),
        field("id=tfPassword", "matkhau"),
        // Its player-count wheel opens on the field's "4": the mouse wheel runs it up to "2"
        // without closing it and Return chooses; a click on the row under the band picks "3".
        click("id=showPickerPlayerNumber"),
        wheelUp("id=pikerPlayerNumber"),
        key("Return"),
        field("id=tfPlayerNumber", "", "2"),
        click("id=showPickerPlayerNumber"),
        {WalkStep::Kind::PickBelow, "id=pikerPlayerNumber", "", "", false},
        field("id=tfPlayerNumber", "", "3"),
        click("id=doCloseThisView"),
        click("id=btnGotoBoard"),
        field("id=txtRoom", "91"),
        field("id=txtBoard", "92"),
        field("id=txtPass", "kinhoa"),
        key("Escape"),
        click("text=500 zel"),
        field("id=txtPassword", "abc"),
        key("Escape"),
        click("id=btnBack"),
        // The scratch-card top-up form.
        click("id=btnNapZel"),
        click("text=The gate"),
        field("id=txfSeriesNumber", "123456"),
        field("id=txfPinCode", "654321"),
    };
    startClientInWindow(walkScript(steps) + "sleep 1\n");
    if (HasFatalFailure()) return;

    for (const auto& step : steps) {
        SCOPED_TRACE(step.target + " " + step.typed);
        if (step.kind == WalkStep::Kind::Key) {
            ASSERT_TRUE(pressKey(step.target));
            continue;
        }
        // The client's next line waits for it; the test then waits for that line's place.
        if (step.kind == WalkStep::Kind::Await || step.kind == WalkStep::Kind::AwaitGone) continue;
        const auto point = where(step.target);
        ASSERT_TRUE(point) << client_.transcript();
        if (step.kind == WalkStep::Kind::Wheel) {
            ASSERT_TRUE(runToEnd({*xdotool_, "mousemove", "--window", windowId_, std::to_string(point->first),
                                  std::to_string(point->second), "click", "--repeat", "4", "--delay", "50",
                                  step.typed == "up" ? "4" : "5"},
                                 xEnv()));
            continue;
        }
        if (step.kind == WalkStep::Kind::PickBelow) {
            const std::string x = std::to_string(point->first), row = std::to_string(point->second + 40);
            ASSERT_TRUE(runToEnd({*xdotool_, "mousemove", "--window", windowId_, x, row, "mousedown", "1", "mousemove",
                                  "--window", windowId_, x, std::to_string(point->second + 47), "mouseup", "1"},
                                 xEnv()));
            continue;
        }
        ASSERT_TRUE(clickAt(*point));
        if (step.kind == WalkStep::Kind::Click) continue;
        if (!step.typed.empty()) {
            ASSERT_TRUE(typeText(step.typed));
        }
        const auto shown = where("text=" + step.shows);
        ASSERT_TRUE(shown) << "the typed text is in no field\n" << client_.transcript();
        EXPECT_EQ(*shown, *point) << "the field moved, or the keys went to another field";
    }
    EXPECT_EQ(client_.wait(40), 0) << client_.transcript();
}

} // namespace
