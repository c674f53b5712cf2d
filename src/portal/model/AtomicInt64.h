#pragma once

#include <atomic>
#include <cstdint>

namespace kavo {

// A 64-bit number that is always read and written whole. Money and time stamps are
// updated on the connection's reader thread while screens read them on the main
// thread; this keeps a reader from ever seeing half of an old and half of a new
// value. Copying a record copies the current value.
class AtomicInt64 {
public:
    AtomicInt64() = default;
    AtomicInt64(int64_t value) : value_(value) {}
    AtomicInt64(const AtomicInt64& other) : value_(other.get()) {}
    AtomicInt64& operator=(const AtomicInt64& other) {
        set(other.get());
        return *this;
    }

    int64_t get() const { return value_.load(std::memory_order_relaxed); }
    void set(int64_t value) { value_.store(value, std::memory_order_relaxed); }
    // Adds with the wrap-around of 64-bit two's complement (never undefined).
    void add(int64_t delta) {
        int64_t current = get();
        while (!value_.compare_exchange_weak(current, int64_t(uint64_t(current) + uint64_t(delta)),
                                             std::memory_order_relaxed)) {
        }
    }

private:
    std::atomic<int64_t> value_{0};
};

} // namespace kavo
