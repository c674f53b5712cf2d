#include "table/room/RoomCommandReader.h"

#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"
#include "table/base/ChessPlayer.h"
#include "table/base/TienLenPlayer.h"

#include <algorithm>

namespace kavo {

namespace {

template <class PlayerRecord> std::shared_ptr<PlayerRecord> newRecord(const RoomRules<PlayerRecord>& rules) {
    return rules.makeRecord ? rules.makeRecord() : std::make_shared<PlayerRecord>();
}

template <class PlayerRecord> std::shared_ptr<PlayerRecord> emptyPlace(const RoomRules<PlayerRecord>& rules) {
    auto place = newRecord(rules);
    place->setIDDB(-1);
    place->setName("");
    return place;
}

void logLine(const std::string& table, const std::string& line) {
    platform::log(table + ": " + line);
}

} // namespace

void notFinished(Player& player) {
    player.setFinishPosition(-1);
}

template <class PlayerRecord>
std::vector<std::shared_ptr<PlayerRecord>> readJoinPlaces(const RoomRules<PlayerRecord>& rules, ReplyReader& reader) {
    std::vector<std::shared_ptr<PlayerRecord>> list;
    size_t extra = 0;
    while (reader.hasMore()) {
        const int32_t id = reader.int32();
        if (!reader.ok()) break;
        auto player = emptyPlace(rules);
        if (id != -1) {
            const std::string name = reader.utf();
            const int64_t money = reader.int64();
            const int16_t avatar = reader.int16();
            const int32_t exp = reader.int32();
            const bool ready = reader.boolean();
            if (!reader.ok()) {
                logLine(rules.table, "a join place cut short ends the list");
                break;
            }
            player->setIDDB(id);
            player->setName(name);
            player->setMoney(money);
            player->setAvatar(avatar);
            player->setExp(exp);
            player->setIsReady(ready ? 1 : 0);
        }
        if (rules.places == 0 || list.size() < rules.places)
            list.push_back(player);
        else
            ++extra;
    }
    if (extra > 0) logLine(rules.table, "join with " + std::to_string(extra) + " place(s) too many, dropped");
    if (list.size() < rules.places)
        logLine(rules.table, "join with " + std::to_string(list.size()) + " place(s), the others are empty");
    while (list.size() < rules.places)
        list.push_back(emptyPlace(rules));
    if (rules.joinedPlace)
        for (auto& player : list)
            rules.joinedPlace(*player);
    return list;
}

template <class PlayerRecord>
bool readRoomCommand(const RoomRules<PlayerRecord>& rules, int16_t command, ReplyReader& reader,
                     TableLogic<PlayerRecord>& logic) {
    if (std::find(rules.commands.begin(), rules.commands.end(), command) == rules.commands.end()) return false;
    // Every field is read before the call, so a body cut short is seen before anything
    // reaches the table.
    auto whole = [&] {
        if (reader.ok() || !rules.dropCutShort) return true;
        logLine(rules.table, "command " + std::to_string(command) + " cut short, dropped");
        return false;
    };
    switch (command) {
    case room::kJoin:
    case room::kJoinView: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t owner = reader.int32();
        const int32_t money = reader.int32();
        if (!whole()) break;
        auto players = readJoinPlaces(rules, reader);
        if (command == room::kJoin)
            logic.onJoinGameSuccessWithRoomId(room, board, owner, money, std::move(players));
        else
            logic.onJoinViewGameSuccessWithRoomId(room, board, owner, money, std::move(players));
        break;
    }
    case room::kChat: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t from = reader.int32();
        const std::string text = reader.utf();
        if (whole()) logic.onChatFromBoardWithRoomId(room, board, text, from);
        break;
    }
    case room::kKicked: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t kicked = reader.int32();
        if (whole()) logic.onKickedWithRoomId(room, board, kicked);
        break;
    }
    case room::kSitDown: {
        const int8_t place = reader.byte();
        const int seat = rules.unsignedSeat ? int(uint8_t(place)) : int(place);
        auto player = newRecord(rules);
        player->setIDDB(reader.int32());
        player->setName(reader.utf());
        player->setMoney(reader.int64());
        player->setAvatar(reader.int16());
        player->setExp(reader.int32());
        if (!whole()) break;
        if (rules.seats > 0 && (seat < 0 || seat >= rules.seats)) {
            logLine(rules.table, "a player joins at place " + std::to_string(seat) + ": no such place");
            break;
        }
        player->setIsReady(0);
        if (rules.seatedPlayer) rules.seatedPlayer(*player);
        logic.onSomeOneJoinBoardWithSeat(seat, player);
        break;
    }
    case room::kLeave: {
        const int32_t leaver = reader.int32();
        const int32_t owner = reader.int32();
        if (whole()) logic.onSomeOneLeaveBoardWithIdLeave(leaver, owner);
        break;
    }
    case room::kReady: {
        const int32_t who = reader.int32();
        const bool ready = reader.boolean();
        if (whole()) logic.onSomeOneReadyWithId(who, ready);
        break;
    }
    case room::kStake: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t money = reader.int32();
        if (whole()) logic.onOwnerSetMoneyWithRoomeId(room, board, money);
        break;
    }
    case room::kStakeMoneyFirst:
    case room::kStakePlayerFirst: {
        // The same two integers: 24 carries the money first, 80 the player first.
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t first = reader.int32();
        const int32_t second = reader.int32();
        if (!whole()) break;
        const bool moneyFirst = command == room::kStakeMoneyFirst;
        logic.onOwnerSetMoneyOnBoardWithRoomId(room, board, moneyFirst ? first : second, moneyFirst ? second : first);
        break;
    }
    case room::kBonus: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t who = reader.int32();
        const int32_t money = reader.int32();
        const std::string des = reader.utf();
        if (whole()) logic.onBonusMoneyWithRommId(room, board, who, money, des);
        break;
    }
    case room::kMoveError: {
        // The board comes before the room here.
        const int8_t board = reader.byte();
        const int8_t room = reader.byte();
        const std::string info = reader.utf();
        if (whole()) logic.onMoveErrorWithRoomeId(room, board, info);
        break;
    }
    case room::kScoreText: {
        const int32_t who = reader.int32();
        const std::string des = reader.utf();
        if (whole()) logic.onDiemSoWithWho(who, des);
        break;
    }
    case room::kBuzz: {
        const std::string name = reader.utf();
        const std::string text = reader.utf();
        if (whole()) logic.onBuzzWithContent(name + ": " + text);
        break;
    }
    default:
        logLine(rules.table, "command " + std::to_string(command) + " is no room command, dropped");
        break;
    }
    return true;
}

// The three kinds of player record the tables keep.
template std::vector<std::shared_ptr<TienLenPlayer>> readJoinPlaces(const RoomRules<TienLenPlayer>&, ReplyReader&);
template std::vector<std::shared_ptr<Player>> readJoinPlaces(const RoomRules<Player>&, ReplyReader&);
template std::vector<std::shared_ptr<ChessPlayer>> readJoinPlaces(const RoomRules<ChessPlayer>&, ReplyReader&);
template bool readRoomCommand(const RoomRules<TienLenPlayer>&, int16_t, ReplyReader&, TableLogic<TienLenPlayer>&);
template bool readRoomCommand(const RoomRules<Player>&, int16_t, ReplyReader&, TableLogic<Player>&);
template bool readRoomCommand(const RoomRules<ChessPlayer>&, int16_t, ReplyReader&, TableLogic<ChessPlayer>&);

} // namespace kavo
