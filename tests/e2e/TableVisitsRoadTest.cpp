// A hundred table visits in one session, at four tables in turn, and a hundred at a Tien
// Len table that each deal and play a hand and leave through the leave dialog: the join
// shows the table, the leave takes the player back, and the heap the visits hold stays
// flat. Under the address sanitizer its leak check at exit covers every visit too.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "games/tienlen/TienLenView.h"
#include "lobby/GameView.h"
#include "platform/runtime/RunLoop.h"
#include "table/base/GameTableView.h"
#include "table/cards/CardView.h"
#include "table/registry/GameController.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <malloc.h>

namespace kavo::test {
namespace {

constexpr int32_t kMe = ClientWorld::kPlayerId;

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's own count (its header does not come with every compiler).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

// The bytes the heap holds for live allocations (the sanitizer's own count under it, its
// quarantine of freed blocks aside), so a bound on them holds in every build.
long liveHeapBytes() {
#if defined(__SANITIZE_ADDRESS__)
    return long(__sanitizer_get_current_allocated_bytes());
#else
    return long(mallinfo2().uordblks);
#endif
}

class TableVisitsRoad : public ClientFixture {
protected:
    std::shared_ptr<GameTableView> tableOnTop() {
        return std::dynamic_pointer_cast<GameTableView>(KavoOnlineAppDelegate::getInstance().topViewController());
    }
    void waitFor(const std::function<bool()>& done) {
        ASSERT_TRUE(platform::RunLoop::main().runUntil(done, kStateWait));
        advance(0.5);
    }
    // Signs in, makes a hundred visits and answers what the last fifty added to the heap.
    long lastFiftyAdd(const char* what, const std::function<void(int)>& visit) {
        // The grid's friend list, empty, taken in before the clock runs out on its wait.
        portal().onCommand(104, [](Message& request, TestPortal::Reply& reply) {
            if (request.readByte() == 5) reply.send(Bytes().byte(5).message(104));
        });
        EXPECT_TRUE(signInToGameGrid()) << log();
        EXPECT_TRUE(waitForCommand(104));
        waitFor([] {
            auto grid = std::dynamic_pointer_cast<GameView>(KavoOnlineAppDelegate::getInstance().topViewController());
            return grid && grid->mainTableView()->isUserInteractionEnabled();
        });
        long heap[101] = {liveHeapBytes()};
        for (int i = 1; i <= 100 && !HasFailure(); ++i) {
            visit(i);
            heap[i] = liveHeapBytes();
        }
        std::printf("%s: live heap before %ld KB, after 1 %ld KB, 50 %ld KB, 100 %ld KB: the last 50 add %ld KB\n",
                    what, heap[0] / 1024, heap[1] / 1024, heap[50] / 1024, heap[100] / 1024,
                    (heap[100] - heap[50]) / 1024);
        return heap[100] - heap[50];
    }
    void visit(int8_t game) {
        ASSERT_TRUE(portal().sendToClient(Bytes().byte(game).message(61)));
        advance(0.1);
        Bytes join = Bytes().byte(2).byte(7).int32(8).int32(1000);
        for (auto [id, name] : {std::pair{8, "an"}, {kMe, "khach"}, {9, "binh"}, {10, "cuong"}})
            join.int32(id).utf(name).int64(500000).int16(1).int32(300).boolean(id == 8);
        ASSERT_TRUE(portal().sendToClient(join.message(8)));
        waitFor([this] { return tableOnTop() != nullptr; });
        auto table = tableOnTop();
        ASSERT_TRUE(table) << int(game);
        table->doLeaveBoard();
        waitFor([this] { return tableOnTop() == nullptr; });
        ASSERT_FALSE(tableOnTop()) << int(game);
    }
    void run(const std::string& script) { ASSERT_TRUE(drives(script)); }
    // Sends the messages, then runs the loop until the table shows the last one's effect
    // (messages are handled in order).
    void send(std::initializer_list<Message> messages, const std::function<bool(TienLenView&)>& shown) {
        for (const Message& message : messages)
            ASSERT_TRUE(portal().sendToClient(message));
        ASSERT_TRUE(platform::RunLoop::main().runUntil(
            [&] {
                auto table = GameController::getTienLenView();
                return table && shown(*table);
            },
            kStateWait))
            << "the table does not show what the last message did";
        advance(0.1);
    }
    static Message move(int32_t who, uint8_t card, int32_t next) {
        return Bytes().byte(2).byte(7).int32(who).byte(1).raw({card}).int32(next).message(21);
    }
    static std::function<bool(TienLenView&)> onTable(int card) {
        return [card](TienLenView& table) {
            return !table.currentCards().empty() && table.currentCards().front()->cardID() == card;
        };
    }
    // Sits with a ready Binh, is dealt, opens, skips, plays on, sees Binh's finish and
    // leaves holding cards through the leave dialog.
    void dealtVisit() {
        constexpr int32_t kBinh = 99;
        const std::string ok = "\ntap text=" + text("KAVO_OK");
        portal().clearMessages();
        ASSERT_TRUE(portal().sendToClient(Bytes().byte(3).message(61)));
        advance(0.1);
        Bytes join = Bytes().byte(2).byte(7).int32(kMe).int32(1000);
        join.int32(kMe).utf("khach").int64(500000).int16(1).int32(300).boolean(false);
        join.int32(kBinh).utf("binh").int64(500000).int16(1).int32(300).boolean(true);
        ASSERT_TRUE(portal().sendToClient(join.message(8)));
        waitFor([this] { return tableOnTop() != nullptr; });
        run("screen TienLenView 30\nadvance 0.5\ntap id=btnStart");
        Bytes deal;
        deal.byte(2).byte(7).byte(20).raw({43, 9, 0, 50, 14, 5, 27, 18, 31, 22, 38, 34, 47}).int32(kMe);
        send({deal.message(20)}, [](TienLenView& table) { return table.myHand().size() == 13; });
        advance(3);
        run("tap id=card0\ntap id=btnFire");
        send({move(kMe, 0, kBinh), move(kBinh, 2, kMe)}, onTable(2));
        run("tap id=btnSkip" + ok);
        send({Bytes().byte(2).byte(7).int32(kMe).int32(kBinh).boolean(false).message(49), move(kBinh, 6, kMe)},
             onTable(6));
        run("tap id=card9\ntap id=btnFire");
        send({move(kMe, 9, kBinh), move(kBinh, 51, kMe),
              Bytes().byte(2).byte(7).int32(kBinh).byte(0).int32(2000).int32(10).message(51)},
             onTable(51));
        run("tap id=btnBack" + ok);
        waitFor([this] { return tableOnTop() == nullptr; });
        ASSERT_FALSE(tableOnTop());
    }
};

TEST_F(TableVisitsRoad, AHundredVisitsAtFourTablesHoldNoGrowingMemory) {
    const int8_t games[] = {3, 11, 2, 13}; // Tien Len, Bai Cao, Xi Zach, Phom
    EXPECT_LT(lastFiftyAdd("visits at four tables", [&](int i) { visit(games[i % 4]); }), 200 * 1024);
}

TEST_F(TableVisitsRoad, AHundredDealtVisitsLeftThroughTheDialogHoldNoGrowingMemory) {
    answerOneBoard(portal(), 1, 4);
    UIController::setSound(true);
    EXPECT_LT(lastFiftyAdd("dealt visits", [&](int) { dealtVisit(); }), 200 * 1024);
}

} // namespace
} // namespace kavo::test
