#pragma once

#include "table/base/SeatedTableView.h"

namespace kavo {

class CaroBoard;
class menuSpeed;

// The Caro table screen: two seats beside the 20 x 20 board, the speed and password
// buttons, and the player-detail sheet that the detail reply slides in.
class CaroView : public SeatedTableView {
public:
    CaroView();

    // This game names its room and board roomID and boardID.
    int8_t roomID() const { return roomId(); }
    void setRoomID(int8_t roomId) { setRoomId(roomId); }
    int8_t boardID() const { return boardId(); }
    void setBoardID(int8_t boardId) { setBoardId(boardId); }

    // The player resigned.
    bool isLosing() const { return isLosing_; }
    void setIsLosing(bool losing) { isLosing_ = losing; }
    void answerDraw(bool accept) override;
    void resign() override;

    // The move speed chosen in the speed sheet: 0 faster, 1 normal, 2 slower.
    int8_t customInterval() const override { return customInterval_; }
    void setCustomInterval(int8_t interval) override { customInterval_ = interval; }

    void viewDidLoad() override;
    // The Caro table has a leave button of its own and a background of its own.
    bool hidesBackButton() const override { return true; }
    std::string backgroundImage() const override { return "caro-bg.png"; }
    void onRequestDetail(const platform::Value& details) override { showPlayerDetail(details); }
    void clickSpeed();

    const std::shared_ptr<CaroBoard>& board() const { return board_; }
    const std::shared_ptr<menuSpeed>& speedView() const { return speedView_; }

private:
    bool isLosing_ = false;
    int8_t customInterval_ = 1;
    std::shared_ptr<CaroBoard> board_;
    std::shared_ptr<menuSpeed> speedView_;
};

} // namespace kavo
