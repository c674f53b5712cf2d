#include "app/URLParser.h"

#include <gtest/gtest.h>

namespace kavo {
namespace {

TEST(URLParser, ReadsEachQueryVariableAsGiven) {
    URLParser parser("http://pay.example/p?product=zel100&price=20000&note=a%20b");
    EXPECT_EQ(parser.variables(), (std::vector<std::string>{"product=zel100", "price=20000", "note=a%20b"}));
    EXPECT_EQ(parser.valueForVariable("product"), "zel100");
    EXPECT_EQ(parser.valueForVariable("price"), "20000");
    EXPECT_EQ(parser.valueForVariable("note"), "a%20b") << "nothing is unescaped";
    EXPECT_EQ(parser.valueForVariable("pri"), std::nullopt) << "a name must match whole";
}

TEST(URLParser, AVariableWithoutAValueGivesNothing) {
    URLParser parser("x?a=&b=2&c=");
    EXPECT_EQ(parser.valueForVariable("a"), std::nullopt);
    EXPECT_EQ(parser.valueForVariable("c"), std::nullopt);
    EXPECT_EQ(parser.valueForVariable("b"), "2");
}

TEST(URLParser, AnAddressWithoutAQueryHasNoVariables) {
    URLParser parser("http://host/path=1&a=2");
    EXPECT_TRUE(parser.variables().empty());
    EXPECT_EQ(parser.valueForVariable("a"), std::nullopt);
}

TEST(URLParser, RunsOfSeparatorsMakeNoEmptyPieces) {
    URLParser parser("h?&&a=1?b=2&&");
    EXPECT_EQ(parser.variables(), (std::vector<std::string>{"a=1", "b=2"}));
    EXPECT_EQ(URLParser("h?").variables().size(), 0u);
}

TEST(URLParser, TheFirstPieceWithAValueWins) {
    URLParser parser("h?a=&a=first&a=second");
    EXPECT_EQ(parser.valueForVariable("a"), "first");
}

} // namespace
} // namespace kavo
