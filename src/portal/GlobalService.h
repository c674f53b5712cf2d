#pragma once

#include "net/IMobileClient.h"
#include "net/Message.h"
#include "platform/services/SmsComposer.h"
#include "portal/IConnectOKListener.h"
#include "portal/model/ChargeMoneyInfo.h"
#include "portal/model/User.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kavo {

// Builds every portal-wide request (everything that is not a move in one game) and
// hands it to the socket client. Each builder writes a fixed command id and its
// fields in a fixed order; none waits for a reply or looks at the connection.
// Room and board ids are single bytes, user ids and money 32-bit integers (64-bit
// in the board-list request). Builders may be called from any thread.
//
// It also holds the address of the chosen server, the client's identity and the
// screen waiting for the server to accept the client.
class GlobalService {
public:
    static GlobalService& getInstance();
    // Lets the lower layers reach the server: the picture cache's requests (38 and
    // 79/4) and the report of a sent text message (57). Called once at start-up.
    static void installRequestHooks();

    // Where requests go: the shared MobileClient unless a test puts another client
    // in its place (nullptr restores the shared one).
    IMobileClient& session() const;
    void setSession(IMobileClient* session);

    // --- Server, identity and connection ---
    // The server to connect to: the configuration's "Server" and "Port" until a
    // screen sets others.
    static std::string IP();
    static void setIP(std::string ip);
    static int PORT();
    static void setPORT(int port);
    // The bundle's "CFBundleVersion" and "Provider".
    static std::string VERSION();
    static int PROVIDER();
    static int8_t CLIENT_TYPE();
    static void setCLIENT_TYPE(int8_t type);

    static bool isConnected();
    // Makes the reply dispatcher the client's listener and connects to IP:PORT.
    // Success is reported later through the listener.
    void connect();
    // The client's own disconnect (the listener hears onDisconnected); with a test
    // client, its close.
    void disconnect();
    // MobileClient's connect status; 0 with a test client.
    int connectStatus() const;

    // The screen to tell once the server has accepted the client; not owned.
    void setConnectOKListener(IConnectOKListener* listener);
    IConnectOKListener* getConnectOKListener() const;
    // Returns the listener and clears the registration in one step.
    IConnectOKListener* takeConnectOKListener();

    // --- Connection and client information ---
    void sendClientInformation();                                        // 222
    void sendClientInformationV2();                                      // 221
    void sendClientInformationV4();                                      // 2800: the client information as JSON
    void requestNewMessage();                                            // 1702
    void getInfoWithKey(int key);                                        // 72
    void getSMSInfoWithKey(int key);                                     // 73
    void setProviderAndClientType();                                     // 65535
    void sendKeys();                                                     // 75, then re-keys the client
    void setLanguageForAppWithSubId(int subId, const std::string& info); // 100
    // 2601, only when a push token is stored under "PNDT".
    void sendPushNotificationInformation();

    // The JSON texts of 2800 and 2601 (2601: nothing without a stored token).
    static std::string clientInformationJson();
    static std::optional<std::string> pushNotificationJson();

    // --- Sign-in ---
    // The user default under which a registration stores the password it sends.
    static constexpr const char* kRegisterPasswordKey = "KAVO_REGISTER_PASSWORD";
    void loginWithUsername(const std::string& user, const std::string& pwd, const std::string& version); // 1
    void requestRegisterWithUsername(const std::string& user, const std::string& password);              // 35
    void requestAccessTokenSN(const std::string& token);                                                 // 2301
    void requestRegisterWithUsername(const std::string& user, const std::string& password,
                                     const std::string& accessToken); // 2304

    // --- Lobby and tables ---
    void setGameType(int type);                     // 61
    void requestRoomList();                         // 6
    void requestBoardListWithRoomId(int8_t roomId); // 7
    // 2700: only the money goes out (-1 for every stake); the board number is not sent.
    void requestPickRoomBoardListWithMoney(int64_t money, int boardNumber);
    // 8, or 1900 for Poker and both Chinese chess games.
    void joinBoardWithroomId(int8_t roomId, int8_t boardId, const std::string& passOfBoard);
    void joinAnyBoard(); // 28, or 1901 for Poker
    void createNewBoardWithMoney(int32_t money, int8_t playerNumber, const std::string& password); // 2702
    void leaveBoardWithRoomId(int8_t roomId, int8_t boardId);                                      // 15
    void readyWithRoomId(int8_t roomId, int8_t boardId, bool isReady);                             // 16
    void startGameWithRoomId(int8_t roomId, int8_t boardId);                                       // 20
    void startGameWithRoomId(int8_t roomId, int8_t boardId, int8_t timeLimit);                     // 20
    // 19, or 24 for Xi Zach and Bai Cao.
    void setMoneyWithRoomId(int8_t roomId, int8_t boardId, int32_t money);
    void setPasswordWithRoomId(int8_t roomId, int8_t boardId, const std::string& passOfBoard); // 18
    void kickWithRoomId(int8_t roomId, int8_t boardId, int32_t kickId);                        // 11
    void requestWaitingList();                                                                 // 78, list 2
    void getListWithType(int type);                                                            // 78
    void requestInviteWithUserId(int32_t userId);                                              // 74
    void requestBuzzWithId(int32_t userId);                                                    // 103

    // --- Chat ---
    void chatToBoardWithRoom(int8_t roomId, int8_t boardId, const std::string& text); // 9
    void chatToWithIDDB(int32_t userId, const std::string& content);                  // 5
    void chatInRoom(int32_t roomId, const std::string& content);                      // 1707

    // --- Friends, private messages and rankings ---
    void requestFriendList();                                                               // 29
    void requestFriendList(int8_t sub);                                                     // 104
    void searchFriend(const std::string& name);                                             // 36
    void addFriendWithId(int32_t userId);                                                   // 32
    void addFriendWithId(int32_t userId, int8_t type);                                      // 104
    void addFriendWithId(int32_t userId, const std::string& name, int8_t type);             // 104
    void confirmAddFriend(int32_t userId, int8_t type);                                     // 104
    void answerFriendRequests(const std::vector<int32_t>& fromIds, int8_t type);            // 104, 104/5
    void deleteFriend(int32_t userId);                                                      // 33
    void buyItemForFriend(int32_t friendId, const std::string& name, int32_t itemId);       // 104/8
    void buyAvatarForFriendID(int32_t friendId, const std::string& name, int16_t avatarId); // 104/9
    void sendMessageToStranger(const std::string& name, const std::string& content);        // 104/13
    void getRichestListBetweenFriend();                                                     // 104/16
    void getRichestListBetweenFriendWithGroupInfo();                                        // 104, int 17
    void requestTopPlayerBetweenFriendsSortedByExpWithGameID(int8_t gameId);                // 104/20
    void requestListInvite();                                                               // 104/6
    void requestHistory();                                                                  // 104/7
    void requestListMakeFriend();                                                           // 104/14
    void chatFriend(int32_t userId, const std::string& content);                            // 104/11
    void deleteHistory(int32_t id);                                                         // 104/12
    void requestRichestWithPage(int8_t page);                                               // 31
    void requestStrongestWithPage(int8_t page, int8_t gameId);                              // 30: game first, then page
    void inviteFriends(const std::string& a, const std::string& b);                         // 1700: b, then a

    // --- Profile and avatars ---
    void requestInfoOfWithIDDB(int32_t userId);                                             // 34
    void requestUserData();                                                                 // 40/1
    void requestUserAssets();                                                               // 40/2
    void requestUserAchievementWithGameId(int8_t gameId);                                   // 40/3
    void requestOtherUserAchievementWithGameID(int8_t gameId, int32_t userId);              // 40/5
    void requestUserProfile(int32_t userId);                                                // 1005
    void updateDateProfileWithUser(const User& user);                                       // 1002
    void updatePasswordWithOldPass(const std::string& oldPass, const std::string& newPass); // 1003
    // The new password of the last change sent (1003), once, when its answer comes.
    // Main thread.
    std::optional<std::string> takePendingNewPassword();
    void updateStatusWithStatus(const std::string& status);     // 1004
    void requestChangeAvatar(int32_t avatarId);                 // 1008
    void requestBoughtAvatars();                                // 1010
    void requestAvatar(int16_t avatarId);                       // 38
    void requestAvatarShop();                                   // 39
    void requestAvatarShopWithPage(int32_t page, int32_t type); // 1201
    void buyAvatarWithId(int32_t avatarId);                     // 1202
    void requestAllAvatarWithPage(int32_t page);                // 1203

    // --- Shop, gifts and item pictures (101) ---
    void requestGetCategory(int32_t categoryId, int8_t gender, int8_t screen);          // 101/1
    void requestGetItemsByCategory(int32_t categoryId, int8_t page, int8_t gender);     // 101/2
    void requestGetUserItemsByCategory(int32_t categoryId, int8_t page, int8_t gender); // 101/3
    void requestGetAvatarDetail(int32_t itemId);                                        // 101/5
    // 101/6: the count, then that many ids from the front of the list. A count
    // beyond the list is cut to the list.
    void requestBuyItems(int32_t count, const std::vector<int32_t>& itemIds);
    void requestBuyItem(int32_t itemId);                                                        // 101/6 with one id
    void requestBuyGift(int32_t giftId, int8_t roomId, int8_t boardId, int32_t userId);         // 101/7
    void requestGetUserAvatarDetail(int32_t id);                                                // 101/9
    void requestRemoveItem(int32_t id);                                                         // 101/10
    void requestSetUsing(int32_t count, const std::vector<int32_t>& userItemIds, bool isUsing); // 101/11
    void requestUsingAvatar(int32_t itemId, int8_t gender);                                     // 101/12
    // 101/15; the first argument is not sent.
    void requestListItemsByGift(int8_t kind, int32_t giftId, int8_t page);
    void requestEventItems();                                 // 101/16
    void requestUserItemsEvent();                             // 101/16
    void requestOpenGift(int32_t id);                         // 101/17
    void requestAllItemsWithPage(int8_t page);                // 101/21
    void getFullItemImageWithId(int32_t pictureId);           // 79/4
    void getItemImageWithItemId(int32_t itemId);              // 79/1
    void getItemImageWithItemId(int32_t itemId, int8_t type); // 79/type

    // --- Payments and transfer ---
    void requestChargeMoneyInfo();                                                                           // 44
    void sendChargeMoney(const ChargeMoneyInfo& channel, const std::string& serial, const std::string& pin); // 71
    // 71: the channel type and the receipt; the pin only when given.
    void sendReceiptString(const ChargeMoneyInfo& channel, const std::string& receipt,
                           const std::optional<std::string>& pin = std::nullopt);
    void sendReceiptString(const std::string& receipt);                                   // 103/0
    void transferMoneyWithNick(const std::string& nick, int32_t quantity);                // 17
    void sendSMSSuccessWithContent(const std::string& content, const std::string& smsTo); // 57

    // --- Lottery and reports ---
    void requestTimeNextRound();                                                                       // 1400
    void requestLottoHistory();                                                                        // 1401
    void requestMyLottoHistory();                                                                      // 1402
    void requestBuyLottoWithNumber(int32_t number, int32_t money);                                     // 1403
    void getReportCategory();                                                                          // 2703/0
    void reportUser(const std::string& user, const std::string& category, const std::string& comment); // 2703/1
    void requestTransactionLog();                                                                      // 2703/2

    // --- Text messages (SMS top-up and registration) ---
    // Opens the composer on the main thread when the device can send text. When it
    // was sent, the server hears of it (57); `onResult`, when given, gets the
    // result instead of the default confirmation.
    void sendSMSWithData(const std::string& body, const std::string& to);
    void sendSMSWithData(const std::string& body, const std::vector<std::string>& to,
                         std::function<void(platform::SmsResult)> onResult);

private:
    std::optional<std::string> pendingNewPassword_;
    GlobalService() = default;
    void send(Message message);
    void doSendSMSWithData(std::string body, std::vector<std::string> to,
                           std::function<void(platform::SmsResult)> onResult);
    // The composer's finish when the caller gave no handler: the sent notice and 57.
    void messageComposeFinished(platform::SmsResult result, const std::string& body, const std::string& to);

    std::atomic<IMobileClient*> session_{nullptr};
    mutable std::mutex listenerMutex_;
    IConnectOKListener* connectOKListener_ = nullptr;
};

} // namespace kavo
