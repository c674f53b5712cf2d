#include "tools/portal-stub/StubAccount.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubRoster.h"
#include "tools/portal-stub/StubStore.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace portalstub {

using kavo::Message;
using kavo::test::TestPortal;

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
    reply.writeShort(int16_t(1 + player.id % 6));
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

} // namespace

StubAccount::StubAccount(TestPortal& portal, int drawSeconds) : lottery_(portal, drawSeconds) {
    install(portal);
    lottery_.install();
}

void StubAccount::signedIn(int32_t playerId, const std::string& name) {
    std::lock_guard lock(mutex_);
    playerId_ = playerId;
    name_ = name;
}

void StubAccount::install(TestPortal& portal) {
    portal.onCommand(31, [](Message& request, TestPortal::Reply& reply) {
        const int8_t page = request.readByte();
        // Pages 0, 2, 3 follow each other (the client skips 1); an empty page ends the list.
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
    });
    portal.onCommand(30, [](Message& request, TestPortal::Reply& reply) {
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
    });
    // 16 and 20: the friends ranked (the friend list itself is the mailbox's).
    const TestPortal::Handler friendsRanked = [](Message& request, TestPortal::Reply& reply) {
        const int8_t kind = request.readByte();
        Message rows(104);
        rows.writeByte(kind);
        for (int i = 0; i < kFriends; ++i) {
            const bool online = i % 2 == 0;
            rows.writeInt(kStubPlayers[i].id);
            rows.writeUTF(kStubPlayers[i].name);
            rows.writeLong(moneyOf(size_t(i)));
            rows.writeShort(int16_t(1 + i));
            rows.writeByte(online ? 1 : 0);
            if (kind != 20 && online) {
                rows.writeByte(1);
                rows.writeByte(int8_t(i + 1));
                rows.writeByte(3);
            } else if (kind == 20 && online) {
                rows.writeInt(expOf(size_t(i), 3));
                rows.writeByte(1);
                rows.writeByte(int8_t(i + 1));
                rows.writeByte(3);
            }
            rows.writeUTF("");
        }
        reply.send(rows);
    };
    portal.onSubCommand(104, 16, friendsRanked);
    portal.onSubCommand(104, 20, friendsRanked);
    portal.onCommand(1005, [this](Message& request, TestPortal::Reply& reply) {
        const int32_t id = request.readInt();
        std::lock_guard lock(mutex_);
        const bool me = id == playerId_;
        const StubPlayer* player = stubPlayerWithId(id);
        if (!me && !player) {
            platform::log("details of player " + std::to_string(id) + ": no such player");
            return;
        }
        const size_t other = me ? 0 : size_t(player - kStubPlayers);
        const std::string otherName = me ? "" : player->name;
        Message record(1005);
        record.writeInt(id);
        record.writeUTF(me ? name_ : otherName);
        record.writeLong(me ? StubLedger::session().balance() : StubLedger::stubPlayerMoney(otherName));
        record.writeUTF(me ? fullname_ : "Người chơi " + otherName);
        record.writeByte(me ? gender_ : int8_t(1 + other % 2));
        record.writeBool(true);
        record.writeShort(me ? birthYear_ : int16_t(1985 + other));
        record.writeUTF(me ? address_ : "");
        record.writeUTF(me ? idnumber_ : "");
        record.writeBool(false);
        record.writeUTF("");
        record.writeUTF(me ? phone_ : "");
        const int8_t province = me ? province_ : int8_t(1 + other % 5);
        record.writeByte(province);
        record.writeUTF(province >= 0 && size_t(province) < std::size(kProvinces) ? kProvinces[province] : "");
        record.writeByte(me ? birthMonth_ : int8_t(1 + other % 12));
        record.writeByte(me ? birthDay_ : int8_t(1 + other % 28));
        record.writeBool(true);
        record.writeInt(me ? 42 : int32_t(other * 3 % 100));
        record.writeBool(false);
        record.writeUTF(me ? say("12 giờ", "12 hours") : say("3 giờ", "3 hours"));
        record.writeInt(me ? avatar_ : int32_t(1 + other % 6));
        reply.send(record);
    });
    portal.onCommand(1002, [this](Message& request, TestPortal::Reply& reply) {
        std::lock_guard lock(mutex_);
        fullname_ = request.readUTF();
        gender_ = request.readByte();
        birthYear_ = request.readShort();
        address_ = request.readUTF();
        idnumber_ = request.readUTF();
        phone_ = request.readUTF();
        province_ = request.readByte();
        birthMonth_ = request.readByte();
        birthDay_ = request.readByte();
        platform::log("profile saved: " + fullname_ + ", gender " + std::to_string(gender_) + ", born " +
                      std::to_string(birthDay_) + "/" + std::to_string(birthMonth_) + "/" + std::to_string(birthYear_));
        reply.send(Message(41));
    });
    portal.onSubCommand(78, 3, [](Message& request, TestPortal::Reply& reply) {
        request.readByte();
        Message list(78);
        list.writeByte(3);
        for (size_t i = 0; i < std::size(kProvinces); ++i) {
            list.writeByte(int8_t(i));
            list.writeUTF(kProvinces[i]);
        }
        reply.send(list);
    });
    portal.onCommand(40, [](Message& request, TestPortal::Reply& reply) {
        const int8_t sub = request.readByte();
        const int8_t game = request.readByte();
        if (sub != 3 && sub != 5) return;
        Message row(40);
        row.writeByte(sub);
        if (sub == 5) row.writeInt(request.readInt()); // another player's row names the player
        row.writeByte(game);
        row.writeInt(expOf(0, game)); // experience
        row.writeInt(10 + game);      // wins
        row.writeInt(5 + game % 4);   // losses
        row.writeInt(game % 3);       // draws
        row.writeInt(1);              // give-ups
        if (sub == 5) row.writeInt(0);
        reply.send(row);
    });
    portal.onCommand(1010, [](Message&, TestPortal::Reply& reply) {
        Message avatars(1010);
        avatars.writeInt(2);
        const std::pair<int32_t, std::string> owned[] = {{1, say("Mèo", "Cat")}, {4, say("Cáo", "Fox")}};
        for (const auto& [id, name] : owned) {
            avatars.writeInt(0);
            avatars.writeInt(id);
            avatars.writeUTF(name);
            avatars.writeUTF(say("30 ngày", "30 days"));
        }
        reply.send(avatars);
    });
    // 3: a player's items; 16: the player's gifts (the catalogue itself is the shop's).
    const TestPortal::Handler ownedItems = [](Message& request, TestPortal::Reply& reply) {
        const int8_t sub = request.readByte();
        Message items(101);
        items.writeByte(sub);
        if (sub == 3) {
            items.writeInt(request.readInt());
            request.readByte();
            items.writeByte(request.readByte());
            items.writeInt(1);
            const std::pair<int32_t, std::string> owned[] = {{90, say("Mũ", "Hat")}, {91, say("Kính", "Glasses")}};
            for (const auto& [id, name] : owned) {
                items.writeInt(id + 1000);
                items.writeInt(id);
                items.writeUTF(name);
                items.writeInt(5000);
                items.writeUTF("");
                items.writeBool(false);
            }
        } else if (sub == 16) {
            items.writeInt(7);
            items.writeInt(301);
            items.writeUTF(say("Bánh trung thu", "Mooncake"));
            items.writeUTF(say("Quà sự kiện", "Event gift"));
        } else {
            return;
        }
        reply.send(items);
    };
    portal.onSubCommand(101, 3, ownedItems);
    portal.onSubCommand(101, 16, ownedItems);
    portal.onCommand(2703, [](Message& request, TestPortal::Reply& reply) {
        const int32_t sub = request.readInt();
        if (sub == 0) {
            Message categories(2703);
            categories.writeInt(0);
            for (const std::string& category :
                 {say("Gian lận", "Cheating"), say("Lời lẽ xấu", "Abuse"), say("Quảng cáo", "Spam")})
                categories.writeUTF(category);
            reply.send(categories);
            return;
        }
        if (sub == 1) {
            const std::string user = request.readUTF();
            const std::string category = request.readUTF();
            platform::log("report of " + user + " (" + category + "): " + request.readUTF());
            Message done(2703);
            done.writeInt(1);
            done.writeByte(1);
            reply.send(done);
            return;
        }
        if (sub != 2) return;
        Message logs(2703);
        logs.writeInt(2);
        const std::pair<std::string, std::string> rows[] = {
            {"10:02 01/12", say("+50.000 Zel: nạp thẻ", "+50,000 Zel: card top-up")},
            {"18:40 02/12", say("-10.000 Zel: chuyển cho an", "-10,000 Zel: sent to an")},
            {"21:15 03/12", say("+2.500 Zel: thắng Tiến Lên", "+2,500 Zel: won at Tien Len")}};
        for (const auto& [time, content] : rows) {
            logs.writeUTF(time);
            logs.writeUTF(content);
        }
        reply.send(logs);
    });
    portal.onCommand(1008, [this](Message& request, TestPortal::Reply& reply) {
        const int32_t avatar = request.readInt();
        {
            std::lock_guard lock(mutex_);
            avatar_ = avatar;
        }
        Message changed(1008);
        changed.writeInt(avatar);
        reply.send(changed);
    });
    portal.onCommand(1003, [](Message& request, TestPortal::Reply& reply) {
        request.readUTF();
        const std::string newPass = request.readUTF();
        Message answer(1003);
        answer.writeBool(!newPass.empty());
        reply.send(answer);
    });
    portal.onCommand(17, [](Message& request, TestPortal::Reply& reply) {
        const std::string to = request.readUTF();
        const int32_t amount = request.readInt();
        const bool known = stubPlayerNamed(to) != nullptr;
        std::string note;
        // The check and the move are one step: two connections of one name never both
        // send the same money.
        std::optional<int64_t> money;
        auto sent = StubStore::Outcome::Undone;
        if (known && amount > 0)
            sent = StubStore::session().attempt([&](platform::SqliteDatabase& db) {
                money = StubLedger::session().spendIn(db, amount, "sent to " + to, to);
                return money.has_value();
            });
        if (sent != StubStore::Outcome::Kept) money.reset();
        if (!known)
            note = say("Không có người chơi " + to, "No player named " + to);
        else if (sent == StubStore::Outcome::Failed)
            note = StubLedger::tryAgainLater();
        else if (!money)
            note = say("Không đủ tiền", "Not enough money");
        else
            note = say("Đã chuyển " + std::to_string(amount) + " Zel cho " + to,
                       "Sent " + std::to_string(amount) + " Zel to " + to);
        Message answer(17);
        answer.writeLong(money ? *money : StubLedger::session().balance());
        answer.writeUTF(note);
        reply.send(answer);
    });
}

} // namespace portalstub
