// The one blending rule of the library.
// Colours are 0xAARRGGBB with AA a transparency (0 opaque, 255 invisible);
// nothing is premultiplied, so the rule divides by the combined weight.
#pragma once

#include <algorithm>
#include <cstdint>

#include "base/colors.h"

namespace quorvane {

// blend(existing P, incoming C):
//   Pa = 255 or Ca = 0  -> C;  Ca = 255 -> P;
//   else channels (P*wP + C*wC) / D with wC = 255(255-Ca), wP = (255-Pa)Ca,
//   D = 65025 - Ca*Pa, transparency Ca*Pa/255, all divisions truncating.
inline uint32_t blend(uint32_t p, uint32_t c) {
  const uint32_t pa = p >> 24;
  const uint32_t ca = c >> 24;
  if (pa == 255 || ca == 0) return c;
  if (ca == 255) return p;
  if (pa == 0) {
    // Over an opaque pixel the weights share the factor 255: the same
    // quotients with a constant divisor.
    const uint32_t keep = ca, take = 255 - ca;
    const uint32_t r = (((p >> 16) & 0xFF) * keep + ((c >> 16) & 0xFF) * take) / 255;
    const uint32_t g = (((p >> 8) & 0xFF) * keep + ((c >> 8) & 0xFF) * take) / 255;
    const uint32_t b = ((p & 0xFF) * keep + (c & 0xFF) * take) / 255;
    return (r << 16) | (g << 8) | b;
  }
  const uint32_t wc = 255 * (255 - ca);
  const uint32_t wp = (255 - pa) * ca;
  const uint32_t d = 65025 - ca * pa;
  const uint32_t r = (((p >> 16) & 0xFF) * wp + ((c >> 16) & 0xFF) * wc) / d;
  const uint32_t g = (((p >> 8) & 0xFF) * wp + ((c >> 8) & 0xFF) * wc) / d;
  const uint32_t b = ((p & 0xFF) * wp + (c & 0xFF) * wc) / d;
  const uint32_t a = (ca * pa) / 255;
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// p moved by share / 255 of (to - from), every byte alike.
inline uint32_t addShare(uint32_t p, uint32_t from, uint32_t to, uint32_t share) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int32_t diff = static_cast<int32_t>((to >> shift) & 0xFF) -
                         static_cast<int32_t>((from >> shift) & 0xFF);
    const int32_t step = (diff * static_cast<int32_t>(share) + (diff >= 0 ? 127 : -127)) / 255;
    const int32_t v = std::clamp(static_cast<int32_t>((p >> shift) & 0xFF) + step, 0, 255);
    out |= static_cast<uint32_t>(v) << shift;
  }
  return out;
}

}  // namespace quorvane
