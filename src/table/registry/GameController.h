#pragma once

#include "portal/model/Player.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class GameTableView;
class IGameMessageHandler;
class TienLenView;
class TienLenMBView;
class PhomNewView;
class CoTuongView;
class CoVuaView;
class CoUpView;
class BaiCaoView;
class XiZachView;
class CaroView;
class TetrisView;
class PokerView;
class BauCuaView;
class MauBinhView;
class CaoRuaView;

using PlayerList = std::vector<std::shared_ptr<Player>>;

// The game registry and table switching. It registers the fourteen game handlers at
// start-up, sends the game choice, and creates and keeps one table screen per game:
// a game's slot is empty until its first table is shown and then keeps the last
// screen (even after it was popped) until the next table of that game replaces it.
// Main thread only, except startGame (start-up) and the getters, which the reader
// thread may read to compare ids.
class GameController {
public:
    // One row per game: its wire type and its handler's single instance; the rest of
    // what is known of the game is its record (GameRecords.h).
    struct GameInfo {
        int8_t gameType;
        std::shared_ptr<IGameMessageHandler> (*handler)();
    };
    // The fourteen games, in the order their handlers are registered (that of kGameRecords).
    static const std::vector<GameInfo>& games();
    // The row of a game type, or nullptr for a type that names no game.
    static const GameInfo* gameInfo(int8_t gameType);

    // Registers the fourteen game message handlers with GlobalLogicHandler, in the
    // order of games(). Registering twice adds nothing.
    static void startGame();
    // Chooses a game: command 61 with the type as one byte.
    static void doPlayWithGameId(int gameId);

    // The level of the room being entered (0..255), set when an invitation is accepted.
    static void setLevelRoom(int level);
    static int getLevelRoom();
    // The current game type and title live in the app-wide state.
    static int8_t gameType();
    static void setGameTitle(const std::string& title);

    // The table screen kept for each game, nullptr when none was made.
    static std::shared_ptr<TienLenView> getTienLenView();
    static std::shared_ptr<TienLenMBView> getTienLenMBView();
    static std::shared_ptr<PhomNewView> getPhomNewView();
    static std::shared_ptr<CoTuongView> getCoTuongView();
    static std::shared_ptr<CoVuaView> getCoVuaView();
    static std::shared_ptr<CoUpView> getCoUpView();
    static std::shared_ptr<BaiCaoView> getBaiCaoView();
    static std::shared_ptr<XiZachView> getXiZachView();
    static std::shared_ptr<CaroView> getCaroView();
    static std::shared_ptr<TetrisView> getTetrisView();
    static std::shared_ptr<PokerView> getPokerView();
    static std::shared_ptr<BauCuaView> getBauCuaView();
    static std::shared_ptr<MauBinhView> getMauBinhView();
    static std::shared_ptr<CaoRuaView> getCaoRuaView();
    // The kept table of a game type, whatever its class; nullptr when none.
    static std::shared_ptr<GameTableView> getTableView(int8_t gameType);
    // Replaces the slot of the screen's game (tests and the show operations).
    static void setTableView(std::shared_ptr<GameTableView> view);
    // Empties every slot and the room level (between tests).
    static void reset();

    // The show operations: each makes the game's table screen for a join reply,
    // keeps it in the game's slot, pushes it with room, board and stake set and
    // seats the players, then re-opens the board list's join guard
    // (BoardView::setnumOfTouchUp(0)). Chinese chess (both kinds) does nothing while
    // its table is on top; poker then only re-seats the players of its kept table.
    static void showTienLenScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                          const PlayerList& listPlayers);
    static void showTienLenMBScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                            const PlayerList& listPlayers);
    static void showPhomNewScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                          const PlayerList& listPlayers);
    static void showCoTuongScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                          const PlayerList& listPlayers);
    static void showCoVuaScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                        const PlayerList& listPlayers);
    static void showCoUpScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                       const PlayerList& listPlayers);
    static void showBaiCaoScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                         const PlayerList& listPlayers);
    static void showXiZachScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                         const PlayerList& listPlayers);
    static void showCaroScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                       const PlayerList& listPlayers);
    static void showTetrisScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                         const PlayerList& listPlayers);
    static void showPokerScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                        const PlayerList& listPlayers);
    static void showBauCuaScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                         const PlayerList& listPlayers);
    static void showMauBinhScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                          const PlayerList& listPlayers);
    static void showCaoRuaScreenWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                         const PlayerList& listPlayers);
};

} // namespace kavo
