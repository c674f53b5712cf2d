// The Cao Rua table's texts: the seven chat bubbles with their queue, my own chat,
// buzzes and the flying money texts.
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "app/widgets/CustomLabel.h"
#include "games/caorua/CaoRuaView.h"
#include "platform/runtime/Log.h"
#include "platform/ui/Font.h"
#include "platform/ui/Screen.h"
#include "portal/GlobalService.h"
#include "table/base/TienLenPlayer.h"
#include "table/sheets/boardChat.h"

#include <algorithm>

namespace kavo {

namespace {

// Bubble 5 shows the buzzes.
constexpr int kBuzzBubble = 5;

std::string trimmed(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    const auto last = line.find_last_not_of(" \t\r\n");
    return line.substr(first, last - first + 1);
}

} // namespace

void CaoRuaView::setUpBubbles() {
    using Anchor = BubblePlace::Anchor;
    // Bubbles 0-5 are the seats'; the right seats' end 55 points from the right edge; the
    // seventh is the table's own line, in its middle.
    std::vector<SeatBubbles::Look> looks{
        {"friend_chat.png", false, Anchor::Origin, 3.0, 0}, {"me_chat1.png", true, Anchor::RightEdge, 3.0, 1},
        {"me_chat1.png", true, Anchor::RightEdge, 3.0, 2},  {"friend_chat.png", true, Anchor::Origin, 3.0, 3},
        {"friend_chat.png", true, Anchor::Origin, 4.0, 4},  {"friend_chat.png", true, Anchor::Origin, 3.0, 5},
        {"admin_chat.png", true, Anchor::Centre, 3.0, -1},
    };
    bubbles_.setUp(
        {chats_.begin(), chats_.end()}, std::move(looks),
        [this](double seconds, int b) { return later(seconds, [b](CaoRuaView& self) { self.showChatAtSeat(b); }); },
        [this] {
            std::vector<platform::ui::Rect> seats;
            for (int s = 0; s < kSeats; ++s)
                seats.push_back(SeatBubbles::seatRect(*seatViews_[size_t(s)].btnSeat, playerAtSeat(s).get()));
            return seats;
        });
    bubbles_.setStandPoints(55, Util::isPad() ? platform::ui::Point{512, 384} : platform::ui::Point{240, 140});
}

void CaoRuaView::showChatWithSeat(int bubble, const std::string& line) {
    if (bubble < 0 || bubble >= kBubbles) {
        platform::log("cao rua: a text for bubble " + std::to_string(bubble) + ", which the table lacks, dropped");
        return;
    }
    view();
    bubbles_.queue(bubble, line);
}

void CaoRuaView::hideChat(int bubble) {
    if (isViewLoaded()) bubbles_.hide(bubble);
}

void CaoRuaView::showChatAtSeat(int b) {
    if (isViewLoaded()) bubbles_.showNext(b);
}

bool CaoRuaView::onChatFromWithId(int32_t playerId, const std::string&, const std::string& line) {
    int found = -1;
    for (int s = kSeats - 1; s >= 0 && found < 0; --s) {
        auto player = playerAtSeat(s);
        if (player && player->IDDB() != -1 && player->IDDB() == playerId) found = s;
    }
    if (found < 0) return false;
    showChatWithSeat(found, line);
    // The name always comes from the table.
    if (playerId >= 1) chatView()->appendHistory(getPlayerNameFromID(playerId), line);
    return true;
}

void CaoRuaView::onChatFromMeWithText(const std::string& line) {
    const std::string text = trimmed(line);
    if (text.empty()) return;
    GlobalService::getInstance().chatToBoardWithRoom(roomId(), boardId(), text);
    if (auto me = UIController::myInfo()) onChatFromWithId(me->IDDB(), me->name(), text);
}

void CaoRuaView::onBuzzWithContent(const std::string& line) {
    Util::callRung();
    showChatWithSeat(kBuzzBubble, line);
}

// ---------------------------------------------------------------- money texts

void CaoRuaView::showFlyTextWirhFromId(int32_t playerId, int32_t amount) {
    view();
    const int seat = isMe(playerId) ? 0 : getSeatFromID(playerId);
    auto label = platform::ui::Label::make(Util::changeRectFromRect({0, 0, 160, 20}), Util::formatSignedNumber(amount));
    label->setAccessibilityIdentifier("flyText");
    label->setFont(platform::ui::Font::boldSystem(15 * Util::iPad()));
    label->setTextColor(platform::ui::Color::yellow());
    label->setTextAlignment(platform::ui::TextAlignment::Center);
    label->setBackgroundColor(platform::ui::Color::clear());
    const auto board = imgBoard_->center();
    const bool seated = seat >= 0;
    const auto avatar = seated ? seatViews_[size_t(seat)].avatar->center() : board;
    if (amount >= 0)
        label->setCenter(board);
    else if (seated)
        label->setCenter(avatar);
    moneyFlights_.fly(view(), label, amount >= 0 ? avatar : board);
}

} // namespace kavo
