// The Chinese chess table's layout, built in code in phone points (the tablet scales
// them, except the board and the turn bar, which have their own tablet frames), and
// the drawing of the two seats.
#include "app/EscapeTarget.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "app/widgets/ColoredProgressView.h"
#include "app/widgets/SubSeatView.h"
#include "games/cotuong/CCBoard.h"
#include "games/cotuong/CoTuongView.h"
#include "platform/ui/Font.h"
#include "table/base/ChessPlayer.h"

namespace kavo {

namespace ui = platform::ui;

namespace {

ui::Rect at(ui::Rect phone) {
    return Util::isPad() ? Util::changeRectFromRect(phone) : phone;
}

std::shared_ptr<ui::Button> button(const char* id, ui::Rect phone, const std::string& title = {}) {
    auto made = ui::Button::make(at(phone));
    made->setAccessibilityIdentifier(id);
    if (!title.empty()) made->setTitle(title);
    made->setTitleColor(ui::Color::white());
    made->titleLabel()->setFont(ui::Font::boldSystem(10 * Util::iPad()));
    made->titleLabel()->setAdjustsFontSizeToFitWidth(true);
    made->titleLabel()->setMinimumFontSize(7 * Util::iPad());
    return made;
}

std::shared_ptr<ui::ImageView> image(const char* id, ui::Rect phone, const char* picture = nullptr) {
    auto made = ui::ImageView::make(at(phone));
    made->setAccessibilityIdentifier(id);
    if (picture) made->setImage(Util::getImageWithName(picture));
    return made;
}

std::shared_ptr<ui::Label> label(const char* id, ui::Rect phone, double size = 11) {
    auto made = ui::Label::make(at(phone));
    made->setAccessibilityIdentifier(id);
    made->setFont(ui::Font::boldSystem(size * Util::iPad()));
    made->setTextColor(ui::Color::white());
    made->setBackgroundColor(ui::Color::clear());
    return made;
}

// Where the parts of a seat sit; seat 2 at the top left, seat 0 at the bottom left.
struct SeatFrames {
    ui::Rect clock, avatar, name, money, mark, present, timer, quota, bubble, friendMark;
};

const SeatFrames kSeat0{{8, 228, 64, 64},  {15, 235, 50, 50}, {76, 236, 74, 16}, {76, 254, 74, 14},  {52, 228, 18, 18},
                        {76, 272, 24, 24}, {8, 298, 16, 16},  {28, 298, 60, 16}, {70, 190, 100, 40}, {0, 0, 0, 0}};
const SeatFrames kSeat2{{8, 36, 64, 64},  {15, 43, 50, 50}, {76, 44, 74, 16},  {76, 62, 74, 14},  {52, 36, 18, 18},
                        {76, 80, 24, 24}, {8, 104, 16, 16}, {28, 104, 60, 16}, {70, 96, 100, 40}, {104, 82, 16, 16}};

} // namespace

void CoTuongView::viewDidLoad() {
    GameTableView::viewDidLoad();
    if (lblTitle()) lblTitle()->setHidden(true);
    buildLayout();
}

void CoTuongView::buildLayout() {
    auto& root = *view();
    root.setBackgroundColor(ui::Color::rgba(90, 50, 25));

    progressTimer_ = ColoredProgressView::make(Util::isPad() ? ui::Rect{350, 5, 510, 20} : ui::Rect{170, 0, 230, 10});
    progressTimer_->setAccessibilityIdentifier("progressTimer");
    progressTimer_->setTintColor(ui::Color::rgba(27, 175, 57));
    progressTimer_->setProgress(0);
    progressTimer_->setBackgroundColor(ui::Color::clear());
    progressTimer_->setHidden(true);
    root.addSubview(progressTimer_);

    board_ = CCBoard::make(Util::isPad() ? ui::Rect{325, 20, 570, 710} : ui::Rect{152, 10, 270, 300});
    board_->setAccessibilityIdentifier("board");
    board_->setImage(Util::getImageWithName(Util::isPad() ? "ct_board_ipad.png" : "ct_board.png"));
    board_->setTable(this);
    root.insertSubview(board_, std::min<size_t>(2, root.subviews().size()));

    buildSeat(0);
    buildSeat(2);
    buildPanels();

    chat_[2] = image("chat4", {200, 120, 200, 40});
    chat_[2]->setHidden(true);
    root.addSubview(chat_[2]);
    setUpBubbles();

    buildPlayerMenu();
    setShowAction(true);
    hideForActionPlayerMenu();
    btnViewing_->setTitle(text("KAVO_viewing"));
    btnViewing_->setHidden(true);
}

void CoTuongView::buildSeat(int seat) {
    auto& root = *view();
    const SeatFrames& frames = seat == 0 ? kSeat0 : kSeat2;
    const bool top = seat == 2;
    auto clock = SubSeatView::make(at(frames.clock));
    clock->setAccessibilityIdentifier(top ? "cpiSeat2" : "cpiSeat0");
    auto avatar = image(top ? "ava2" : "ava0", frames.avatar);
    auto seatButton = button(top ? "btnSeat2" : "btnSeat0", frames.avatar);
    seatButton->setTag(seat);
    seatButton->onTouchUpInside([this, seat] { clickShowActionPlayer(seat); });
    auto name = button(top ? "btnName2" : "btnName0", frames.name);
    auto money = button(top ? "btnMoney2" : "btnMoney0", frames.money);
    auto mark = image(top ? "ok2" : "ok0", frames.mark);
    auto present = button(top ? "btnPresent2" : "btnPresent0", frames.present);
    present->setImage(Util::getImageWithName(Player::kDefaultGiftImage));
    auto* gift = present.get();
    present->onTouchUpInside([this, gift] { clickGiftDetail(gift->tag()); });
    auto timer = image(top ? "imgTimer2" : "imgTimer0", frames.timer, "icon_timer.png");
    auto quota = label(top ? "lblQuotaTime2" : "lblQuotaTime0", frames.quota);
    auto bubble = image(top ? "chat2" : "chat0", frames.bubble);
    bubble->setHidden(true);
    for (const ui::ViewPtr& part :
         std::vector<ui::ViewPtr>{clock, avatar, seatButton, name, money, mark, present, timer, quota, bubble})
        root.addSubview(part);
    if (top) {
        imgIsFriend2_ = image("imgIsFriend2", frames.friendMark, "icon_friend.png");
        imgIsFriend2_->setHidden(true);
        root.addSubview(imgIsFriend2_);
        cpiSeat2_ = clock, ava2_ = avatar, btnSeat2_ = seatButton, btnName2_ = name, btnMoney2_ = money;
        ok2_ = mark, btnPresent2_ = present, imgTimer2_ = timer, lblQuotaTime2_ = quota, chat_[1] = bubble;
    } else {
        cpiSeat0_ = clock, ava0_ = avatar, btnSeat0_ = seatButton, btnName0_ = name, btnMoney0_ = money;
        ok0_ = mark, btnPresent0_ = present, imgTimer0_ = timer, lblQuotaTime0_ = quota, chat_[0] = bubble;
    }
}

void CoTuongView::buildPanels() {
    auto& root = *view();
    viewCuoc_ = ui::View::make(at({4, 128, 146, 92}));
    viewCuoc_->setAccessibilityIdentifier("viewCuoc");
    imgCuoc_ = image("imgCuoc", {0, 0, 146, 92});
    imgCuoc_->setBackgroundColor(ui::Color::rgba(0, 0, 0, 0.35));
    lblTitleCuoc_ = label("lblTitleCuoc", {6, 2, 136, 16});
    lblTitleCuoc_->setText(text("KAVO_mucCuocVanDau"));
    btnCuoc_ = button("btnCuoc", {6, 20, 136, 22});
    btnCuoc_->onTouchUpInside([this] { clickSetMoney(); });
    btnStart_ = button("btnStart", {23, 50, 100, 34}, text("KAVO_start"));
    btnStart_->setBackgroundImage(Util::getImageWithName("button_start.png"));
    btnStart_->onTouchUpInside([this] { clickStartGame(); });
    for (const ui::ViewPtr& part : std::vector<ui::ViewPtr>{imgCuoc_, lblTitleCuoc_, btnCuoc_, btnStart_})
        viewCuoc_->addSubview(part);
    root.addSubview(viewCuoc_);

    btnBet_ = button("btnBet", {228, 148, 24, 24});
    btnBet_->setImage(Util::getImageWithName("Nut_keo_tien_cuoc.png"));
    btnBet_->setEnabled(false);
    root.addSubview(btnBet_);

    struct Panel {
        std::shared_ptr<ui::View>* panel;
        std::shared_ptr<ui::Button>* action;
        const char* panelId;
        const char* buttonId;
        const char* titleKey;
        double y;
    };
    const Panel panels[] = {
        {&viewUndo_, &btnUndo_, "viewUndo", "btnUndo", "KAVO_undoMove", 60},
        {&viewDraw_, &btnDraw_, "viewDraw", "btnDraw", "KAVO_pleaseDraw", 125},
        {&viewLose_, &btnLose_, "viewLose", "btnLose", "KAVO_pleaseLose", 190},
    };
    for (const Panel& made : panels) {
        if (made.panel == &viewUndo_ && !hasUndoPanel()) continue;
        *made.panel = ui::View::make(at({424, made.y, 54, 58}));
        (*made.panel)->setAccessibilityIdentifier(made.panelId);
        auto icon = image("", {13, 0, 28, 28}, "ct_icon_action.png");
        auto title = label("", {0, 30, 54, 14}, 9);
        title->setText(text(made.titleKey));
        title->setTextAlignment(ui::TextAlignment::Center);
        *made.action = button(made.buttonId, {0, 0, 54, 58});
        (*made.panel)->addSubview(icon);
        (*made.panel)->addSubview(title);
        (*made.panel)->addSubview(*made.action);
        root.addSubview(*made.panel);
    }
    if (btnUndo_) btnUndo_->onTouchUpInside([this] { clickUndo(); });
    btnDraw_->onTouchUpInside([this] { clickDraw(); });
    btnLose_->onTouchUpInside([this] { clickLose(); });

    btnViewing_ = button("btnViewing", {424, 270, 54, 30});
    btnViewing_->onTouchUpInside([this] { clickSitDown(); });
    root.addSubview(btnViewing_);
    // Below the unread badge's corner (the top right 24 x 26).
    auto btnChat = button("btnChat", {424, 28, 54, 30}, text("KAVO_chat"));
    btnChat->onTouchUpInside([this] { clickChatBoardOfMe(); });
    root.addSubview(btnChat);
}

void CoTuongView::buildPlayerMenu() {
    // Escape closes the open menu as its backdrop does.
    viewPlayerMenu_ = closingView<ui::View>(at({0, 0, 480, 320}), "viewPlayerMenu", [this] {
        if (viewPlayerMenu_->isHidden()) return false;
        btnHideMenu_->sendActions(ui::ControlEvent::TouchUpInside);
        return true;
    });
    viewPlayerMenu_->setBackgroundColor(ui::Color::rgba(0, 0, 0, 0.4));
    btnHideMenu_ = button("btnHideMenu", {0, 0, 480, 320});
    btnHideMenu_->onTouchUpInside([this] {
        hideForActionPlayerMenu();
        viewPlayerMenu_->setAlpha(0);
    });
    viewPlayerMenu_->addSubview(btnHideMenu_);
    btnPlayerInfo0_ = button("btnPlayerInfo0", {160, 230, 90, 28}, text("KAVO_info"));
    btnPlayerInfo0_->onTouchUpInside([this] { clickShowPlayerInfo(); });
    btnPlayerPresent0_ = button("btnPlayerPresent0", {160, 262, 90, 28}, text("KAVO_present"));
    btnPlayerPresent0_->setTag(0);
    btnPlayerPresent0_->onTouchUpInside([this] { clickPresentForPlayer(0); });
    btnPlayerInfo1_ = button("btnPlayerInfo1", {160, 14, 90, 26}, text("KAVO_info"));
    btnPlayerInfo1_->onTouchUpInside([this] { clickShowPlayerInfo(); });
    btnPlayerPresent1_ = button("btnPlayerPresent1", {160, 44, 90, 26}, text("KAVO_present"));
    btnPlayerPresent1_->setTag(2);
    btnPlayerPresent1_->onTouchUpInside([this] { clickPresentForPlayer(2); });
    btnPlayerFriend1_ = button("btnPlayerFriend1", {160, 74, 90, 26}, text("KAVO_addFriend"));
    btnPlayerFriend1_->onTouchUpInside([this] { clickAddFriend(); });
    btnPlayerKick1_ = button("btnPlayerKick1", {160, 104, 90, 26}, text("KAVO_kick"));
    btnPlayerKick1_->onTouchUpInside([this] { clickKick(); });
    btnPlayerBuzz1_ = button("btnPlayerBuzz1", {160, 134, 90, 26}, text("KAVO_buzz"));
    btnPlayerBuzz1_->onTouchUpInside([this] { clickBuzz(); });
    btnPlayerInvite1_ = button("btnPlayerInvite1", {160, 164, 90, 26});
    btnPlayerInvite1_->setHidden(true);
    for (const auto& item : {btnPlayerInfo0_, btnPlayerPresent0_, btnPlayerInfo1_, btnPlayerPresent1_,
                             btnPlayerFriend1_, btnPlayerKick1_, btnPlayerBuzz1_, btnPlayerInvite1_}) {
        item->setBackgroundColor(ui::Color::rgba(40, 40, 60, 0.9));
        viewPlayerMenu_->addSubview(item);
    }
    view()->addSubview(viewPlayerMenu_);
}

// ---------------------------------------------------------------- seats

void CoTuongView::setSeatInfoWithSeat(int seat, const std::shared_ptr<ChessPlayer>& player) {
    if ((seat != 0 && seat != 2) || !player) return;
    unsetSeatInfoWithSeat(seat);
    const bool top = seat == 2;
    auto avatar = top ? ava2_ : ava0_;
    auto name = top ? btnName2_ : btnName0_;
    auto money = top ? btnMoney2_ : btnMoney0_;
    auto mark = top ? ok2_ : ok0_;
    auto present = top ? btnPresent2_ : btnPresent0_;
    Resources::getInstance().assignAvatarId(player->avatar(), avatar);
    name->setTitle(player->name());
    money->setTitle(Util::formatNumber(player->money()) + " Zel");
    for (const ui::ViewPtr& part : std::vector<ui::ViewPtr>{money, avatar, name, mark})
        part->setHidden(false);
    if (player->IDDB() == ownerID())
        mark->setImage(Util::getImageWithName("icon_chuban.png"));
    else if (player->isReady())
        mark->setImage(Util::getImageWithName("icon_ok.png"));
    else
        mark->setImage(nullptr);
    if (top) imgIsFriend2_->setHidden(!player->isFriend());
    present->setEnabled(player->IDDB() != -1);
    // The gift button tells whose gift it shows.
    present->setTag(player->IDDB());
}

void CoTuongView::showMoneyAtSeat(const Player& player) {
    if (player.IDDB() == -1 || !btnMoney0_ || !btnMoney2_) return;
    const auto bottom = bottomPlayer();
    const auto& money = bottom && bottom->IDDB() == player.IDDB() ? btnMoney0_ : btnMoney2_;
    money->setTitle(Util::formatNumber(player.money()) + " Zel");
}

void CoTuongView::unsetSeatInfoWithSeat(int seat) {
    if (seat != 0 && seat != 2) return;
    const bool top = seat == 2;
    auto avatar = top ? ava2_ : ava0_;
    auto name = top ? btnName2_ : btnName0_;
    auto money = top ? btnMoney2_ : btnMoney0_;
    auto mark = top ? ok2_ : ok0_;
    auto present = top ? btnPresent2_ : btnPresent0_;
    avatar->setImage(nullptr);
    name->setTitle("");
    money->setTitle("");
    mark->setImage(nullptr);
    for (const ui::ViewPtr& part : std::vector<ui::ViewPtr>{money, mark, avatar, name})
        part->setHidden(true);
    if (top) imgIsFriend2_->setHidden(true);
    present->setEnabled(false);
    present->setTag(-1);
}

void CoTuongView::setInvatingOnChair() {
    for (const auto& player : players_) {
        if (isMe(player->IDDB())) {
            btnSeat0_->setTitle("");
            btnSeat0_->setImage(nullptr);
        } else if (player->IDDB() == -1) {
            btnSeat2_->setImage(Util::getImageWithName("button_moichoi.png"));
            btnSeat2_->setTitle(text("KAVO_invite"));
        } else {
            btnSeat2_->setTitle("");
            btnSeat2_->setImage(nullptr);
        }
    }
}

void CoTuongView::setViewingButton(int kind) {
    if (kind == 1 || kind == 0) {
        btnViewing_->setHidden(false);
        btnViewing_->setTitle(text(kind == 1 ? "KAVO_sitdown" : "KAVO_viewing"));
    } else {
        btnViewing_->setHidden(true);
    }
}

} // namespace kavo
