#pragma once

#include "app/KavoViewController.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "portal/model/Board.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

class CreateNewBoard;
class IntoBoard;
class PasswordIntoBoard;
class UICustomSlider;

// The board list of the chosen game: a strip of game icons to switch games, a stake
// slider with a search, the list of boards (stake, limit, state, players) and the buttons
// to go to a board by number, create one and play now. Tapping a board joins it; the
// table the server then opens is pushed over this screen.
class BoardView : public KavoViewController,
                  public platform::ui::TableViewDataSource,
                  public platform::ui::TableViewDelegate,
                  public platform::ui::TextFieldDelegate {
public:
    BoardView();
    ~BoardView() override;

    // ---- program-wide state
    // The seat class of the installed game: 0 two-player games and Tetris, 1 four-seat
    // card games, 2 Bau Cua and Cao Rua, 3 Poker.
    static int type();
    static void setType(int type);
    // The board-tap counter (0 or 1): 1 from a tap on a board until the join settles.
    static int numOfTouchUp();
    static void setnumOfTouchUp(int count);

    // The game type of strip position `index` (0..13); 0 for any other index.
    static int getGameIdWithButtonIndex(int index);
    // The most seats a new board of the current game (or of `gameType`) may have.
    static int getMaxPlayerNumber();
    static int getMaxPlayerNumber(int gameType);
    // The limit column's text: "%dM" above 999999, else "%dK".
    static std::string limitText(int32_t maxBetMoney);
    // Whether the board counts as full for the seat class `seatType`.
    static bool isBoardFull(const Board& board, int seatType);

    // ---- the list (the board-list reply sets these, then reloadBoardList)
    void setMaxBetValue(int32_t value) { maxBetValue_ = value; }
    int32_t maxBetValue() const { return maxBetValue_; }
    void setBoardList(std::vector<std::shared_ptr<Board>> boards) {
        boardList_ = std::move(boards);
        listArrived_ = true;
    }
    const std::vector<std::shared_ptr<Board>>& boardList() const { return boardList_; }
    // Shows the list, caps the slider at maxBetValue and removes the list's spinner.
    void reloadBoardList();

    // ---- actions
    void clickIntoBoard();   // the go-to-board sheet
    void createNewBoard();   // the create sheet
    void doFindAutoBoard();  // play now
    void searchBoard();      // the list of the stake in tfBetMoney
    void sortByBoardMoney(); // ascending, then descending, ...
    void sortByPlayerNumber();
    // A strip button: highlights it and asks the server for that game.
    // The strip's look of one game's button: highlighted and orange, or plain and white.
    void markGameButton(int gameType, bool selected);
    void selectGame(platform::ui::Button& button);
    // Joins a board, or says why not (full, too dear), or asks for its password.
    void doJoinBoard(const std::shared_ptr<Board>& board);
    // The server answered the join, Play now or create (a table, a notice, a refusal):
    // their waits end, so no bound tells the player the server never answered.
    void endRequestWaits();

    // ---- parts, for the logic handler and tests
    std::shared_ptr<platform::ui::Button> getGameButton(int gameType) const;
    std::shared_ptr<platform::ui::Label> getGameButtonLabel(int gameType) const;
    const std::vector<std::shared_ptr<platform::ui::Button>>& buttonArray() const { return buttonArray_; }
    const std::shared_ptr<platform::ui::TableView>& tblBoardList() const { return tblBoardList_; }
    const platform::ui::ViewPtr& viewList() const { return viewList_; }
    const std::shared_ptr<platform::ui::TextField>& tfBetMoney() const { return tfBetMoney_; }
    const std::shared_ptr<UICustomSlider>& sldBetMoney() const { return sldBetMoney_; }
    const std::shared_ptr<platform::ui::ScrollView>& scrollViewGame() const { return scrollViewGame_; }
    const std::shared_ptr<platform::ui::Button>& btnSortByBoardMoney() const { return btnSortByBoardMoney_; }
    const std::shared_ptr<platform::ui::Button>& btnSortByPlayerNumber() const { return btnSortByPlayerNumber_; }
    const std::shared_ptr<IntoBoard>& intoBoard() const { return intoBoard_; }
    const std::shared_ptr<PasswordIntoBoard>& passIntoBoard() const { return passIntoBoard_; }
    const std::shared_ptr<CreateNewBoard>& createNewBoardSheet() const { return createNewBoard_; }

    // ---- life cycle
    void viewDidLoad() override;
    // The board list's own header is taller: the back button sits lower.
    platform::ui::Point backButtonCentre() const override { return {16, 24}; }
    void viewWillAppear(bool animated) override;
    // A table pushed over the list answered the join: its wait ends here, so no
    // "could not connect" notice follows the player to the table.
    void viewWillDisappear(bool animated) override;
    void viewDidAppear(bool animated) override;

    // ---- table
    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;
    double heightForRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    void didSelectRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    // ---- text field
    bool shouldReturn(platform::ui::TextField& field) override;

private:
    void setUIScreen();
    void setUIScreenForGameList();
    void loadGameIcon(int gameType, int position, bool current);
    // Back to step 0 with "0" in the amount field.
    void resetBetMoney();
    void requestBoardList(int64_t money);
    void sortBy(platform::ui::Button& button, bool byMoney);
    void autoHideLoadingOnView();

    platform::ui::ViewPtr viewTopBar_;
    std::shared_ptr<platform::ui::Button> btnGotoBoard_, btnCreateBoard_, btnPlayNow_, btnChat_, btnSearch_;
    std::shared_ptr<platform::ui::Label> lblGotoBoard_, lblCreateBoard_, lblPlayNow_;
    std::shared_ptr<platform::ui::ScrollView> scrollViewGame_;
    platform::ui::ViewPtr viewList_;
    std::shared_ptr<platform::ui::Label> lblBetMoney_, lblSearchBoard_;
    std::shared_ptr<platform::ui::TextField> tfBetMoney_;
    std::shared_ptr<platform::ui::TableView> tblBoardList_;
    std::shared_ptr<platform::ui::Label> lblLock_, lblBoardMoney_, lblLimitMoney_, lblStatus_, lblPlayerNumber_;
    std::shared_ptr<platform::ui::Button> btnSortByBoardMoney_, btnSortByPlayerNumber_;
    std::shared_ptr<UICustomSlider> sldBetMoney_;

    std::vector<std::shared_ptr<platform::ui::Button>> buttonArray_;
    std::vector<std::shared_ptr<platform::ui::Label>> buttonLabelArray_;
    std::vector<std::shared_ptr<Board>> boardList_;
    // The first list can arrive before the screen is loaded; it then starts with no wait.
    bool listArrived_ = false;
    int32_t maxBetValue_ = 0;
    bool isOddAdded_ = false;

    std::shared_ptr<IntoBoard> intoBoard_;
    std::shared_ptr<PasswordIntoBoard> passIntoBoard_;
    std::shared_ptr<CreateNewBoard> createNewBoard_;
    std::shared_ptr<platform::Timer> joinTimer_;
};

} // namespace kavo
