#include "app/EventView.h"
#include "platform/automation/Driver.h"
#include "platform/runtime/RunLoop.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/support/StateWaits.h"
#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>
#include <sstream>

namespace kavo::test {
namespace {

// The event screen over two pages of a local web server.
class WidgetEventViewTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        server_.serveText("/events", "<html><body><p>Big weekend</p></body></html>");
        server_.serveText("/guide", "<html><body><p>How to play</p></body></html>");
        launch();
        screen_ = EventView::make();
        push(screen_);
        screen_->setTitleLabel("Events");
    }
    void TearDown() override {
        screen_.reset();
        ShellTest::TearDown();
    }
    // Waits (real time, bounded) for the page to show the text.
    bool shows(const std::string& text) {
        return platform::RunLoop::main().runUntil(
            [&] {
                auto page = screen_->webView();
                return page && !page->isLoading() && page->pageText().find(text) != std::string::npos;
            },
            kStateWait);
    }
    void tap(const std::string& id) {
        std::ostringstream log;
        auto result = platform::automation::Driver(&log).run("tap id=" + id);
        ASSERT_TRUE(result.ok) << result.message << "\n" << log.str();
    }
    size_t requestsFor(const std::string& path) const {
        size_t count = 0;
        for (const auto& request : server_.requests())
            if (request.path == path) ++count;
        return count;
    }

    TestHttpServer server_;
    std::shared_ptr<EventView> screen_;
};

TEST_F(WidgetEventViewTest, ThePageAndTitleShow) {
    screen_->loadWebViewWithURL(server_.url("/events"));
    ASSERT_TRUE(shows("Big weekend"));
    EXPECT_EQ(screen_->lblTitle()->text(), "Events");
}

TEST_F(WidgetEventViewTest, BackAndForwardStopAtTheEndsOfTheHistory) {
    screen_->loadWebViewWithURL(server_.url("/events"));
    ASSERT_TRUE(shows("Big weekend"));
    tap("btnGoBack"); // nothing before the first page
    EXPECT_EQ(screen_->webView()->currentURL(), server_.url("/events"));

    screen_->loadWebViewWithURL(server_.url("/guide"));
    ASSERT_TRUE(shows("How to play"));
    tap("btnForware"); // nothing after the last page
    EXPECT_EQ(screen_->webView()->currentURL(), server_.url("/guide"));
    tap("btnGoBack");
    ASSERT_TRUE(shows("Big weekend"));
    tap("btnForware");
    ASSERT_TRUE(shows("How to play"));
}

TEST_F(WidgetEventViewTest, RefreshReloadsThePageShownAfterGoingBack) {
    screen_->loadWebViewWithURL(server_.url("/events"));
    ASSERT_TRUE(shows("Big weekend"));
    screen_->loadWebViewWithURL(server_.url("/guide"));
    ASSERT_TRUE(shows("How to play"));
    tap("btnGoBack");
    ASSERT_TRUE(shows("Big weekend"));
    const size_t before = requestsFor("/events");
    const size_t guideBefore = requestsFor("/guide");
    tap("btnRefresh");
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return requestsFor("/events") > before; }, 30));
    ASSERT_TRUE(shows("Big weekend"));
    EXPECT_EQ(requestsFor("/guide"), guideBefore);
}

TEST_F(WidgetEventViewTest, UnloadingForgetsTheControls) {
    screen_->viewDidUnload();
    EXPECT_FALSE(screen_->webView());
    EXPECT_FALSE(screen_->lblTitle());
    screen_->setTitleLabel("ignored");
    screen_->loadWebViewWithURL(server_.url("/events"));
    screen_->btnGoBack();
    screen_->btnRefresh();
}

} // namespace
} // namespace kavo::test
