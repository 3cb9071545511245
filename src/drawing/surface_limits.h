// The largest drawing surface: 65535 pixels a side (what GIF and PNG sizes
// hold) and 2^28 pixels in all, so that one surface is at most 1 GiB of
// 32-bit pixels while a 16384 x 16384 poster still fits. Every size a host
// passes for a surface (a DrawArea, a chart, a pattern) is checked here
// before anything is allocated for it.
#pragma once

#include <cstdint>

namespace quorvane {

inline constexpr int64_t kMaxSurfaceSide = 65535;
inline constexpr int64_t kMaxSurfacePixels = int64_t{1} << 28;

// Whether width x height is a surface the library will allocate.
inline bool surfaceSizeAllowed(int64_t width, int64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxSurfaceSide && height <= kMaxSurfaceSide &&
         width * height <= kMaxSurfacePixels;
}

}  // namespace quorvane
