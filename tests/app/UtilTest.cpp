#include "app/Util.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/foundation/DateFormat.h"
#include "platform/foundation/Json.h"
#include "platform/services/Device.h"
#include "platform/services/Vibration.h"
#include "platform/ui/Screen.h"
#include "tests/app/AppTestSupport.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

namespace kavo {
namespace {

namespace ui = platform::ui;

// Runs the test on the given screen, then puts the phone back.
class OnScreen {
public:
    explicit OnScreen(ui::Idiom idiom) { ui::Screen::setIdiom(idiom); }
    ~OnScreen() { ui::Screen::setIdiom(ui::Idiom::Phone); }
};

TEST(Geometry, APhoneRectangleGrowsByTheTabletFactors) {
    OnScreen tablet(ui::Idiom::Tablet);
    ui::Rect r = Util::changeRectFromRect({0, 0, 480, 30});
    EXPECT_FLOAT_EQ(float(r.x()), 0);
    EXPECT_FLOAT_EQ(float(r.width()), 1022.4f);
    EXPECT_FLOAT_EQ(float(r.height()), 72);
    ui::Point p = Util::changePointFromPoint({100, 100});
    EXPECT_FLOAT_EQ(float(p.x), 213);
    EXPECT_FLOAT_EQ(float(p.y), 240);
    EXPECT_EQ(Util::iPad(), 2.0f);
    EXPECT_EQ(Util::iOSKeyboardHeight(), 352.0f);
    EXPECT_EQ(Util::convertRectFromrect({1, 2, 3, 4}), ui::Rect(2, 4, 6, 8));
}

TEST(Geometry, APhoneKeepsItsCoordinatesButWidthConversionStillDoubles) {
    OnScreen phone(ui::Idiom::Phone);
    EXPECT_EQ(Util::changeRectFromRect({0, 0, 480, 30}), ui::Rect(0, 0, 480, 30));
    EXPECT_EQ(Util::convertRectFromrect({1, 2, 3, 4}), ui::Rect(1, 2, 3, 4));
    EXPECT_EQ(Util::convertiPhoneWidthToIpad(35), 70);
    EXPECT_EQ(Util::convertiPhoneHeightToIpad(20), 40);
    EXPECT_EQ(Util::iPadX(), 1.0f);
    EXPECT_EQ(Util::iOSKeyboardHeight(), 162.0f);
}

// Money reads as the player's language writes it: digits grouped by threes with "." in
// Vietnamese and "," in English; a change keeps its sign.
TEST(NumberTexts, MoneyIsGroupedAsTheInterfaceLanguageGroupsIt) {
    Resources& resources = Resources::getInstance();
    const std::string before = resources.currentLanguage();
    struct Case {
        const char* language;
        std::vector<std::string> amounts; // 0, 1234567, -10000; then +70000, -1000, 0 as changes
    };
    for (const Case& c : {Case{"vi", {"0", "1.234.567", "-10.000", "+70.000", "-1.000", "0"}},
                          Case{"en", {"0", "1,234,567", "-10,000", "+70,000", "-1,000", "0"}}}) {
        SCOPED_TRACE(c.language);
        resources.setCurrentLanguage(c.language);
        EXPECT_EQ((std::vector<std::string>{Util::formatNumber(0), Util::formatNumber(1234567),
                                            Util::formatNumber(-10000), Util::formatSignedNumber(70000),
                                            Util::formatSignedNumber(-1000), Util::formatSignedNumber(0)}),
                  c.amounts);
    }
    resources.setCurrentLanguage(before);
}

TEST(NumberTexts, ATableClockShowsMinutesAndSeconds) {
    EXPECT_EQ(Util::convertIntToQuotaTime(75), "01:15");
    EXPECT_EQ(Util::convertIntToQuotaTime(0), "00:00");
    EXPECT_EQ(Util::convertIntToQuotaTime(3600), "60:00");
}

class DateTexts : public ::testing::Test {
protected:
    DateTexts() {
        const char* old = std::getenv("TZ");
        oldTz_ = old ? old : "";
        hadTz_ = old != nullptr;
        setenv("TZ", "ICT-7", 1); // UTC+7 all year, with no history of its own
        tzset();
    }
    ~DateTexts() override {
        if (hadTz_)
            setenv("TZ", oldTz_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    double at(const std::string& text) { return *platform::parseDate(text, "dd/MM/yyyy HH:mm:ss"); }

    test::AppEnvironment env_;
    std::string oldTz_;
    bool hadTz_ = false;
};

TEST_F(DateTexts, AServerTimeInMillisecondsShowsWholeSeconds) {
    EXPECT_EQ(Util::getDateWithLong(1999), Util::getDateWithLong(1000));
    EXPECT_EQ(Util::getDateWithLong(0), "07:00:00 01/01/1970");
    EXPECT_EQ(Util::getDateWithLong(1700000000123), "05:13:20 15/11/2023");
}

TEST_F(DateTexts, ADayOfTheCalendarReadsBackAsTheSameDay) {
    EXPECT_EQ(Util::getDateStringWithDay(5, 3, 1990), "05/03/1990");
    EXPECT_EQ(Util::getDateString(at("29/02/2024 23:59:59")), "29/02/2024");
    EXPECT_EQ(Util::getDateFromString(31, 2, 2023), std::nullopt);
    EXPECT_EQ(Util::getDateStringWithDay(31, 2, 2023), "");
}

TEST_F(DateTexts, HowLongAgoUsesTheFirstWholeUnitInTheCurrentLanguage) {
    Resources::getInstance().setCurrentLanguage("vi");
    Resources::getInstance().loadLanguage();
    double now = at("10/06/2024 12:00:00");
    EXPECT_EQ(Util::compareWithDate(at("09/06/2024 07:00:00"), now), "hôm qua");
    EXPECT_EQ(Util::compareWithDate(at("08/06/2024 12:00:00"), now), "khoảng 2 ngày trước");
    EXPECT_EQ(Util::compareWithDate(at("10/06/2022 11:00:00"), now), "khoảng 2 năm trước");
    EXPECT_EQ(Util::compareWithDate(at("10/06/2024 11:59:30"), now), "khoảng 30 giây trước");
    EXPECT_EQ(Util::compareWithDate(now, now), "");
    EXPECT_EQ(Util::compareWithDate(now + 60, now), "") << "a date in the future";

    Resources::getInstance().setCurrentLanguage("en");
    Resources::getInstance().loadLanguage();
    EXPECT_EQ(Util::compareWithDate(at("10/05/2024 12:00:00"), now), "about 1 months ago");
    Resources::getInstance().setCurrentLanguage("vi");
    Resources::getInstance().loadLanguage();
}

TEST(FriendWhereabouts, NamesTheRoomTheTableAndTheGame) {
    test::AppEnvironment env;
    Resources::getInstance().setCurrentLanguage("en");
    Resources::getInstance().loadLanguage();
    EXPECT_EQ(Util::formatStatusOnlineWithRoomId(3, 7, 1), "Room 3, Table 7, Caro");
    EXPECT_EQ(Util::formatStatusOnlineWithRoomId(1, 2, 20), "Room 1, Table 2, Hidden chess");
    for (int unnamed : {4, 16, 18, 0, 99})
        EXPECT_EQ(Util::formatStatusOnlineWithRoomId(3, 7, unnamed), "");
    Resources::getInstance().setCurrentLanguage("vi");
    Resources::getInstance().loadLanguage();
    EXPECT_TRUE(Util::isVN());
}

TEST(DeviceFacts, OnlyTheOldestMachinesCountAsSlow) {
    platform::DeviceFacts facts;
    facts.machine = "iPhone2,1";
    platform::Device::setForTesting(facts);
    EXPECT_FALSE(Util::isDeviceWithHighPerformanceCPU());
    facts.machine = "x86_64";
    platform::Device::setForTesting(facts);
    EXPECT_TRUE(Util::isDeviceWithHighPerformanceCPU());
    EXPECT_EQ(Util::getDeviceType(), "x86_64");
    platform::Device::resetForTesting();
}

TEST(DeviceFacts, TheNetworkTypeFollowsReachability) {
    platform::DeviceFacts facts;
    facts.networkStatus = platform::NetworkStatus::ReachableViaWiFi;
    platform::Device::setForTesting(facts);
    EXPECT_EQ(Util::getNetworkType(), "WIFI");
    facts.networkStatus = platform::NetworkStatus::ReachableViaWWAN;
    platform::Device::setForTesting(facts);
    EXPECT_EQ(Util::getNetworkType(), "GPRS/3G");
    facts.networkStatus = platform::NetworkStatus::NotReachable;
    platform::Device::setForTesting(facts);
    EXPECT_EQ(Util::getNetworkType(), "Others");
    platform::Device::resetForTesting();
}

TEST(DeviceFacts, FreeMemoryIsReportedInBytes) {
    platform::DeviceFacts facts;
    facts.freeMemory = int64_t(300) << 20;
    platform::Device::setForTesting(facts);
    EXPECT_EQ(Util::get_free_memory(), int64_t(300) << 20);
    facts.freeMemory = 0;
    platform::Device::setForTesting(facts);
    EXPECT_EQ(Util::get_free_memory(), 0);
    platform::Device::resetForTesting();
}

TEST(Vibration, ThePhoneBuzzesOnlyWhileTheVibrationSwitchIsOn) {
    platform::Vibration::clearRecord();
    UIController::setRung(false);
    Util::callRung();
    EXPECT_EQ(platform::Vibration::count(), 0);
    UIController::setRung(true);
    Util::callRung();
    EXPECT_EQ(platform::Vibration::count(), 1);
    UIController::setRung(false);
}

TEST(ClientInformation, ADictionaryBecomesReadableJson) {
    platform::Value info = platform::Value::emptyDictionary();
    info.set("device", "x86_64");
    info.set("version", "1.0.0");
    std::optional<std::string> json = Util::parseJsonWithDict(info);
    ASSERT_TRUE(json);
    EXPECT_NE(json->find('\n'), std::string::npos) << "pretty-printed";
    EXPECT_EQ(platform::parseJson(*json), info);
    EXPECT_EQ(Util::parseJsonWithDict(platform::Value("text")), std::nullopt);
}

TEST(Pictures, FlippingTurnsAndMirrorsThePixels) {
    // 2 x 1: red then blue.
    std::vector<uint8_t> rgba{255, 0, 0, 255, 0, 0, 255, 255};
    auto picture = ui::Image::fromPixels(2, 1, rgba);
    auto mirrored = Util::flipImage(picture, ImageOrientation::UpMirrored);
    EXPECT_EQ(mirrored->pixel(0, 0), ui::Color::blue());
    auto turned = Util::flipImage(picture, ImageOrientation::Right);
    ASSERT_EQ(turned->width(), 1);
    ASSERT_EQ(turned->height(), 2);
    EXPECT_EQ(Util::flipImage(picture, ImageOrientation::Up)->pixel(0, 0), ui::Color::red());
    EXPECT_EQ(Util::imageWithImage(picture, {8, 4})->width(), 8);
    EXPECT_EQ(Util::flipImage(nullptr, ImageOrientation::Down), nullptr);
}

TEST(Pictures, AGlowIsAWhiteShadowThatCanBeTakenAway) {
    auto view = ui::View::make({0, 0, 10, 10});
    Util::outerGrowView(*view, 3);
    EXPECT_EQ(view->layer().shadowColor(), ui::Color::white());
    EXPECT_EQ(view->layer().shadowOffset().width, -3);
    EXPECT_EQ(view->layer().shadowOpacity(), 1);
    Util::unOuterGrowView(*view);
    EXPECT_EQ(view->layer().shadowColor(), ui::Color::clear());
    EXPECT_EQ(view->layer().shadowRadius(), 0);
}

} // namespace
} // namespace kavo
