#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/foundation/Text.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/GlobalService.h"
#include "portal/ReplyFields.h"
#include "portal/model/Province.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace kavo {

namespace {

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

// int IDDB, UTF name, long money, short avatar: how most rows of players begin.
std::shared_ptr<Player> readPlayer(ReplyReader& reader) {
    return readRecord<Player>(reader, asInt32(&Player::setIDDB), asUtf(&Player::setName), asInt64(&Player::setMoney),
                              asInt16(&Player::setAvatar));
}

// A row of a ranking: a player, int exp, UTF status. Ranked players are shown as
// online.
std::shared_ptr<Player> readRankedPlayer(ReplyReader& reader) {
    auto player = readPlayer(reader);
    const auto [exp, status] = readValues(reader, asInt32, asUtf);
    player->setExp(exp);
    player->userProfile()->setStatus(status);
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
    const auto [online] = readValues(reader, asFlag);
    // A place sent for an offline friend means nothing.
    const auto [roomId, boardId, gameId] =
        (online || placeAlways) ? readValues(reader, asByte, asByte, asByte) : std::tuple<int8_t, int8_t, int8_t>{};
    auto [status] = readValues(reader, asUtf);
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
    const auto [online] = readValues(reader, asFlag);
    player->setIsReady(online ? 1 : 0);
    if (online) {
        readInto(reader, *player, asInt32(&Player::setExp), asByte(&Player::setRoomID), asByte(&Player::setBoardID),
                 asByte(&Player::setGameID));
    }
    const auto [status] = readValues(reader, asUtf);
    player->userProfile()->setStatus(status);
    return player;
}

// Rows of int IDDB and UTF name (and an int avatar when `withAvatar`).
PlayerList readNamedPlayers(ReplyReader& reader, bool withAvatar) {
    if (withAvatar)
        return readRecords<Player>(reader, asInt32(&Player::setIDDB), asUtf(&Player::setName),
                                   asInt32(&Player::setAvatar));
    return readRecords<Player>(reader, asInt32(&Player::setIDDB), asUtf(&Player::setName));
}

// An achievement: byte level, then int exp, wins, losses, draws and give-ups.
std::vector<int32_t> readAchievement(ReplyReader& reader) {
    return std::apply([](auto... values) { return std::vector<int32_t>{values...}; },
                      readValues(reader, asByte, asInt32, asInt32, asInt32, asInt32, asInt32));
}

} // namespace

bool GlobalMessageHandler::handlePlayers(ReplyReader& reader, int16_t commandId) {
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (commandId) {
    case 30:
    case 31:
        receiveRankedList(reader, commandId);
        return true;
    case 34:
        receivePlayerDetail(reader);
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
    case 2703:
        receiveReport(reader);
        return true;
    case 32:
    case 33: {
        const auto [result] = readValues(reader, asByte);
        if (!reader.ok()) return true;
        commandId == 32 ? logic.onAddFriendWithResult(uint8_t(result)) : logic.onDelFriendResult(uint8_t(result));
        return true;
    }
    case 36:
        logic.onSearchResult(readNamedPlayers(reader, false));
        return true;
    case 41:
        logic.onSetMyUserData();
        return true;
    case 1003:
        readAndCall(reader, logic, &GlobalLogicHandler::onChangePass, asFlag);
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------- rankings and players

void GlobalMessageHandler::receiveRankedList(ReplyReader& reader, int16_t commandId) {
    const bool strongest = commandId == 30;
    const auto [gameId] = strongest ? readValues(reader, asByte) : std::tuple<int8_t>{};
    const auto [page] = readValues(reader, asByte);
    if (!reader.ok()) return;
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
    const auto [userId] = readValues(reader, asInt32);
    if (userId == -1) return; // no such player
    // name, money, avatar, then exp, wins, losses, draws, give-ups
    const auto [name, money, avatar, exp, wins, losses, draws, giveUps] =
        readValues(reader, asUtf, asInt64, asInt16, asInt32, asInt32, asInt32, asInt32, asInt32);
    if (!reader.ok()) return;
    platform::Value detail = platform::Value::emptyArray();
    detail.append(name);
    detail.append(money);
    detail.append(int(avatar));
    for (const int32_t count : {exp, wins, losses, draws, giveUps})
        detail.append(int(count));
    globalLogicHandler().onPlayerDetail(std::move(detail));
}

void GlobalMessageHandler::receiveRankingLists(ReplyReader& reader) {
    const auto [sub] = readValues(reader, asByte);
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
    const auto [sub] = readValues(reader, asByte);
    if (!reader.ok()) return;
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (uint8_t(sub)) {
    case friends::kNotice: {
        const auto [shown] = readValues(reader, asByte);
        if (shown != 1) break;
        const auto [text] = readValues(reader, asUtf);
        if (reader.ok()) doShowAlertViewWithMessage(text);
        break;
    }
    case friends::kRequestSent: {
        const auto [text] = readValues(reader, asUtf);
        if (!reader.ok()) break;
        logic.onShowResultFriendRequest(text);
        GlobalService::getInstance().requestFriendList(friends::kList);
        break;
    }
    case friends::kRequestResult:
        readAndCall(reader, logic, &GlobalLogicHandler::onShowResultFriendRequest, asUtf);
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
        logic.doBuyGiftForFriendComplete(text("KAVO_PresentCompleted"));
        break;
    case friends::kHistoryDeleted:
        readAndCall(reader, logic, &GlobalLogicHandler::onShowDeleteHistoryResult, asByte);
        break;
    case friends::kNotice2: {
        const auto [unused, text] = readValues(reader, asByte, asUtf);
        if (reader.ok()) doShowAlertViewWithMessage(text);
        break;
    }
    case friends::kAskedList:
        logic.onGetRequestMakeFriendList(readNamedPlayers(reader, true));
        break;
    case friends::kInviteResult: {
        const auto [unused, text] = readValues(reader, asByte, asUtf);
        if (reader.ok()) logic.onShowResultFriendInvite(text);
        break;
    }
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
    const std::string wantsToBeFriend = text("KAVO_wantAddFriend");
    KavoMessageList requests = readRows(reader, [&wantsToBeFriend](ReplyReader& row) {
        auto request = readRecord<KavoMessage>(row, asInt32(&KavoMessage::setFromID), asUtf(&KavoMessage::setFromName));
        request->setFromName(platform::toLower(request->fromName()));
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
    const auto [provinceName] = readValues(reader, asUtf);
    readInto(reader, *user, asByte(&User::setBirthMonth), asByte(&User::setBirthDay), asFlag(&User::setBirthStatus),
             asInt32(&User::setPercent), asFlag(&User::setIsSentGift), asUtf(&User::setPlayingTime),
             asInt32(&User::setAvatarId));
    if (!reader.ok()) return;
    globalLogicHandler().onProvinceOfProfile(user->provinceId(), provinceName);
    globalLogicHandler().onMyUserDataWithUser(std::move(user));
}

void GlobalMessageHandler::receiveMyProfile(ReplyReader& reader) {
    const auto [sub] = readValues(reader, asByte);
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (sub) {
    case 1: {
        auto user = readRecord<User>(reader, asUtf(&User::setFullname), asByte(&User::setGender),
                                     asInt16(&User::setBirthYear), asUtf(&User::setAddress), asUtf(&User::setIdnumber),
                                     asUtf(&User::setStatus), asUtf(&User::setPhoneNum), asByte(&User::setProvinceId));
        // "No province" (255) comes without a name.
        const bool named = uint8_t(user->provinceId()) != 0xFF;
        const auto [provinceName] = named ? readValues(reader, asUtf) : std::tuple<std::string>{};
        if (!reader.ok()) break;
        if (named) logic.onProvinceOfProfile(user->provinceId(), provinceName);
        logic.onMyUserDataWithUser(std::move(user));
        break;
    }
    case 2:
        logic.onMyAssets(readRecords<Asset>(reader, asInt32(&Asset::setAssetId), asUtf(&Asset::setName),
                                            asUtf(&Asset::setDescription), asInt32(&Asset::setAmount)));
        break;
    case 3: {
        std::vector<int32_t> achievement = readAchievement(reader);
        if (reader.ok()) logic.onMyAchievement(std::move(achievement));
        break;
    }
    case 5: {
        const auto [userId] = readValues(reader, asInt32);
        std::vector<int32_t> achievement = readAchievement(reader);
        readValues(reader, asInt32); // not used
        // The player's own achievements come with sub 3.
        if (!reader.ok() || userId == UIController::myInfo()->IDDB()) break;
        logic.onOtherUserAchivement(userId, std::move(achievement));
        break;
    }
    default:
        break;
    }
}

// ---------------------------------------------------------------- reports

void GlobalMessageHandler::receiveReport(ReplyReader& reader) {
    // The sub-command of this reply is an int.
    const auto [sub] = readValues(reader, asInt32);
    if (!reader.ok()) return;
    switch (sub) {
    case 0:
        globalLogicHandler().onReceiveReportCategory(
            readRows(reader, [](ReplyReader& row) { return asUtf.read(row); }));
        break;
    case 1: {
        const auto [result] = readValues(reader, asByte);
        if (reader.ok()) doShowAlertViewWithMessage(text(result == 1 ? "KAVO_Report_Complete" : "KAVO_Report_Fail"));
        break;
    }
    case 2:
        globalLogicHandler().onShowTransactionLogs(
            readRecords<TransactionLog>(reader, asUtf(&TransactionLog::setTime), asUtf(&TransactionLog::setContent)));
        break;
    default:
        break;
    }
}

} // namespace kavo
