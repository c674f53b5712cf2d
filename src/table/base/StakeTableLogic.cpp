#include "table/base/StakeTableLogic.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/NavigationController.h"
#include "portal/ReplyReader.h"
#include "table/room/JoinPlaces.h"
#include "table/base/PlaySound.h"
#include "table/base/StakeTableView.h"
#include "table/base/TienLenPlayer.h"

namespace kavo {

namespace {

// The commands both tables read alike.
constexpr int16_t kJoin = 8;
constexpr int16_t kChat = 9;
constexpr int16_t kKicked = 11;
constexpr int16_t kSitDown = 12;
constexpr int16_t kLeave = 14;
constexpr int16_t kReady = 16;
constexpr int16_t kStake = 24;
constexpr int16_t kBonus = 52;
constexpr int16_t kStakeOfPlayer = 80;
constexpr int16_t kScoreText = 91;
constexpr int16_t kBuzz = 103;

int32_t myId() {
    return UIController::myInfo()->IDDB();
}

} // namespace

// ---------------------------------------------------------------- reading (reader thread)

std::vector<std::shared_ptr<Player>> StakeTableLogic::readPlaces(ReplyReader& reader, size_t places) {
    std::vector<std::shared_ptr<Player>> list;
    for (auto& player : readJoinPlaces(reader, places, "stake table")) {
        if (player->IDDB() != -1) player->setFinishPosition(-1);
        list.push_back(player);
    }
    return list;
}

bool StakeTableLogic::readSharedReply(Message& message, ReplyReader& reader) {
    switch (message.commandId()) {
    case kJoin: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t owner = reader.int32();
        const int32_t money = reader.int32();
        if (!reader.ok()) break;
        onJoinGameSuccessWithRoomId(room, board, owner, money, readPlaces(reader, kPlaces));
        break;
    }
    case kChat: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t from = reader.int32();
        const std::string line = reader.utf();
        if (reader.ok()) onChatFromBoardWithRoomId(room, board, line, from);
        break;
    }
    case kKicked: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t kicked = reader.int32();
        if (reader.ok()) onKickedWithRoomId(room, board, kicked);
        break;
    }
    case kSitDown: {
        const uint8_t seat = uint8_t(reader.byte());
        auto player = std::make_shared<TienLenPlayer>();
        player->setIDDB(reader.int32());
        player->setName(reader.utf());
        player->setMoney(reader.int64());
        player->setAvatar(reader.int16());
        player->setExp(reader.int32());
        player->setIsReady(0);
        player->setFinishPosition(-1);
        if (reader.ok()) onSomeOneJoinBoardWithSeat(seat, player);
        break;
    }
    case kLeave: {
        const int32_t leaving = reader.int32();
        const int32_t owner = reader.int32();
        if (reader.ok()) onSomeOneLeaveBoardWithIdLeave(leaving, owner);
        break;
    }
    case kReady: {
        const int32_t id = reader.int32();
        const bool ready = reader.boolean();
        if (reader.ok()) onSomeOneReadyWithId(id, ready);
        break;
    }
    case kStake:
    case kStakeOfPlayer: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t first = reader.int32();
        const int32_t second = reader.int32();
        if (!reader.ok()) break;
        // 24 carries the money first, 80 the player first.
        if (message.commandId() == kStake)
            onOwnerSetMoneyWithRoomeId(room, board, first, second);
        else
            onOwnerSetMoneyWithRoomeId(room, board, second, first);
        break;
    }
    case kBonus: {
        const int8_t room = reader.byte();
        const int8_t board = reader.byte();
        const int32_t who = reader.int32();
        const int32_t money = reader.int32();
        const std::string des = reader.utf();
        if (reader.ok()) onBonusMoneyWithRommId(room, board, who, money, des);
        break;
    }
    case kScoreText: {
        const int32_t who = reader.int32();
        const std::string des = reader.utf();
        if (reader.ok()) onDiemSoWithWho(who, des);
        break;
    }
    case kBuzz: {
        const std::string a = reader.utf();
        const std::string b = reader.utf();
        if (reader.ok()) onBuzzWithContent(a + ": " + b);
        break;
    }
    default:
        return false;
    }
    if (!reader.ok())
        platform::log("stake table: command " + std::to_string(message.commandId()) + " cut short, dropped");
    return true;
}

// ---------------------------------------------------------------- twins (main thread)

std::shared_ptr<StakeTableView> StakeTableLogic::tableOf(int8_t roomId, int8_t boardId) const {
    auto view = table();
    return view && view->isTable(roomId, boardId) ? view : nullptr;
}

void StakeTableLogic::applyJoin(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                const std::vector<std::shared_ptr<Player>>& players) {
    showTable(roomId, boardId, ownerId, money, players);
    auto view = table();
    if (!view) return;
    view->setDisableReady(false);
    auto me = UIController::myInfo();
    for (const auto& player : view->players()) {
        if (player->IDDB() == ownerId) player->setIsReady(1);
        if (player->IDDB() == me->IDDB()) {
            me->setMoney(player->money());
            me->setExp(player->exp());
        }
    }
    view->setModeWithHas(false);
    view->resetSeat();
    view->setMoneyOnBoard(money, me->IDDB());
}

void StakeTableLogic::onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                                  std::vector<std::shared_ptr<Player>> players) {
    platform::runOnMainThread([this, roomId, boardId, ownerId, money, players] {
        markFriends(players);
        applyJoin(roomId, boardId, ownerId, money, players);
    });
}

void StakeTableLogic::onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& text, int32_t from) {
    platform::runOnMainThread([this, roomId, boardId, text, from] {
        if (auto view = tableOf(roomId, boardId)) view->onChatFromWithId(from, "", text);
    });
}

void StakeTableLogic::applyKick(int8_t roomId, int8_t boardId, int32_t kickedId) {
    auto view = tableOf(roomId, boardId);
    if (!view) return;
    view->playerLeaveWithId(kickedId);
    if (kickedId != myId()) {
        view->resetSeat();
        return;
    }
    view->onLeftTable();
    const int8_t game = gameType_;
    auto ours = [game](const platform::ui::ViewControllerPtr& screen) {
        auto* table = dynamic_cast<StakeTableView*>(screen.get());
        return table && table->gameType() == game;
    };
    if (auto nav = KavoOnlineAppDelegate::getInstance().navigationController()) {
        if (ours(nav->topViewController())) {
            nav->popViewController(true);
        } else {
            // Back to the screen below the nearest table; with none in the stack the
            // player stays where he is.
            const auto stack = nav->viewControllers();
            for (size_t i = stack.size(); i-- > 1;) {
                if (!ours(stack[i])) continue;
                nav->popToViewController(stack[i - 1].get(), true);
                break;
            }
        }
    }
    UIController::setOkValue(UIController::kActionKicked);
    UIController::startOKDlg(Resources::getInstance().textWithKey("KAVO_youAreKicked"));
}

void StakeTableLogic::onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t kickedId) {
    platform::runOnMainThread([this, roomId, boardId, kickedId] { applyKick(roomId, boardId, kickedId); });
}

void StakeTableLogic::onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<Player> player) {
    platform::runOnMainThread([this, seat, player] {
        auto view = table();
        if (!view) return;
        PlaySound::playSoundWithSource(Resources::getInstance().com_player_join_board());
        player->setIsReady(0);
        view->setAtSeat(seat, player);
        view->resetSeat();
    });
}

void StakeTableLogic::onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner) {
    platform::runOnMainThreadAndWait([this, leaveId, newOwner] {
        auto view = table();
        if (!view) return;
        view->playerLeaveWithId(leaveId);
        view->setOwnerWithNewOwner(newOwner);
        view->resetSeat();
    });
}

void StakeTableLogic::onSomeOneReadyWithId(int32_t playerId, bool ready) {
    platform::runOnMainThread([this, playerId, ready] {
        auto view = table();
        if (!view) return;
        view->setReadyWithPlayerId(playerId, ready);
        view->resetSeat();
    });
}

void StakeTableLogic::onOwnerSetMoneyWithRoomeId(int8_t roomId, int8_t boardId, int32_t money, int32_t who) {
    platform::runOnMainThread([this, roomId, boardId, money, who] {
        if (auto view = tableOf(roomId, boardId)) view->setMoneyOnBoard(money, who);
    });
}

void StakeTableLogic::onBonusMoneyWithRommId(int8_t roomId, int8_t boardId, int32_t who, int32_t money,
                                             const std::string& des) {
    platform::runOnMainThread([this, roomId, boardId, who, money, des] {
        auto view = tableOf(roomId, boardId);
        if (!view) return;
        // A bonus for somebody not at the table is dropped.
        auto player = view->playerWithId(who);
        if (!player || player->name().empty()) return;
        view->onChatFromWithId(who, "", des);
        view->showFlyTextWirhFromId(who, money);
        view->updateMoneyForPlayer(who, money);
        if (who == myId()) {
            UIController::myInfo()->addMoney(money);
            KavoOnlineAppDelegate::getInstance().updateMyMoney();
        }
    });
}

void StakeTableLogic::onDiemSoWithWho(int32_t who, const std::string& des) {
    platform::runOnMainThread([this, who, des] {
        if (auto view = table()) showScoreText(*view, who, des);
    });
}

void StakeTableLogic::onBuzzWithContent(const std::string& text) {
    platform::runOnMainThread([this, text] {
        if (auto view = table()) view->onBuzzWithContent(text);
    });
}

} // namespace kavo
