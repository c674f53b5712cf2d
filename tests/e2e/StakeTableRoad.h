#pragma once

// What the Bai Cao and Xi Zach roads share: a signed-in client on the manual clock
// against the test portal, the game chosen (61) and a table joined (8) at room 2,
// board 7, as a person reaches it from the board list.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"
#include "table/base/StakeTableView.h"
#include "table/cards/BCCardView.h"
#include "tests/e2e/FriendListFirst.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kavo::test {

class StakeTableRoad : public TableRoadFixture {
protected:
    static constexpr int32_t kMe = ClientWorld::kPlayerId;
    static constexpr int8_t kRoom = 2;
    static constexpr int8_t kBoard = 7;
    struct Place {
        int32_t id; // -1: empty
        std::string name;
        bool ready = true;
        int64_t money = 500000;
    };

    // Signs in, chooses the game and joins a table with these places.
    void join(int8_t gameType, const std::vector<Place>& places, int32_t owner, int32_t stake = 100) {
        ASSERT_TRUE(signInToGameGrid()) << log();
        send(Bytes().byte(gameType).message(61));
        advance(0.5);
        seat(places, owner, stake);
    }
    // The server's answer to my join of the table: these places.
    void seat(const std::vector<Place>& places, int32_t owner, int32_t stake) {
        Bytes joined = Bytes().byte(kRoom).byte(kBoard).int32(owner).int32(stake);
        for (const auto& place : places) {
            joined.int32(place.id);
            if (place.id != -1) joined.utf(place.name).int64(place.money).int16(1).int32(300).boolean(place.ready);
        }
        if (friendsFirst.empty()) {
            send(joined.message(8));
        } else {
            ASSERT_TRUE(sendFriendsThenJoin(portal(), friendsFirst, joined.message(8)));
            advance(0);
        }
        advance(0.5);
        portal().clearMessages();
    }
    // A guest's whole hand: my friend the owner (not ready in the join) listed before me,
    // I join at the second place with money of my own, a player sits down at the last
    // place, `deal` and `end` (the game's 20 and 50) start and end the hand, the owner
    // wins a bonus, and I ready for the next hand and take it back, each answered by
    // the server.
    void playAHandAsAGuest(int8_t gameType, StakeTableView& (*table)(), const Message& deal, const Message& end) {
        friendsFirst = {8};
        join(gameType, {{8, "an", false}, {kMe, "khach", false, 123456}, {-1, ""}, {-1, ""}}, 8);
        EXPECT_EQ(UIController::myInfo()->money(), 123456) << "my money from my place in the join";
        EXPECT_EQ(table().playerWithId(8)->isReady(), 1) << "the owner is ready whatever the join says";
        EXPECT_EQ(table().playerWithId(8)->isFriend(), 1);
        send(Bytes().byte(3).int32(9).utf("binh").int64(5000).int16(1).int32(1).message(12));
        ASSERT_TRUE(table().playerAtSeat(2));
        EXPECT_EQ(table().playerAtSeat(2)->name(), "binh") << "the last place, two seats to my left";
        EXPECT_EQ(table().playerAtSeat(2)->isFriend(), 0);
        send(deal);
        advance(2);
        EXPECT_EQ(table().getSeatFromID(8), 3) << "listed before me: the seat after the wrap";
        send(Bytes().byte(kRoom).byte(kBoard).int32(8).int32(100).utf("thang").message(52));
        EXPECT_EQ(table().playerWithId(8)->money(), 500100);
        EXPECT_EQ(table().myRecord()->money(), 123456) << "another's bonus is not mine";
        EXPECT_EQ(UIController::myInfo()->money(), 123456);
        send(end);
        const auto title = [&] { return table().btnStart()->titleForState(platform::ui::ControlState::Normal); };
        EXPECT_EQ(title(), text("KAVO_continuee"));
        tap("id=btnStart");
        EXPECT_EQ(title(), text("KAVO_ready")) << "a guest readies for the next hand";
        tap("id=btnStart");
        EXPECT_TRUE(table().btnStart()->isHidden()) << "until the server answers";
        send(Bytes().int32(9).boolean(true).message(16));
        EXPECT_TRUE(table().btnStart()->isHidden()) << "another's ready";
        send(Bytes().int32(kMe).boolean(true).message(16));
        EXPECT_EQ(title(), text("KAVO_noReady"));
        EXPECT_FALSE(table().btnStart()->isHidden());
        tap("id=btnStart");
        send(Bytes().int32(kMe).boolean(false).message(16));
        EXPECT_EQ(title(), text("KAVO_ready"));
        EXPECT_FALSE(table().btnStart()->isHidden());
        EXPECT_EQ(sent(16), (std::vector<ByteVector>{{kRoom, kBoard, 1}, {kRoom, kBoard, 0}}));
    }
    // My friends as a friend list sent just before the join, when any.
    std::vector<int32_t> friendsFirst;
    // The bodies of the command the portal has got since it was cleared, once the client's
    // requests so far have reached it.
    std::vector<ByteVector> sent(int16_t command) {
        EXPECT_TRUE(portalCaughtUp()) << "the client's requests did not reach the portal";
        std::vector<ByteVector> bodies;
        for (const auto& message : portal().messages(command))
            bodies.push_back(message.body);
        return bodies;
    }
    void tap(const std::string& selector) { ASSERT_TRUE(drives("tap " + selector)); }
    // The cards lying on the table (the peek cover is not one).
    static size_t cardsOn(StakeTableView& table) {
        size_t cards = 0;
        for (const auto& child : table.view()->subviews())
            if (dynamic_cast<BCCardView*>(child.get()) && child != table.peek().cover()) ++cards;
        return cards;
    }
    static std::string bubble(StakeTableView& table, int slot) {
        const auto& chat = table.chat(slot);
        if (chat->isHidden() || chat->subviews().empty()) return "";
        auto label = std::dynamic_pointer_cast<platform::ui::Label>(chat->subviews().front());
        return label ? label->text() : "";
    }
    static bool spinnerOn(const platform::ui::ViewPtr& view) {
        for (const auto& child : view->subviews())
            if (dynamic_cast<platform::ui::ActivityIndicatorView*>(child.get())) return true;
        return false;
    }
};

} // namespace kavo::test
