#include "games/tienlen/TienLenMessageHandler.h"

#include "games/tienlen/TienLenLogicHandler.h"
#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"
#include "table/base/TienLenPlayer.h"

namespace kavo {

namespace {

// The table commands this game reads; every other id is dropped without a line.
enum Command : int16_t {
    kJoin = 8,
    kChat = 9,
    kKicked = 11,
    kSitDown = 12,
    kLeave = 14,
    kReady = 16,
    kStake = 19,
    kStart = 20,
    kMove = 21,
    kSkip = 49,
    kStop = 50,
    kFinish = 51,
    kBonus = 52,
    kForceFinish = 53,
    kMoveError = 54,
    kBuzz = 103,
};

constexpr int kHand = 13;

// The entries of a join: an id of -1 is an empty place of 4 bytes. The list ends at
// the first entry that cannot be read whole; what was read before it is kept.
TienLenPlayerList readPlayers(ReplyReader& reader) {
    TienLenPlayerList players;
    while (reader.hasMore()) {
        auto player = std::make_shared<TienLenPlayer>();
        const int32_t id = reader.int32();
        if (!reader.ok()) break;
        player->setIDDB(id);
        if (id == -1) {
            player->setName("");
            player->setIsFriend(0);
            players.push_back(player);
            continue;
        }
        const std::string name = reader.utf();
        const int64_t money = reader.int64();
        const int16_t avatar = reader.int16();
        const int32_t exp = reader.int32();
        const bool ready = reader.boolean();
        if (!reader.ok()) {
            platform::log("Tien Len: a join entry cut short ends the list");
            break;
        }
        player->setName(name);
        player->setMoney(money);
        player->setAvatar(avatar);
        player->setExp(exp);
        player->setIsReady(ready ? 1 : 0);
        players.push_back(player);
    }
    return players;
}

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
    : GameMessageHandler(gameType, name), ownLogic_(logic), logic_(&logic) {}

void TienLenMessageHandler::setGameLogicHandler(TienLenLogicHandler* handler) {
    logic_.store(handler ? handler : &ownLogic_);
}

void TienLenMessageHandler::readForceFinishCards(ReplyReader& reader, CardInfo& info) const {
    while (reader.hasMore())
        info.cards.push_back(uint8_t(reader.byte()));
}

void TienLenMessageHandler::onMessage(Message& message) {
    try {
        dispatch(message, *logic_.load());
    } catch (const std::exception& e) {
        platform::log(std::string("Exception ") + e.what());
    } catch (...) {
        platform::log("Exception in a Tien Len message");
    }
}

void TienLenMessageHandler::dispatch(Message& message, TienLenLogicHandler& logic) const {
    ReplyReader reader(message);
    switch (message.commandId()) {
    case kJoin: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t owner = reader.int32();
        const int32_t stake = reader.int32();
        logic.onJoinGameSuccessWithRoomId(room, board, owner, stake, readPlayers(reader));
        break;
    }
    case kChat: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t from = reader.int32();
        const std::string text = reader.utf();
        logic.onChatFromBoardWithRoomId(room, board, text, from);
        break;
    }
    case kKicked: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        logic.onKickedWithRoomId(room, board, reader.int32());
        break;
    }
    case kSitDown: {
        const int seat = reader.byte();
        auto player = std::make_shared<TienLenPlayer>();
        player->setIDDB(reader.int32());
        player->setName(reader.utf());
        player->setMoney(reader.int64());
        player->setAvatar(reader.int16());
        player->setExp(reader.int32());
        player->setIsReady(0);
        player->setFinishPosition(-1);
        logic.onSomeOneJoinBoardWithSeat(seat, player);
        break;
    }
    case kLeave: {
        const int32_t leaver = reader.int32();
        logic.onSomeOneLeaveBoardWithIdLeave(leaver, reader.int32());
        break;
    }
    case kReady: {
        const int32_t who = reader.int32();
        logic.onSomeOneReadyWithId(who, reader.boolean());
        break;
    }
    case kStake: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        logic.onOwnerSetMoneyWithRoomeId(room, board, reader.int32());
        break;
    }
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
    case kBonus: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t who = reader.int32();
        const int32_t money = reader.int32();
        logic.onBonusMoneyWithRommId(room, board, who, money, reader.utf());
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
    case kMoveError: {
        const int8_t board = reader.byte();
        const int8_t room = reader.byte();
        logic.onMoveErrorWithRoomeId(room, board, reader.utf());
        break;
    }
    case kBuzz: {
        const std::string a = reader.utf();
        const std::string b = reader.utf();
        logic.onBuzzWithContent(a + ": " + b);
        break;
    }
    default:
        break;
    }
}

} // namespace kavo
