#include "platform/foundation/SqliteDatabase.h"

#include <gtest/gtest.h>

using platform::SqliteDatabase;

// A kept statement is compiled once and lent again and again: each loan starts reset and
// without the last loan's values, two loans of one text never share a statement, and a
// loan outlives the connection's close.
TEST(SqliteDatabase, AKeptStatementComesBackResetAndIsNeverLentTwiceAtOnce) {
    SqliteDatabase db;
    ASSERT_TRUE(db.open(":memory:"));
    const std::string sql = "SELECT coalesce(?, -1) UNION ALL SELECT 2";
    for (int64_t bound : {7, 8}) {
        {
            auto kept = db.prepareKept(sql);
            ASSERT_TRUE(kept.bindInt(1, bound));
            ASSERT_EQ(kept.step(), SqliteDatabase::kRow);
            auto other = db.prepareKept(sql);
            ASSERT_EQ(other.step(), SqliteDatabase::kRow);
            EXPECT_EQ(other.columnInt(0), -1);
            EXPECT_EQ(kept.columnInt(0), bound);
        }
        // Lent again, and left amid its rows for the next round.
        auto again = db.prepareKept(sql);
        ASSERT_EQ(again.step(), SqliteDatabase::kRow);
        EXPECT_EQ(again.columnInt(0), -1);
    }
    auto lent = db.prepareKept(sql);
    db.close();
    EXPECT_EQ(lent.step(), SqliteDatabase::kRow);
    EXPECT_EQ(lent.columnInt(0), -1);
}
