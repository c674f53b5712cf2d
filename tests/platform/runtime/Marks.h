#pragma once
// What the threads of a test have reached: each thread marks its moments by name and waits
// for the others'. Every wait is bounded, so a thread that never comes fails the test
// (the wait returns empty) instead of stopping the whole run.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace platform::test {

class Marks {
public:
    void mark(const std::string& what) {
        std::lock_guard lock(mutex_);
        reached_.insert(what);
        changed_.notify_all();
    }
    bool has(const std::string& what) const {
        std::lock_guard lock(mutex_);
        return reached_.count(what) > 0;
    }
    // Waits until one of `any` is marked and returns it; empty after 30 s (a hang).
    [[nodiscard]] std::string waitForAny(const std::vector<std::string>& any) {
        std::unique_lock lock(mutex_);
        std::string found;
        changed_.wait_for(lock, std::chrono::seconds(30), [&] {
            for (const auto& what : any)
                if (reached_.count(what)) return found = what, true;
            return false;
        });
        return found;
    }
    [[nodiscard]] bool waitFor(const std::string& what) { return waitForAny({what}) == what; }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::set<std::string> reached_;
};

} // namespace platform::test
