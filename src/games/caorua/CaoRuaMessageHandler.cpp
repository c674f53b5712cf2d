#include "games/caorua/CaoRuaMessageHandler.h"

#include "games/caorua/CaoRuaLogicHandler.h"
#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"
#include "table/room/JoinPlaces.h"
#include "table/base/TienLenPlayer.h"

namespace kavo {

namespace {

// The commands of the Cao Rua table.
constexpr int16_t kJoin = 8;
constexpr int16_t kChat = 9;
constexpr int16_t kKicked = 11;
constexpr int16_t kSitDown = 12;
constexpr int16_t kLeave = 14;
constexpr int16_t kReady = 16;
constexpr int16_t kTableMoney = 19;
constexpr int16_t kStart = 20;
constexpr int16_t kMove = 21;
constexpr int16_t kStakeMoneyFirst = 24;
constexpr int16_t kStop = 50;
constexpr int16_t kBonus = 52;
constexpr int16_t kPlaying = 62;
constexpr int16_t kStakePlayerFirst = 80;
constexpr int16_t kScoreText = 91;
constexpr int16_t kBuzz = 103;

// The seat records of a join: six places.
CaoRuaPlayers readPlaces(ReplyReader& reader) {
    return readJoinPlaces(reader, size_t(kCaoRuaPlaces), "cao rua");
}

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
    : GameMessageHandler(kGameType, "CaoRuaMessageHandler"), gameLogicHandler_(&CaoRuaLogicHandler::getInstance()) {}

void CaoRuaMessageHandler::setGameLogicHandler(CaoRuaLogicHandler* handler) {
    gameLogicHandler_.store(handler ? handler : &CaoRuaLogicHandler::getInstance());
}

void CaoRuaMessageHandler::onMessage(Message& message) {
    auto& logic = *gameLogicHandler_.load();
    const int16_t command = message.commandId();
    ReplyReader reader(message);
    auto cut = [&] { platform::log("cao rua: command " + std::to_string(command) + " cut short, dropped"); };
    try {
        switch (command) {
        case kJoin: {
            const int8_t room = reader.byte();
            const int8_t board = reader.byte();
            const int32_t owner = reader.int32();
            const int32_t money = reader.int32();
            if (!reader.ok()) return cut();
            logic.onJoinGameSuccessWithRoomId(room, board, owner, money, readPlaces(reader));
            break;
        }
        case kChat: {
            const int8_t room = reader.byte();
            const int8_t board = reader.byte();
            const int32_t from = reader.int32();
            const std::string text = reader.utf();
            if (!reader.ok()) return cut();
            logic.onChatFromBoardWithRoomId(room, board, text, from);
            break;
        }
        case kKicked: {
            const int8_t room = reader.byte();
            const int8_t board = reader.byte();
            const int32_t kicked = reader.int32();
            if (!reader.ok()) return cut();
            logic.onKickedWithRoomId(room, board, kicked);
            break;
        }
        case kSitDown: {
            const int8_t seat = reader.byte();
            auto player = std::make_shared<TienLenPlayer>();
            player->setIDDB(reader.int32());
            player->setName(reader.utf());
            player->setMoney(reader.int64());
            player->setAvatar(reader.int16());
            player->setExp(reader.int32());
            if (!reader.ok()) return cut();
            player->setIsReady(0);
            player->setFinishPosition(-1);
            logic.onSomeOneJoinBoardWithSeat(seat, player);
            break;
        }
        case kLeave: {
            const int32_t leaver = reader.int32();
            const int32_t owner = reader.int32();
            if (!reader.ok()) return cut();
            logic.onSomeOneLeaveBoardWithIdLeave(leaver, owner);
            break;
        }
        case kReady: {
            const int32_t who = reader.int32();
            const bool ready = reader.boolean();
            if (!reader.ok()) return cut();
            logic.onSomeOneReadyWithId(who, ready);
            break;
        }
        case kTableMoney: {
            const int8_t room = reader.byte();
            const int8_t board = reader.byte();
            const int32_t money = reader.int32();
            if (!reader.ok()) return cut();
            logic.onOwnerSetMoneyWithRoomId(room, board, money);
            break;
        }
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
        case kStakeMoneyFirst:
        case kStakePlayerFirst: {
            // The same two integers in opposite orders.
            const int8_t room = reader.byte();
            const int8_t board = reader.byte();
            const int32_t first = reader.int32();
            const int32_t second = reader.int32();
            if (!reader.ok()) return cut();
            const bool moneyFirst = command == kStakeMoneyFirst;
            logic.onOwnerSetMoneyOnBoardWithRoomId(room, board, moneyFirst ? first : second,
                                                   moneyFirst ? second : first);
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
        case kBonus: {
            const int8_t room = reader.byte();
            const int8_t board = reader.byte();
            const int32_t who = reader.int32();
            const int32_t money = reader.int32();
            const std::string des = reader.utf();
            if (!reader.ok()) return cut();
            logic.onBonusMoneyWithRoomId(room, board, who, money, des);
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
        case kScoreText: {
            const int32_t who = reader.int32();
            const std::string des = reader.utf();
            if (!reader.ok()) return cut();
            logic.onDiemSoWithWho(who, des);
            break;
        }
        case kBuzz: {
            const std::string a = reader.utf();
            const std::string b = reader.utf();
            if (!reader.ok()) return cut();
            logic.onBuzzWithContent(a + ": " + b);
            break;
        }
        default:
            break;
        }
    } catch (const std::exception& e) {
        platform::log(std::string("Exception ") + e.what());
    } catch (...) {
        platform::log("Exception in a Cao Rua message");
    }
}

} // namespace kavo
