// Drawing one area onto another: merge at an aligned anchor with an extra
// transparency, and tile over the whole area.
#include <algorithm>
#include <vector>

#include "base/alignment.h"
#include "drawing/draw_area_impl.h"

namespace quorvane {

void DrawAreaImpl::merge(const DrawArea *src, int x, int y, int alignment, int transparency) {
  completes([&] {
    if (src == nullptr || transparency > 254) return;
    // Every DrawArea of this library is a DrawAreaImpl.
    const auto *source = static_cast<const DrawAreaImpl *>(src);
    const int64_t sw = source->surface_.width();
    const int64_t sh = source->surface_.height();
    // The anchor names a point of the source: for right and bottom codes it
    // is the last column or row.
    const int64_t left = x - alignedOffsetX(alignment, sw);
    const int64_t top = y - alignedOffsetY(alignment, sh);
    const int64_t iLo = std::max<int64_t>(0, -left);
    const int64_t iHi = std::min<int64_t>(surface_.width() - left, sw);
    const int64_t jLo = std::max<int64_t>(0, -top);
    const int64_t jHi = std::min<int64_t>(surface_.height() - top, sh);
    if (iLo >= iHi || jLo >= jHi) return;

    // Merging an area into itself reads from a copy.
    std::vector<uint32_t> copy;
    const uint32_t *pixels = source->surface_.pixelData();
    if (source == this) {
      copy.assign(pixels, pixels + sw * sh);
      pixels = copy.data();
    }
    // Each source pixel, faded by the extra transparency when there is one,
    // is blended over its place (inside the area: the loops are clipped); a
    // value that reads as a table or special colour is not a colour of the
    // source and is skipped rather than looked up in this area's lists. The
    // fade is chosen once, outside the loops.
    auto mergeFaded = [&](auto fade) {
      for (int64_t j = jLo; j < jHi; ++j) {
        for (int64_t i = iLo; i < iHi; ++i) {
          const uint32_t v = fade(pixels[j * sw + i]);
          if (!isNamedColor(v) && v != kTransparent) surface_.blendAt(left + i, top + j, v);
        }
      }
    };
    if (transparency > 0) {
      const uint32_t keep = 255 - static_cast<uint32_t>(transparency);
      mergeFaded([keep](uint32_t v) {
        const uint32_t merged = 255 - (255 - (v >> 24)) * keep / 255;  // opacities multiply
        return (merged << 24) | (v & 0x00FFFFFFu);
      });
    } else {
      mergeFaded([](uint32_t v) { return v; });
    }
  });
}

void DrawAreaImpl::tile(const DrawArea *src, int transparency) {
  if (src == nullptr) return;
  const auto *source = static_cast<const DrawAreaImpl *>(src);
  const int sw = source->surface_.width();
  const int sh = source->surface_.height();
  for (int y = 0; y < surface_.height(); y += sh)
    for (int x = 0; x < surface_.width(); x += sw) merge(src, x, y, 7, transparency);
}

}  // namespace quorvane
