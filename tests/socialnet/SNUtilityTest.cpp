#include "sdk/socialnet/SNUtility.h"

#include "platform/ui/TableView.h"
#include "platform/ui/View.h"
#include "sdk/socialnet/json/SNArray.h"
#include "sdk/socialnet/json/SNDictionary.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace socialnet {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs pairsOf(const SNDictionaryPtr& dictionary) {
    Pairs pairs;
    for (auto& key : dictionary->keys())
        pairs.emplace_back(key.string(), dictionary->objectForKey(key).string());
    return pairs;
}

TEST(SNUtilityTest, QueriesParseIntoDecodedPairs) {
    struct Case {
        std::string query;
        Pairs pairs;
    };
    std::vector<Case> cases = {
        {"a=1&b=&c", {{"a", "1"}, {"b", ""}, {"c", ""}}},
        {"x=%E2%82%AC+1", {{"x", "\xE2\x82\xAC 1"}}},
        {"a=1&bad=%FF&c=3", {{"a", "1"}, {"c", "3"}}},
        {"a=%4&b=%zz&c=%", {}},
        {"&&a=1&&a=2&", {{"a", "2"}}},
        {"k=v=w", {{"k", "v=w"}}},
        {"", {}},
    };
    for (auto& c : cases)
        EXPECT_EQ(pairsOf(SNUtility::dictionaryByParsingURLQueryPart(c.query)), c.pairs) << c.query;
}

TEST(SNUtilityTest, EncodingLeavesOnlyUnreservedCharacters) {
    struct Case {
        std::string text;
        std::string encoded;
    };
    std::vector<Case> cases = {
        {"a b&c/d-e", "a%20b%26c%2Fd-e"},
        {"'", "%27"},
        {"+", "%2B"},
        {"\xE2\x80\x99", "%E2%80%99"},
        {"Az09-._~", "Az09-._~"},
        {":!*();@/&?#[]+$,=\"%", "%3A%21%2A%28%29%3B%40%2F%26%3F%23%5B%5D%2B%24%2C%3D%22%25"},
    };
    for (auto& c : cases)
        EXPECT_EQ(SNUtility::stringByURLEncodingString(c.text), c.encoded) << c.text;
}

TEST(SNUtilityTest, DecodingTakesPlusAsBlankAndRefusesBadEscapes) {
    EXPECT_EQ(SNUtility::stringByURLDecodingString("a+b%20c%2b"), "a b c+");
    EXPECT_EQ(SNUtility::stringByURLDecodingString("%c3%a9"), "\xC3\xA9");
    EXPECT_EQ(SNUtility::stringByURLDecodingString("%FF"), std::nullopt);
    EXPECT_EQ(SNUtility::stringByURLDecodingString("%C3"), std::nullopt);
    EXPECT_EQ(SNUtility::stringByURLDecodingString("50%"), std::nullopt);
    EXPECT_EQ(SNUtility::stringByURLDecodingString("%G1"), std::nullopt);
}

// A percent sign must be followed by two hexadecimal digits. A malformed escape refuses
// the whole text, wherever it stands: read as a byte it would make a wrong character, and
// some (the ones that end in an ASCII byte or start a valid UTF-8 sequence) would make text
// that looks sound.
TEST(SNUtilityTest, AMalformedPercentEscapeRefusesTheText) {
    const char* const malformed[] = {
        "%4z",          // a second digit that is no digit
        "%7g",          //
        "%g0%9F%98%80", // a first digit that is no digit, before a sequence it would complete
        "%G1%80%80%80", //
        "%2%41",        // one digit, then another escape
        "%",            // nothing after the sign
        "%4",           // one digit at the end
        "%%41",         // the sign twice
        "% 41",         // a blank
        "%+1",          // a plus
        "%-1",          //
        "%0x41",        //
    };
    for (const char* escape : malformed) {
        const std::string text = escape;
        EXPECT_EQ(SNUtility::stringByURLDecodingString(text), std::nullopt) << text;
        EXPECT_EQ(SNUtility::stringByURLDecodingString("ab" + text + "qq"), std::nullopt) << "inside: " << text;
        EXPECT_EQ(pairsOf(SNUtility::dictionaryByParsingURLQueryPart("a=1&b=" + text + "&c=3")),
                  (Pairs{{"a", "1"}, {"c", "3"}}))
            << "a value: " << text;
        EXPECT_EQ(pairsOf(SNUtility::dictionaryByParsingURLQueryPart("x" + text + "=1&c=3")), (Pairs{{"c", "3"}}))
            << "a name: " << text;
    }
    // Well-formed escapes beside them still decode, in either case.
    EXPECT_EQ(SNUtility::stringByURLDecodingString("%41%4a%4A%7e%F0%9F%98%80"), "AJJ~\xF0\x9F\x98\x80");
}

TEST(SNUtilityTest, TheMillisecondClockWrapsIn32BitsAndTheRandomIntervalReachesBothEnds) {
    EXPECT_EQ(SNUtility::millisecondsFromWallClock(1, 999999), 1999u);
    // 4294967.296 s is 2^32 ms: the clock is back at 0 then.
    EXPECT_EQ(SNUtility::millisecondsFromWallClock(4294967, 296000), 0u);
    EXPECT_EQ(SNUtility::millisecondsFromWallClock(4294967, 297500), 1u);
    EXPECT_EQ(SNUtility::randomTimeIntervalFor(2.0, 5.0, 0), 2.0);
    EXPECT_EQ(SNUtility::randomTimeIntervalFor(2.0, 5.0, 0xFFFFFFFFu), 5.0);
    double any = SNUtility::randomTimeInterval(2.0, 5.0);
    EXPECT_GE(any, 2.0);
    EXPECT_LE(any, 5.0);
}

TEST(SNUtilityTest, IdsComeFromAStringIdOrTheDescription) {
    auto withId = SNDictionary::make();
    withId->setObject(SNValue("99"), "id");
    EXPECT_EQ(SNUtility::stringSNIDFromObject(SNValue(withId)), "99");
    auto numericId = SNDictionary::make();
    numericId->setObject(SNValue(99), "id");
    EXPECT_EQ(SNUtility::stringSNIDFromObject(SNValue(numericId)), "{id = 99; }");
    EXPECT_EQ(SNUtility::stringSNIDFromObject(SNValue(12)), "12");
    EXPECT_EQ(SNUtility::stringSNIDFromObject(SNValue("me")), "me");

    auto other = SNDictionary::make();
    other->setObject(SNValue("98"), "id");
    auto sameAs = SNDictionary::make();
    sameAs->setObject(SNValue("99"), "id");
    auto array = SNArray::make({SNValue(other), SNValue(withId)});
    EXPECT_EQ(SNUtility::graphObjectInArray(array, sameAs).dictionary(), withId);
    EXPECT_TRUE(SNUtility::graphObjectInArray(array, numericId).isNull());
}

TEST(SNUtilityTest, AViewIsCentredOnTheTablesMiddleRow) {
    auto parent = std::make_shared<platform::ui::View>(platform::ui::Rect{0, 0, 480, 320});
    auto table = std::make_shared<platform::ui::TableView>(platform::ui::Rect{10, 20, 200, 230});
    table->setRowHeight(40);
    parent->addSubview(table);
    auto badge = std::make_shared<platform::ui::View>(platform::ui::Rect{0, 0, 20, 20});
    parent->addSubview(badge);
    SNUtility::centerView(badge.get(), table.get());
    // 230 / 40 = 5 rows, halved to 2: the middle of row 2 is at 100, 120 in the parent.
    EXPECT_EQ(badge->center().x, 110);
    EXPECT_EQ(badge->center().y, 120);
    auto loose = std::make_shared<platform::ui::View>(platform::ui::Rect{50, 50, 20, 20});
    SNUtility::centerView(loose.get(), table.get());
    EXPECT_EQ(loose->center().x, 0);
    EXPECT_EQ(loose->center().y, 0);
}

TEST(SNUtilityTest, TextsFallBackToTheirDefaultsWithoutAResourceBundle) {
    EXPECT_EQ(SNUtility::socialnetSDKBundle(), std::nullopt);
    EXPECT_EQ(SNUtility::localizedStringForKey("SNLoginViewLogOut", "Log Out"), "Log Out");
    EXPECT_EQ(SNUtility::localizedStringForKey("SNLoginViewLogOut", "Log Out", std::nullopt), "Log Out");
}

} // namespace
} // namespace socialnet
