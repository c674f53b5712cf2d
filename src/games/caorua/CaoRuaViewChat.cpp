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

struct BubbleLook {
    const char* picture;
    bool centred;
    BubblePlace::Anchor anchor; // by the right edge: 55 points from it; the middle: the table's
    double nextLook;
};

constexpr BubbleLook kLooks[CaoRuaView::kBubbles] = {
    {"friend_chat.png", false, BubblePlace::Anchor::Origin, 3.0},
    {"me_chat1.png", true, BubblePlace::Anchor::RightEdge, 3.0},
    {"me_chat1.png", true, BubblePlace::Anchor::RightEdge, 3.0},
    {"friend_chat.png", true, BubblePlace::Anchor::Origin, 3.0},
    {"friend_chat.png", true, BubblePlace::Anchor::Origin, 4.0},
    {"friend_chat.png", true, BubblePlace::Anchor::Origin, 3.0},
    {"admin_chat.png", true, BubblePlace::Anchor::Centre, 3.0},
};

// Bubble 5 shows the buzzes.
constexpr int kBuzzBubble = 5;

std::string trimmed(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    const auto last = line.find_last_not_of(" \t\r\n");
    return line.substr(first, last - first + 1);
}

} // namespace

void CaoRuaView::showChatWithSeat(int bubble, const std::string& line) {
    if (bubble < 0 || bubble >= kBubbles) {
        platform::log("cao rua: a text for bubble " + std::to_string(bubble) + ", which the table lacks, dropped");
        return;
    }
    auto& pending = chatPlayers_[size_t(bubble)];
    pending = pending.empty() ? line : pending + ", " + line;
    if (isViewLoaded() && chats_[size_t(bubble)]->isHidden()) showChatAtSeat(bubble);
}

void CaoRuaView::hideChat(int bubble) {
    if (bubble < 0 || bubble >= kBubbles || !isViewLoaded()) return;
    const auto& view = chats_[size_t(bubble)];
    view->setHidden(true);
    chatPlaces_[size_t(bubble)].hide(*view);
    if (chatTimers_[size_t(bubble)]) chatTimers_[size_t(bubble)]->invalidate();
    chatTimers_[size_t(bubble)].reset();
    // The room it leaves goes to the lines waiting for one.
    for (int other = 0; other < kBubbles; ++other)
        if (!chatPlayers_[size_t(other)].empty() && chats_[size_t(other)]->isHidden()) showChatAtSeat(other);
}

void CaoRuaView::showChatAtSeat(int b) {
    if (b < 0 || b >= kBubbles) return;
    auto& pending = chatPlayers_[size_t(b)];
    if (pending.empty()) {
        hideChat(b);
        return;
    }
    const BubbleLook& look = kLooks[b];
    const auto& bubble = chats_[size_t(b)];
    std::shared_ptr<CustomLabel> label;
    if (!bubble->subviews().empty()) label = std::dynamic_pointer_cast<CustomLabel>(bubble->subviews().front());
    if (!label) {
        label = CustomLabel::make();
        label->setAccessibilityIdentifier("chatText" + std::to_string(b));
        label->setFont(platform::ui::Font::system(14));
        label->setTextColor(platform::ui::Color::black());
        label->setBackgroundColor(platform::ui::Color::clear());
        if (look.centred) label->setTextAlignment(platform::ui::TextAlignment::Center);
        bubble->addSubview(label);
    }
    label->setText(pending);
    const BubblePlace::Stand stand{look.anchor, 55,
                                   Util::isPad() ? platform::ui::Point{512, 384} : platform::ui::Point{240, 140},
                                   BubbleRoom::around(*view(), *bubble, chats_)};
    if (!chatPlaces_[size_t(b)].show(*bubble, *label, stand, platform::ui::Screen::size())) {
        // No room on the table now: the line waits, and looks again shortly.
        bubble->setHidden(true);
        chatPlaces_[size_t(b)].hide(*bubble);
        if (chatTimers_[size_t(b)]) chatTimers_[size_t(b)]->invalidate();
        chatTimers_[size_t(b)] = later(BubblePlace::kWaitForRoom, [b](CaoRuaView& self) { self.showChatAtSeat(b); });
        return;
    }
    if (auto image = Util::getImageWithName(look.picture)) bubble->setImage(image->stretchable(24, 15));
    // Above what the table drew since, which its place keeps clear of.
    view()->bringSubviewToFront(bubble.get());
    bubble->setHidden(false);
    pending.clear();
    if (chatTimers_[size_t(b)]) chatTimers_[size_t(b)]->invalidate();
    chatTimers_[size_t(b)] = later(look.nextLook, [b](CaoRuaView& self) { self.showChatAtSeat(b); });
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
