#include "platform/foundation/TextFormat.h"

#include <climits>
#include <gtest/gtest.h>

using namespace platform;

TEST(FormatText, FillsPlaceholdersInOrder) {
    EXPECT_EQ(formatText("%@ %d, %@ %d, %@", {"Phòng", 3, "Bàn", 12, "Tiến lên"}), "Phòng 3, Bàn 12, Tiến lên");
    EXPECT_EQ(formatText("SAVED_OLD_MESSAGE_OF_%d", {42}), "SAVED_OLD_MESSAGE_OF_42");
    EXPECT_EQ(formatText("%i|%ld|%lld|%u|%s", {1, 2L, 3LL, 4u, "five"}), "1|2|3|4|five");
    EXPECT_EQ(formatText("%lld", {LLONG_MIN}), "-9223372036854775808");
    EXPECT_EQ(formatText("100%% sure", {}), "100% sure");
}

TEST(FormatText, PadsWithZerosOrSpaces) {
    EXPECT_EQ(formatText("%02d:%02d", {5, 7}), "05:07");
    EXPECT_EQ(formatText("%02d", {123}), "123");
    EXPECT_EQ(formatText("%03d", {-5}), "-05");
    EXPECT_EQ(formatText("[%5d][%-5d]", {42, 42}), "[   42][42   ]");
    EXPECT_EQ(formatText("[%4@]", {"đ"}), "[   đ]"); // width counts characters, not bytes
    EXPECT_EQ(formatText("%x %X %#x", {255, 255, 255}), "ff FF 0xff");
}

TEST(FormatText, FormatsReals) {
    EXPECT_EQ(formatText("%.2f", {3.14159}), "3.14");
    EXPECT_EQ(formatText("%f", {1.5}), "1.500000");
    EXPECT_EQ(formatText("%.0f", {2.5}), "2");
    EXPECT_EQ(formatText("%.1f%%", {99.95}), "100.0%");
    EXPECT_EQ(formatText("%06.2f", {-1.5}), "-01.50");
    EXPECT_EQ(formatText("%.2f", {1e300}).size(), 304u);
    EXPECT_EQ(formatText("%@", {2.5}), "2.5");
}

TEST(FormatText, ConvertsArgumentsOfAnotherKind) {
    EXPECT_EQ(formatText("%@", {12}), "12");
    EXPECT_EQ(formatText("%d", {"34abc"}), "34");
    EXPECT_EQ(formatText("%d", {7.9}), "7");
    EXPECT_EQ(formatText("%.1f", {3}), "3.0");
    EXPECT_EQ(formatText("%c", {65}), "A");
}

TEST(FormatText, NumberedPlaceholdersPickTheirArgumentMissingOnesStayAndExtrasAreIgnored) {
    EXPECT_EQ(formatText("%@ and %@ and %02d", {"one"}), "one and %@ and %02d");
    EXPECT_EQ(formatText("%d", {1, 2, 3}), "1");
    EXPECT_EQ(formatText("no placeholders", {"x"}), "no placeholders");
    EXPECT_EQ(formatText("%2$@ %1$@", {"world", "hello"}), "hello world");
    EXPECT_EQ(formatText("%3$@", {"a"}), "%3$@");
}

TEST(FormatText, StrayOrUnknownPercentSignsCannotCrash) {
    EXPECT_EQ(formatText("%n%n%s%s%s%s", {}), "%n%n%s%s%s%s");
    EXPECT_EQ(formatText("50% off %n %@", {"now"}), "50% off %n now");
    EXPECT_EQ(formatText("ends with %", {1}), "ends with %");
    EXPECT_EQ(formatText("%999999999999d", {1}).size(), 1000u); // width is capped
    EXPECT_EQ(formatText("%.999999f", {1.0}).size(), 102u);     // and so is precision
    EXPECT_EQ(formatText("%", {}), "%");
    EXPECT_EQ(formatText("%l", {1}), "%l");
}
