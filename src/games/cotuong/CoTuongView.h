#pragma once

#include "games/cotuong/ChessTableView.h"
#include "games/cotuong/CoTuongLogicHandler.h"
#include "games/cotuong/MoveRecords.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "table/base/GameTableView.h"
#include "table/base/SeatBubbles.h"

#include <array>
#include <optional>

namespace kavo {

class CCBoard;
class ChessPlayer;
class ColoredProgressView;
class CoTuongService;
class Piece;
class SubSeatView;
class Team;

// The Chinese chess table screen (game type 5). It owns the board and the two teams of
// pieces, two seats (0 at the bottom, 2 at the top), the start/ready button with the
// stake panel, the undo, draw and lose panels, the seat clocks, the chat bubbles and
// the player menu. A seated player sees himself at seat 0; a viewer sees the first
// record of `players` at seat 0 and the second at seat 2. The logic handler calls it
// on the main thread for every table event; main thread only.
class CoTuongView : public GameTableView, public ChessTableView {
public:
    CoTuongView();
    ~CoTuongView() override;

    // This game names its room and board roomID and boardID.
    int8_t roomID() const { return roomId(); }
    void setRoomID(int8_t roomId) { setRoomId(roomId); }
    int8_t boardID() const { return boardId(); }
    void setBoardID(int8_t boardId) { setBoardId(boardId); }
    int32_t dmoney() const { return money(); }
    void setDmoney(int32_t money) { GameTableView::setMoney(money); }
    int32_t ownerID() const { return ownerId(); }

    // ---- seats (main thread)
    // Fills the table from a join.
    void setPlayersWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                              const ChessPlayerList& players);
    // GameController's show operation seats through here.
    void setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                              const std::vector<std::shared_ptr<Player>>& players) override;
    void setAtSeat(int seat, const std::shared_ptr<ChessPlayer>& player);
    // The money title of the player's seat (bottom or top).
    void showMoneyAtSeat(const Player& player) override;
    virtual void playerLeaveWithId(int32_t id);
    void setOwnerWithNewOwner(int32_t id);
    void setReadyWithId(int32_t id, bool isReady);
    void resetReady();
    // The owner set a new stake.
    void setMoney(int32_t stake);
    // Nothing of the last table stays with the player: the chat sheet starts empty.
    void switchToMe();

    // ---- game flow
    void startWithMoveFirst(int32_t firstMover, int32_t interval);
    virtual void moveWithWhoMove(int32_t whoMove, int xs, int ys, int xd, int yd, int32_t nextMove, int32_t remainTime,
                                 int8_t newPieceType);
    void makeUndoWithNextUserId(int32_t nextUserId, const std::vector<PieceUndo>& undos);
    void removeButton(int8_t which);
    void getTableInfo(const CoTuongLogicHandler::TableInfo& info);
    // A game ended; the text goes to the centre bubble.
    virtual void closeBoardWithInfo(const std::optional<std::string>& info);
    void setKindOfStart(int kind);
    void resetView(bool newGame);
    void resetView() override { resetView(false); }

    // ---- buttons
    void clickStartGame();
    void doStartGame();
    void doReady();
    void clickSetMoney();
    void clickUndo();
    void clickDraw();
    void clickLose();

    // ---- chat, gifts, menu, leaving
    void showChatWithSeat(int slot, const std::string& text);
    void showChatAtSeat(int slot);
    void hideChat(int slot);
    void onChatFromWithId(int32_t id, const std::string& text);
    void onChatFromMeWithText(const std::string& text) override;
    void onBuzzWithContent(const std::string& text);
    void clickChatBoardOfMe();
    void clickShowActionPlayer(int tag);
    void hideForActionPlayerMenu();
    void clickShowPlayerInfo();
    void clickAddFriend();
    void clickKick();
    void clickBuzz();
    void clickPresentForPlayer(int tag);
    void clickSitDown();
    void clickGiftDetail(int tag);
    void onShowGift(int32_t itemId, int32_t fromUser, int32_t toUser) override;
    // The gift button of the player's seat shows the player's gift.
    void addGiftOnBoardWithPlayer(const std::shared_ptr<Player>& player);
    // My gift button and mark move up (y 220) or down (y 252), keeping their x.
    void upIconPresent();
    void downIconPresent();
    void doLeaveBoard() override;
    // The player left this table: the board's delayed steps and the seat clocks stop.
    void onLeftTable() override;

    // ---- fields
    const ChessPlayerList& chessPlayers() const { return players_; }
    std::shared_ptr<ChessPlayer> getPlayerWithID(int32_t id) const;
    std::string getPlayerNameFromID(int32_t id) const;
    int32_t indexOfMe() const { return indexOfMe_; }
    int32_t interval() const { return interval_; }
    bool isDrawing() const { return isDrawing_; }
    void setIsDrawing(bool drawing) { isDrawing_ = drawing; }
    bool isLosing() const { return isLosing_; }
    void setIsLosing(bool losing) { isLosing_ = losing; }
    // Accepting a draw offers one back, as the server expects at these tables.
    void answerDraw(bool accept) override;
    void answerUndo(int8_t answer) override;
    void resign() override;
    const std::string& firstMove() const { return firstMove_; }
    const std::string& currentTeam() const { return currentTeam_; }
    const std::shared_ptr<Team>& redTeam() const { return redTeam_; }
    const std::shared_ptr<Team>& blackTeam() const { return blackTeam_; }
    const std::shared_ptr<CCBoard>& board() const { return board_; }
    // The texts waiting for each bubble (mine, the opponent's, the board's), joined by ", ".
    std::vector<std::string> chatPlayers() const { return bubbles_.allWaiting(); }
    bool isNewAdd() const { return isNewAdd_; }
    int kindOfStart() const { return kindOfStart_; }
    const std::shared_ptr<platform::ui::View>& viewPlayerMenu() const { return viewPlayerMenu_; }
    const std::shared_ptr<platform::ui::Label>& lblQuotaTime0() const { return lblQuotaTime0_; }
    const std::shared_ptr<platform::ui::Label>& lblQuotaTime2() const { return lblQuotaTime2_; }
    const std::shared_ptr<SubSeatView>& cpiSeat0() const { return cpiSeat0_; }
    const std::shared_ptr<SubSeatView>& cpiSeat2() const { return cpiSeat2_; }
    const std::shared_ptr<platform::ui::Button>& btnStart() const { return btnStart_; }
    const std::shared_ptr<platform::ui::Button>& btnDraw() const { return btnDraw_; }
    const std::shared_ptr<platform::ui::Button>& btnLose() const { return btnLose_; }
    const std::shared_ptr<platform::ui::ImageView>& chatBubble(int slot) const { return chat_[slot]; }

    // ChessTableView
    int32_t turn() const override { return turn_; }
    const std::string& red() const override { return red_; }
    const std::string& black() const override { return black_; }
    bool isBottomRed() const override { return isBottomRed_; }
    std::shared_ptr<platform::ui::ImageView> imgBorderPiece() const override { return imgBorderPiece_; }
    std::shared_ptr<platform::ui::ImageView> imgStillMovedPiece() const override { return imgStillMovedPiece_; }
    void sendMove(int xs, int ys, int xd, int yd) override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

protected:
    // A table of another game on the same board (the hidden-piece game).
    CoTuongView(int8_t gameType, const char* nibName, const char* titleKey);

    // ---- what the hidden-piece table changes
    // The requests of this table.
    virtual CoTuongService& service() const;
    // The pieces of a new game and of a snapshot.
    virtual std::shared_ptr<Piece> makeStartPiece(int type, int x, int y, const std::shared_ptr<Team>& team);
    virtual std::shared_ptr<Piece> makeSnapshotPiece(const PieceServer& record, const std::shared_ptr<Team>& team);
    // The seat a player who sits down at place `index` of `players` is drawn at.
    virtual int seatOfNewcomer(size_t /*index*/) const { return 2; }
    // Getting ready takes the last game's pieces off the board.
    virtual bool readyClearsBoard() const { return true; }
    // The undo panel is built.
    virtual bool hasUndoPanel() const { return true; }
    // The move of a report (turn, clocks, the slide); returns the moved piece, nullptr
    // when no piece stood on the source square.
    std::shared_ptr<Piece> applyReportedMove(int xs, int ys, int xd, int yd, int32_t nextMove);
    // Seats.
    bool isSeated() const { return indexOfMe_ != -1; }
    bool isMe(int32_t id) const;
    void setSeatInfoWithSeat(int seat, const std::shared_ptr<ChessPlayer>& player);
    void unsetSeatInfoWithSeat(int seat);
    void setInvatingOnChair();
    void setViewingButton(int kind);
    void syncBasePlayers();
    ChessPlayerList& mutablePlayers() { return players_; }
    const std::shared_ptr<platform::ui::View>& viewCuoc() const { return viewCuoc_; }

private:
    // Layout in code (CoTuongViewLayout.cpp).
    void buildLayout();
    void buildSeat(int seat);
    void setUpBubbles();
    void buildPanels();
    void buildPlayerMenu();
    // The player drawn at the bottom: me when seated, else the first record.
    std::shared_ptr<ChessPlayer> bottomPlayer() const;
    // Game.
    void pushPiecesOnBoardWithFirstMove(int32_t firstMover);
    void makeTeams(int32_t firstMover);
    void setTimerWithSeat(int seat);
    void setTimerFor(int32_t mover);
    void setQuotaForPlayers();
    void setShowAction(bool hidden);
    void cleanShahowAllPieces();
    void moveBetButton(platform::ui::Point phonePoint);
    void moveBetOffTheBoard();
    std::string nameOf(int32_t id) const;
    // Menu.
    void animationForActionPlayerMenu(int tag);
    void liftIntoMenu(const platform::ui::ViewPtr& view);

    ChessPlayerList players_;
    int32_t indexOfMe_ = -1;
    int32_t turn_ = -1;
    int32_t interval_ = 0;
    bool isDrawing_ = false;
    bool isLosing_ = false;
    std::string red_;
    std::string black_;
    bool isBottomRed_ = true;
    std::string firstMove_;
    std::string currentTeam_;
    std::shared_ptr<Team> redTeam_;
    std::shared_ptr<Team> blackTeam_;
    int kindOfStart_ = 0;
    SeatBubbles bubbles_;
    bool isNewAdd_ = false;
    std::vector<platform::ui::ViewPtr> listViewOfPlayer_;

    std::shared_ptr<CCBoard> board_;
    std::shared_ptr<platform::ui::ImageView> imgBorderPiece_;
    std::shared_ptr<platform::ui::ImageView> imgStillMovedPiece_;
    std::shared_ptr<ColoredProgressView> progressTimer_;

    // Seat 0 then seat 2.
    std::shared_ptr<platform::ui::Button> btnName0_, btnName2_, btnMoney0_, btnMoney2_;
    std::shared_ptr<platform::ui::ImageView> ava0_, ava2_, ok0_, ok2_, imgTimer0_, imgTimer2_, imgIsFriend2_;
    std::shared_ptr<platform::ui::Button> btnSeat0_, btnSeat2_, btnPresent0_, btnPresent2_;
    std::shared_ptr<platform::ui::Label> lblQuotaTime0_, lblQuotaTime2_;
    std::shared_ptr<SubSeatView> cpiSeat0_, cpiSeat2_;
    // Bubbles of slots 0 (my seat), 1 (the opponent's) and 2 (the centre).
    std::array<std::shared_ptr<platform::ui::ImageView>, 3> chat_;

    std::shared_ptr<platform::ui::View> viewCuoc_;
    std::shared_ptr<platform::ui::Button> btnStart_, btnCuoc_, btnBet_;
    std::shared_ptr<platform::ui::ImageView> imgCuoc_;
    std::shared_ptr<platform::ui::Label> lblTitleCuoc_;
    std::shared_ptr<platform::ui::View> viewDraw_, viewLose_, viewUndo_;
    std::shared_ptr<platform::ui::Button> btnDraw_, btnLose_, btnUndo_, btnViewing_;

    std::shared_ptr<platform::ui::View> viewPlayerMenu_;
    std::shared_ptr<platform::ui::Button> btnPlayerInfo0_, btnPlayerPresent0_, btnPlayerInfo1_, btnPlayerPresent1_,
        btnPlayerFriend1_, btnPlayerKick1_, btnPlayerBuzz1_, btnPlayerInvite1_, btnHideMenu_;
};

} // namespace kavo
