// The one place where exceptions stop. Every published operation that can
// allocate runs its body through guarded() or completes(); running out of
// memory (or anything else thrown below) then becomes the operation's
// documented failure value instead of leaving the library. Internal code
// throws freely and cleans up by RAII; only the published boundary catches.
//
// A published operation may call others (a chart draws through its area's
// operations), whose failures would then pass unseen as plain results. So
// each caught failure is also counted per thread, and an operation made of
// others watches the count to learn that one of them failed inside it.
#pragma once

#include <cstdint>
#include <utility>

namespace quorvane {

namespace detail {
inline thread_local uint64_t failedOperations = 0;
}  // namespace detail

// f(), or onFailure when f throws.
template <class R, class F>
R guarded(R onFailure, F &&f) noexcept {
  try {
    return std::forward<F>(f)();
  } catch (...) {
    ++detail::failedOperations;
    return onFailure;
  }
}

// Runs f, which returns nothing; false when it threw.
template <class F>
bool completes(F &&f) noexcept {
  try {
    std::forward<F>(f)();
    return true;
  } catch (...) {
    ++detail::failedOperations;
    return false;
  }
}

// Whether a guarded operation on this thread has failed since construction.
class FailureWatch {
 public:
  FailureWatch() noexcept : start_(detail::failedOperations) {}
  bool sawFailure() const noexcept { return detail::failedOperations != start_; }

 private:
  uint64_t start_;
};

}  // namespace quorvane
