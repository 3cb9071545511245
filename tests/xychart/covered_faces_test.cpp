// Faces of dense 3D curves left out because later faces draw over them.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <random>
#include <vector>

#include "test_util.h"
#include "xychart/covered_faces.h"

namespace {

using namespace testutil;

}  // namespace

TEST(CoveredFaces, FacesLeftOutAreDrawnOverPixelForPixel) {
  // Dense random chains keep to three columns and step between them now and
  // then, as a curve of many points a pixel does; gaps break them. Every
  // face drawn, in edge and face colours varying per segment, must give the
  // pixels of the faces left in alone, for depths steep, shallow and 45°.
  std::mt19937 rng(20261208);
  const std::array<std::pair<int, int>, 4> depths = {{{4, 4}, {6, 2}, {2, 7}, {1, 1}}};
  int leftOut = 0;
  for (int t = 0; t < 400; ++t) {
    const auto [dx, dy] = depths[static_cast<size_t>(t) % depths.size()];
    std::vector<std::optional<std::array<int, 4>>> ends;
    int x = 10, y = 20;
    for (int i = 0; i < 60; ++i) {
      const int nx = rng() % 6 == 0 ? 9 + static_cast<int>(rng() % 3) : x;
      const int ny = 5 + static_cast<int>(rng() % 30);
      if (rng() % 25 == 0) ends.push_back(std::nullopt);
      else ends.push_back(std::array<int, 4>{x, y, nx, ny});
      x = nx, y = ny;
    }
    const std::vector<bool> covered = quorvane::coveredFaces(ends);
    Area all = makeArea(24, 40, kWhite), kept = makeArea(24, 40, kWhite);
    for (size_t i = 0; i < ends.size(); ++i) {
      if (!ends[i]) continue;
      const auto [x1, y1, x2, y2] = *ends[i];
      const int face = (i % 2 != 0) ? 0x00C04000 : 0x004080C0;
      all->surface(x1, y1, x2, y2, dx, dy, 0x00000000 + static_cast<int>(i % 7), face);
      if (covered[i]) {
        ++leftOut;
        continue;
      }
      kept->surface(x1, y1, x2, y2, dx, dy, 0x00000000 + static_cast<int>(i % 7), face);
    }
    ASSERT_EQ(pixels(kept.get()), pixels(all.get())) << "chain " << t << ", depth " << dx << "," << dy;
  }
  EXPECT_GT(leftOut, 400 * 20);  // most ribbons of a dense chain are left out
}
