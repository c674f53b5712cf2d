#include "tests/account/support/AccountTestSupport.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationController.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/GlobalService.h"
#include "portal/model/Province.h"

namespace kavo::test {

void AccountScreenFixture::SetUp() {
    LobbyScreenFixture::SetUp();
    const auto me = UIController::myInfo();
    launch();
    GlobalService::getInstance().setSession(&recorder_);
    UIController::setMyInfo(me);
    recorder_.clear();
}

void AccountScreenFixture::TearDown() {
    closeDialog();
    Province::setList({});
    LobbyScreenFixture::TearDown();
}

void AccountScreenFixture::pushScreen(const std::shared_ptr<platform::ui::ViewController>& screen) {
    KavoOnlineAppDelegate::getInstance().navigationController()->pushViewController(screen, false);
    runPending();
}

void AccountScreenFixture::pop() {
    KavoOnlineAppDelegate::getInstance().navigationController()->popViewController(false);
    runPending();
}

void AccountScreenFixture::reply(int16_t commandId, const ByteVector& body) {
    Message message(commandId, body);
    GlobalMessageHandler::getInstance().onMessage(message);
    runPending();
}

std::vector<ByteVector> AccountScreenFixture::bodies(int16_t commandId) const {
    std::vector<ByteVector> found;
    for (const auto& message : recorder_.sent(commandId))
        found.push_back(message.body);
    return found;
}

std::vector<int16_t> AccountScreenFixture::drawRequests() const {
    std::vector<int16_t> ids;
    for (const auto& message : recorder_.sent())
        if (message.commandId >= 1400 && message.commandId <= 1402) ids.push_back(message.commandId);
    return ids;
}

platform::ui::ViewPtr AccountScreenFixture::findById(const platform::ui::ViewPtr& root, const std::string& id) {
    if (!root) return nullptr;
    if (root->accessibilityIdentifier() == id) return root;
    for (const auto& subview : root->subviews())
        if (auto found = findById(subview, id)) return found;
    return nullptr;
}

void AccountScreenFixture::closeDialog() {
    UIController::closeDialog();
}

} // namespace kavo::test
