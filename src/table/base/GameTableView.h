#pragma once

#include "app/KavoViewController.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Label.h"
#include "portal/IGiftListListener.h"
#include "portal/model/Player.h"
#include "table/registry/GameRecords.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class InviteView;
class boardChat;
class menuCuoc;
class menuGift;
class menuPlayer;

// What every table screen answers, whether it is one of the four-seat card tables
// (GameCardView) or one of the eight other tables: its game, room, board and stake,
// the seated players, the invitation sheet, the player detail, gifts, money updates
// and leaving the board. Each game's screen derives from it (through GameCardView
// for the card tables) and names its room and board the way its game does
// (roomId/boardId or roomID/boardID).
//
// The shared sheets and seat actions read a table only through this interface: its
// room and board, its players, its owner, the chosen player of the seat menu, whether
// a match runs, and its own sheets; what only some games do for a sheet (a stake or
// buy-in of their own, a player count, a set-up row, a move speed) is a virtual step
// here that those games override. Room and board are atomic because a logic handler
// compares them on the reader thread; everything else is main-thread only.
class GameTableView : public KavoViewController, public IGiftListListener {
public:
    // `gameType` as on the wire; `titleKey` is the language key of the game's name,
    // shown as the screen's title.
    GameTableView(int8_t gameType, const std::string& nibName, std::string titleKey);
    ~GameTableView() override;

    int8_t gameType() const { return gameType_; }
    // What is known of this table's game (a record of defaults for a type without one).
    const GameRecord& record() const;
    const std::string& titleKey() const { return titleKey_; }

    int8_t roomId() const { return roomId_.load(); }
    void setRoomId(int8_t roomId) { roomId_.store(roomId); }
    int8_t boardId() const { return boardId_.load(); }
    void setBoardId(int8_t boardId) { boardId_.store(boardId); }
    // True when this screen is the table of that room and board (any thread).
    bool isTable(int8_t roomId, int8_t boardId) const { return roomId == roomId_.load() && boardId == boardId_.load(); }

    // The board's stake.
    int32_t money() const { return money_; }
    void setMoney(int32_t money) { money_ = money; }
    // The board owner's IDDB.
    int32_t ownerId() const { return ownerId_; }
    void setOwnerId(int32_t ownerId) { ownerId_ = ownerId; }
    const std::vector<std::shared_ptr<Player>>& players() const { return players_; }
    std::vector<std::shared_ptr<Player>>& mutablePlayers() { return players_; }
    // Every player record at the table, empty places (IDDB -1) included; Bau Cua
    // gives its seats' core players.
    virtual std::vector<std::shared_ptr<Player>> tablePlayers() const { return players_; }

    // The player whose seat menu is open.
    const std::shared_ptr<Player>& CurrentControlPlayer() const { return currentControlPlayer_; }
    void setCurrentControlPlayer(std::shared_ptr<Player> player) { currentControlPlayer_ = std::move(player); }
    // The player record the seat actions act on: the chosen player (Bau Cua: the
    // chosen seat's core player); nullptr when none is chosen.
    virtual std::shared_ptr<Player> chosenPlayer() const { return currentControlPlayer_; }

    // The card tables' match flag: set between games.
    bool isGameEnd() const { return isGameEnd_; }
    void setIsGameEnd(bool gameEnd) { isGameEnd_ = gameEnd; }
    // The board games' match flag: set while a match is under way.
    bool isInBoard() const { return isInBoard_; }
    void setIsInBoard(bool inBoard) { isInBoard_ = inBoard; }
    // Whether a match runs, read from the flag this game keeps.
    bool isMatchRunning() const;

    // Whether the signed-in player is in a running game here (leaving then asks first).
    bool isPlaying() const { return isPlaying_; }
    void setIsPlaying(bool playing) { isPlaying_ = playing; }

    // The table's own sheets, made with the screen: invitations, chat, gifts, stake.
    const std::shared_ptr<InviteView>& inviteView() const { return inviteView_; }
    const std::shared_ptr<boardChat>& chatView() const { return chatView_; }
    const std::shared_ptr<menuGift>& giftView() const { return giftView_; }
    const std::shared_ptr<menuCuoc>& betView() const { return betView_; }
    // Opens a sheet of this table over it.
    void openSheet(const std::shared_ptr<platform::ui::ViewController>& sheet);

    // Chooses the player and opens the per-seat action sheet for them (the Caro and
    // Tetris tables; made on first use).
    void openPlayerMenu(std::shared_ptr<Player> player);
    const std::shared_ptr<menuPlayer>& playerMenu() const { return playerMenu_; }

    // Opens the gift sheet for the chosen player.
    virtual void showGiftView();
    // The gift catalogue replies go to the gift sheet.
    void onShowListGift(const std::vector<std::shared_ptr<CategoryShopInfo>>& categories) override;
    void onShowItemsWithGift(const std::shared_ptr<ItemsOfCategory>& items) override;
    // A line I typed in the chat sheet: sent to the table (command 9) unless it is
    // only white space. The card tables also show it at my seat.
    virtual void onChatFromMeWithText(const std::string& text);

    // Seats the players of a join reply; the games lay out their seats on top of this.
    virtual void setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                      const std::vector<std::shared_ptr<Player>>& players);
    // Seats the players at this screen's own room and board.
    void setupPlayersWithOwner(int32_t ownerId, int32_t money, const std::vector<std::shared_ptr<Player>>& players) {
        setupPlayersWithRoom(roomId(), boardId(), ownerId, money, players);
    }
    // Clears the table for a new board; the games add their own parts.
    virtual void resetView() {}

    // The player-detail reply (name, money, avatar, exp, wins, losses, draws, give-ups):
    // opens the detail of that player.
    virtual void onRequestDetail(const platform::Value& details);
    // A gift (item id) from one player to another (-1 for everybody at the table).
    virtual void onShowGift(int32_t itemId, int32_t fromUser, int32_t toUser);
    // A gift reached `receiver` at this table: the seat keeps its picture and the name of
    // its giver at the table ("" when the giver is not seated here: his name is unknown).
    static void keepGift(Player& receiver, platform::ui::ImagePtr picture, std::string giver);
    // A seat's gift button: a notice that names who gave the gift the seat shows. An empty
    // seat, a seat without a gift and a gift whose giver the client never learned name
    // nobody, and show nothing.
    static void showGiftGiver(const Player* receiver);
    // A seated player's money changed away from the table's own results (a gift he bought,
    // a top-up, a transfer, a lottery win): his record takes the new amount and his seat
    // shows it, so that the next deal and the next result start from it.
    virtual void updateMoneyWithUserId(int32_t userId, int64_t money);
    // Draws the money of `player`'s record at his seat; nothing where the table draws no
    // money at its seats.
    virtual void showMoneyAtSeat(const Player& /*player*/) {}
    // What a player won or lost at this table (a bonus, a hand's or a match's result), the
    // one place it is counted: his seat's record takes it and, when he is the player, so does
    // myInfo (once where his seat's record is myInfo), so that the seat, the grid and the
    // profile say the same; then the seat shows it (showHandAmount). False when he has no
    // seat here: only the player's own amount is counted then, in myInfo.
    bool addHandAmount(int32_t userId, int64_t amount);
    // The seated player with that IDDB, or nullptr.
    std::shared_ptr<Player> playerWithId(int32_t userId) const;

    // The back button: while the player is in a game it asks first (action code 2,
    // whose OK leaves through the dialogs); otherwise it leaves at once.
    void doLeaveBoard() override;
    // Whether leaving the card table now asks first: while a hand the player holds cards in
    // is still played, or while he is ready and the table waits for him (the owner's mark
    // is no such wait: he starts the hand). After a hand, its cards still shown, he leaves
    // at once, as at every table.
    bool leavingAsks(bool holdsCards, bool ready) const;
    // Leaves at once: the leave request for this room and board, then the screen pops.
    virtual void progressLeaveBoard();
    // The player left this table (by any road): what still runs for it stops.
    virtual void onLeftTable() {}

    // ---- the answers of the dialogs at this table (main thread); a table whose game
    // has no such question does nothing
    // OK of the leave question: the leave request and what stops before the dialogs
    // pop the table. False when the table leaves by itself (the dialogs then neither
    // pop it nor clear the question's code).
    virtual bool leaveAfterQuestion();
    // The answer to the opponent's draw offer.
    virtual void answerDraw(bool /*accept*/) {}
    // The answer to the opponent's take-back request: 1 accepts, -1 refuses.
    virtual void answerUndo(int8_t /*answer*/) {}
    // The player gives the match up.
    virtual void resign() {}
    // The player passes the turn.
    virtual void skipTurn() {}
    // The viewer's question: 1 sits down, 0 goes on watching.
    virtual void answerViewerQuestion(int8_t /*choice*/) {}
    // The viewer's notice refused.
    virtual void refuseViewerNotice() {}
    // While this table is on top, an accepted invitation waits (a hand is in play).
    virtual bool holdsInvitations() const { return false; }

    // ---- the steps a shared sheet leaves to the table's game (main thread)
    // The time-limit picker's choice (0 slow, 1 average, 2 fast); a table without a
    // time limit ignores it.
    virtual void setLimitTime(int /*choice*/) {}
    // The stake sheet's amount: the stake request for this room and board.
    virtual void sendStake(int32_t amount);
    // An amount typed in the lottery-style entry while this table is the current one:
    // sent as the stake.
    virtual void sendTypedStake(int32_t amount) { sendStake(amount); }
    // The buy-in sheet's amount and its refusal; a table without a buy-in ignores both.
    virtual void buyStack(int32_t /*amount*/) {}
    virtual void denyBuyStack() {}
    // The most players the player-count sheet offers ("four"; "three" is one fewer and
    // solo is 2), and the game's own request that sets it; 0 where the sheet only
    // closes.
    virtual int8_t mostPlayers() const { return 0; }
    virtual void requestMaxPlayers(int8_t /*max*/) {}
    // The set-up sheet's rows: the table opens its stake, player-count or password
    // sheet; a table without the row does nothing.
    virtual void showCuoc() {}
    virtual void showSetupSoNguoi() {}
    virtual void showSetupPassword() {}
    // The move speed the speed sheet ticks and sets: 0 faster, 1 normal, 2 slower;
    // -1 (and nothing set) where the game has no speed.
    virtual int8_t customInterval() const { return -1; }
    virtual void setCustomInterval(int8_t /*interval*/) {}

    // The table's repeating update timer (the tables that animate a queue of actions
    // run one): starts it, replacing a running one, and stops it.
    void startUpdateAction(double interval);
    void stopUpdateAction();
    const std::shared_ptr<platform::Timer>& updateTimer() const { return updateTimer_; }
    // One tick of the update timer; nothing by default.
    virtual void updateAction() {}
    // The seat of `player` shows an amount just added to his money: the new money by
    // default; some tables ring as well, or draw the whole seat again.
    virtual void showHandAmount(const std::shared_ptr<Player>& player, int64_t /*amount*/) { showMoneyAtSeat(*player); }

    bool isTableScreen() const override { return true; }
    // The table's view keeps the sheets and panels laid over it in front (TableRootView).
    void loadView() override;
    // The screen's view, its title label and the invitation sheet.
    void viewDidLoad() override;
    // The title again in the language in force.
    void viewWillAppear(bool animated) override;

    const std::shared_ptr<platform::ui::Label>& lblTitle() const { return lblTitle_; }
    // The last player detail and gift shown (what a person would read on the table).
    const std::string& lastDetailText() const { return lastDetailText_; }
    const std::string& lastGiftText() const { return lastGiftText_; }

private:
    int8_t gameType_;
    std::string titleKey_;
    std::atomic<int8_t> roomId_{0};
    std::atomic<int8_t> boardId_{0};
    int32_t money_ = 0;
    int32_t ownerId_ = 0;
    bool isPlaying_ = false;
    bool isGameEnd_ = true;
    bool isInBoard_ = false;
    std::vector<std::shared_ptr<Player>> players_;
    std::shared_ptr<Player> currentControlPlayer_;
    std::shared_ptr<InviteView> inviteView_;
    std::shared_ptr<boardChat> chatView_;
    std::shared_ptr<menuGift> giftView_;
    std::shared_ptr<menuCuoc> betView_;
    std::shared_ptr<menuPlayer> playerMenu_;
    std::shared_ptr<platform::Timer> updateTimer_;
    std::shared_ptr<platform::ui::Label> lblTitle_;
    std::shared_ptr<platform::ui::Label> lblDetail_;
    std::string lastDetailText_;
    std::string lastGiftText_;
};

} // namespace kavo
