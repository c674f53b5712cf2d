#include "table/sheets/menuPlayer.h"

#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/foundation/UserDefaults.h"
#include "table/base/ActionController.h"
#include "table/base/GameTableView.h"
#include "table/registry/GameController.h"
#include "table/registry/TableRules.h"

#include <initializer_list>
#include <utility>

namespace kavo {

namespace {

// The open table when the sheet serves its game, else nullptr.
std::shared_ptr<GameTableView> servedTable() {
    auto table = ActionController::currentTable();
    return table && tableRule(table->gameType())->inPlayerMenu ? table : nullptr;
}

bool isMe(const std::shared_ptr<Player>& player) {
    auto me = UIController::myInfo();
    return me && player && me->IDDB() == player->IDDB();
}

} // namespace

menuPlayer::menuPlayer() : CustomUIActionSheetViewController("menuPlayer") {}

void menuPlayer::viewDidLoad() {
    auto panel = platform::ui::View::make(Util::isPad() ? platform::ui::Rect{0, 0, 1024, 200}
                                                        : platform::ui::Rect{0, 0, 480, 200});
    panel->setAccessibilityIdentifier("actionSheetView");
    view()->addSubview(panel);
    setActionSheetView(panel);
    imgBg_ = platform::ui::ImageView::make({(panel->frame().width() - 240) / 2, 0, 240, 200});
    imgBg_->setAccessibilityIdentifier("imgBg");
    panel->addSubview(imgBg_);
    auto make = [&](const char* id, void (menuPlayer::*action)()) {
        auto button = platform::ui::Button::make({0, 0, 200, 30});
        button->setAccessibilityIdentifier(id);
        button->onTouchUpInside([this, action] { (this->*action)(); });
        panel->addSubview(button);
        return button;
    };
    btnKick_ = make("btnKick", &menuPlayer::doKick);
    btnViewInfo_ = make("btnViewInfo", &menuPlayer::doViewInfo);
    btnAddFriend_ = make("btnAddFriend", &menuPlayer::doAddFriend);
    btnPresentGift_ = make("btnPresentGift", &menuPlayer::doPresentGift);
    btnBuzz_ = make("btnBuzz", &menuPlayer::doBuzz);
}

void menuPlayer::viewWillAppear(bool animated) {
    view();
    const auto& game = gameRecordOrNone(GameController::gameType());
    imgBg_->setImage(Util::getImageWithName(std::string(game.sheetBackground)));
    const auto item = Util::getImageWithName(std::string(game.sheetButton));
    for (const auto& button : {btnKick_, btnViewInfo_, btnAddFriend_, btnPresentGift_, btnBuzz_}) {
        button->setBackgroundImage(item);
        button->setHidden(false);
    }
    btnKick_->setTitle(text("KAVO_kick"));
    btnViewInfo_->setTitle(text("KAVO_showInfo"));
    btnAddFriend_->setTitle(text("KAVO_addFriend"));
    btnPresentGift_->setTitle(text("KAVO_presentGift"));
    btnBuzz_->setTitle("BUZZ");
    layOut();
    CustomUIActionSheetViewController::viewWillAppear(animated);
}

void menuPlayer::layOut() {
    auto table = servedTable();
    if (!table) return;
    const auto chosen = table->CurrentControlPlayer();
    auto me = UIController::myInfo();
    const bool standsUp = gameRecordOrNone(table->gameType()).seatMenuStandsUp;
    const bool owner = me && me->IDDB() == table->ownerId();
    using Row = std::pair<std::shared_ptr<platform::ui::Button>, double>;
    std::vector<Row> shown;
    double height = 0;
    if (standsUp && isMe(chosen)) {
        btnKick_->setTitle(text("KAVO_standUp"));
        height = 135;
        shown = {{btnKick_, 40}, {btnViewInfo_, 75}, {btnPresentGift_, 110}};
    } else if (isMe(chosen)) {
        height = 100;
        shown = {{btnViewInfo_, 40}, {btnPresentGift_, 75}};
    } else if (owner && !table->isMatchRunning()) {
        height = 200;
        shown = {{btnKick_, 40}, {btnViewInfo_, 75}, {btnAddFriend_, 110}, {btnPresentGift_, 145}, {btnBuzz_, 180}};
    } else {
        height = 170;
        shown = {{btnViewInfo_, 40}, {btnAddFriend_, 75}, {btnPresentGift_, 110}, {btnBuzz_, 145}};
    }
    auto frame = imgBg_->frame();
    frame.size = {240, height};
    imgBg_->setFrame(frame);
    const double centreX = Util::isPad() ? 512 : 240;
    for (const auto& button : {btnKick_, btnViewInfo_, btnAddFriend_, btnPresentGift_, btnBuzz_})
        button->setHidden(true);
    for (const auto& [button, y] : shown) {
        button->setHidden(false);
        button->setCenter({centreX, y});
    }
}

void menuPlayer::doKick() {
    // The stand-up button only closes.
    if (btnKick_->titleForState(platform::ui::ControlState::Normal) == text("KAVO_kick") && servedTable())
        ActionController::doKick();
    slideOut();
}

void menuPlayer::doViewInfo() {
    if (servedTable()) ActionController::doViewInfo();
    slideOut();
}

void menuPlayer::doAddFriend() {
    if (servedTable())
        ActionController::doAddFriend();
    else
        platform::UserDefaults::standard().removeObjectForKey("REQUEST_ADD_FRIEND");
    slideOut();
}

void menuPlayer::doPresentGift() {
    slideOut();
    if (servedTable()) ActionController::doPresentGift();
}

void menuPlayer::doBuzz() {
    if (servedTable()) ActionController::doBuzz();
    slideOut();
}

} // namespace kavo
