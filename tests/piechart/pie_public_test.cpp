// A complete pie chart built through the published interface alone: title,
// legend, 3D depth, an exploded sector and labels. Its image map must cover
// what was drawn: points inside each sector polygon carry the sector's colour
// and each label rectangle holds drawn text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quorvane.h"
#include "test_util.h"

namespace {

using testutil::MapArea;
using testutil::parseMap;

TEST(PiePublic, ImageMapCoversTheDrawnSectorsAndLabels) {
  PieChart *pie = PieChart::create(460, 320, static_cast<int>(0xFFFF0000u), 0x000000);
  pie->addTitle("Expenses", "", 12, 0x000000, -1, -1);
  pie->addLegend(360, 40, true, "", 8);
  pie->setPieSize(180, 170, 100);
  pie->set3D(-1, -1, false);
  const double values[] = {25, 18, 15, 12, 8, 30, 22};
  const char *const labels[] = {"Labor", "Production", "Facilities", "Taxes", "Misc", "R&D",
                                "Sales"};
  pie->setData(7, values, labels);
  pie->sector(2)->setExplode(-1);
  pie->setLabelPos(20, 0x000000);
  const int colors[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x66FFFF, 0xFFCC33};
  DrawArea *a = pie->makeChart3();
  const std::vector<MapArea> areas = parseMap(pie->getHTMLImageMap("m", "s={sector}", ""));
  ASSERT_EQ(14u, areas.size());
  for (size_t k = 0; k < areas.size(); ++k) {
    const MapArea &area = areas[k];
    EXPECT_EQ(static_cast<int>(k / 2), area.field("s"));
    if (k % 2 == 0) {
      // Between each pair of neighbouring rim points, 60 % of the way out
      // from the centre, well away from the edges.
      ASSERT_EQ("poly", area.shape);
      const std::vector<int> &p = area.coords;
      const int cx = p[p.size() - 2], cy = p[p.size() - 1];
      int checked = 0;
      for (size_t i = 0; i + 5 < p.size(); i += 2) {
        const int dx = p[i + 2] - p[i], dy = p[i + 3] - p[i + 1];
        if (dx * dx + dy * dy < 400) continue;
        const int x = cx + (p[i] + p[i + 2] - 2 * cx) * 3 / 10;
        const int y = cy + (p[i + 1] + p[i + 3] - 2 * cy) * 3 / 10;
        EXPECT_EQ(colors[k / 2], a->getPixel(x, y)) << "sector " << k / 2 << " at " << x << ","
                                                    << y;
        ++checked;
      }
      EXPECT_GT(checked, 0);
    } else {
      ASSERT_EQ("rect", area.shape);
      const std::vector<int> &r = area.coords;
      int ink = 0;
      for (int y = r[1]; y <= r[3]; ++y)
        for (int x = r[0]; x <= r[2]; ++x) ink += a->getPixel(x, y) != 0xFFFFFF;
      EXPECT_GT(ink, 10) << "label " << k / 2;
    }
  }
  pie->destroy();
}

}  // namespace
