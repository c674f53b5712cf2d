#include "platform/foundation/Value.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace platform;

TEST(ValueText, ConvertsToNumbersLikeTheClassicIntValue) {
    EXPECT_EQ(Value(" -12ab").intValue(), -12);
    EXPECT_EQ(Value("abc").intValue(), 0);
    EXPECT_EQ(Value("").intValue(), 0);
    EXPECT_EQ(Value("+7").intValue(), 7);
    EXPECT_EQ(Value("\t\n 42 43").intValue(), 42);
    EXPECT_EQ(Value("- 5").intValue(), 0);
    EXPECT_EQ(Value("3.9").intValue(), 3);
    EXPECT_EQ(Value("0012").int64Value(), 12);
}

TEST(ValueText, OverflowingDigitsSaturateInsteadOfWrapping) {
    EXPECT_EQ(Value("99999999999").intValue(), std::numeric_limits<int>::max());
    EXPECT_EQ(Value("-99999999999").intValue(), std::numeric_limits<int>::min());
    EXPECT_EQ(Value("99999999999").int64Value(), 99999999999LL);
    EXPECT_EQ(Value("-9223372036854775808").int64Value(), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(Value("9223372036854775808").int64Value(), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(Value("123456789012345678901234567890").int64Value(), std::numeric_limits<int64_t>::max());
}

TEST(ValueText, ReadsRealsAndTruthWords) {
    EXPECT_DOUBLE_EQ(Value(" 2.5kg").doubleValue(), 2.5);
    EXPECT_DOUBLE_EQ(Value("-1e3").doubleValue(), -1000);
    EXPECT_EQ(Value("x").doubleValue(), 0);
    EXPECT_EQ(Value("1e-400").doubleValue(), 0);
    EXPECT_TRUE(Value("YES").boolValue());
    EXPECT_TRUE(Value("true").boolValue());
    EXPECT_TRUE(Value(" 007").boolValue());
    EXPECT_FALSE(Value("NO").boolValue());
    EXPECT_FALSE(Value("000").boolValue());
    EXPECT_FALSE(Value("").boolValue());
}

TEST(ValueNumbers, ConvertToPlainText) {
    EXPECT_EQ(Value(42).stringValue(), "42");
    EXPECT_EQ(Value(int64_t(-9000000000)).stringValue(), "-9000000000");
    EXPECT_EQ(Value(1.5).stringValue(), "1.5");
    EXPECT_EQ(Value(2.0).stringValue(), "2");
    EXPECT_EQ(Value(true).stringValue(), "1");
    EXPECT_EQ(Value().stringValue(), "");
}

TEST(ValueNumbers, RealsOutsideTheIntegerRangeSaturate) {
    EXPECT_EQ(Value(1e300).intValue(), std::numeric_limits<int>::max());
    EXPECT_EQ(Value(-1e300).int64Value(), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(Value(std::nan("")).intValue(), 0);
    EXPECT_EQ(Value(-3.7).intValue(), -3);
}

TEST(ValueNumbers, WrongKindsGiveZeroOrEmptyWithoutThrowing) {
    Value array = Value::emptyArray();
    array.append(1);
    EXPECT_EQ(array.intValue(), 0);
    EXPECT_EQ(array.stringValue(), "");
    EXPECT_TRUE(array.dictValue().empty());
    EXPECT_TRUE(Value(5).arrayValue().empty());
    EXPECT_TRUE(Value("x").dataValue().empty());
    EXPECT_TRUE(Value(5)["key"].isNull());
    EXPECT_TRUE(array.at(7).isNull());
}

TEST(ValueDictionary, KeepsInsertionOrderAndReplacesInPlace) {
    Value dict;
    dict.set("zeta", 1);
    dict.set("alpha", 2);
    dict.set("mid", 3);
    dict.set("zeta", "again");
    EXPECT_EQ(dict.keys(), (std::vector<std::string>{"zeta", "alpha", "mid"}));
    EXPECT_EQ(dict["zeta"].stringValue(), "again");
    dict.remove("alpha");
    EXPECT_EQ(dict.keys(), (std::vector<std::string>{"zeta", "mid"}));
    EXPECT_TRUE(dict["alpha"].isNull());
    EXPECT_FALSE(dict.contains("alpha"));
    EXPECT_EQ(dict.size(), 2u);
}

TEST(ValueDictionary, ComparesDeeply) {
    Value a;
    a.set("list", Value(Value::Array{1, "two", 3.0}));
    a.set("data", Value(Bytes{1, 2}));
    Value b = a;
    EXPECT_EQ(a, b);
    b.set("data", Value(Bytes{1, 3}));
    EXPECT_FALSE(a == b);
    EXPECT_FALSE(Value::date(5) == Value(5.0)); // a date is not a number
}
