#pragma once

#include "social/PlayerDetailView.h"
#include "table/GameTableView.h"

#include <memory>

namespace kavo {

// The Caro table screen.
class CaroView : public GameTableView {
public:
    CaroView();
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

    // The player resigned.
    bool isLosing() const { return isLosing_; }
    void setIsLosing(bool losing) { isLosing_ = losing; }

    // The move speed chosen in the speed sheet: 0 faster, 1 normal, 2 slower.
    int8_t customInterval() const { return customInterval_; }
    void setCustomInterval(int8_t interval) { customInterval_ = interval; }

private:
    std::shared_ptr<PlayerDetailView> playerDetailView_;
    bool isLosing_ = false;
    int8_t customInterval_ = 1;
};

} // namespace kavo
