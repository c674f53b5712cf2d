#include "games/tienlen/TienLenMessageHandler.h"

#include "games/tienlen/TienLenLogicHandler.h"
#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"
#include "table/base/TienLenPlayer.h"

namespace kavo {

namespace {

// The game commands of the table; every other id is dropped without a line.
enum Command : int16_t {
    kStart = 20,
    kMove = 21,
    kSkip = 49,
    kStop = 50,
    kFinish = 51,
    kForceFinish = 53,
};

constexpr int kHand = 13;

// An unsigned count byte, then at most that many card ids: only those present.
std::vector<uint8_t> readCards(ReplyReader& reader) {
    const int count = uint8_t(reader.byte());
    std::vector<uint8_t> cards;
    for (int i = 0; i < count && reader.hasMore(); ++i)
        cards.push_back(uint8_t(reader.byte()));
    return cards;
}

} // namespace

const std::shared_ptr<TienLenMessageHandler>& TienLenMessageHandler::getInstance() {
    static const std::shared_ptr<TienLenMessageHandler> instance = std::make_shared<TienLenMessageHandler>();
    return instance;
}

TienLenMessageHandler::TienLenMessageHandler()
    : TienLenMessageHandler(kGameType, "TienLenMessageHandler", TienLenLogicHandler::getInstance()) {}

TienLenMessageHandler::TienLenMessageHandler(int8_t gameType, const char* name, TienLenLogicHandler& logic)
    : RoomMessageHandler(gameType, name, logic, roomRules()) {}

RoomRules<TienLenPlayer> TienLenMessageHandler::roomRules() {
    // A body cut short still reaches the table with 0 and "" past its end.
    return {.table = "Tien Len",
            .commands = {room::kJoin, room::kChat, room::kKicked, room::kSitDown, room::kLeave, room::kReady,
                         room::kStake, room::kBonus, room::kMoveError, room::kBuzz},
            .places = TienLenLogicHandler::kPlaces,
            .dropCutShort = false,
            .seatedPlayer = notFinished};
}

void TienLenMessageHandler::readForceFinishCards(ReplyReader& reader, CardInfo& info) const {
    while (reader.hasMore())
        info.cards.push_back(uint8_t(reader.byte()));
}

void TienLenMessageHandler::readGameCommand(int16_t command, ReplyReader& reader, TienLenLogicHandler& logic) {
    switch (command) {
    case kStart: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int interval = reader.byte();
        // A body that ends early yields only the cards it holds.
        std::vector<uint8_t> cards;
        for (int i = 0; i < kHand && reader.hasMore(); ++i)
            cards.push_back(uint8_t(reader.byte()));
        const int32_t first = reader.int32();
        logic.onStartGameWithRoomId(room, board, std::move(cards), interval, first);
        break;
    }
    case kMove: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t who = reader.int32();
        std::vector<uint8_t> cards = readCards(reader);
        const int32_t next = reader.int32();
        logic.onMoveWithRoomId(room, board, who, std::move(cards), next);
        break;
    }
    case kSkip: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t who = reader.int32();
        const int32_t next = reader.int32();
        logic.onSkipWithRoomId(room, board, who, next, reader.boolean());
        break;
    }
    case kStop: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        int32_t who = -1;
        std::vector<uint8_t> cards;
        if (reader.hasMore()) {
            who = reader.int32();
            cards = readCards(reader);
        }
        logic.onStopGameWithRoomId(room, board, who, std::move(cards));
        break;
    }
    case kFinish: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t who = reader.int32();
        const int position = reader.byte();
        const int32_t money = reader.int32();
        const int32_t exp = reader.int32();
        logic.onSomeOneFinishWithRoomId(room, board, who, position, money, exp);
        break;
    }
    case kForceFinish: {
        // The board comes before the room here.
        const int8_t board = reader.byte();
        const int8_t room = reader.byte();
        CardInfo info;
        info.owner = reader.int32();
        readForceFinishCards(reader, info);
        logic.onForceFinishWithRoomId(room, board, std::move(info));
        break;
    }
    default:
        break;
    }
}

} // namespace kavo
