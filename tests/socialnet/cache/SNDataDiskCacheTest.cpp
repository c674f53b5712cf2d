#include "sdk/socialnet/SNDataDiskCache.h"

#include "platform/foundation/FileSystem.h"
#include "tests/socialnet/cache/SNCacheTestSupport.h"

#include <random>

namespace socialnet::test {
namespace {

class SNDataDiskCacheTest : public CacheFolderFixture {
protected:
    void SetUp() override {
        CacheFolderFixture::SetUp();
        indexFolder_ = cacheFolder();
    }
    std::string cacheFolder() const { return folder_ + "/Caches/DataDiskCache"; }
};

TEST_F(SNDataDiskCacheTest, FirstUseMakesTheFolderWithItsIndex) {
    SNDataDiskCache cache(cacheFolder());
    EXPECT_TRUE(platform::fileExists(cacheFolder() + "/cache.db"));
    EXPECT_NE(cache.cacheIndex(), nullptr);
    EXPECT_EQ(cache.cacheSizeMemory(), 1048576u);
    EXPECT_EQ(cache.cacheIndex()->diskCapacity(), 10485760u);
}

TEST_F(SNDataDiskCacheTest, StoredDataIsAnsweredFromMemoryThenFromItsFile) {
    SNDataDiskCache cache(cacheFolder());
    const std::string url = "http://localhost/img/1.png";
    std::string bytes(2000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 7);
    cache.setDataForURL(bytes, url);
    EXPECT_EQ(cache.dataForURL(url), bytes);
    cache.waitUntilIdle();

    auto stored = rows();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].key, url);
    EXPECT_EQ(stored[0].fileSize, 2000);
    EXPECT_EQ(platform::readTextFile(cacheFolder() + "/" + stored[0].uuid), bytes);

    cache.dropMemoryForTesting();
    EXPECT_EQ(cache.dataForURL(url), bytes);
    // Back in memory: the file is no longer needed for the answer.
    ASSERT_TRUE(platform::removeFile(cacheFolder() + "/" + stored[0].uuid));
    EXPECT_EQ(cache.dataForURL(url), bytes);
    EXPECT_EQ(cache.dataForURL("http://localhost/img/never.png"), std::nullopt);
}

TEST_F(SNDataDiskCacheTest, SigningOutDropsUntokenedDataAndDataOfThatToken) {
    SNDataDiskCache cache(cacheFolder());
    const std::string image = "http://localhost/img/1.png";
    const std::string mine = "http://graph/me?access_token=TOKEN-A";
    const std::string theirs = "http://graph/me?Access_Token=TOKEN-B";
    for (auto& url : {image, mine, theirs})
        cache.setDataForURL("data", url);

    cache.removeDataForToken("");
    cache.waitUntilIdle();
    EXPECT_EQ(cache.dataForURL(image), std::nullopt);
    EXPECT_EQ(cache.dataForURL(mine), "data");
    EXPECT_EQ(rows().size(), 2u);

    cache.removeDataForToken("token-a");
    cache.waitUntilIdle();
    EXPECT_EQ(cache.dataForURL(mine), std::nullopt);
    EXPECT_EQ(cache.dataForURL(theirs), "data");
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].key, theirs);
}

TEST_F(SNDataDiskCacheTest, AnUnreadableIndexLeavesAMemoryOnlyCache) {
    ASSERT_TRUE(platform::createDirectories(cacheFolder()));
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        std::string noise(size_t(random() % 8192), '\0');
        for (auto& byte : noise)
            byte = char(random());
        // Half the rounds look like a database at first sight.
        if (round % 2 && noise.size() >= 16) noise.replace(0, 16, std::string("SQLite format 3\0", 16));
        ASSERT_TRUE(platform::writeFileAtomically(cacheFolder() + "/cache.db", noise));
        SNDataDiskCache cache(cacheFolder());
        cache.setDataForURL("abc", "http://localhost/a");
        EXPECT_EQ(cache.dataForURL("http://localhost/a"), "abc");
        cache.waitUntilIdle();
    }
}

} // namespace
} // namespace socialnet::test
