#include "games/caorua/CaoRuaMessageHandler.h"

#include "games/caorua/CaoRuaLogicHandler.h"
#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"
#include "table/base/TienLenPlayer.h"

namespace kavo {

namespace {

// The game commands of the table, each in this game's own layout.
enum Command : int16_t {
    kStart = 20,
    kMove = 21,
    kStop = 50,
    kPlaying = 62,
};

// One hand: the id and three card bytes; false when it cannot be read whole.
bool readRecord(ReplyReader& reader, CaoRuaCardRecord& record) {
    record.playerId = reader.int32();
    for (auto& card : record.cards)
        card = reader.byte();
    return reader.ok();
}

} // namespace

const std::shared_ptr<CaoRuaMessageHandler>& CaoRuaMessageHandler::getInstance() {
    static const std::shared_ptr<CaoRuaMessageHandler> instance = std::make_shared<CaoRuaMessageHandler>();
    return instance;
}

CaoRuaMessageHandler::CaoRuaMessageHandler()
    : RoomMessageHandler(kGameType, "CaoRuaMessageHandler", CaoRuaLogicHandler::getInstance(), roomRules()) {}

RoomRules<TienLenPlayer> CaoRuaMessageHandler::roomRules() {
    return {.table = "cao rua",
            .commands = {room::kJoin, room::kChat, room::kKicked, room::kSitDown, room::kLeave, room::kReady,
                         room::kStake, room::kStakeMoneyFirst, room::kStakePlayerFirst, room::kBonus, room::kScoreText,
                         room::kBuzz},
            .places = size_t(kCaoRuaPlaces),
            .seatedPlayer = notFinished};
}

void CaoRuaMessageHandler::readGameCommand(int16_t command, ReplyReader& reader, CaoRuaLogicHandler& logic) {
    auto cut = [&] { whole(command, reader); };
    switch (command) {
    case kStart: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int8_t interval = reader.byte();
        const int32_t bet = reader.int32();
        std::vector<int8_t> cards;
        for (int i = 0; i < 3; ++i)
            cards.push_back(reader.byte());
        if (!reader.ok()) return cut();
        logic.onStartGameWithRoomId(room, board, std::move(cards), bet, interval);
        break;
    }
    case kMove: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t who = reader.int32();
        std::vector<uint8_t> cards = reader.data(3);
        if (!reader.ok()) return cut();
        logic.onMoveWithRoomId(room, board, who, std::move(cards));
        break;
    }
    case kStop: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int count = uint8_t(reader.byte());
        if (!reader.ok()) return cut();
        CaoRuaCardRecords records;
        for (int i = 0; i < count; ++i) {
            CaoRuaCardRecord record;
            if (!readRecord(reader, record)) break;
            records.push_back(record);
        }
        logic.onStopGameWithRoomId(room, board, std::move(records));
        break;
    }
    case kPlaying: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t bet = reader.int32();
        if (!reader.ok()) return cut();
        CaoRuaCardRecords records;
        int extra = 0;
        while (reader.hasMore()) {
            CaoRuaCardRecord record;
            if (!readRecord(reader, record)) break;
            if (records.size() < size_t(kCaoRuaPlaces))
                records.push_back(record);
            else
                ++extra;
        }
        if (extra > 0) platform::log("cao rua: " + std::to_string(extra) + " hands past six dropped");
        logic.onPlayingWithRoomId(room, board, bet, std::move(records));
        break;
    }
    default:
        break;
    }
}

} // namespace kavo
