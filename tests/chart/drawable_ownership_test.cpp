// Every drawable the library makes belongs to its owner: a host's destroy()
// of a chart's title, text, line or legend, an axis title, label style or
// mark, a layer's, data set's, pie's or sector's label style changes nothing,
// and the chart still draws and goes once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quorvane.h"

namespace {

// The PNG of an XY and a pie chart holding one drawable of every owner;
// with destroyAll the host calls destroy() on each of them twice first.
std::string charts(bool destroyAll) {
  XYChart *xy = XYChart::create(80, 60, 0xffffff, -1);
  const double values[] = {1, 3};
  LineLayer *layer = xy->addLineLayer2(Layer::Overlay, 0);
  DataSet *dataSet = layer->addDataSet(2, values, 0x0000ff, "a");
  YAxis *y = xy->yAxis();
  PieChart *pie = PieChart::create(60, 60, 0xffffff, -1);
  pie->setData(2, values, nullptr);
  const std::vector<DrawObj *> owned = {
      xy->addTitle("T", "", 8, 0, -1, -1),
      xy->addText(1, 1, "x", "", 8, 0, 7, 0, false),
      xy->addLine(0, 0, 79, 59, 0xff0000, 1),
      xy->addLegend(1, 1, false, "", 8),
      y->setTitle("y", "", 8, 0),
      y->setLabelStyle("", 8, 0, 0),
      y->addMark(2, 0x00ff00, "m", "", 8),
      layer->setDataLabelStyle("", 8, 0, 0),
      dataSet->setDataLabelStyle("", 8, 0, 0),
      pie->setLabelStyle("", 8, 0),
      pie->sector(0)->setLabelStyle("", 8, 0),
  };
  for (int i = 0; destroyAll && i < 2; ++i)
    for (DrawObj *obj : owned) obj->destroy();
  xy->getDrawArea()->destroy();
  std::string out;
  for (BaseChart *chart : {static_cast<BaseChart *>(xy), static_cast<BaseChart *>(pie)}) {
    const MemBlock png = chart->makeChart2(BaseChart::PNG);
    out.append(png.data, static_cast<size_t>(png.len)).append("|");
    chart->destroy();
  }
  return out;
}

TEST(DrawableOwnership, AHostsDestroyOfAnOwnedDrawableChangesNothing) {
  EXPECT_EQ(charts(true), charts(false));
}

}  // namespace
