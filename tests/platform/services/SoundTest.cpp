#include "ServicesTestSupport.h"
#include "platform/services/SystemSound.h"
#include "platform/services/Vibration.h"

#include <chrono>
#include <cstdlib>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

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

// Fifty plays of a five-second sound: a caller held up for each sound would wait four
// minutes; the bound is far above what any load makes of fifty plays.
TEST_F(SoundTest, ManyPlaysInARowDoNotHoldUpTheCaller) {
    services_test::writeWav(folder_.path() / "long.wav", 8000 * 5); // five seconds each
    auto id = SystemSound::registerSound((folder_.path() / "long.wav").string());
    auto played = std::make_shared<std::promise<void>>();
    std::thread caller([id, played] {
        for (int i = 0; i < 50; ++i)
            SystemSound::play(id);
        played->set_value();
    });
    const bool returned = played->get_future().wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    returned ? caller.join() : caller.detach(); // a caller held up is left to its minutes
    ASSERT_TRUE(returned) << "the plays held their caller up";
    EXPECT_EQ(SystemSound::played().size(), 50u);
}

TEST_F(SoundTest, TheVibrateSoundBuzzesInsteadOfPlaying) {
    SystemSound::play(SystemSound::kVibrate);
    Vibration::vibrate();
    EXPECT_EQ(Vibration::count(), 2);
    EXPECT_TRUE(SystemSound::played().empty());
}

} // namespace
