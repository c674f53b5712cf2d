#include "platform/foundation/DateFormat.h"
#include "platform/foundation/NumberFormat.h"

#include <climits>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// Runs a test in a fixed time zone and restores the previous one.
class TimeZoneFixture : public ::testing::Test {
protected:
    void useZone(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }
    void SetUp() override {
        const char* old = std::getenv("TZ");
        hadZone_ = old != nullptr;
        if (old) oldZone_ = old;
        useZone("ICT-7"); // UTC+7, no daylight saving
    }
    void TearDown() override {
        if (hadZone_)
            setenv("TZ", oldZone_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool hadZone_ = false;
    std::string oldZone_;
};

// 2024-03-05 06:07:08 in UTC+7.
constexpr double kMorning = 1709593628;

double local(const char* text) {
    return parseDate(text, "yyyy-MM-dd HH:mm:ss").value_or(-1);
}

} // namespace

TEST_F(TimeZoneFixture, FormatsTheClientsPatternsInLocalTime) {
    EXPECT_EQ(formatDate(kMorning, "HH:mm:ss dd/MM/yyyy"), "06:07:08 05/03/2024");
    EXPECT_EQ(formatDate(kMorning, "dd/MM/yyyy"), "05/03/2024");
    EXPECT_EQ(formatDate(kMorning, "HH:mm"), "06:07");
    EXPECT_EQ(formatDate(kMorning, "yyyy-MM-dd HH:mm:ss"), "2024-03-05 06:07:08");
    EXPECT_EQ(formatShortDate(kMorning), "05/03/24");
    EXPECT_EQ(formatShortTime(kMorning), "06:07");
    EXPECT_EQ(formatDate(kMorning + 0.25, "d/M h:mm:ss.SSS a 'at' EEE, MMM"), "5/3 6:07:08.250 AM at Tue, Mar");
    useZone("UTC0");
    EXPECT_EQ(formatDate(kMorning, "HH:mm dd/MM"), "23:07 04/03");
}

TEST_F(TimeZoneFixture, ParsesWhatItFormatsAndRefusesTextThatIsNotADate) {
    EXPECT_EQ(parseDate("05/03/2024", "dd/MM/yyyy"), kMorning - (6 * 3600 + 7 * 60 + 8));
    EXPECT_EQ(parseDate("2024-03-05 06:07:08", "yyyy-MM-dd HH:mm:ss"), kMorning);
    EXPECT_EQ(parseDate("5/3/2024", "d/M/yyyy"), parseDate("05/03/2024", "dd/MM/yyyy"));
    EXPECT_EQ(parseDate("31/02/2024", "dd/MM/yyyy"), std::nullopt);
    EXPECT_EQ(parseDate("29/02/2023", "dd/MM/yyyy"), std::nullopt);
    EXPECT_EQ(parseDate("5/3/2024", "dd/MM/yyyy"), std::nullopt);
    EXPECT_EQ(parseDate("05/13/2024", "dd/MM/yyyy"), std::nullopt);
    EXPECT_EQ(parseDate("05/03/2024 ", "dd/MM/yyyy"), std::nullopt);
    EXPECT_EQ(parseDate("", "dd/MM/yyyy"), std::nullopt);
    EXPECT_EQ(parseDate("2024-03-05 24:00:00", "yyyy-MM-dd HH:mm:ss"), std::nullopt);
    EXPECT_NE(parseDate("29/02/2024", "dd/MM/yyyy"), std::nullopt);
}

TEST(Iso8601, WritesAndReadsUtc) {
    EXPECT_EQ(formatIso8601(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(formatIso8601(1704164645), "2024-01-02T03:04:05Z");
    EXPECT_EQ(formatIso8601(-0.5), "1969-12-31T23:59:59.5Z");
    EXPECT_EQ(parseIso8601("2024-01-02T03:04:05Z"), 1704164645);
    EXPECT_EQ(parseIso8601("2024-01-02T10:04:05+07:00"), 1704164645);
    EXPECT_EQ(parseIso8601("1969-12-31T23:59:59.5Z"), -0.5);
    EXPECT_EQ(parseIso8601("2024-02-30T00:00:00Z"), std::nullopt);
    EXPECT_EQ(parseIso8601("2024-01-02 03:04:05"), std::nullopt);
}

TEST_F(TimeZoneFixture, CalendarDifferencesCountWholeUnitsFromTheLargest) {
    DateComponents d = calendarDifference(local("2023-01-15 10:00:00"), local("2024-03-20 12:30:45"));
    EXPECT_EQ(d, (DateComponents{1, 2, 5, 2, 30, 45}));
    EXPECT_EQ(calendarDifference(local("2024-03-20 12:00:00"), local("2024-03-20 11:59:59")),
              (DateComponents{0, 0, 0, 0, 0, -1}));
    EXPECT_EQ(calendarDifference(kMorning, kMorning), DateComponents{});
}

TEST_F(TimeZoneFixture, CalendarDifferencesAcrossMonthEndsAndDaylightSavingKeepCalendarDays) {
    // The 31st plus one month is the last day of February.
    EXPECT_EQ(calendarDifference(local("2023-01-31 00:00:00"), local("2023-02-28 00:00:00")),
              (DateComponents{0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(calendarDifference(local("2023-01-31 00:00:00"), local("2023-03-01 00:00:00")),
              (DateComponents{0, 1, 1, 0, 0, 0}));
    EXPECT_EQ(calendarDifference(local("2024-01-31 00:00:00"), local("2024-02-29 00:00:00")),
              (DateComponents{0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(calendarDifference(local("2023-12-31 23:00:00"), local("2024-01-01 01:00:00")),
              (DateComponents{0, 0, 0, 2, 0, 0}));
    EXPECT_EQ(calendarDifference(local("2020-05-31 00:00:00"), local("2021-05-30 00:00:00")),
              (DateComponents{0, 11, 30, 0, 0, 0}));
    EXPECT_EQ(calendarDifference(local("2024-02-29 00:00:00"), local("2025-02-28 00:00:00")),
              (DateComponents{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(calendarDifference(local("2024-03-01 00:00:00"), local("2024-01-31 00:00:00")),
              (DateComponents{0, -1, -1, 0, 0, 0}));
    useZone("CET-1CEST,M3.5.0,M10.5.0/3"); // clocks go forward on 2024-03-31
    DateComponents d = calendarDifference(local("2024-03-30 12:00:00"), local("2024-04-01 12:00:00"));
    EXPECT_EQ(d, (DateComponents{0, 0, 2, 0, 0, 0}));
}

TEST(GroupedInteger, GroupsByThreesWithTheChosenSeparator) {
    EXPECT_EQ(formatGroupedInteger(0), "0");
    EXPECT_EQ(formatGroupedInteger(999), "999");
    EXPECT_EQ(formatGroupedInteger(1000), "1,000");
    EXPECT_EQ(formatGroupedInteger(1234567), "1,234,567");
    EXPECT_EQ(formatGroupedInteger(-1000), "-1,000");
    EXPECT_EQ(formatGroupedInteger(-999), "-999");
    EXPECT_EQ(formatGroupedInteger(LLONG_MIN), "-9,223,372,036,854,775,808");
    EXPECT_EQ(formatGroupedInteger(LLONG_MAX, "."), "9.223.372.036.854.775.807");
    EXPECT_EQ(formatGroupedInteger(1234567, ""), "1234567");
}
