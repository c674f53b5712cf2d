#include "games/phom/PhomNewMessageHandler.h"

#include "app/Resources.h"
#include "games/phom/PhomNewLogicHandler.h"
#include "platform/foundation/Text.h"
#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"
#include "table/base/TienLenPlayer.h"

#include <algorithm>

namespace kavo {

namespace {

// Incoming commands of the Phom table.
enum Command : int16_t {
    kJoin = 8,
    kChat = 9,
    kKicked = 11,
    kSitDown = 12,
    kLeave = 14,
    kReady = 16,
    kStake = 19,
    kStart = 20,
    kFire = 21,
    kSkip = 49,
    kFinish = 51,
    kBonus = 52,
    kRefused = 54,
    kPlaying = 62,
    kDrawn = 63,
    kEaten = 64,
    kLaid = 65,
    kU = 66,
    kLaidOff = 67,
    kCompensation = 69,
    kInstantWin = 70,
    kBuzz = 103,
};

constexpr size_t kPlaces = 4;
constexpr size_t kLaidSlots = 12;

void logLine(const std::string& line) {
    platform::log("PhomNewMessageHandler: " + line);
}

// The seat records of a join: an id of -1 is an empty place. The table has four
// places: missing ones are empty, extra ones dropped. A record cut short ends the list.
PhomPlayerList readPlayers(ReplyReader& reader) {
    PhomPlayerList players;
    while (reader.hasMore()) {
        auto player = std::make_shared<TienLenPlayer>();
        const int32_t id = reader.int32();
        if (!reader.ok()) break;
        player->setIDDB(id);
        player->setName("");
        if (id != -1) {
            const std::string name = reader.utf();
            const int64_t money = reader.int64();
            const int16_t avatar = reader.int16();
            const int32_t exp = reader.int32();
            const bool ready = reader.boolean();
            if (!reader.ok()) break;
            player->setName(name);
            player->setMoney(money);
            player->setAvatar(avatar);
            player->setExp(exp);
            player->setIsReady(ready ? 1 : 0);
        }
        players.push_back(player);
    }
    if (players.size() > kPlaces) {
        logLine("join with " + std::to_string(players.size()) + " places: the extra ones are dropped");
        players.resize(kPlaces);
    }
    while (players.size() < kPlaces) {
        auto empty = std::make_shared<TienLenPlayer>();
        empty->setIDDB(-1);
        empty->setName("");
        players.push_back(empty);
    }
    return players;
}

// Card bytes to the end of the message, at most `cap` kept (the rest read and dropped).
std::vector<int8_t> readRest(ReplyReader& reader, size_t cap) {
    std::vector<int8_t> bytes;
    while (reader.hasMore()) {
        const int8_t byte = reader.byte();
        if (bytes.size() < cap) bytes.push_back(byte);
    }
    return bytes;
}

std::array<int8_t, kLaidSlots> slotsOf(const std::vector<int8_t>& bytes) {
    std::array<int8_t, kLaidSlots> slots;
    slots.fill(-1);
    std::copy_n(bytes.begin(), std::min(bytes.size(), kLaidSlots), slots.begin());
    return slots;
}

// `count` card bytes, the first `cap` kept; false when cut short.
template <size_t N> bool readRow(ReplyReader& reader, std::array<int32_t, N>& row) {
    const int count = static_cast<uint8_t>(reader.byte());
    for (int i = 0; i < count && reader.ok(); ++i) {
        const int8_t card = reader.byte();
        if (size_t(i) < N) row[size_t(i)] = card;
    }
    return reader.ok();
}

} // namespace

PhomPlaying::PhomPlaying() {
    for (auto& row : cardShow)
        row.fill(-1);
    for (auto& row : cardEat)
        row.fill(-1);
    userIds.fill(-1);
}

const std::shared_ptr<PhomNewMessageHandler>& PhomNewMessageHandler::getInstance() {
    static const std::shared_ptr<PhomNewMessageHandler> instance = std::make_shared<PhomNewMessageHandler>();
    return instance;
}

PhomNewMessageHandler::PhomNewMessageHandler()
    : GameMessageHandler(kGameType, "PhomNewMessageHandler"), gameLogicHandler_(&PhomNewLogicHandler::getInstance()) {}

void PhomNewMessageHandler::setGameLogicHandler(PhomNewLogicHandler* handler) {
    gameLogicHandler_.store(handler ? handler : &PhomNewLogicHandler::getInstance());
}

void PhomNewMessageHandler::onMessage(Message& message) {
    try {
        ReplyReader reader(message);
        read(message.commandId(), reader, *gameLogicHandler_.load());
    } catch (const std::exception& e) {
        platform::log(std::string("Exception ") + e.what());
    } catch (...) {
        platform::log("Exception in a Phom message");
    }
}

void PhomNewMessageHandler::read(int16_t command, ReplyReader& reader, PhomNewLogicHandler& logic) {
    // Every command reads all its fields first: a command cut short reaches nobody.
    auto cutShort = [&] {
        if (reader.ok()) return false;
        logLine("command " + std::to_string(command) + " cut short, dropped");
        return true;
    };
    switch (command) {
    case kJoin: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t owner = reader.int32();
        const int32_t money = reader.int32();
        if (cutShort()) return;
        logic.onJoinGameSuccessWithRoomId(room, board, owner, money, readPlayers(reader));
        return;
    }
    case kChat: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t from = reader.int32();
        const std::string text = reader.utf();
        if (!cutShort()) logic.onChatFromBoardWithRoomId(room, board, text, from);
        return;
    }
    case kKicked: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t kicked = reader.int32();
        if (!cutShort()) logic.onKickedWithRoomId(room, board, kicked);
        return;
    }
    case kSitDown: {
        const int8_t seat = reader.byte();
        auto player = std::make_shared<TienLenPlayer>();
        player->setIDDB(reader.int32());
        player->setName(reader.utf());
        player->setMoney(reader.int64());
        player->setAvatar(reader.int16());
        player->setExp(reader.int32());
        player->setIsReady(0);
        player->setFinishPosition(-1);
        if (!cutShort()) logic.onSomeOneJoinBoardWithSeat(seat, player);
        return;
    }
    case kLeave: {
        const int32_t leaver = reader.int32();
        const int32_t owner = reader.int32();
        if (!cutShort()) logic.onSomeOneLeaveBoardWithIdLeave(leaver, owner);
        return;
    }
    case kReady: {
        const int32_t who = reader.int32();
        const bool ready = reader.boolean();
        if (!cutShort()) logic.onSomeOneReadyWithId(who, ready);
        return;
    }
    case kStake: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t money = reader.int32();
        if (!cutShort()) logic.onOwnerSetMoneyWithRoomeId(room, board, money);
        return;
    }
    case kStart: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int8_t interval = reader.byte();
        const int32_t first = reader.int32();
        const int32_t firstHa = reader.int32();
        if (cutShort()) return;
        // A Phom hand holds at most ten cards; a longer list is no hand of this game.
        std::vector<int8_t> cards = readRest(reader, 10);
        logic.onStartGameWithRoomId(room, board, std::move(cards), interval, first, firstHa);
        return;
    }
    case kFire: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t fired = reader.int32();
        const int32_t next = reader.int32();
        const int8_t card = reader.byte();
        const int8_t slot = reader.byte();
        if (!cutShort()) logic.onMoveWithRoomId(room, board, fired, next, card, slot);
        return;
    }
    case kSkip: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t next = reader.int32();
        const int32_t firstHa = reader.int32();
        if (!cutShort()) logic.onSkipWithRoomId(room, board, next, firstHa);
        return;
    }
    case kFinish: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t who = reader.int32();
        const int32_t score = reader.int32();
        reader.int32(); // not used by the client
        const int count = static_cast<uint8_t>(reader.byte());
        std::vector<int8_t> cards;
        for (int i = 0; i < count && reader.ok(); ++i)
            cards.push_back(reader.byte());
        if (cutShort()) return;
        // No hand holds more than ten loose cards.
        if (cards.size() > 10) cards.resize(10);
        const auto kept = int32_t(cards.size());
        logic.onFinish(room, board, who, score, std::move(cards), kept);
        return;
    }
    case kBonus: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t who = reader.int32();
        const int32_t amount = reader.int32();
        const std::string des = reader.utf();
        if (!cutShort()) logic.onBonusMoneyWithRommId(room, board, who, amount, des);
        return;
    }
    case kRefused: {
        // This one command carries the board before the room.
        const int8_t board = reader.byte();
        const int8_t room = reader.byte();
        const std::string info = reader.utf();
        if (!cutShort()) logic.onMoveErrorWithRoomeId(room, board, info);
        return;
    }
    case kPlaying: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int8_t interval = reader.byte();
        const int32_t current = reader.int32();
        const int32_t first = reader.int32();
        if (cutShort()) return;
        PhomPlaying playing;
        for (size_t k = 0; reader.hasMore(); ++k) {
            const int32_t id = reader.int32();
            std::array<int32_t, 4> shown;
            std::array<int32_t, 3> eaten;
            shown.fill(-1);
            eaten.fill(-1);
            if (!reader.ok() || !readRow(reader, shown) || !readRow(reader, eaten)) break;
            if (k >= kPlaces) continue; // read and dropped
            playing.userIds[k] = id;
            playing.cardShow[k] = shown;
            playing.cardEat[k] = eaten;
        }
        logic.onPlaying(room, board, interval, current, first, playing);
        return;
    }
    case kDrawn: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t who = reader.int32();
        const int8_t card = reader.byte();
        if (!cutShort()) logic.onGetCard(room, board, who, card);
        return;
    }
    case kEaten: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t firstHa = reader.int32();
        if (!cutShort()) logic.onEatCard(room, board, true, 2, firstHa, 0);
        return;
    }
    case kLaid: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        if (cutShort()) return;
        std::array<int32_t, 4> order;
        order.fill(-1);
        logic.onHaPhom(room, board, true, slotsOf(readRest(reader, kLaidSlots)), false, order, 0);
        return;
    }
    case kU: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t winner = reader.int32();
        const int8_t kind = reader.byte();
        if (cutShort()) return;
        const std::vector<int8_t> cards = readRest(reader, kLaidSlots);
        logic.onUWithRoomId(room, board, winner, kind, slotsOf(cards), int32_t(cards.size()));
        return;
    }
    case kLaidOff: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t receiver = reader.int32();
        const int8_t card = reader.byte();
        if (cutShort()) return;
        std::vector<int8_t> cards = readRest(reader, kLaidSlots);
        const auto length = int32_t(cards.size());
        logic.onAddCard(room, board, receiver, card, std::move(cards), length);
        return;
    }
    case kCompensation: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t winner = reader.int32();
        const int32_t order = reader.int32();
        if (!cutShort()) logic.onDenBai(room, board, winner, order);
        return;
    }
    case kInstantWin: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t amount = reader.int32();
        if (!cutShort()) logic.onOnceWin(room, board, amount);
        return;
    }
    case kBuzz: {
        const std::string name = reader.utf();
        const std::string text = reader.utf();
        if (!cutShort()) logic.onBuzzWithContent(name + ": " + text);
        return;
    }
    default:
        return; // not a command of this table (68 from the server included)
    }
}

} // namespace kavo
