#include "platform/foundation/PropertyList.h"

#include "platform/foundation/Base64.h"
#include "platform/foundation/FileSystem.h"
#include "platform/runtime/Log.h"
#include "tests/platform/foundation/TempDir.h"

#include <gtest/gtest.h>

using namespace platform;
using platform::test::TempDir;

namespace {

Value everyKind() {
    Value dict;
    dict.set("name", "Nguyễn Văn Đức — đường phố Ứng Hòa");
    dict.set("empty", "");
    dict.set("spaces", "  two  ");
    dict.set("onlySpace", " ");
    dict.set("onlyBreaks", "\n\n\t");
    dict.set("windowsLines", "Local;1.2.3.4;5000\r\nOther;5.6.7.8;5001\r\n");
    dict.set(" ", "a key of white space");
    dict.set("markup", "<b>&amp;</b> \"q\" 'a'");
    dict.set("count", 42);
    dict.set("big", int64_t(1) << 40);
    dict.set("negative", -7);
    dict.set("ratio", 2.125);
    dict.set("tiny", 1e-9);
    dict.set("yes", true);
    dict.set("no", false);
    dict.set("picture", Value(Bytes{0, 1, 2, 0xFF, 0x80, 0x7F}));
    dict.set("noBytes", Value(Bytes{}));
    dict.set("when", Value::date(1700000000));
    dict.set("whenFraction", Value::date(1700000000.25));
    dict.set("beforeEpoch", Value::date(-86400.5));
    Value list = Value::emptyArray();
    list.append("a");
    list.append(1);
    Value inner;
    inner.set("k", "v");
    list.append(inner);
    list.append(Value::emptyArray());
    dict.set("list", list);
    dict.set("emptyDict", Value::emptyDictionary());
    return dict;
}

struct LogCapture {
    std::vector<std::string> lines;
    LogCapture() {
        setLogSink([this](const std::string& line) { lines.push_back(line); });
    }
    ~LogCapture() { setLogSink(nullptr); }
};

} // namespace

TEST(PropertyList, EveryKindSurvivesAWriteAndRead) {
    TempDir dir;
    Value original = everyKind();
    ASSERT_TRUE(PropertyList::writeFile(dir.file("all.plist"), original));
    Value read = PropertyList::readFile(dir.file("all.plist"));
    // Dates keep their whole seconds.
    original.set("whenFraction", Value::date(1700000000));
    original.set("beforeEpoch", Value::date(-86401));
    EXPECT_EQ(read, original);
    EXPECT_EQ(read.keys(), original.keys()); // order kept
    EXPECT_EQ(read["name"].stringValue(), "Nguyễn Văn Đức — đường phố Ứng Hòa");
}

TEST(PropertyList, WritesTheUsualTextForm) {
    Value dict;
    dict.set("Server", "127.0.0.1");
    dict.set("Port", 5000);
    dict.set("On", true);
    std::string xml = PropertyList::toXml(dict);
    EXPECT_NE(xml.find("<plist version=\"1.0\">"), std::string::npos);
    EXPECT_NE(xml.find("<key>Server</key>"), std::string::npos);
    EXPECT_NE(xml.find("<integer>5000</integer>"), std::string::npos);
    EXPECT_NE(xml.find("<true/>"), std::string::npos);
}

TEST(PropertyList, ReadsHandWrittenFilesWithWrappedDataAndIndentation) {
    const char* xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist>
<plist version="1.0">
<dict>
    <key>Port</key>
    <integer> 5001 </integer>
    <key>Ratio</key>
    <real>+1.5</real>
    <key>Blob</key>
    <data>
        AAEC
        Aw==
    </data>
    <key>When</key>
    <date>2024-01-02T03:04:05Z</date>
    <key>Servers</key>
    <array><string>Local</string><string/></array>
</dict>
</plist>)";
    Value v = PropertyList::parse(xml);
    EXPECT_EQ(v["Port"].intValue(), 5001);
    EXPECT_EQ(v["Ratio"].doubleValue(), 1.5);
    EXPECT_EQ(v["Blob"].dataValue(), (Bytes{0, 1, 2, 3}));
    EXPECT_EQ(v["When"].type(), ValueType::Date);
    EXPECT_EQ(v["When"].dateValue(), 1704164645);
    EXPECT_EQ(v["Servers"].size(), 2u);
    EXPECT_EQ(v["Servers"].at(1).stringValue(), "");
}

TEST(PropertyList, MissingFileGivesNullQuietly) {
    TempDir dir;
    LogCapture log;
    EXPECT_TRUE(PropertyList::readFile(dir.file("absent.plist")).isNull());
    EXPECT_TRUE(log.lines.empty());
}

TEST(PropertyList, MalformedTextGivesNullAndALogLine) {
    const char* broken[] = {
        "",
        "not xml at all",
        "<plist><dict><key>a</key>",                                 // cut short
        "<plist><dict><key>a</key></dict></plist>",                  // key without value
        "<plist><dict><string>x</string></dict></plist>",            // value without key
        "<plist><integer>12abc</integer></plist>",                   // bad number
        "<plist><integer>99999999999999999999999</integer></plist>", // out of range
        "<plist><data>!!!!</data></plist>",                          // bad Base64
        "<plist><date>yesterday</date></plist>",                     // bad date
        "<plist><dict><key>a</key><unknown/></dict></plist>",        // unknown element
        "<plist><array><array><array></array></array></plist>",      // unbalanced
    };
    for (const char* text : broken) {
        LogCapture log;
        EXPECT_TRUE(PropertyList::parse(text).isNull()) << text;
        EXPECT_FALSE(log.lines.empty()) << text;
    }
}

TEST(PropertyList, DeepNestingIsRefusedNotRecursedInto) {
    std::string xml = "<plist>";
    for (int i = 0; i < 5000; ++i)
        xml += "<array>";
    for (int i = 0; i < 5000; ++i)
        xml += "</array>";
    xml += "</plist>";
    LogCapture log;
    EXPECT_TRUE(PropertyList::parse(xml).isNull());
}

TEST(PropertyList, MalformedFileGivesNull) {
    TempDir dir;
    ASSERT_TRUE(writeFileAtomically(dir.file("bad.plist"), std::string("<plist><dict><key>x")));
    LogCapture log;
    EXPECT_TRUE(PropertyList::readFile(dir.file("bad.plist")).isNull());
    EXPECT_FALSE(log.lines.empty());
}

TEST(PropertyList, NullEntriesAreLeftOut) {
    Value dict;
    dict.set("kept", 1);
    dict.set("gone", Value());
    Value read = PropertyList::parse(PropertyList::toXml(dict));
    EXPECT_EQ(read.keys(), std::vector<std::string>{"kept"});
}

TEST(PropertyList, DatesAreWrittenInWholeSecondsAndReadInEitherForm) {
    Value dict;
    dict.set("a", Value::date(1796666994.872316));
    dict.set("b", Value::date(-0.5));
    dict.set("c", Value::date(0));
    const std::string xml = PropertyList::toXml(dict);
    EXPECT_NE(xml.find("<date>2026-12-07T18:09:54Z</date>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<date>1969-12-31T23:59:59Z</date>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<date>1970-01-01T00:00:00Z</date>"), std::string::npos) << xml;
    EXPECT_EQ(xml.find(".87"), std::string::npos) << xml;

    TempDir dir;
    ASSERT_TRUE(writeFileAtomically(dir.file("old.plist"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                                           "<plist version=\"1.0\"><dict>"
                                                           "<key>old</key><date>2026-12-07T18:09:54.872316Z</date>"
                                                           "<key>new</key><date>2026-12-07T18:09:54Z</date>"
                                                           "</dict></plist>\n"));
    Value read = PropertyList::readFile(dir.file("old.plist"));
    EXPECT_DOUBLE_EQ(read["old"].dateValue(), 1796666994.872316);
    EXPECT_EQ(read["new"].dateValue(), 1796666994);
}

namespace {
// 100,000 bytes that count up and wrap: the Base64 text is far beyond what is kept as text.
Bytes largeData() {
    Bytes bytes(100000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 13 + i / 256);
    return bytes;
}
} // namespace

// Large data is kept as its text until it is read; it reads, compares, counts and writes
// as data read at once does.
TEST(PropertyList, LargeDataReadsBackTheSameBytes) {
    TempDir dir;
    const Bytes bytes = largeData();
    Value stored;
    stored.set("SAVED_OLD_MESSAGE_OF_4242", Value(bytes));
    stored.set("small", Value(Bytes{0xDE, 0xAD}));
    ASSERT_TRUE(PropertyList::writeFile(dir.file("d.plist"), stored));
    const Value read = PropertyList::readFile(dir.file("d.plist"));
    // Written back before it is decoded, a piece at a time: the stored text goes out as it stands.
    ASSERT_TRUE(PropertyList::writeFile(dir.file("again.plist"), read));
    EXPECT_EQ(readTextFile(dir.file("again.plist")), PropertyList::toXml(stored));
    EXPECT_EQ(PropertyList::toXml(Value::sharedData(bytes)), PropertyList::toXml(Value(bytes)));
    const Value& big = read.get("SAVED_OLD_MESSAGE_OF_4242");
    EXPECT_EQ(big.type(), ValueType::Data);
    EXPECT_EQ(big.size(), 100000u);
    const Value copy = big; // copies share the text and the bytes
    EXPECT_EQ(copy.dataValue(), bytes);
    EXPECT_EQ(big.dataValue(), bytes);
    EXPECT_EQ(&copy.dataValue(), &big.dataValue());
    EXPECT_TRUE(big == Value(bytes));
    EXPECT_TRUE(Value(bytes) == big);
    EXPECT_FALSE(big == Value(Bytes{1, 2, 3}));
    EXPECT_TRUE(read == stored);
    EXPECT_EQ(read.get("small").dataValue(), (Bytes{0xDE, 0xAD}));
    EXPECT_EQ(PropertyList::toXml(read), PropertyList::toXml(stored));
    EXPECT_FALSE(big.readBase64Text([](std::string_view) {})) << "decoded, the text is gone";
}

TEST(PropertyList, LargeDataWrappedOverLinesReads) {
    const Bytes bytes = largeData();
    std::string text = PropertyList::toXml(Value(bytes));
    const size_t open = text.find("<data>") + 6;
    const size_t close = text.find("</data>");
    std::string wrapped;
    for (size_t i = open; i < close; i += 76)
        wrapped += "\n\t" + text.substr(i, std::min<size_t>(76, close - i));
    text = text.substr(0, open) + wrapped + "\n" + text.substr(close);
    const Value read = PropertyList::parse(text);
    EXPECT_EQ(read.size(), 100000u);
    EXPECT_EQ(read.dataValue(), bytes);
}

// As with small data, one bad character in large data makes the file unreadable.
TEST(PropertyList, LargeDataWithABadCharacterGivesNull) {
    LogCapture log;
    std::string text = PropertyList::toXml(Value(largeData()));
    const size_t at = text.find("<data>") + 6 + 5000;
    for (char bad : {'!', '=', '-'}) {
        std::string broken = text;
        broken[at] = bad;
        EXPECT_TRUE(PropertyList::parse(broken).isNull()) << bad;
    }
    std::string cut = text;
    cut.erase(text.find("</data>") - 1, 1);
    EXPECT_TRUE(PropertyList::parse(cut).isNull());
}

// Texts that look like large data but are not plain data elements read exactly as the
// XML says: a comment, a character data section, an entity, a look-alike of the mark.
TEST(PropertyList, LargeDataBesideCommentsEntitiesAndLookAlikesReads) {
    const Bytes bytes = largeData();
    const std::string xml = PropertyList::toXml(Value(bytes));
    const size_t body = xml.find("<data>") + 6;
    const std::string base64 = xml.substr(body, xml.find("</data>") - body);
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";

    const Value commented = PropertyList::parse(head + "<!-- <data>" + base64 + "</data> -->\n<key>d</key><data>" +
                                                base64 + "</data>\n</dict>\n</plist>\n");
    EXPECT_EQ(commented.get("d").dataValue(), bytes);

    const Value inText =
        PropertyList::parse(head + "<key>s</key><string><![CDATA[<data>" + base64 +
                            "</data>]]></string>\n<key>d</key><data>" + base64 + "</data>\n</dict>\n</plist>\n");
    EXPECT_EQ(inText.get("s").stringValue(), "<data>" + base64 + "</data>");
    EXPECT_EQ(inText.get("d").dataValue(), bytes);

    std::string withEntity = base64;
    withEntity.replace(100, 1, "&#" + std::to_string(int(base64[100])) + ";");
    const Value entity = PropertyList::parse(head + "<key>d</key><data>" + withEntity + "</data>\n</dict>\n</plist>\n");
    EXPECT_EQ(entity.get("d").dataValue(), bytes);

    const Value lookAlike = PropertyList::parse(head + "<key>s</key><string>#cut-data-0</string><key>d</key><data>" +
                                                base64 + "</data>\n</dict>\n</plist>\n");
    EXPECT_EQ(lookAlike.get("s").stringValue(), "#cut-data-0");
    EXPECT_EQ(lookAlike.get("d").dataValue(), bytes);

    LogCapture log;
    EXPECT_TRUE(PropertyList::parse(head + "<key>d</key><data>#cut-data-0</data><key>e</key><data>" + base64 +
                                    "</data>\n</dict>\n</plist>\n")
                    .isNull());
}
