#pragma once

#include "table/GameTableView.h"

namespace kavo {

// The Tetris table screen.
class TetrisView : public GameTableView {
public:
    TetrisView();

    // This game names its room and board roomID and boardID.
    int8_t roomID() const { return roomId(); }
    void setRoomID(int8_t roomId) { setRoomId(roomId); }
    int8_t boardID() const { return boardId(); }
    void setBoardID(int8_t boardId) { setBoardId(boardId); }
};

} // namespace kavo
