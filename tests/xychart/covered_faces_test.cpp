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

TEST(CoveredFaces, SymbolsMergedAgainAtOnePlaceAreLeftOutPixelForPixel) {
  // A symbol of opaque and wholly transparent pixels, merged at random places
  // in three columns, with other paint between the merges: leaving out every
  // place a later one repeats gives the same pixels. A translucent pixel
  // makes a merge blend, so such a symbol is never left out.
  Area symbol = makeArea(3, 3, Transparent);
  symbol->pixel(1, 0, 0x00C04000);
  symbol->pixel(0, 1, 0x00C04000);
  symbol->pixel(1, 1, 0x004080C0);
  EXPECT_TRUE(quorvane::mergesAsCopy(*symbol));
  Area translucent = makeArea(3, 3, Transparent);
  translucent->pixel(1, 1, 0x80C04000);
  EXPECT_FALSE(quorvane::mergesAsCopy(*translucent));

  std::mt19937 rng(20261208);
  int leftOut = 0;
  for (int t = 0; t < 200; ++t) {
    std::vector<std::optional<std::array<int, 2>>> places;
    for (int i = 0; i < 80; ++i) {
      if (rng() % 20 == 0) places.push_back(std::nullopt);
      else places.push_back(std::array<int, 2>{4 + i / 30, 3 + static_cast<int>(rng() % 8)});
    }
    const std::vector<bool> again = quorvane::remergedPlaces(places);
    Area all = makeArea(12, 14, kWhite), kept = makeArea(12, 14, kWhite);
    for (size_t i = 0; i < places.size(); ++i) {
      if (!places[i]) continue;
      const auto [x, y] = *places[i];
      for (DrawArea *a : {all.get(), kept.get()}) a->line(x - 2, y + 1, x + 3, y - 1, 0x00208020, 1);
      all->merge(symbol.get(), x, y, AlignCentre, 0);
      if (again[i]) ++leftOut;
      else kept->merge(symbol.get(), x, y, AlignCentre, 0);
    }
    ASSERT_EQ(pixels(kept.get()), pixels(all.get())) << "places " << t;
  }
  EXPECT_GT(leftOut, 200 * 40);
}
