#include "app/Resources.h"
#include "app/UIController.h"
#include "net/MobileClient.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalService.h"
#include "tests/portal/PortalTestSupport.h"
#include "tests/support/TestPortal.h"

#include <atomic>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

// A screen that signs in once the server has accepted the client.
class SignInOnConnect : public IConnectOKListener {
public:
    void onConnectOK() override {
        ++calls;
        GlobalService::getInstance().loginWithUsername("an", "pw", GlobalService::VERSION());
    }
    std::atomic<int> calls{0};
};

class RoadStart : public ::testing::Test {
protected:
    PortalEnvironment env;
    TestPortal portal;
    MobileClient client;

    RoadStart() {
        GlobalService::getInstance().setSession(&client);
        GlobalService::setIP("127.0.0.1");
        GlobalService::setPORT(portal.port());
    }
    ~RoadStart() override {
        client.manualDisconnect();
        GlobalService::getInstance().setSession(&env.client());
    }
};

TEST_F(RoadStart, ConnectingSendsClientInformationThenAsksForMail) {
    GlobalService::getInstance().connect();
    ASSERT_TRUE(portal.waitForMessages(2, 30));
    const auto messages = portal.messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0].commandId, 222);
    EXPECT_EQ(messages[0].body, ByteVector(Bytes().int32(1).int32(0).utf("1.0.0").utf("vi").utf("1.0.0;iPhone;6.1")));
    EXPECT_EQ(messages[1].commandId, 1702);
    EXPECT_TRUE(messages[1].body.empty());
}

TEST_F(RoadStart, AcceptedClientSignsInAndTheGameGridWaitsForTheMainThread) {
    portal.onCommand(222, [](Message&, TestPortal::Reply& reply) { reply.send(220, {0x01}); });
    portal.onCommand(1, [](Message&, TestPortal::Reply& reply) {
        reply.send(3, Bytes().int32(501).int64(2'000'000).int16(3).int32(100));
    });
    SignInOnConnect screen;
    GlobalService::getInstance().setConnectOKListener(&screen);
    GlobalService::getInstance().connect();

    // The sign-in reply holds the reader until the main thread has run its part.
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return portal.messages(2800).size() == 1; }, 30));
    EXPECT_EQ(screen.calls.load(), 1);
    EXPECT_EQ(GlobalService::getInstance().getConnectOKListener(), nullptr);

    std::vector<int16_t> commands;
    for (const auto& m : portal.messages())
        commands.push_back(m.commandId);
    EXPECT_EQ(commands, (std::vector<int16_t>{222, 1702, 1, 221, 72, 2800}));
    EXPECT_EQ(portal.messages(1)[0].body, ByteVector(Bytes().utf("an").utf("pw").utf("1.0.0")));

    const auto me = UIController::myInfo();
    EXPECT_EQ(me->IDDB(), 501);
    EXPECT_EQ(me->name(), "an");
    EXPECT_EQ(me->money(), 2'000'000);
    EXPECT_EQ(me->level().lv, 2);
}

TEST_F(RoadStart, RefusedClientInformationEndsAsAConnectionFailure) {
    portal.onCommand(222, [](Message&, TestPortal::Reply& reply) { reply.send(220, {0x00}); });
    SignInOnConnect screen;
    GlobalService::getInstance().setConnectOKListener(&screen);
    GlobalService::getInstance().connect();
    ASSERT_TRUE(portal.waitForMessages(2, 30));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return UIController::currentDialog() != nullptr; }, 30))
        << "the refusal was not told";
    EXPECT_EQ(UIController::currentDialog()->message(), Resources::getInstance().textWithKey("KAVO_connectFail"));
    EXPECT_EQ(screen.calls.load(), 0);
    EXPECT_EQ(GlobalService::getInstance().getConnectOKListener(), &screen);
    GlobalService::getInstance().setConnectOKListener(nullptr);
}

} // namespace
} // namespace kavo::test
