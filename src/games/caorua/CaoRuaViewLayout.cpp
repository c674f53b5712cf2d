// The "CaoRuaView" layout, built in code: phone coordinates (480 x 320), converted for
// the tablet by the tablet rule. Six seats (0 me at the bottom, 1-2 at the right, 3 at
// the top, 4-5 at the left), seven bubbles, the table, the dealer's pile, the start,
// peek, bet and chat buttons, and the seat menu's layer.
#include "app/EscapeTarget.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/caorua/CaoRuaView.h"
#include "platform/ui/Font.h"
#include "table/base/MailBoxButton.h"
#include "table/base/TableWidgets.h"
#include "table/cards/BCCardView.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/boardChat.h"

#include <algorithm>

namespace kavo {

using platform::ui::Button;
using platform::ui::ImageView;
using platform::ui::Rect;

namespace {

// The top-left corner of each seat's block: avatar 44 x 44, name and money under it.
constexpr double kSeatOrigin[CaoRuaView::kSeats][2] = {{110, 236}, {424, 168}, {424, 62},
                                                       {150, 2},   {10, 62},   {10, 168}};
// The top-left corner of each seat's five menu buttons (none at my seat).
constexpr double kMenuOrigin[CaoRuaView::kSeats][2] = {{0, 0}, {284, 110}, {284, 40}, {214, 30}, {66, 40}, {66, 110}};
// Where each bubble stands before it sizes itself to its text. At the end of a hand all
// six speak at once, so each keeps off every seat's cards and buttons: mine and the upper
// left seat's in the strip between the top seat's cards and mine (mine ends left of the
// lower right seat's cards even with a long line), the right seats' above
// and below their cards (their bubbles end 55 from the right edge), the top seat's right
// of its heart, the lower left seat's under its money.
constexpr double kBubbleOrigin[CaoRuaView::kBubbles][2] = {{196, 174}, {0, 246}, {0, 50},   {228, 14},
                                                           {142, 139}, {0, 246}, {190, 120}};

} // namespace

void CaoRuaView::viewDidLoad() {
    GameTableView::viewDidLoad();
    if (playerTimeTimer_) playerTimeTimer_->invalidate();
    playerTimeTimer_.reset();
    buildLayout();
    progressTimer_ = ColoredProgressView::make(Util::isPad() ? Rect{760, 730, 240, 20} : Rect{340, 300, 120, 8});
    progressTimer_->setAccessibilityIdentifier("progressTimer");
    progressTimer_->setTintColor(platform::ui::Color::rgba(27, 175, 57));
    progressTimer_->setHidden(true);
    progressTimer_->setProgress(0);
    progressTimer_->setBackgroundColor(platform::ui::Color::clear());
    view()->addSubview(progressTimer_);
    // My hand's bar runs at the bottom right: this arrow points at my seat meanwhile.
    imgMyTurn_ = addTableImage(*view(), phoneRect(kSeatOrigin[0][0] + 15, kSeatOrigin[0][1] - 30, 18, 26), "imgMyTurn",
                               "icon_next_me.png");
    imgMyTurn_->setHidden(true);
    screenHeight_ = UIController::screenHeight() - (Util::isPad() ? 40 : 32);
    playerDetailView_ = std::make_shared<PlayerDetailView>();
    btnNanBai_->setTitle(text("KAVO_nanBai"));
    auto me = UIController::myInfo();
    // The cover rests 20 points below the table's centre between peeks.
    peek_.load(me ? me->IDDB() : 0, {imgBoard_->center().x, imgBoard_->center().y + 20}, view()->frame(),
               [this](const std::shared_ptr<BCCardView>& card) { backPointbaiNan(card); });
    imgViewDealerCards_->setHidden(true);
    hideActionPlayerMenu();
}

void CaoRuaView::viewWillAppear(bool animated) {
    GameTableView::viewWillAppear(animated);
    const auto& title = KavoOnlineAppDelegate::getInstance().lblWindowTitle();
    if (!title) return;
    title->setText(text("KAVO_CaoRua") + ", " + text("KAVO_room") + " " + std::to_string(roomID()) + ", " +
                   text("KAVO_board") + " " + std::to_string(boardID()));
    title->setFont(platform::ui::Font::boldSystem(10 * Util::iPad()));
}

void CaoRuaView::viewWillDisappear(bool animated) {
    chatView()->historyChat().clear();
    inviteView()->slideOut();
    if (const auto& title = KavoOnlineAppDelegate::getInstance().lblWindowTitle())
        title->setFont(platform::ui::Font::boldSystem(15 * Util::iPad()));
    GameTableView::viewWillDisappear(animated);
}

void CaoRuaView::buildLayout() {
    auto& root = *view();
    imgBoard_ = addTableImage(root, phoneRect(70, 50, 340, 190), "imgBoard");
    imgBoard_->setBackgroundColor(platform::ui::Color::rgba(15, 110, 60));
    imgBoard_->layer().setCornerRadius(60 * Util::iPad());
    imgViewDealerCards_ = addTableImage(root, phoneRect(222, 96, 36, 44), "imgViewDealerCards");
    btnDatCuoc_ = addTableButton(root, phoneRect(384, 4, 92, 22), "btnDatCuoc");
    btnDatCuoc_->setBackgroundImage(Util::getImageWithName("button_red_small.png"));
    btnDatCuoc_->onTouchUpInside([this] { showCuoc(); });
    for (int s = 0; s < kSeats; ++s)
        buildSeat(s);
    // Start and peek are never shown together; they take the bottom row right of my
    // money, leaving the right edge to the lower right seat's bubble.
    btnStart_ = addTableButton(root, phoneRect(250, 288, 88, 28), "btnStart");
    btnStart_->setBackgroundImage(Util::getImageWithName("t_img_btnDangKy_DangNhap.png"));
    btnStart_->onTouchUpInside([this] { clickStartGame(); });
    btnStart_->setHidden(true);
    btnNanBai_ = addTableButton(root, phoneRect(250, 288, 88, 28), "btnNanBai");
    btnNanBai_->setBackgroundImage(Util::getImageWithName("t_img_btnDangKy_DangNhap.png"));
    btnNanBai_->onTouchUpInside([this] { clickNanBai(); });
    btnNanBai_->setHidden(true);
    btnChat_ = addTableButton(root, phoneRect(6, 290, 44, 24), "btnChat");
    btnChat_->setBackgroundImage(Util::getImageWithName("tl_chat.png"));
    btnChat_->onTouchUpInside([this] { clickChatBoardOfMe(); });
    btnConfig_ = addTableButton(root, phoneRect(54, 290, 44, 24), "clickConfig", "...");
    btnConfig_->setBackgroundImage(Util::getImageWithName("button_red_small.png"));
    btnConfig_->onTouchUpInside([this] { clickConfig(); });
    btnMail_ = MailBoxButton::add(root, [this] { clickMailBox(); });
    // The unread badge just left of the mailbox button: in the top right corner it would
    // cover the stake.
    if (imgViewCounterMessage() && lblCounterMessage()) {
        const double size = Util::isPad() ? 30 : 16;
        const Rect mail = btnMail_->frame();
        const Rect badge{mail.minX() - size - 2, mail.midY() - size / 2, size, size};
        imgViewCounterMessage()->setFrame(badge);
        imgViewCounterMessage()->layer().setCornerRadius(size / 2);
        lblCounterMessage()->setFrame(badge);
        lblCounterMessage()->setFont(platform::ui::Font::boldSystem(Util::isPad() ? 18 : 10));
    }
    buildBubbles();
    buildMenu();
}

void CaoRuaView::buildSeat(int s) {
    auto& root = *view();
    auto& seat = seatViews_[size_t(s)];
    const double x = kSeatOrigin[s][0];
    const double y = kSeatOrigin[s][1];
    const std::string n = s == 0 ? "ME" : std::to_string(s);
    seat.avatar = addTableImage(root, phoneRect(x + 3, y + 3, 44, 44), "imgViewAvatarPlayer" + n);
    seat.btnSeat = addTableButton(root, phoneRect(x, y, 50, 50), "btnSeat" + n);
    seat.btnSeat->setTag(s);
    Button* rawSeat = seat.btnSeat.get();
    seat.btnSeat->onTouchUpInside([this, rawSeat] { clickShowActionPlayer(*rawSeat); });
    // The name and money boxes stand under the seat, inside the window at its right edge.
    const double under = std::min(x - 10, 480.0 - 70);
    seat.btnUsername = addTableButton(root, phoneRect(under, y + 50, 70, 14), "btnUsername" + n);
    seat.btnUsername->setUserInteractionEnabled(false);
    seat.btnMoney = addTableButton(root, phoneRect(under, y + 64, 70, 14), "btnMoney" + n);
    seat.btnMoney->setTitleColor(platform::ui::Color::rgba(255, 220, 0));
    seat.btnMoney->setUserInteractionEnabled(false);
    // The seats at the right edge keep their present icon on the inner side.
    const double presentX = x > 400 ? x - 26 : x + 50;
    seat.btnPresent =
        addTableButton(root, phoneRect(presentX, y + 26, 24, 24), s == 0 ? "btnPresentME" : "btnPresentPlayer" + n);
    seat.btnPresent->setTag(s);
    seat.btnPresent->setImage(Util::getImageWithName(Player::kDefaultGiftImage));
    Button* rawPresent = seat.btnPresent.get();
    seat.btnPresent->onTouchUpInside([this, rawPresent] { clickGiftDetail(*rawPresent); });
    seat.ok = addTableImage(root, phoneRect(x + 36, y - 6, 18, 18), "ok" + std::to_string(s));
}

void CaoRuaView::buildBubbles() {
    for (int b = 0; b < kBubbles; ++b) {
        // On the tablet bubbles keep phone sizes, so the upper right seat's one fits in the
        // gap under that seat's money, clear of its cards, where the phone has no room.
        const double y = b == 2 && Util::isPad() ? 142 : kBubbleOrigin[b][1];
        chats_[size_t(b)] =
            addTableImage(*view(), phoneRect(kBubbleOrigin[b][0], y, 100, 40), "chat" + std::to_string(b));
        chats_[size_t(b)]->setHidden(true);
    }
    setUpBubbles();
}

void CaoRuaView::buildMenu() {
    // Escape closes the open menu as its backdrop does.
    viewPlayerMenu_ = closingView<platform::ui::View>(phoneRect(0, 0, 480, 320), "viewPlayerMenu", [this] {
        if (viewPlayerMenu_->isHidden()) return false;
        hideActionPlayerMenu();
        return true;
    });
    viewPlayerMenu_->setBackgroundColor(platform::ui::Color::rgba(0, 0, 0, 0.55));
    view()->addSubview(viewPlayerMenu_);
    auto backdrop = addTableButton(*viewPlayerMenu_, phoneRect(0, 0, 480, 320), "clickHideActionPlayer");
    backdrop->onTouchUpInside([this] { hideActionPlayerMenu(); });
    for (int s = 1; s < kSeats; ++s) {
        auto& seat = seatViews_[size_t(s)];
        const std::string n = std::to_string(s);
        const double x = kMenuOrigin[s][0];
        const double y = kMenuOrigin[s][1];
        auto menuButton = [&](double row, const std::string& id, const std::string& title) {
            auto made = addTableButton(*viewPlayerMenu_, phoneRect(x, y + row * 26, 110, 24), id, title);
            made->setBackgroundImage(Util::getImageWithName("button_chuc_nang1.png"));
            made->setTag(s);
            return made;
        };
        seat.btnInfo = menuButton(0, "btnInfoPlayer" + n, text("KAVO_showInfo"));
        seat.btnInfo->onTouchUpInside([this] { clickShowPlayerInfo(); });
        seat.btnPresentGift = menuButton(1, "btnPresentGiftPlayer" + n, text("KAVO_presentGift"));
        Button* rawGift = seat.btnPresentGift.get();
        seat.btnPresentGift->onTouchUpInside([this, rawGift] { clickPresentForPlayer(*rawGift); });
        seat.btnAdd = menuButton(2, "btnAddPlayer" + n, text("KAVO_addFriend"));
        Button* rawAdd = seat.btnAdd.get();
        seat.btnAdd->onTouchUpInside([this, rawAdd] { clickAddFriend(*rawAdd); });
        seat.btnKick = menuButton(3, "btnKickPlayer" + n, text("KAVO_kick"));
        Button* rawKick = seat.btnKick.get();
        seat.btnKick->onTouchUpInside([this, rawKick] { clickKick(*rawKick); });
        seat.btnBuzz = menuButton(4, "btnBuzzPlayer" + n, "BUZZ");
        seat.btnBuzz->onTouchUpInside([this] { clickBuzz(); });
    }
}

} // namespace kavo
