#include "platform/foundation/Text.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {
const std::string kVietnameseLower = "aàáảãạăằắẳẵặâầấẩẫậeèéẻẽẹêềếểễệiìíỉĩịoòóỏõọôồốổỗộơờớởỡợuùúủũụưừứửữựyỳýỷỹỵđ";
const std::string kVietnameseUpper = "AÀÁẢÃẠĂẰẮẲẴẶÂẦẤẨẪẬEÈÉẺẼẸÊỀẾỂỄỆIÌÍỈĨỊOÒÓỎÕỌÔỒỐỔỖỘƠỜỚỞỠỢUÙÚỦŨỤƯỪỨỬỮỰYỲÝỶỸỴĐ";
const std::string kEmoji = "\xF0\x9F\x98\x80"; // U+1F600, two UTF-16 units
} // namespace

TEST(TextCase, VietnameseStreetNamesAndEveryVowelWithEveryMarkChangeCase) {
    EXPECT_EQ(toUpper("đường phố Ứng Hòa"), "ĐƯỜNG PHỐ ỨNG HÒA");
    EXPECT_EQ(toLower("ĐƯỜNG PHỐ ỨNG HÒA"), "đường phố ứng hòa");
    ASSERT_EQ(characterCount(kVietnameseLower), 73u);
    EXPECT_EQ(toUpper(kVietnameseLower), kVietnameseUpper);
    EXPECT_EQ(toLower(kVietnameseUpper), kVietnameseLower);
}

TEST(TextCase, OtherLatinGreekAndCyrillicLettersToo) {
    EXPECT_EQ(toUpper("ÿçñøþ łœžş ǎǜ"), "ŸÇÑØÞ ŁŒŽŞ ǍǛ");
    EXPECT_EQ(toLower("ÀÉÎÕÜ ŁŒŽŞ"), "àéîõü łœžş");
    EXPECT_EQ(toUpper("αβγ ως"), "ΑΒΓ ΩΣ");
    EXPECT_EQ(toLower("ΆΈΉΊΌΎΏ"), "άέήίόύώ");
    EXPECT_EQ(toUpper("привет ёж"), "ПРИВЕТ ЁЖ");
    EXPECT_EQ(toLower("ДОБРО"), "добро");
    EXPECT_EQ(toUpper("× ÷ ß 1 ?"), "× ÷ ß 1 ?"); // no case, left alone
    EXPECT_EQ(toUpper(kEmoji), kEmoji);
}

TEST(TextCharacters, CountsAndCutsByCharacter) {
    std::string text = "Hòa" + kEmoji + "!";
    EXPECT_EQ(characterCount(text), 5u);
    EXPECT_EQ(substringByCharacters(text, 1, 3), "òa" + kEmoji);
    EXPECT_EQ(substringByCharacters(text, 3), kEmoji + "!");
    EXPECT_EQ(substringByCharacters(text, 9, 2), "");
    EXPECT_EQ(removeCharacters(text, 1, 1), "Ha" + kEmoji + "!");
    EXPECT_EQ(removeCharacters(text, 4, 100), "Hòa" + kEmoji);
    EXPECT_EQ(toUtf32("ơ" + kEmoji), (std::u32string{0x01A1, 0x1F600}));
    EXPECT_EQ(fromUtf32(U"Đ😀"), "Đ" + kEmoji);
}

TEST(TextUtf16, AnEmojiCountsAsTwoUnitsAsATextFieldCounts) {
    std::string text = "ab" + kEmoji + "đ";
    EXPECT_EQ(utf16Length(text), 5u);
    EXPECT_EQ(utf16IndexToByteOffset(text, 0), 0u);
    EXPECT_EQ(utf16IndexToByteOffset(text, 2), 2u);
    EXPECT_EQ(utf16IndexToByteOffset(text, 3), std::nullopt); // inside the emoji
    EXPECT_EQ(utf16IndexToByteOffset(text, 4), 6u);
    EXPECT_EQ(utf16IndexToByteOffset(text, 5), text.size());
    EXPECT_EQ(utf16IndexToByteOffset(text, 6), std::nullopt);
    EXPECT_EQ(toUtf16(text).size(), 5u);
    EXPECT_EQ(fromUtf16(toUtf16(text)), text);
}

TEST(TextUtf16, RemovingAUnitRangeNeverSplitsACharacter) {
    std::string text = "ab" + kEmoji + "đ";
    EXPECT_EQ(removeUtf16Range(text, 2, 2), "abđ");
    EXPECT_EQ(removeUtf16Range(text, 3, 1), "abđ"); // half an emoji takes the whole emoji
    EXPECT_EQ(removeUtf16Range(text, 4, 1), "ab" + kEmoji);
    EXPECT_EQ(removeUtf16Range(text, 0, 0), text);
    EXPECT_EQ(removeUtf16Range(text, 100, 5), text);
    EXPECT_EQ(removeUtf16Range(text, 1, SIZE_MAX), "a");
    EXPECT_EQ(replaceUtf16Range(text, 2, 2, "xy"), "abxyđ");
    EXPECT_EQ(replaceUtf16Range(text, 5, 0, "!"), text + "!");
}

TEST(TextReplacement, InvalidBytesAndLoneSurrogatesBecomeReplacementCharactersNotCrashes) {
    std::string broken = "a\xC3";
    EXPECT_EQ(toUpper(broken), "A\xEF\xBF\xBD");
    EXPECT_EQ(toUpper("\xE0\x80\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"); // overlong: three bad bytes
    std::u16string units = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
    EXPECT_EQ(fromUtf16(units), "a\xEF\xBF\xBD"
                                "b\xEF\xBF\xBD");
}

TEST(TextValidity, TellsValidUtf8FromBrokenBytes) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("Xin chào " + kEmoji));
    EXPECT_TRUE(isValidUtf8("\xEF\xBF\xBD")); // a real replacement character
    EXPECT_FALSE(isValidUtf8("\xC3"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xFF"));
}

TEST(TextTrim, RemovesBlanksAndUnicodeSpacesAtBothEnds) {
    EXPECT_EQ(trimWhitespace("  \t an  đức \n"), "an  đức");
    EXPECT_EQ(trimWhitespace("\xC2\xA0x\xE3\x80\x80"), "x"); // no-break and ideographic spaces
    EXPECT_EQ(trimWhitespace(" \n "), "");
    EXPECT_EQ(trimWhitespace(""), "");
}
