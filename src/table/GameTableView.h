#pragma once

#include "app/KavoViewController.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Label.h"
#include "portal/model/Player.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class InviteView;

// What every table screen answers, whether it is one of the four-seat card tables
// (GameCardView) or one of the eight other tables: its game, room, board and stake,
// the seated players, the invitation sheet, the player detail, gifts, money updates
// and leaving the board. Each game's screen derives from it (through GameCardView
// for the card tables) and names its room and board the way its game does
// (roomId/boardId or roomID/boardID).
class GameTableView : public KavoViewController {
public:
    // `gameType` as on the wire; `titleKey` is the language key of the game's name,
    // shown as the screen's title.
    GameTableView(int8_t gameType, const std::string& nibName, std::string titleKey);
    ~GameTableView() override;

    int8_t gameType() const { return gameType_; }
    const std::string& titleKey() const { return titleKey_; }

    int8_t roomId() const { return roomId_; }
    void setRoomId(int8_t roomId) { roomId_ = roomId; }
    int8_t boardId() const { return boardId_; }
    void setBoardId(int8_t boardId) { boardId_ = boardId; }
    // True when this screen is the table of that room and board.
    bool isTable(int8_t roomId, int8_t boardId) const { return roomId == roomId_ && boardId == boardId_; }

    // The board's stake.
    int32_t money() const { return money_; }
    void setMoney(int32_t money) { money_ = money; }
    // The board owner's IDDB.
    int32_t ownerId() const { return ownerId_; }
    void setOwnerId(int32_t ownerId) { ownerId_ = ownerId; }
    const std::vector<std::shared_ptr<Player>>& players() const { return players_; }

    // Whether the signed-in player is in a running game here (leaving then asks first).
    bool isPlaying() const { return isPlaying_; }
    void setIsPlaying(bool playing) { isPlaying_ = playing; }

    // The table's invitation sheet (made with the screen).
    const std::shared_ptr<InviteView>& inviteView() const { return inviteView_; }

    // Seats the players of a join reply; the games lay out their seats on top of this.
    virtual void setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                      const std::vector<std::shared_ptr<Player>>& players);
    // Clears the table for a new board; the games add their own parts.
    virtual void resetView() {}

    // The player-detail reply (name, money, avatar, exp, wins, losses, draws, give-ups):
    // opens the detail of that player.
    virtual void onRequestDetail(const platform::Value& details);
    // A gift (item id) from one player to another (-1 for everybody at the table).
    virtual void onShowGift(int32_t itemId, int32_t fromUser, int32_t toUser);
    // A seated player's money changed.
    virtual void updateMoneyWithUserId(int32_t userId, int64_t money);
    // The seated player with that IDDB, or nullptr.
    std::shared_ptr<Player> playerWithId(int32_t userId) const;

    // The back button: while the player is in a game it asks first (action code 2,
    // whose OK leaves through the dialogs); otherwise it leaves at once.
    void doLeaveBoard() override;
    // Leaves at once: the leave request for this room and board, then the screen pops.
    virtual void progressLeaveBoard();

    // The table's repeating update timer (the tables that animate a queue of actions
    // run one): starts it, replacing a running one, and stops it.
    void startUpdateAction(double interval);
    void stopUpdateAction();
    const std::shared_ptr<platform::Timer>& updateTimer() const { return updateTimer_; }
    // One tick of the update timer; nothing by default.
    virtual void updateAction() {}

    bool isTableScreen() const override { return true; }
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
    int8_t roomId_ = 0;
    int8_t boardId_ = 0;
    int32_t money_ = 0;
    int32_t ownerId_ = 0;
    bool isPlaying_ = false;
    std::vector<std::shared_ptr<Player>> players_;
    std::shared_ptr<InviteView> inviteView_;
    std::shared_ptr<platform::Timer> updateTimer_;
    std::shared_ptr<platform::ui::Label> lblTitle_;
    std::shared_ptr<platform::ui::Label> lblDetail_;
    std::string lastDetailText_;
    std::string lastGiftText_;
};

} // namespace kavo
