#include "platform/ui/Font.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace platform::ui;

TEST(Font, SameTextMeasuresTheSameEveryTime) {
    Font font = Font::system(14);
    Size first = font.measure("Tiến lên miền Nam");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(font.measure("Tiến lên miền Nam"), first);
    EXPECT_GT(first.width, 50);
    EXPECT_GE(first.height, 14);
    EXPECT_EQ(Font::named("Helvetica", 14).measure("abc"), font.measure("abc"));
    EXPECT_EQ(font.measure("").width, 0);
}

TEST(Font, BoldIsWiderAndBiggerIsWider) {
    EXPECT_GT(Font::boldSystem(14).measure("Xin chào").width, Font::system(14).measure("Xin chào").width);
    EXPECT_TRUE(Font::named("Helvetica-Bold", 12).bold());
    EXPECT_GT(Font::system(20).measure("Xin chào").width, Font::system(10).measure("Xin chào").width);
}

TEST(Font, LongVietnameseSentenceWrapsIntoLinesThatFit) {
    Font font = Font::system(14);
    std::string sentence = "Kavo Online gửi lời chào đến bạn! Bạn có khỏe không? Chúc bạn một ngày vui vẻ và "
                           "nhiều may mắn khi chơi tiến lên, phỏm và mậu binh cùng bạn bè.";
    auto lines = font.wrap(sentence, 200);
    EXPECT_GE(lines.size(), 4u);
    std::string joined;
    for (const auto& line : lines) {
        EXPECT_LE(font.measure(line).width, 200) << line;
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined, sentence); // only the breaking spaces are gone
    EXPECT_EQ(font.wrap(sentence, 200), lines);

    Size all = font.measureWrapped(sentence, 200);
    EXPECT_DOUBLE_EQ(all.height, lines.size() * font.lineHeight());
    EXPECT_DOUBLE_EQ(font.measureWrapped(sentence, 200, 2).height, 2 * font.lineHeight());
}

TEST(Font, WordWiderThanTheLineIsBrokenBetweenCharacters) {
    Font font = Font::system(12);
    auto lines = font.wrap("ĐườngPhốỨngHòaĐườngPhốỨngHòa", 60);
    EXPECT_GT(lines.size(), 1u);
    std::string joined;
    for (const auto& line : lines) {
        EXPECT_LE(font.measure(line).width, 60);
        joined += line;
    }
    EXPECT_EQ(joined, "ĐườngPhốỨngHòaĐườngPhốỨngHòa"); // no character cut in half
    EXPECT_EQ(font.wrap("a\nb", 100), (std::vector<std::string>{"a", "b"}));
}

// A page's address wider than the line breaks after a '/', between its parts, never inside
// a name; a part wider than the line alone is still broken between characters.
TEST(Font, AnAddressWiderThanTheLineBreaksAfterItsSlashes) {
    Font font = Font::system(14);
    const std::string address = "http://127.0.0.1:12347/more-games.html";
    const double width = font.measure("http://127.0.0.1:12347/more-gam").width;
    const auto notice = font.wrap("Máy này không mở được trang " + address, width);
    ASSERT_GE(notice.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(notice.end() - 2, notice.end()),
              (std::vector<std::string>{"http://127.0.0.1:12347/", "more-games.html"}));
    const double narrow = font.measure("http://127.0.0.1:1234").width;
    EXPECT_EQ(font.wrap(address, narrow), (std::vector<std::string>{"http://", "127.0.0.1:12347/", "more-games.html"}));
    const auto lines = font.wrap("a/" + std::string(40, 'x'), font.measure("a/xxxxx").width);
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(lines.front(), "a/");
    for (const auto& line : lines)
        EXPECT_LE(font.measure(line).width, font.measure("a/xxxxx").width) << line;
}

TEST(Font, MeasuringFromSeveralThreadsAgrees) {
    Font font = Font::boldSystem(16);
    Size expected = font.measure("Mậu Binh");
    std::vector<std::thread> threads;
    std::atomic<int> mismatches{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i)
                if (Font::boldSystem(16).measure("Mậu Binh") != expected) ++mismatches;
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, 0);
}
