#include "net/FrameReader.h"

#include "tests/support/Bytes.h"

#include <gtest/gtest.h>

using kavo::FrameReader;
using kavo::Message;
using kavo::TEA;
using kavo::test::ByteVector;
using kavo::test::fromHex;
using kavo::test::toHex;

TEST(Frames, ACommandWithAnEmptyBodyIsSeventeenBytes) {
    auto frame = kavo::encodeFrame(TEA(1700000000000LL), Message(1));
    ASSERT_EQ(frame.size(), 17u);
    EXPECT_EQ(toHex(ByteVector(frame.begin(), frame.begin() + 9)), "0000000d0100000002");
}

TEST(Frames, AFrameComesBackWhetherItArrivesWholeOrByteByByte) {
    TEA tea(42);
    Message original(1702);
    original.writeUTF("hello");
    original.writeInt(-5);
    auto frame = kavo::encodeFrame(tea, original);
    ByteVector twice = frame;
    twice.insert(twice.end(), frame.begin(), frame.end());

    for (size_t piece : {twice.size(), size_t(1), size_t(3)}) {
        FrameReader reader;
        std::vector<Message> got;
        ByteVector body;
        for (size_t at = 0; at < twice.size(); at += piece) {
            reader.append(twice.data() + at, std::min(piece, twice.size() - at));
            while (reader.next(body) == FrameReader::Result::Frame)
                got.push_back(*kavo::decodeFrameBody(tea, body));
        }
        ASSERT_EQ(got.size(), 2u) << piece;
        EXPECT_EQ(got[1].commandId(), 1702);
        EXPECT_EQ(got[1].readUTF(), "hello");
        EXPECT_EQ(got[1].readInt(), -5);
        EXPECT_EQ(reader.buffered(), 0u);
    }
}

TEST(Frames, ALengthAboveTheLimitBreaksTheStream) {
    FrameReader reader;
    ByteVector body;
    auto oversize = fromHex("01000001 01");
    reader.append(oversize.data(), oversize.size());
    EXPECT_EQ(reader.next(body), FrameReader::Result::Error);
    EXPECT_FALSE(reader.error().empty());
    EXPECT_EQ(reader.next(body), FrameReader::Result::Error);

    FrameReader atLimit;
    auto limit = fromHex("01000000 01");
    atLimit.append(limit.data(), limit.size());
    EXPECT_EQ(atLimit.next(body), FrameReader::Result::NeedMore);
}

TEST(Frames, ALengthOfZeroIsSkippedAndOneGivesAnEmptyBody) {
    FrameReader reader;
    ByteVector body{9};
    auto bytes = fromHex("00000000 00000001 01");
    reader.append(bytes.data(), bytes.size());
    ASSERT_EQ(reader.next(body), FrameReader::Result::Frame);
    EXPECT_TRUE(body.empty());
    EXPECT_EQ(reader.next(body), FrameReader::Result::NeedMore);
}

TEST(Frames, BodiesThatCannotBeMessagesAreRefusedWithAReason) {
    TEA tea(1);
    std::string why;
    EXPECT_FALSE(kavo::decodeFrameBody(tea, {}, &why));
    EXPECT_EQ(why, "empty frame body");
    EXPECT_FALSE(kavo::decodeFrameBody(tea, ByteVector(8), &why));
    EXPECT_EQ(why, "frame body does not decipher");
    EXPECT_FALSE(kavo::decodeFrameBody(tea, tea.encrypt(fromHex("01")), &why));
    EXPECT_EQ(why, "frame body holds no command id");
}

// Command 1702 (06a6), body "hello" and -5, key 42: length 21, flag 1, the plain length
// 13 in clear and two enciphered blocks. Kept or handed over, the message gives one frame.
TEST(Frames, AKeptAndAHandedOverMessageGiveTheSameFrame) {
    TEA tea(42);
    Message kept(1702);
    kept.writeUTF("hello");
    kept.writeInt(-5);
    Message handedOver = kept;
    const char* frame = "00000015 01 0000000d e2aa406b338ba4f6 8bba9cdb4addd6e6";
    EXPECT_EQ(toHex(kavo::encodeFrame(tea, kept)), toHex(fromHex(frame)));
    EXPECT_EQ(toHex(kavo::encodeFrame(tea, std::move(handedOver))), toHex(fromHex(frame)));
    EXPECT_EQ(kept.readUTF(), "hello");
}
