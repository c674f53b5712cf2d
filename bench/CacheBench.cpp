// The social network's response cache with 10,000 entries of 1 KB in a temporary folder:
// storing, looking up from disk, dropping one token's 2,500 entries, and lookups made
// while stores are still waiting to be written; and the index's trim of an index that
// holds 20,000 entries more than its capacity. Each figure counts until the cache's
// queues are idle, so work pushed to a background queue is paid for too.

#include "platform/foundation/SqliteDatabase.h"
#include "sdk/socialnet/SNDataDiskCache.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int kEntries = 10'000;

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct TempCache {
    TempCache() {
        char pattern[] = "/tmp/kavo-cache-bench-XXXXXX";
        folder = mkdtemp(pattern) ? pattern : "/tmp/kavo-cache-bench";
        cache = std::make_unique<socialnet::SNDataDiskCache>(folder + "/DataDiskCache");
    }
    ~TempCache() {
        cache.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string folder;
    std::unique_ptr<socialnet::SNDataDiskCache> cache;
};

// A quarter of the keys carry the token of the session that signs out.
std::string keyOf(int i) {
    return "https://graph.localhost/" + std::to_string(i) +
           "/picture?access_token=" + (i % 4 == 0 ? "TOKEN-A" : "TOKEN-B");
}

std::string payloadOf(int i) {
    return std::string(1000, char('a' + i % 26));
}

void fill(socialnet::SNDataDiskCache& cache) {
    for (int i = 0; i < kEntries; ++i)
        cache.setDataForURL(payloadOf(i), keyOf(i));
    cache.waitUntilIdle();
}

void CacheStore(benchmark::State& state) {
    for (auto _ : state) {
        TempCache temp;
        const double start = now();
        for (int i = 0; i < kEntries; ++i)
            temp.cache->setDataForURL(payloadOf(i), keyOf(i));
        const double returned = now();
        temp.cache->waitUntilIdle();
        const double idle = now();
        state.SetIterationTime(idle - start);
        state.counters["store_us_until_idle"] = (idle - start) / kEntries * 1e6;
        state.counters["store_us_caller"] = (returned - start) / kEntries * 1e6;
    }
}
BENCHMARK(CacheStore)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void CacheLookupFromDisk(benchmark::State& state) {
    for (auto _ : state) {
        TempCache temp;
        fill(*temp.cache);
        temp.cache->dropMemoryForTesting();
        // Looked up in an order that keeps the memory part from answering.
        const double start = now();
        int found = 0;
        for (int i = 0; i < kEntries; i += 5)
            found += temp.cache->dataForURL(keyOf(i)).has_value();
        const double done = now();
        temp.cache->waitUntilIdle();
        state.SetIterationTime(done - start);
        state.counters["lookup_us"] = (done - start) / (kEntries / 5) * 1e6;
        state.counters["found"] = found;
    }
}
BENCHMARK(CacheLookupFromDisk)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void CacheDropOneToken(benchmark::State& state) {
    for (auto _ : state) {
        TempCache temp;
        fill(*temp.cache);
        const double start = now();
        temp.cache->removeDataForToken("TOKEN-A");
        const double returned = now();
        temp.cache->waitUntilIdle();
        const double idle = now();
        state.SetIterationTime(idle - start);
        state.counters["drop_ms_until_idle"] = (idle - start) * 1e3;
        state.counters["drop_ms_caller"] = (returned - start) * 1e3;
    }
}
BENCHMARK(CacheDropOneToken)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// Lookups of entries on disk made right after 2,000 stores, while those still wait to be
// written: the slowest lookup shows whether one waited behind the writes.
void CacheLookupBehindPendingStores(benchmark::State& state) {
    for (auto _ : state) {
        TempCache temp;
        fill(*temp.cache);
        temp.cache->dropMemoryForTesting();
        for (int i = 0; i < 2000; ++i)
            temp.cache->setDataForURL(payloadOf(i), "https://graph.localhost/new/" + std::to_string(i));
        double slowest = 0, total = 0;
        for (int i = 1; i < 200; i += 2) {
            const double start = now();
            benchmark::DoNotOptimize(temp.cache->dataForURL(keyOf(i)));
            const double took = now() - start;
            slowest = std::max(slowest, took);
            total += took;
        }
        temp.cache->waitUntilIdle();
        state.SetIterationTime(total);
        state.counters["lookup_us_mean"] = total / 100 * 1e6;
        state.counters["lookup_us_slowest"] = slowest * 1e6;
    }
}
BENCHMARK(CacheLookupBehindPendingStores)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// The trim the store of one more entry starts when the index already holds the given
// number of 1 KB entries beyond its 10 MiB (every other pair used at the same time): it
// drops the oldest down to 8 MiB. The files are not touched; the delegate only counts.
class CountingDelegate : public socialnet::SNCacheIndexFileDelegate {
public:
    void cacheIndexWriteFileWithName(socialnet::SNCacheIndex&, const std::string&, const std::string&) override {}
    void cacheIndexDeleteFileWithName(socialnet::SNCacheIndex&, const std::string&) override { ++deleted; }
    std::atomic<int> deleted{0};
};

void CacheTrim(benchmark::State& state) {
    constexpr uint32_t kCapacity = socialnet::SNDataDiskCache::kDiskCapacity;
    constexpr int kEntrySize = 1024;
    const int64_t rows = kCapacity / kEntrySize + state.range(0);
    for (auto _ : state) {
        TempCache temp;
        const std::string folder = temp.folder + "/trim";
        std::filesystem::create_directories(folder);
        {
            platform::SqliteDatabase db;
            db.open(folder + "/" + socialnet::SNCacheIndex::kFileName);
            db.exec("CREATE TABLE cache_index (uuid TEXT, key TEXT PRIMARY KEY, access_time REAL, file_size INTEGER)");
            db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(rows) +
                    ") INSERT INTO cache_index SELECT printf('F%08d', i), 'https://graph.localhost/' || i, "
                    "1000 + i / 2, " +
                    std::to_string(kEntrySize) + " FROM n");
        }
        auto index = socialnet::SNCacheIndex::initWithCacheFolder(folder);
        CountingDelegate files;
        index->setDelegate(&files);
        index->setDiskCapacity(kCapacity);
        index->databaseQueue().waitUntilIdle();
        const double start = now();
        const std::clock_t startCpu = std::clock();
        index->storeFileForKey("https://graph.localhost/new", std::string(kEntrySize, 'n'));
        index->databaseQueue().waitUntilIdle();
        const double idle = now();
        // The processor time of the whole process: the trim's own cost on a loaded machine.
        state.counters["trim_cpu_ms"] = double(std::clock() - startCpu) / CLOCKS_PER_SEC * 1e3;
        state.SetIterationTime(idle - start);
        state.counters["trim_ms"] = (idle - start) * 1e3;
        state.counters["trimmed"] = files.deleted.load();
        state.counters["entries"] = double(rows + 1);
        index->setDelegate(nullptr);
    }
}
BENCHMARK(CacheTrim)->Arg(2'000)->Arg(20'000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
