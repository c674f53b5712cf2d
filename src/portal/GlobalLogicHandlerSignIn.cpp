#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalMessageHandler.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"

// Main-thread twins of the connection and sign-in replies.

namespace kavo {

void GlobalLogicHandler::loginSuccess() {}

void GlobalLogicHandler::loginFailWithReason(const std::string& reason) {
    showAlertViewWithMessage(reason);
}

void GlobalLogicHandler::connectFail(const std::string& text) {
    showAlertViewWithMessage(text);
}

void GlobalLogicHandler::disconnected(const std::string& lostSignalText) {
    if (!lostSignalText.empty()) showAlertViewWithMessage(lostSignalText);
}

void GlobalLogicHandler::setMoneyError(const std::string& error) {
    showAlertViewWithMessage(error);
}

void GlobalLogicHandler::showVersion(const std::string& /*info*/, const std::string& /*url*/) {}

bool GlobalMessageHandler::isLoginScreenOnTop() const {
    return false;
}

} // namespace kavo
