// SPDX-License-Identifier: GPL-3.0-or-later
// A request from another thread (Esc, a window closed) to stop the work under way on this one.
// The numerical core looks at it at every evaluation of f, so that even a slow integrand stops
// within one evaluation, and leaves by throwing StopRequested: neither a fault nor a
// std::exception, so that nothing on the way reports it as one.
#pragma once

#include <atomic>

namespace integral {

struct StopRequested {};

namespace detail {
inline thread_local const std::atomic<bool>* stopFlag = nullptr;
}  // namespace detail

// Throws StopRequested where the work on this thread has been asked to stop.
inline void stopIfRequested() {
    const std::atomic<bool>* flag = detail::stopFlag;
    if (flag != nullptr && flag->load(std::memory_order_relaxed)) [[unlikely]] {
        throw StopRequested{};
    }
}

// While it lives, the work on this thread stops once `stop` is set.
class StopScope {
  public:
    explicit StopScope(const std::atomic<bool>& stop) : outer_(detail::stopFlag) {
        detail::stopFlag = &stop;
    }
    ~StopScope() { detail::stopFlag = outer_; }
    StopScope(const StopScope&) = delete;
    StopScope& operator=(const StopScope&) = delete;

  private:
    const std::atomic<bool>* outer_;
};

}  // namespace integral
