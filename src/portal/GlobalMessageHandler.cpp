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
#include "portal/ReplyFields.h"
#include "portal/model/Province.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <tuple>
#include <utility>

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

namespace {

// The sender and text of a chat or a mail, after the `head` fields: int id, UTF
// name (lowered), UTF text.
template <typename... Fields> std::shared_ptr<KavoMessage> readChat(ReplyReader& reader, const Fields&... head) {
    auto chat = readRecord<KavoMessage>(reader, head...);
    chat->setFromID(reader.int32());
    chat->setFromName(lower(reader.utf()));
    chat->setMessage(reader.utf());
    return chat;
}

} // namespace

template <typename Show> void GlobalMessageHandler::showUnlessSigningIn(Show show) {
    platform::runOnMainThread([this, show = std::move(show)]() mutable {
        if (!isLoginScreenOnTop()) show();
    });
}

bool GlobalMessageHandler::handleGlobal(Message& message) {
    // The replies a member reads whole.
    using Read = void (GlobalMessageHandler::*)(ReplyReader&);
    static constexpr std::pair<int16_t, Read> kReaders[] = {
        {3, &GlobalMessageHandler::saveUserInfoWithMessage}, {6, &GlobalMessageHandler::receiveRoomList},
        {7, &GlobalMessageHandler::receiveBoardList},        {2700, &GlobalMessageHandler::receivePickRoomBoardList},
        {1701, &GlobalMessageHandler::receiveMailbox},       {45, &GlobalMessageHandler::receiveNotice},
        {34, &GlobalMessageHandler::receivePlayerDetail},    {78, &GlobalMessageHandler::receiveRankingLists},
        {104, &GlobalMessageHandler::receiveFriends},        {1005, &GlobalMessageHandler::receiveProfile},
        {40, &GlobalMessageHandler::receiveMyProfile},       {38, &GlobalMessageHandler::receiveAvatarPicture},
        {79, &GlobalMessageHandler::receiveItemPicture},     {1010, &GlobalMessageHandler::receiveMyAvatars},
        {1201, &GlobalMessageHandler::receiveAvatarList},    {1203, &GlobalMessageHandler::receiveAllAvatars},
        {101, &GlobalMessageHandler::receiveShop},           {44, &GlobalMessageHandler::receiveMoneyInfo},
        {71, &GlobalMessageHandler::receivePurchaseInfo},    {72, &GlobalMessageHandler::receiveServerInfo},
        {1401, &GlobalMessageHandler::receiveLottoHistory},  {2703, &GlobalMessageHandler::receiveReport},
    };
    ReplyReader reader(message);
    const int16_t command = message.commandId();
    for (const auto& [id, read] : kReaders) {
        if (id != command) continue;
        (this->*read)(reader);
        return true;
    }
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (command) {
    case 4:
        doShowAlertViewWithMessage(reader.utf());
        GlobalService::getInstance().disconnect();
        return true;
    case 220:
        reader.byte() == 1 ? logic.onSetClientInfoOK() : logic.onConnectFail();
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
    case 2601:
        // The server has the push token: it need not be sent again.
        platform::runOnMainThread([] {
            auto& defaults = platform::UserDefaults::standard();
            defaults.removeObjectForKey("PNDT");
            defaults.synchronize();
        });
        return true;
    case 5:
        logic.onChatFromWithMessage(readChat(reader));
        return true;
    case 1707:
        logic.onChatOnRoomWithMessage(readChat(reader, asInt64(&KavoMessage::setTime)));
        return true;
    case 46:
        showUnlessSigningIn([this, text = reader.utf()] { doShowEventWithMessage(text); });
        return true;
    case 48:
        readAndCall(reader, logic, &GlobalLogicHandler::onVersionWithInfo, asUtf, asUtf);
        return true;
    case 74:
        readAndCall(reader, logic, &GlobalLogicHandler::onInvitedJoinBoardWithGameId, asByte, asByte, asByte, asUtf,
                    asUtf, asByte, asInt32);
        return true;
    default:
        return handleAccount(reader, message.commandId());
    }
}

// ---------------------------------------------------------------- sign-in

void GlobalMessageHandler::saveUserInfoWithMessage(ReplyReader& reader) {
    GlobalService& service = GlobalService::getInstance();
    service.sendClientInformationV2();

    auto player = readRecord<Player>(reader, asInt32(&Player::setIDDB), asInt64(&Player::setMoney),
                                     asInt16(&Player::setAvatar), asInt32(&Player::setExp));
    player->setName(platform::UserDefaults::standard().stringForKey(kLoginUsernameKey));

    service.getInfoWithKey(11); // the server list
    service.sendClientInformationV4();
    globalLogicHandler().onLoginSuccess(std::move(player));
}

// ---------------------------------------------------------------- lobby

void GlobalMessageHandler::receiveRoomList(ReplyReader& reader) {
    globalLogicHandler().onRoomList(readRows(reader, [](ReplyReader& row) {
        return readConstructed<RoomInfo>(row, asByte, asByte, asByte, asByte); // id, free, waiting, level
    }));
}

void GlobalMessageHandler::receiveBoardList(ReplyReader& reader) {
    const int8_t roomId = reader.byte();
    globalLogicHandler().onBoardListWithRoomId(
        roomId, readRecords<Board>(reader, asByte(&Board::setBoardId), asByte(&Board::setNPlayer),
                                   asFlag(&Board::setIsPass), asInt32(&Board::setMoney)));
}

void GlobalMessageHandler::receivePickRoomBoardList(ReplyReader& reader) {
    const int32_t maxBet = reader.int32();
    const int32_t total = reader.int32();
    platform::log("receivePickRoomBoardList " + std::to_string(total));
    auto boards =
        readRecords<Board>(reader, asByte(&Board::setRoomId), asByte(&Board::setBoardId), asFlag(&Board::setIsPass),
                           asInt32(&Board::setMoney), asInt32(&Board::setMaxBetMoney), asFlag(&Board::setIsPlaying),
                           asByte(&Board::setNPlayer), asByte(&Board::setMaxPlayer), asByte.skipped());
    globalLogicHandler().onLoadBoardList(std::move(boards), maxBet);
}

// ---------------------------------------------------------------- mail

void GlobalMessageHandler::receiveMailbox(ReplyReader& reader) {
    KavoMessageList batch = readRows(reader, [](ReplyReader& row) {
        return readChat(row, asInt32(&KavoMessage::setType), asInt64(&KavoMessage::setTime));
    });
    std::reverse(batch.begin(), batch.end()); // the last row first
    if (!batch.empty()) globalLogicHandler().onListNewMessage(std::move(batch));
}

// ---------------------------------------------------------------- notices

void GlobalMessageHandler::receiveNotice(ReplyReader& reader) {
    const uint8_t sub = uint8_t(reader.byte());
    if (!reader.ok() || sub > kNoticePresents) return;
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (sub) {
    case kNoticeDialog:
        showUnlessSigningIn([this, text = reader.utf()] { doShowAlertViewWithMessage(text); });
        break;
    case kNoticeEvent:
        showUnlessSigningIn([this, text = reader.utf()] { doShowEventWithMessage(text); });
        break;
    case kNoticeVersion: {
        const std::string info = reader.utf();
        const std::string url = reader.utf();
        showUnlessSigningIn([&logic, info, url] { logic.onVersionWithInfo(info, url); });
        break;
    }
    case kNoticePresents: {
        AssetList presents = readRecords<Asset>(reader, asInt32(&Asset::setAssetId), asUtf(&Asset::setName));
        showUnlessSigningIn(
            [&logic, presents = std::move(presents)]() mutable { logic.onPresentReceived(std::move(presents)); });
        break;
    }
    }
}

// ================================================================ account side

namespace {

// int IDDB, UTF name, long money, short avatar: how most rows of players begin.
std::shared_ptr<Player> readPlayer(ReplyReader& reader) {
    return readRecord<Player>(reader, asInt32(&Player::setIDDB), asUtf(&Player::setName), asInt64(&Player::setMoney),
                              asInt16(&Player::setAvatar));
}

// A row of a ranking: a player, int exp, UTF status. Ranked players are shown as
// online.
std::shared_ptr<Player> readRankedPlayer(ReplyReader& reader) {
    auto player = readPlayer(reader);
    player->setExp(reader.int32());
    player->userProfile()->setStatus(reader.utf());
    player->setIsReady(1);
    return player;
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

// The end of a row of a friend list: byte online, the place (byte roomId, byte
// boardId, byte gameId: only when online unless `placeAlways`) and UTF status text.
// A friend's status is their place while online.
std::shared_ptr<Player> readFriendPlace(ReplyReader& reader, std::shared_ptr<Player> player, bool placeAlways) {
    const bool online = reader.byte() != 0;
    // A place sent for an offline friend means nothing.
    const auto [roomId, boardId, gameId] =
        (online || placeAlways) ? readValues(reader, asByte, asByte, asByte) : std::tuple<int8_t, int8_t, int8_t>{};
    std::string status = reader.utf();
    if (!reader.ok()) return player; // dropped with the row
    player->setIsReady(online ? 1 : 0);
    if (online) {
        setFriendPlace(*player, roomId, boardId, gameId, std::move(status));
    } else {
        player->userProfile()->setStatus(std::move(status));
    }
    return player;
}

// A row of a friend list: a player, then where the friend is.
std::shared_ptr<Player> readFriend(ReplyReader& reader) {
    return readFriendPlace(reader, readPlayer(reader), false);
}

// A row of friends by money with the place: int IDDB, UTF name, an unused int, long
// money, short avatar, then where the friend is (sent for every friend).
std::shared_ptr<Player> readFriendWithPlace(ReplyReader& reader) {
    auto player = readRecord<Player>(reader, asInt32(&Player::setIDDB), asUtf(&Player::setName), asInt32.skipped(),
                                     asInt64(&Player::setMoney), asInt16(&Player::setAvatar));
    return readFriendPlace(reader, std::move(player), true);
}

// A row of friends by experience: a player, byte online; when online: int exp, byte
// roomId, byte boardId, byte gameId; then UTF status text.
std::shared_ptr<Player> readFriendByExp(ReplyReader& reader) {
    auto player = readPlayer(reader);
    const bool online = reader.byte() != 0;
    player->setIsReady(online ? 1 : 0);
    if (online) {
        readInto(reader, *player, asInt32(&Player::setExp), asByte(&Player::setRoomID), asByte(&Player::setBoardID),
                 asByte(&Player::setGameID));
    }
    player->userProfile()->setStatus(reader.utf());
    return player;
}

// Rows of int IDDB and UTF name (and an int avatar when `withAvatar`).
PlayerList readNamedPlayers(ReplyReader& reader, bool withAvatar) {
    if (withAvatar)
        return readRecords<Player>(reader, asInt32(&Player::setIDDB), asUtf(&Player::setName),
                                   asInt32(&Player::setAvatar));
    return readRecords<Player>(reader, asInt32(&Player::setIDDB), asUtf(&Player::setName));
}

// Rows of an item list of the shop: int itemId, UTF name, int price, UTF
// function_desc, bool is_bought.
ItemInfoList readItemInfos(ReplyReader& reader) {
    return readRecords<ItemInfo>(reader, asInt32(&ItemInfo::setItemId), asUtf(&ItemInfo::setName),
                                 asInt32(&ItemInfo::setPrice), asUtf(&ItemInfo::setFunction_desc),
                                 asFlag(&ItemInfo::setIs_bought));
}

// Rows of shop categories: int categoryId, UTF name, int parentId.
std::vector<std::shared_ptr<CategoryShopInfo>> readCategories(ReplyReader& reader) {
    return readRecords<CategoryShopInfo>(reader, asInt32(&CategoryShopInfo::setCategoryId),
                                         asUtf(&CategoryShopInfo::setName), asInt32(&CategoryShopInfo::setParentId));
}

// An achievement: byte level, then int exp, wins, losses, draws and give-ups.
std::vector<int32_t> readAchievement(ReplyReader& reader) {
    std::vector<int32_t> achievement{reader.byte()};
    for (int i = 0; i < 5; ++i)
        achievement.push_back(reader.int32());
    return achievement;
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

bool GlobalMessageHandler::handleAccount(ReplyReader& reader, int16_t commandId) {
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (commandId) {
    case 30:
    case 31:
        receiveRankedList(reader, commandId);
        return true;
    case 32:
        logic.onAddFriendWithResult(uint8_t(reader.byte()));
        return true;
    case 33:
        logic.onDelFriendResult(uint8_t(reader.byte()));
        return true;
    case 36:
        logic.onSearchResult(readNamedPlayers(reader, false));
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
    case 1202:
        logic.onBuyAvatarSuccessWithId(reader.int32());
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
    case 1400:
        logic.onGetTimeNextRound(reader.int32());
        return true;
    case 1402:
        logic.onGetMyLottoHistory(readRecords<MyLotto>(reader, asInt32(&MyLotto::setNumber),
                                                       asInt32(&MyLotto::setMoney), asFlag(&MyLotto::setIsUsed)));
        return true;
    case 1403:
        readAndCall(reader, logic, &GlobalLogicHandler::onGetBuyLotto, asFlag, asInt32, asUtf);
        return true;
    case 1404:
        readAndCall(reader, logic, &GlobalLogicHandler::onReceivedLottoResult, asInt32, asUtf);
        return true;
    case 2800:
        platform::log("server: " + reader.utf());
        return true;
    case 147:
        logic.onAdminCommandResponseWithText(reader.utf());
        return true;
    // The sign-in side of these replies: registration, recovery, server information
    // and the social-network log-in.
    case 35:
        readAndCall(reader, logic, &GlobalLogicHandler::onRegisterInfoWithUsername, asUtf, asFlag, asUtf, asUtf);
        return true;
    case 73:
        readAndCall(reader, logic, &GlobalLogicHandler::onGetSMSSyntaxWithSubId, asByte, asUtf, asUtf);
        return true;
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
    PlayerList players = readRows(reader, [strongest](ReplyReader& row) {
        auto player = readRankedPlayer(row);
        // The richest rows end with three bytes nothing uses.
        if (!strongest) readInto(row, *player, asByte.skipped(), asByte.skipped(), asByte.skipped());
        return player;
    });
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

void GlobalMessageHandler::receiveRankingLists(ReplyReader& reader) {
    const uint8_t sub = uint8_t(reader.byte());
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (sub) {
    case 1:
        logic.onGetTopLit(readRecords<Ranking>(reader, asByte(&Ranking::setGameId), asUtf(&Ranking::setInfo)));
        break;
    case 2:
        logic.onWaitingList(readRows(reader, readRankedPlayer));
        break;
    case 3:
        logic.onProvinceList(
            readRows(reader, [](ReplyReader& row) { return readConstructed<Province>(row, asByte, asUtf); }));
        break;
    case 4:
        readNamedPlayers(reader, true); // read and not shown
        break;
    case 6:
        readNamedPlayers(reader, false); // read and not shown
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
    case friends::kNotice:
        if (reader.byte() == 1) doShowAlertViewWithMessage(reader.utf());
        break;
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
        logic.onFriendList(readRows(reader, readFriend));
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
    case friends::kNotice2:
        reader.byte();
        doShowAlertViewWithMessage(reader.utf());
        break;
    case friends::kAskedList:
        logic.onGetRequestMakeFriendList(readNamedPlayers(reader, true));
        break;
    case friends::kInviteResult:
        reader.byte();
        logic.onShowResultFriendInvite(reader.utf());
        break;
    case friends::kByMoney:
        logic.onShowFriendsSortedByMoney(readRows(reader, readFriend));
        break;
    case friends::kByMoneyWithPlace:
        logic.onShowFriendsSortedByMoney(readRows(reader, readFriendWithPlace));
        break;
    case friends::kByExp:
        logic.onShowFriendsSortedByExp(readRows(reader, readFriendByExp));
        break;
    default:
        break;
    }
}

void GlobalMessageHandler::receiveFriendRequests(ReplyReader& reader) {
    const std::string wantsToBeFriend = languageText("KAVO_wantAddFriend");
    KavoMessageList requests = readRows(reader, [&wantsToBeFriend](ReplyReader& row) {
        auto request = readRecord<KavoMessage>(row, asInt32(&KavoMessage::setFromID));
        request->setFromName(lower(row.utf()));
        request->setType(KavoMessage::kTypeFriendRequest);
        request->setIsRequestAddFriend(1);
        request->setMessage(request->fromName() + " " + wantsToBeFriend);
        return request;
    });
    if (requests.empty()) return;
    std::reverse(requests.begin(), requests.end()); // the last row first
    globalLogicHandler().onListFriendRequests(std::move(requests));
}

void GlobalMessageHandler::receiveHistoryLogs(ReplyReader& reader) {
    globalLogicHandler().onGetHistoryLogList(readRows(reader, [](ReplyReader& row) {
        auto log = readRecord<HistoryLog>(row, asInt32(&HistoryLog::setHistoryLogID), asUtf(&HistoryLog::setUsername),
                                          asUtf(&HistoryLog::setFriendname), asInt32(&HistoryLog::setType));
        if (log->type() >= kHistoryTypeWithPictures)
            readInto(row, *log, asUtf(&HistoryLog::setStrAvatar), asUtf(&HistoryLog::setStrItem));
        return log;
    }));
}

// ---------------------------------------------------------------- profile

void GlobalMessageHandler::receiveProfile(ReplyReader& reader) {
    auto user = readRecord<User>(reader, asInt32(&User::setIDDB), asUtf(&User::setNickname), asInt64(&User::setDmoney),
                                 asUtf(&User::setFullname), asByte(&User::setGender), asFlag(&User::setGenderStatus),
                                 asInt16(&User::setBirthYear), asUtf(&User::setAddress), asUtf(&User::setIdnumber),
                                 asFlag(&User::setIdnumberStatus), asUtf(&User::setStatus), asUtf(&User::setPhoneNum),
                                 asByte(&User::setProvinceId));
    // Always on the wire here, even for "no province".
    const std::string provinceName = reader.utf();
    readInto(reader, *user, asByte(&User::setBirthMonth), asByte(&User::setBirthDay), asFlag(&User::setBirthStatus),
             asInt32(&User::setPercent), asFlag(&User::setIsSentGift), asUtf(&User::setPlayingTime),
             asInt32(&User::setAvatarId));
    if (reader.ok()) globalLogicHandler().onProvinceOfProfile(user->provinceId(), provinceName);
    globalLogicHandler().onMyUserDataWithUser(std::move(user));
}

void GlobalMessageHandler::receiveMyProfile(ReplyReader& reader) {
    const uint8_t sub = uint8_t(reader.byte());
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (sub) {
    case 1: {
        auto user = readRecord<User>(reader, asUtf(&User::setFullname), asByte(&User::setGender),
                                     asInt16(&User::setBirthYear), asUtf(&User::setAddress), asUtf(&User::setIdnumber),
                                     asUtf(&User::setStatus), asUtf(&User::setPhoneNum), asByte(&User::setProvinceId));
        // "No province" (255) comes without a name.
        if (uint8_t(user->provinceId()) != 0xFF) {
            const std::string provinceName = reader.utf();
            if (reader.ok()) logic.onProvinceOfProfile(user->provinceId(), provinceName);
        }
        logic.onMyUserDataWithUser(std::move(user));
        break;
    }
    case 2:
        logic.onMyAssets(readRecords<Asset>(reader, asInt32(&Asset::setAssetId), asUtf(&Asset::setName),
                                            asUtf(&Asset::setDescription), asInt32(&Asset::setAmount)));
        break;
    case 3:
        logic.onMyAchievement(readAchievement(reader));
        break;
    case 5: {
        const int32_t userId = reader.int32();
        std::vector<int32_t> achievement = readAchievement(reader);
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
    AvatarList avatars = readRecords<Avatar>(reader, asInt32(&Avatar::setUserId), asInt32(&Avatar::setAvatarId),
                                             asUtf(&Avatar::setName), asUtf(&Avatar::setDesc));
    const size_t count = avatars.size();
    globalLogicHandler().onShowMyAvatars(std::move(avatars));
    platform::log("my avatars: " + std::to_string(count) + " of " + std::to_string(total));
}

void GlobalMessageHandler::receiveAvatarList(ReplyReader& reader) {
    const int32_t pages = reader.int32();
    AvatarList avatars =
        readRecords<Avatar>(reader, asInt32(&Avatar::setAvatarId), asUtf(&Avatar::setName), asInt32(&Avatar::setPrice),
                            asInt32(&Avatar::setType), asInt32(&Avatar::setExpireDay));
    const int32_t type = avatars.empty() ? 0 : avatars.back()->type();
    globalLogicHandler().onAvatarList(std::move(avatars), pages, type);
}

void GlobalMessageHandler::receiveAllAvatars(ReplyReader& reader) {
    const int32_t totalPage = reader.int32();
    globalLogicHandler().onGetAllAvatarsList(readRecords<Avatar>(reader, asInt32(&Avatar::setAvatarId),
                                                                 asUtf(&Avatar::setName), asInt32(&Avatar::setPrice),
                                                                 asInt32(&Avatar::setExpireDay)),
                                             totalPage);
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
        const auto [categoryId, gender, pages] = readValues(reader, asInt32, asByte, asInt32);
        logic.onItemsList(readItemInfos(reader), categoryId, gender, pages);
        break;
    }
    case shop::kUserItems: {
        auto page = readRecord<UserItemsOfCategory>(reader, asInt32(&UserItemsOfCategory::setCategoryId),
                                                    asByte(&UserItemsOfCategory::setGender),
                                                    asInt32(&UserItemsOfCategory::setTotalPage));
        page->setUserItemsList(
            readRecords<UserItemInfo>(reader, asInt32(&UserItemInfo::setUserItemId), asInt32(&UserItemInfo::setItemId),
                                      asUtf(&UserItemInfo::setName), asInt32(&UserItemInfo::setPrice),
                                      asUtf(&UserItemInfo::setShort_desc), asFlag(&UserItemInfo::setIs_using)));
        const size_t count = page->userItemsList().size();
        logic.onUserItemsOfCategoryInfo(std::move(page));
        platform::log("user items: " + std::to_string(count));
        break;
    }
    case shop::kAvatarDetail: {
        AvatarDetail detail; // read and not shown
        readInto(reader, detail, asInt32(&AvatarDetail::setItemId), asUtf(&AvatarDetail::setName),
                 asInt32(&AvatarDetail::setPrice), asInt16(&AvatarDetail::setEffected_hours),
                 asInt16(&AvatarDetail::setLevel_req), asInt32(&AvatarDetail::setScore_of_fame),
                 asByte(&AvatarDetail::setItem_gender), asFlag(&AvatarDetail::setIs_buy_or_sell),
                 asFlag(&AvatarDetail::setIs_give), asInt16(&AvatarDetail::setAvatar_x),
                 asInt16(&AvatarDetail::setAvatar_y), asInt32(&AvatarDetail::setCategory_id),
                 asInt16(&AvatarDetail::setZ_index));
        break;
    }
    case shop::kBuy:
        reader.byte() != 0 ? logic.onBuyAvatarFail(reader.utf()) : logic.onBuyAvatarSuccessWithPayment(reader.int32());
        break;
    case shop::kGiveGift: {
        if (reader.byte() == 1) {
            doShowAlertViewWithMessage(reader.utf());
            break;
        }
        const auto [fromUser, item, toUser] = readValues(reader, asInt32, asInt32, asInt32);
        logic.onGiveGiftWithItem(item, fromUser, toUser);
        break;
    }
    case shop::kUserAvatarDetail:
        logic.onUserAvatarDetail(readRecord<UserAvatarDetail>(
            reader, asInt32(&UserAvatarDetail::setUserItemId), asInt32(&UserAvatarDetail::setItemId),
            asUtf(&UserAvatarDetail::setName), asUtf(&UserAvatarDetail::setExpire_date),
            asByte(&UserAvatarDetail::setIs_buy_give), asFlag(&UserAvatarDetail::setIs_using),
            asInt16(&UserAvatarDetail::setTime_used), asInt16(&UserAvatarDetail::setAvatar_x),
            asInt16(&UserAvatarDetail::setAvatar_y), asInt32(&UserAvatarDetail::setCategory_id),
            asInt16(&UserAvatarDetail::setZ_index)));
        break;
    case shop::kDeleteItem: {
        const int32_t itemId = reader.int32();
        reader.byte() != 0 ? logic.onDeleteItemFail(reader.utf()) : logic.onUpdateDeleteItem(itemId);
        break;
    }
    case shop::kSetUsing:
        if (reader.byte() != 0) {
            platform::log("set using failed: " + reader.utf());
        } else {
            logic.onUpdateSetUsing();
        }
        break;
    case shop::kUsingAvatars:
        reader.int32(); // not used
        reader.byte();
        logic.onListUsingAvatar(
            readRecords<UsingAvatar>(reader, asInt32(&UsingAvatar::setItemId), asInt32(&UsingAvatar::setCategoryId)));
        break;
    case shop::kGiftCategories:
        logic.onListGift(readCategories(reader));
        break;
    case shop::kGiftItems: {
        auto page = readRecord<ItemsOfCategory>(reader, asInt32(&ItemsOfCategory::setCategoryId),
                                                asInt32(&ItemsOfCategory::setTotalPage));
        page->setItemList(readRecords<ItemInfo>(reader, asInt32(&ItemInfo::setItemId), asUtf(&ItemInfo::setName),
                                                asInt32(&ItemInfo::setPrice)));
        logic.onItemsOfGiftInfo(std::move(page));
        break;
    }
    case shop::kEventItems:
        logic.onGetListItemsEvent(readRecords<Asset>(reader, asInt32(&Asset::setAssetId),
                                                     asInt32(&Asset::setImgAssetId), asUtf(&Asset::setName),
                                                     asUtf(&Asset::setDescription)));
        break;
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
    globalLogicHandler().onMoneyInfo(readRows(reader, [](ReplyReader& row) {
        auto channel = std::make_shared<ChargeMoneyInfo>(row.byte());
        if (std::find(std::begin(kChannelsWithSubId), std::end(kChannelsWithSubId), channel->type()) !=
            std::end(kChannelsWithSubId))
            channel->setSubId(row.byte());
        readInto(row, *channel, asUtf(&ChargeMoneyInfo::setInfo), asUtf(&ChargeMoneyInfo::setSmsContent),
                 asUtf(&ChargeMoneyInfo::setSmsTo));
        return channel;
    }));
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
    for (auto& [number, text] : readRows(reader, [](ReplyReader& row) { return readValues(row, asInt32, asUtf); })) {
        history.append(number);
        history.append(std::move(text));
    }
    globalLogicHandler().onGetLottoHistory(std::move(history));
}

void GlobalMessageHandler::receiveReport(ReplyReader& reader) {
    // The sub-command of this reply is an int.
    const int32_t sub = reader.int32();
    if (!reader.ok()) return;
    switch (sub) {
    case 0:
        globalLogicHandler().onReceiveReportCategory(readRows(reader, [](ReplyReader& row) { return row.utf(); }));
        break;
    case 1:
        doShowAlertViewWithMessage(languageText(reader.byte() == 1 ? "KAVO_Report_Complete" : "KAVO_Report_Fail"));
        break;
    case 2:
        globalLogicHandler().onShowTransactionLogs(
            readRecords<TransactionLog>(reader, asUtf(&TransactionLog::setTime), asUtf(&TransactionLog::setContent)));
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- main-thread helpers

void GlobalMessageHandler::doShowAlertViewWithMessage(const std::string& text) {
    globalLogicHandler().showAlertViewWithMessage(text);
}

} // namespace kavo
