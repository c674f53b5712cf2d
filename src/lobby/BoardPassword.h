#pragma once

#include "lobby/PasswordIntoBoard.h"

#include <cstdint>
#include <string>

namespace kavo {

// A second password sheet for a board known by its room and board numbers; the caller
// gives them before showing it. It has no placeholder text.
class BoardPassword : public PasswordIntoBoard {
public:
    BoardPassword() : PasswordIntoBoard("BoardPassword") {}

    void setRoomAndBoard(int8_t roomId, int8_t boardId);
    int8_t selectedRoomId() const { return roomId_; }
    int8_t selectedBoardIndex() const { return boardId_; }

    void doOK() override;

protected:
    std::string placeholderText() const override { return {}; }
    std::string appearAnimationName() const override { return "showBoardPass"; }

private:
    int8_t roomId_ = 0;
    int8_t boardId_ = 0;
};

} // namespace kavo
