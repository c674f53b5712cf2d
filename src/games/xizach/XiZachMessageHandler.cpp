#include "games/xizach/XiZachMessageHandler.h"

#include "games/xizach/XiZachLogicHandler.h"
#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"

#include <algorithm>
#include <exception>

namespace kavo {

namespace {

constexpr int16_t kStart = 20;
constexpr int16_t kMove = 21;
constexpr int16_t kStop = 50;
constexpr int16_t kPlaying = 62;

// The kinds of 21.
constexpr int8_t kDrawn = 0;
constexpr int8_t kTurn = 1;
constexpr int8_t kShown = 2;

// n hand records after the count; a record keeps at most five ids (more are read and
// dropped) and the list stops at the first record cut short.
std::vector<XiZachHand> readHands(ReplyReader& reader, int count) {
    std::vector<XiZachHand> hands;
    for (int i = 0; i < count; ++i) {
        XiZachHand hand;
        hand.playerId = reader.int32();
        const int cards = uint8_t(reader.byte());
        for (int c = 0; c < cards && reader.ok(); ++c) {
            const int32_t id = uint8_t(reader.byte());
            if (c < XiZachHand::kMaxCards) hand.cards[size_t(c)] = id;
        }
        if (!reader.ok()) {
            platform::log("XiZachMessageHandler: hand records stop at " + std::to_string(i) + " of " +
                          std::to_string(count));
            break;
        }
        hand.count = std::min(cards, XiZachHand::kMaxCards);
        hands.push_back(hand);
    }
    return hands;
}

} // namespace

const std::shared_ptr<XiZachMessageHandler>& XiZachMessageHandler::getInstance() {
    static const std::shared_ptr<XiZachMessageHandler> instance = std::make_shared<XiZachMessageHandler>();
    return instance;
}

XiZachMessageHandler::XiZachMessageHandler()
    : GameMessageHandler(kGameType, "XiZachMessageHandler"), logic_(&XiZachLogicHandler::getInstance()) {}

void XiZachMessageHandler::setLogicHandler(XiZachLogicHandler* handler) {
    logic_.store(handler ? handler : &XiZachLogicHandler::getInstance());
}

void XiZachMessageHandler::onMessage(Message& message) {
    auto& logic = *logic_.load();
    try {
        ReplyReader reader(message);
        if (logic.readSharedReply(message, reader)) return;
        switch (message.commandId()) {
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
        if (!reader.ok())
            platform::log("XiZachMessageHandler: command " + std::to_string(message.commandId()) +
                          " cut short, dropped");
    } catch (const std::exception& error) {
        platform::log(std::string("Exception ") + error.what());
    }
}

} // namespace kavo
