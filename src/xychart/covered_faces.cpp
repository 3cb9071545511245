// Which faces of a dense 3D curve the later faces draw over.
#include "xychart/covered_faces.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

#include "quorvane.h"

namespace quorvane {

// A segment within one pixel column draws a parallelogram whose column u
// holds rows lo - A(u) ... hi - B(u), for the segment's rows lo ... hi and
// A(u) >= B(u) fixed by the depth alone (its slanted edges are translates of
// one midpoint line). The later segments of an unbroken run in the same
// column form a chain whose rows make one interval, so they cover a
// segment's face where that interval holds its rows: where its first
// point's row lies in the interval of the points after it.
std::vector<bool> coveredFaces(const std::vector<std::optional<std::array<int, 4>>> &ends) {
  std::vector<bool> covered(ends.size(), false);
  bool inRun = false;  // segment i + 1 is in a column; its run's rows follow
  int runColumn = 0;
  int runTop = 0;
  int runBottom = 0;
  for (size_t i = ends.size(); i-- > 0;) {
    const auto &e = ends[i];
    if (!e || (*e)[0] != (*e)[2]) {
      inRun = false;
      continue;
    }
    const int x = (*e)[0], y1 = (*e)[1], y2 = (*e)[3];
    if (inRun && runColumn == x) {
      covered[i] = y1 >= runTop && y1 <= runBottom;
      runTop = std::min(runTop, y1);
      runBottom = std::max(runBottom, y1);
    } else {
      inRun = true;
      runColumn = x;
      runTop = std::min(y1, y2);
      runBottom = std::max(y1, y2);
    }
  }
  return covered;
}

bool mergesAsCopy(const DrawArea &image) {
  // The published DrawArea has no const getters; reading pixels changes nothing.
  DrawArea &a = const_cast<DrawArea &>(image);
  for (int y = 0; y < a.getHeight(); ++y)
    for (int x = 0; x < a.getWidth(); ++x) {
      const uint32_t alpha = static_cast<uint32_t>(a.getPixel(x, y)) >> 24;
      if (alpha != 0 && alpha != 0xFF) return false;
    }
  return true;
}

std::vector<bool> remergedPlaces(const std::vector<std::optional<std::array<int, 2>>> &places) {
  std::vector<bool> again(places.size(), false);
  std::unordered_set<int> rows;  // of the later places in the current column
  bool hasColumn = false;
  int column = 0;
  for (size_t i = places.size(); i-- > 0;) {
    if (!places[i]) continue;
    const auto [x, y] = *places[i];
    if (!hasColumn || x != column) {
      rows.clear();
      hasColumn = true;
      column = x;
    }
    again[i] = !rows.insert(y).second;
  }
  return again;
}

}  // namespace quorvane
