#include "app/UIController.h"
#include "platform/foundation/UserDefaults.h"
#include "portal/GlobalService.h"
#include "tests/portal/PortalTestSupport.h"

#include <functional>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

// Every request a caller can build, with the exact bytes the server reads.
class RequestBytes : public ::testing::Test {
protected:
    GlobalService& service = GlobalService::getInstance();
    PortalEnvironment env;

    struct Case {
        const char* name;
        std::function<void()> build;
        int command;
        std::string bodyHex;
    };

    void check(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            env.client().clear();
            c.build();
            const auto sent = env.client().sent();
            ASSERT_EQ(sent.size(), 1u) << c.name;
            EXPECT_EQ(uint16_t(sent[0].commandId), c.command) << c.name;
            EXPECT_EQ(toHex(sent[0].body), c.bodyHex) << c.name;
        }
    }
};

TEST_F(RequestBytes, ConnectionSignInAndLobbyRequests) {
    UIController::setGameType(3);
    check({
        {"new messages", [&] { service.requestNewMessage(); }, 1702, ""},
        {"info key", [&] { service.getInfoWithKey(13); }, 72, "0d"},
        {"sms info key", [&] { service.getSMSInfoWithKey(2); }, 73, "02"},
        {"language", [&] { service.setLanguageForAppWithSubId(2, "en"); }, 100, "000000020002656e"},
        {"register", [&] { service.requestRegisterWithUsername("a", "b"); }, 35,
         "000161"
         "000162"},
        {"social token", [&] { service.requestAccessTokenSN("t"); }, 2301, "000174"},
        {"room list", [&] { service.requestRoomList(); }, 6, ""},
        {"board list", [&] { service.requestBoardListWithRoomId(5); }, 7, "05"},
        {"leave", [&] { service.leaveBoardWithRoomId(1, 2); }, 15, "0102"},
        {"not ready", [&] { service.readyWithRoomId(1, 2, false); }, 16, "010200"},
        {"start", [&] { service.startGameWithRoomId(1, 2); }, 20, "0102"},
        {"table password", [&] { service.setPasswordWithRoomId(1, 2, "p"); }, 18, "0102000170"},
        {"invite", [&] { service.requestInviteWithUserId(258); }, 74, "00000102"},
        {"buzz", [&] { service.requestBuzzWithId(258); }, 103, "00000102"},
    });
}

TEST_F(RequestBytes, FriendsProfileShopPaymentAndLotteryRequests) {
    check({
        {"friend list", [&] { service.requestFriendList(); }, 29, ""},
        {"search", [&] { service.searchFriend("an"); }, 36, "0002616e"},
        {"add friend", [&] { service.addFriendWithId(9); }, 32, "00000009"},
        {"confirm", [&] { service.confirmAddFriend(9, 3); }, 104, "0300000009"},
        {"delete friend", [&] { service.deleteFriend(9); }, 33, "00000009"},
        {"stranger", [&] { service.sendMessageToStranger("a", "b"); }, 104,
         "0d"
         "000161"
         "000162"},
        {"richest friends", [&] { service.getRichestListBetweenFriend(); }, 104, "10"},
        {"top friends", [&] { service.requestTopPlayerBetweenFriendsSortedByExpWithGameID(3); }, 104, "1403"},
        {"invites", [&] { service.requestListInvite(); }, 104, "06"},
        {"history", [&] { service.requestHistory(); }, 104, "07"},
        {"make friend", [&] { service.requestListMakeFriend(); }, 104, "0e"},
        {"chat friend", [&] { service.chatFriend(9, "x"); }, 104, "0b00000009000178"},
        {"delete history", [&] { service.deleteHistory(9); }, 104, "0c00000009"},
        {"richest", [&] { service.requestRichestWithPage(2); }, 31, "02"},
        {"info of", [&] { service.requestInfoOfWithIDDB(9); }, 34, "00000009"},
        {"user data", [&] { service.requestUserData(); }, 40, "01"},
        {"assets", [&] { service.requestUserAssets(); }, 40, "02"},
        {"achievement", [&] { service.requestUserAchievementWithGameId(3); }, 40, "0303"},
        {"profile", [&] { service.requestUserProfile(9); }, 1005, "00000009"},
        {"password", [&] { service.updatePasswordWithOldPass("o", "n"); }, 1003, "00016f00016e"},
        {"status", [&] { service.updateStatusWithStatus("s"); }, 1004, "000173"},
        {"change avatar", [&] { service.requestChangeAvatar(9); }, 1008, "00000009"},
        {"bought avatars", [&] { service.requestBoughtAvatars(); }, 1010, ""},
        {"avatar picture", [&] { service.requestAvatar(258); }, 38, "0102"},
        {"avatar shop", [&] { service.requestAvatarShop(); }, 39, ""},
        {"avatar shop page", [&] { service.requestAvatarShopWithPage(1, 2); }, 1201, "0000000100000002"},
        {"buy avatar", [&] { service.buyAvatarWithId(9); }, 1202, "00000009"},
        {"all avatars", [&] { service.requestAllAvatarWithPage(2); }, 1203, "00000002"},
        {"category", [&] { service.requestGetCategory(7, 1, 2); }, 101, "01000000070102"},
        {"items of category", [&] { service.requestGetItemsByCategory(7, 1, 2); }, 101, "02000000070102"},
        {"user items", [&] { service.requestGetUserItemsByCategory(7, 1, 2); }, 101, "03000000070102"},
        {"avatar detail", [&] { service.requestGetAvatarDetail(7); }, 101, "0500000007"},
        {"user avatar detail", [&] { service.requestGetUserAvatarDetail(7); }, 101, "0900000007"},
        {"remove item", [&] { service.requestRemoveItem(7); }, 101, "0a00000007"},
        {"using avatar", [&] { service.requestUsingAvatar(7, 1); }, 101, "0c0000000701"},
        {"event items", [&] { service.requestEventItems(); }, 101, "10"},
        {"user items event", [&] { service.requestUserItemsEvent(); }, 101, "10"},
        {"open gift", [&] { service.requestOpenGift(7); }, 101, "1100000007"},
        {"all items", [&] { service.requestAllItemsWithPage(2); }, 101, "1502"},
        {"item picture", [&] { service.getItemImageWithItemId(7); }, 79, "0100000007"},
        {"charge info", [&] { service.requestChargeMoneyInfo(); }, 44, ""},
        {"transfer", [&] { service.transferMoneyWithNick("a", 500); }, 17, "000161000001f4"},
        {"sms sent", [&] { service.sendSMSSuccessWithContent("a", "8100"); }, 57,
         "0001610004"
         "38313030"},
        {"next round", [&] { service.requestTimeNextRound(); }, 1400, ""},
        {"lotto history", [&] { service.requestLottoHistory(); }, 1401, ""},
        {"my lotto", [&] { service.requestMyLottoHistory(); }, 1402, ""},
        {"buy lotto", [&] { service.requestBuyLottoWithNumber(42, 1000); }, 1403, "0000002a000003e8"},
    });
}

} // namespace
} // namespace kavo::test
