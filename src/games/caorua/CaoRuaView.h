#pragma once

#include "table/GameTableView.h"
#include "table/PeekTable.h"

#include <memory>

namespace kavo {

// The Cao Rua table screen.
class menuAuto;
class menuSetup;

class CaoRuaView : public GameTableView, public PeekTable {
public:
    CaoRuaView();

    // Cao Rua names its room and board with an underscore: _roomID, _boardID.
    int8_t roomID() const { return roomId(); }
    void setRoomID(int8_t roomId) { setRoomId(roomId); }
    int8_t boardID() const { return boardId(); }
    void setBoardID(int8_t boardId) { setBoardId(boardId); }
    // The setters its show operation uses.
    void set_roomID(int8_t roomId) { setRoomId(roomId); }
    void set_boardID(int8_t boardId) { setBoardId(boardId); }
    void set_money(int32_t money) { setMoney(money); }
    void set_ownerID(int32_t ownerId) { setOwnerId(ownerId); }

    // Its own sheets: the players and password sheets opened from its setup menu.
    void showSetupSoNguoi();
    void showSetupPassword();
    const std::shared_ptr<menuSetup>& setupView() const { return setupView_; }
    const std::shared_ptr<menuAuto>& autoView() const { return autoView_; }

private:
    std::shared_ptr<menuSetup> setupView_;
    std::shared_ptr<menuAuto> autoView_;
};

} // namespace kavo
