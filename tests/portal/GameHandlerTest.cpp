#include "app/UIController.h"
#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalMessageHandler.h"
#include "tests/portal/PortalTestSupport.h"

#include <gtest/gtest.h>
#include <set>

namespace kavo::test {
namespace {

// The registry lives for the process, so each test uses game types of its own.
class GameHandler : public IGameMessageHandler {
public:
    explicit GameHandler(std::set<int8_t> types) : types_(std::move(types)) {}
    bool isGameType(int8_t type) const override { return types_.count(type) > 0; }
    void onMessage(Message& message) override { received.push_back(message.commandId()); }
    void onPostSetupGameType() override { ++setups; }

    std::vector<int16_t> received;
    int setups = 0;

private:
    std::set<int8_t> types_;
};

class GameChoice : public ::testing::Test {
protected:
    PortalEnvironment env;
    GlobalLogicHandler& logic = GlobalLogicHandler::getInstance();
    GlobalMessageHandler& dispatcher = GlobalMessageHandler::getInstance();
};

TEST_F(GameChoice, ConfirmedTypeInstallsTheLastRegisteredHandlerThatAcceptsIt) {
    auto first = std::make_shared<GameHandler>(std::set<int8_t>{90});
    auto second = std::make_shared<GameHandler>(std::set<int8_t>{90, 91});
    auto other = std::make_shared<GameHandler>(std::set<int8_t>{92});
    logic.addGameMessageHandler(first);
    logic.addGameMessageHandler(second);
    logic.addGameMessageHandler(other);

    deliver(61, {90});
    EXPECT_EQ(dispatcher.gameMessageHandler(), second);
    EXPECT_EQ(second->setups, 1);
    EXPECT_EQ(first->setups, 0);
    EXPECT_EQ(UIController::gameType(), 90);

    deliver(49, {});
    EXPECT_EQ(second->received, std::vector<int16_t>{49});
    EXPECT_TRUE(first->received.empty());

    deliver(61, {92});
    EXPECT_EQ(dispatcher.gameMessageHandler(), other);
    EXPECT_EQ(other->setups, 1);
}

TEST_F(GameChoice, TypeThatNoHandlerAcceptsKeepsTheInstalledHandler) {
    auto handler = std::make_shared<GameHandler>(std::set<int8_t>{93});
    logic.addGameMessageHandler(handler);
    deliver(61, {93});
    ASSERT_EQ(dispatcher.gameMessageHandler(), handler);

    deliver(61, {94});
    EXPECT_EQ(dispatcher.gameMessageHandler(), handler);
    EXPECT_EQ(UIController::gameType(), 94);
    EXPECT_EQ(handler->setups, 1);
}

TEST_F(GameChoice, AHandlerIsRegisteredOnce) {
    auto handler = std::make_shared<GameHandler>(std::set<int8_t>{95});
    const size_t before = GlobalLogicHandler::getGameMessageHandlers().size();
    logic.addGameMessageHandler(handler);
    logic.addGameMessageHandler(handler);
    logic.addGameMessageHandler(nullptr);
    EXPECT_EQ(GlobalLogicHandler::getGameMessageHandlers().size(), before + 1);
    EXPECT_EQ(GlobalLogicHandler::lastGameMessageHandlerFor(95), handler);
    EXPECT_EQ(GlobalLogicHandler::lastGameMessageHandlerFor(96), nullptr);
}

TEST_F(GameChoice, BoardSearchRowsBecomeTheBoardListData) {
    Bytes rows;
    rows.int32(9000).int32(1).byte(1).byte(2).boolean(false).int32(100).int32(900).boolean(false).byte(1).byte(4);
    // The handler lives for the process: what an earlier reply left stands until the main thread runs.
    const auto before = logic.boardList();
    deliver(2700, rows.byte(0));
    EXPECT_EQ(logic.boardList(), before) << "the rows change on the main thread";
    PortalEnvironment::runMainThread();
    ASSERT_EQ(logic.boardList().size(), 1u);
    EXPECT_EQ(logic.boardList()[0]->boardId(), 2);
    EXPECT_EQ(logic.maxBetValue(), 9000);
}

TEST_F(GameChoice, VersionAddressGetsASchemeWhenItHasNone) {
    EXPECT_EQ(GlobalLogicHandler::normalizeUrl("kavo.vn/app"), "http://kavo.vn/app");
    EXPECT_EQ(GlobalLogicHandler::normalizeUrl("http://kavo.vn"), "http://kavo.vn");
    EXPECT_EQ(GlobalLogicHandler::normalizeUrl(""), "");
}

} // namespace
} // namespace kavo::test
