#pragma once

#include "social/PlayerDetailView.h"
#include "table/GameTableView.h"

#include <memory>

namespace kavo {

// The Cao Rua table screen.
class CaoRuaView : public GameTableView {
public:
    CaoRuaView();
    // The mailbox button: a fresh messages screen is pushed.
    void clickMailBox();
    void viewDidLoad() override;
    // Made with the view and never shown.
    const std::shared_ptr<PlayerDetailView>& playerDetailView() const { return playerDetailView_; }

    // Cao Rua names its room and board with an underscore: _roomID, _boardID.
    int8_t roomID() const { return roomId(); }
    void setRoomID(int8_t roomId) { setRoomId(roomId); }
    int8_t boardID() const { return boardId(); }
    void setBoardID(int8_t boardId) { setBoardId(boardId); }

private:
    std::shared_ptr<PlayerDetailView> playerDetailView_;
};

} // namespace kavo
