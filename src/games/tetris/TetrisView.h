#pragma once

#include "social/PlayerDetailView.h"
#include "table/GameTableView.h"

#include <memory>

namespace kavo {

// The Tetris table screen.
class TetrisView : public GameTableView {
public:
    TetrisView();
    // The player-detail sheet, made with the view.
    const std::shared_ptr<PlayerDetailView>& playerDetailView() const { return playerDetailView_; }
    void viewDidLoad() override;
    // The reply's details fill the sheet, which slides in over the table.
    void onRequestDetail(const platform::Value& details) override;

    // This game names its room and board roomID and boardID.
    int8_t roomID() const { return roomId(); }
    void setRoomID(int8_t roomId) { setRoomId(roomId); }
    int8_t boardID() const { return boardId(); }
    void setBoardID(int8_t boardId) { setBoardId(boardId); }

private:
    std::shared_ptr<PlayerDetailView> playerDetailView_;
};

} // namespace kavo
