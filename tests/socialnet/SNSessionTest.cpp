#include "sdk/socialnet/SNSession.h"

#include <gtest/gtest.h>
#include <vector>

namespace socialnet {
namespace {

struct Heard {
    SNSessionState state;
    int32_t error;
};

SNSession::CompletionHandler recordInto(std::vector<Heard>& heard) {
    return [&heard](SNSession&, SNSessionState state, const SNError& error) { heard.push_back({state, error.code}); };
}

TEST(SNSessionTest, ANewSessionIsClosedToTheNetworkAndHasNoToken) {
    SNSession session("123", {"basic_info"});
    EXPECT_EQ(session.state(), SNSessionState::Created);
    EXPECT_FALSE(session.isOpen());
    EXPECT_TRUE(session.accessToken().empty());
    EXPECT_EQ(session.callbackScheme(), "sn123");
}

TEST(SNSessionTest, OpeningFailsClearlyBecauseTheLogInPageCannotBeReached) {
    SNSession session("123", {});
    std::vector<Heard> heard;
    session.openWithCompletionHandler(recordInto(heard));
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].state, SNSessionState::CreatedOpening);
    EXPECT_EQ(heard[1].state, SNSessionState::ClosedLoginFailed);
    EXPECT_EQ(heard[1].error, SNSession::kErrorLoginFailed);
    EXPECT_EQ(session.stateValue(), 257);
    EXPECT_FALSE(session.isOpen());
}

TEST(SNSessionTest, ASessionOpensOnlyOnce) {
    SNSession session("123", {});
    session.openWithCompletionHandler(nullptr);
    std::vector<Heard> heard;
    session.openWithCompletionHandler(recordInto(heard));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].error, SNSession::kErrorInvalidOperation);
    EXPECT_EQ(session.state(), SNSessionState::ClosedLoginFailed);
}

TEST(SNSessionTest, OnlyItsOwnCallbackAddressIsHandled) {
    SNSession session("123", {});
    EXPECT_FALSE(session.handleOpenURL("http://example.invalid/#access_token=abc"));
    EXPECT_FALSE(session.handleOpenURL("not an address"));
    EXPECT_TRUE(session.handleOpenURL("sn123://authorize#access_token=abc"));
    // Not opening: the answer is recognised but changes nothing.
    EXPECT_FALSE(session.isOpen());
    EXPECT_TRUE(session.accessToken().empty());
}

TEST(SNSessionTest, ClosingForgetsTheTokenAndReportsClosed) {
    SNSession session("123", {});
    std::vector<Heard> heard;
    session.openWithCompletionHandler(recordInto(heard));
    session.close();
    EXPECT_EQ(session.stateValue(), 258);
    EXPECT_EQ(heard.back().state, SNSessionState::Closed);
    session.handleDidBecomeActive(); // nothing pending: no change
    EXPECT_EQ(session.state(), SNSessionState::Closed);
}

TEST(SNSessionTest, TheActiveSessionIsTheOneSet) {
    EXPECT_EQ(SNSession::activeSession(), nullptr);
    auto session = std::make_shared<SNSession>("123", std::vector<std::string>{});
    SNSession::setActiveSession(session);
    EXPECT_EQ(SNSession::activeSession(), session);
    SNSession::setActiveSession(nullptr);
}

} // namespace
} // namespace socialnet
