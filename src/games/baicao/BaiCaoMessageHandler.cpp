#include "games/baicao/BaiCaoMessageHandler.h"

#include "games/baicao/BaiCaoLogicHandler.h"
#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"

#include <exception>

namespace kavo {

namespace {

constexpr int16_t kStart = 20;
constexpr int16_t kMove = 21;
constexpr int16_t kStop = 50;
constexpr int16_t kPlaying = 62;
constexpr int kHandSize = 3;

// n card records after the count; the list stops at the first cut short.
std::vector<BaiCaoHand> readHands(ReplyReader& reader, int count) {
    std::vector<BaiCaoHand> hands;
    for (int i = 0; i < count; ++i) {
        BaiCaoHand hand;
        hand.playerId = reader.int32();
        for (auto& card : hand.cards)
            card = int32_t(uint8_t(reader.byte()));
        if (!reader.ok()) {
            platform::log("BaiCaoMessageHandler: card records stop at " + std::to_string(i) + " of " +
                          std::to_string(count));
            break;
        }
        hands.push_back(hand);
    }
    return hands;
}

} // namespace

const std::shared_ptr<BaiCaoMessageHandler>& BaiCaoMessageHandler::getInstance() {
    static const std::shared_ptr<BaiCaoMessageHandler> instance = std::make_shared<BaiCaoMessageHandler>();
    return instance;
}

BaiCaoMessageHandler::BaiCaoMessageHandler()
    : GameMessageHandler(kGameType, "BaiCaoMessageHandler"), logic_(&BaiCaoLogicHandler::getInstance()) {}

void BaiCaoMessageHandler::setLogicHandler(BaiCaoLogicHandler* handler) {
    logic_.store(handler ? handler : &BaiCaoLogicHandler::getInstance());
}

void BaiCaoMessageHandler::onMessage(Message& message) {
    auto& logic = *logic_.load();
    try {
        ReplyReader reader(message);
        if (logic.readSharedReply(message, reader)) return;
        switch (message.commandId()) {
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
        if (!reader.ok())
            platform::log("BaiCaoMessageHandler: command " + std::to_string(message.commandId()) +
                          " cut short, dropped");
    } catch (const std::exception& error) {
        platform::log(std::string("Exception ") + error.what());
    }
}

} // namespace kavo
