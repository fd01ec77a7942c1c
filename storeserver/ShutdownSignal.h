#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// Lets handlers that hold a connection on purpose (stalls, answers that never
// come, throttling) wake up at once when the server stops.
class ShutdownSignal {
public:
    void trigger();
    bool triggered() const;
    // Waits up to the given time; true when the server is stopping.
    bool waitFor(std::chrono::milliseconds duration) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool triggered_ = false;
};
