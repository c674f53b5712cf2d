#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalMessageHandler.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"

// Main-thread twins of chat, mail and presents.

namespace kavo {

void GlobalLogicHandler::onViewControllerChatFromWithMessage(const std::shared_ptr<KavoMessage>& message) {
    UIController::addItemIntoListMessage(message);
}

void GlobalLogicHandler::onChatOnRoom(const std::shared_ptr<KavoMessage>& /*message*/) {}

void GlobalLogicHandler::setListNewMessage(const KavoMessageList& messages) {
    // Each goes to the front in turn, so the oldest of the batch ends up first.
    for (const auto& message : messages)
        UIController::addItemIntoListMessage(message);
}

void GlobalLogicHandler::showPresentReceived(const std::vector<std::shared_ptr<Asset>>& /*presents*/) {}

void GlobalMessageHandler::doShowEventWithMessage(const std::string& text) {
    // The top bar's event ticker comes with the application shell.
    platform::log("event: " + text);
}

} // namespace kavo
