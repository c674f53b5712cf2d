#include "games/baicao/BaiCaoMessageHandler.h"

#include "games/baicao/BaiCaoLogicHandler.h"
#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"

#include <exception>

namespace kavo {

namespace {

// The game commands of the table, each in this game's own layout.
enum Command : int16_t {
    kStart = 20,
    kMove = 21,
    kStop = 50,
    kPlaying = 62,
};

constexpr int kHandSize = 3;

// One record: the player and his three card ids; false when it cannot be read whole.
bool readHand(ReplyReader& reader, BaiCaoHand& hand) {
    hand.playerId = reader.int32();
    for (auto& card : hand.cards)
        card = int32_t(uint8_t(reader.byte()));
    return reader.ok();
}

std::vector<BaiCaoHand> readHands(ReplyReader& reader, int count) {
    return StakeTableLogic::readHands<BaiCaoHand>(reader, count, "BaiCaoMessageHandler", readHand);
}

} // namespace

const std::shared_ptr<BaiCaoMessageHandler>& BaiCaoMessageHandler::getInstance() {
    static const std::shared_ptr<BaiCaoMessageHandler> instance = std::make_shared<BaiCaoMessageHandler>();
    return instance;
}

BaiCaoMessageHandler::BaiCaoMessageHandler()
    : RoomMessageHandler(kGameType, "BaiCaoMessageHandler", BaiCaoLogicHandler::getInstance(),
                         StakeTableLogic::roomRules("BaiCaoMessageHandler")) {}

void BaiCaoMessageHandler::readGameCommand(int16_t command, ReplyReader& reader, BaiCaoLogicHandler& logic) {
    switch (command) {
    case kStart: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const uint8_t interval = uint8_t(reader.byte());
        const auto cards = reader.data(kHandSize);
        if (reader.ok()) logic.onStartGameWithRoomId(room, board, cards, interval);
        break;
    }
    case kMove: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t who = reader.int32();
        const auto cards = reader.data(kHandSize);
        if (reader.ok()) logic.onMoveWithRoomId(room, board, who, cards);
        break;
    }
    case kStop: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int count = uint8_t(reader.byte());
        if (!reader.ok()) break;
        logic.onStopGameWithRoomId(room, board, readHands(reader, count));
        break;
    }
    case kPlaying: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const uint8_t interval = uint8_t(reader.byte());
        const int count = uint8_t(reader.byte());
        if (!reader.ok()) break;
        logic.onPlayingWithRoomId(room, board, interval, readHands(reader, count));
        break;
    }
    default:
        return;
    }
    whole(command, reader);
}

} // namespace kavo
