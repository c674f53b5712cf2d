#include "platform/automation/Driver.h"

#include "platform/automation/ViewQuery.h"
#include "platform/foundation/Bundle.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Image.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/OverlayStack.h"
#include "platform/ui/Responder.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "tests/platform/runtime/Marks.h"
#include "tools/ui-sample/SampleScreen.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <thread>
#include <unistd.h>

using namespace platform;
using platform::automation::Driver;
using platform::automation::DriverResult;
using platform::automation::Selector;
using platform::automation::ViewQuery;
using platform::test::Marks;

namespace {

// The sample screen in a fresh window, the main run loop bound to the test's thread.
class SampleFixture : public ::testing::Test {
protected:
    void SetUp() override {
        RunLoop::main().bindToCurrentThread();
        RunLoop::main().reset();
        resetViews();
    }
    void TearDown() override {
        resetViews();
        RunLoop::main().reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // Alerts left open by a test wait in the overlay stack: drop them with the windows.
    static void resetViews() {
        ui::OverlayStack::reset();
        ui::Window::resetAll();
        ui::Application::shared().reset();
        ui::Screen::setIdiom(ui::Idiom::Phone);
    }
    void show() {
        sample_ = sample::showSample();
        RunLoop::main().runPending();
    }
    DriverResult drive(const std::string& script) {
        Driver driver(&log_);
        auto result = driver.run(script);
        return result;
    }
    // A folder for files the test writes, removed afterwards.
    std::filesystem::path folder() {
        if (folder_.empty()) {
            // A folder of its own (mkdtemp), which no other run of the tests can share.
            std::string pattern = (std::filesystem::temp_directory_path() / "kavo-automation-XXXXXX").string();
            if (::mkdtemp(pattern.data())) folder_ = pattern;
        }
        return folder_;
    }
    template <class T> std::shared_ptr<T> viewWithId(const std::string& id) {
        auto* view = ViewQuery::find(Selector{Selector::Kind::Id, id, 1});
        return view ? std::dynamic_pointer_cast<T>(view->self()) : nullptr;
    }

    sample::Sample sample_;
    std::ostringstream log_;
    std::filesystem::path folder_;
};

// Most scripts run on the manual clock, as the client's end-to-end tests do.
class DriverTest : public SampleFixture {
protected:
    void SetUp() override {
        clock_ = std::make_unique<ScopedManualClock>();
        SampleFixture::SetUp();
        show();
    }
    void TearDown() override {
        SampleFixture::TearDown();
        clock_.reset();
    }
    std::unique_ptr<ScopedManualClock> clock_;
};

TEST_F(DriverTest, AScriptUsesTheSampleLikeAPerson) {
    std::string shot = (folder() / "sample.png").string();
    auto result = drive(R"(# the first screen
screen SampleScreen
expect text=Đăng nhập
expect text=Mật khẩu
type id=txfUsername an
return id=txfUsername
type id=txfPassword bí mật 123
return id=txfPassword
wait text=Xin chào, an
tap text=Tiếp tục
expect text=Đã bấm Tiếp tục

# the alert
tap id=btnConfirm
wait text=Bạn có chắc? 2
tap text=Đồng ý
advance 0.5
wait text=Đã chọn Đồng ý
expect-not text=Bạn có chắc?

# the table scrolls under a drag, then a row opens the detail screen
expect text=Dòng 1
expect-not text=Dòng 16
drag id=tblRows 0 -500
advance 2
expect-not text=Dòng 1
tap text=Dòng 16
advance 0.5
screen DetailScreen 1
expect id=lblDetail
expect text=Dòng 16
shot )" + shot + "\n");
    ASSERT_TRUE(result.ok) << result.message << "\n" << log_.str();

    EXPECT_EQ(ViewQuery::topScreenClass(), "DetailScreen");
    EXPECT_LT(sample_.screen->cellsMade(), 20) << "cells scrolled out are reused";
    auto image = ui::Image::fromFile(shot);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), 480);
    EXPECT_EQ(image->height(), 320);
}

TEST_F(DriverTest, TypingReplacesTheTextAndReturnMovesToTheNextField) {
    auto result = drive("type id=txfUsername abc\ntype id=txfUsername  xin chào  \nreturn id=txfUsername");
    ASSERT_TRUE(result.ok) << result.message;
    auto username = viewWithId<ui::TextField>("txfUsername");
    auto password = viewWithId<ui::TextField>("txfPassword");
    ASSERT_TRUE(username && password);
    EXPECT_EQ(username->text(), " xin chào") << "the text keeps its spaces; trailing blanks of a line are dropped";
    EXPECT_EQ(ui::Responder::firstResponder(), password.get());
    EXPECT_TRUE(ui::Keyboard::isVisible()) << "editing stays open";
}

TEST_F(DriverTest, AMissingViewStopsTheScriptAtItsLine) {
    auto result =
        drive("expect text=Đăng nhập\n\n# nothing is called this\nwait id=btnKhongCo 0.2\ntap text=Tiếp tục\n");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failedLine, 4);
    EXPECT_NE(result.message.find("line 4: wait id=btnKhongCo 0.2"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("SampleScreen"), std::string::npos) << "names the screen: " << result.message;
    EXPECT_NE(result.message.find("\"Đăng nhập\""), std::string::npos) << "lists what is visible: " << result.message;
    EXPECT_EQ(sample_.screen->status()->text(), "") << "the lines after the failure do not run";
}

// A panel over the screen, as a slide-in sheet would be.
class CoverSheet : public ui::View {
public:
    using View::View;
};

TEST_F(DriverTest, ATapOnACoveredViewNamesWhatCoversIt) {
    auto sheet = std::make_shared<CoverSheet>(ui::Rect(0, 100, 270, 220));
    sheet->setAccessibilityIdentifier("sheetCover");
    sample_.screen->view()->addSubview(sheet);
    auto result = drive("expect text=Tiếp tục\ntap text=Tiếp tục");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failedLine, 2);
    EXPECT_NE(result.message.find("covered"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("CoverSheet id=sheetCover"), std::string::npos) << result.message;
    EXPECT_EQ(sample_.screen->status()->text(), "") << "the covered button was not pressed";
}

TEST_F(DriverTest, AnOpenAlertCoversTheScreenBelowIt) {
    auto result = drive("tap id=btnConfirm\nwait text=Bạn có chắc? 1\ntap text=Tiếp tục");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failedLine, 3);
    EXPECT_NE(result.message.find("covered"), std::string::npos) << result.message;
}

// The reply comes once the waiting line has looked and sleeps in the run loop.
TEST_F(DriverTest, WaitingLetsRepliesFromOtherThreadsArrive) {
    Marks marks;
    RunLoop::main().setTestHook([&](RunLoop::TestMoment moment) {
        if (moment == RunLoop::TestMoment::Sleeps) marks.mark("sleeps");
    });
    std::thread network([&marks, label = sample_.screen->status()] {
        if (marks.waitFor("sleeps")) runOnMainThread([label] { label->setText("Đã kết nối"); });
    });
    auto result = drive("wait text=Đã kết nối 30");
    network.join();
    RunLoop::main().setTestHook(nullptr);
    EXPECT_TRUE(result.ok) << result.message;
}

// Two replies read at once, as after the client was held up: the first ends my turn, the
// second gives it back. A script that waits for my turn to end before it waits for the
// next sees the end all the same.
TEST_F(DriverTest, AWaitSeesAStateThatTheNextReplyOfTheSameBurstEnds) {
    auto label = sample_.screen->status();
    label->setText("Lượt của bạn");
    runOnMainThread([label] { label->setText("Lượt của lan"); });
    runOnMainThread([label] { label->setText("Lượt của bạn"); });
    auto result = drive("wait-not text=Lượt của bạn 1\nwait text=Lượt của bạn 1");
    EXPECT_TRUE(result.ok) << result.message;
    runOnMainThread([label] { label->setText("Lượt của lan"); });
    runOnMainThread([label] { label->setText("Lượt của bạn"); });
    result = drive("wait text=Lượt của lan 1");
    EXPECT_TRUE(result.ok) << result.message;
}

TEST_F(DriverTest, TheTurnHookRunsAfterEachLineAndWhileALineWaits) {
    Driver driver(&log_);
    int turns = 0;
    // Only the hook's fifth call shows the text the wait below waits for.
    auto label = sample_.screen->status();
    driver.setTurnHook([&turns, label] {
        if (++turns == 5) label->setText("Năm lượt");
    });
    auto result = driver.run("expect id=btnConfirm\nexpect id=btnConfirm");
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_EQ(turns, 2) << "one call after each line";
    // The wait ends only if the hook runs while the line waits: two more calls at least.
    result = driver.run("wait text=Năm lượt 30");
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_GE(turns, 5);
}

TEST_F(DriverTest, InputsWaitsUntilTheWindowHasTakenThemAll) {
    Driver driver(&log_);
    uint64_t taken = 0;
    // A click lands on every third turn of the loop.
    int turns = 0;
    driver.setTurnHook([&] {
        if (++turns % 3 == 0) ++taken;
    });
    driver.setInputCount([&taken] { return taken; });
    auto result = driver.run("inputs 2 30\ninputs 2");
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_GE(taken, 2u);

    result = driver.run("inputs 1000 0.1");
    EXPECT_EQ(result.failedLine, 1);
    EXPECT_NE(result.message.find("inputs, not 1000, in 0.1 s"), std::string::npos) << result.message;

    // Without a window that counts, nothing can be waited for.
    EXPECT_EQ(drive("inputs 1").failedLine, 1);
    EXPECT_EQ(driver.run("inputs\n").failedLine, 1);
    EXPECT_EQ(driver.run("inputs x 5").failedLine, 1);
}

TEST_F(DriverTest, AScreenThatDoesNotComeNamesTheOneShown) {
    auto result = drive("screen DetailScreen 0.1");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("the top screen is SampleScreen, not DetailScreen"), std::string::npos)
        << result.message;
}

TEST_F(DriverTest, UnknownCommandsAndBadSelectorsFail) {
    EXPECT_EQ(drive("jump id=x").failedLine, 1);
    EXPECT_EQ(drive("expect\n").failedLine, 1);
    EXPECT_EQ(drive("tap name=x").failedLine, 1);
    EXPECT_EQ(drive("drag id=tblRows 10").failedLine, 1);
    EXPECT_EQ(drive("expect text=Dòng 1#0").failedLine, 1);
}

TEST_F(DriverTest, TheNthMatchCountsInTreeOrder) {
    // A button comes before the label that shows its title.
    auto result =
        drive("expect text=Tiếp tục#2\nexpect-not text=Tiếp tục#3\ntap text=Tiếp tục#2\nexpect text=Đã bấm Tiếp tục");
    EXPECT_TRUE(result.ok) << result.message;
    auto rows = ViewQuery::findAll(Selector{Selector::Kind::Contains, "Dòng", 1});
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(ViewQuery::find(Selector{Selector::Kind::Contains, "Dòng", 3}), rows[2]);
    EXPECT_EQ(ViewQuery::find(Selector{Selector::Kind::Contains, "Dòng", int(rows.size()) + 1}), nullptr);
}

// A seat's ready mark is an image view that is always there: only its picture says who is ready.
TEST_F(DriverTest, AnImageSelectorFindsTheViewsShowingThatPicture) {
    const std::string previousBundle = Bundle::main().path();
    std::filesystem::create_directories(folder() / "images");
    ASSERT_TRUE(ui::Image::filled(4, 4, ui::Color::white())->writePng((folder() / "images" / "mark.png").string()));
    Bundle::main().setMainPath(folder().string());
    ui::Image::clearCache();
    auto first = ui::ImageView::make(ui::Image::named("mark.png"));
    auto second = ui::ImageView::make(nullptr);
    for (const auto& mark : {first, second}) {
        mark->setFrame({10, 10, 18, 18});
        sample_.window->addSubview(mark);
    }
    auto result = drive("expect image=mark.png\nexpect-not image=mark.png#2\nwait-not image=mark.png#2 1");
    EXPECT_TRUE(result.ok) << result.message;
    second->setImage(ui::Image::named("mark.png"));
    result = drive("wait image=mark.png#2 1\nexpect-not image=other.png");
    EXPECT_TRUE(result.ok) << result.message;
    Bundle::main().setMainPath(previousBundle);
    ui::Image::clearCache();
}

TEST_F(DriverTest, DumpListsTheViewTree) {
    ASSERT_TRUE(drive("dump").ok);
    std::string dump = log_.str();
    EXPECT_NE(dump.find("TextField id=txfUsername frame=(20 42 230 30)"), std::string::npos) << dump;
    EXPECT_NE(dump.find("Label id=lblTitle frame=(20 8 220 30) text=\"Đăng nhập\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("\n      "), std::string::npos) << "subviews are indented";
}

TEST_F(DriverTest, DumpNeverShowsWhatASecureFieldHolds) {
    ASSERT_TRUE(drive("type id=txfUsername an\ntype id=txfPassword bí mật 123\ndump").ok) << log_.str();
    // Only what the dump printed (the script's own lines are echoed before it).
    const std::string dump = log_.str().substr(log_.str().find("> dump"));
    EXPECT_EQ(dump.find("bí mật"), std::string::npos) << dump;
    EXPECT_NE(dump.find("id=txfPassword frame=(100 78 150 30) text=\"<secure 13 bytes>\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("id=txfUsername frame=(20 42 230 30) text=\"an\""), std::string::npos) << dump;
}

TEST_F(DriverTest, WhereTellsThePointATapWouldTouch) {
    ASSERT_TRUE(drive("where id=txfUsername\nwhere text=Tiếp tục").ok) << log_.str();
    const std::string out = log_.str();
    EXPECT_NE(out.find("where id=txfUsername at 135 57\n"), std::string::npos) << out;
    EXPECT_NE(out.find("where text=Tiếp tục at "), std::string::npos) << out;
    EXPECT_FALSE(drive("where id=nothingHere").ok);
}

class RealClockDriverTest : public SampleFixture {};

TEST_F(RealClockDriverTest, AdvanceNeedsTheManualClock) {
    show();
    auto result = drive("expect text=Đăng nhập\nadvance 1");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failedLine, 2);
    EXPECT_NE(result.message.find("manual clock"), std::string::npos) << result.message;
}

TEST_F(RealClockDriverTest, ATabletScreenshotHasTheTabletSize) {
    ui::Screen::setIdiom(ui::Idiom::Tablet);
    show();
    std::string shot = (folder() / "tablet.png").string();
    auto result = drive("wait text=Tiếp tục 30\nshot " + shot);
    ASSERT_TRUE(result.ok) << result.message;
    auto image = ui::Image::fromFile(shot);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), 1024);
    EXPECT_EQ(image->height(), 768);
}

TEST(Selector, ParsesKindsAndMatchNumbers) {
    auto plain = Selector::parse("text=Vào bàn");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->kind, Selector::Kind::Text);
    EXPECT_EQ(plain->value, "Vào bàn");
    EXPECT_EQ(plain->index, 1);
    auto picture = Selector::parse("image=icon_ok.png#2");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->kind, Selector::Kind::Image);
    EXPECT_EQ(picture->value, "icon_ok.png");
    EXPECT_EQ(picture->index, 2);
    EXPECT_EQ(picture->describe(), "image=icon_ok.png#2");
    auto third = Selector::parse("class=Button#3");
    ASSERT_TRUE(third);
    EXPECT_EQ(third->kind, Selector::Kind::Class);
    EXPECT_EQ(third->value, "Button");
    EXPECT_EQ(third->index, 3);
    auto hashInText = Selector::parse("contains=Bàn #");
    ASSERT_TRUE(hashInText);
    EXPECT_EQ(hashInText->value, "Bàn #");

    std::string error;
    EXPECT_FALSE(Selector::parse("name=x", &error));
    EXPECT_NE(error.find("name"), std::string::npos);
    EXPECT_FALSE(Selector::parse("id=", &error));
    EXPECT_FALSE(Selector::parse("id=x#0", &error));
    EXPECT_FALSE(Selector::parse("tblRows", &error));
}

} // namespace
