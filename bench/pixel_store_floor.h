// The floor of a drawing benchmark: a plain store of the same number of
// pixels, as fast as memory takes them.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

inline void runPixelStoreFloor(benchmark::State &state, int64_t pixels) {
  std::vector<uint32_t> buffer(static_cast<size_t>(pixels));
  uint32_t v = 0;
  for (auto _ : state) {
    std::fill(buffer.begin(), buffer.end(), ++v);
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * pixels);
}
