// Throughput of the wire core: message encoding, the cipher, and a loopback
// round trip through the socket client and the test portal.

#include "net/FrameReader.h"
#include "net/MobileClient.h"
#include "net/TEA.h"
#include "tests/support/TestPortal.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <condition_variable>
#include <mutex>

namespace {

// A typical reply: 112 bytes on the wire (command id and body) of mixed fields.
kavo::Message typicalReply() {
    kavo::Message m(1008);
    m.writeByte(3);
    m.writeInt(123456);
    m.writeLong(987654321012LL);
    m.writeUTF("nguoichoi_so_mot");
    m.writeUTF("Phong cho nguoi moi bat dau");
    m.writeShort(12);
    m.writeBool(1);
    for (int i = 0; i < 8; ++i)
        m.writeInt(i * 1000);
    m.writeUTF("avatar_07.png");
    return m;
}

void MessageEncodeDecode(benchmark::State& state) {
    for (auto _ : state) {
        kavo::Message m = typicalReply();
        auto raw = std::move(m).takeRawData();
        auto back = kavo::Message::fromRawData(std::move(raw));
        back->readByte();
        benchmark::DoNotOptimize(back->readInt());
        benchmark::DoNotOptimize(back->readLong());
        benchmark::DoNotOptimize(back->readUTF());
        benchmark::DoNotOptimize(back->readUTF());
        back->readShort();
        back->readBool();
        for (int i = 0; i < 8; ++i)
            benchmark::DoNotOptimize(back->readInt());
        benchmark::DoNotOptimize(back->readUTF());
    }
    // Counted once: asking the counters inside the loop costs more than a field.
    const auto size = int64_t(typicalReply().rawData().size());
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
    state.counters["bytes"] = double(size);
}
BENCHMARK(MessageEncodeDecode);

// The cipher as the client runs it (several blocks side by side) and the plain
// one-block-at-a-time loop it replaced, in the same run for comparison.
void CipherEncrypt(benchmark::State& state) {
    kavo::TEA tea(1700000000000LL);
    std::vector<uint8_t> plain(size_t(state.range(0)), 0x5A);
    for (auto _ : state)
        benchmark::DoNotOptimize(tea.encrypt(plain));
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(CipherEncrypt)->Arg(64)->Arg(1024)->Arg(64 * 1024);

void CipherEncryptOneBlockAtATime(benchmark::State& state) {
    kavo::TEA tea(1700000000000LL);
    std::vector<uint8_t> plain(size_t(state.range(0)), 0x5A);
    for (auto _ : state)
        benchmark::DoNotOptimize(tea.encryptOneBlockAtATime(plain.data(), plain.size()));
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(CipherEncryptOneBlockAtATime)->Arg(64 * 1024);

void CipherDecrypt(benchmark::State& state) {
    kavo::TEA tea(1700000000000LL);
    auto body = tea.encrypt(std::vector<uint8_t>(size_t(state.range(0)), 0x5A));
    for (auto _ : state)
        benchmark::DoNotOptimize(tea.decrypt(body));
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(CipherDecrypt)->Arg(64)->Arg(1024)->Arg(64 * 1024);

void CipherDecryptOneBlockAtATime(benchmark::State& state) {
    kavo::TEA tea(1700000000000LL);
    auto body = tea.encrypt(std::vector<uint8_t>(size_t(state.range(0)), 0x5A));
    for (auto _ : state)
        benchmark::DoNotOptimize(tea.decryptOneBlockAtATime(body.data(), body.size()));
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(CipherDecryptOneBlockAtATime)->Arg(64 * 1024);

// Counts echoed replies and wakes the benchmark when the last one is in.
class EchoCounter : public kavo::IMessageListener {
public:
    void onConnectionOK() override { bump(connected_); }
    void onMessage(kavo::Message&) override { bump(received_); }
    bool waitConnected() { return waitFor(connected_, 1); }
    bool waitReceived(long count) { return waitFor(received_, count); }
    long received() {
        std::lock_guard<std::mutex> lock(mutex_);
        return received_;
    }

private:
    void bump(long& counter) {
        std::lock_guard<std::mutex> lock(mutex_);
        ++counter;
        changed_.notify_all();
    }
    bool waitFor(long& counter, long count) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(30), [&] { return counter >= count; });
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    long connected_ = 0;
    long received_ = 0;
};

// 10,000 small requests, each echoed by the portal; time until the last echo.
void LoopbackRoundTrip10k(benchmark::State& state) {
    kavo::test::TestPortal portal;
    portal.onAnyCommand([](kavo::Message& request, kavo::test::TestPortal::Reply& reply) { reply.send(request); });
    EchoCounter counter;
    kavo::MobileClient client(&counter);
    client.connectToHost("127.0.0.1", portal.port());
    if (!counter.waitConnected()) {
        state.SkipWithError("no connection");
        return;
    }
    constexpr long kMessages = 10000;
    for (auto _ : state) {
        long target = counter.received() + kMessages;
        for (long i = 0; i < kMessages; ++i) {
            kavo::Message m(1700);
            m.writeInt(int32_t(i));
            m.writeUTF("hi");
            client.sendMessage(std::move(m));
        }
        if (!counter.waitReceived(target)) {
            state.SkipWithError("echoes missing");
            break;
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kMessages);
    client.manualDisconnect();
}
BENCHMARK(LoopbackRoundTrip10k)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
