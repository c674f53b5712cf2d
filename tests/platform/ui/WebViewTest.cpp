#include "platform/ui/WebView.h"

#include "ControlsTestSupport.h"
#include "platform/runtime/RunLoop.h"
#include "tests/support/StateWaits.h"

#include <arpa/inet.h>
#include <atomic>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace platform::ui;

namespace {

// A tiny HTTP server on 127.0.0.1: one request per connection, pages by path, 404
// for the rest. Closing the listening socket ends it.
class PageServer {
public:
    PageServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 8) != 0)
            return;
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~PageServer() {
        ::shutdown(listener_, SHUT_RDWR); // wakes the blocked accept
        if (thread_.joinable()) thread_.join();
        ::close(listener_);
    }
    void page(const std::string& path, const std::string& html) {
        std::lock_guard lock(mutex_);
        pages_[path] = html;
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    std::vector<std::string> requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    void serve() {
        for (;;) {
            int client = ::accept(listener_, nullptr, nullptr);
            if (client < 0) return;
            std::string request;
            char buffer[1024];
            while (request.find("\r\n\r\n") == std::string::npos) {
                ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                request.append(buffer, size_t(n));
            }
            size_t start = request.find(' ') + 1;
            std::string path = request.substr(start, request.find(' ', start) - start);
            std::string body, status = "404 Not Found";
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(path);
                if (auto it = pages_.find(path); it != pages_.end()) {
                    body = it->second;
                    status = "200 OK";
                }
            }
            std::string reply =
                "HTTP/1.1 " + status +
                "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " + std::to_string(body.size()) +
                "\r\nConnection: close\r\n\r\n" + body;
            ::send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
            ::close(client);
        }
    }

    int listener_ = -1;
    uint16_t port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::map<std::string, std::string> pages_;
    std::vector<std::string> requests_;
};

class PageLog : public WebViewDelegate {
public:
    bool shouldStartLoad(WebView&, const std::string& url, WebViewNavigationType) override {
        calls.push_back("should " + url.substr(url.rfind('/')));
        return url.find("blocked") == std::string::npos;
    }
    void didStartLoad(WebView&) override { calls.push_back("start"); }
    void didFinishLoad(WebView&) override { calls.push_back("finish"); }
    void didFailLoad(WebView&, const std::string&) override { calls.push_back("fail"); }
    std::vector<std::string> calls;
};

} // namespace

class WebViewTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        web = WebView::make({0, 40, 480, 280});
        web->setDelegate(&log);
        window->addSubview(web);
    }
    void TearDown() override {
        web.reset();
        ControlsTest::TearDown();
    }
    [[nodiscard]] bool waitForLoad() {
        return platform::RunLoop::main().runUntil([this] { return !web->isLoading(); }, kavo::test::kStateWait);
    }
    PageServer server;
    PageLog log;
    std::shared_ptr<WebView> web;
};

TEST_F(WebViewTest, ShowsThePageTextWithoutTags) {
    server.page("/event", "<html><head><title>Sự kiện</title><style>h1{color:red}</style></head>"
                          "<body><h1>Sự kiện   tháng 12</h1><!-- ẩn --><p>Nạp zel &amp; nhận\n   quà</p>"
                          "<script>var hidden = 1;</script><ul><li>Tiến lên</li><li>Phỏm</li></ul></body></html>");
    web->loadRequest(server.url("/event"));
    EXPECT_TRUE(web->isLoading());
    ASSERT_TRUE(waitForLoad());
    EXPECT_EQ(web->pageText(), "Sự kiện tháng 12\nNạp zel & nhận quà\n• Tiến lên\n• Phỏm");
    EXPECT_EQ(log.calls, (std::vector<std::string>{"should /event", "start", "finish"}));
    EXPECT_EQ(web->currentURL(), server.url("/event"));
    EXPECT_GT(web->scrollView()->contentSize().height, 0);
}

TEST_F(WebViewTest, RefusedAddressLoadsNothing) {
    web->loadRequest(server.url("/blocked"));
    EXPECT_FALSE(web->isLoading());
    EXPECT_EQ(log.calls, (std::vector<std::string>{"should /blocked"}));
    // A request that must not be made.
    EXPECT_TRUE(kavo::test::nothingComesWithin(0.2, [&] { return !server.requests().empty(); }));
    EXPECT_TRUE(server.requests().empty());
    EXPECT_FALSE(web->canGoBack());
    EXPECT_EQ(web->pageText(), "");
}

TEST_F(WebViewTest, PageThatCannotLoadShowsItsAddress) {
    web->loadRequest(server.url("/missing"));
    ASSERT_TRUE(waitForLoad());
    EXPECT_EQ(web->pageText(), server.url("/missing"));
    EXPECT_EQ(log.calls.back(), "fail");
    web->loadRequest("ftp://127.0.0.1/file");
    EXPECT_EQ(web->pageText(), "ftp://127.0.0.1/file");
}

TEST_F(WebViewTest, BackForwardAndReloadFollowTheHistory) {
    server.page("/a", "<p>Trang A</p>");
    server.page("/b", "<p>Trang B</p>");
    web->loadRequest(server.url("/a"));
    ASSERT_TRUE(waitForLoad());
    web->loadRequest(server.url("/b"));
    ASSERT_TRUE(waitForLoad());
    EXPECT_TRUE(web->canGoBack());
    EXPECT_FALSE(web->canGoForward());
    web->goForward(); // at the end: nothing
    web->goBack();
    ASSERT_TRUE(waitForLoad());
    EXPECT_EQ(web->pageText(), "Trang A");
    EXPECT_FALSE(web->canGoBack());
    web->goBack(); // at the start: nothing
    server.page("/a", "<p>Trang A mới</p>");
    web->reload(); // the page shown is the earlier one
    ASSERT_TRUE(waitForLoad());
    EXPECT_EQ(web->pageText(), "Trang A mới");
    web->goForward();
    ASSERT_TRUE(waitForLoad());
    EXPECT_EQ(web->pageText(), "Trang B");
    EXPECT_EQ(server.requests(), (std::vector<std::string>{"/a", "/b", "/a", "/a", "/b"}));
}

TEST_F(WebViewTest, StoppedLoadIgnoresItsAnswer) {
    server.page("/slow", "<p>Muộn</p>");
    web->loadHTMLString("<b>Đang</b> chờ");
    web->loadRequest(server.url("/slow"));
    web->stopLoading();
    EXPECT_FALSE(web->isLoading());
    ASSERT_TRUE(platform::RunLoop::main().runUntil([this] { return !server.requests().empty(); }, 30));
    // The answer comes and must not be shown.
    EXPECT_TRUE(kavo::test::nothingComesWithin(0.2, [&] { return web->pageText() != "Đang chờ"; }));
    EXPECT_EQ(web->pageText(), "Đang chờ");
}

TEST(WebViewText, EntitiesBreaksAndForeignBytes) {
    EXPECT_EQ(WebView::textFromHtml("a&lt;b&gt; &#7871; &#x1EBF;&nbsp;x &bogus; &"), "a<b> ế ế x &bogus; &");
    EXPECT_EQ(WebView::textFromHtml("một<br>hai<br/><br>ba"), "một\nhai\n\nba");
    EXPECT_EQ(WebView::textFromHtml("<table><tr><td>1</td><td>2</td></tr></table>"), "1 2");
    EXPECT_EQ(WebView::textFromHtml(std::string("caf\xE9")), "café"); // Latin-1
    EXPECT_EQ(WebView::textFromHtml("<p>unclosed <b"), "unclosed");
    EXPECT_EQ(WebView::textFromHtml(""), "");
}
