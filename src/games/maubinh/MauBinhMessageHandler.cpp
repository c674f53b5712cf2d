#include "games/maubinh/MauBinhMessageHandler.h"

#include "app/Resources.h"
#include "games/maubinh/MauBinhLogicHandler.h"
#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"
#include "table/base/TienLenPlayer.h"

namespace kavo {

namespace {

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
    : RoomMessageHandler(kGameType, "MauBinhMessageHandler", MauBinhLogicHandler::getInstance(), roomRules()) {}

RoomRules<TienLenPlayer> MauBinhMessageHandler::roomRules() {
    return {.table = "MauBinhMessageHandler",
            .commands = {room::kJoin, room::kChat, room::kKicked, room::kSitDown, room::kLeave, room::kReady,
                         room::kStake, room::kBuzz},
            .places = size_t(kSeats),
            .seats = kSeats,
            .joinedPlace =
                [](TienLenPlayer& player) {
                    if (player.IDDB() == -1) player.setFinishPosition(-1);
                },
            .seatedPlayer = notFinished};
}

void MauBinhMessageHandler::readGameCommand(int16_t command, ReplyReader& reader, MauBinhLogicHandler& logic) {
    if (command == kGame) onMessageMauBinh(reader, logic);
}

void MauBinhMessageHandler::onMessageMauBinh(ReplyReader& reader, MauBinhLogicHandler& logic) {
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
