#include "platform/foundation/Base64.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/Url.h"
#include "platform/runtime/Log.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace platform;

namespace {
struct QuietLog {
    QuietLog() {
        setLogSink([](const std::string&) {});
    }
    ~QuietLog() { setLogSink(nullptr); }
};
Bytes bytesOf(std::string_view s) {
    return Bytes(s.begin(), s.end());
}
} // namespace

TEST(Base64, MatchesTheStandardVectors) {
    const std::pair<const char*, const char*> vectors[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (auto [plain, encoded] : vectors) {
        EXPECT_EQ(base64Encode(std::string_view(plain)), encoded);
        EXPECT_EQ(base64Decode(encoded), bytesOf(plain));
        Bytes inPlace = bytesOf(encoded);
        EXPECT_TRUE(base64DecodeInPlace(inPlace));
        EXPECT_EQ(inPlace, bytesOf(plain)) << encoded;
        EXPECT_TRUE(isBase64(encoded)) << encoded;
        EXPECT_EQ(base64DecodedSize(encoded), std::string_view(plain).size()) << encoded;
    }
    Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[size_t(i)] = uint8_t(i);
    EXPECT_EQ(base64Decode(base64Encode(all)), all);
    Bytes inPlace = bytesOf(base64Encode(all));
    EXPECT_TRUE(base64DecodeInPlace(inPlace));
    EXPECT_EQ(inPlace, all);
}

TEST(Base64, InvalidInputGivesNothing) {
    for (const char* bad : {"Zg", "Zg=", "Z===", "Zm9v!A==", "Zg==Zg==", "=Zg=", "Zm 9v", "Zm9v\n"}) {
        EXPECT_EQ(base64Decode(bad), std::nullopt) << bad;
        Bytes inPlace = bytesOf(bad);
        EXPECT_FALSE(base64DecodeInPlace(inPlace)) << bad;
        EXPECT_FALSE(isBase64(bad)) << bad;
    }
}

TEST(Url, SplitsAnAbsoluteAddress) {
    auto url = Url::parse("HTTPS://user@Example.COM:8443/list/servers.txt?lang=vi&v=1.2#top");
    ASSERT_TRUE(url.has_value());
    EXPECT_EQ(url->scheme, "https");
    EXPECT_EQ(url->userInfo, "user");
    EXPECT_EQ(url->host, "example.com");
    EXPECT_EQ(url->port, 8443);
    EXPECT_EQ(url->path, "/list/servers.txt");
    EXPECT_EQ(url->query, "lang=vi&v=1.2");
    EXPECT_EQ(url->fragment, "top");
    EXPECT_EQ(url->toString(), "https://user@example.com:8443/list/servers.txt?lang=vi&v=1.2#top");
}

TEST(Url, FillsInUsualPortsAndEmptyParts) {
    auto plain = Url::parse("http://127.0.0.1");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->port, -1);
    EXPECT_EQ(plain->effectivePort(), 80);
    EXPECT_EQ(plain->path, "");
    EXPECT_FALSE(plain->hasQuery);
    EXPECT_EQ(Url::parse("https://h/")->effectivePort(), 443);
    auto v6 = Url::parse("http://[::1]:8080/x");
    ASSERT_TRUE(v6);
    EXPECT_EQ(v6->host, "::1");
    EXPECT_EQ(v6->port, 8080);
    EXPECT_EQ(v6->toString(), "http://[::1]:8080/x");
    auto tel = Url::parse("telprompt:19001234");
    ASSERT_TRUE(tel);
    EXPECT_EQ(tel->scheme, "telprompt");
    EXPECT_EQ(tel->path, "19001234");
}

TEST(Url, RefusesAddressesWithoutSchemeOrWithBadPorts) {
    for (const char* bad :
         {"", "no-scheme", "://x", "1http://x", "http://h:99999/", "http://h:8x/", "http://h:/", "http://[::1/"})
        EXPECT_EQ(Url::parse(bad), std::nullopt) << bad;
}

TEST(Url, DecodesQueryItemsInOrder) {
    auto url = Url::parse("http://h/p?id=12&messenge=Xin%20ch%C3%A0o&empty=&flag&id=13&bad=%zz%4");
    ASSERT_TRUE(url);
    QueryItems expected = {{"id", "12"}, {"messenge", "Xin chào"}, {"empty", ""}, {"flag", ""},
                           {"id", "13"}, {"bad", "%zz%4"}};
    EXPECT_EQ(url->queryItems(), expected);
    EXPECT_EQ(url->queryValue("id"), "12");
    EXPECT_EQ(url->queryValue("absent"), std::nullopt);
}

TEST(PercentEncoding, KeepsOnlyUnreservedCharacters) {
    EXPECT_EQ(percentEncode("a-b_c.d~e"), "a-b_c.d~e");
    EXPECT_EQ(percentEncode("a b&c=d/é"), "a%20b%26c%3Dd%2F%C3%A9");
    EXPECT_EQ(percentDecode(percentEncode("Đường 1/2 + ?")), "Đường 1/2 + ?");
    EXPECT_EQ(percentDecode("a+b"), "a+b");
    EXPECT_EQ(percentDecode("a+b", true), "a b");
    EXPECT_EQ(percentDecode("%"), "%");
    EXPECT_EQ(percentDecode("%4"), "%4");
    EXPECT_EQ(percentDecode("100%"), "100%");
}

TEST(PercentEncoding, AppendsQueriesBeforeTheFragment) {
    EXPECT_EQ(appendQuery("http://h/p", {{"u", "an nguyễn"}}), "http://h/p?u=an%20nguy%E1%BB%85n");
    EXPECT_EQ(appendQuery("http://h/p?a=1", {{"b", "2"}, {"c", "&"}}), "http://h/p?a=1&b=2&c=%26");
    EXPECT_EQ(appendQuery("http://h/p?#frag", {{"b", "2"}}), "http://h/p?b=2#frag");
    EXPECT_EQ(appendQuery("http://h/p", {}), "http://h/p");
}

TEST(Json, RoundTripKeepsKindsAndKeyOrder) {
    auto parsed = parseJson(R"({"zeta":1,"alpha":[true,false,null,2.5,-3],"name":"Đức 😀","big":9007199254740993,
                               "nested":{"b":{},"a":[]}})");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->keys(), (std::vector<std::string>{"zeta", "alpha", "name", "big", "nested"}));
    EXPECT_EQ((*parsed)["alpha"].at(0).type(), ValueType::Bool);
    EXPECT_TRUE((*parsed)["alpha"].at(2).isNull());
    EXPECT_EQ((*parsed)["alpha"].at(3).doubleValue(), 2.5);
    EXPECT_EQ((*parsed)["alpha"].at(4).type(), ValueType::Integer);
    EXPECT_EQ((*parsed)["big"].int64Value(), 9007199254740993LL);
    EXPECT_EQ((*parsed)["name"].stringValue(), "Đức 😀");
    EXPECT_EQ(parseJson(toJson(*parsed)), parsed);
    EXPECT_EQ(parseJson(toJson(*parsed, true)), parsed);
}

TEST(Json, WritesPushRegistrationsAsTheServerReadsThem) {
    Value push;
    push.set("registrationId", "abc");
    push.set("username", "an");
    push.set("os", "Linux");
    EXPECT_EQ(toJson(push), R"({"registrationId":"abc","username":"an","os":"Linux"})");
}

TEST(Json, DataBecomesBase64AndDatesBecomeNumbers) {
    Value v;
    v.set("picture", Value(Bytes{'f', 'o', 'o'}));
    v.set("when", Value::date(1700000000));
    v.set("nan", Value(std::nan("")));
    EXPECT_EQ(toJson(v), R"({"picture":"Zm9v","when":1700000000.0,"nan":null})");
}

TEST(Json, InvalidTextGivesNothing) {
    QuietLog quiet;
    for (const char* bad : {"", "{", "[1,]", "{'a':1}", "nul", "{\"a\":1} x", "\"\xC3\"", "[1 2]"})
        EXPECT_EQ(parseJson(bad), std::nullopt) << bad;
    EXPECT_EQ(parseJson(std::string(100000, '[') + std::string(100000, ']')), std::nullopt);
    EXPECT_EQ(parseJson("18446744073709551615")->type(), ValueType::Real); // past int64
}
