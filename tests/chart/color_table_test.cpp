// The colour-table helpers: automatic data colours and how colour lists end.
// The default table as a chart sees it is checked in chart_pipeline_test.
#include <gtest/gtest.h>

#include <vector>

#include "chart/color_table.h"
#include "quorvane.h"

using namespace quorvane;

TEST(ColorTable, AutomaticColoursNeverWrapToTheBackground) {
  EXPECT_EQ(automaticDataColor(0), static_cast<int>(0xFFFF0008u));
  EXPECT_EQ(automaticDataColor(1), static_cast<int>(0xFFFF0009u));
  // The 17th colour is entry 24, outside the default table (Transparent).
  EXPECT_EQ(automaticDataColor(16), static_cast<int>(0xFFFF0018u));
  // Past the largest table: entry 0xFFFF, outside every table.
  EXPECT_EQ(automaticDataColor(0xFFF8), static_cast<int>(0xFFFFFFFFu));
  EXPECT_EQ(automaticDataColor(1 << 30), static_cast<int>(0xFFFFFFFFu));
}

TEST(ColorTable, ListsEndAtMinusOneOrAtTheirEnd) {
  DrawArea *a = DrawArea::create();
  setTableColors(*a, 0, kDefaultColorTable, 25);
  // An array that ends before any -1 is written up to its end (the table
  // grows with Transparent entries).
  const int two[] = {0x111111, 0x222222, -1};
  setTableColors(*a, 30, two, 2);
  EXPECT_EQ(a->getARGBColor(static_cast<int>(0xFFFF001Fu)), 0x222222);
  EXPECT_EQ(a->getARGBColor(static_cast<int>(0xFFFF0018u)), Transparent);
  // No -1 among the first 65535 entries: nothing at all.
  std::vector<int> endless(70000, 0x444444);
  setTableColors(*a, 0, endless.data(), endless.size());
  EXPECT_EQ(a->getARGBColor(static_cast<int>(0xFFFF0000u)), 0xFFFFFF);
  EXPECT_FALSE(colorListLength(endless.data(), endless.size()));
  endless[65534] = -1;
  EXPECT_EQ(colorListLength(endless.data(), endless.size()), 65534u);
  setTableColors(*a, 0, nullptr, 5);
  a->destroy();
}

TEST(ColorTable, SideFacesTakeTheEntryAtHalfBrightness) {
  DrawArea *a = DrawArea::create();
  // Entries 30 to 32: a plain colour, an invisible one, and a table colour.
  const int entries[] = {0x00204061, Transparent, static_cast<int>(0xFFFF001Eu), -1};
  setTableColors(*a, 30, entries, 4);
  struct Case {
    uint32_t color, entryHalf, entryOrColorHalf;
  };
  const Case cases[] = {
      {0x00FF8041u, 0x007F4020u, 0x007F4020u},  // each channel halved, rounded down
      {0x80FFFFFFu, 0x807F7F7Fu, 0x807F7F7Fu},  // the transparency kept
      {0x01010101u, 0x01000000u, 0x01000000u},
      {0xFF123456u, 0xFF123456u, 0xFF123456u},  // invisible: as it is
      {0xFFFE0003u, 0xFFFE0003u, 0xFFFE0003u},  // a special colour: as it is
      {0xFFFF001Eu, 0x00102030u, 0x00102030u},  // a table colour: its entry halved
      {0xFFFF001Fu, 0xFF000000u, 0xFFFF001Fu},  // an invisible entry
      {0xFFFF0020u, 0xFFFF001Eu, 0xFFFF0020u},  // an entry naming another
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.color);
    EXPECT_EQ(halfBrightEntry(*a, static_cast<int>(c.color)), static_cast<int>(c.entryHalf));
    EXPECT_EQ(halfBrightEntryOrColor(*a, static_cast<int>(c.color)),
              static_cast<int>(c.entryOrColorHalf));
  }
  a->destroy();
}
