#include "sdk/socialnet/json/SNArray.h"
#include "sdk/socialnet/json/SNDictionary.h"
#include "sdk/socialnet/json/SNJSON.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace socialnet {
namespace {

std::vector<std::string> traceOf(const SNJsonBase& json) {
    std::vector<std::string> texts;
    for (auto& error : json.errorTrace())
        texts.push_back(error->message);
    return texts;
}

// Stands in for JSON by the value it carries.
class Proxied : public SNObject {
public:
    explicit Proxied(SNValue proxy) : proxy_(std::move(proxy)) {}
    std::string className() const override { return "Proxied"; }
    std::optional<SNValue> proxyForJson() const override { return proxy_; }

private:
    SNValue proxy_;
};

SNValue proxied(SNValue value) {
    return SNValue(SNObjectPtr(std::make_shared<Proxied>(std::move(value))));
}

TEST(SNJsonWriterTest, EveryKindIsWrittenCompactly) {
    auto inner = SNArray::make({SNValue(true), SNValue(false), SNValue(), SNValue(int64_t(-12)), SNValue(2.5)});
    auto dictionary = SNDictionary::make();
    dictionary->setObject(SNValue("x"), "z");
    dictionary->setObject(SNValue(inner), "a");
    dictionary->setObject(SNValue(*SNDecimal::parse("1.250e1")), "n");
    SNJsonWriter writer;
    EXPECT_EQ(writer.stringWithObject(SNValue(dictionary)), R"({"z":"x","a":[true,false,null,-12,2.5],"n":12.5})");
    EXPECT_EQ(writer.stringWithFragment(SNValue("fragment")), R"("fragment")");
}

TEST(SNJsonWriterTest, StringsAreEscapedOnlyWhereJsonNeedsIt) {
    struct Case {
        std::string text;
        std::string written;
    };
    std::vector<Case> cases = {
        {"a/b \xC3\xA9", "\"a/b \xC3\xA9\""}, {"q\"b", R"("q\"b")"},   {"C:\\dir", R"("C:\\dir")"},
        {"\b\t\n\f\r", R"("\b\t\n\f\r")"},    {"\x0B", R"("\u000b")"}, {std::string("\0\x1F", 2), R"("\u0000\u001f")"},
    };
    SNJsonWriter writer;
    for (auto& c : cases)
        EXPECT_EQ(writer.stringWithFragment(SNValue(c.text)), c.written);
}

TEST(SNJsonWriterTest, HumanReadableSortedFormIndentsByTwoBlanks) {
    auto dictionary = SNDictionary::make();
    dictionary->setObject(SNValue(SNArray::make()), "b");
    dictionary->setObject(SNValue(SNArray::make()), "a");
    SNJSON json;
    json.setHumanReadable(true);
    json.setSortKeys(true);
    EXPECT_EQ(json.stringWithObject(SNValue(dictionary)), "{\n  \"a\" : [],\n  \"b\" : []\n}");
    auto nested = SNDictionary::make();
    nested->setObject(SNValue(SNArray::make({SNValue(1), SNValue(SNDictionary::make())})), "k");
    EXPECT_EQ(json.stringWithObject(SNValue(nested)), "{\n  \"k\" : [\n    1,\n    {}\n  ]\n}");
}

TEST(SNJsonWriterTest, UnsupportedKeysAndValuesFail) {
    SNJSON json;
    SNErrorPtr error;
    auto numberKey = SNDictionary::make();
    numberKey->setObject(SNValue("v"), SNValue(1));
    EXPECT_FALSE(json.stringWithObject(SNValue(numberKey), &error));
    EXPECT_EQ(traceOf(json), std::vector<std::string>{"JSON object key must be string"});
    EXPECT_EQ(error->code, 1);

    auto dated = SNDictionary::make();
    dated->setObject(SNValue::date(0), "when");
    EXPECT_FALSE(json.stringWithObject(SNValue(dated), &error));
    EXPECT_EQ(traceOf(json), (std::vector<std::string>{"JSON serialisation not supported for Date",
                                                       "Unsupported value for key when in object"}));
    EXPECT_EQ(error->message, "Unsupported value for key when in object");

    for (double notFinite :
         {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(json.stringWithFragment(SNValue(notFinite), &error));
        EXPECT_EQ(traceOf(json), std::vector<std::string>{"JSON serialisation not supported for Decimal"});
    }
    EXPECT_FALSE(json.stringWithObject(SNValue("scalar"), &error));
    EXPECT_EQ(traceOf(json), std::vector<std::string>{"Not valid type for JSON"});
    EXPECT_EQ(error->code, 4);
}

TEST(SNJsonWriterTest, AProxyIsWrittenInPlaceOfItsObject) {
    SNJsonWriter writer;
    EXPECT_EQ(writer.stringWithObject(proxied(SNValue(SNArray::make({SNValue("p")})))), R"(["p"])");
    EXPECT_EQ(writer.stringWithFragment(SNValue(SNArray::make({proxied(SNValue(7))}))), "[7]");
    // A proxy that is itself unsupported fails the write.
    EXPECT_FALSE(writer.stringWithFragment(SNValue(SNArray::make({proxied(SNValue::date(1))}))));
    EXPECT_EQ(traceOf(writer), std::vector<std::string>{"JSON serialisation not supported for Date"});
    EXPECT_FALSE(writer.stringWithObject(proxied(SNValue("scalar"))));
    EXPECT_EQ(traceOf(writer), std::vector<std::string>{"Not valid type for JSON"});
}

TEST(SNJsonWriterTest, NestingIsLimitedAsInTheReader) {
    SNValue value(SNArray::make());
    for (int i = 0; i < 3; ++i)
        value = SNValue(SNArray::make({value}));
    SNJSON json;
    json.setMaxDepth(3);
    EXPECT_FALSE(json.stringWithObject(value));
    EXPECT_EQ(traceOf(json).front(), "Nested too deep");
    json.setMaxDepth(4);
    EXPECT_EQ(json.stringWithObject(value), "[[[[]]]]");
    // Without a limit the human-readable form still indents by level.
    json.setMaxDepth(0);
    json.setHumanReadable(true);
    EXPECT_EQ(json.stringWithObject(SNValue(SNArray::make({SNValue(SNArray::make({SNValue(1)}))}))),
              "[\n  [\n    1\n  ]\n]");
}

TEST(SNJsonWriterTest, WhatIsReadIsWrittenBackTheSame) {
    SNJSON json;
    std::string text = R"({"id":"1","n":[1.5,0.5,-2E-70,100000],"s":"\u00e9\n","o":{"t":true,"f":null}})";
    auto value = json.objectWithString(text);
    ASSERT_TRUE(value);
    EXPECT_EQ(json.stringWithObject(*value),
              "{\"id\":\"1\",\"n\":[1.5,0.5,-2E-70,100000],\"s\":\"\xC3\xA9\\n\",\"o\":{\"t\":true,\"f\":null}}");
}

} // namespace
} // namespace socialnet
