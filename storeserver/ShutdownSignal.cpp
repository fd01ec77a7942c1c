#include "ShutdownSignal.h"

void ShutdownSignal::trigger()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        triggered_ = true;
    }
    changed_.notify_all();
}

bool ShutdownSignal::triggered() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return triggered_;
}

bool ShutdownSignal::waitFor(std::chrono::milliseconds duration) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, duration, [this] { return triggered_; });
}
