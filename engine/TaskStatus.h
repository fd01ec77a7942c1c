// What a task's worker publishes and any thread may read at any time.
#pragma once

#include "xldl.h"

#include <atomic>
#include <cstdint>

namespace xldl {

struct TaskStatus {
    std::atomic<int> state{XL_STATE_IDLE};
    std::atomic<int> failCode{XL_FAIL_NONE};
    std::atomic<int64_t> total{0};
    std::atomic<int64_t> downloaded{0};
};

} // namespace xldl
