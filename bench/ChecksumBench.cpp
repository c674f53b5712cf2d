// The archive checksum (CRC-32) over 22.9 MB, the size of a stored mailbox of 100,000
// mails, beside the bit-by-bit loop it replaced (kept here as the reference).

#include "platform/foundation/KeyedArchive.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <vector>

namespace {

const std::vector<uint8_t>& mailboxSizedBytes() {
    static const std::vector<uint8_t> bytes = [] {
        std::vector<uint8_t> b(22'900'000);
        uint32_t x = 12345;
        for (auto& byte : b) {
            x = x * 1103515245u + 12345u;
            byte = uint8_t(x >> 16);
        }
        return b;
    }();
    return bytes;
}

uint32_t crc32BitByBit(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void ArchiveChecksumBitByBit(benchmark::State& state) {
    const auto& bytes = mailboxSizedBytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(crc32BitByBit(bytes.data(), bytes.size()));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(ArchiveChecksumBitByBit)->Unit(benchmark::kMillisecond);

#ifndef KAVO_BENCH_WITHOUT_TABLE_CRC
void ArchiveChecksumByTable(benchmark::State& state) {
    const auto& bytes = mailboxSizedBytes();
    if (platform::crc32Checksum(bytes.data(), bytes.size()) != crc32BitByBit(bytes.data(), bytes.size()))
        state.SkipWithError("the two checksums differ");
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::crc32Checksum(bytes.data(), bytes.size()));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(ArchiveChecksumByTable)->Unit(benchmark::kMillisecond);
#endif

} // namespace
