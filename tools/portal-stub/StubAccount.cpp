#include "tools/portal-stub/StubAccount.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubNames.h"
#include "tools/portal-stub/StubProfile.h"
#include "tools/portal-stub/StubRecords.h"
#include "tools/portal-stub/StubRoster.h"
#include "tools/portal-stub/StubShop.h"
#include "tools/portal-stub/StubStore.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

namespace {

// Pages of the richest list before it runs dry, and of each strongest list.
constexpr int kRichestPages = 3;
constexpr int kStrongestPages = 2;
constexpr int kPageSize = 10;
constexpr const char* kProvinces[] = {"Hà Nội", "Hồ Chí Minh", "Đà Nẵng", "Hải Phòng", "Cần Thơ", "Huế"};

// A row of a ranking: int id, UTF name, long money, short avatar, int experience, UTF status.
void writeRanked(Message& reply, const StubPlayer& player, int64_t money, int32_t exp) {
    reply.writeInt(player.id);
    reply.writeUTF(player.name);
    reply.writeLong(money);
    reply.writeShort(stubPlayerAvatar(player.id));
    reply.writeInt(exp);
    reply.writeUTF("");
}

int64_t moneyOf(size_t index) {
    return StubLedger::stubPlayerMoney(kStubPlayers[index].name);
}

// The ranked players, richest now first.
std::vector<std::pair<int64_t, size_t>> richest() {
    std::vector<std::pair<int64_t, size_t>> ranked;
    for (size_t i = 0; i < size_t(kRankedPlayers); ++i)
        ranked.emplace_back(moneyOf(i), i);
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    return ranked;
}

int32_t expOf(size_t index, int gameType) {
    return int32_t(20000 - int32_t(index) * 600 + gameType * 13);
}

std::string provinceName(int8_t province) {
    return province >= 0 && size_t(province) < std::size(kProvinces) ? kProvinces[province] : "";
}

// The time he played, as the profile shows it: hours and minutes.
std::string playingTime(int64_t seconds) {
    const std::string hours = std::to_string(seconds / 3600);
    const std::string minutes = std::to_string(seconds / 60 % 60);
    return say(hours + " giờ " + minutes + " phút", hours + " hours " + minutes + " minutes");
}

// A profile (1005) as the client reads it: the player, his money, the personal data (the
// gender and the birthday shown when given), his level's progress, his playing time and
// the avatar he wears.
Message profileRecord(int32_t id, const std::string& name, int64_t money, const StubProfile::Record& data,
                      int32_t level, const std::string& time) {
    Message record(1005);
    record.writeInt(id);
    record.writeUTF(name);
    record.writeLong(money);
    record.writeUTF(data.fullname);
    record.writeByte(data.gender);
    record.writeBool(data.gender != 0);
    record.writeShort(data.birthYear);
    record.writeUTF(data.address);
    record.writeUTF(data.idnumber);
    record.writeBool(false);
    record.writeUTF("");
    record.writeUTF(data.phone);
    record.writeByte(data.province);
    record.writeUTF(provinceName(data.province));
    record.writeByte(data.birthMonth);
    record.writeByte(data.birthDay);
    record.writeBool(data.birthYear != 0);
    record.writeInt(level);
    record.writeBool(false);
    record.writeUTF(time);
    record.writeInt(data.avatar);
    return record;
}

// A stub player's profile, made up the same way every time.
Message stubPlayerRecord(const StubPlayer& player) {
    const size_t other = size_t(&player - kStubPlayers);
    StubProfile::Record data;
    data.fullname = "Người chơi " + std::string(player.name);
    data.gender = int8_t(1 + other % 2);
    data.birthYear = int16_t(1985 + other);
    data.province = int8_t(1 + other % 5);
    data.birthMonth = int8_t(1 + other % 12);
    data.birthDay = int8_t(1 + other % 28);
    data.avatar = stubPlayerAvatar(player.id);
    return profileRecord(player.id, player.name, StubLedger::stubPlayerMoney(player.name), data,
                         int32_t(other * 3 % 100), say("3 giờ", "3 hours"));
}

} // namespace

StubAccount::StubAccount(StubSender& sender, int drawSeconds) : lottery_(sender, drawSeconds) {}

std::vector<StubCommand> StubAccount::commands() {
    constexpr int32_t kEvery = StubCommand::kEverySub;
    std::vector<StubCommand> table = {
        {31, kEvery, onRichest},
        {30, kEvery, onStrongest},
        // The friends ranked by money (16), and by experience, which each online row tells (20).
        friendsRanked(16, false),
        friendsRanked(20, true),
        {1005, kEvery, answeredBy(this, &StubAccount::onProfile)},
        {1002, kEvery, answeredBy(this, &StubAccount::onProfileSaved)},
        {78, 3, onProvinces},
        {40, 3, answeredBy(this, &StubAccount::onOwnRecord)},
        {40, 5, onOthersRecord},
        {1010, kEvery, answeredBy(this, &StubAccount::onAvatars)},
        {101, 3, answeredBy(this, &StubAccount::onItemsOwned)},
        // His event gifts: the stub holds no event, so none.
        {101, 16, [](Message&, PortalServer::Reply& reply) { reply.send(Message(101, {16})); }},
        {2703, 0, onReportCategories},
        {2703, 1, onReport},
        {1008, kEvery, answeredBy(this, &StubAccount::onAvatarWorn)},
        {1003, kEvery, onPasswordChanged},
        movesMoney({17, kEvery, onTransfer}),
    };
    for (StubCommand& row : lottery_.commands())
        table.push_back(std::move(row));
    return table;
}

void StubAccount::signedIn(int32_t playerId, const std::string& name) {
    std::lock_guard lock(mutex_);
    playerId_ = playerId;
    name_ = name;
}

int32_t StubAccount::playerId() {
    std::lock_guard lock(mutex_);
    return playerId_;
}

std::string StubAccount::name() {
    std::lock_guard lock(mutex_);
    return name_;
}

// Pages 0, 2, 3 follow each other (the client skips 1); an empty page ends the list.
void StubAccount::onRichest(Message& request, PortalServer::Reply& reply) {
    const int8_t page = request.readByte();
    const int shown = page == 0 ? 0 : page - 1;
    Message rows(31);
    rows.writeByte(page);
    const auto ranked = richest();
    for (int i = 0; shown >= 0 && shown < kRichestPages && i < kPageSize; ++i) {
        const auto [money, index] = ranked[size_t(shown * kPageSize + i)];
        writeRanked(rows, kStubPlayers[index], money, expOf(index, 0));
        rows.writeByte(0);
        rows.writeByte(0);
        rows.writeByte(0);
    }
    reply.send(rows);
}

void StubAccount::onStrongest(Message& request, PortalServer::Reply& reply) {
    const int8_t gameType = request.readByte();
    const int8_t page = request.readByte();
    Message rows(30);
    rows.writeByte(gameType);
    rows.writeByte(page);
    for (int i = 0; page >= 0 && page < kStrongestPages && i < kPageSize; ++i) {
        const size_t index = size_t(page * kPageSize + i);
        writeRanked(rows, kStubPlayers[index], moneyOf(index), expOf(index, gameType));
    }
    reply.send(rows);
}

// 104 `sub` (16, 20): the friends ranked (the friend list itself is the mailbox's), each
// online row `withExperience` or not.
StubCommand StubAccount::friendsRanked(int8_t sub, bool withExperience) {
    return {104, sub, [sub, withExperience](Message&, PortalServer::Reply& reply) {
                Message rows(104);
                rows.writeByte(sub);
                for (int i = 0; i < kFriends; ++i) {
                    const bool online = i % 2 == 0;
                    rows.writeInt(kStubPlayers[i].id);
                    rows.writeUTF(kStubPlayers[i].name);
                    rows.writeLong(moneyOf(size_t(i)));
                    rows.writeShort(stubPlayerAvatar(kStubPlayers[i].id));
                    rows.writeByte(online ? 1 : 0);
                    if (online && withExperience) rows.writeInt(expOf(size_t(i), 3));
                    if (online) {
                        rows.writeByte(1);
                        rows.writeByte(int8_t(i + 1));
                        rows.writeByte(3);
                    }
                    rows.writeUTF("");
                }
                reply.send(rows);
            }};
}

// His own profile as he kept it: what he saved, the avatar he wears, and his level and
// playing time from the hands he played; a stub player's made up.
void StubAccount::onProfile(Message& request, PortalServer::Reply& reply) {
    const int32_t id = request.readInt();
    const std::string person = name();
    if (id == playerId() && !person.empty()) {
        const StubProfile::Achievement played = StubProfile::achievement(person, 0);
        reply.send(profileRecord(id, person, StubLedger::session().balance(), StubProfile::of(person),
                                 played.experience % 100, playingTime(played.seconds)));
        return;
    }
    const StubPlayer* player = stubPlayerWithId(id);
    if (!player) {
        platform::log("details of player " + std::to_string(id) + ": no such player");
        return;
    }
    reply.send(stubPlayerRecord(*player));
}

// The person's own data, kept for the stub's life; the reply (41) says it is saved.
void StubAccount::onProfileSaved(Message& request, PortalServer::Reply& reply) {
    StubProfile::Record record;
    record.fullname = request.readUTF();
    record.gender = request.readByte();
    record.birthYear = request.readShort();
    record.address = request.readUTF();
    record.idnumber = request.readUTF();
    record.phone = request.readUTF();
    record.province = request.readByte();
    record.birthMonth = request.readByte();
    record.birthDay = request.readByte();
    const std::string person = name();
    if (person.empty()) return;
    StubProfile::save(person, record);
    platform::log("profile saved: gender " + std::to_string(record.gender) + ", born " +
                  std::to_string(record.birthDay) + "/" + std::to_string(record.birthMonth) + "/" +
                  std::to_string(record.birthYear));
    reply.send(Message(41));
}

void StubAccount::onProvinces(Message&, PortalServer::Reply& reply) {
    Message list(78);
    list.writeByte(3);
    for (size_t i = 0; i < std::size(kProvinces); ++i) {
        list.writeByte(int8_t(i));
        list.writeUTF(kProvinces[i]);
    }
    reply.send(list);
}

// 40 sub 3: the person's own record at a game, from the hands he played.
void StubAccount::onOwnRecord(Message& request, PortalServer::Reply& reply) {
    const int8_t game = request.readByte();
    Message row(40);
    row.writeByte(3);
    row.writeByte(game);
    const StubProfile::Achievement mine = StubProfile::achievement(name(), game);
    for (int32_t value : {mine.experience, mine.wins, mine.losses, mine.draws, 0})
        row.writeInt(value);
    reply.send(row);
}

// 40 sub 5: a stub player's record at a game, made up; the row names the player.
void StubAccount::onOthersRecord(Message& request, PortalServer::Reply& reply) {
    const int8_t game = request.readByte();
    Message row(40);
    row.writeByte(5);
    row.writeInt(request.readInt());
    row.writeByte(game);
    row.writeInt(expOf(0, game)); // experience
    row.writeInt(10 + game);      // wins
    row.writeInt(5 + game % 4);   // losses
    row.writeInt(game % 3);       // draws
    row.writeInt(1);              // give-ups
    row.writeInt(0);
    reply.send(row);
}

// The avatars he bought, each once.
void StubAccount::onAvatars(Message&, PortalServer::Reply& reply) {
    const auto avatars = StubProfile::owned(name(), StubProfile::kAvatar);
    Message list(1010);
    list.writeInt(int32_t(avatars.size()));
    for (int32_t id : avatars) {
        list.writeInt(playerId());
        list.writeInt(id);
        list.writeUTF(StubShop::avatarName(id));
        list.writeUTF(say("30 ngày", "30 days"));
    }
    reply.send(list);
}

// 101 sub 3: the items he bought, of any category asked (the catalogue itself is the
// shop's).
void StubAccount::onItemsOwned(Message& request, PortalServer::Reply& reply) {
    Message items(101);
    items.writeByte(3);
    items.writeInt(request.readInt());
    request.readByte();
    items.writeByte(request.readByte());
    items.writeInt(1);
    int32_t bought = 0;
    for (int32_t id : StubProfile::owned(name(), StubProfile::kItem)) {
        items.writeInt(++bought);
        items.writeInt(id);
        items.writeUTF(StubShop::itemName(id));
        items.writeInt(StubShop::priceOf(id));
        items.writeUTF("");
        items.writeBool(false);
    }
    reply.send(items);
}

void StubAccount::onReportCategories(Message&, PortalServer::Reply& reply) {
    Message categories(2703);
    categories.writeInt(0);
    for (const std::string& category :
         {say("Gian lận", "Cheating"), say("Lời lẽ xấu", "Abuse"), say("Quảng cáo", "Spam")})
        categories.writeUTF(category);
    reply.send(categories);
}

// A report of a player, logged: his name as far as the name field shows it.
void StubAccount::onReport(Message& request, PortalServer::Reply& reply) {
    const std::string user = request.readUTF();
    const std::string category = request.readUTF();
    platform::log("report of " + shortenedName(user) + " (" + category + "): " + request.readUTF());
    Message done(2703);
    done.writeInt(1);
    done.writeByte(1);
    reply.send(done);
}

// He wears the first avatar or one he bought, for the stub's life.
void StubAccount::onAvatarWorn(Message& request, PortalServer::Reply& reply) {
    const int32_t avatar = request.readInt();
    if (!StubProfile::choose(name(), avatar)) {
        Message notice(45);
        notice.writeByte(0);
        notice.writeUTF(say("Bạn chưa mua ảnh đại diện này", "You have not bought this avatar"));
        reply.send(notice);
        return;
    }
    Message changed(1008);
    changed.writeInt(avatar);
    reply.send(changed);
}

void StubAccount::onPasswordChanged(Message& request, PortalServer::Reply& reply) {
    request.readUTF();
    const std::string newPass = request.readUTF();
    Message answer(1003);
    answer.writeBool(!newPass.empty());
    reply.send(answer);
}

// A transfer to a stub player: the check and the move are one step, so that two
// connections of one name never both send the same money. One of 0 or less is no amount.
void StubAccount::onTransfer(Message& request, PortalServer::Reply& reply) {
    const std::string to = request.readUTF();
    const int32_t amount = request.readInt();
    const bool known = stubPlayerNamed(to) != nullptr;
    std::optional<int64_t> money;
    auto sent = StubStore::Outcome::Undone;
    if (known && amount > 0)
        sent = StubStore::session().attempt([&](platform::SqliteDatabase& db) {
            const HistoryEntry sent = HistoryEntry::sentTo(to);
            money = StubLedger::session().spendIn(db, amount, sent.logged(), to);
            if (money) StubRecords::addHistory(db, StubLedger::session().player(), sent, -amount);
            return money.has_value();
        });
    if (sent != StubStore::Outcome::Kept) money.reset();
    std::string note;
    if (!known)
        note = noPlayerNamed(to);
    else if (amount <= 0)
        note = StubLedger::noAmount();
    else if (sent == StubStore::Outcome::Failed)
        note = StubLedger::tryAgainLater();
    else if (!money)
        note = say("Không đủ tiền", "Not enough money");
    else
        note = say("Đã chuyển " + groupedAmount(amount) + " Zel cho " + to,
                   "Sent " + groupedAmount(amount) + " Zel to " + to);
    Message answer(17);
    answer.writeLong(money ? *money : StubLedger::session().balance());
    answer.writeUTF(note);
    reply.send(answer);
}

} // namespace portalstub
