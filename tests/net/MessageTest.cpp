#include "net/Message.h"

#include "tests/support/Bytes.h"

#include <cmath>
#include <gtest/gtest.h>

using kavo::Message;
using kavo::test::fromHex;
using kavo::test::toHex;

namespace {
Message reading(const std::string& hex) {
    return Message(7, fromHex(hex));
}
} // namespace

TEST(MessageWriters, EncodeBigEndianFieldsInOrder) {
    Message m(5);
    m.writeByte(-1);
    m.writeBool(1);
    m.writeShort(-2);
    m.writeInt(0x01020304);
    m.writeLong(1);
    m.writeFloat(1.0f);
    EXPECT_EQ(toHex(m.data()), "ff01fffe0102030400000000000000013f800000");
    EXPECT_EQ(m.commandId(), 5);
    EXPECT_EQ(m.idx(), 0);
}

TEST(MessageWriters, WriteUTFPutsTheByteCountBeforeTheBytes) {
    Message m;
    m.writeUTF("abc");
    m.writeUTF("");
    m.writeUTF("\xC3\xA9"); // é: 2 UTF-8 bytes
    EXPECT_EQ(toHex(m.data()), "00036162630000"
                               "0002c3a9");
}

TEST(MessageWriters, WriteUTFOfNoStringWritesTheEmptyStringSoNoFieldGoesMissing) {
    Message m;
    m.writeUTF(static_cast<const char*>(nullptr));
    m.writeInt(9);
    EXPECT_EQ(toHex(m.data()), "000000000009");
}

TEST(MessageWriters, AnOverlongStringIsCutAtACharacterBoundary) {
    // 32,767 two-byte characters and one more: the cut may not split the last one.
    std::string text;
    for (int i = 0; i < 32768; ++i)
        text += "\xC3\xA9";
    Message m;
    m.writeUTF(text);
    ASSERT_EQ(m.data().size(), 2u + 65534u);
    EXPECT_EQ(m.data()[0], 0xFF);
    EXPECT_EQ(m.data()[1], 0xFE);
    EXPECT_EQ(m.readUTF().size(), 65534u);

    Message ascii;
    ascii.writeUTF(std::string(70000, 'x'));
    EXPECT_EQ(ascii.data().size(), 2u + 65535u);
    EXPECT_EQ(ascii.readUTF(), std::string(65535, 'x'));
}

TEST(MessageReaders, RawDataGivesTheCommandIdAndTheRestAsBody) {
    auto m = Message::fromRawData(fromHex("00dc01"));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->commandId(), 220);
    EXPECT_EQ(toHex(m->data()), "01");
    EXPECT_TRUE(m->available());
    EXPECT_EQ(m->readByte(), 1);
    EXPECT_FALSE(m->available());
    EXPECT_EQ(toHex(m->rawData()), "00dc01");
}

// A kept buffer and an adopted one give the same message; the kept one is left as it was.
TEST(MessageReaders, RawDataFromAKeptOrAnAdoptedBufferReadsTheSame) {
    const std::vector<uint8_t> kept = fromHex("03f0ff000000070003616263");
    auto copied = Message::fromRawData(kept);
    auto adopted = Message::fromRawData(fromHex("03f0ff000000070003616263"));
    ASSERT_TRUE(copied);
    ASSERT_TRUE(adopted);
    EXPECT_EQ(toHex(kept), "03f0ff000000070003616263");
    for (Message* m : {&*copied, &*adopted}) {
        EXPECT_EQ(m->commandId(), 1008);
        EXPECT_EQ(m->idx(), 0);
        EXPECT_EQ(toHex(m->data()), "ff000000070003616263");
        EXPECT_EQ(m->readByte(), -1);
        EXPECT_EQ(m->readInt(), 7);
        EXPECT_EQ(m->readUTF(), "abc");
        EXPECT_FALSE(m->available());
    }
}

TEST(MessageReaders, RawDataNeedsACommandId) {
    EXPECT_FALSE(Message::fromRawData(fromHex("01")));
    EXPECT_FALSE(Message::fromRawData(fromHex("")));
    auto bare = Message::fromRawData(fromHex("ffff"));
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->commandId(), -1);
    EXPECT_FALSE(bare->available());
}

TEST(MessageReaders, ReadBackWhatTheWritersWrote) {
    Message m(3);
    m.writeByte(-7);
    m.writeBool(1);
    m.writeShort(-2);
    m.writeInt(-123456789);
    m.writeLong(-9876543210123LL);
    m.writeFloat(2.5f);
    m.writeUTF("Tiến lên");
    m.writeData(fromHex("0a0b"));
    EXPECT_EQ(m.readByte(), -7);
    EXPECT_EQ(m.readBool(), 1);
    EXPECT_EQ(m.readShort(), -2);
    EXPECT_EQ(m.readInt(), -123456789);
    EXPECT_EQ(m.readLong(), -9876543210123LL);
    EXPECT_EQ(m.readFloat(), 2.5f);
    EXPECT_EQ(m.readUTF(), "Tiến lên");
    EXPECT_EQ(toHex(*m.readDataWithLength(2)), "0a0b");
    EXPECT_FALSE(m.available());
}

TEST(MessageReaders, AFixedWidthReadPastTheEndGivesZeroAndKeepsTheCursor) {
    auto m = reading("0a0b0c");
    EXPECT_EQ(m.readInt(), 0);
    EXPECT_EQ(m.idx(), 0);
    EXPECT_EQ(m.readLong(), 0);
    EXPECT_EQ(m.readFloat(), 0.0f);
    EXPECT_EQ(m.readByte(), 0x0a);
    EXPECT_EQ(m.readShort(), 0x0b0c);
    EXPECT_EQ(m.readByte(), 0);
    EXPECT_EQ(m.readBool(), 0);
    EXPECT_EQ(m.readShort(), 0);
    EXPECT_EQ(m.idx(), 3);
}

// Bytes that pass the end: empty, past the count. No room for the count: empty, cursor kept.
TEST(MessageReaders, ReadUTFThatDoesNotFitGivesEmpty) {
    auto m = reading("00054142");
    EXPECT_EQ(m.readUTF(), "");
    EXPECT_EQ(m.idx(), 2);
    EXPECT_EQ(m.readByte(), 0x41);
    auto tooShort = reading("00");
    EXPECT_EQ(tooShort.readUTF(), "");
    EXPECT_EQ(tooShort.idx(), 0);
}

TEST(MessageReaders, ReadBoolAndTheTextCountAreUnsigned) {
    EXPECT_EQ(reading("ff").readBool(), 255);
    // 40,000 bytes: a signed reading of the count would refuse it.
    Message m;
    m.writeUTF(std::string(40000, 'k'));
    EXPECT_EQ(m.readUTF().size(), 40000u);
    EXPECT_FALSE(m.available());
}

TEST(MessageReaders, InvalidUTF8GivesEmptyButMovesPastIt) {
    // The last four end inside a character whose missing byte is the next field's.
    for (const char* bad : {"0002c328", "0002c0af", "0003eda080", "0001ff", "0004f4908080", "000241c3", "000341e1ba",
                            "00094141414141414141c3", "0003f09f98"}) {
        auto m = reading(std::string(bad) + "a9");
        EXPECT_EQ(m.readUTF(), "") << bad;
        EXPECT_EQ(uint8_t(m.readByte()), 0xa9) << bad;
    }
    auto cut = reading("000241c3");
    EXPECT_EQ(cut.readUTF(), "") << "cut at the message's end";
    EXPECT_FALSE(cut.available());
}

TEST(MessageReaders, RawDataReadsFailWithoutMovingTheCursor) {
    auto m = reading("010203");
    EXPECT_FALSE(m.readDataWithLength(4));
    EXPECT_FALSE(m.readDataWithIntLength(-1));
    EXPECT_FALSE(m.readDataWithIntLength(0x7fffffff));
    EXPECT_EQ(m.idx(), 0);
    auto empty = m.readDataWithLength(0);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
    EXPECT_EQ(toHex(*m.readDataWithIntLength(3)), "010203");
}

TEST(MessageReaders, ACursorMovedOutsideTheBodyReadsNothing) {
    auto m = reading("0102");
    m.setIdx(-5);
    EXPECT_EQ(m.readShort(), 0);
    EXPECT_EQ(m.readUTF(), "");
    EXPECT_FALSE(m.available());
    m.setIdx(100);
    EXPECT_EQ(m.readByte(), 0);
    EXPECT_FALSE(m.readDataWithLength(0));
    EXPECT_FALSE(m.available());
}

TEST(MessageReaders, FloatBitsTravelUnchanged) {
    Message m;
    m.writeFloat(-0.0f);
    m.writeFloat(std::nanf(""));
    EXPECT_EQ(toHex(m.data()).substr(0, 8), "80000000");
    EXPECT_TRUE(std::signbit(m.readFloat()));
    EXPECT_TRUE(std::isnan(m.readFloat()));
}

// The frame writer takes a message's bytes out of it: the same bytes rawData() gives,
// whether or not the body's buffer has room for the command id in front.
TEST(MessageWriters, TakenRawDataIsTheCommandIdThenTheWholeBody) {
    Message written(1008);
    written.writeByte(-1);
    written.writeInt(7);
    written.writeUTF("abc");
    Message partlyRead = reading("0102");
    partlyRead.readByte();
    struct Case {
        const char* name;
        Message message;
        const char* raw;
    };
    Case cases[] = {
        {"written", written, "03f0ff000000070003616263"},
        {"no body", Message(220), "00dc"},
        {"default", Message(), "0000"},
        {"exact body", Message(-1, fromHex("0102")), "ffff0102"},
        {"partly read", partlyRead, "00070102"},
    };
    for (auto& c : cases) {
        EXPECT_EQ(toHex(std::move(c.message).takeRawData()), c.raw) << c.name;
        EXPECT_TRUE(c.message.data().empty()) << c.name;
        EXPECT_EQ(c.message.idx(), 0) << c.name;
        EXPECT_FALSE(c.message.available()) << c.name;
        c.message.writeShort(9);
        EXPECT_EQ(toHex(c.message.data()), "0009") << c.name;
        EXPECT_EQ(c.message.readShort(), 9) << c.name;
    }
}

// Texts of eight bytes and more are checked in steps; a fault anywhere, also among
// the last few bytes, still makes the whole text empty.
TEST(MessageReaders, LongTextsAreCheckedToTheirLastByte) {
    struct Case {
        const char* field; // count and bytes
        const char* text;  // what readUTF gives
    };
    const Case cases[] = {
        {"0008 6162636465666768", "abcdefgh"},
        {"0010 61626364656667686162636465666768", "abcdefghabcdefgh"},
        {"000e 616263646566676861626364c3a9", "abcdefghabcdé"},
        {"0009 c3a9 61626364656667", "éabcdefg"},
        {"000a 6162636465666768 c3a9", "abcdefghé"},
        {"000a 6162636465666768 61ff", ""},
        {"0009 6162636465666768 c3", ""},
        {"000a 6162636465666768 c0af", ""},
        {"000b 6162636465666768 eda080", ""},
        {"000c 6162636465666768 f4908080", ""},
        {"000a ff 616263646566676861", ""},
        {"0008 616263ff65666768", ""},
        {"0011 6162636465666768 6162636465666768 80", ""},
    };
    for (const auto& c : cases) {
        auto m = reading(std::string(c.field) + "07");
        EXPECT_EQ(m.readUTF(), c.text) << c.field;
        EXPECT_EQ(m.readByte(), 7) << c.field;
    }
}

// A body given whole is read from its first byte and handed back unchanged.
TEST(MessageReaders, AGivenBodyIsReadFromItsFirstByte) {
    Message m(12, fromHex("00020a0b"));
    EXPECT_EQ(toHex(m.data()), "00020a0b");
    EXPECT_EQ(m.readShort(), 2);
    m.setData(fromHex("7f"));
    EXPECT_EQ(m.idx(), 2);
    EXPECT_FALSE(m.available());
    m.setIdx(0);
    EXPECT_EQ(m.readByte(), 0x7f);
    m.setData({});
    EXPECT_TRUE(m.data().empty());
    m.writeInt(1);
    EXPECT_EQ(toHex(m.data()), "00000001");
    EXPECT_EQ(toHex(m.rawData()), "000c00000001");
}
