#pragma once

#include <memory>

namespace platform {

// Where everything that waits asks the time. The application uses the real clock;
// tests install a manual clock and advance it through RunLoop::advance, so timers
// fire at exact times, the same way every run.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since an arbitrary start; never goes backwards.
    virtual double now() const = 0;
    virtual bool isManual() const = 0;

    // The clock in force (the real one until a test installs another).
    static std::shared_ptr<Clock> current();
    static void setCurrent(std::shared_ptr<Clock> clock);
    // Shorthand for current()->now().
    static double time();
};

class RealClock : public Clock {
public:
    double now() const override;
    bool isManual() const override { return false; }
};

// Only moves when told to, and never back, like the real (steady) clock: a time read is never
// earlier than one read before it. Reads and writes are atomic, so other threads may read it.
class ManualClock : public Clock {
public:
    explicit ManualClock(double start = 1000.0);
    double now() const override;
    bool isManual() const override { return true; }
    // Moves the clock to `seconds`; a time earlier than now leaves it where it is.
    void set(double seconds);

private:
    struct State;
    std::shared_ptr<State> state_;
};

// Installs a manual clock for the life of the object, then restores the real clock.
class ScopedManualClock {
public:
    ScopedManualClock();
    ~ScopedManualClock();
    ManualClock& clock() { return *clock_; }

private:
    std::shared_ptr<ManualClock> clock_;
};

} // namespace platform
