#include "sdk/socialnet/SNURLConnection.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "sdk/socialnet/SNDataDiskCache.h"
#include "sdk/socialnet/SNSessionTypes.h"
#include "sdk/socialnet/SNSettings.h"
#include "tests/socialnet/cache/SNCacheTestSupport.h"
#include "tests/support/FakeSocialNetwork.h"
#include "tests/support/StateWaits.h"
#include "tests/support/TestHttpServer.h"

#include <algorithm>

namespace socialnet::test {
namespace {

using kavo::test::FakeSocialNetwork;
using kavo::test::TestHttpServer;

struct Heard {
    SNErrorPtr error;
    std::optional<SNURLResponse> response;
    std::optional<std::string> data;
};

// Each test: a fresh shared disk cache in a temporary folder, a bundle naming
// "localhost" as a content-delivery host, the main run loop on this thread.
class SNURLConnectionTest : public CacheFolderFixture {
protected:
    void SetUp() override {
        CacheFolderFixture::SetUp();
        ASSERT_TRUE(platform::writeFileAtomically(
            folder_ + "/Info.plist",
            std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
                        "<key>SocialNetCDNHostSuffixes</key>\n<array><string>localhost</string>"
                        "<string>cdn.invalid</string></array>\n</dict>\n</plist>\n")));
        previousBundle_ = platform::Bundle::main().path();
        platform::Bundle::main().setMainPath(folder_);
        platform::RunLoop::main().bindToCurrentThread();
        SNDataDiskCache::resetSharedCacheForTesting(folder_ + "/DataDiskCache");
    }
    void TearDown() override {
        SNDataDiskCache::sharedCache().waitUntilIdle();
        SNSettings::setLoggingBehavior(std::nullopt);
        platform::setLogSink({});
        platform::RunLoop::main().reset();
        platform::Bundle::main().setMainPath(previousBundle_);
        CacheFolderFixture::TearDown();
    }

    SNURLConnection::Handler recorder() {
        return [this](SNURLConnection&, const SNErrorPtr& error, const std::optional<SNURLResponse>& response,
                      const std::optional<std::string>& data) {
            heard.push_back({error, response, data});
        };
    }
    [[nodiscard]] bool waitForHandler(size_t count = 1) {
        return platform::RunLoop::main().runUntil([&] { return heard.size() >= count; }, kavo::test::kStateWait);
    }
    std::optional<std::string> cached(const std::string& url) { return SNDataDiskCache::sharedCache().dataForURL(url); }
    std::shared_ptr<SNURLConnection> load(const std::string& url, bool skip) {
        return SNURLConnection::initWithRequest(platform::HttpRequest::get(url), skip, recorder());
    }

    TestHttpServer http_;
    FakeSocialNetwork network_{http_};
    std::vector<Heard> heard;
    std::string previousBundle_;
};

const std::string kPng = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(3000, '\x01');

TEST_F(SNURLConnectionTest, AContentDeliveryImageIsKeptUnderItsFinalAddress) {
    network_.serveImage("/img/1.png", kPng);
    network_.serveRedirect("/img/latest", "/img/1.png");
    auto connection = load(network_.cdnBase() + "/img/latest", false);
    ASSERT_TRUE(waitForHandler());
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].error, nullptr);
    ASSERT_TRUE(heard[0].response);
    EXPECT_EQ(heard[0].response->statusCode, 200);
    EXPECT_EQ(heard[0].response->mimeType, "image/png");
    EXPECT_EQ(heard[0].response->url, network_.cdnBase() + "/img/1.png");
    EXPECT_EQ(heard[0].data, kPng);
    EXPECT_EQ(cached(network_.cdnBase() + "/img/1.png"), kPng);
    EXPECT_EQ(cached(network_.cdnBase() + "/img/latest"), std::nullopt);
    EXPECT_EQ(network_.requestedPaths(), (std::vector<std::string>{"/img/latest", "/img/1.png"}));
}

TEST_F(SNURLConnectionTest, AGraphHostAnswerIsNotKept) {
    network_.serveBody("/me", "text/javascript", "{\"id\":\"4\"}");
    auto connection = load(network_.graphBase() + "/me", true);
    ASSERT_TRUE(waitForHandler());
    EXPECT_EQ(heard[0].data, "{\"id\":\"4\"}");
    EXPECT_EQ(cached(network_.graphBase() + "/me"), std::nullopt);
}

TEST_F(SNURLConnectionTest, ACachedAddressIsAnsweredBeforeTheMakerReturnsWithoutARequest) {
    const std::string url = network_.cdnBase() + "/img/1.png";
    SNDataDiskCache::sharedCache().setDataForURL(kPng, url);
    auto connection = SNURLConnection::initWithURL(url, recorder());
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].error, nullptr);
    EXPECT_EQ(heard[0].response, std::nullopt);
    EXPECT_EQ(heard[0].data, kPng);
    EXPECT_FALSE(connection->hasHandler());
    platform::RunLoop::main().runPending();
    EXPECT_TRUE(http_.requests().empty());
}

TEST_F(SNURLConnectionTest, ARedirectToACachedAddressEndsWithTheCachedDataOnlyWhenSkipping) {
    const std::string target = network_.cdnBase() + "/img/2.png";
    SNDataDiskCache::sharedCache().setDataForURL("cached bytes", target);
    network_.serveRedirect("/img/latest", "/img/2.png");
    network_.serveImage("/img/2.png", kPng);

    auto skipping = load(network_.cdnBase() + "/img/latest", true);
    ASSERT_TRUE(waitForHandler());
    EXPECT_EQ(heard[0].data, "cached bytes");
    ASSERT_TRUE(heard[0].response);
    EXPECT_EQ(heard[0].response->mimeType, "application/octet-stream");
    EXPECT_EQ(heard[0].response->expectedContentLength, 12);
    EXPECT_EQ(heard[0].response->url, target);
    EXPECT_EQ(network_.requestedPaths(), std::vector<std::string>{"/img/latest"});

    auto following = load(network_.cdnBase() + "/img/latest", false);
    ASSERT_TRUE(waitForHandler(2));
    EXPECT_EQ(heard[1].data, kPng);
    EXPECT_EQ(heard[1].response->mimeType, "image/png");
    EXPECT_EQ(network_.requestedPaths(), (std::vector<std::string>{"/img/latest", "/img/latest", "/img/2.png"}));
}

TEST_F(SNURLConnectionTest, CancellingCallsTheHandlerOnceWithCodeOne) {
    http_.holdConnections();
    auto connection = load(network_.cdnBase() + "/img/slow.png", false);
    ASSERT_TRUE(http_.waitForRequests(1, kavo::test::kStateWait));
    connection->cancel();
    connection->cancel();
    ASSERT_EQ(heard.size(), 1u);
    ASSERT_TRUE(heard[0].error);
    EXPECT_EQ(heard[0].error->domain, "com.socialnet.sdk");
    EXPECT_EQ(heard[0].error->code, 1);
    EXPECT_TRUE(heard[0].error->userInfo.empty());
    // A second call of the handler must not come.
    EXPECT_TRUE(kavo::test::nothingComesWithin(0.3, [&] { return heard.size() > 1; }));
    EXPECT_EQ(heard.size(), 1u);
}

TEST_F(SNURLConnectionTest, ARefusedConnectionReachesTheHandlerAsThePlatformError) {
    uint16_t closedPort;
    {
        TestHttpServer gone;
        closedPort = gone.port();
    }
    auto connection = load("http://127.0.0.1:" + std::to_string(closedPort) + "/me", false);
    ASSERT_TRUE(waitForHandler());
    ASSERT_TRUE(heard[0].error);
    EXPECT_EQ(heard[0].error->domain, "platform.url");
    EXPECT_FALSE(heard[0].error->message.empty());
    EXPECT_EQ(heard[0].response, std::nullopt);
    EXPECT_EQ(heard[0].data, std::nullopt);
}

TEST_F(SNURLConnectionTest, WithLoggingOnEachLoadIsLoggedWithAScriptBodyShown) {
    std::vector<std::string> lines;
    platform::setLogSink([&](const std::string& line) { lines.push_back(line); });
    SNSettings::setLoggingBehavior(SNSettings::Behaviors{"snurl_connections"});
    network_.serveBody("/me", "text/javascript", "{\"id\":\"4\"}");
    network_.serveImage("/img/1.png", std::string(2048, 'p'));
    auto script = load(network_.graphBase() + "/me", false);
    ASSERT_TRUE(waitForHandler());
    auto image = load(network_.cdnBase() + "/img/1.png", false);
    ASSERT_TRUE(waitForHandler(2));
    auto all = [&] {
        std::string text;
        for (auto& line : lines)
            text += line + "\n";
        return text;
    }();
    std::string serial = std::to_string(script->loggerSerialNumber());
    EXPECT_NE(all.find("SNURLConnection <#" + serial + ">:\n  URL: '" + network_.graphBase() + "/me'"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("SNURLConnection <#" + serial + ">:\n  Duration: "), std::string::npos) << all;
    EXPECT_NE(all.find("Response Size: 0 kB\n  MIME type: text/javascript\n  Response:\n{\"id\":\"4\"}\n"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("Response Size: 2 kB\n  MIME type: image/png\n"), std::string::npos) << all;
    EXPECT_EQ(all.find("Response:\npppp"), std::string::npos) << all;
}

} // namespace
} // namespace socialnet::test
