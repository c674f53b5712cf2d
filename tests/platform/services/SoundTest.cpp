#include "ServicesTestSupport.h"
#include "platform/services/SystemSound.h"
#include "platform/services/Vibration.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>

using platform::SystemSound;
using platform::Vibration;

namespace {

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        SystemSound::clearRecord();
        Vibration::clearRecord();
    }
    services_test::TempFolder folder_;
};

TEST_F(SoundTest, PlaysAreRecordedByFileNameInOrder) {
    services_test::writeWav(folder_.path() / "MOVE.WAV");
    services_test::writeWav(folder_.path() / "EAT.WAV", 400, 22050);
    // The bundle's ".caf" sounds hold WAV data.
    services_test::writeWav(folder_.path() / "t_drop.caf");
    auto move = SystemSound::registerSound((folder_.path() / "MOVE.WAV").string());
    auto eat = SystemSound::registerSound((folder_.path() / "EAT.WAV").string());
    auto drop = SystemSound::registerSound((folder_.path() / "t_drop.caf").string());
    EXPECT_NE(move, 0u);
    EXPECT_NE(move, eat);
    EXPECT_NE(eat, drop);

    SystemSound::play(eat);
    SystemSound::play(move);
    SystemSound::play(drop);
    SystemSound::play(eat);

    EXPECT_EQ(SystemSound::played(), (std::vector<std::string>{"EAT.WAV", "MOVE.WAV", "t_drop.caf", "EAT.WAV"}));
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    if (driver && std::string(driver) == "dummy") {
        EXPECT_TRUE(SystemSound::hasAudioDevice()) << "the dummy driver always opens";
    }
    SystemSound::clearRecord();
    EXPECT_TRUE(SystemSound::played().empty());
}

TEST_F(SoundTest, AMissingFileStaysSilentButItsPlaysAreStillRecorded) {
    auto id = SystemSound::registerSound((folder_.path() / "WIN.WAV").string());
    EXPECT_NE(id, 0u);
    SystemSound::play(id);
    EXPECT_EQ(SystemSound::played(), std::vector<std::string>{"WIN.WAV"});
}

TEST_F(SoundTest, UnknownAndDisposedSoundsAreIgnored) {
    services_test::writeWav(folder_.path() / "CLICK.WAV");
    auto id = SystemSound::registerSound((folder_.path() / "CLICK.WAV").string());
    SystemSound::dispose(id);
    SystemSound::play(id);
    SystemSound::play(987654);
    EXPECT_TRUE(SystemSound::played().empty());
    EXPECT_EQ(SystemSound::registerSound(""), 0u);
}

TEST_F(SoundTest, ManyPlaysInARowDoNotHoldUpTheCaller) {
    services_test::writeWav(folder_.path() / "long.wav", 8000 * 5); // five seconds each
    auto id = SystemSound::registerSound((folder_.path() / "long.wav").string());
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 50; ++i)
        SystemSound::play(id);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(SystemSound::played().size(), 50u);
}

TEST_F(SoundTest, TheVibrateSoundBuzzesInsteadOfPlaying) {
    SystemSound::play(SystemSound::kVibrate);
    Vibration::vibrate();
    EXPECT_EQ(Vibration::count(), 2);
    EXPECT_TRUE(SystemSound::played().empty());
}

} // namespace
