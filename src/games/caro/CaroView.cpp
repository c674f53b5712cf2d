#include "games/caro/CaroView.h"

#include "app/Util.h"
#include "games/caro/CaroBoard.h"
#include "games/caro/CaroMessageHandler.h"
#include "games/caro/CaroService.h"
#include "table/sheets/menuMoiBan.h"

namespace kavo {

CaroView::CaroView() : SeatedTableView(CaroMessageHandler::kGameType, "CaroView", "KAVO_caro", 2) {}

void CaroView::viewDidLoad() {
    SeatedTableView::viewDidLoad();
    board_ = CaroBoard::make(Util::changeRectFromRect({10, 96, 300, 216}));
    board_->setAccessibilityIdentifier("caroBoard");
    view()->addSubview(board_);
    speedView_ = std::make_shared<menuSpeed>();
    addTableButton({320, 140, 72, 32}, "btnSpeed", "KAVO_speed", [this] { clickSpeed(); });
    addPasswordButton({398, 140, 72, 32});
    makePlayerDetailView();
    // The top bar hides its back button over this table, so the table leaves by its own.
    addTableButton({220, 44, 90, 32}, "btnLeave", "KAVO_leaveTable", [this] { doLeaveBoard(); });
}

void CaroView::clickSpeed() {
    openSheet(speedView_);
}

void CaroView::answerDraw(bool accept) {
    CaroService::getInstance().answerDrawWithRoomId(roomID(), boardID(), accept);
}

void CaroView::resign() {
    setIsLosing(true);
    CaroService::getInstance().requestLoseWithRoomId(roomID(), boardID());
}

} // namespace kavo
