#pragma once

#include "table/GameTableView.h"

namespace kavo {

// The Caro table screen.
class CaroView : public GameTableView {
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

    // The move speed chosen in the speed sheet: 0 faster, 1 normal, 2 slower.
    int8_t customInterval() const { return customInterval_; }
    void setCustomInterval(int8_t interval) { customInterval_ = interval; }

private:
    bool isLosing_ = false;
    int8_t customInterval_ = 1;
};

} // namespace kavo
