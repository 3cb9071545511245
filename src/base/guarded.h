// The one place where exceptions stop. Every published operation that can
// allocate runs its body through guarded() or completes(); running out of
// memory (or anything else thrown below) then becomes the operation's
// documented failure value instead of leaving the library. Internal code
// throws freely and cleans up by RAII; only the published boundary catches.
//
// A published operation may call others (a chart draws through its area's
// operations), whose failures would then pass unseen as plain results. So
// each caught failure is also counted per thread: an operation fails as well
// when one it called failed, and internal code that calls published
// operations watches the count with a FailureWatch.
#pragma once

#include <cstdint>
#include <new>
#include <utility>

namespace quorvane {

namespace detail {
inline thread_local uint64_t failedOperations = 0;
}  // namespace detail

// Whether a guarded operation on this thread has failed since construction.
class FailureWatch {
 public:
  FailureWatch() noexcept : start_(detail::failedOperations) {}
  bool sawFailure() const noexcept { return detail::failedOperations != start_; }
  // For internal code that must not go on as if the operations it called had worked.
  void throwIfFailed() const {
    if (sawFailure()) throw std::bad_alloc();
  }

 private:
  uint64_t start_;
};

// f(), or onFailure when f throws or an operation it called failed.
template <class R, class F>
R guarded(R onFailure, F &&f) noexcept {
  const FailureWatch watch;
  try {
    R result = std::forward<F>(f)();
    return watch.sawFailure() ? onFailure : result;
  } catch (...) {
    ++detail::failedOperations;
    return onFailure;
  }
}

// Runs f, which returns nothing; false when it threw or an operation it
// called failed.
template <class F>
bool completes(F &&f) noexcept {
  const FailureWatch watch;
  try {
    std::forward<F>(f)();
    return !watch.sawFailure();
  } catch (...) {
    ++detail::failedOperations;
    return false;
  }
}

}  // namespace quorvane
