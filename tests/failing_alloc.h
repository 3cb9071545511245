// The forced-failure allocator of the *_alloc_test executables and the sweep
// that drives it: the global allocation functions are replaced by ones that
// use malloc and free and, while armed, refuse allocation N of a run
// (std::bad_alloc, or null for the nothrow forms), once or from N on.
// Replacements cannot be inline, so this header goes into exactly one source
// file of an executable of its own.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "quorvane.h"

namespace failalloc {

// Only calls made through lib() are armed, so the test's own allocations and
// gtest's never fail. Single-threaded.
struct Injector {
  bool armed = false;
  long long countdown = -1;   // allocations left to grant; -1: grant all
  bool persistent = true;     // once refused, refuse every later one too
  long long allocations = 0;  // counted while armed
  long long refusals = 0;     // refused in this run
};
inline Injector gInjector;

inline bool refuseNow() noexcept {
  Injector &in = gInjector;
  if (!in.armed) return false;
  ++in.allocations;
  if (in.countdown < 0) return false;
  if (in.countdown > 0) {
    --in.countdown;
    return false;
  }
  ++in.refusals;
  if (!in.persistent) in.countdown = -1;
  return true;
}

inline void *allocate(std::size_t n, std::size_t alignment) noexcept {
  if (refuseNow()) return nullptr;
  if (n == 0) n = 1;
  if (alignment <= alignof(std::max_align_t)) return std::malloc(n);
  void *p = nullptr;
  return posix_memalign(&p, alignment, n) == 0 ? p : nullptr;
}

inline void *allocateOrThrow(std::size_t n, std::size_t alignment) {
  void *p = allocate(n, alignment);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

// Arms the allocator for its lifetime and restores the previous state on
// every way out, so that gtest can report an escaping exception; Disarm lets
// a host callback allocate in the middle of an armed call.
template <bool kArmed>
class ArmState {
 public:
  ArmState() : saved_(gInjector.armed) { gInjector.armed = kArmed; }
  ~ArmState() { gInjector.armed = saved_; }
  ArmState(const ArmState &) = delete;
  ArmState &operator=(const ArmState &) = delete;

 private:
  bool saved_;
};
using Arm = ArmState<true>;
using Disarm = ArmState<false>;

// Runs one library call armed.
template <class F>
auto lib(F &&f) {
  const Arm arm;
  return f();
}

// Starts a run that refuses allocation n (-1: none).
inline void startRun(long long n, bool persistent) {
  gInjector.countdown = n;
  gInjector.persistent = persistent;
  gInjector.allocations = 0;
  gInjector.refusals = 0;
}

// What one run of a scenario gave: whether its first object was made,
// whether every step before the outputs succeeded, and each output (none:
// refused). The first output is the picture.
struct Attempt {
  bool created = false;
  bool setUp = false;
  std::vector<std::pair<std::string, std::optional<std::string>>> outputs;

  // A memory output is either bytes or the empty block, never a mix.
  void add(const char *name, MemBlock block) {
    EXPECT_EQ(block.len == 0, block.data == nullptr) << name << " " << block.len;
    EXPECT_GE(block.len, 0) << name;
    outputs.emplace_back(name, block.data == nullptr ? std::nullopt
                                                     : std::optional<std::string>(std::string(
                                                           block.data, size_t(block.len))));
  }
  void add(const char *name, const char *text) {
    outputs.emplace_back(name, text == nullptr ? std::nullopt
                                               : std::optional<std::string>(text));
  }
};

// Sweeps N over every allocation of a run, refusing it alone and refusing it
// and all after it, and returns the run nothing was refused in. A run that
// refused nothing gives the reference's picture; a run whose steps all
// succeeded gives each output whole or not at all, since an output that
// comes out after a failure in the drawing would be partial.
template <class Build>
Attempt sweep(Build build, const char *what) {
  startRun(-1, true);
  build();  // fills the process-wide font caches
  startRun(-1, true);
  const Attempt reference = build();
  const long long total = gInjector.allocations;
  EXPECT_TRUE(reference.setUp) << what;
  EXPECT_GT(total, 100) << what;
  for (const auto &[name, bytes] : reference.outputs)
    EXPECT_TRUE(bytes.has_value() && !bytes->empty()) << what << " " << name;

  startRun(0, true);
  EXPECT_FALSE(build().created) << what;  // the factory returns null

  long long tried = 0, refusedPictures = 0;
  for (const bool persistent : {false, true}) {
    for (long long n = 0; n <= total; ++n, ++tried) {
      startRun(n, persistent);
      const Attempt run = build();
      EXPECT_TRUE(gInjector.refusals > 0 || run.outputs == reference.outputs)
          << what << " N = " << n;
      if (!run.created || !run.setUp) continue;
      if (!run.outputs[0].second) ++refusedPictures;
      for (size_t k = 0; k < run.outputs.size(); ++k)
        EXPECT_TRUE(!run.outputs[k].second || run.outputs[k] == reference.outputs[k])
            << what << " " << run.outputs[k].first << ", N = " << n;
    }
  }
  EXPECT_GT(refusedPictures, 0) << what;  // the sweep reached the drawing itself
  startRun(-1, true);
  EXPECT_TRUE(build().outputs == reference.outputs) << what;
  std::printf("%s: %lld allocations a run, %lld runs\n", what, total, tried);
  return reference;
}

}  // namespace failalloc

void *operator new(std::size_t n) { return failalloc::allocateOrThrow(n, 0); }
void *operator new[](std::size_t n) { return failalloc::allocateOrThrow(n, 0); }
void *operator new(std::size_t n, std::align_val_t a) {
  return failalloc::allocateOrThrow(n, static_cast<std::size_t>(a));
}
void *operator new[](std::size_t n, std::align_val_t a) {
  return failalloc::allocateOrThrow(n, static_cast<std::size_t>(a));
}
void *operator new(std::size_t n, const std::nothrow_t &) noexcept {
  return failalloc::allocate(n, 0);
}
void *operator new[](std::size_t n, const std::nothrow_t &) noexcept {
  return failalloc::allocate(n, 0);
}
void *operator new(std::size_t n, std::align_val_t a, const std::nothrow_t &) noexcept {
  return failalloc::allocate(n, static_cast<std::size_t>(a));
}
void *operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t &) noexcept {
  return failalloc::allocate(n, static_cast<std::size_t>(a));
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
void operator delete(void *p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void *p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void *p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void *p, const std::nothrow_t &) noexcept { std::free(p); }
void operator delete[](void *p, const std::nothrow_t &) noexcept { std::free(p); }
void operator delete(void *p, std::align_val_t, const std::nothrow_t &) noexcept {
  std::free(p);
}
void operator delete[](void *p, std::align_val_t, const std::nothrow_t &) noexcept {
  std::free(p);
}
