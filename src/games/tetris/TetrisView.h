#pragma once

#include "table/base/SeatedTableView.h"

namespace kavo {

// The Tetris table screen: two seats, the password button and the player-detail sheet
// that the detail reply slides in.
class TetrisView : public SeatedTableView {
public:
    TetrisView();

    // This game names its room and board roomID and boardID.
    int8_t roomID() const { return roomId(); }
    void setRoomID(int8_t roomId) { setRoomId(roomId); }
    int8_t boardID() const { return boardId(); }
    void setBoardID(int8_t boardId) { setBoardId(boardId); }

    // Its draw answer is the Caro table's request.
    void answerDraw(bool accept) override;
    void viewDidLoad() override;
    void onRequestDetail(const platform::Value& details) override { showPlayerDetail(details); }
};

} // namespace kavo
