#include "app/UIController.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/UserDefaults.h"
#include "portal/GlobalService.h"
#include "tests/portal/PortalTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

class Requests : public ::testing::Test {
protected:
    GlobalService& service = GlobalService::getInstance();
    PortalEnvironment env;

    // The last request as "command: body hex".
    std::string last() {
        const RecordedMessage m = env.client().last();
        return std::to_string(m.commandId) + ": " + toHex(m.body);
    }
    std::string expect(int command, const ByteVector& body) { return std::to_string(command) + ": " + toHex(body); }

    // The one UTF field of the last request, parsed as JSON.
    platform::Value lastJson() {
        Message m(0, env.client().last().body);
        auto json = platform::parseJson(m.readUTF());
        EXPECT_TRUE(json.has_value());
        EXPECT_FALSE(m.available()) << "one text field only";
        return json.value_or(platform::Value());
    }
};

TEST_F(Requests, JoiningABoardUsesTheTableCommandOfTheGame) {
    UIController::setGameType(13);
    service.joinBoardWithroomId(3, 7, "");
    EXPECT_EQ(last(), "8: 03070000");
    for (int8_t type : {4, 5, 20}) {
        UIController::setGameType(type);
        service.joinBoardWithroomId(3, 7, "");
        EXPECT_EQ(last(), "1900: 03070000") << int(type);
    }
    UIController::setGameType(3);
    service.joinBoardWithroomId(1, 2, "ab");
    EXPECT_EQ(last(), "8: 010200026162");
}

TEST_F(Requests, PlayNowAndStakeChangeFollowTheGameType) {
    UIController::setGameType(4);
    service.joinAnyBoard();
    EXPECT_EQ(last(), "1901: ");
    UIController::setGameType(3);
    service.joinAnyBoard();
    EXPECT_EQ(last(), "28: ");

    service.setMoneyWithRoomId(1, 2, 500);
    EXPECT_EQ(last(), "19: 0102000001f4");
    for (int8_t type : {2, 11}) {
        UIController::setGameType(type);
        service.setMoneyWithRoomId(1, 2, 500);
        EXPECT_EQ(last(), "24: 0102000001f4") << int(type);
    }
}

TEST_F(Requests, BoardListSearchSendsOnlyTheMoneyAsALong) {
    service.requestPickRoomBoardListWithMoney(1000, 40);
    EXPECT_EQ(last(), "2700: 00000000000003e8");
    service.requestPickRoomBoardListWithMoney(-1, 7);
    EXPECT_EQ(last(), "2700: ffffffffffffffff");
    service.requestPickRoomBoardListWithMoney(0x123456789AB, 40);
    EXPECT_EQ(last(), "2700: 00000123456789ab");
}

TEST_F(Requests, TableRequestsCarryRoomAndBoardBytes) {
    service.createNewBoardWithMoney(1000, 4, "pw");
    EXPECT_EQ(last(), expect(2702, Bytes().int32(0).int32(1000).byte(4).utf("pw")));
    service.readyWithRoomId(-1, 9, true);
    EXPECT_EQ(last(), "16: ff0901");
    service.startGameWithRoomId(1, 2, 30);
    EXPECT_EQ(last(), "20: 01021e");
    service.kickWithRoomId(1, 2, 77);
    EXPECT_EQ(last(), "11: 01020000004d");
    service.requestWaitingList();
    EXPECT_EQ(last(), "78: 02");
    service.getListWithType(3);
    EXPECT_EQ(last(), "78: 03");
    service.setGameType(20);
    EXPECT_EQ(last(), "61: 14");
}

TEST_F(Requests, ChatTextGoesOutAsUtf8WithItsByteCount) {
    service.chatToWithIDDB(7, "Xin chào");
    EXPECT_EQ(last(), expect(5, Bytes().int32(7).utf("Xin chào")));
    EXPECT_EQ(env.client().last().body.size(), 4u + 2u + 9u); // "à" is two bytes
    service.chatToBoardWithRoom(1, 2, "");
    EXPECT_EQ(last(), "9: 01020000");
    service.chatInRoom(3, "hi");
    EXPECT_EQ(last(), "1707: 0000000300026869");
}

TEST_F(Requests, SignInStoresTheAccountBeforeSending) {
    service.loginWithUsername("an", "secret", "1.0.0");
    EXPECT_EQ(last(), expect(1, Bytes().utf("an").utf("secret").utf("1.0.0")));
    platform::UserDefaults::standard().reset(); // what a restart would read
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("KAVO_LOGIN_USERNAME"), "an");
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("KAVO_LOGIN_OLDPASS"), "secret");

    // A registration keeps its password, and leaves the log-in form's remembered name alone.
    platform::UserDefaults::standard().setString("an", "uname");
    service.requestRegisterWithUsername("binh", "pw", "tok");
    EXPECT_EQ(last(), expect(2304, Bytes().utf("tok").utf("binh").utf("pw").utf("")));
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("uname"), "an");
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("KAVO_REGISTER_PASSWORD"), "pw");
}

TEST_F(Requests, ClientInformationEndsWithVersionModelAndSystem) {
    service.sendClientInformation();
    EXPECT_EQ(last(), expect(222, Bytes().int32(1).int32(0).utf("1.0.0").utf("vi").utf("1.0.0;iPhone;6.1")));
    service.sendClientInformationV2();
    Bytes information;
    information.utf("10").utf("6.1").utf("iPhone").utf("1.0.0").utf("").utf("WIFI").utf("device-1").utf("iPhone");
    EXPECT_EQ(last(), expect(221, information.utf("").utf("Apple")));
}

TEST_F(Requests, ClientInformationJsonCarriesTheCleanedPushToken) {
    platform::UserDefaults::standard().setString("<ab12 cd34>", "PNDT");
    service.sendClientInformationV4();
    EXPECT_EQ(env.client().last().commandId, 2800);
    const platform::Value json = lastJson();
    EXPECT_EQ(json["command"].stringValue(), "SET_CLIENT_INFOR");
    const platform::Value& data = json["data"];
    EXPECT_EQ(data["providerID"].intValue(), 1);
    EXPECT_EQ(data["subProvider"].intValue(), 1);
    EXPECT_EQ(data["refcode"].intValue(), 0);
    EXPECT_EQ(data["os"].intValue(), 2);
    EXPECT_TRUE(data["os"].isNumber());
    EXPECT_EQ(data["version"].stringValue(), "1.0.0");
    EXPECT_EQ(data["phone"].stringValue(), "19001234");
    EXPECT_EQ(data["lang"].stringValue(), "vi");
    EXPECT_EQ(data["osver"].stringValue(), "6.1");
    EXPECT_EQ(data["device"].stringValue(), "iPhone");
    EXPECT_EQ(data["carrier"].stringValue(), "");
    EXPECT_EQ(data["net"].stringValue(), "WIFI");
    EXPECT_EQ(data["notifyKey"].stringValue(), "ab12cd34");
}

TEST_F(Requests, ClientInformationJsonWithoutTokenHasAnEmptyKey) {
    const auto json = platform::parseJson(GlobalService::clientInformationJson());
    ASSERT_TRUE(json);
    EXPECT_TRUE((*json)["data"].contains("notifyKey"));
    EXPECT_EQ((*json)["data"]["notifyKey"].stringValue(), "");
}

TEST_F(Requests, PushTokenIsSentOnlyWhenStored) {
    service.sendPushNotificationInformation();
    EXPECT_TRUE(env.client().sent().empty());

    platform::UserDefaults::standard().setString("<ab cd>", "PNDT");
    platform::UserDefaults::standard().setString("an", "KAVO_LOGIN_USERNAME");
    service.sendPushNotificationInformation();
    EXPECT_EQ(env.client().last().commandId, 2601);
    const platform::Value json = lastJson();
    EXPECT_EQ(json["registrationId"].stringValue(), "abcd");
    EXPECT_EQ(json["username"].stringValue(), "an");
    EXPECT_EQ(json["phoneNumber"].stringValue(), "");
    EXPECT_EQ(json["os"].stringValue(), "iOS");
    EXPECT_EQ(json["osVersion"].stringValue(), "6.1");
    EXPECT_EQ(json["deviceName"].stringValue(), "iPhone");
    EXPECT_EQ(json["network"].stringValue(), "WIFI");
    EXPECT_EQ(json["carrier"].stringValue(), "");
}

TEST_F(Requests, SubCommandsComeFirstInTheBody) {
    service.requestFriendList(5);
    EXPECT_EQ(last(), "104: 05");
    service.addFriendWithId(9, "an", 15);
    EXPECT_EQ(last(), "104: 0f000000090002616e");
    service.addFriendWithId(9, int8_t(2));
    EXPECT_EQ(last(), "104: 0200000009");
    service.buyItemForFriend(9, "an", 300);
    EXPECT_EQ(last(), expect(104, Bytes().byte(8).int32(300).int32(9).utf("an")));
    service.buyAvatarForFriendID(9, "an", 12);
    EXPECT_EQ(last(), expect(104, Bytes().byte(9).int16(12).utf("an").int32(9)));
    service.getRichestListBetweenFriendWithGroupInfo();
    EXPECT_EQ(last(), "104: 00000011");
    service.requestOtherUserAchievementWithGameID(3, 42);
    EXPECT_EQ(last(), "40: 05030000002a");
    service.getFullItemImageWithId(258);
    EXPECT_EQ(last(), "79: 0400000102");
    service.getItemImageWithItemId(258, 6);
    EXPECT_EQ(last(), "79: 0600000102");
    service.getReportCategory();
    EXPECT_EQ(last(), "2703: 00000000");
    service.reportUser("an", "spam", "x");
    EXPECT_EQ(last(), expect(2703, Bytes().int32(1).utf("an").utf("spam").utf("x")));
    service.requestTransactionLog();
    EXPECT_EQ(last(), "2703: 00000002");
    service.sendReceiptString("r");
    EXPECT_EQ(last(), "103: 00000172");
}

TEST_F(Requests, RankingsSendTheGameBeforeThePage) {
    service.requestStrongestWithPage(1, 3);
    EXPECT_EQ(last(), "30: 0301");
    service.inviteFriends("a", "b");
    EXPECT_EQ(last(), expect(1700, Bytes().utf("b").utf("a")));
}

TEST_F(Requests, BuyingSeveralItemsSendsTheCountThenTheIds) {
    service.requestBuyItems(2, {5, 9, 11});
    EXPECT_EQ(last(), "101: 06000000020000000500000009");
    service.requestBuyItem(7);
    EXPECT_EQ(last(), "101: 060000000100000007");
    // A count beyond the list never reads past it, and the count matches the ids sent.
    service.requestBuyItems(4, {5});
    EXPECT_EQ(last(), "101: 060000000100000005");
    service.requestBuyItems(-3, {5});
    EXPECT_EQ(last(), "101: 0600000000");
    service.requestSetUsing(1, {8, 9}, true);
    EXPECT_EQ(last(), "101: 0b000000010000000801");
}

TEST_F(Requests, GiftListIgnoresItsFirstArgument) {
    service.requestListItemsByGift(15, 70, 2);
    const std::string first = last();
    service.requestListItemsByGift(99, 70, 2);
    EXPECT_EQ(last(), first);
    EXPECT_EQ(first, "101: 0f0000004602");
    service.requestBuyGift(70, 1, 2, 9);
    EXPECT_EQ(last(), "101: 07010200000046" + std::string("00000009"));
}

TEST_F(Requests, ReceiptWithoutPinEndsAfterTheReceipt) {
    ChargeMoneyInfo channel(5);
    service.sendReceiptString(channel, "abc");
    EXPECT_EQ(last(), expect(71, Bytes().byte(5).utf("abc")));
    service.sendReceiptString(channel, "abc", std::string("9"));
    EXPECT_EQ(last(), expect(71, Bytes().byte(5).utf("abc").utf("9")));
    service.sendChargeMoney(channel, "s", "p");
    EXPECT_EQ(last(), expect(71, Bytes().byte(5).byte(-1).utf("s").utf("p")));
}

TEST_F(Requests, ProfileUpdateStoresTheNewPasswordAndSendsTheFieldsInOrder) {
    User user;
    user.setFullname("Nguyễn An");
    user.setGender(1);
    user.setBirthYear(1990);
    user.setAddress("Hà Nội");
    user.setIdnumber("123");
    user.setPhoneNum("0901");
    user.setProvinceId(-1);
    user.setBirthMonth(12);
    user.setBirthDay(31);
    user.setUNewPass("np");
    service.updateDateProfileWithUser(user);
    Bytes profile;
    profile.utf("Nguyễn An").byte(1).int16(1990).utf("Hà Nội").utf("123").utf("0901").byte(-1).byte(12).byte(31);
    EXPECT_EQ(last(), expect(1002, profile));
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("KAVO_LOGIN_NEWPASS"), "np");
}

TEST_F(Requests, ProviderAndClientTypeUseTheHighestCommandId) {
    service.setProviderAndClientType();
    EXPECT_EQ(uint16_t(env.client().last().commandId), 65535);
    EXPECT_EQ(toHex(env.client().last().body), "00");
    service.sendKeys();
    EXPECT_EQ(env.client().last().commandId, 75);
    EXPECT_EQ(env.client().last().body.size(), 8u);
}

} // namespace
} // namespace kavo::test
