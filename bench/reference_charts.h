// The reference charts the benchmarks measure, each made afresh by a
// function: a 600 x 400 bar chart of 3 series x 12 categories side by side,
// a 600 x 400 line chart of 4 series x 100 points, and a 400 x 300 3D pie of
// eight labelled sectors. The caller owns the chart and destroys it.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "quorvane.h"

namespace reference {

// Title, legend, month labels, a y axis title and a horizontal grid.
inline XYChart *sideBySideBars() {
  XYChart *c = XYChart::create(600, 400, static_cast<int>(0xFFFF0000u), 0x000000);
  c->addTitle("Quarterly sales by region", "", 12, 0x000000, -1, -1);
  c->setPlotArea(60, 70, 500, 280, 0xFFFFFF, -1, -1, 0xD0D0D0, Transparent);
  c->addLegend(60, 30, false, "", 9);
  const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  c->xAxis()->setLabels(12, months);
  c->yAxis()->setTitle("Units", "", 9, 0x000000);
  const double north[] = {42, 55, 61, 48, 70, 82, 77, 64, 58, 66, 73, 90};
  const double south[] = {30, 38, 45, 52, 49, 57, 63, 71, 68, 60, 55, 62};
  const double west[] = {18, 22, 35, 41, 38, 29, 33, 45, 51, 47, 39, 44};
  BarLayer *layer = c->addBarLayer2(Layer::Side, 0);
  layer->addDataSet(12, north, -1, "North");
  layer->addDataSet(12, south, -1, "South");
  layer->addDataSet(12, west, -1, "West");
  return c;
}

inline constexpr int kLinePoints = 100;

// Line width 2, title, legend and an axis label at every 10th point.
inline XYChart *fourLines() {
  static const auto labels = [] {
    std::vector<std::string> text(kLinePoints);
    for (int i = 0; i < kLinePoints; i += 10) text[static_cast<size_t>(i)] = std::to_string(i);
    return text;
  }();
  std::vector<const char *> labelPointers;
  for (const auto &t : labels) labelPointers.push_back(t.c_str());

  XYChart *c = XYChart::create(600, 400, static_cast<int>(0xFFFF0000u), 0x000000);
  c->addTitle("Four signals", "", 12, 0x000000, -1, -1);
  c->setPlotArea(60, 70, 500, 280, 0xFFFFFF, -1, -1, 0xD0D0D0, Transparent);
  c->addLegend(60, 30, false, "", 9);
  c->xAxis()->setLabels(kLinePoints, labelPointers.data());
  LineLayer *layer = c->addLineLayer2(Layer::Overlay, 0);
  layer->setLineWidth(2);
  const char *const names[] = {"Alpha", "Beta", "Gamma", "Delta"};
  std::vector<double> values(kLinePoints);
  for (int s = 0; s < 4; ++s) {
    for (int i = 0; i < kLinePoints; ++i)
      values[static_cast<size_t>(i)] = 50 + 30 * std::sin(i * 0.07 * (s + 1) + s) + 4 * s;
    layer->addDataSet(kLinePoints, values.data(), -1, names[s]);
  }
  return c;
}

// One sector exploded, labels outside joined to the rim.
inline PieChart *labelledPie() {
  PieChart *pie = PieChart::create(400, 300, static_cast<int>(0xFFFF0000u), 0x000000);
  pie->setPieSize(200, 150, 90);
  pie->set3D(-1, -1, false);
  const double values[] = {25, 18, 15, 12, 8, 30, 22, 10};
  const char *const labels[] = {"Labor", "Production", "Facilities", "Taxes",
                                "Misc",  "R&D",        "Sales",      "Other"};
  pie->setData(8, values, labels);
  pie->sector(2)->setExplode(-1);
  pie->setLabelPos(20, 0x000000);
  return pie;
}

}  // namespace reference
