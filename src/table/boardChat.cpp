#include "table/boardChat.h"

#include "app/Resources.h"
#include "app/Util.h"
#include "portal/GlobalService.h"
#include "table/GameController.h"
#include "table/GameTableView.h"
#include "table/SheetPanel.h"

namespace kavo {

const std::shared_ptr<boardChat>& boardChat::getInstance() {
    static const std::shared_ptr<boardChat> instance = std::make_shared<boardChat>();
    return instance;
}

boardChat::boardChat() : CustomUIActionSheetViewController("boardChat") {}

void boardChat::viewDidLoad() {
    auto& res = Resources::getInstance();
    auto panel = SheetPanel::build(*view(), {60, 80, 360, 110}, res.textWithKey("KAVO_chat"));
    setActionSheetView(panel);
    txfChat_ = CustomTextField::make(Util::changeRectFromRect({10, 36, 260, 30}));
    txfChat_->setAccessibilityIdentifier("txfChat");
    txfChat_->setParentViewController(this);
    panel->addSubview(txfChat_);
    SheetPanel::addButton(*panel, {280, 36, 70, 30}, "btnSend_Clicked", res.textWithKey("KAVO_send"),
                          [this] { textFieldDoneEditting(*txfChat_); });
}

void boardChat::endEditing(CustomTextField& sender) {
    textFieldDoneEditting(sender);
}

void boardChat::textFieldDoneEditting(CustomTextField& sender) {
    const std::string line = sender.text();
    if (!line.empty()) {
        if (auto table = GameController::topTableView())
            GlobalService::getInstance().chatToBoardWithRoom(table->roomId(), table->boardId(), line);
    }
    sender.setText("");
    slideOut();
}

} // namespace kavo
