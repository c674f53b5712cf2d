// A hundred table visits in one session, at four tables in turn: the join shows the
// table, the leave takes the player back, and the memory the visits hold stays flat.
// Under the address sanitizer the leak check at exit covers every visit; its freed-memory
// quarantine makes the resident size meaningless there, so only the plain build checks it.
#include "app/KavoOnlineAppDelegate.h"
#include "platform/runtime/RunLoop.h"
#include "table/base/GameTableView.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace kavo::test {
namespace {

constexpr int32_t kMe = ClientWorld::kPlayerId;

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

class TableVisitsRoad : public ClientFixture {
protected:
    std::shared_ptr<GameTableView> tableOnTop() {
        return std::dynamic_pointer_cast<GameTableView>(KavoOnlineAppDelegate::getInstance().topViewController());
    }
    void waitFor(const std::function<bool()>& done) {
        platform::RunLoop::main().runUntil(done, 5);
        advance(0.5);
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
};

TEST_F(TableVisitsRoad, AHundredVisitsAtFourTablesHoldNoGrowingMemory) {
    ASSERT_TRUE(signInToGameGrid()) << log();
    const int8_t games[] = {3, 11, 2, 13}; // Tien Len, Bai Cao, Xi Zach, Phom
    const long before = residentBytes();
    long afterFifty = 0;
    for (int i = 0; i < 100; ++i) {
        visit(games[i % 4]);
        if (HasFatalFailure()) return;
        if (i == 49) afterFifty = residentBytes();
    }
    const long growth = residentBytes() - afterFifty;
    std::printf("resident before the visits %ld KB, after 50 %ld KB, after 100 %ld KB: the last 50 add %ld KB\n",
                before / 1024, afterFifty / 1024, (afterFifty + growth) / 1024, growth / 1024);
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(growth, 200 * 1024);
#endif
}

} // namespace
} // namespace kavo::test
