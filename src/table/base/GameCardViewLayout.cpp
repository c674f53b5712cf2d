// The "TienLenView" layout of the card tables, built in code: phone coordinates,
// converted for the tablet by the tablet rule.
#include "app/EscapeTarget.h"
#include "app/Text.h"
#include "app/Util.h"
#include "platform/ui/Font.h"
#include "table/base/GameCardView.h"
#include "table/base/TableWidgets.h"
#include "table/registry/GameRecords.h"

#include <algorithm>

namespace kavo {

using platform::ui::Button;
using platform::ui::ImageView;
using platform::ui::Rect;

namespace {

// The top-left corner of each screen seat's block (seat frame 50 x 60, name and
// money under it): 0 at the bottom, 1 at the right, 2 at the top, 3 at the left.
// The top seat stands right of the event ticker's strip (the top left 240 x 30).
constexpr double kSeatOrigin[4][2] = {{8, 226}, {420, 92}, {246, 4}, {10, 92}};

} // namespace

void GameCardView::buildLayout() {
    auto& root = *view();
    imgBoard_ = addTableImage(root, phoneRect(70, 50, 340, 190), "imgBoard");
    imgBoard_->setBackgroundColor(platform::ui::Color::rgba(15, 110, 60));
    imgBoard_->layer().setCornerRadius(40 * Util::iPad());
    imgIconGame_ = addTableImage(root, phoneRect(205, 110, 69, 63), "imgIconGame");
    imgIconGame_->setAlpha(0.35);
    imgMoney_ = addTableImage(root, phoneRect(376, 6, 20, 20), "imgMoney", "Nut_keo_tien_cuoc.png");
    btnCuoc_ = addTableButton(root, phoneRect(398, 6, 78, 22), "btnCuoc");
    btnCuoc_->onTouchUpInside([this] { showCuoc(); });
    for (int s = 0; s < kSeats; ++s)
        buildSeat(s);
    btnLock1_ = addTableButton(root, phoneRect(430, 70, 30, 20), "btnLock1", "");
    btnLock1_->setTag(1);
    btnLock3_ = addTableButton(root, phoneRect(20, 70, 30, 20), "btnLock3", "");
    btnLock3_->setTag(3);
    for (const auto& lock : {btnLock1_, btnLock3_}) {
        Button* raw = lock.get();
        lock->setBackgroundImage(Util::getImageWithName("lock.png"));
        lock->onTouchUpInside([this, raw] { clickLockSeat(*raw); });
    }

    viewActions_ = platform::ui::View::make(phoneRect(160, 282, 316, 34));
    viewActions_->setAccessibilityIdentifier("viewActions");
    root.addSubview(viewActions_);
    btnStart_ = addTableButton(*viewActions_, phoneRect(236, 0, 80, 32), "btnStart");
    btnStart_->setBackgroundImage(Util::getImageWithName("t_img_btnDangKy_DangNhap.png"));
    btnStart_->onTouchUpInside([this] { clickStartGame(); });
    btnFire_ = addTableButton(*viewActions_, phoneRect(156, 0, 76, 32), "btnFire");
    btnSkip_ = addTableButton(*viewActions_, phoneRect(76, 0, 76, 32), "btnSkip");
    btnAutoSelected_ = addTableButton(*viewActions_, phoneRect(0, 0, 72, 32), "btnAutoSelected");
    btnAutoSelected_->onTouchUpInside([this] { clickAutomaticSelectedCards(); });
    for (const auto& b : {btnFire_, btnSkip_, btnAutoSelected_})
        b->setBackgroundImage(Util::getImageWithName("t_img_btnDangKy_DangNhap.png"));

    btnChat_ = addTableButton(root, phoneRect(70, 292, 40, 24), "btnChat", "");
    btnChat_->setBackgroundImage(Util::getImageWithName("tl_chat.png"));
    btnChat_->onTouchUpInside([this] { clickChatBoardOfMe(); });
    btnMail_ = addTableButton(root, phoneRect(114, 292, 40, 24), "clickMailBox", "");
    btnMail_->setBackgroundImage(Util::getImageWithName("tl_mail.png"));
    btnMail_->onTouchUpInside([this] { clickMailBox(); });

    // The bubbles: seats 0-3, then the system line in the middle.
    // Apart from each other, the seats' names and the hands: mine above my seat's right,
    // the right seat's on its left (its x follows the text), the top seat's under its name
    // on its right (by the seat that speaks, not by the empty left one), the left seat's on
    // its right.
    const Rect bubbles[5] = {phoneRect(72, 160, 100, 40), phoneRect(300, 112, 100, 40), phoneRect(310, 70, 100, 40),
                             phoneRect(64, 112, 100, 40), phoneRect(190, 120, 100, 40)};
    for (int slot = 0; slot < 5; ++slot) {
        chats_[size_t(slot)] = addTableImage(root, bubbles[slot], "chat" + std::to_string(slot));
        chats_[size_t(slot)]->setHidden(true);
    }

    // The Mau Binh areas: its screen fills them.
    for (const char* id : {"vBoardView", "vResultView", "vBackGroundView"}) {
        auto area = platform::ui::View::make(phoneRect(90, 60, 300, 180));
        area->setAccessibilityIdentifier(id);
        area->setHidden(true);
        root.addSubview(area);
        mauBinhAreas_.push_back(area);
    }
    for (int i = 0; i < 13; ++i) {
        mauBinhAreas_.push_back(
            addTableImage(root, phoneRect(90 + i * 22, 150, 30, 39), "imgCard" + std::to_string(i)));
        mauBinhAreas_.push_back(
            addTableImage(root, phoneRect(60 + i * 28, 120, 50, 65), "imgBigCard" + std::to_string(i)));
    }
    for (const char* id : {"cufChi1", "cufChi2", "cufChi3", "cufLung"}) {
        auto label = platform::ui::Label::make(phoneRect(100, 80, 100, 20));
        label->setAccessibilityIdentifier(id);
        root.addSubview(label);
        mauBinhAreas_.push_back(label);
    }
    for (const auto& area : mauBinhAreas_)
        area->setHidden(true);

    buildMenu();
    // My turn's bar runs in the middle: this arrow points at my seat meanwhile.
    const Rect mySeat = seatViews_[0].btnSeat->frame();
    imgMyTurn_ = addTableImage(root, {0, 0, 18 * Util::iPadX(), 26 * Util::iPadY()}, "imgMyTurn", "icon_next_me.png");
    imgMyTurn_->setCenter({mySeat.midX(), mySeat.minY() - 15 * Util::iPadY()});
    imgMyTurn_->setHidden(true);
    placeBadgeOnTheMailbox();
    switch (gameRecordOrNone(gameType()).seatPlacement) {
    case SeatPlacement::MySeatAboveTheHand:
        placeMySeatAboveTheHand();
        break;
    case SeatPlacement::BesideTheirCards:
        placeSeatsBesideTheirCards();
        break;
    case SeatPlacement::TopNameLeft:
        placeTopSeatNameLeft();
        break;
    case SeatPlacement::Standard:
        break;
    }
    placeTurnBar();
    setUpBubbles();
}

// The unread badge sits just above the mailbox button's right end: in the top right
// corner of the screen it would cover the stake.
void GameCardView::placeBadgeOnTheMailbox() {
    if (!imgViewCounterMessage() || !lblCounterMessage()) return;
    const double size = Util::isPad() ? 30 : 16;
    const Rect mail = btnMail_->frame();
    const Rect badge{mail.maxX() - size, mail.minY() - size, size, size};
    imgViewCounterMessage()->setFrame(badge);
    imgViewCounterMessage()->layer().setCornerRadius(size / 2);
    lblCounterMessage()->setFrame(badge);
    lblCounterMessage()->setFont(platform::ui::Font::boldSystem(Util::isPad() ? 18 : 10));
    lblCounterMessage()->setAdjustsFontSizeToFitWidth(true);
}

// My hand fills the bottom band from the left edge to the right (phone: from y 250, x 40;
// tablet: from y 558, x 70) and the other seats' face-down hands lie beside their seats, so
// my seat, my name and money and the action buttons stand above my hand, clear of the left
// seat's face-down cards, and the top seat's name and money stand beside it, clear of its
// face-down cards. The chat and mailbox buttons leave the band for the top right corner.
// The shown hands and the played cards fill the middle of the table at the end of a hand,
// so the bubbles stand around it: mine under my name (where my hand was; while I play, its
// lower edge lies on my cards' top 9 points, 8 on the tablet), the right seat's under its
// money (its x is fixed: while a hand is played it lies on the lowest backs of a full column;
// on the phone it ends left of the money and stands above the play buttons while they show),
// the top seat's right of its
// heart under the chat buttons, the left seat's above it under the table's title. The tablet's
// values differ: there the bubbles keep phone sizes and the hand's band starts higher.
void GameCardView::placeMySeatAboveTheHand() {
    auto& me = seatViews_[0];
    const double x = 8, y = 180;
    me.cpiSeat->setFrame(phoneRect(x - 4, y - 4, 58, 60));
    me.ava->setFrame(phoneRect(x + 3, y + 8, 44, 44));
    me.btnSeat->setFrame(phoneRect(x, y, 50, 52));
    me.btnName->setFrame(phoneRect(x + 54, y + 16, 100, 12));
    me.btnMoney->setFrame(phoneRect(x + 54, y + 28, 100, 12));
    me.btnPresent->setFrame(phoneRect(x + 54, y - 10, 24, 24));
    me.ok->setFrame(phoneRect(x + 36, y - 6, 18, 18));
    me.point->setFrame(phoneRect(x + 104, y - 6, 16, 16));
    me.position->setFrame(phoneRect(x + 80, y - 10, 24, 24));
    // The play buttons end where a lifted card of my hand begins, so its corner reads whole;
    // Start, shown only between hands, stands lower, under the right seat's bubble.
    const bool pad = Util::isPad();
    viewActions_->setFrame(phoneRect(164, pad ? 187 : 203, 316, 34));
    view()->addSubview(btnStart_);
    btnStart_->setFrame(phoneRect(400, pad ? 197.5 : 218, 80, 32));
    btnChat_->setFrame(phoneRect(396, 46, 38, 22));
    btnMail_->setFrame(phoneRect(438, 46, 38, 22));
    placeBadgeOnTheMailbox();
    chats_[0]->setFrame(phoneRect(62, 219, 100, 40));
    chats_[1]->setFrame(phoneRect(300, pad ? 180.5 : 178, 100, 40));
    // On the phone the right seat's bubble ends left of that seat's money: while the play
    // buttons show under it, it stands on their top edge, beside the money.
    if (!pad) rightBubbleMargin_ = 480 - 410;
    chats_[2]->setFrame(phoneRect(326, 67, 100, 40));
    chats_[3]->setFrame(phoneRect(66, 48, 100, 40));
    imgMyTurn_->setFrame(phoneRect(x + 132, y - 12, 18, 26));
    placeTopSeatNameBeside();
}

// The top seat's cards lie just under it: its name and money stand beside it instead.
void GameCardView::placeTopSeatNameBeside() {
    auto& top = seatViews_[2];
    const double topX = kSeatOrigin[2][0], topY = kSeatOrigin[2][1];
    top.btnName->setFrame(phoneRect(topX + 54, topY + 12, 74, 14));
    top.btnMoney->setFrame(phoneRect(topX + 54, topY + 26, 74, 14));
    top.btnPresent->setFrame(phoneRect(topX + 54, topY + 42, 24, 24));
    if (top.isFriend) top.isFriend->setFrame(phoneRect(topX - 18, topY + 2, 14, 14));
    top.point->setFrame(phoneRect(topX + 82, topY + 46, 16, 16));
}

// At Mau Binh the top seat's cards lie right of it and the front hand's places below it:
// its name and money stand on its left, under the table's title, clear of the result's
// rising text that ends just left of the seat. My heart steps down from the ace count
// that the result writes beside my seat.
void GameCardView::placeTopSeatNameLeft() {
    auto& top = seatViews_[2];
    const double topX = kSeatOrigin[2][0], topY = kSeatOrigin[2][1];
    top.btnName->setFrame(phoneRect(topX - 120, topY + 44, 74, 14));
    top.btnMoney->setFrame(phoneRect(topX - 120, topY + 58, 74, 14));
    const double meX = kSeatOrigin[0][0], meY = kSeatOrigin[0][1];
    seatViews_[0].btnPresent->setFrame(phoneRect(meX + 52, meY + 40, 24, 24));
}

// The two dealt cards of the right seat end just left of its name: the name and money
// keep to the window's right edge, the top seat's beside it. The bubbles keep off every
// seat's cards: mine above my hand's left end, the left seat's right of that seat's cards,
// the top seat's right of its heart (which steps under the seat, so that a long line
// still ends inside the window), the right seat's under its cards.
void GameCardView::placeSeatsBesideTheirCards() {
    placeTopSeatNameBeside();
    auto& right = seatViews_[1];
    const double rightX = kSeatOrigin[1][0], rightY = kSeatOrigin[1][1];
    right.btnName->setFrame(phoneRect(rightX - 2, rightY + 60, 62, 14));
    right.btnMoney->setFrame(phoneRect(rightX - 2, rightY + 74, 62, 14));
    chats_[0]->setFrame(phoneRect(90, 198, 100, 40));
    chats_[1]->setFrame(phoneRect(300, 202, 100, 40));
    chats_[2]->setFrame(phoneRect(317, 48, 100, 40));
    seatViews_[2].btnPresent->setFrame(phoneRect(276, 66, 24, 24));
    chats_[3]->setFrame(phoneRect(138, 148, 100, 40));
}

void GameCardView::buildSeat(int s) {
    auto& root = *view();
    auto& seat = seatViews_[size_t(s)];
    const double x = kSeatOrigin[s][0];
    const double y = kSeatOrigin[s][1];
    const std::string n = std::to_string(s);
    seat.cpiSeat = SubSeatView::make(phoneRect(x - 4, y - 4, 58, 68));
    seat.cpiSeat->setAccessibilityIdentifier("cpiSeat" + n);
    root.addSubview(seat.cpiSeat);
    seat.ava = addTableImage(root, phoneRect(x + 3, y + 8, 44, 44), "ava" + n);
    seat.btnSeat = addTableButton(root, phoneRect(x, y, 50, 60), "btnSeat" + n);
    seat.btnSeat->setTag(s);
    Button* rawSeat = seat.btnSeat.get();
    seat.btnSeat->onTouchUpInside([this, rawSeat] { clickShowActionPlayer(*rawSeat); });
    // Inside the window: the bottom left seat's name would start left of it.
    const double under = std::max(0.0, x - 10);
    seat.btnName = addTableButton(root, phoneRect(under, y + 60, 70, 14), "btnName" + n);
    seat.btnName->setUserInteractionEnabled(false);
    seat.btnMoney = addTableButton(root, phoneRect(under, y + 74, 70, 14), "btnMoney" + n);
    seat.btnMoney->setTitleColor(platform::ui::Color::rgba(255, 220, 0));
    seat.btnMoney->setUserInteractionEnabled(false);
    // The marks beside a seat stand on its right, except at the right seat, whose right
    // is the window's edge: there they lie on the seat's own corners, the heart on the right
    // one, clear of the bubble on its left (whose text runs 30 points past the bubble's end).
    const bool right = s == 1;
    if (s > 0)
        seat.isFriend = addTableImage(root, right ? phoneRect(x + 2, y + 2, 14, 14) : phoneRect(x + 52, y + 2, 14, 14),
                                      "imgIsFriend" + n, "img_greenBird.png");
    seat.btnPresent = addTableButton(
        root, right ? phoneRect(x + 36, y + 36, 24, 24) : phoneRect(x + 52, y + 32, 24, 24), "btnPresent" + n);
    seat.btnPresent->setTag(s);
    seat.btnPresent->setImage(Util::getImageWithName(Player::kDefaultGiftImage));
    seat.btnPresent->onTouchUpInside([this, s] { clickGiftDetail(s); });
    seat.ok = addTableImage(root, phoneRect(x + 36, y - 6, 18, 18), "ok" + n);
    // A deal's points are drawn 20 points under this badge: above the seat, clear of its
    // name, money and the chat buttons under it; at the top seat, right of its heart.
    seat.point =
        addTableImage(root, s == 2 ? phoneRect(x + 80, y + 20, 16, 16) : phoneRect(x, y - 42, 16, 16), "imgPoint" + n);
    seat.point->setHidden(true);
    seat.position = addTableImage(root, right ? phoneRect(x, y + 36, 24, 24) : phoneRect(x + 56, y - 6, 24, 24),
                                  "imgPosition" + std::to_string(s + 1));
}

void GameCardView::buildMenu() {
    // Escape closes the open menu as its backdrop does.
    viewPlayerMenu_ = closingView<platform::ui::View>(phoneRect(0, 0, 480, 320), "viewPlayerMenu", [this] {
        if (viewPlayerMenu_->isHidden()) return false;
        hideForActionPlayerMenu();
        return true;
    });
    viewPlayerMenu_->setBackgroundColor(platform::ui::Color::rgba(0, 0, 0, 0.55));
    view()->addSubview(viewPlayerMenu_);
    auto backdrop = addTableButton(*viewPlayerMenu_, phoneRect(0, 0, 480, 320), "clickHideActionPlayer");
    backdrop->onTouchUpInside([this] { hideForActionPlayerMenu(); });
    // Each seat's buttons stand beside it, towards the middle of the table; the top seat's
    // under its heart (lowest at y 90), which stays above the menu with its name and money.
    const double menuOrigin[4][2] = {{90, 180}, {300, 70}, {280, 92}, {90, 70}};
    for (int s = 0; s < kSeats; ++s) {
        auto& seat = seatViews_[size_t(s)];
        const std::string n = std::to_string(s);
        const double x = menuOrigin[s][0];
        const double y = menuOrigin[s][1];
        auto menuButton = [&](double row, const std::string& id, const std::string& title) {
            auto made = addTableButton(*viewPlayerMenu_, phoneRect(x, y + row * 26, 110, 24), id, title);
            made->setBackgroundImage(Util::getImageWithName("button_chuc_nang1.png"));
            return made;
        };
        seat.btnPlayerInfo = menuButton(0, "btnPlayerInfo" + n, text("KAVO_showInfo"));
        seat.btnPlayerInfo->onTouchUpInside([this] { clickShowPlayerInfo(); });
        seat.btnPlayerPresent = menuButton(1, "btnPlayerPresent" + n, text("KAVO_presentGift"));
        seat.btnPlayerPresent->setTag(s);
        seat.btnPlayerPresent->onTouchUpInside([this, s] { clickPresentForPlayer(s); });
        if (s == 0) continue;
        seat.btnPlayerFriend = menuButton(2, "btnPlayerFriend" + n, text("KAVO_addFriend"));
        Button* rawFriend = seat.btnPlayerFriend.get();
        seat.btnPlayerFriend->onTouchUpInside([this, rawFriend] { clickAddFriend(*rawFriend); });
        seat.btnPlayerKick = menuButton(3, "btnPlayerKick" + n, text("KAVO_kick"));
        Button* rawKick = seat.btnPlayerKick.get();
        seat.btnPlayerKick->onTouchUpInside([this, rawKick] { clickKick(*rawKick); });
        seat.btnPlayerBuzz = menuButton(4, "btnPlayerBuzz" + n, "BUZZ");
        seat.btnPlayerBuzz->onTouchUpInside([this] { clickBuzz(); });
    }
}

void GameCardView::placeTurnBar() {
    progressTimer_ = ColoredProgressView::make(Util::isPad() ? Rect{654, 490, 240, 16} : Rect{300, 210, 120, 8});
    progressTimer_->setAccessibilityIdentifier("progressTimer");
    progressTimer_->setTintColor(platform::ui::Color::rgba(27, 175, 57));
    progressTimer_->setHidden(true);
    progressTimer_->setProgress(0);
    progressTimer_->setBackgroundColor(platform::ui::Color::clear());
    const auto size = progressTimer_->frame().size;
    switch (gameRecordOrNone(gameType()).turnBar) {
    case TurnBarPlace::BoardCentre:
        progressTimer_->setCenter(imgBoard_->center());
        break;
    case TurnBarPlace::OnTheFireButton:
        viewActions_->addSubview(progressTimer_);
        progressTimer_->setCenter(btnFire_->center());
        return;
    case TurnBarPlace::AboveTheButtons:
        // Above the buttons' left end: the right seat's bubble stands above their right end.
        progressTimer_->setCenter(
            {viewActions_->frame().x() + size.width / 2, viewActions_->frame().y() - size.height});
        break;
    case TurnBarPlace::AboveTheButtonsAtTheRight:
        progressTimer_->setCenter(
            {(Util::isPad() ? 1024 : 480) - size.width / 2, viewActions_->frame().y() - size.height / 2});
        break;
    case TurnBarPlace::Unplaced:
        break;
    }
    view()->addSubview(progressTimer_);
}

} // namespace kavo
