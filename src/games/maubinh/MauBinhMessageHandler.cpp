#include "games/maubinh/MauBinhMessageHandler.h"

#include "app/Resources.h"
#include "games/maubinh/MauBinhLogicHandler.h"
#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"
#include "table/room/JoinPlaces.h"
#include "table/base/TienLenPlayer.h"

namespace kavo {

namespace {

constexpr int16_t kJoin = 8;
constexpr int16_t kChat = 9;
constexpr int16_t kKicked = 11;
constexpr int16_t kSitDown = 12;
constexpr int16_t kLeave = 14;
constexpr int16_t kReady = 16;
constexpr int16_t kStake = 19;
constexpr int16_t kBuzz = 103;
constexpr int16_t kGame = 47;

enum Sub : int8_t {
    kLimitTime = 10,
    kPlaying = 15,
    kStart = 20,
    kSortByOrder = 23,
    kSortByType = 24,
    kAutoArrange = 25,
    kFinished = 30,
    kResult = 40,
    kStop = 50,
};

constexpr int kCards = 13;

void logLine(const std::string& line) {
    platform::log("MauBinhMessageHandler: " + line);
}

// The places of a join: exactly four, missing ones empty, extra ones dropped.
MauBinhPlayers readPlayers(ReplyReader& reader) {
    MauBinhPlayers players = readJoinPlaces(reader, size_t(MauBinhMessageHandler::kSeats), "MauBinhMessageHandler");
    for (auto& player : players)
        if (player->IDDB() == -1) player->setFinishPosition(-1);
    return players;
}

std::vector<int8_t> readCards(ReplyReader& reader) {
    std::vector<int8_t> cards;
    for (int i = 0; i < kCards; ++i)
        cards.push_back(reader.byte());
    return cards;
}

} // namespace

const std::shared_ptr<MauBinhMessageHandler>& MauBinhMessageHandler::getInstance() {
    static const std::shared_ptr<MauBinhMessageHandler> instance = std::make_shared<MauBinhMessageHandler>();
    return instance;
}

MauBinhMessageHandler::MauBinhMessageHandler()
    : GameMessageHandler(kGameType, "MauBinhMessageHandler"),
      maubinhLogicHandler_(&MauBinhLogicHandler::getInstance()) {}

void MauBinhMessageHandler::setGameLogicHandler(MauBinhLogicHandler* handler) {
    maubinhLogicHandler_.store(handler ? handler : &MauBinhLogicHandler::getInstance());
}

void MauBinhMessageHandler::onMessage(Message& message) {
    auto& logic = *maubinhLogicHandler_.load();
    try {
        ReplyReader reader(message);
        auto cut = [&] {
            if (reader.ok()) return false;
            logLine("command " + std::to_string(message.commandId()) + " cut short: dropped");
            return true;
        };
        switch (message.commandId()) {
        case kJoin: {
            const int8_t room = reader.byte();
            const int8_t board = reader.byte();
            const int32_t owner = reader.int32();
            const int32_t money = reader.int32();
            if (cut()) return;
            logic.onJoinGameSuccessWithRoomId(room, board, owner, money, readPlayers(reader));
            break;
        }
        case kChat: {
            const int8_t room = reader.byte();
            const int8_t board = reader.byte();
            const int32_t from = reader.int32();
            const std::string text = reader.utf();
            if (cut()) return;
            logic.onChatFromBoardWithRoomId(room, board, text, from);
            break;
        }
        case kKicked: {
            const int8_t room = reader.byte();
            const int8_t board = reader.byte();
            const int32_t id = reader.int32();
            if (cut()) return;
            logic.onKickedWithRoomId(room, board, id);
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
            if (cut()) return;
            if (seat < 0 || seat >= kSeats) {
                logLine("a player joins at place " + std::to_string(seat) + ": no such place");
                return;
            }
            player->setIsReady(0);
            player->setFinishPosition(-1);
            logic.onSomeOneJoinBoardWithSeat(seat, player);
            break;
        }
        case kLeave: {
            const int32_t leaver = reader.int32();
            const int32_t owner = reader.int32();
            if (cut()) return;
            logic.onSomeOneLeaveBoardWithIdLeave(leaver, owner);
            break;
        }
        case kReady: {
            const int32_t who = reader.int32();
            const bool ready = reader.boolean();
            if (cut()) return;
            logic.onSomeOneReadyWithWhoId(who, ready);
            break;
        }
        case kStake: {
            const int8_t room = reader.byte();
            const int8_t board = reader.byte();
            const int32_t stake = reader.int32();
            if (cut()) return;
            logic.onOwnerSetMoneyWithRoomeId(room, board, stake);
            break;
        }
        case kBuzz: {
            const std::string a = reader.utf();
            const std::string b = reader.utf();
            if (cut()) return;
            logic.onBuzzWithContent(a + ": " + b);
            break;
        }
        case kGame:
            onMessageMauBinh(reader);
            break;
        default:
            break;
        }
    } catch (const std::exception& e) {
        platform::log(std::string("Exception ") + e.what());
    } catch (...) {
        platform::log("Exception in a Mau Binh message");
    }
}

void MauBinhMessageHandler::onMessageMauBinh(ReplyReader& reader) {
    auto& logic = *maubinhLogicHandler_.load();
    const int8_t sub = reader.byte();
    auto cut = [&] {
        if (reader.ok()) return false;
        logLine("47/" + std::to_string(sub) + " cut short: dropped");
        return true;
    };
    switch (sub) {
    case kLimitTime: {
        const int8_t seconds = reader.byte();
        if (cut()) return;
        logic.onSetLimitTime(seconds);
        break;
    }
    case kPlaying: {
        const int8_t limit = reader.byte();
        const int8_t rest = reader.byte();
        if (cut()) return;
        logLine("SC_SUB_MAUBINH_PLAYING");
        logic.onSetLimitTime(limit);
        if (rest >= 1) logic.onPlayingWithLimitTime(limit, rest);
        break;
    }
    case kStart: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int8_t time = reader.byte();
        auto cards = readCards(reader);
        const int8_t type = reader.byte();
        if (cut()) return;
        logic.onStartWithRoomId(room, board, time, std::move(cards), type);
        break;
    }
    case kSortByOrder:
    case kSortByType:
    case kAutoArrange: {
        auto cards = readCards(reader);
        if (cut()) return;
        logic.onSort(std::move(cards));
        break;
    }
    case kFinished: {
        const int32_t id = reader.int32();
        if (cut()) return;
        logic.onFinishWithUserID(id);
        break;
    }
    case kResult: {
        const int32_t id = reader.int32();
        const int32_t money = reader.int32();
        const int32_t chi = reader.int32();
        const int8_t type = reader.byte();
        if (cut()) return;
        std::vector<ResultPlayer> rows;
        while (reader.remaining() >= kResultRowBytes) {
            ResultPlayer row;
            row.userId = reader.int32();
            row.winMoney = reader.int32();
            row.winChi = reader.int32();
            row.cardList = readCards(reader);
            row.mbType = reader.byte();
            row.winChiMB = reader.byte();
            row.winChi1 = reader.byte();
            row.winChi2 = reader.byte();
            row.winChi3 = reader.byte();
            row.multiKo = reader.byte();
            row.winChiAce = reader.byte();
            rows.push_back(std::move(row));
        }
        if (reader.remaining() > 0) logLine("a result row cut short: dropped");
        logic.onResultWithUserID(id, money, chi, type, std::move(rows));
        break;
    }
    case kStop:
        logLine("SC_SUB_MAUBINH_STOP");
        logic.onStopGame();
        break;
    default:
        break;
    }
}

} // namespace kavo
