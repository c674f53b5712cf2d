#include "net/TEA.h"

#include "tests/support/Bytes.h"

#include <gtest/gtest.h>

using kavo::TEA;
using kavo::test::ByteVector;
using kavo::test::fromHex;
using kavo::test::toHex;

TEST(Cipher, MatchesVectorsWorkedOutFromTheCycleFormulas) {
    // Computed independently of this code from the cycle formulas.
    EXPECT_EQ(toHex(TEA(1).encrypt(fromHex("0001"))), "00000002bc73e6ad40cce947");
    EXPECT_EQ(toHex(TEA(0x0123456789abcdefLL).encrypt(fromHex("00dc01"))), "00000003657c0e7e3416f7ca");
    EXPECT_EQ(toHex(TEA(-2).encrypt(fromHex("48656c6c6f2c20776f726c6421"))),
              "0000000dc952e55bb2b0fecf3bca432322c2b05b");
}

// Long enough for a full group of side-by-side blocks and a tail after it.
TEST(Cipher, ALongBodyMatchesItsVectorAndDecipherBack) {
    ByteVector plain(75);
    for (size_t i = 0; i < plain.size(); ++i)
        plain[i] = static_cast<uint8_t>(i * 7 + 3);
    const TEA tea(0x0123456789abcdefLL);
    const std::string expected = "0000004bfea88dcc755c6bff973ed1521f58a8c7026f84c41dd330716567844e920d059679ad63"
                                 "6328a4edce4d308a0203ba3f96e7236da982fce305e4160a8fb211ea24a5bbefa2bb582a51d9eb"
                                 "10948134e261";
    EXPECT_EQ(toHex(tea.encrypt(plain)), expected);
    EXPECT_EQ(toHex(tea.encryptOneBlockAtATime(plain.data(), plain.size())), expected);
    auto back = tea.decrypt(fromHex(expected));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, plain);
}

// Every length up to a few groups: the side-by-side road and the one-block road agree.
TEST(Cipher, BlocksSideBySideGiveWhatOneBlockAtATimeGives) {
    const TEA tea(-77);
    for (size_t n = 0; n <= 200; ++n) {
        ByteVector plain(n);
        for (size_t i = 0; i < n; ++i)
            plain[i] = static_cast<uint8_t>(i * 13 + n);
        const ByteVector body = tea.encrypt(plain);
        ASSERT_EQ(body, tea.encryptOneBlockAtATime(plain.data(), plain.size())) << n;
        ASSERT_EQ(tea.decrypt(body), tea.decryptOneBlockAtATime(body.data(), body.size())) << n;
    }
}

TEST(Cipher, TheLongKeyIsItsBigEndianBytesTwiceReadLittleEndian) {
    auto words = TEA(0x0102030405060708LL).keyWords();
    EXPECT_EQ(words[0], 0x04030201u);
    EXPECT_EQ(words[1], 0x08070605u);
    EXPECT_EQ(words[2], 0x04030201u);
    EXPECT_EQ(words[3], 0x08070605u);
    auto same = TEA::withCharKey({1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(same.keyWords(), words);
}

TEST(Cipher, BodyIsTheClearLengthThenWholeBlocks) {
    TEA tea(1700000000000LL);
    EXPECT_EQ(toHex(tea.encrypt(ByteVector{})), "00000000");
    EXPECT_EQ(tea.encrypt(ByteVector(8, 1)).size(), 12u);
    EXPECT_EQ(tea.encrypt(ByteVector(9, 1)).size(), 20u);
    auto bare = tea.encrypt(fromHex("0001"));
    EXPECT_EQ(bare.size(), 12u);
    EXPECT_EQ(toHex(ByteVector(bare.begin(), bare.begin() + 4)), "00000002");
    auto longer = tea.encrypt(ByteVector(300, 7));
    EXPECT_EQ(toHex(ByteVector(longer.begin(), longer.begin() + 4)), "0000012c");
}

TEST(Cipher, DecryptGivesBackWhatWasEncrypted) {
    TEA tea(-8765432101234LL);
    for (size_t n : {0u, 1u, 2u, 7u, 8u, 9u, 15u, 16u, 17u, 1000u}) {
        ByteVector plain(n);
        for (size_t i = 0; i < n; ++i)
            plain[i] = static_cast<uint8_t>(i * 31 + n);
        auto back = tea.decrypt(tea.encrypt(plain));
        ASSERT_TRUE(back) << n;
        EXPECT_EQ(*back, plain) << n;
    }
}

TEST(Cipher, BodiesOfTheWrongShapeDoNotDecipher) {
    TEA tea(1);
    EXPECT_FALSE(tea.decrypt(ByteVector(8)));
    EXPECT_FALSE(tea.decrypt(ByteVector(16)));
    EXPECT_FALSE(tea.decrypt(ByteVector(3)));
    EXPECT_FALSE(tea.decrypt(ByteVector(13)));
    // Clear length 9 with a single block behind it.
    EXPECT_FALSE(tea.decrypt(fromHex("00000009 0000000000000000")));
    auto empty = tea.decrypt(fromHex("00000000"));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
    // A negative clear length reads as no bytes.
    auto negative = tea.decrypt(fromHex("ffffffff 0000000000000000"));
    ASSERT_TRUE(negative);
    EXPECT_TRUE(negative->empty());
}

TEST(Cipher, SameKeySameOutputAnyKeyByteChangesIt) {
    ByteVector plain = fromHex("00dc0102030405060708");
    int64_t key = 0x1122334455667788LL;
    EXPECT_EQ(TEA(key).encrypt(plain), TEA(key).encrypt(plain));
    for (int byte = 0; byte < 8; ++byte) {
        int64_t other = static_cast<int64_t>(static_cast<uint64_t>(key) ^ (uint64_t(1) << (8 * byte)));
        EXPECT_NE(TEA(other).encrypt(plain), TEA(key).encrypt(plain)) << "key byte " << byte;
    }
}

TEST(Cipher, AWrongKeyGivesGarbageOfTheAnnouncedLength) {
    ByteVector plain = fromHex("0102030405");
    auto wrong = TEA(2).decrypt(TEA(1).encrypt(plain));
    ASSERT_TRUE(wrong);
    EXPECT_EQ(wrong->size(), plain.size());
    EXPECT_NE(*wrong, plain);
}
