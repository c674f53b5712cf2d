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

// The game commands of the Phom table.
enum Command : int16_t {
    kStart = 20,
    kFire = 21,
    kSkip = 49,
    kFinish = 51,
    kPlaying = 62,
    kDrawn = 63,
    kEaten = 64,
    kLaid = 65,
    kU = 66,
    kLaidOff = 67,
    kCompensation = 69,
    kInstantWin = 70,
};

constexpr size_t kPlaces = 4;
constexpr size_t kLaidSlots = 12;

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
    : RoomMessageHandler(kGameType, "PhomNewMessageHandler", PhomNewLogicHandler::getInstance(), roomRules()) {}

RoomRules<TienLenPlayer> PhomNewMessageHandler::roomRules() {
    return {.table = "PhomNewMessageHandler",
            .commands = {room::kJoin, room::kChat, room::kKicked, room::kSitDown, room::kLeave, room::kReady,
                         room::kStake, room::kBonus, room::kMoveError, room::kBuzz},
            .places = kPlaces,
            .seatedPlayer = notFinished};
}

void PhomNewMessageHandler::readGameCommand(int16_t command, ReplyReader& reader, PhomNewLogicHandler& logic) {
    // Every command reads all its fields first: a command cut short reaches nobody.
    auto cutShort = [&] { return !whole(command, reader); };
    switch (command) {
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
    default:
        return; // not a command of this table (68 from the server included)
    }
}

} // namespace kavo
