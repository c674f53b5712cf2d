#include "platform/foundation/KeyedArchive.h"

#include "platform/runtime/Log.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace platform;

namespace {

ArchiveRecord mail(int fromId, const std::string& text, int64_t time) {
    ArchiveRecord r("KavoMessage");
    r.encodeInt(fromId, "fromID");
    r.encodeInt(1, "type");
    r.encodeInt64(time, "time");
    r.encodeString("Người gửi", "fromName");
    r.encodeString(text, "message");
    r.encodeBool(false, "isRead");
    r.encodeBool(true, "isRequestAddFriend");
    r.encodeDouble(0.5, "ratio");
    r.encodeData(Bytes{0, 255, 1}, "picture");
    r.encodeDate(1700000000.5, "when");
    return r;
}

struct QuietLog {
    QuietLog() {
        setLogSink([](const std::string&) {});
    }
    ~QuietLog() { setLogSink(nullptr); }
};

} // namespace

TEST(KeyedArchive, RecordsComeBackFieldForFieldInOrder) {
    std::vector<ArchiveRecord> mailbox = {mail(7, "Chào bạn", (int64_t(1) << 33) + 5), mail(-1, "", 0)};
    auto decoded = KeyedArchive::unarchive(KeyedArchive::archive(mailbox));
    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->size(), 2u);
    EXPECT_EQ(*decoded, mailbox);
    const ArchiveRecord& first = (*decoded)[0];
    EXPECT_EQ(first.className(), "KavoMessage");
    EXPECT_EQ(first.decodeInt("fromID"), 7);
    EXPECT_EQ(first.decodeInt64("time"), (int64_t(1) << 33) + 5); // above 2^32 survives
    EXPECT_EQ(first.decodeString("fromName"), "Người gửi");
    EXPECT_EQ(first.decodeString("message"), "Chào bạn");
    EXPECT_FALSE(first.decodeBool("isRead"));
    EXPECT_TRUE(first.decodeBool("isRequestAddFriend"));
    EXPECT_EQ(first.decodeDouble("ratio"), 0.5);
    EXPECT_EQ(first.decodeData("picture"), (Bytes{0, 255, 1}));
    EXPECT_EQ(first.decodeDate("when"), 1700000000.5);
    EXPECT_EQ(first.fields().keys().front(), "fromID");
}

// A reader of a long archive may stop half way: it is given no record after the one it
// stopped at, and the walk says the archive was not read whole, without calling it malformed.
TEST(KeyedArchive, AReaderThatStopsIsGivenNoMoreRecords) {
    std::vector<ArchiveRecord> mailbox;
    for (int i = 0; i < 5; ++i)
        mailbox.push_back(mail(i, "thu " + std::to_string(i), i));
    const Bytes bytes = KeyedArchive::archive(mailbox);
    std::vector<int> seen;
    std::vector<std::string> logged;
    setLogSink([&logged](const std::string& line) { logged.push_back(line); });
    const bool whole = KeyedArchive::forEachRecord(bytes, [&seen](const ArchiveRecordView& record) {
        seen.push_back(record.decodeInt("fromID"));
        return seen.size() < 3;
    });
    setLogSink(nullptr);
    EXPECT_FALSE(whole);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(logged.empty()) << logged.front();
    seen.clear();
    EXPECT_TRUE(KeyedArchive::forEachRecord(bytes, [&seen](const ArchiveRecordView& record) {
        seen.push_back(record.decodeInt("fromID"));
        return true;
    }));
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(KeyedArchive, AbsentKeysDecodeAsZeroOrEmpty) {
    auto decoded = KeyedArchive::unarchive(KeyedArchive::archive({ArchiveRecord("Empty")}));
    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->size(), 1u);
    EXPECT_EQ((*decoded)[0].decodeInt("senderAvatarID"), 0);
    EXPECT_EQ((*decoded)[0].decodeString("message"), "");
    EXPECT_FALSE((*decoded)[0].containsKey("message"));
}

// The common check values of CRC-32, and lengths that end inside and on a block of eight.
TEST(KeyedArchive, TheChecksumIsTheCommonCrc32) {
    struct Case {
        std::string text;
        uint32_t crc;
    };
    const Case cases[] = {
        {"", 0x00000000u},         {"a", 0xE8B7BE43u},
        {"abc", 0x352441C2u},      {"123456789", 0xCBF43926u},
        {"12345678", 0x9AE0DAAFu}, {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
    };
    for (const Case& c : cases) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(c.text.data());
        EXPECT_EQ(crc32Checksum(bytes, c.text.size()), c.crc) << c.text;
    }
    const std::vector<uint8_t> zeros(32, 0);
    EXPECT_EQ(crc32Checksum(zeros.data(), zeros.size()), 0x190A55ADu);
}

TEST(KeyedArchive, AnEmptyListIsNotTheSameAsNothing) {
    auto decoded = KeyedArchive::unarchive(KeyedArchive::archive({}));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_TRUE(decoded->empty());
    QuietLog quiet;
    EXPECT_FALSE(KeyedArchive::unarchive({}).has_value());
}

TEST(KeyedArchive, EveryTruncationDecodesToNothing) {
    Bytes bytes = KeyedArchive::archive({mail(1, "một", 2), mail(3, "hai", 4)});
    QuietLog quiet;
    for (size_t length = 0; length < bytes.size(); ++length) {
        Bytes prefix(bytes.begin(), bytes.begin() + long(length));
        EXPECT_FALSE(KeyedArchive::unarchive(prefix).has_value()) << "length " << length;
    }
}

TEST(KeyedArchive, EveryAlteredByteDecodesToNothing) {
    Bytes bytes = KeyedArchive::archive({mail(1, "một", 2)});
    QuietLog quiet;
    for (size_t i = 0; i < bytes.size(); ++i) {
        for (uint8_t flip : {uint8_t(0x01), uint8_t(0x80), uint8_t(0xFF)}) {
            Bytes altered = bytes;
            altered[i] ^= flip;
            EXPECT_FALSE(KeyedArchive::unarchive(altered).has_value()) << "byte " << i;
        }
    }
    Bytes longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(KeyedArchive::unarchive(longer).has_value());
}

TEST(KeyedArchive, RandomBytesNeverCrash) {
    QuietLog quiet;
    uint32_t seed = 12345;
    for (int round = 0; round < 2000; ++round) {
        Bytes noise(size_t(round % 64));
        for (auto& b : noise) {
            seed = seed * 1103515245u + 12345u;
            b = uint8_t(seed >> 16);
        }
        if (round % 3 == 0 && noise.size() >= 4) std::copy_n("KVKA", 4, noise.begin());
        EXPECT_FALSE(KeyedArchive::unarchive(noise).has_value());
    }
}
