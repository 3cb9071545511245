// The seam groups' pixel table: every pixel keeps its own bookkeeping however
// its index hashes, the table stays at most half full as it grows, a pixel
// changed by anything else starts afresh, and the outermost close drops it all.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "drawing/seam_table.h"

using quorvane::SeamTable;

namespace {

std::vector<uint32_t> indices(uint32_t n, uint32_t step, uint32_t first = 0) {
  std::vector<uint32_t> out;
  for (uint32_t i = 0; i < n; ++i) out.push_back(first + i * step);
  return out;
}

}  // namespace

TEST(SeamTable, KeepsEveryPixelApartAndGrowsAtHalfFull) {
  // First slots: four times the edge pixels as a power of two, 1 Ki to 16 Ki.
  const struct {
    const char *name;
    size_t edgePixels;
    std::vector<uint32_t> pixels;
    size_t firstSlots;
  } cases[] = {
      {"a few pixels", 100, {0, 1, 2, 0xFFFFFFFEu}, 1024},
      {"a row past the first slots", 100, indices(3000, 1), 1024},
      {"indices one slot for every table", 100, indices(700, 1u << 16, 5), 1024},
      {"a larger area", 3000, indices(9000, 7), 16384},
      {"a huge area", 1000000, indices(20, 3), 16384},
  };
  for (const auto &c : cases) {
    SeamTable t;
    t.open(c.edgePixels);
    for (size_t i = 0; i < c.pixels.size(); ++i) {
      SeamTable::Pixel &p = t.at(c.pixels[i], c.pixels[i] ^ 0x55u);
      EXPECT_EQ(p.covered, 0u) << c.name << ": pixel " << i << " is new";
      p.covered = static_cast<uint32_t>(i % 255) + 1;
      if (i == 0) {
        EXPECT_EQ(t.slotCount(), c.firstSlots) << c.name;
      }
    }
    EXPECT_EQ(t.size(), c.pixels.size()) << c.name;
    EXPECT_LE(2 * t.size(), t.slotCount()) << c.name;
    // Grown by doubling only as needed: under a quarter full only at first.
    if (t.slotCount() > c.firstSlots) {
      EXPECT_GT(4 * t.size(), t.slotCount()) << c.name;
    }
    for (size_t i = 0; i < c.pixels.size(); ++i)
      EXPECT_EQ(t.at(c.pixels[i], c.pixels[i] ^ 0x55u).covered, i % 255 + 1) << c.name << " " << i;
    EXPECT_EQ(t.size(), c.pixels.size()) << c.name << ": found, not added again";
  }
}

TEST(SeamTable, APixelChangedElsewhereStartsAfreshAndTheOutermostCloseDropsAll) {
  SeamTable t;
  EXPECT_FALSE(t.isOpen());
  t.open(10);
  t.open(10);
  SeamTable::Pixel &p = t.at(42, 0x00112233u);
  EXPECT_EQ(p.under, 0x00112233u);
  EXPECT_EQ(p.last, 0x00112233u);
  p = SeamTable::Pixel{0x00112233u, 0x00445566u, 128, 127};
  // The value the group left: the same bookkeeping.
  EXPECT_EQ(t.at(42, 0x00445566u).covered, 128u);
  // Anything else: fresh over the new value, in the same slot.
  const SeamTable::Pixel fresh = t.at(42, 0x00778899u);
  EXPECT_EQ(fresh.under, 0x00778899u);
  EXPECT_EQ(fresh.last, 0x00778899u);
  EXPECT_EQ(fresh.covered + fresh.drawn, 0u);
  EXPECT_EQ(t.size(), 1u);

  t.close();  // the inner group: the bookkeeping stays
  EXPECT_TRUE(t.isOpen());
  EXPECT_EQ(t.size(), 1u);
  t.close();
  EXPECT_FALSE(t.isOpen());
  EXPECT_EQ(t.size(), 0u);
  EXPECT_EQ(t.slotCount(), 0u);
  t.close();  // one close too many changes nothing
  EXPECT_FALSE(t.isOpen());
  t.open(10);
  t.at(42, 0x00778899u).covered = 9;
  EXPECT_EQ(t.at(7, 0x00778899u).covered, 0u);
  EXPECT_EQ(t.size(), 2u);
  t.close();
}
