#include "portal/model/Player.h"
#include "portal/model/Province.h"
#include "tests/portal/PortalTestSupport.h"

#include <gtest/gtest.h>

namespace kavo {
namespace {

TEST(PlayerLevel, ExperienceGivesLevelProgressAndRequirement) {
    struct Case {
        int32_t exp;
        LevelDetail level;
    };
    const Case cases[] = {
        {0, {1, 0, 100, 0}},      {99, {1, 99, 100, 99}}, {100, {2, 0, 200, 0}},
        {250, {2, 150, 200, 75}}, {300, {3, 0, 300, 0}},  {600, {4, 0, 400, 0}},
    };
    for (const auto& c : cases) {
        Player player;
        player.setExp(c.exp);
        EXPECT_EQ(player.level(), c.level) << "exp " << c.exp;
        EXPECT_EQ(player.exp(), c.exp);
    }
}

TEST(PlayerLevel, NegativeExperienceStaysAtLevelOneWithNegativeProgress) {
    Player player;
    player.setExp(-50);
    EXPECT_EQ(player.level(), (LevelDetail{1, -50, 100, -50}));
    player.setExp(INT32_MIN);
    EXPECT_EQ(player.level().lv, 1);
    EXPECT_EQ(player.level().percent, INT32_MIN);
}

TEST(PlayerLevel, LargestExperienceEndsWithProgressBelowOneHundred) {
    Player player;
    player.setExp(INT32_MAX);
    EXPECT_GT(player.level().lv, 6000);
    EXPECT_GE(player.level().percent, 0);
    EXPECT_LT(player.level().percent, 100);
    EXPECT_LT(player.level().expRemain, player.level().expRequire);
}

TEST(PlayerRecord, MoneyDeltaCarriesIntoTheHighWord) {
    Player player;
    player.setMoney(0xFFFFFFFFLL);
    player.addMoney(1);
    EXPECT_EQ(player.money(), 0x100000000LL);
    player.addMoney(-0x100000001LL);
    EXPECT_EQ(player.money(), -1);
}

TEST(PlayerRecord, PlayersAreEqualByIdAlone) {
    Player a, b;
    a.setIDDB(7);
    a.setName("an");
    b.setIDDB(7);
    b.setName("binh");
    EXPECT_TRUE(a.equals(b));
    b.setIDDB(8);
    EXPECT_FALSE(a.equals(b));
}

TEST(PlayerRecord, FreshPlayerHasAProfileAndTheDefaultGift) {
    test::PortalEnvironment env; // the application's pictures
    Player player;
    ASSERT_NE(player.userProfile(), nullptr);
    EXPECT_EQ(player.level(), LevelDetail{});
    ASSERT_NE(player.gift(), nullptr);
    EXPECT_EQ(player.gift()->name(), "tl_present.png");
    player.setMoney(1234567);
    EXPECT_EQ(player.getMoneyString(), "1.234.567") << "grouped as the Vietnamese interface groups it";
}

TEST(ProvinceList, UnknownIdReadsAsItsNumberAndTheLastEntryWins) {
    Province::setList({});
    EXPECT_EQ(Province::getProviceNameWithId(7), "7");
    Province::setList({std::make_shared<Province>(7, "Ha Noi"), std::make_shared<Province>(7, "Hue")});
    EXPECT_EQ(Province::getProviceNameWithId(7), "Hue");
    EXPECT_FALSE(Province::addIfUnknown(7, "Da Nang"));
    EXPECT_FALSE(Province::addIfUnknown(-1, "none"));
    EXPECT_TRUE(Province::addIfUnknown(-2, "Can Tho")); // 254 as an unsigned byte
    EXPECT_EQ(Province::getProviceNameWithId(-2), "Can Tho");
    Province::setList({});
}

} // namespace
} // namespace kavo
