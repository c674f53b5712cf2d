#include "sdk/socialnet/SNCacheTrimWalk.h"

namespace socialnet {

void SNCacheTrimWalk::Total::add(const SNStoredSize& size) {
    switch (size.kind) {
    case SNStoredSize::Kind::Missing:
        return;
    case SNStoredSize::Kind::Integer:
        any = true;
        real += double(size.integer);
        if (!approximate && !overflow && __builtin_add_overflow(integer, size.integer, &integer))
            approximate = overflow = true;
        return;
    case SNStoredSize::Kind::Other:
        any = true;
        real += size.real;
        approximate = true;
        return;
    }
}

void SNCacheTrimWalk::Total::add(const Total& other) {
    if (!other.any) return;
    any = true;
    real += other.real;
    overflow = overflow || other.overflow;
    if (!approximate && !other.approximate && !overflow && __builtin_add_overflow(integer, other.integer, &integer))
        overflow = true;
    approximate = approximate || other.approximate || overflow;
}

bool SNCacheTrimWalk::Total::within(int64_t limit) const {
    if (!any || overflow) return false;
    // The limit comes from 32-bit counts, so it is exact as a double.
    return approximate ? real <= double(limit) : integer <= limit;
}

bool SNCacheTrimWalk::next(double accessTime, const SNStoredSize& size) {
    if (!started_ || accessTime != groupTime_) {
        earlier_.add(group_);
        group_ = {};
        groupTime_ = accessTime;
        started_ = true;
    }
    group_.add(size);
    Total total = earlier_;
    total.add(size);
    overflowed_ = overflowed_ || total.overflow;
    return total.within(limit_);
}

} // namespace socialnet
