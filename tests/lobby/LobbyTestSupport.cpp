#include "tests/lobby/LobbyTestSupport.h"

#include "app/UIController.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalService.h"

namespace kavo::test {

void LobbyScreenFixture::SetUp() {
    ClientFixture::SetUp();
    GlobalService::getInstance().setSession(&recorder_);
    auto player = std::make_shared<Player>();
    player->setIDDB(7);
    player->setName("an");
    player->setMoney(kMoney);
    UIController::setMyInfo(player);
    UIController::setGameType(3);
}

void LobbyScreenFixture::TearDown() {
    runPending();
    GlobalService::getInstance().setSession(nullptr);
    UIController::setGameType(0);
    ClientFixture::TearDown();
}

void LobbyScreenFixture::runPending() {
    while (platform::RunLoop::main().runPending() > 0) {
    }
}

} // namespace kavo::test
