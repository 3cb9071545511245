// Drawing test helpers beside the shared ones (test_util.h): a touch counter
// (kGlass over black shows how often a pixel was drawn), and the midpoint
// line written out independently.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "quorvane.h"
#include "test_util.h"

namespace drawtest {

using testutil::Area;
using testutil::col;
using testutil::makeArea;
using testutil::render;
using testutil::rows;
using testutil::kBlack;
using testutil::kBlue;
using testutil::kGreen;
using testutil::kRed;

constexpr int kNone = col(0xFF000000);
// White at transparency 128: over black, one coat gives 127 a channel, two 190.
constexpr int kGlass = col(0x80FFFFFF);

inline std::string touches(DrawArea *a) {
  return render(a, {{kBlack, '.'}, {0x007F7F7F, '1'}, {0x00BEBEBE, '2'}});
}

// The one-pixel midpoint line from the end with the smaller major
// coordinate: error starts at 2dm - dM; error >= 0 moves the minor coordinate.
inline std::vector<std::pair<int64_t, int64_t>> midpointLine(int64_t x1, int64_t y1, int64_t x2,
                                                             int64_t y2) {
  const bool xMajor = std::abs(x2 - x1) >= std::abs(y2 - y1);
  if (!xMajor) std::swap(x1, y1), std::swap(x2, y2);
  if (x2 < x1) std::swap(x1, x2), std::swap(y1, y2);
  const int64_t dM = x2 - x1, dm = std::abs(y2 - y1), s = y2 >= y1 ? 1 : -1;
  std::vector<std::pair<int64_t, int64_t>> out;
  for (int64_t x = x1, y = y1, err = 2 * dm - dM; x <= x2; ++x) {
    out.push_back(xMajor ? std::make_pair(x, y) : std::make_pair(y, x));
    if (err >= 0) y += s, err += 2 * (dm - dM);
    else err += 2 * dm;
  }
  return out;
}

}  // namespace drawtest
