// Keeps freed memory in the process between iterations, as the heap of a
// busy server stays warm, so that a workload that makes and frees a whole
// chart per iteration is not charged for the kernel zeroing the pages the
// allocator handed back in the previous one. Whether the allocator happens
// to hand them back depends on the heap's state at start, which otherwise
// swings a ratio by half from one run to the next. Set
// QUORVANE_BENCH_COLD_HEAP to measure with the allocator's own settings.
#pragma once

#include <malloc.h>

#include <cstdlib>

inline void keepHeapWarm() {
  if (std::getenv("QUORVANE_BENCH_COLD_HEAP") != nullptr) return;
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
}
