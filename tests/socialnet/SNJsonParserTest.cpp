#include "sdk/socialnet/json/SNArray.h"
#include "sdk/socialnet/json/SNDictionary.h"
#include "sdk/socialnet/json/SNJSON.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace socialnet {
namespace {

struct Failing {
    std::string text;
    std::vector<std::string> trace; // innermost first
    int64_t outerCode;
};

std::vector<std::string> traceOf(const SNJsonBase& json) {
    std::vector<std::string> texts;
    for (auto& error : json.errorTrace())
        texts.push_back(error->message);
    return texts;
}

void expectFailures(const std::vector<Failing>& cases, bool allowScalar) {
    for (auto& c : cases) {
        SNJSON json;
        SNErrorPtr error;
        auto value = json.objectWithString(c.text, allowScalar, &error);
        EXPECT_FALSE(value) << c.text;
        EXPECT_EQ(traceOf(json), c.trace) << c.text;
        ASSERT_TRUE(error) << c.text;
        EXPECT_EQ(error->code, c.outerCode) << c.text;
        EXPECT_EQ(error->domain, "org.quelmarin.JSON.ErrorDomain");
    }
}

std::string nested(int depth) {
    return std::string(size_t(depth), '[') + std::string(size_t(depth), ']');
}

TEST(SNJsonParserTest, ContainersParseToSharedDictionariesAndArrays) {
    SNJsonParser parser;
    auto empty = parser.objectWithString("[]");
    ASSERT_TRUE(empty && empty->isArray());
    EXPECT_EQ(empty->array()->count(), 0u);
    auto object = parser.objectWithString(" {\"b\":1,\"a\":[true,false,null],\"b\":\"later\"} ");
    ASSERT_TRUE(object && object->isDictionary());
    auto& dictionary = object->dictionary();
    ASSERT_EQ(dictionary->count(), 2u);
    // A repeated key keeps its first place and takes the later value.
    EXPECT_EQ(dictionary->keys()[0].string(), "b");
    EXPECT_EQ(dictionary->objectForKey("b").string(), "later");
    auto list = dictionary->objectForKey("a").array();
    ASSERT_EQ(list->count(), 3u);
    EXPECT_TRUE(list->objectAtIndex(0).isBool() && list->objectAtIndex(0).boolValue());
    EXPECT_TRUE(list->objectAtIndex(1).isBool() && !list->objectAtIndex(1).boolValue());
    EXPECT_TRUE(list->objectAtIndex(2).isNull());
}

TEST(SNJsonParserTest, NestingStopsAtTheLimitUnlessTheLimitIsZero) {
    SNJsonParser parser;
    EXPECT_TRUE(parser.objectWithString(nested(512)));
    EXPECT_FALSE(parser.objectWithString(nested(513)));
    ASSERT_EQ(parser.errorTrace().size(), 513u);
    EXPECT_EQ(parser.errorTrace().front()->message, "Nested too deep");
    EXPECT_EQ(parser.errorTrace().front()->code, 7);
    EXPECT_EQ(parser.errorTrace().back()->message, "Expected value while parsing array");
    parser.setMaxDepth(0);
    EXPECT_TRUE(parser.objectWithString(nested(2000)));
    // The depth starts again at each text.
    parser.setMaxDepth(2);
    EXPECT_FALSE(parser.objectWithString("[[[1]]]"));
    EXPECT_TRUE(parser.objectWithString("[[1]]"));
    EXPECT_TRUE(parser.objectWithString("{\"a\":[1]}"));
}

TEST(SNJsonParserTest, ScalarsAreFragmentsNotObjects) {
    SNJsonParser parser;
    EXPECT_FALSE(parser.objectWithString(" 42 "));
    EXPECT_EQ(traceOf(parser), std::vector<std::string>{"Valid fragment, but not JSON"});
    EXPECT_EQ(parser.errorTrace()[0]->code, 4);
    auto number = parser.fragmentWithString(" 42 ");
    ASSERT_TRUE(number && number->isNumber());
    EXPECT_EQ(number->number()->text(), "42");
    EXPECT_FALSE(parser.fragmentWithString(std::nullopt));
    EXPECT_EQ(traceOf(parser), std::vector<std::string>{"Input was 'nil'"});
    EXPECT_EQ(parser.errorTrace()[0]->code, 12);
}

TEST(SNJsonParserTest, LiteralsAndWhatFollowsThem) {
    expectFailures(
        {
            {"tru", {"Expected 'true'"}, 3},
            {"[fals]", {"Expected 'false'", "Expected value while parsing array"}, 3},
            {"nul", {"Expected 'null'"}, 3},
            {"truex", {"Garbage after JSON"}, 10},
            {"[] x", {"Garbage after JSON"}, 10},
            {"", {"Unexpected end of string"}, 11},
            {"   ", {"Unexpected end of string"}, 11},
            {"@", {"Unrecognised leading character"}, 3},
        },
        true);
    SNJsonParser parser;
    auto value = parser.fragmentWithString("true ");
    ASSERT_TRUE(value);
    EXPECT_TRUE(value->boolValue());
}

TEST(SNJsonParserTest, MalformedNumbersSayWhatIsWrong) {
    expectFailures(
        {
            {"01", {"Leading 0 disallowed in number"}, 2},
            {"-", {"No digits after initial minus"}, 2},
            {"1.", {"No digits after decimal point"}, 2},
            {"1e+", {"No digits after exponent"}, 2},
            {"+1", {"Leading + disallowed in number"}, 2},
            {"[1e2147483648]", {"Failed creating decimal instance", "Expected value while parsing array"}, 3},
            {"1e99999999999999999999", {"Failed creating decimal instance"}, 2},
        },
        true);
}

TEST(SNJsonParserTest, NumbersKeepEveryDigit) {
    struct Case {
        std::string text;
        std::string digits;
        int32_t exponent;
        std::string written;
    };
    std::vector<Case> cases = {
        {"0", "0", 0, "0"},
        {"-0", "0", 0, "0"},
        {"1.50", "15", -1, "1.5"},
        {"12345678901234567890123456789", "12345678901234567890123456789", 0, "12345678901234567890123456789"},
        {"0.000001", "1", -6, "0.000001"},
        {"-2.5E3", "25", 2, "-2500"},
        {"1e-2147483648", "1", -2147483647 - 1, "1E-2147483648"},
        {"1e2000000000", "1", 2000000000, "1E2000000000"},
        {"100e2147483645", "1", 2147483647, "1E2147483647"},
    };
    for (auto& c : cases) {
        SNJsonParser parser;
        auto value = parser.fragmentWithString(c.text);
        ASSERT_TRUE(value && value->isNumber()) << c.text;
        EXPECT_EQ(value->number()->digits(), c.digits) << c.text;
        EXPECT_EQ(value->number()->exponent(), c.exponent) << c.text;
        EXPECT_EQ(value->number()->text(), c.written) << c.text;
    }
}

TEST(SNJsonParserTest, StringsReadRunsAndEscapes) {
    struct Case {
        std::string text;
        std::string value;
    };
    std::vector<Case> cases = {
        {R"("plain text")", "plain text"},
        {R"("\"\\\/\b\f\n\r\t")", "\"\\/\b\f\n\r\t"},
        {R"("caf\u00e9 \u20AC")", "caf\xC3\xA9 \xE2\x82\xAC"},
        {R"("\ud83d\ude00")", "\xF0\x9F\x98\x80"},
        {"\"h\xE1\xBB\x93ng\"", "h\xE1\xBB\x93ng"},
        {R"("a\u0000b")", std::string("a\0b", 3)},
    };
    for (auto& c : cases) {
        SNJsonParser parser;
        auto value = parser.fragmentWithString(c.text);
        ASSERT_TRUE(value && value->isString()) << c.text;
        EXPECT_EQ(value->string(), c.value) << c.text;
    }
}

TEST(SNJsonParserTest, BrokenStringsAndEscapesFailInTraceOrder) {
    expectFailures(
        {
            {R"("\x")", {"Illegal escape sequence '0x78'"}, 8},
            {"\"\\\x80\"", {"Illegal escape sequence '0xff80'"}, 8},
            {"\"\\\xFF\"", {"Illegal escape sequence '0xffff'"}, 8},
            {"\"\\", {"Illegal escape sequence '0x0'"}, 8},
            {"\"\\n", {"Unexpected EOF while parsing string"}, 11},
            {"\"a\tb\"", {"Unescaped control character '0x9'"}, 5},
            {"\"abc", {"Unescaped control character '0x0'"}, 5},
            {"\"\xFF\"", {"Unescaped control character '0xff'"}, 5},
            {R"("\udc00")", {"Invalid high character in surrogate pair", "Broken unicode character"}, 6},
            {R"("\ud83dx")", {"Missing low character in surrogate pair", "Broken unicode character"}, 6},
            {R"("\ud83d\u12")",
             {"Missing hex digit in quad", "Missing low character in surrogate pair", "Broken unicode character"},
             6},
            {R"("\ud83d\u0041")", {"Invalid low surrogate char", "Broken unicode character"}, 6},
            {R"("\u12g4")", {"Missing hex digit in quad", "Missing hex quad", "Broken unicode character"}, 6},
        },
        true);
}

TEST(SNJsonParserTest, CommasAreOptionalButNeverTrailing) {
    SNJsonParser parser;
    auto spaced = parser.objectWithString("[1 2]");
    ASSERT_TRUE(spaced);
    EXPECT_EQ(spaced->array()->count(), 2u);
    auto minus = parser.objectWithString("[1-2]");
    ASSERT_TRUE(minus);
    EXPECT_EQ(minus->array()->objectAtIndex(1).number()->text(), "-2");
    auto object = parser.objectWithString("{\"a\":1 \"b\":2}");
    ASSERT_TRUE(object);
    EXPECT_EQ(object->dictionary()->count(), 2u);
    expectFailures(
        {
            {"[1,]", {"Trailing comma disallowed in array"}, 9},
            {"{\"a\":1, }", {"Trailing comma disallowed in object"}, 9},
        },
        false);
}

TEST(SNJsonParserTest, EndsOfInputInsideContainers) {
    expectFailures(
        {
            {"[1", {"End of input while parsing array"}, 11},
            {"[ ", {"Unexpected end of string", "Expected value while parsing array"}, 3},
            {"[1, ", {"End of input while parsing array"}, 11},
            {"{\"a\":1", {"End of input while parsing object"}, 11},
            {"{ ", {"Object key string expected"}, 3},
            {"{1:2}", {"Object key string expected"}, 3},
            {"{\"a\" 1}", {"Expected ':' separating key and value"}, 3},
            {"{\"a\":}", {"Unrecognised leading character", "Object value expected for key: a"}, 3},
            {"{\"a\tb\":1}", {"Unescaped control character '0x9'", "Object key string expected"}, 3},
            // The text ends at a NUL byte: nothing after it is read.
            {std::string("[1\0]", 4), {"End of input while parsing array"}, 11},
        },
        false);
}

TEST(SNJsonParserTest, TwoNestedFailuresChainInnermostFirst) {
    SNJSON json;
    SNErrorPtr error;
    EXPECT_FALSE(json.objectWithString("{\"k\":[01]}", &error));
    EXPECT_EQ(traceOf(json),
              (std::vector<std::string>{"Leading 0 disallowed in number", "Expected value while parsing array",
                                        "Object value expected for key: k"}));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "Object value expected for key: k");
    ASSERT_TRUE(error->underlying);
    EXPECT_EQ(error->underlying->message, "Expected value while parsing array");
    ASSERT_TRUE(error->underlying->underlying);
    EXPECT_EQ(error->underlying->underlying->message, "Leading 0 disallowed in number");
    EXPECT_FALSE(error->underlying->underlying->underlying);
    // The next operation starts a new trace.
    EXPECT_TRUE(json.objectWithString("{}"));
    EXPECT_TRUE(json.errorTrace().empty());
}

} // namespace
} // namespace socialnet
