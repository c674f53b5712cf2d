#include "table/registry/GameController.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/TopScreen.h"
#include "app/UIController.h"
#include "games/baicao/BaiCaoMessageHandler.h"
#include "games/baicao/BaiCaoView.h"
#include "games/baucua/BauCuaMessageHandler.h"
#include "games/baucua/BauCuaView.h"
#include "games/caorua/CaoRuaMessageHandler.h"
#include "games/caorua/CaoRuaView.h"
#include "games/caro/CaroMessageHandler.h"
#include "games/caro/CaroView.h"
#include "games/cotuong/CoTuongMessageHandler.h"
#include "games/cotuong/CoTuongView.h"
#include "games/coup/CoUpMessageHandler.h"
#include "games/coup/CoUpView.h"
#include "games/covua/CoVuaMessageHandler.h"
#include "games/covua/CoVuaView.h"
#include "games/maubinh/MauBinhMessageHandler.h"
#include "games/maubinh/MauBinhView.h"
#include "games/phom/PhomNewMessageHandler.h"
#include "games/phom/PhomNewView.h"
#include "games/poker/PokerMessageHandler.h"
#include "games/poker/PokerView.h"
#include "games/tetris/TetrisMessageHandler.h"
#include "games/tetris/TetrisView.h"
#include "games/tienlen/TienLenMessageHandler.h"
#include "games/tienlen/TienLenView.h"
#include "games/tienlenmb/TienLenMBMessageHandler.h"
#include "games/tienlenmb/TienLenMBView.h"
#include "games/xizach/XiZachMessageHandler.h"
#include "games/xizach/XiZachView.h"
#include "lobby/BoardView.h"
#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalService.h"
#include "table/registry/GameRecords.h"

#include <atomic>
#include <iterator>
#include <map>
#include <mutex>
#include <type_traits>

namespace kavo {

namespace {

template <class Handler> std::shared_ptr<IGameMessageHandler> handlerOf() {
    return Handler::getInstance();
}

struct Slots {
    std::mutex mutex;
    std::map<int8_t, std::shared_ptr<GameTableView>> tables;
    std::atomic<int> levelRoom{0};
};

Slots& slots() {
    static Slots shared;
    return shared;
}

template <class View> std::shared_ptr<View> slotAs(int8_t gameType) {
    return std::dynamic_pointer_cast<View>(GameController::getTableView(gameType));
}

platform::ui::NavigationController* navigation() {
    return KavoOnlineAppDelegate::getInstance().navigationController().get();
}

// What a show operation does once the new table is pushed.
enum class Seating {
    ResetThenSeat,  // the four-seat card tables and Cao Rua: resetView, then the five values
    ResetThenOwner, // Mau Binh: resetView, then owner, stake and players
    OwnerOnly,      // Bau Cua: owner, stake and players, no resetView
    SeatOnly,       // the board games: the five values
    Viewer,         // poker: the player enters as a viewer
};

// Makes a new table of the game and keeps it in the game's slot; room, board and stake
// are set before the push (its load already sees them), the players after it; then the
// board list's join guard re-opens.
template <class View>
void showNewTable(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money, const PlayerList& players,
                  Seating seating) {
    auto table = std::make_shared<View>();
    table->setRoomId(roomId);
    table->setBoardId(boardId);
    table->setMoney(money);
    GameController::setTableView(table);
    if (auto* nav = navigation()) nav->pushViewController(table, true);
    switch (seating) {
    case Seating::ResetThenSeat:
        table->resetView();
        table->setupPlayersWithRoom(roomId, boardId, ownerId, money, players);
        break;
    case Seating::ResetThenOwner:
        table->resetView();
        table->setupPlayersWithOwner(ownerId, money, players);
        break;
    case Seating::OwnerOnly:
        table->setupPlayersWithOwner(ownerId, money, players);
        break;
    case Seating::SeatOnly:
        table->setupPlayersWithRoom(roomId, boardId, ownerId, money, players);
        break;
    case Seating::Viewer:
        if constexpr (std::is_same_v<View, PokerView>)
            table->onShowViewerWithRoom(roomId, boardId, ownerId, money, players);
        break;
    }
    BoardView::setnumOfTouchUp(0);
}

// Cao Rua spells its setters with an underscore and takes the owner before the push.
void showCaoRuaTable(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money, const PlayerList& players) {
    auto table = std::make_shared<CaoRuaView>();
    table->set_roomID(roomId);
    table->set_boardID(boardId);
    table->set_money(money);
    table->set_ownerID(ownerId);
    GameController::setTableView(table);
    if (auto* nav = navigation()) nav->pushViewController(table, true);
    table->resetView();
    table->setupPlayersWithRoom(roomId, boardId, ownerId, money, players);
    BoardView::setnumOfTouchUp(0);
}

} // namespace

namespace {

constexpr GameController::GameInfo kHandlers[] = {
    {TienLenMessageHandler::kGameType, &handlerOf<TienLenMessageHandler>},
    {PhomNewMessageHandler::kGameType, &handlerOf<PhomNewMessageHandler>},
    {CoTuongMessageHandler::kGameType, &handlerOf<CoTuongMessageHandler>},
    {CoVuaMessageHandler::kGameType, &handlerOf<CoVuaMessageHandler>},
    {CoUpMessageHandler::kGameType, &handlerOf<CoUpMessageHandler>},
    {BaiCaoMessageHandler::kGameType, &handlerOf<BaiCaoMessageHandler>},
    {XiZachMessageHandler::kGameType, &handlerOf<XiZachMessageHandler>},
    {CaroMessageHandler::kGameType, &handlerOf<CaroMessageHandler>},
    {TienLenMBMessageHandler::kGameType, &handlerOf<TienLenMBMessageHandler>},
    {TetrisMessageHandler::kGameType, &handlerOf<TetrisMessageHandler>},
    {PokerMessageHandler::kGameType, &handlerOf<PokerMessageHandler>},
    {BauCuaMessageHandler::kGameType, &handlerOf<BauCuaMessageHandler>},
    {MauBinhMessageHandler::kGameType, &handlerOf<MauBinhMessageHandler>},
    {CaoRuaMessageHandler::kGameType, &handlerOf<CaoRuaMessageHandler>},
};

// Each handler stands at its game's record.
constexpr bool handlersFollowTheRecords() {
    if (std::size(kHandlers) != kGameRecords.size()) return false;
    for (size_t i = 0; i < kGameRecords.size(); ++i) {
        if (kHandlers[i].gameType != kGameRecords[i].gameType) return false;
    }
    return true;
}
static_assert(handlersFollowTheRecords());

} // namespace

const std::vector<GameController::GameInfo>& GameController::games() {
    static const std::vector<GameInfo> table(std::begin(kHandlers), std::end(kHandlers));
    return table;
}

const GameController::GameInfo* GameController::gameInfo(int8_t gameType) {
    for (const auto& game : games()) {
        if (game.gameType == gameType) return &game;
    }
    return nullptr;
}

void GameController::startGame() {
    auto& logic = GlobalLogicHandler::getInstance();
    for (const auto& game : games())
        logic.addGameMessageHandler(game.handler());
}

void GameController::doPlayWithGameId(int gameId) {
    GlobalService::getInstance().setGameType(gameId);
}

void GameController::setLevelRoom(int level) {
    slots().levelRoom.store(level);
}

int GameController::getLevelRoom() {
    return slots().levelRoom.load();
}

int8_t GameController::gameType() {
    return UIController::gameType();
}

void GameController::setGameTitle(const std::string& title) {
    UIController::setGameTitle(title);
}

std::shared_ptr<GameTableView> GameController::getTableView(int8_t gameType) {
    std::lock_guard lock(slots().mutex);
    auto it = slots().tables.find(gameType);
    return it == slots().tables.end() ? nullptr : it->second;
}

void GameController::setTableView(std::shared_ptr<GameTableView> view) {
    if (!view) return;
    std::lock_guard lock(slots().mutex);
    slots().tables[view->gameType()] = std::move(view);
}

void GameController::reset() {
    std::map<int8_t, std::shared_ptr<GameTableView>> old;
    {
        std::lock_guard lock(slots().mutex);
        old.swap(slots().tables);
    }
    slots().levelRoom.store(0);
}

std::shared_ptr<TienLenView> GameController::getTienLenView() {
    return slotAs<TienLenView>(TienLenMessageHandler::kGameType);
}
std::shared_ptr<TienLenMBView> GameController::getTienLenMBView() {
    return slotAs<TienLenMBView>(TienLenMBMessageHandler::kGameType);
}
std::shared_ptr<PhomNewView> GameController::getPhomNewView() {
    return slotAs<PhomNewView>(PhomNewMessageHandler::kGameType);
}
std::shared_ptr<CoTuongView> GameController::getCoTuongView() {
    return slotAs<CoTuongView>(CoTuongMessageHandler::kGameType);
}
std::shared_ptr<CoVuaView> GameController::getCoVuaView() {
    return slotAs<CoVuaView>(CoVuaMessageHandler::kGameType);
}
std::shared_ptr<CoUpView> GameController::getCoUpView() {
    return slotAs<CoUpView>(CoUpMessageHandler::kGameType);
}
std::shared_ptr<BaiCaoView> GameController::getBaiCaoView() {
    return slotAs<BaiCaoView>(BaiCaoMessageHandler::kGameType);
}
std::shared_ptr<XiZachView> GameController::getXiZachView() {
    return slotAs<XiZachView>(XiZachMessageHandler::kGameType);
}
std::shared_ptr<CaroView> GameController::getCaroView() {
    return slotAs<CaroView>(CaroMessageHandler::kGameType);
}
std::shared_ptr<TetrisView> GameController::getTetrisView() {
    return slotAs<TetrisView>(TetrisMessageHandler::kGameType);
}
std::shared_ptr<PokerView> GameController::getPokerView() {
    return slotAs<PokerView>(PokerMessageHandler::kGameType);
}
std::shared_ptr<BauCuaView> GameController::getBauCuaView() {
    return slotAs<BauCuaView>(BauCuaMessageHandler::kGameType);
}
std::shared_ptr<MauBinhView> GameController::getMauBinhView() {
    return slotAs<MauBinhView>(MauBinhMessageHandler::kGameType);
}
std::shared_ptr<CaoRuaView> GameController::getCaoRuaView() {
    return slotAs<CaoRuaView>(CaoRuaMessageHandler::kGameType);
}

// ---------------------------------------------------------------- show operations

void GameController::showTienLenScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                               const PlayerList& listPlayers) {
    showNewTable<TienLenView>(roomId, boardId, ownerId, money, listPlayers, Seating::ResetThenSeat);
}

void GameController::showTienLenMBScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                                 const PlayerList& listPlayers) {
    showNewTable<TienLenMBView>(roomId, boardId, ownerId, money, listPlayers, Seating::ResetThenSeat);
}

void GameController::showPhomNewScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                               const PlayerList& listPlayers) {
    showNewTable<PhomNewView>(roomId, boardId, ownerId, money, listPlayers, Seating::ResetThenSeat);
}

void GameController::showBaiCaoScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                              const PlayerList& listPlayers) {
    showNewTable<BaiCaoView>(roomId, boardId, ownerId, money, listPlayers, Seating::ResetThenSeat);
}

void GameController::showXiZachScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                              const PlayerList& listPlayers) {
    showNewTable<XiZachView>(roomId, boardId, ownerId, money, listPlayers, Seating::ResetThenSeat);
}

void GameController::showMauBinhScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                               const PlayerList& listPlayers) {
    showNewTable<MauBinhView>(roomId, boardId, ownerId, money, listPlayers, Seating::ResetThenOwner);
}

void GameController::showCaoRuaScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                              const PlayerList& listPlayers) {
    showCaoRuaTable(roomId, boardId, ownerId, money, listPlayers);
}

void GameController::showBauCuaScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                              const PlayerList& listPlayers) {
    showNewTable<BauCuaView>(roomId, boardId, ownerId, money, listPlayers, Seating::OwnerOnly);
}

void GameController::showCoVuaScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                             const PlayerList& listPlayers) {
    showNewTable<CoVuaView>(roomId, boardId, ownerId, money, listPlayers, Seating::SeatOnly);
}

void GameController::showCaroScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                            const PlayerList& listPlayers) {
    showNewTable<CaroView>(roomId, boardId, ownerId, money, listPlayers, Seating::SeatOnly);
}

void GameController::showTetrisScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                              const PlayerList& listPlayers) {
    showNewTable<TetrisView>(roomId, boardId, ownerId, money, listPlayers, Seating::SeatOnly);
}

void GameController::showCoTuongScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                               const PlayerList& listPlayers) {
    // A join reply with the table already up changes nothing here (its logic re-seats).
    if (topScreenAs<CoTuongView>()) return;
    showNewTable<CoTuongView>(roomId, boardId, ownerId, money, listPlayers, Seating::SeatOnly);
}

void GameController::showCoUpScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                            const PlayerList& listPlayers) {
    if (topScreenAs<CoUpView>()) return;
    showNewTable<CoUpView>(roomId, boardId, ownerId, money, listPlayers, Seating::SeatOnly);
}

void GameController::showPokerScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                             const PlayerList& listPlayers) {
    if (topScreenAs<PokerView>()) {
        // Already at the table: only the seats change.
        if (auto poker = getPokerView()) poker->setupPlayersWithRoom(roomId, boardId, ownerId, money, listPlayers);
        return;
    }
    // The player enters poker as a viewer first.
    showNewTable<PokerView>(roomId, boardId, ownerId, money, listPlayers, Seating::Viewer);
}

} // namespace kavo
