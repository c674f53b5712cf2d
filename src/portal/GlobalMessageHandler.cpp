#include "portal/GlobalMessageHandler.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "portal/DispatchRecord.h"
#include "portal/GlobalService.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <utility>

namespace kavo {

namespace {

// Every portal-wide reply: none of them ever reaches a game handler.
constexpr int16_t kGlobalCommands[] = {
    3,    4,    5,    6,    7,    10,   17,   29,   30,   31,   32,   33,   34,   35,   36,   38,   40,   41,   44,
    45,   46,   48,   55,   61,   71,   72,   73,   74,   76,   78,   79,   101,  104,  147,  220,  1003, 1005, 1008,
    1010, 1201, 1202, 1203, 1400, 1401, 1402, 1403, 1404, 1701, 1707, 2302, 2303, 2306, 2601, 2700, 2703, 2800};

} // namespace

GlobalMessageHandler& GlobalMessageHandler::getInstance() {
    static GlobalMessageHandler instance;
    return instance;
}

bool GlobalMessageHandler::isGlobalCommand(int16_t commandId) {
    return std::find(std::begin(kGlobalCommands), std::end(kGlobalCommands), commandId) != std::end(kGlobalCommands);
}

void GlobalMessageHandler::setGameMessageHandler(std::shared_ptr<IGameMessageHandler> handler) {
    std::lock_guard lock(gameHandlerMutex_);
    gameMessageHandler_ = std::move(handler);
}

std::shared_ptr<IGameMessageHandler> GlobalMessageHandler::gameMessageHandler() const {
    std::lock_guard lock(gameHandlerMutex_);
    return gameMessageHandler_;
}

void GlobalMessageHandler::setGlobalLogicHandler(GlobalLogicHandler* handler) {
    logicHandler_.store(handler);
}

GlobalLogicHandler& GlobalMessageHandler::globalLogicHandler() const {
    GlobalLogicHandler* handler = logicHandler_.load();
    return handler ? *handler : GlobalLogicHandler::getInstance();
}

// ---------------------------------------------------------------- connection events

void GlobalMessageHandler::onConnectionOK() {
    platform::log("onConnectionOK");
    // A new connection: nobody is signed in on it yet. The mailbox is emptied on the
    // main thread, ahead of any reply of this connection.
    platform::runOnMainThread([] { UIController::signOutListMessage(); });
    // Pictures asked of an earlier connection are asked of this one: its answers are the ones to come.
    Resources::getInstance().forgetPictureRequests();
    DispatchRecord::shared().connected();
    GlobalService& service = GlobalService::getInstance();
    service.sendClientInformation();
    service.requestNewMessage();
}

void GlobalMessageHandler::onConnectionFail() {
    platform::log("onConnectionFail");
    globalLogicHandler().onConnectFail();
}

void GlobalMessageHandler::onDisconnected() {
    platform::log("disconnected");
    globalLogicHandler().onDisconnect();
}

// ---------------------------------------------------------------- dispatch

void GlobalMessageHandler::onMessage(Message& message) {
    const int16_t command = message.commandId();
    platform::log("message command " + std::to_string(command));
    DispatchRecord::shared().arrived(command);
    dispatch(message);
}

void GlobalMessageHandler::dispatch(Message& message) {
    const int16_t command = message.commandId();
    try {
        if (isGlobalCommand(command)) {
            if (!handleGlobal(message)) platform::log("reply " + std::to_string(command) + " not handled; dropped");
            return;
        }
        if (auto handler = gameMessageHandler()) {
            handler->onMessage(message);
        } else {
            platform::log("no game handler for command " + std::to_string(command) + "; dropped");
        }
    } catch (const std::exception& e) {
        platform::log("Exception " + std::string(e.what()) + " in command " + std::to_string(command));
    } catch (...) {
        platform::log("Exception in command " + std::to_string(command));
    }
}

bool GlobalMessageHandler::handleGlobal(Message& message) {
    using Handle = bool (GlobalMessageHandler::*)(ReplyReader&, int16_t);
    static constexpr Handle kAreas[] = {&GlobalMessageHandler::handleSignIn, &GlobalMessageHandler::handleLobby,
                                        &GlobalMessageHandler::handleMail,   &GlobalMessageHandler::handlePlayers,
                                        &GlobalMessageHandler::handleShop,   &GlobalMessageHandler::handleMoney};
    ReplyReader reader(message);
    const int16_t command = message.commandId();
    for (const Handle handle : kAreas) {
        if (!(this->*handle)(reader, command)) continue;
        if (!reader.ok()) platform::log("reply " + std::to_string(command) + " cut short");
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- main-thread helpers

void GlobalMessageHandler::showUnlessSigningIn(std::function<void()> show) {
    platform::runOnMainThread([this, show = std::move(show)] {
        if (!isLoginScreenOnTop()) show();
    });
}

void GlobalMessageHandler::doShowAlertViewWithMessage(const std::string& text) {
    globalLogicHandler().showAlertViewWithMessage(text);
}

} // namespace kavo
