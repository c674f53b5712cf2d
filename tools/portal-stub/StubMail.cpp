#include "tools/portal-stub/StubMail.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubNames.h"
#include "tools/portal-stub/StubRecords.h"
#include "tools/portal-stub/StubRoster.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <iterator>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

namespace {

struct Known {
    int32_t id;
    const char* name;
    bool online;
};

// Players the stub knows; the first three start as friends.
constexpr Known kPlayers[] = {{201, "an", true},    {202, "binh", false}, {203, "chi", false},  {204, "dung", false},
                              {205, "giang", true}, {206, "full", false}, {207, "andrea", true}};
constexpr int32_t kAdministrator = 5;
constexpr int kFirstFriends = 3;
constexpr int8_t kFriendList = 5;
constexpr int8_t kFriendRequests = 4;
constexpr int8_t kAccept = 2;
constexpr int8_t kRefuse = 3;
constexpr int8_t kByName = 15;
constexpr int8_t kToStranger = 13;

std::string person() {
    return StubLedger::session().player();
}

const Known* playerWithId(int32_t id) {
    for (const Known& player : kPlayers)
        if (player.id == id) return &player;
    return nullptr;
}

const Known* playerNamed(const std::string& name) {
    for (const Known& player : kPlayers)
        if (name == player.name) return &player;
    return nullptr;
}

// Every person starts with the first few known players as friends; the invitations he
// accepts are kept with his account.
std::vector<int32_t> friendsOf(const std::string& name) {
    std::vector<int32_t> friends;
    for (int i = 0; i < kFirstFriends; ++i)
        friends.push_back(kPlayers[i].id);
    for (int32_t id : StubRecords::acceptedFriends(name))
        if (std::find(friends.begin(), friends.end(), id) == friends.end()) friends.push_back(id);
    return friends;
}

// The notice that records an invitation from `id` as sent.
std::string invitationFrom(int32_t id) {
    return "invitation from " + std::to_string(id);
}

bool isFriend(int32_t id) {
    const auto friends = friendsOf(person());
    return std::find(friends.begin(), friends.end(), id) != friends.end();
}

// Reply 104 sub 5: per friend int id, UTF name, long money, short avatar, byte online,
// then room, board and game bytes and a UTF status when online, else a UTF status.
Message friendList() {
    Message reply(104);
    reply.writeByte(kFriendList);
    for (int32_t id : friendsOf(person())) {
        const Known* player = playerWithId(id);
        if (!player) continue;
        reply.writeInt(player->id);
        reply.writeUTF(player->name);
        reply.writeLong(StubLedger::stubPlayerMoney(player->name));
        reply.writeShort(stubPlayerAvatar(player->id));
        reply.writeByte(player->online ? 1 : 0);
        if (player->online) {
            reply.writeByte(1); // room
            reply.writeByte(3); // board
            reply.writeByte(3); // game
            reply.writeUTF("");
        } else {
            reply.writeUTF("");
        }
    }
    return reply;
}

// 104 sub 2 (`accepted`) or 3: the answer to a friend's invitation. The first answer
// stands: a late second one changes nothing; only an invitation the stub sent is
// answered, so no one becomes a friend by asking.
StubCommand invitationAnswered(int8_t sub, bool accepted) {
    return {104, sub, [accepted](Message& request, PortalServer::Reply& reply) {
                const int32_t id = request.readInt();
                if (StubRecords::answered(person(), id))
                    return platform::log("friend request of " + std::to_string(id) + " answered again: ignored");
                if (!StubRecords::had(person(), invitationFrom(id))) {
                    platform::log("an answer to an invitation " + std::to_string(id) + " never sent: refused");
                    Message refused(45);
                    refused.writeByte(0);
                    refused.writeUTF(say("Người chơi này không mời bạn kết bạn", "This player did not invite you"));
                    reply.send(refused);
                    return;
                }
                platform::log(std::string(accepted ? "friend request accepted: " : "friend request refused: ") +
                              std::to_string(id));
                StubRecords::answer(person(), id, accepted);
            }};
}

// 104 sub 15: a friend asked for by name, answered whether he is one already (1), could
// not be (2: "full") or is asked now (0).
void onFriendByName(Message& request, PortalServer::Reply& reply) {
    const int32_t id = request.readInt();
    const std::string name = request.readUTF();
    platform::log("friend request by name: " + shortenedName(name) + " (" + std::to_string(id) + ")");
    Message result(32);
    result.writeByte(name == "full" ? 2 : isFriend(id) ? 1 : 0);
    reply.send(result);
}

// 104 sub 13: a message to a player by name (a stub player, or a person with an account),
// answered as sent; to a name no one has, refused. The answer and the log name him as far
// as the client's name field shows a name.
void onMessageToStranger(Message& request, PortalServer::Reply& reply) {
    const std::string name = request.readUTF();
    const std::string text = request.readUTF();
    const bool someone = stubPlayerNamed(name) || StubLedger::known(name);
    platform::log("message to " + shortenedName(name) + (someone ? ": " + text : ", whom no one is: refused"));
    Message result(104);
    result.writeByte(kToStranger);
    result.writeByte(someone ? 1 : 0);
    result.writeUTF(someone ? say("Đã gửi tin nhắn cho " + name, "Message sent to " + name) : noPlayerNamed(name));
    reply.send(result);
}

// What a friend writes back to a private message: a line of his own (each friend
// always the same one), in the player's language.
std::string friendsLine(int32_t id) {
    static const std::pair<const char*, const char*> lines[] = {
        {"Chào bạn! Mình đang dở ván, lát nói chuyện nhé.", "Hi! I am in the middle of a hand, talk later."},
        {"Ok, lát nữa vào bàn chơi cùng mình nhé?", "Sure, will you join me at a table later?"},
        {"Hôm nay mình thắng đậm, hẹn bạn ván sau!", "I won big today, see you next hand!"},
    };
    const auto& [vietnamese, english] = lines[size_t(id) % std::size(lines)];
    return say(vietnamese, english);
}

} // namespace

void StubMail::onPrivateMessage(Message& request, PortalServer::Reply&) {
    const int32_t to = request.readInt();
    const std::string text = request.readUTF();
    const Known* player = playerWithId(to);
    if (to == kAdministrator || !player || !isFriend(to)) {
        platform::log("private message to " + std::to_string(to) + ": " + text);
        return;
    }
    platform::log("private message to " + std::string(player->name) + ": " + text);
    Message answer(5);
    answer.writeInt(player->id);
    answer.writeUTF(player->name);
    // The client shows who wrote it: the text alone.
    answer.writeUTF(friendsLine(player->id));
    sender_.send(std::move(answer), std::chrono::seconds(1));
}

namespace {

// Reply 36: rows of int id and UTF name of the stub players whose names hold the text,
// under the ids every other reply gives them. The log names the text searched for as far
// as the name field shows it.
void onSearch(Message& request, PortalServer::Reply& reply) {
    const std::string wanted = request.readUTF();
    platform::log("name search: " + shortenedName(wanted));
    Message found(36);
    for (const StubPlayer& player : kStubPlayers) {
        if (std::string(player.name).find(wanted) == std::string::npos) continue;
        found.writeInt(player.id);
        found.writeUTF(player.name);
    }
    reply.send(found);
}

// A person's new mail: the welcome at his first sign-in, the maintenance notice once
// (it carries the time it was written, so a mailbox that holds it takes it once anyway),
// and dung's friend invitation until he answers it.
void sendMail(PortalServer::Reply& reply) {
    const std::string name = person();
    if (StubRecords::firstTime(name, "welcome")) {
        // Type 4: the administrators' mail, the kind the mailbox opens on.
        Message mail(1701);
        mail.writeInt(4);
        mail.writeLong(int64_t(std::time(nullptr)) * 1000);
        mail.writeInt(1);
        mail.writeUTF("admin");
        mail.writeUTF(say("Chào mừng đến Kavo Online!", "Welcome to Kavo Online!"));
        reply.send(mail);
    }
    if (StubRecords::firstTime(name, "maintenance")) {
        Message admin(1701);
        admin.writeInt(3);
        admin.writeLong(StubMail::kMaintenanceNoticeTime);
        admin.writeInt(kAdministrator);
        admin.writeUTF("admin");
        admin.writeUTF(say("Bảo trì lúc 2 giờ sáng", "Maintenance at 2 a.m."));
        reply.send(admin);
    }
    const Known* dung = playerNamed("dung");
    if (dung && !StubRecords::answered(name, dung->id)) {
        StubRecords::firstTime(name, invitationFrom(dung->id)); // what an answer must answer
        Message request(104);
        request.writeByte(kFriendRequests);
        request.writeInt(dung->id);
        request.writeUTF(dung->name);
        reply.send(request);
    }
}

} // namespace

StubMail::StubMail(StubSender& sender) : sender_(sender) {}

std::vector<StubCommand> StubMail::commands() {
    return {
        {104, kFriendList, [](Message&, PortalServer::Reply& reply) { reply.send(friendList()); }},
        invitationAnswered(kAccept, true),
        invitationAnswered(kRefuse, false),
        {104, kByName, onFriendByName},
        {104, kToStranger, onMessageToStranger},
        {5, StubCommand::kEverySub, answeredBy(this, &StubMail::onPrivateMessage)},
        {36, StubCommand::kEverySub, onSearch},
        // The client asks for its mail as it connects, before it signs in.
        {1702, StubCommand::kEverySub, answeredBy(this, &StubMail::onMailbox), true},
        {33, StubCommand::kEverySub,
         [](Message& request, PortalServer::Reply&) {
             platform::log("friend deleted: " + std::to_string(request.readInt()));
         }},
    };
}

// The mail asked for before a sign-in is the person's who signs in, sent once his
// sign-in is answered.
void StubMail::onMailbox(Message&, PortalServer::Reply& reply) {
    if (!person().empty()) {
        sendMail(reply);
        return;
    }
    std::lock_guard lock(mutex_);
    mailAsked_ = true;
}

void StubMail::afterJoin(int gameType) {
    constexpr int kCaro = 1;
    constexpr int kTetris = 8;
    if (gameType != kCaro && gameType != kTetris) return;
    const Known& opponent = kPlayers[4];
    sender_.send(playerDetail(opponent.id), std::chrono::seconds(2));
}

std::string StubMail::nameOf(int32_t id) {
    const Known* player = playerWithId(id);
    return player ? player->name : "";
}

void StubMail::signedIn(PortalServer::Reply& reply) {
    {
        std::lock_guard lock(mutex_);
        if (!std::exchange(mailAsked_, false)) return;
    }
    sendMail(reply);
}

} // namespace portalstub
