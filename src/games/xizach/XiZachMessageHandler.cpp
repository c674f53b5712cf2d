#include "games/xizach/XiZachMessageHandler.h"

#include "games/xizach/XiZachLogicHandler.h"
#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"

#include <algorithm>
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

// The kinds of 21.
constexpr int8_t kDrawn = 0;
constexpr int8_t kTurn = 1;
constexpr int8_t kShown = 2;

// One record: the player, a count and the card ids; at most five ids are kept (more
// are read and dropped). False when it cannot be read whole.
bool readHand(ReplyReader& reader, XiZachHand& hand) {
    hand.playerId = reader.int32();
    const int cards = uint8_t(reader.byte());
    for (int c = 0; c < cards && reader.ok(); ++c) {
        const int32_t id = uint8_t(reader.byte());
        if (c < XiZachHand::kMaxCards) hand.cards[size_t(c)] = id;
    }
    hand.count = std::min(cards, XiZachHand::kMaxCards);
    return reader.ok();
}

std::vector<XiZachHand> readHands(ReplyReader& reader, int count) {
    return StakeTableLogic::readHands<XiZachHand>(reader, count, "XiZachMessageHandler", readHand);
}

} // namespace

const std::shared_ptr<XiZachMessageHandler>& XiZachMessageHandler::getInstance() {
    static const std::shared_ptr<XiZachMessageHandler> instance = std::make_shared<XiZachMessageHandler>();
    return instance;
}

XiZachMessageHandler::XiZachMessageHandler()
    : RoomMessageHandler(kGameType, "XiZachMessageHandler", XiZachLogicHandler::getInstance(),
                         StakeTableLogic::roomRules("XiZachMessageHandler")) {}

void XiZachMessageHandler::readGameCommand(int16_t command, ReplyReader& reader, XiZachLogicHandler& logic) {
    switch (command) {
    case kStart: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t whoMove = reader.int32();
        const int8_t interval = reader.byte();
        const auto cards = reader.data(2);
        if (reader.ok()) logic.onStartGameWithRoomId(room, board, whoMove, cards, interval);
        break;
    }
    case kMove: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int8_t type = reader.byte();
        const int32_t who = reader.int32();
        if (!reader.ok()) break;
        if (type == kShown) {
            const int count = uint8_t(reader.byte());
            const auto cards = reader.data(count);
            if (reader.ok()) logic.onMoveWithRoomId(room, board, who, cards);
        } else if (type == kDrawn) {
            const uint8_t card = uint8_t(reader.byte());
            if (reader.ok()) logic.onGetCardWithRoomId(room, board, who, card);
        } else if (type == kTurn) {
            const uint8_t seconds = uint8_t(reader.byte());
            if (reader.ok()) logic.onGetRemainTimeWithRoomId(room, board, who, seconds);
        } else {
            platform::log("XiZachMessageHandler: move of type " + std::to_string(type) + " dropped");
        }
        break;
    }
    case kStop: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int count = uint8_t(reader.byte());
        if (reader.ok()) logic.onStopGameWithRoomId(room, board, readHands(reader, count));
        break;
    }
    case kPlaying: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int8_t interval = reader.byte();
        const int count = uint8_t(reader.byte());
        if (reader.ok()) logic.onPlayingWithRoomId(room, board, interval, readHands(reader, count));
        break;
    }
    default:
        return;
    }
    whole(command, reader);
}

} // namespace kavo
