// The card tables' time-driven displays: the turn clock, the chat bubbles and the
// money texts. Every timer holds the screen weakly: a freed screen is never touched.
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "app/widgets/CustomLabel.h"
#include "platform/ui/Font.h"
#include "platform/ui/Screen.h"
#include "portal/GlobalService.h"
#include "table/base/GameCardView.h"
#include "table/base/TableWidgets.h"
#include "table/registry/GameRecords.h"
#include "table/sheets/boardChat.h"

namespace kavo {

namespace {

bool isMe(int32_t id) {
    auto me = UIController::myInfo();
    return me && me->IDDB() == id;
}

} // namespace

std::shared_ptr<platform::Timer> GameCardView::oneShot(double seconds, std::function<void(GameCardView&)> action) {
    std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
    return platform::Timer::scheduled(seconds, false, [weak, action] {
        if (auto self = std::dynamic_pointer_cast<GameCardView>(weak.lock())) action(*self);
    });
}

// ---------------------------------------------------------------- turn clock

void GameCardView::stopTurnClock() {
    if (limitTimer_) limitTimer_->invalidate();
    limitTimer_.reset();
    if (playerTimeTimer_) playerTimeTimer_->invalidate();
    playerTimeTimer_.reset();
    if (!isViewLoaded()) return;
    progressTimer_->setHidden(true);
    imgMyTurn_->setHidden(true);
    for (int s = 1; s < kSeats; ++s)
        seatViews_[size_t(s)].cpiSeat->stop();
}

void GameCardView::setTimerWithSeat(int s) {
    view();
    if (limitTimer_) limitTimer_->invalidate();
    limitTimer_.reset();
    progressTimer_->setHidden(true);
    imgMyTurn_->setHidden(true);
    for (int other = 1; other < kSeats; ++other)
        seatViews_[size_t(other)].cpiSeat->stop();
    const bool inTurns = gameRecordOrNone(gameType()).playsInTurns;
    if (inTurns) btnAutoSelected_->setHidden(true);
    if (s == 0) {
        // A turn without a length shows no bar: nothing to divide by.
        if (interval_ <= 0 || hasLeft_) return;
        progressTimer_->setTintColor(kTurnBarFull);
        progressTimer_->setHidden(false);
        imgMyTurn_->setHidden(false);
        view()->bringSubviewToFront(imgMyTurn_.get());
        limitProgress_ = float(dieTime_) / float(interval_);
        progressTimer_->setProgress(limitProgress_);
        const float step = 0.1f / float(interval_);
        std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
        limitTimer_ = platform::Timer::scheduled(0.1, true, [weak, step] {
            if (auto self = std::dynamic_pointer_cast<GameCardView>(weak.lock())) self->repeatTimer(step);
        });
        if (inTurns) btnAutoSelected_->setHidden(false);
    } else if (s >= 1 && s < kSeats) {
        seatViews_[size_t(s)].cpiSeat->startWithSeconds(float(interval_), float(dieTime_));
    }
}

void GameCardView::repeatTimer(float step) {
    limitProgress_ -= step;
    showTurnTimeLeft(*progressTimer_, limitProgress_);
    if (limitProgress_ <= 0) {
        if (limitTimer_) limitTimer_->invalidate();
        limitTimer_.reset();
    }
}

void GameCardView::schedulePlayerTime() {
    if (playerTimeTimer_) playerTimeTimer_->invalidate();
    if (hasLeft_) return;
    playerTimeTimer_ = oneShot(1.0, [](GameCardView& self) { self.showPlayerTime(); });
}

void GameCardView::showPlayerTime() {
    if (hasLeft_) return;
    if (dieTime_ <= 0) {
        if (playerTimeTimer_) playerTimeTimer_->invalidate();
        playerTimeTimer_.reset();
        return;
    }
    --dieTime_;
    if (dieTime_ > 0) {
        schedulePlayerTime();
        return;
    }
    if (isMe(currentPlayer_)) onMyTurnTimedOut();
    currentPlayer_ = -1;
    if (playerTimeTimer_) playerTimeTimer_->invalidate();
    playerTimeTimer_.reset();
    if (isViewLoaded()) progressTimer_->setHidden(true);
    if (isViewLoaded()) imgMyTurn_->setHidden(true);
}

// ---------------------------------------------------------------- chat bubbles

void GameCardView::setUpBubbles() {
    using Anchor = BubblePlace::Anchor;
    // Seats 0-3 speak in their own bubbles; the fifth is the table's own line, in the middle.
    std::vector<SeatBubbles::Look> looks{{"friend_chat.png", false, Anchor::Origin, 3.0, 0},
                                         {"me_chat1.png", true, Anchor::RightEdge, 3.0, 1},
                                         {"friend_chat.png", true, Anchor::Origin, 3.0, 2},
                                         {"friend_chat.png", true, Anchor::Origin, 3.0, 3},
                                         {"admin_chat.png", true, Anchor::Centre, 4.0, -1}};
    bubbles_.setUp(
        {chats_.begin(), chats_.end()}, std::move(looks),
        [this](double seconds, int slot) {
            return oneShot(seconds, [slot](GameCardView& self) { self.showChatAtSeat(slot); });
        },
        [this] {
            std::vector<platform::ui::Rect> seats;
            for (int s = 0; s < kSeats; ++s)
                seats.push_back(SeatBubbles::seatRect(*seatViews_[size_t(s)].btnSeat, playerAtSeat(s).get()));
            return seats;
        });
    bubbles_.setStandPoints(rightBubbleMargin_,
                            Util::isPad() ? platform::ui::Point{512, 384} : platform::ui::Point{240, 140});
}

void GameCardView::showChatWithSeat(int slot, const std::string& line) {
    if (slot < 0 || slot > 4) slot = 4;
    view();
    bubbles_.queue(slot, line);
}

void GameCardView::hideChat(int slot) {
    if (isViewLoaded()) bubbles_.hide(slot);
}

void GameCardView::withdrawWaitingLine(int slot, const std::string& line) {
    bubbles_.withdraw(slot, line);
}

void GameCardView::showChatAtSeat(int slot) {
    if (isViewLoaded()) bubbles_.showNext(slot);
}

bool GameCardView::onChatFromWithId(int32_t userId, const std::string&, const std::string& line) {
    int seat = -1;
    for (int s = kSeats - 1; s >= 0 && seat < 0; --s)
        if (getIDAtSeat(s) == userId && playerAtSeat(s)) seat = s;
    if (seat < 0) return false;
    showChatWithSeat(seat, line);
    if (userId >= 1) chatView()->appendHistory(getPlayerNameFromID(userId), line);
    return true;
}

void GameCardView::onChatFromMeWithText(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return;
    const auto last = line.find_last_not_of(" \t\r\n");
    const std::string trimmed = line.substr(first, last - first + 1);
    GlobalService::getInstance().chatToBoardWithRoom(roomId(), boardId(), trimmed);
    auto me = UIController::myInfo();
    if (me) onChatFromWithId(me->IDDB(), me->name(), trimmed);
}

void GameCardView::onBuzzWithContent(const std::string& line) {
    Util::callRung();
    showChatWithSeat(4, line);
}

std::string GameCardView::getPlayerNameFromID(int32_t playerId) const {
    for (const auto& player : players())
        if (player->IDDB() == playerId) return player->name();
    return "";
}

// ---------------------------------------------------------------- money texts

platform::ui::Point GameCardView::seatPoint(int seat, bool gift) const {
    const bool pad = Util::isPad();
    // Money texts and flying gifts start from nearly the same places.
    static constexpr double kPhone[4][2] = {{270, 260}, {440, 145}, {270, 50}, {40, 145}};
    static constexpr double kGiftPhone[4][2] = {{240, 250}, {440, 140}, {240, 40}, {40, 140}};
    static constexpr double kPad[4][2] = {{500, 670}, {940, 360}, {500, 40}, {30, 360}};
    if (seat < 0 || seat >= kSeats) return pad ? platform::ui::Point{512, 370} : platform::ui::Point{240, 135};
    if (pad) return {kPad[seat][0], kPad[seat][1]};
    return gift ? platform::ui::Point{kGiftPhone[seat][0], kGiftPhone[seat][1]}
                : platform::ui::Point{kPhone[seat][0], kPhone[seat][1]};
}

void GameCardView::showFlyTextWirhFromId(int32_t playerId, int32_t amount) {
    view();
    int seat = isMe(playerId) ? 0 : getSeatFromID(playerId);
    if (seat < 0) seat = 4;
    auto label = platform::ui::Label::make({0, 0, 160, 20}, Util::formatSignedNumber(amount));
    label->setAccessibilityIdentifier("flyText");
    label->setFont(platform::ui::Font::boldSystem(15));
    label->setTextColor(platform::ui::Color::rgba(255, 255, 0));
    label->setTextAlignment(platform::ui::TextAlignment::Center);
    label->setBackgroundColor(platform::ui::Color::clear());
    const auto centre = seatPoint(4, false);
    const auto place = seatPoint(seat, false);
    if (seat == 4) {
        if (amount >= 0) label->setCenter(centre);
    } else {
        label->setCenter(amount >= 0 ? centre : place);
    }
    moneyFlights_.fly(view(), label, amount >= 0 && seat != 4 ? place : centre);
}

} // namespace kavo
