// The two flood fills. Both walk runs along a row and then continue from
// every fillable pixel of the run in the row above, then the row below, as a
// recursive fill would, but on an explicit stack so that no region can
// exhaust the call stack. Every pixel is visited at most once: a fill whose
// drawn colour differs from its colour value (blended or special colours)
// would otherwise find its own pixels fillable again.
#include <vector>

#include "base/guarded.h"
#include "drawing/draw_area_impl.h"

namespace quorvane {

template <typename Fillable, typename Paint>
void DrawAreaImpl::floodFill(int seedX, int seedY, Fillable fillable, Paint paint) {
  const int64_t width = surface_.width();
  const int64_t height = surface_.height();
  visited_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  auto open = [&](int64_t x, int64_t y) {
    return !visited_[static_cast<size_t>(y * width + x)] && fillable(x, y);
  };
  // One frame per pending recursion: the run [left, right] of row y, and the
  // next pixel of the row above (phase 0) or below (phase 1) to look at.
  struct Frame {
    int64_t y, left, right, next;
    int phase;
  };
  std::vector<Frame> stack;
  auto runFrom = [&](int64_t x, int64_t y) {
    int64_t left = x;
    while (left >= 0 && open(left, y)) {
      visited_[static_cast<size_t>(y * width + left)] = 1;
      paint(left, y);
      --left;
    }
    int64_t right = x + 1;
    while (right < width && open(right, y)) {
      visited_[static_cast<size_t>(y * width + right)] = 1;
      paint(right, y);
      ++right;
    }
    stack.push_back({y, left + 1, right - 1, left + 1, 0});
  };
  runFrom(seedX, seedY);
  while (!stack.empty()) {
    Frame &f = stack.back();
    const int64_t row = f.phase == 0 ? f.y - 1 : f.y + 1;
    if (f.next > f.right || row < 0 || row >= height) {
      if (f.phase == 0) {
        f.phase = 1;
        f.next = f.left;
      } else {
        stack.pop_back();
      }
      continue;
    }
    const int64_t x = f.next++;
    if (open(x, row)) runFrom(x, row);  // may reallocate: f is not used after
  }
}

void DrawAreaImpl::fill(int x, int y, int color) {
  // Out of memory for the marks or the stack, the region stays as it was or
  // partly filled.
  completes([&] {
    const uint32_t c = colors_.lookup(color);
    Surface &s = surface_;
    if (!s.contains(x, y) || c == kTransparent) return;
    const uint32_t old = s.row(y)[x];
    if (old == c) return;
    // Each pixel is replaced, not blended; a special colour is evaluated at it,
    // so its value there is what is stored.
    auto fillable = [&](int64_t px, int64_t py) { return s.row(py)[px] == old; };
    if (isSpecialColor(c)) {
      floodFill(x, y, fillable,
                [&](int64_t px, int64_t py) { s.row(py)[px] = colors_.evaluate(c, px, py); });
    } else {
      floodFill(x, y, fillable, [&](int64_t px, int64_t py) { s.row(py)[px] = c; });
    }
  });
}

void DrawAreaImpl::fill2(int x, int y, int color, int borderColor) {
  completes([&] {
    const uint32_t c = colors_.lookup(color);
    const uint32_t border = colors_.lookup(borderColor);
    Surface &s = surface_;
    if (!s.contains(x, y) || c == kTransparent) return;
    const uint32_t seed = s.row(y)[x];
    if (seed == c || seed == border) return;
    auto fillable = [&](int64_t px, int64_t py) {
      const uint32_t v = s.row(py)[px];
      return v != c && v != border;
    };
    if (isSpecialColor(c)) {
      floodFill(x, y, fillable,
                [&](int64_t px, int64_t py) { s.blendAt(px, py, colors_.evaluate(c, px, py)); });
    } else if (isOpaque(c)) {
      // Opaque: blending gives c.
      floodFill(x, y, fillable, [&](int64_t px, int64_t py) { s.row(py)[px] = c; });
    } else {
      floodFill(x, y, fillable, [&](int64_t px, int64_t py) { s.blendAt(px, py, c); });
    }
  });
}

}  // namespace quorvane
