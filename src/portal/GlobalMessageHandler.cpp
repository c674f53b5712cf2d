#include "portal/GlobalMessageHandler.h"

#include "app/UIController.h"
#include "platform/foundation/Text.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalService.h"

#include <algorithm>
#include <exception>
#include <iterator>

namespace kavo {

namespace {

// Every portal-wide reply. The account-side replies (shop, friends, profile,
// payments, lottery, reports) are listed here but not parsed yet: they are dropped
// rather than handed to a game handler that would misread them.
constexpr int16_t kGlobalCommands[] = {
    3,    4,    5,    6,    7,    10,   17,   29,   30,   31,   32,   33,   34,   35,   36,   38,   40,   41,   44,
    45,   46,   48,   55,   61,   71,   72,   73,   74,   76,   78,   79,   101,  104,  147,  220,  1003, 1005, 1008,
    1010, 1201, 1202, 1203, 1400, 1401, 1402, 1403, 1404, 1701, 1707, 2302, 2303, 2306, 2601, 2700, 2703, 2800};

// Reply 45: notices by sub-command.
constexpr uint8_t kNoticeDialog = 0;
constexpr uint8_t kNoticeEvent = 1;
constexpr uint8_t kNoticeVersion = 2;
constexpr uint8_t kNoticePresents = 3;

// The key of the name the log-in request stored, and of the name that signed in.
constexpr const char* kLoginUsernameKey = "KAVO_LOGIN_USERNAME";
constexpr const char* kLoginUsernameSuccessKey = "KAVO_LOGIN_USERNAME_SUCCESS";

std::string lower(const std::string& name) {
    return platform::toLower(name);
}

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
    // A new connection: nobody is signed in on it yet.
    UIController::signOutListMessage();
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
    ReplyReader reader(message);
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (message.commandId()) {
    case 3:
        saveUserInfoWithMessage(reader);
        return true;
    case 4: {
        const std::string reason = reader.utf();
        doShowAlertViewWithMessage(reason);
        GlobalService::getInstance().disconnect();
        return true;
    }
    case 220:
        if (reader.byte() == 1) {
            logic.onSetClientInfoOK();
        } else {
            logic.onConnectFail();
        }
        return true;
    case 6:
        receiveRoomList(reader);
        return true;
    case 7:
        receiveBoardList(reader);
        return true;
    case 2700:
        receivePickRoomBoardList(reader);
        return true;
    case 61: {
        const int8_t gameType = reader.byte();
        if (!reader.ok()) return true;
        logic.onSetGameTypeSuccessWithGame(gameType, true);
        platform::runOnMainThread([this, gameType] { pushRoomScreen(gameType); });
        return true;
    }
    case 10:
        logic.onSetMoneyErrorWithError(reader.utf());
        return true;
    case 29:
    case 76:
        return true;
    case 55: {
        // A list of texts nothing shows: read (checking the count) and dropped.
        const uint8_t count = uint8_t(reader.byte());
        for (unsigned i = 0; i < count && reader.hasMore(); ++i)
            reader.utf();
        return true;
    }
    case 2601: {
        // The server has the push token: it need not be sent again.
        auto& defaults = platform::UserDefaults::standard();
        defaults.removeObjectForKey("PNDT");
        defaults.synchronize();
        return true;
    }
    case 5: {
        auto chat = std::make_shared<KavoMessage>();
        chat->setFromID(reader.int32());
        chat->setFromName(lower(reader.utf()));
        chat->setMessage(reader.utf());
        logic.onChatFromWithMessage(std::move(chat));
        return true;
    }
    case 1707: {
        auto chat = std::make_shared<KavoMessage>();
        chat->setTime(reader.int64());
        chat->setFromID(reader.int32());
        chat->setFromName(lower(reader.utf()));
        chat->setMessage(reader.utf());
        logic.onChatOnRoomWithMessage(std::move(chat));
        return true;
    }
    case 1701:
        receiveMailbox(reader);
        return true;
    case 45:
        receiveNotice(reader);
        return true;
    case 46: {
        const std::string text = reader.utf();
        platform::runOnMainThread([this, text] {
            if (!isLoginScreenOnTop()) doShowEventWithMessage(text);
        });
        return true;
    }
    case 48: {
        const std::string info = reader.utf();
        const std::string url = reader.utf();
        logic.onVersionWithInfo(info, url);
        return true;
    }
    case 74:
        receiveInvitation(reader);
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------- sign-in

void GlobalMessageHandler::saveUserInfoWithMessage(ReplyReader& reader) {
    GlobalService& service = GlobalService::getInstance();
    service.sendClientInformationV2();

    auto player = std::make_shared<Player>();
    player->setIDDB(reader.int32());
    player->setMoney(reader.int64());
    player->setAvatar(reader.int16());
    player->setExp(reader.int32());
    auto& defaults = platform::UserDefaults::standard();
    const std::string name = defaults.stringForKey(kLoginUsernameKey);
    player->setName(name);
    defaults.setString(name, kLoginUsernameSuccessKey);
    defaults.synchronize();
    const int32_t iddb = player->IDDB();
    UIController::setMyInfo(std::move(player));
    // The new player's stored mailbox, never the previous player's.
    UIController::restoreListMessageForPlayer(iddb);

    service.getInfoWithKey(11); // the server list
    service.sendClientInformationV4();
    globalLogicHandler().onLoginSuccess();
}

// ---------------------------------------------------------------- lobby

void GlobalMessageHandler::receiveRoomList(ReplyReader& reader) {
    std::vector<std::shared_ptr<RoomInfo>> rooms;
    while (reader.hasMore()) {
        const int8_t roomId = reader.byte();
        const int8_t roomFree = reader.byte();
        const int8_t roomWait = reader.byte();
        const int8_t level = reader.byte();
        if (!reader.ok()) break;
        rooms.push_back(std::make_shared<RoomInfo>(roomId, roomFree, roomWait, level));
    }
    globalLogicHandler().onRoomList(std::move(rooms));
}

void GlobalMessageHandler::receiveBoardList(ReplyReader& reader) {
    const int8_t roomId = reader.byte();
    std::vector<std::shared_ptr<Board>> boards;
    while (reader.hasMore()) {
        auto board = std::make_shared<Board>();
        board->setBoardId(reader.byte());
        board->setNPlayer(reader.byte());
        board->setIsPass(reader.boolean() ? 1 : 0);
        board->setMoney(reader.int32());
        if (!reader.ok()) break;
        boards.push_back(std::move(board));
    }
    globalLogicHandler().onBoardListWithRoomId(roomId, std::move(boards));
}

void GlobalMessageHandler::receivePickRoomBoardList(ReplyReader& reader) {
    const int32_t maxBet = reader.int32();
    const int32_t total = reader.int32();
    platform::log("receivePickRoomBoardList " + std::to_string(total));
    std::vector<std::shared_ptr<Board>> boards;
    while (reader.hasMore()) {
        auto board = std::make_shared<Board>();
        board->setRoomId(reader.byte());
        board->setBoardId(reader.byte());
        board->setIsPass(reader.boolean() ? 1 : 0);
        board->setMoney(reader.int32());
        board->setMaxBetMoney(reader.int32());
        board->setIsPlaying(reader.boolean() ? 1 : 0);
        board->setNPlayer(reader.byte());
        board->setMaxPlayer(reader.byte());
        reader.byte(); // not used
        if (!reader.ok()) break;
        boards.push_back(std::move(board));
    }
    globalLogicHandler().onLoadBoardList(std::move(boards), maxBet);
}

// ---------------------------------------------------------------- mail

void GlobalMessageHandler::receiveMailbox(ReplyReader& reader) {
    KavoMessageList batch;
    while (reader.hasMore()) {
        auto mail = std::make_shared<KavoMessage>();
        mail->setType(reader.int32());
        mail->setTime(reader.int64());
        mail->setFromID(reader.int32());
        mail->setFromName(lower(reader.utf()));
        mail->setMessage(reader.utf());
        if (!reader.ok()) break;
        if (mail->type() == KavoMessage::kTypeLatestOnly) {
            // Only the newest batch of this kind is kept.
            UIController::removeItemsIntoListMessage(UIController::listMessageWithFilter(KavoMessage::kTypeLatestOnly));
        }
        batch.insert(batch.begin(), std::move(mail));
    }
    if (!batch.empty()) globalLogicHandler().onListNewMessage(std::move(batch));
}

// ---------------------------------------------------------------- notices and invitations

void GlobalMessageHandler::receiveNotice(ReplyReader& reader) {
    const uint8_t sub = uint8_t(reader.byte());
    if (!reader.ok() || sub > kNoticePresents) return;
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (sub) {
    case kNoticeDialog: {
        const std::string text = reader.utf();
        platform::runOnMainThread([this, text] {
            if (!isLoginScreenOnTop()) doShowAlertViewWithMessage(text);
        });
        break;
    }
    case kNoticeEvent: {
        const std::string text = reader.utf();
        platform::runOnMainThread([this, text] {
            if (!isLoginScreenOnTop()) doShowEventWithMessage(text);
        });
        break;
    }
    case kNoticeVersion: {
        const std::string info = reader.utf();
        const std::string url = reader.utf();
        platform::runOnMainThread([this, &logic, info, url] {
            if (!isLoginScreenOnTop()) logic.onVersionWithInfo(info, url);
        });
        break;
    }
    case kNoticePresents: {
        std::vector<std::shared_ptr<Asset>> presents;
        while (reader.hasMore()) {
            auto present = std::make_shared<Asset>();
            present->setAssetId(reader.int32());
            present->setName(reader.utf());
            if (!reader.ok()) break;
            presents.push_back(std::move(present));
        }
        platform::runOnMainThread([this, &logic, presents = std::move(presents)]() mutable {
            if (!isLoginScreenOnTop()) logic.onPresentReceived(std::move(presents));
        });
        break;
    }
    }
}

void GlobalMessageHandler::receiveInvitation(ReplyReader& reader) {
    const int8_t gameId = reader.byte();
    const int8_t roomId = reader.byte();
    const int8_t boardId = reader.byte();
    const std::string password = reader.utf();
    const std::string text = reader.utf();
    const int8_t levelRoom = reader.byte();
    const int32_t inviterId = reader.int32();
    // Invitations switched off, or one already being asked: dropped. (The log-in
    // screen and the tables drop it on the main thread.)
    if (!UIController::inviting() || UIController::kindOfDialog() == 1) return;
    globalLogicHandler().onInvitedJoinBoardWithGameId(gameId, roomId, boardId, password, text, levelRoom, inviterId);
}

// ---------------------------------------------------------------- main-thread helpers

void GlobalMessageHandler::doShowAlertViewWithMessage(const std::string& text) {
    globalLogicHandler().showAlertViewWithMessage(text);
}

} // namespace kavo
