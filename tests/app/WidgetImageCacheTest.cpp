#include "app/widgets/ImageCache.h"
#include "platform/foundation/DateFormat.h"
#include "platform/foundation/FileSystem.h"
#include "platform/ui/Image.h"
#include "tests/app/AppTestSupport.h"

#include <cmath>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kavo::test {
namespace {

using platform::ui::Color;
using platform::ui::Image;
using platform::ui::ImagePtr;

class WidgetImageCacheTest : public ::testing::Test {
protected:
    void SetUp() override { cache().removeAllImages(); }
    void TearDown() override { cache().removeAllImages(); }
    static ImageCache& cache() { return ImageCache::sharedImageCache(); }
    // A small picture told apart by its colour.
    static ImagePtr picture(int shade) { return Image::filled(4, 4, Color::rgba(shade, 0, 0)); }
    static std::string key(int i) { return "avatar/" + std::to_string(i) + "?size=big"; }
    // Makes a stored file look written `seconds` ago.
    static void age(const std::string& path, double seconds) {
        double when = platform::currentDate() - seconds;
        timespec times[2];
        times[0].tv_sec = times[1].tv_sec = time_t(std::floor(when));
        times[0].tv_nsec = times[1].tv_nsec = long((when - std::floor(when)) * 1e9);
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }

    AppEnvironment environment_;
};

TEST_F(WidgetImageCacheTest, StoredPicturesLiveInMemoryAndInTheCachesFolder) {
    cache().storeImage(picture(10), key(1));
    EXPECT_TRUE(cache().imageExistsInMemory(key(1)));
    EXPECT_TRUE(cache().imageExistsInDisk(key(1)));
    EXPECT_EQ(cache().countImagesInDisk(), 1u);
    const std::string folder = cache().getCacheDirectoryName();
    EXPECT_EQ(folder, platform::joinPath(environment_.data().path(), "Caches/KavoOnlineFolder"));
    // Any text is a key: it is hashed into a plain file name in the folder.
    const std::string file = cache().getFileNameForKey(key(1));
    EXPECT_EQ(std::filesystem::path(file).parent_path(), std::filesystem::path(folder));
    EXPECT_EQ(std::filesystem::path(file).filename().string().find('/'), std::string::npos);
    EXPECT_NE(file, cache().getFileNameForKey(key(2)));
    EXPECT_EQ(cache().imageForKey(key(1))->pixel(0, 0).red8(), 10);
}

TEST_F(WidgetImageCacheTest, TheTwentyFirstPictureEvictsTheOldestWhichComesBackFromDisk) {
    for (int i = 0; i < 21; ++i)
        cache().storeImage(picture(i), key(i));
    EXPECT_EQ(cache().countImagesInMemory(), ImageCache::kMemoryLimit);
    EXPECT_FALSE(cache().imageExistsInMemory(key(0)));
    EXPECT_TRUE(cache().imageExistsInDisk(key(0)));
    EXPECT_TRUE(cache().hasImageWithKey(key(0)));
    EXPECT_EQ(cache().countImagesInDisk(), 21u);

    auto reloaded = cache().imageForKey(key(0));
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(reloaded->pixel(0, 0).red8(), 0);
    EXPECT_EQ(cache().keysInMemory().front(), key(0));
    EXPECT_FALSE(cache().imageExistsInMemory(key(1)));
}

TEST_F(WidgetImageCacheTest, AKeyStoredAgainMovesToTheFrontAndStaysInMemory) {
    cache().storeImage(picture(1), key(0));
    for (int i = 1; i < 20; ++i)
        cache().storeImage(picture(i), key(i));
    cache().storeImage(picture(99), key(0));
    EXPECT_EQ(cache().keysInMemory().size(), 20u);
    cache().storeImage(picture(20), key(20));
    // The oldest place is now key 1's; key 0 was stored again more recently.
    EXPECT_TRUE(cache().imageExistsInMemory(key(0)));
    EXPECT_FALSE(cache().imageExistsInMemory(key(1)));
    EXPECT_EQ(cache().imageForKey(key(0))->pixel(0, 0).red8(), 99);
}

TEST_F(WidgetImageCacheTest, StoringWithoutAPictureOrAKeyDoesNothing) {
    cache().storeImage(nullptr, key(1));
    cache().storeImage(picture(1), "");
    EXPECT_EQ(cache().countImagesInMemory(), 0u);
    EXPECT_EQ(cache().countImagesInDisk(), 0u);
    EXPECT_FALSE(cache().imageForKey(key(1)));
}

TEST_F(WidgetImageCacheTest, RemovingAKeyTakesItFromMemoryAndDisk) {
    cache().storeImage(picture(1), key(1));
    cache().storeImage(picture(2), key(2));
    cache().removeImageWithKey(key(1));
    EXPECT_FALSE(cache().hasImageWithKey(key(1)));
    EXPECT_TRUE(cache().hasImageWithKey(key(2)));
    EXPECT_EQ(cache().keysInMemory().size(), 1u);
}

TEST_F(WidgetImageCacheTest, RemovingAllLeavesAnEmptyFolder) {
    cache().storeImage(picture(1), key(1));
    cache().storeImage(picture(2), key(2));
    cache().removeAllImagesInMemory();
    EXPECT_EQ(cache().countImagesInMemory(), 0u);
    EXPECT_EQ(cache().countImagesInDisk(), 2u);
    cache().removeAllImages();
    EXPECT_TRUE(std::filesystem::is_directory(cache().getCacheDirectoryName()));
    EXPECT_EQ(cache().countImagesInDisk(), 0u);
}

TEST_F(WidgetImageCacheTest, PurgeDropsFilesOlderThanTenDaysOnly) {
    constexpr double tenDays = 10 * 24 * 3600;
    cache().storeImage(picture(1), key(1));
    cache().storeImage(picture(2), key(2));
    cache().storeImage(picture(3), key(3));
    age(cache().getFileNameForKey(key(1)), tenDays + 1);
    age(cache().getFileNameForKey(key(2)), tenDays);
    cache().removeOldImages();
    EXPECT_FALSE(cache().imageExistsInDisk(key(1)));
    EXPECT_TRUE(cache().imageExistsInDisk(key(2)));
    EXPECT_TRUE(cache().imageExistsInDisk(key(3)));
    // Memory is not touched.
    EXPECT_TRUE(cache().imageExistsInMemory(key(1)));
}

TEST_F(WidgetImageCacheTest, AnUnreadableFileIsNoPicture) {
    platform::writeFileAtomically(cache().getFileNameForKey(key(5)), std::string_view("not a picture"));
    EXPECT_FALSE(cache().imageForKey(key(5)));
    EXPECT_FALSE(cache().imageExistsInMemory(key(5)));
}

TEST_F(WidgetImageCacheTest, BundlePicturesAreReadWithoutTheNamedCache) {
    auto first = newImageFromResource("images/av0.png");
    ASSERT_TRUE(first);
    EXPECT_NE(first, newImageFromResource("images/av0.png"));
    EXPECT_FALSE(newImageFromResource("images/missing.png"));
    EXPECT_FALSE(newImageFromResource("../etc/passwd"));
}

} // namespace
} // namespace kavo::test
