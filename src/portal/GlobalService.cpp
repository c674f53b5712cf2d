#include "portal/GlobalService.h"

#include "app/Resources.h"
#include "app/SMSDelegate.h"
#include "app/UIController.h"
#include "net/MobileClient.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/Device.h"
#include "portal/GlobalMessageHandler.h"
#include "table/registry/GameRecords.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace kavo {

namespace {

const GameRecord& currentGame() {
    return gameRecordOrNone(UIController::gameType());
}

struct ServerAddress {
    std::mutex mutex;
    bool ipRead = false;
    std::string ip;
    bool portRead = false;
    int port = 0;
    std::atomic<int8_t> clientType{0};
};

ServerAddress& address() {
    static ServerAddress shared;
    return shared;
}

platform::UserDefaults& defaults() {
    return platform::UserDefaults::standard();
}

// The stored push token without the blanks and angle brackets of its printed form.
std::string storedPushToken() {
    std::string token;
    for (char c : defaults().stringForKey("PNDT")) {
        if (c != ' ' && c != '<' && c != '>') token += c;
    }
    return token;
}

// The carrier's name, or an empty text when there is none.
std::string carrierName() {
    return platform::Device::carrierName();
}

} // namespace

GlobalService& GlobalService::getInstance() {
    static GlobalService instance;
    return instance;
}

IMobileClient& GlobalService::session() const {
    IMobileClient* client = session_.load();
    return client ? *client : MobileClient::getInstance();
}

void GlobalService::setSession(IMobileClient* session) {
    session_.store(session);
}

// ---------------------------------------------------------------- identity

std::string GlobalService::IP() {
    auto& a = address();
    std::lock_guard lock(a.mutex);
    if (!a.ipRead) {
        a.ip = Resources::getInstance().configString("Server");
        a.ipRead = true;
    }
    return a.ip;
}

void GlobalService::setIP(std::string ip) {
    auto& a = address();
    std::lock_guard lock(a.mutex);
    a.ip = std::move(ip);
    a.ipRead = true;
}

int GlobalService::PORT() {
    auto& a = address();
    std::lock_guard lock(a.mutex);
    if (!a.portRead) {
        a.port = Resources::getInstance().configInt("Port");
        a.portRead = true;
    }
    return a.port;
}

void GlobalService::setPORT(int port) {
    auto& a = address();
    std::lock_guard lock(a.mutex);
    a.port = port;
    a.portRead = true;
}

std::string GlobalService::VERSION() {
    return platform::Bundle::main().objectForInfoKey("CFBundleVersion").stringValue();
}

int GlobalService::PROVIDER() {
    return platform::Bundle::main().objectForInfoKey("Provider").intValue();
}

int8_t GlobalService::CLIENT_TYPE() {
    return address().clientType.load();
}
void GlobalService::setCLIENT_TYPE(int8_t type) {
    address().clientType.store(type);
}

bool GlobalService::isConnected() {
    return getInstance().session().isConnected();
}

void GlobalService::connect() {
    IMobileClient& client = session();
    client.setHandler(&GlobalMessageHandler::getInstance());
    try {
        client.connectToHost(IP(), uint16_t(PORT() & 0xFFFF));
    } catch (const std::exception& e) {
        platform::log(std::string("connect Exception ") + e.what());
    }
}

void GlobalService::disconnect() {
    if (auto* client = dynamic_cast<MobileClient*>(&session())) {
        client->disconnect();
    } else {
        session().close();
    }
}

int GlobalService::connectStatus() const {
    if (auto* client = dynamic_cast<MobileClient*>(&session())) return client->connectStatus();
    return MobileClient::kStatusNeverConnected;
}

void GlobalService::setConnectOKListener(IConnectOKListener* listener) {
    std::lock_guard lock(listenerMutex_);
    connectOKListener_ = listener;
}

IConnectOKListener* GlobalService::getConnectOKListener() const {
    std::lock_guard lock(listenerMutex_);
    return connectOKListener_;
}

IConnectOKListener* GlobalService::takeConnectOKListener() {
    std::lock_guard lock(listenerMutex_);
    IConnectOKListener* listener = connectOKListener_;
    connectOKListener_ = nullptr;
    return listener;
}

void GlobalService::send(Message message) {
    session().sendMessage(std::move(message));
}

// ---------------------------------------------------------------- client information

void GlobalService::sendClientInformation() {
    Message m(222);
    m.writeInt(PROVIDER());
    m.writeInt(CLIENT_TYPE());
    m.writeUTF(VERSION());
    m.writeUTF(Resources::getInstance().currentLanguage());
    m.writeUTF(VERSION() + ";" + platform::Device::model() + ";" + platform::Device::systemVersion());
    send(std::move(m));
}

void GlobalService::sendClientInformationV2() {
    int protocolId = MobileClient::kProtocolId;
    if (auto* client = dynamic_cast<MobileClient*>(&session())) protocolId = client->protocolId();
    Message m(221);
    m.writeUTF(std::to_string(protocolId));
    m.writeUTF(platform::Device::systemVersion());
    m.writeUTF(platform::Device::model());
    m.writeUTF(VERSION());
    m.writeUTF("");
    m.writeUTF(platform::Device::networkType());
    m.writeUTF(platform::Device::uniqueIdentifier());
    m.writeUTF(platform::Device::model());
    m.writeUTF(carrierName());
    m.writeUTF("Apple");
    send(std::move(m));
}

std::string GlobalService::clientInformationJson() {
    platform::Value data = platform::Value::emptyDictionary();
    data.set("providerID", PROVIDER());
    data.set("refcode", 0);
    data.set("subProvider", PROVIDER());
    data.set("version", VERSION());
    data.set("phone", Resources::getInstance().configString("Hotline"));
    data.set("lang", Resources::getInstance().currentLanguage());
    data.set("os", 2);
    data.set("osver", platform::Device::systemVersion());
    data.set("device", platform::Device::model());
    data.set("carrier", carrierName());
    data.set("net", platform::Device::networkType());
    data.set("notifyKey", storedPushToken());
    platform::Value info = platform::Value::emptyDictionary();
    info.set("command", "SET_CLIENT_INFOR");
    info.set("data", std::move(data));
    return platform::toJson(info, true);
}

void GlobalService::sendClientInformationV4() {
    Message m(2800);
    m.writeUTF(clientInformationJson());
    send(std::move(m));
}

std::optional<std::string> GlobalService::pushNotificationJson() {
    if (defaults().objectForKey("PNDT").isNull()) return std::nullopt;
    platform::Value info = platform::Value::emptyDictionary();
    info.set("registrationId", storedPushToken());
    info.set("username", defaults().stringForKey("KAVO_LOGIN_USERNAME"));
    info.set("phoneNumber", "");
    info.set("os", "iOS");
    info.set("osVersion", platform::Device::systemVersion());
    info.set("deviceName", platform::Device::model());
    info.set("network", platform::Device::networkType());
    info.set("carrier", carrierName());
    return platform::toJson(info, true);
}

void GlobalService::sendPushNotificationInformation() {
    auto json = pushNotificationJson();
    if (!json) return;
    Message m(2601);
    m.writeUTF(*json);
    send(std::move(m));
}

void GlobalService::requestNewMessage() {
    send(Message(1702));
}

void GlobalService::getInfoWithKey(int key) {
    Message m(72);
    m.writeByte(int8_t(key));
    send(std::move(m));
}

void GlobalService::getSMSInfoWithKey(int key) {
    Message m(73);
    m.writeByte(int8_t(key));
    send(std::move(m));
}

void GlobalService::setProviderAndClientType() {
    Message m(int16_t(-1)); // command 65535
    m.writeByte(CLIENT_TYPE());
    send(std::move(m));
}

void GlobalService::sendKeys() {
    // Milliseconds since 1970 of the wall clock: the key both sides switch to.
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const int64_t key = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    Message m(75);
    m.writeLong(key);
    send(std::move(m));
    if (auto* client = dynamic_cast<MobileClient*>(&session())) client->setKey(key);
}

void GlobalService::setLanguageForAppWithSubId(int subId, const std::string& info) {
    Message m(100);
    m.writeInt(subId);
    m.writeUTF(info);
    send(std::move(m));
}

// ---------------------------------------------------------------- sign-in

void GlobalService::loginWithUsername(const std::string& user, const std::string& pwd, const std::string& version) {
    defaults().setString(user, "KAVO_LOGIN_USERNAME");
    defaults().setString(pwd, "KAVO_LOGIN_OLDPASS");
    defaults().synchronize();
    Message m(1);
    m.writeUTF(user);
    m.writeUTF(pwd);
    m.writeUTF(version);
    send(std::move(m));
}

// A registration keeps its password on its own: the log-in form's remembered name and
// password ("uname", "password") become the new account's only when the server's answer
// says it is opened (a name taken or refused never takes their place).
void GlobalService::requestRegisterWithUsername(const std::string& user, const std::string& password) {
    defaults().setString(password, kRegisterPasswordKey);
    defaults().synchronize();
    Message m(35);
    m.writeUTF(user);
    m.writeUTF(password);
    send(std::move(m));
}

void GlobalService::requestAccessTokenSN(const std::string& token) {
    defaults().setString(token, "KAVO_LOGIN_ACESSTOKEN");
    defaults().synchronize();
    // The token signs the player in: only its length goes to the log.
    platform::log("requestAccessTokenSN: token of " + std::to_string(token.size()) + " characters");
    Message m(2301);
    m.writeUTF(token);
    send(std::move(m));
}

void GlobalService::requestRegisterWithUsername(const std::string& user, const std::string& password,
                                                const std::string& accessToken) {
    defaults().setString(password, kRegisterPasswordKey);
    defaults().synchronize();
    Message m(2304);
    m.writeUTF(accessToken);
    m.writeUTF(user);
    m.writeUTF(password);
    m.writeUTF("");
    send(std::move(m));
}

// ---------------------------------------------------------------- lobby and tables

namespace {

Message roomBoard(int16_t command, int8_t roomId, int8_t boardId) {
    Message m(command);
    m.writeByte(roomId);
    m.writeByte(boardId);
    return m;
}

Message withSub(int16_t command, int8_t sub) {
    Message m(command);
    m.writeByte(sub);
    return m;
}

} // namespace

void GlobalService::setGameType(int type) {
    Message m(61);
    m.writeByte(int8_t(type));
    send(std::move(m));
}

void GlobalService::requestRoomList() {
    send(Message(6));
}

void GlobalService::requestBoardListWithRoomId(int8_t roomId) {
    Message m(7);
    m.writeByte(roomId);
    send(std::move(m));
}

void GlobalService::requestPickRoomBoardListWithMoney(int64_t money, int /*boardNumber*/) {
    Message m(2700);
    m.writeLong(money);
    send(std::move(m));
}

void GlobalService::joinBoardWithroomId(int8_t roomId, int8_t boardId, const std::string& passOfBoard) {
    Message m = roomBoard(currentGame().joinCommand, roomId, boardId);
    m.writeUTF(passOfBoard);
    send(std::move(m));
}

void GlobalService::joinAnyBoard() {
    send(Message(currentGame().joinAnyCommand));
}

void GlobalService::createNewBoardWithMoney(int32_t money, int8_t playerNumber, const std::string& password) {
    Message m(2702);
    m.writeInt(0);
    m.writeInt(money);
    m.writeByte(playerNumber);
    m.writeUTF(password);
    send(std::move(m));
}

void GlobalService::leaveBoardWithRoomId(int8_t roomId, int8_t boardId) {
    send(roomBoard(15, roomId, boardId));
}

void GlobalService::readyWithRoomId(int8_t roomId, int8_t boardId, bool isReady) {
    Message m = roomBoard(16, roomId, boardId);
    m.writeBool(isReady ? 1 : 0);
    send(std::move(m));
}

void GlobalService::startGameWithRoomId(int8_t roomId, int8_t boardId) {
    send(roomBoard(20, roomId, boardId));
}

void GlobalService::startGameWithRoomId(int8_t roomId, int8_t boardId, int8_t timeLimit) {
    Message m = roomBoard(20, roomId, boardId);
    m.writeByte(timeLimit);
    send(std::move(m));
}

void GlobalService::setMoneyWithRoomId(int8_t roomId, int8_t boardId, int32_t money) {
    Message m = roomBoard(currentGame().stakeCommand, roomId, boardId);
    m.writeInt(money);
    send(std::move(m));
}

void GlobalService::setPasswordWithRoomId(int8_t roomId, int8_t boardId, const std::string& passOfBoard) {
    Message m = roomBoard(18, roomId, boardId);
    m.writeUTF(passOfBoard);
    send(std::move(m));
}

void GlobalService::kickWithRoomId(int8_t roomId, int8_t boardId, int32_t kickId) {
    Message m = roomBoard(11, roomId, boardId);
    m.writeInt(kickId);
    send(std::move(m));
}

void GlobalService::requestWaitingList() {
    send(withSub(78, 2));
}
void GlobalService::getListWithType(int type) {
    send(withSub(78, int8_t(type)));
}

void GlobalService::requestInviteWithUserId(int32_t userId) {
    Message m(74);
    m.writeInt(userId);
    send(std::move(m));
}

void GlobalService::requestBuzzWithId(int32_t userId) {
    Message m(103);
    m.writeInt(userId);
    send(std::move(m));
}

// ---------------------------------------------------------------- chat

void GlobalService::chatToBoardWithRoom(int8_t roomId, int8_t boardId, const std::string& text) {
    Message m = roomBoard(9, roomId, boardId);
    m.writeUTF(text);
    send(std::move(m));
}

void GlobalService::chatToWithIDDB(int32_t userId, const std::string& content) {
    Message m(5);
    m.writeInt(userId);
    m.writeUTF(content);
    send(std::move(m));
}

void GlobalService::chatInRoom(int32_t roomId, const std::string& content) {
    Message m(1707);
    m.writeInt(roomId);
    m.writeUTF(content);
    send(std::move(m));
}

// ---------------------------------------------------------------- friends and rankings

void GlobalService::requestFriendList() {
    send(Message(29));
}
void GlobalService::requestFriendList(int8_t sub) {
    send(withSub(104, sub));
}

void GlobalService::searchFriend(const std::string& name) {
    Message m(36);
    m.writeUTF(name);
    send(std::move(m));
}

void GlobalService::addFriendWithId(int32_t userId) {
    Message m(32);
    m.writeInt(userId);
    send(std::move(m));
}

void GlobalService::addFriendWithId(int32_t userId, int8_t type) {
    Message m = withSub(104, type);
    m.writeInt(userId);
    send(std::move(m));
}

void GlobalService::addFriendWithId(int32_t userId, const std::string& name, int8_t type) {
    Message m = withSub(104, type);
    m.writeInt(userId);
    m.writeUTF(name);
    send(std::move(m));
}

void GlobalService::confirmAddFriend(int32_t userId, int8_t type) {
    addFriendWithId(userId, type);
}

// Answers friend requests, each with `type` (2 accepts, 3 refuses). After an accept the
// friend list is asked for: the server takes the requests in order, so the list it sends
// holds the new friends, and the friend lists on screen show them at once.
void GlobalService::answerFriendRequests(const std::vector<int32_t>& fromIds, int8_t type) {
    constexpr int8_t kAccept = 2;
    constexpr int8_t kFriendList = 5;
    for (int32_t id : fromIds)
        addFriendWithId(id, type);
    if (type == kAccept && !fromIds.empty()) requestFriendList(kFriendList);
}

void GlobalService::deleteFriend(int32_t userId) {
    Message m(33);
    m.writeInt(userId);
    send(std::move(m));
}

void GlobalService::buyItemForFriend(int32_t friendId, const std::string& name, int32_t itemId) {
    Message m = withSub(104, 8);
    m.writeInt(itemId);
    m.writeInt(friendId);
    m.writeUTF(name);
    send(std::move(m));
}

void GlobalService::buyAvatarForFriendID(int32_t friendId, const std::string& name, int16_t avatarId) {
    Message m = withSub(104, 9);
    m.writeShort(avatarId);
    m.writeUTF(name);
    m.writeInt(friendId);
    send(std::move(m));
}

void GlobalService::sendMessageToStranger(const std::string& name, const std::string& content) {
    Message m = withSub(104, 13);
    m.writeUTF(name);
    m.writeUTF(content);
    send(std::move(m));
}

void GlobalService::getRichestListBetweenFriend() {
    send(withSub(104, 16));
}

void GlobalService::getRichestListBetweenFriendWithGroupInfo() {
    Message m(104);
    m.writeInt(17);
    send(std::move(m));
}

void GlobalService::requestTopPlayerBetweenFriendsSortedByExpWithGameID(int8_t gameId) {
    Message m = withSub(104, 20);
    m.writeByte(gameId);
    send(std::move(m));
}

void GlobalService::requestListInvite() {
    send(withSub(104, 6));
}
void GlobalService::requestHistory() {
    send(withSub(104, 7));
}
void GlobalService::requestListMakeFriend() {
    send(withSub(104, 14));
}

void GlobalService::chatFriend(int32_t userId, const std::string& content) {
    Message m = withSub(104, 11);
    m.writeInt(userId);
    m.writeUTF(content);
    send(std::move(m));
}

void GlobalService::deleteHistory(int32_t id) {
    Message m = withSub(104, 12);
    m.writeInt(id);
    send(std::move(m));
}

void GlobalService::requestRichestWithPage(int8_t page) {
    Message m(31);
    m.writeByte(page);
    send(std::move(m));
}

void GlobalService::requestStrongestWithPage(int8_t page, int8_t gameId) {
    Message m(30);
    m.writeByte(gameId);
    m.writeByte(page);
    send(std::move(m));
}

void GlobalService::inviteFriends(const std::string& a, const std::string& b) {
    Message m(1700);
    m.writeUTF(b);
    m.writeUTF(a);
    send(std::move(m));
}

// ---------------------------------------------------------------- profile and avatars

namespace {

Message withInt(int16_t command, int32_t value) {
    Message m(command);
    m.writeInt(value);
    return m;
}

Message withSubInt(int16_t command, int8_t sub, int32_t value) {
    Message m = withSub(command, sub);
    m.writeInt(value);
    return m;
}

// `count` ids from the front of the list; a count beyond the list (or below zero)
// is cut to what the list holds, so the count on the wire matches the ids.
void writeIdList(Message& m, int32_t count, const std::vector<int32_t>& ids) {
    const size_t n = count < 0 ? 0 : std::min(size_t(count), ids.size());
    m.writeInt(int32_t(n));
    for (size_t i = 0; i < n; ++i)
        m.writeInt(ids[i]);
}

} // namespace

void GlobalService::requestInfoOfWithIDDB(int32_t userId) {
    send(withInt(34, userId));
}
void GlobalService::requestUserData() {
    send(withSub(40, 1));
}
void GlobalService::requestUserAssets() {
    send(withSub(40, 2));
}

void GlobalService::requestUserAchievementWithGameId(int8_t gameId) {
    Message m = withSub(40, 3);
    m.writeByte(gameId);
    send(std::move(m));
}

void GlobalService::requestOtherUserAchievementWithGameID(int8_t gameId, int32_t userId) {
    Message m = withSub(40, 5);
    m.writeByte(gameId);
    m.writeInt(userId);
    send(std::move(m));
}

void GlobalService::requestUserProfile(int32_t userId) {
    send(withInt(1005, userId));
}

void GlobalService::updateDateProfileWithUser(const User& user) {
    // Only a record that carries a new password has one for the answer (41) to take.
    if (!user.uNewPass().empty()) {
        defaults().setString(user.uNewPass(), "KAVO_LOGIN_NEWPASS");
        defaults().synchronize();
    }
    Message m(1002);
    m.writeUTF(user.fullname());
    m.writeByte(user.gender());
    m.writeShort(user.birthYear());
    m.writeUTF(user.address());
    m.writeUTF(user.idnumber());
    m.writeUTF(user.phoneNum());
    m.writeByte(user.provinceId());
    m.writeByte(user.birthMonth());
    m.writeByte(user.birthDay());
    send(std::move(m));
}

void GlobalService::updatePasswordWithOldPass(const std::string& oldPass, const std::string& newPass) {
    pendingNewPassword_ = newPass;
    Message m(1003);
    m.writeUTF(oldPass);
    m.writeUTF(newPass);
    send(std::move(m));
}

void GlobalService::updateStatusWithStatus(const std::string& status) {
    Message m(1004);
    m.writeUTF(status);
    send(std::move(m));
}

void GlobalService::requestChangeAvatar(int32_t avatarId) {
    send(withInt(1008, avatarId));
}
void GlobalService::requestBoughtAvatars() {
    send(Message(1010));
}

void GlobalService::requestAvatar(int16_t avatarId) {
    Message m(38);
    m.writeShort(avatarId);
    send(std::move(m));
}

void GlobalService::requestAvatarShop() {
    send(Message(39));
}

void GlobalService::requestAvatarShopWithPage(int32_t page, int32_t type) {
    Message m(1201);
    m.writeInt(page);
    m.writeInt(type);
    send(std::move(m));
}

void GlobalService::buyAvatarWithId(int32_t avatarId) {
    send(withInt(1202, avatarId));
}
void GlobalService::requestAllAvatarWithPage(int32_t page) {
    send(withInt(1203, page));
}

// ---------------------------------------------------------------- shop, gifts and pictures

void GlobalService::requestGetCategory(int32_t categoryId, int8_t gender, int8_t screen) {
    Message m = withSubInt(101, 1, categoryId);
    m.writeByte(gender);
    m.writeByte(screen);
    send(std::move(m));
}

void GlobalService::requestGetItemsByCategory(int32_t categoryId, int8_t page, int8_t gender) {
    Message m = withSubInt(101, 2, categoryId);
    m.writeByte(page);
    m.writeByte(gender);
    send(std::move(m));
}

void GlobalService::requestGetUserItemsByCategory(int32_t categoryId, int8_t page, int8_t gender) {
    Message m = withSubInt(101, 3, categoryId);
    m.writeByte(page);
    m.writeByte(gender);
    send(std::move(m));
}

void GlobalService::requestGetAvatarDetail(int32_t itemId) {
    send(withSubInt(101, 5, itemId));
}

void GlobalService::requestBuyItems(int32_t count, const std::vector<int32_t>& itemIds) {
    Message m = withSub(101, 6);
    writeIdList(m, count, itemIds);
    send(std::move(m));
}

void GlobalService::requestBuyItem(int32_t itemId) {
    requestBuyItems(1, {itemId});
}

void GlobalService::requestBuyGift(int32_t giftId, int8_t roomId, int8_t boardId, int32_t userId) {
    Message m = withSub(101, 7);
    m.writeByte(roomId);
    m.writeByte(boardId);
    m.writeInt(giftId);
    m.writeInt(userId);
    send(std::move(m));
}

void GlobalService::requestGetUserAvatarDetail(int32_t id) {
    send(withSubInt(101, 9, id));
}
void GlobalService::requestRemoveItem(int32_t id) {
    send(withSubInt(101, 10, id));
}

void GlobalService::requestSetUsing(int32_t count, const std::vector<int32_t>& userItemIds, bool isUsing) {
    Message m = withSub(101, 11);
    writeIdList(m, count, userItemIds);
    m.writeBool(isUsing ? 1 : 0);
    send(std::move(m));
}

void GlobalService::requestUsingAvatar(int32_t itemId, int8_t gender) {
    Message m = withSubInt(101, 12, itemId);
    m.writeByte(gender);
    send(std::move(m));
}

void GlobalService::requestListItemsByGift(int8_t /*kind*/, int32_t giftId, int8_t page) {
    Message m = withSubInt(101, 15, giftId);
    m.writeByte(page);
    send(std::move(m));
}

void GlobalService::requestEventItems() {
    send(withSub(101, 16));
}
void GlobalService::requestUserItemsEvent() {
    requestEventItems();
}
void GlobalService::requestOpenGift(int32_t id) {
    send(withSubInt(101, 17, id));
}

void GlobalService::requestAllItemsWithPage(int8_t page) {
    Message m = withSub(101, 21);
    m.writeByte(page);
    send(std::move(m));
}

void GlobalService::getFullItemImageWithId(int32_t pictureId) {
    send(withSubInt(79, 4, pictureId));
}
void GlobalService::getItemImageWithItemId(int32_t itemId) {
    send(withSubInt(79, 1, itemId));
}
void GlobalService::getItemImageWithItemId(int32_t itemId, int8_t type) {
    send(withSubInt(79, type, itemId));
}

// ---------------------------------------------------------------- payments and transfer

void GlobalService::requestChargeMoneyInfo() {
    send(Message(44));
}

void GlobalService::sendChargeMoney(const ChargeMoneyInfo& channel, const std::string& serial, const std::string& pin) {
    Message m(71);
    m.writeByte(channel.type());
    m.writeByte(channel.subId());
    m.writeUTF(serial);
    m.writeUTF(pin);
    send(std::move(m));
}

void GlobalService::sendReceiptString(const ChargeMoneyInfo& channel, const std::string& receipt,
                                      const std::optional<std::string>& pin) {
    Message m(71);
    m.writeByte(channel.type());
    m.writeUTF(receipt);
    if (pin) m.writeUTF(*pin);
    send(std::move(m));
}

void GlobalService::sendReceiptString(const std::string& receipt) {
    Message m = withSub(103, 0);
    m.writeUTF(receipt);
    send(std::move(m));
}

void GlobalService::transferMoneyWithNick(const std::string& nick, int32_t quantity) {
    Message m(17);
    m.writeUTF(nick);
    m.writeInt(quantity);
    send(std::move(m));
}

void GlobalService::sendSMSSuccessWithContent(const std::string& content, const std::string& smsTo) {
    Message m(57);
    m.writeUTF(content);
    m.writeUTF(smsTo);
    send(std::move(m));
}

// ---------------------------------------------------------------- lottery and reports

void GlobalService::requestTimeNextRound() {
    send(Message(1400));
}
void GlobalService::requestLottoHistory() {
    send(Message(1401));
}
void GlobalService::requestMyLottoHistory() {
    send(Message(1402));
}

void GlobalService::requestBuyLottoWithNumber(int32_t number, int32_t money) {
    Message m(1403);
    m.writeInt(number);
    m.writeInt(money);
    send(std::move(m));
}

void GlobalService::getReportCategory() {
    send(withInt(2703, 0));
}

void GlobalService::reportUser(const std::string& user, const std::string& category, const std::string& comment) {
    Message m = withInt(2703, 1);
    m.writeUTF(user);
    m.writeUTF(category);
    m.writeUTF(comment);
    send(std::move(m));
}

void GlobalService::requestTransactionLog() {
    send(withInt(2703, 2));
}

// ---------------------------------------------------------------- text messages

void GlobalService::sendSMSWithData(const std::string& body, const std::string& to) {
    sendSMSWithData(body, std::vector<std::string>{to}, nullptr);
}

void GlobalService::sendSMSWithData(const std::string& body, const std::vector<std::string>& to,
                                    std::function<void(platform::SmsResult)> onResult) {
    platform::runOnMainThread([this, body, to, onResult = std::move(onResult)]() mutable {
        doSendSMSWithData(std::move(body), std::move(to), std::move(onResult));
    });
}

void GlobalService::doSendSMSWithData(std::string body, std::vector<std::string> to,
                                      std::function<void(platform::SmsResult)> onResult) {
    if (!platform::SmsComposer::canSendText()) return;
    const std::string first = to.empty() ? std::string() : to.front();
    // The handler travels with the composer, so it lives until the composer is done.
    platform::SmsComposer::present(to, body, [this, body, first, onResult](platform::SmsResult result) {
        if (onResult) {
            onResult(result);
        } else {
            messageComposeFinished(result, body, first);
        }
    });
}

void GlobalService::messageComposeFinished(platform::SmsResult result, const std::string& body, const std::string& to) {
    if (result != platform::SmsResult::Sent) return;
    UIController::postNotice(Resources::getInstance().textWithKey("KAVO_sendMessageSuccess"));
    sendSMSSuccessWithContent(body, to);
}

void GlobalService::installRequestHooks() {
    SMSDelegate::setSentReporter(
        [](const std::string& body, const std::string& to) { getInstance().sendSMSSuccessWithContent(body, to); });
    Resources::PictureRequests requests;
    requests.requestAvatar = [](int16_t avatarId) { getInstance().requestAvatar(avatarId); };
    requests.requestFullItemImage = [](int32_t pictureId) { getInstance().getFullItemImageWithId(pictureId); };
    Resources::getInstance().setPictureRequests(std::move(requests));
}

} // namespace kavo

namespace kavo {

std::optional<std::string> GlobalService::takePendingNewPassword() {
    return std::exchange(pendingNewPassword_, std::nullopt);
}

} // namespace kavo
