#include "app/GameSound.h"
#include "app/ResourceNames.h"
#include "app/Resources.h"
#include "platform/foundation/Bundle.h"
#include "tests/app/AppTestSupport.h"

#include <SDL.h>
#include <SDL_image.h>
#include <filesystem>
#include <gtest/gtest.h>

namespace kavo {
namespace {

using test::AppEnvironment;
using test::sourceResources;

// Loads the picture the way the screens' image library does and says why it failed.
::testing::AssertionResult loadsAsPng(const std::string& path) {
    SDL_Surface* surface = IMG_Load(path.c_str());
    if (!surface) return ::testing::AssertionFailure() << path << ": " << IMG_GetError();
    bool hasPixels = surface->w > 0 && surface->h > 0;
    SDL_FreeSurface(surface);
    if (!hasPixels) return ::testing::AssertionFailure() << path << " is empty";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult loadsAsWav(const std::string& path) {
    SDL_AudioSpec wavFormat{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV(path.c_str(), &wavFormat, &buffer, &length))
        return ::testing::AssertionFailure() << path << ": " << SDL_GetError();
    SDL_FreeWAV(buffer);
    double seconds = double(length) / (wavFormat.freq * wavFormat.channels * (SDL_AUDIO_BITSIZE(wavFormat.format) / 8));
    if (seconds < 0.05 || seconds > 1.0) return ::testing::AssertionFailure() << path << " lasts " << seconds << " s";
    return ::testing::AssertionSuccess();
}

std::string image(const std::string& name) {
    return sourceResources() + "/images/" + name;
}

TEST(ResourceFiles, EveryGameSoundIsAShortWavUnderItsExactName) {
    for (const GameSoundFile& file : kGameSoundFiles)
        EXPECT_TRUE(loadsAsWav(sourceResources() + "/sounds/" + std::string(file.fileName)));
}

TEST(ResourceFiles, TheCaroClockThePlaceholderAvatarAndEveryEmoticonPictureLoad) {
    AppEnvironment env;
    for (const std::string& name : caroClockPictureNames())
        EXPECT_TRUE(loadsAsPng(image(name)));
    EXPECT_TRUE(loadsAsPng(image(std::string(kPlaceholderAvatar))));

    platform::Value emoticons = platform::Bundle::main().loadPlist(kEmoticonTableName);
    ASSERT_GE(emoticons.size(), 10u);
    for (const auto& [code, picture] : emoticons.dictValue()) {
        EXPECT_FALSE(code.empty());
        EXPECT_TRUE(loadsAsPng(image(picture.stringValue()))) << "emoticon " << code;
    }
}

TEST(ResourceFiles, EveryPictureOfTheImagesFolderLoads) {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(sourceResources() + "/images")) {
        EXPECT_EQ(entry.path().extension(), ".png") << entry.path();
        EXPECT_TRUE(loadsAsPng(entry.path().string()));
        ++count;
    }
    EXPECT_GE(count, 130u);
}

// The shop's ways to pay and the card table's chat and mailbox buttons show pictures that
// the screens name; a missing one would leave an empty frame.
TEST(ResourceFiles, TheShopMethodIconsAndTheTableChatAndMailPicturesLoad) {
    for (const char* name : {"icon_SMS.png", "icon_thecao.png", "icon_appstore.png", "shop_thecao.png",
                             "shop_frame_thecao.png", "tl_chat.png", "tl_mail.png", "lock.png"})
        EXPECT_TRUE(loadsAsPng(image(name))) << name;
}

TEST(ResourceFiles, PreparingAfterLogInRegistersEverySoundAndTheClockOnce) {
    AppEnvironment env;
    Resources resources;
    EXPECT_EQ(resources.soundId(GameSound::CtEat), 0u) << "nothing is loaded before the first log-in";
    resources.initAfterLogin();

    for (const GameSoundFile& file : kGameSoundFiles)
        EXPECT_NE(resources.soundId(file.sound), 0u) << file.fileName;
    EXPECT_EQ(resources.music_bg_kavo(), 0u);
    auto clock = resources.arrayImgCRTimer();
    ASSERT_EQ(clock.size(), 30u);
    for (const auto& picture : clock)
        EXPECT_NE(picture, nullptr);
    EXPECT_EQ(resources.listAllCards().size(), 52u);
    EXPECT_GE(resources.xDictEmotion().size(), 10u);

    platform::SoundId eat = resources.ct_eat_soundID();
    resources.initAfterLogin();
    EXPECT_EQ(resources.ct_eat_soundID(), eat) << "a second call changes nothing";
}

} // namespace
} // namespace kavo
