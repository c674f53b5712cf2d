#pragma once

#include "table/base/SeatedTableView.h"

namespace kavo {

// The chess table screen: two seats.
class CoVuaView : public SeatedTableView {
public:
    CoVuaView();

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

private:
    bool isLosing_ = false;
};

} // namespace kavo
