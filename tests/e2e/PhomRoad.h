#pragma once

// The Phom road's fixture: a signed-in client on the manual clock at board 7 of room 2
// against the test portal, with me in the second of four places.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "games/phom/PhomNewView.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "table/registry/GameController.h"
#include "tests/e2e/FriendListFirst.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kavo::test {

inline constexpr int32_t kMe = ClientWorld::kPlayerId;
inline constexpr int32_t kBinh = 99; // place 0: left of me (seat 3)
inline constexpr int32_t kChu = 77;  // place 2: right of me (seat 1)
inline constexpr int32_t kDung = 55; // place 3: across (seat 2)
inline constexpr int32_t kEm = 66;   // sits down in place 3 later

inline Bytes& row(Bytes& bytes, int32_t id, const std::string& name, bool ready = true) {
    bytes.int32(id);
    if (id == -1) return bytes;
    return bytes.utf(name).int64(500000).int16(1).int32(300).boolean(ready);
}

// The dealt hand: a set of sevens, ace-two-three of spades and four loose cards.
inline const std::vector<int8_t> kHand = {13, 51, 0, 24, 30, 4, 26, 41, 8, 25};

class PhomRoad : public TableRoadFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        answerOneBoard(portal(), 3, 4);
    }

    // Signs in, opens the Phom list, joins board 7 of room 2 and gets the join reply:
    // four places with me in the second, so that the others turn around me.
    // My friends as a friend list sent just before the join, when any.
    std::vector<int32_t> friendsFirst;
    void joinTheTable() {
        ASSERT_TRUE(signInByReply());
        ASSERT_TRUE(drives("screen GameView 30\nadvance 0.5\ntap id=btnPhom\nscreen BoardView 30\nadvance 0.5\n"
                           "wait text=1.000 zel 30\ntap text=1.000 zel"));
        ASSERT_FALSE(lastSent(8).empty());
        Bytes join = Bytes().byte(2).byte(7).int32(kMe).int32(1000);
        row(join, kBinh, "Binh");
        row(join, kMe, "Khach", false);
        row(join, kChu, "Chu");
        row(join, kDung, "Dung");
        if (friendsFirst.empty()) {
            send(join.message(8));
        } else {
            ASSERT_TRUE(sendFriendsThenJoin(portal(), friendsFirst, join.message(8)));
            advance(0);
        }
        ASSERT_TRUE(drive("screen PhomNewView 30\nadvance 0.5").ok) << log();
        // The join's notice, if any, is closed like a person would.
        advance(5);
        portal().clearMessages();
    }
    void tap(const std::string& id) { ASSERT_TRUE(drives("tap id=" + id)) << id; }
    // The table requests the portal got since the last clear, as "command:hex" in order,
    // once the client's requests so far have reached it.
    std::string sent() {
        EXPECT_TRUE(portalCaughtUp()) << "the client's requests did not reach the portal";
        std::string all;
        for (const auto& message : portal().messages()) {
            // The table's own requests; pictures and the like are not this road's.
            static constexpr int16_t kTable[] = {20, 21, 49, 63, 64, 65, 67, 68};
            if (std::find(std::begin(kTable), std::end(kTable), message.commandId) == std::end(kTable)) continue;
            all += (all.empty() ? "" : " ") + std::to_string(message.commandId) + ":" + toHex(message.body);
        }
        portal().clearMessages();
        return all;
    }
    std::shared_ptr<PhomNewView> table() { return GameController::getPhomNewView(); }
    // A finger on the strip of a hand card that the next card leaves uncovered.
    void tapCard(int id) {
        std::shared_ptr<CardViewPhom> card;
        for (const auto& c : table()->myCards())
            if (c->cardID() == id) card = c;
        ASSERT_TRUE(card) << id;
        const auto frame = card->convertRect(card->bounds(), nullptr);
        const platform::ui::Point point{frame.x() + 4, frame.y() + frame.height() / 2};
        auto& app = platform::ui::Application::shared();
        app.dispatchTouch(platform::ui::TouchPhase::Began, point);
        platform::RunLoop::main().runPending();
        app.dispatchTouch(platform::ui::TouchPhase::Ended, point);
        advance(0);
    }
    // Closes the table's own bubble so that the next text shows at once.
    void clearBubble() { table()->hideChat(PhomNewView::kBubble); }
    std::vector<int> hand() {
        std::vector<int> ids;
        for (const auto& card : table()->myCards())
            ids.push_back(card->cardID());
        return ids;
    }
    std::string bubble() {
        const auto& chat = table()->chat(PhomNewView::kBubble);
        if (chat->isHidden() || chat->subviews().empty()) return "";
        return chat->subviews().front()->text();
    }
    std::string action() {
        const auto& button = table()->btnAutoSelected();
        return button->isHidden() ? "" : button->titleForState(platform::ui::ControlState::Normal);
    }
    void fire(int32_t by, int32_t next, int8_t card, int8_t slot) {
        send(Bytes().byte(2).byte(7).int32(by).int32(next).byte(card).byte(slot).message(21));
    }
    void deal() {
        tap("btnStart");
        EXPECT_EQ(sent(), "20:0207");
        Bytes start = Bytes().byte(2).byte(7).byte(30).int32(kMe).int32(kMe);
        for (int8_t card : kHand)
            start.byte(card);
        send(start.message(20));
    }
    size_t shownCards() {
        const auto& cards = table()->playersCards(0);
        return size_t(std::count_if(cards.begin(), cards.end(), [](const auto& c) { return !c->isHidden(); }));
    }
};

} // namespace kavo::test
