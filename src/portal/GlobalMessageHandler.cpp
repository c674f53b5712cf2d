#include "portal/GlobalMessageHandler.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/foundation/Text.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "portal/GlobalService.h"
#include "portal/model/Province.h"

#include <algorithm>
#include <exception>
#include <iterator>

namespace kavo {

namespace {

// Every portal-wide reply: none of them ever reaches a game handler.
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
    // A new connection: nobody is signed in on it yet. The mailbox is emptied on the
    // main thread, ahead of any reply of this connection.
    platform::runOnMainThread([] { UIController::signOutListMessage(); });
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
        platform::runOnMainThread([] {
            auto& defaults = platform::UserDefaults::standard();
            defaults.removeObjectForKey("PNDT");
            defaults.synchronize();
        });
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
        return handleAccount(message);
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
    player->setName(platform::UserDefaults::standard().stringForKey(kLoginUsernameKey));

    service.getInfoWithKey(11); // the server list
    service.sendClientInformationV4();
    globalLogicHandler().onLoginSuccess(std::move(player));
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
    globalLogicHandler().onInvitedJoinBoardWithGameId(gameId, roomId, boardId, password, text, levelRoom, inviterId);
}

// ================================================================ account side

namespace {

// A row of a ranking: int IDDB, UTF name, long money, short avatar, int exp, UTF
// status. Ranked players are shown as online.
std::shared_ptr<Player> readRankedPlayer(ReplyReader& reader) {
    auto player = std::make_shared<Player>();
    player->setIDDB(reader.int32());
    player->setName(reader.utf());
    player->setMoney(reader.int64());
    player->setAvatar(reader.int16());
    player->setExp(reader.int32());
    player->userProfile()->setStatus(reader.utf());
    player->setIsReady(1);
    return reader.ok() ? player : nullptr;
}

// Where an online friend sits, as the status a friend list shows; the friend's own
// status text counts only when the place has no text (a game without a name here).
void setFriendPlace(Player& player, int8_t roomId, int8_t boardId, int8_t gameId, std::string statusText) {
    player.setRoomID(roomId);
    player.setBoardID(boardId);
    player.setGameID(gameId);
    std::string place = Util::formatStatusOnlineWithRoomId(roomId, boardId, gameId);
    player.userProfile()->setStatus(place.empty() ? std::move(statusText) : std::move(place));
}

// A row of a friend list: int IDDB, UTF name, long money, short avatar, byte online;
// when online: byte roomId, byte boardId, byte gameId; then UTF status text.
std::shared_ptr<Player> readFriend(ReplyReader& reader) {
    auto player = std::make_shared<Player>();
    player->setIDDB(reader.int32());
    player->setName(reader.utf());
    player->setMoney(reader.int64());
    player->setAvatar(reader.int16());
    const bool online = reader.byte() != 0;
    player->setIsReady(online ? 1 : 0);
    if (online) {
        const int8_t roomId = reader.byte();
        const int8_t boardId = reader.byte();
        const int8_t gameId = reader.byte();
        setFriendPlace(*player, roomId, boardId, gameId, reader.utf());
    } else {
        player->userProfile()->setStatus(reader.utf());
    }
    return reader.ok() ? player : nullptr;
}

// Rows of int IDDB and UTF name (and an int avatar when `withAvatar`).
PlayerList readNamedPlayers(ReplyReader& reader, bool withAvatar) {
    PlayerList players;
    while (reader.hasMore()) {
        auto player = std::make_shared<Player>();
        player->setIDDB(reader.int32());
        player->setName(reader.utf());
        if (withAvatar) player->setAvatar(reader.int32());
        if (!reader.ok()) break;
        players.push_back(std::move(player));
    }
    return players;
}

// Rows of an item list of the shop: int itemId, UTF name, int price, UTF
// function_desc, bool is_bought.
ItemInfoList readItemInfos(ReplyReader& reader) {
    ItemInfoList items;
    while (reader.hasMore()) {
        auto item = std::make_shared<ItemInfo>();
        item->setItemId(reader.int32());
        item->setName(reader.utf());
        item->setPrice(reader.int32());
        item->setFunction_desc(reader.utf());
        item->setIs_bought(reader.boolean() ? 1 : 0);
        if (!reader.ok()) break;
        items.push_back(std::move(item));
    }
    return items;
}

// Rows of shop categories: int categoryId, UTF name, int parentId.
std::vector<std::shared_ptr<CategoryShopInfo>> readCategories(ReplyReader& reader) {
    std::vector<std::shared_ptr<CategoryShopInfo>> categories;
    while (reader.hasMore()) {
        auto category = std::make_shared<CategoryShopInfo>();
        category->setCategoryId(reader.int32());
        category->setName(reader.utf());
        category->setParentId(reader.int32());
        if (!reader.ok()) break;
        categories.push_back(std::move(category));
    }
    return categories;
}

std::string languageText(const char* key) {
    return Resources::getInstance().textWithKey(key);
}

// Reply 101: the shop and its gifts, by sub-command.
namespace shop {
constexpr uint8_t kCategories = 1;
constexpr uint8_t kItems = 2;
constexpr uint8_t kUserItems = 3;
constexpr uint8_t kAvatarDetail = 5;
constexpr uint8_t kBuy = 6;
constexpr uint8_t kGiveGift = 7;
constexpr uint8_t kUserAvatarDetail = 9;
constexpr uint8_t kDeleteItem = 10;
constexpr uint8_t kSetUsing = 11;
constexpr uint8_t kUsingAvatars = 12;
constexpr uint8_t kGiftCategories = 14;
constexpr uint8_t kGiftItems = 15;
constexpr uint8_t kEventItems = 16;
constexpr uint8_t kOpenGift = 17;
constexpr uint8_t kAllItems = 21;
} // namespace shop

// Reply 104: friends, by sub-command.
namespace friends {
constexpr uint8_t kNotice = 1;
constexpr uint8_t kRequestSent = 2;
constexpr uint8_t kRequestResult = 3;
constexpr uint8_t kRequests = 4;
constexpr uint8_t kList = 5;
constexpr uint8_t kInviteList = 6;
constexpr uint8_t kHistory = 7;
constexpr uint8_t kGiftBought = 8;
constexpr uint8_t kGiftBought2 = 9;
constexpr uint8_t kHistoryDeleted = 12;
constexpr uint8_t kNotice2 = 13;
constexpr uint8_t kAskedList = 14;
constexpr uint8_t kInviteResult = 15;
constexpr uint8_t kByMoney = 16;
constexpr uint8_t kByMoneyWithPlace = 17;
constexpr uint8_t kByExp = 20;
} // namespace friends

// The history rows from this type on carry the avatar and item texts.
constexpr int32_t kHistoryTypeWithPictures = 3;
// Reply 72: this sub means "the real sub follows, without text".
constexpr uint8_t kServerInfoNoText = 255;
// Reply 44: the top-up channels of these types carry a sub-id.
constexpr int8_t kChannelsWithSubId[] = {1, 2, 4, 8};

} // namespace

bool GlobalMessageHandler::handleAccount(Message& message) {
    ReplyReader reader(message);
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (message.commandId()) {
    case 30:
    case 31:
        receiveRankedList(reader, message.commandId());
        return true;
    case 32:
        logic.onAddFriendWithResult(uint8_t(reader.byte()));
        return true;
    case 33:
        logic.onDelFriendResult(uint8_t(reader.byte()));
        return true;
    case 34:
        receivePlayerDetail(reader);
        return true;
    case 36:
        receiveSearchResult(reader);
        return true;
    case 78:
        receiveRankingLists(reader);
        return true;
    case 104:
        receiveFriends(reader);
        return true;
    case 1005:
        receiveProfile(reader);
        return true;
    case 40:
        receiveMyProfile(reader);
        return true;
    case 41:
        logic.onSetMyUserData();
        return true;
    case 1003:
        logic.onChangePass(reader.boolean());
        return true;
    case 1008: {
        const int32_t avatar = reader.int32();
        platform::runOnMainThread([avatar] { UIController::myInfo()->setAvatar(avatar); });
        logic.onChangeAvatarSuccess();
        return true;
    }
    case 38:
        receiveAvatarPicture(reader);
        return true;
    case 79:
        receiveItemPicture(reader);
        return true;
    case 1010:
        receiveMyAvatars(reader);
        return true;
    case 1201:
        receiveAvatarList(reader);
        return true;
    case 1202:
        logic.onBuyAvatarSuccessWithId(reader.int32());
        return true;
    case 1203:
        receiveAllAvatars(reader);
        return true;
    case 101:
        receiveShop(reader);
        return true;
    case 17: {
        const int64_t newMoney = reader.int64();
        if (!reader.ok()) {
            platform::log("reply 17 without a balance: dropped");
            return true;
        }
        const std::string info = reader.utf();
        // A cut-short text still carries the balance; there is just nothing to say.
        logic.onTransferMoneyWithNewMoney(newMoney, reader.ok() ? info : std::string());
        return true;
    }
    case 44:
        receiveMoneyInfo(reader);
        return true;
    case 71:
        receivePurchaseInfo(reader);
        return true;
    case 1400:
        logic.onGetTimeNextRound(reader.int32());
        return true;
    case 1401:
        receiveLottoHistory(reader);
        return true;
    case 1402:
        receiveMyLottoHistory(reader);
        return true;
    case 1403: {
        const bool ok = reader.boolean();
        const int32_t money = reader.int32();
        const std::string note = reader.utf();
        logic.onGetBuyLotto(ok, money, note);
        return true;
    }
    case 1404: {
        const int32_t result = reader.int32();
        const std::string note = reader.utf();
        logic.onReceivedLottoResult(result, note);
        return true;
    }
    case 2703:
        receiveReport(reader);
        return true;
    case 2800:
        platform::log("server: " + reader.utf());
        return true;
    case 147:
        logic.onAdminCommandResponseWithText(reader.utf());
        return true;
    // The sign-in side of these replies: registration, recovery, server information
    // and the social-network log-in.
    case 35: {
        const std::string username = reader.utf();
        const bool avail = reader.boolean();
        const std::string prefix = reader.utf();
        const std::string to = reader.utf();
        logic.onRegisterInfoWithUsername(username, avail, prefix, to);
        return true;
    }
    case 72:
        receiveServerInfo(reader);
        return true;
    case 73: {
        const int8_t subId = reader.byte();
        const std::string data = reader.utf();
        const std::string address = reader.utf();
        logic.onGetSMSSyntaxWithSubId(subId, data, address);
        return true;
    }
    case 2302:
        logic.onInvalidLoginSN();
        return true;
    case 2303:
        logic.onCreateKavoAccount();
        return true;
    case 2306: {
        const int32_t iddb = reader.int32();
        const std::string name = reader.utf();
        // The signed-in player is read by the screens: it changes on the main thread.
        platform::runOnMainThread([iddb, name] {
            const auto me = UIController::myInfo();
            me->setIDDB(iddb);
            me->setName(name);
        });
        logic.onUpdateUsername(name);
        return true;
    }
    default:
        return false;
    }
}

// ---------------------------------------------------------------- rankings and players

void GlobalMessageHandler::receiveRankedList(ReplyReader& reader, int16_t commandId) {
    const bool strongest = commandId == 30;
    const int8_t gameId = strongest ? reader.byte() : 0;
    const int8_t page = reader.byte();
    PlayerList players;
    while (reader.hasMore()) {
        auto player = readRankedPlayer(reader);
        // The richest rows end with three bytes nothing uses.
        if (!strongest) {
            reader.byte();
            reader.byte();
            reader.byte();
        }
        if (!player || !reader.ok()) break;
        players.push_back(std::move(player));
    }
    if (strongest) {
        globalLogicHandler().onStrongestListWithPage(page, gameId, std::move(players));
    } else {
        globalLogicHandler().onRichestListWithPage(page, std::move(players));
    }
}

void GlobalMessageHandler::receivePlayerDetail(ReplyReader& reader) {
    const int32_t userId = reader.int32();
    if (userId == -1) return; // no such player
    platform::Value detail = platform::Value::emptyArray();
    detail.append(reader.utf());
    detail.append(reader.int64());
    detail.append(int(reader.int16()));
    for (int i = 0; i < 5; ++i) // exp, wins, losses, draws, give-ups
        detail.append(int(reader.int32()));
    if (!reader.ok()) {
        platform::log("player detail cut short: dropped");
        return;
    }
    globalLogicHandler().onPlayerDetail(std::move(detail));
}

void GlobalMessageHandler::receiveSearchResult(ReplyReader& reader) {
    globalLogicHandler().onSearchResult(readNamedPlayers(reader, false));
}

void GlobalMessageHandler::receiveRankingLists(ReplyReader& reader) {
    const uint8_t sub = uint8_t(reader.byte());
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (sub) {
    case 1: {
        std::vector<std::shared_ptr<Ranking>> rankings;
        while (reader.hasMore()) {
            auto ranking = std::make_shared<Ranking>();
            ranking->setGameId(reader.byte());
            ranking->setInfo(reader.utf());
            if (!reader.ok()) break;
            rankings.push_back(std::move(ranking));
        }
        logic.onGetTopLit(std::move(rankings));
        break;
    }
    case 2: {
        PlayerList players;
        while (reader.hasMore()) {
            auto player = readRankedPlayer(reader);
            if (!player) break;
            players.push_back(std::move(player));
        }
        logic.onWaitingList(std::move(players));
        break;
    }
    case 3: {
        std::vector<std::shared_ptr<Province>> provinces;
        while (reader.hasMore()) {
            const int8_t pId = reader.byte();
            std::string name = reader.utf();
            if (!reader.ok()) break;
            provinces.push_back(std::make_shared<Province>(pId, std::move(name)));
        }
        logic.onProvinceList(std::move(provinces));
        break;
    }
    case 4:
        // Read and not shown.
        readNamedPlayers(reader, true);
        break;
    case 6:
        readNamedPlayers(reader, false);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- friends

void GlobalMessageHandler::receiveFriends(ReplyReader& reader) {
    const uint8_t sub = uint8_t(reader.byte());
    if (!reader.ok()) return;
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (sub) {
    case friends::kNotice: {
        if (reader.byte() != 1) break;
        const std::string text = reader.utf();
        doShowAlertViewWithMessage(text);
        break;
    }
    case friends::kRequestSent:
        logic.onShowResultFriendRequest(reader.utf());
        GlobalService::getInstance().requestFriendList(friends::kList);
        break;
    case friends::kRequestResult:
        logic.onShowResultFriendRequest(reader.utf());
        break;
    case friends::kRequests:
        receiveFriendRequests(reader);
        break;
    case friends::kList:
        receiveFriendList(reader);
        break;
    case friends::kInviteList:
        logic.onGetInviteList(readNamedPlayers(reader, false));
        break;
    case friends::kHistory:
        receiveHistoryLogs(reader);
        break;
    case friends::kGiftBought:
    case friends::kGiftBought2:
        logic.doBuyGiftForFriendComplete(languageText("KAVO_PresentCompleted"));
        break;
    case friends::kHistoryDeleted:
        logic.onShowDeleteHistoryResult(reader.byte());
        break;
    case friends::kNotice2: {
        reader.byte();
        const std::string text = reader.utf();
        doShowAlertViewWithMessage(text);
        break;
    }
    case friends::kAskedList:
        logic.onGetRequestMakeFriendList(readNamedPlayers(reader, true));
        break;
    case friends::kInviteResult:
        reader.byte();
        logic.onShowResultFriendInvite(reader.utf());
        break;
    case friends::kByMoney: {
        PlayerList players;
        while (reader.hasMore()) {
            auto player = readFriend(reader);
            if (!player) break;
            players.push_back(std::move(player));
        }
        logic.onShowFriendsSortedByMoney(std::move(players));
        break;
    }
    case friends::kByMoneyWithPlace: {
        PlayerList players;
        while (reader.hasMore()) {
            auto player = std::make_shared<Player>();
            player->setIDDB(reader.int32());
            player->setName(reader.utf());
            reader.int32(); // not used
            player->setMoney(reader.int64());
            player->setAvatar(reader.int16());
            const bool online = reader.byte() != 0;
            // The place is sent for offline friends too, and then means nothing.
            const int8_t roomId = reader.byte();
            const int8_t boardId = reader.byte();
            const int8_t gameId = reader.byte();
            std::string status = reader.utf();
            if (!reader.ok()) break;
            player->setIsReady(online ? 1 : 0);
            if (online) {
                setFriendPlace(*player, roomId, boardId, gameId, std::move(status));
            } else {
                player->userProfile()->setStatus(std::move(status));
            }
            players.push_back(std::move(player));
        }
        logic.onShowFriendsSortedByMoney(std::move(players));
        break;
    }
    case friends::kByExp: {
        PlayerList players;
        while (reader.hasMore()) {
            auto player = std::make_shared<Player>();
            player->setIDDB(reader.int32());
            player->setName(reader.utf());
            player->setMoney(reader.int64());
            player->setAvatar(reader.int16());
            const bool online = reader.byte() != 0;
            player->setIsReady(online ? 1 : 0);
            if (online) {
                player->setExp(reader.int32());
                player->setRoomID(reader.byte());
                player->setBoardID(reader.byte());
                player->setGameID(reader.byte());
            }
            player->userProfile()->setStatus(reader.utf());
            if (!reader.ok()) break;
            players.push_back(std::move(player));
        }
        logic.onShowFriendsSortedByExp(std::move(players));
        break;
    }
    default:
        break;
    }
}

void GlobalMessageHandler::receiveFriendRequests(ReplyReader& reader) {
    const std::string wantsToBeFriend = languageText("KAVO_wantAddFriend");
    KavoMessageList requests;
    while (reader.hasMore()) {
        const int32_t fromId = reader.int32();
        const std::string fromName = lower(reader.utf());
        if (!reader.ok()) break;
        auto request = std::make_shared<KavoMessage>();
        request->setType(KavoMessage::kTypeFriendRequest);
        request->setIsRequestAddFriend(1);
        request->setFromID(fromId);
        request->setFromName(fromName);
        request->setMessage(fromName + " " + wantsToBeFriend);
        requests.insert(requests.begin(), std::move(request)); // the last row first
    }
    if (requests.empty()) return;
    globalLogicHandler().onListFriendRequests(std::move(requests));
}

void GlobalMessageHandler::receiveFriendList(ReplyReader& reader) {
    PlayerList players;
    while (reader.hasMore()) {
        auto player = readFriend(reader);
        if (!player) break;
        players.push_back(std::move(player));
    }
    globalLogicHandler().onFriendList(std::move(players));
}

void GlobalMessageHandler::receiveHistoryLogs(ReplyReader& reader) {
    std::vector<std::shared_ptr<HistoryLog>> logs;
    while (reader.hasMore()) {
        auto log = std::make_shared<HistoryLog>();
        log->setHistoryLogID(reader.int32());
        log->setUsername(reader.utf());
        log->setFriendname(reader.utf());
        log->setType(reader.int32());
        if (log->type() >= kHistoryTypeWithPictures) {
            log->setStrAvatar(reader.utf());
            log->setStrItem(reader.utf());
        }
        if (!reader.ok()) break;
        logs.push_back(std::move(log));
    }
    globalLogicHandler().onGetHistoryLogList(std::move(logs));
}

// ---------------------------------------------------------------- profile

void GlobalMessageHandler::receiveProfile(ReplyReader& reader) {
    auto user = std::make_shared<User>();
    user->setIDDB(reader.int32());
    user->setNickname(reader.utf());
    user->setDmoney(reader.int64());
    user->setFullname(reader.utf());
    user->setGender(reader.byte());
    user->setGenderStatus(reader.boolean() ? 1 : 0);
    user->setBirthYear(reader.int16());
    user->setAddress(reader.utf());
    user->setIdnumber(reader.utf());
    user->setIdnumberStatus(reader.boolean() ? 1 : 0);
    user->setStatus(reader.utf());
    user->setPhoneNum(reader.utf());
    user->setProvinceId(reader.byte());
    // Always on the wire here, even for "no province".
    const std::string provinceName = reader.utf();
    user->setBirthMonth(reader.byte());
    user->setBirthDay(reader.byte());
    user->setBirthStatus(reader.boolean() ? 1 : 0);
    user->setPercent(reader.int32());
    user->setIsSentGift(reader.boolean() ? 1 : 0);
    user->setPlayingTime(reader.utf());
    user->setAvatarId(reader.int32());
    if (reader.ok()) globalLogicHandler().onProvinceOfProfile(user->provinceId(), provinceName);
    globalLogicHandler().onMyUserDataWithUser(std::move(user));
}

void GlobalMessageHandler::receiveMyProfile(ReplyReader& reader) {
    const uint8_t sub = uint8_t(reader.byte());
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (sub) {
    case 1: {
        auto user = std::make_shared<User>();
        user->setFullname(reader.utf());
        user->setGender(reader.byte());
        user->setBirthYear(reader.int16());
        user->setAddress(reader.utf());
        user->setIdnumber(reader.utf());
        user->setStatus(reader.utf());
        user->setPhoneNum(reader.utf());
        user->setProvinceId(reader.byte());
        // "No province" (255) comes without a name.
        if (uint8_t(user->provinceId()) != 0xFF) {
            const std::string provinceName = reader.utf();
            if (reader.ok()) globalLogicHandler().onProvinceOfProfile(user->provinceId(), provinceName);
        }
        logic.onMyUserDataWithUser(std::move(user));
        break;
    }
    case 2: {
        AssetList assets;
        while (reader.hasMore()) {
            auto asset = std::make_shared<Asset>();
            asset->setAssetId(reader.int32());
            asset->setName(reader.utf());
            asset->setDescription(reader.utf());
            asset->setAmount(reader.int32());
            if (!reader.ok()) break;
            assets.push_back(std::move(asset));
        }
        logic.onMyAssets(std::move(assets));
        break;
    }
    case 3: {
        std::vector<int32_t> achievement{reader.byte()};
        for (int i = 0; i < 5; ++i)
            achievement.push_back(reader.int32());
        logic.onMyAchievement(std::move(achievement));
        break;
    }
    case 5: {
        const int32_t userId = reader.int32();
        std::vector<int32_t> achievement{reader.byte()};
        for (int i = 0; i < 5; ++i)
            achievement.push_back(reader.int32());
        if (!reader.ok()) break;
        reader.int32(); // not used
        // The player's own achievements come with sub 3.
        if (userId == UIController::myInfo()->IDDB()) break;
        logic.onOtherUserAchivement(userId, std::move(achievement));
        break;
    }
    default:
        break;
    }
}

// ---------------------------------------------------------------- pictures

void GlobalMessageHandler::receiveAvatarPicture(ReplyReader& reader) {
    auto avatar = std::make_shared<Avatar>();
    avatar->setAvatarId(reader.int16());
    const int16_t length = reader.int16();
    const platform::Bytes bytes = reader.data(length);
    if (!reader.ok()) return; // a picture cut short is not a picture
    avatar->setImg(platform::ui::Image::fromData(bytes));
    globalLogicHandler().onAvatar(std::move(avatar));
}

void GlobalMessageHandler::receiveItemPicture(ReplyReader& reader) {
    const uint8_t sub = uint8_t(reader.byte());
    if (!reader.ok() || (sub != 1 && sub != 4)) return;
    const int32_t itemId = reader.int32();
    const int16_t length = reader.int16();
    if (!reader.ok() || length < 1) return;
    platform::Bytes bytes = reader.data(length);
    if (!reader.ok()) return;
    globalLogicHandler().onItemImageWithItemId(itemId, std::move(bytes));
}

void GlobalMessageHandler::receiveMyAvatars(ReplyReader& reader) {
    const int32_t total = reader.int32();
    AvatarList avatars;
    while (reader.hasMore()) {
        auto avatar = std::make_shared<Avatar>();
        avatar->setUserId(reader.int32());
        avatar->setAvatarId(reader.int32());
        avatar->setName(reader.utf());
        avatar->setDesc(reader.utf());
        if (!reader.ok()) break;
        avatars.push_back(std::move(avatar));
    }
    const size_t count = avatars.size();
    globalLogicHandler().onShowMyAvatars(std::move(avatars));
    platform::log("my avatars: " + std::to_string(count) + " of " + std::to_string(total));
}

void GlobalMessageHandler::receiveAvatarList(ReplyReader& reader) {
    const int32_t pages = reader.int32();
    AvatarList avatars;
    while (reader.hasMore()) {
        auto avatar = std::make_shared<Avatar>();
        avatar->setAvatarId(reader.int32());
        avatar->setName(reader.utf());
        avatar->setPrice(reader.int32());
        avatar->setType(reader.int32());
        avatar->setExpireDay(reader.int32());
        if (!reader.ok()) break;
        avatars.push_back(std::move(avatar));
    }
    const int32_t type = avatars.empty() ? 0 : avatars.back()->type();
    globalLogicHandler().onAvatarList(std::move(avatars), pages, type);
}

void GlobalMessageHandler::receiveAllAvatars(ReplyReader& reader) {
    const int32_t totalPage = reader.int32();
    AvatarList avatars;
    while (reader.hasMore()) {
        auto avatar = std::make_shared<Avatar>();
        avatar->setAvatarId(reader.int32());
        avatar->setName(reader.utf());
        avatar->setPrice(reader.int32());
        avatar->setExpireDay(reader.int32());
        if (!reader.ok()) break;
        avatars.push_back(std::move(avatar));
    }
    globalLogicHandler().onGetAllAvatarsList(std::move(avatars), totalPage);
}

// ---------------------------------------------------------------- shop and gifts

void GlobalMessageHandler::receiveShop(ReplyReader& reader) {
    const uint8_t sub = uint8_t(reader.byte());
    if (!reader.ok()) return;
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (sub) {
    case shop::kCategories:
        readCategories(reader); // read and not shown
        break;
    case shop::kItems: {
        const int32_t categoryId = reader.int32();
        const int8_t gender = reader.byte();
        const int32_t pages = reader.int32();
        logic.onItemsList(readItemInfos(reader), categoryId, gender, pages);
        break;
    }
    case shop::kUserItems: {
        auto page = std::make_shared<UserItemsOfCategory>();
        page->setCategoryId(reader.int32());
        page->setGender(reader.byte());
        page->setTotalPage(reader.int32());
        while (reader.hasMore()) {
            auto item = std::make_shared<UserItemInfo>();
            item->setUserItemId(reader.int32());
            item->setItemId(reader.int32());
            item->setName(reader.utf());
            item->setPrice(reader.int32());
            item->setShort_desc(reader.utf());
            item->setIs_using(reader.boolean() ? 1 : 0);
            if (!reader.ok()) break;
            page->userItemsList().push_back(std::move(item));
        }
        const size_t count = page->userItemsList().size();
        logic.onUserItemsOfCategoryInfo(std::move(page));
        platform::log("user items: " + std::to_string(count));
        break;
    }
    case shop::kAvatarDetail: {
        // Read and not shown.
        AvatarDetail detail;
        detail.setItemId(reader.int32());
        detail.setName(reader.utf());
        detail.setPrice(reader.int32());
        detail.setEffected_hours(reader.int16());
        detail.setLevel_req(reader.int16());
        detail.setScore_of_fame(reader.int32());
        detail.setItem_gender(reader.byte());
        detail.setIs_buy_or_sell(reader.boolean());
        detail.setIs_give(reader.boolean());
        detail.setAvatar_x(reader.int16());
        detail.setAvatar_y(reader.int16());
        detail.setCategory_id(reader.int32());
        detail.setZ_index(reader.int16());
        break;
    }
    case shop::kBuy: {
        if (reader.byte() != 0) {
            logic.onBuyAvatarFail(reader.utf());
        } else {
            logic.onBuyAvatarSuccessWithPayment(reader.int32());
        }
        break;
    }
    case shop::kGiveGift: {
        if (reader.byte() == 1) {
            const std::string text = reader.utf();
            doShowAlertViewWithMessage(text);
            break;
        }
        const int32_t fromUser = reader.int32();
        const int32_t item = reader.int32();
        const int32_t toUser = reader.int32();
        logic.onGiveGiftWithItem(item, fromUser, toUser);
        break;
    }
    case shop::kUserAvatarDetail: {
        auto detail = std::make_shared<UserAvatarDetail>();
        detail->setUserItemId(reader.int32());
        detail->setItemId(reader.int32());
        detail->setName(reader.utf());
        detail->setExpire_date(reader.utf());
        detail->setIs_buy_give(reader.byte());
        detail->setIs_using(reader.boolean());
        detail->setTime_used(reader.int16());
        detail->setAvatar_x(reader.int16());
        detail->setAvatar_y(reader.int16());
        detail->setCategory_id(reader.int32());
        detail->setZ_index(reader.int16());
        logic.onUserAvatarDetail(std::move(detail));
        break;
    }
    case shop::kDeleteItem: {
        const int32_t itemId = reader.int32();
        if (reader.byte() != 0) {
            logic.onDeleteItemFail(reader.utf());
        } else {
            logic.onUpdateDeleteItem(itemId);
        }
        break;
    }
    case shop::kSetUsing:
        if (reader.byte() != 0) {
            platform::log("set using failed: " + reader.utf());
        } else {
            logic.onUpdateSetUsing();
        }
        break;
    case shop::kUsingAvatars: {
        reader.int32();
        reader.byte();
        std::vector<std::shared_ptr<UsingAvatar>> avatars;
        while (reader.hasMore()) {
            auto avatar = std::make_shared<UsingAvatar>();
            avatar->setItemId(reader.int32());
            avatar->setCategoryId(reader.int32());
            if (!reader.ok()) break;
            avatars.push_back(std::move(avatar));
        }
        logic.onListUsingAvatar(std::move(avatars));
        break;
    }
    case shop::kGiftCategories:
        logic.onListGift(readCategories(reader));
        break;
    case shop::kGiftItems: {
        auto page = std::make_shared<ItemsOfCategory>();
        page->setCategoryId(reader.int32());
        page->setTotalPage(reader.int32());
        while (reader.hasMore()) {
            auto item = std::make_shared<ItemInfo>();
            item->setItemId(reader.int32());
            item->setName(reader.utf());
            item->setPrice(reader.int32());
            if (!reader.ok()) break;
            page->itemList().push_back(std::move(item));
        }
        logic.onItemsOfGiftInfo(std::move(page));
        break;
    }
    case shop::kEventItems: {
        AssetList items;
        while (reader.hasMore()) {
            auto item = std::make_shared<Asset>();
            item->setAssetId(reader.int32());
            item->setImgAssetId(reader.int32());
            item->setName(reader.utf());
            item->setDescription(reader.utf());
            if (!reader.ok()) break;
            items.push_back(std::move(item));
        }
        logic.onGetListItemsEvent(std::move(items));
        break;
    }
    case shop::kOpenGift: {
        const int8_t result = reader.byte();
        const std::string text = reader.utf();
        const int32_t money = result == 0 ? reader.int32() : 0;
        logic.onOpenGift(result, text, money);
        break;
    }
    case shop::kAllItems: {
        const int32_t totalPage = reader.int32();
        logic.onGetAllItem(readItemInfos(reader), totalPage);
        break;
    }
    default:
        break; // 4, 8, 13, 18 to 20 and above 21: nothing
    }
}

// ---------------------------------------------------------------- money, payments, lottery, reports

void GlobalMessageHandler::receiveMoneyInfo(ReplyReader& reader) {
    ChargeMoneyList channels;
    while (reader.hasMore()) {
        auto channel = std::make_shared<ChargeMoneyInfo>(reader.byte());
        if (std::find(std::begin(kChannelsWithSubId), std::end(kChannelsWithSubId), channel->type()) !=
            std::end(kChannelsWithSubId))
            channel->setSubId(reader.byte());
        channel->setInfo(reader.utf());
        channel->setSmsContent(reader.utf());
        channel->setSmsTo(reader.utf());
        if (!reader.ok()) break;
        channels.push_back(std::move(channel));
    }
    globalLogicHandler().onMoneyInfo(std::move(channels));
}

void GlobalMessageHandler::receivePurchaseInfo(ReplyReader& reader) {
    reader.byte();
    const uint8_t status = uint8_t(reader.byte());
    const std::string text = reader.utf();
    const std::string receipt = reader.utf();
    // The balance may be missing: the answer is still given, without a "money" entry.
    const int64_t money = reader.int64();
    platform::Value info = platform::Value::emptyDictionary();
    info.set("status", std::to_string(status));
    info.set("message", text);
    info.set("receiptString", receipt);
    if (reader.ok()) info.set("money", std::to_string(money));
    globalLogicHandler().onPurchaseInfo(std::move(info));
}

void GlobalMessageHandler::receiveServerInfo(ReplyReader& reader) {
    uint8_t subId = uint8_t(reader.byte());
    std::string info;
    if (subId == kServerInfoNoText) {
        subId = uint8_t(reader.byte());
    } else {
        info = reader.utf();
    }
    globalLogicHandler().onGetInfoWithSubId(subId, info);
}

void GlobalMessageHandler::receiveLottoHistory(ReplyReader& reader) {
    platform::Value history = platform::Value::emptyArray();
    while (reader.hasMore()) {
        const int32_t number = reader.int32();
        std::string text = reader.utf();
        if (!reader.ok()) break;
        history.append(number);
        history.append(std::move(text));
    }
    globalLogicHandler().onGetLottoHistory(std::move(history));
}

void GlobalMessageHandler::receiveMyLottoHistory(ReplyReader& reader) {
    std::vector<std::shared_ptr<MyLotto>> numbers;
    while (reader.hasMore()) {
        auto lotto = std::make_shared<MyLotto>();
        lotto->setNumber(reader.int32());
        lotto->setMoney(reader.int32());
        lotto->setIsUsed(reader.boolean() ? 1 : 0);
        if (!reader.ok()) break;
        numbers.push_back(std::move(lotto));
    }
    globalLogicHandler().onGetMyLottoHistory(std::move(numbers));
}

void GlobalMessageHandler::receiveReport(ReplyReader& reader) {
    // The sub-command of this reply is an int.
    const int32_t sub = reader.int32();
    if (!reader.ok()) return;
    switch (sub) {
    case 0: {
        std::vector<std::string> categories;
        while (reader.hasMore()) {
            std::string category = reader.utf();
            if (!reader.ok()) break;
            categories.push_back(std::move(category));
        }
        globalLogicHandler().onReceiveReportCategory(std::move(categories));
        break;
    }
    case 1:
        doShowAlertViewWithMessage(languageText(reader.byte() == 1 ? "KAVO_Report_Complete" : "KAVO_Report_Fail"));
        break;
    case 2: {
        std::vector<std::shared_ptr<TransactionLog>> logs;
        while (reader.hasMore()) {
            auto log = std::make_shared<TransactionLog>();
            log->setTime(reader.utf());
            log->setContent(reader.utf());
            if (!reader.ok()) break;
            logs.push_back(std::move(log));
        }
        globalLogicHandler().onShowTransactionLogs(std::move(logs));
        break;
    }
    default:
        break;
    }
}

// ---------------------------------------------------------------- main-thread helpers

void GlobalMessageHandler::doShowAlertViewWithMessage(const std::string& text) {
    globalLogicHandler().showAlertViewWithMessage(text);
}

} // namespace kavo
