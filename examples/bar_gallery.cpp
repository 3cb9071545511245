// The bar gallery: overlaid, stacked and side-by-side bars, flat and 3D, with
// marks, zones, alternate bands, a log axis and a secondary axis, written as
// PNG into the folder given on the command line, aliased and smooth
// (<name>_smooth.png), with their image maps and bars.html showing every
// picture with its clickable map; the first chart also goes out as GIF, JPEG
// and WBMP. The code of each chart lies between its
// snippet markers, which the demo index shows beside the picture. Only the
// published interface is used.
#include <functional>

#include "gallery_page.h"

namespace {

const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const double kNorth[] = {42, 55, 61, 48, 70, 82, 77, 64, 58, 66, 73, 90};
const double kSouth[] = {30, 38, 45, 52, 49, 57, 63, 71, 68, 60, 55, 62};
const double kWest[] = {18, 22, 35, 41, 38, 29, 33, 45, 51, 47, 39, 44};
constexpr int kMonthCount = 12;
constexpr const char *kBarAreaAttr =
    "alt='{dataSetName} {xLabel}' title='{dataSetName}, {xLabel}: {value}'";

void addBars(GalleryPage &page, const char *name, const char *title,
             const std::function<void(XYChart *)> &configure,
             std::initializer_list<const char *> alsoAs = {}) {
  page.addXY(name, title, kMonthCount, kMonths, configure, kBarAreaAttr, alsoAs);
}

}  // namespace

int main(int argc, char **argv) {
  GalleryPage page(argc > 1 ? argv[1] : ".", "Quorvane bar gallery");
  // [snippet bars_side]
  addBars(page, "bars_side", "Side by side, with value labels", [](XYChart *c) {
    BarLayer *l = c->addBarLayer2(Layer::Side, 0);
    l->addDataSet(kMonthCount, kNorth, -1, "North");
    l->addDataSet(kMonthCount, kSouth, -1, "South");
    l->addDataSet(kMonthCount, kWest, -1, "West");
    l->setDataLabelFormat("&value|0&");
    l->setDataLabelStyle("", 6, 0x404040, 0);
    c->yAxis()->setTitle("Units", "", 9, 0x000000);
  }, {"gif", "jpg", "wbmp"});
  // [/snippet]
  // [snippet bars_side_3d]
  addBars(page, "bars_side_3d", "Side by side in 3D", [](XYChart *c) {
    BarLayer *l = c->addBarLayer2(Layer::Side, 8);
    l->addDataSet(kMonthCount, kNorth, -1, "North");
    l->addDataSet(kMonthCount, kSouth, -1, "South");
  });
  // [/snippet]
  // [snippet bars_stacked]
  addBars(page, "bars_stacked", "Stacked, negatives down, totals on top", [](XYChart *c) {
    const double loss[] = {-12, -8, -15, -5, -20, -9, -4, -11, -18, -7, -3, -14};
    BarLayer *l = c->addBarLayer2(Layer::Stack, 0);
    l->addDataSet(kMonthCount, kNorth, -1, "North");
    l->addDataSet(kMonthCount, kSouth, -1, "South");
    l->addDataSet(kMonthCount, loss, -1, "Returns");
    l->setAggregateLabelFormat("&value|0&");
    c->yAxis()->addMark(0, 0x000000, "", "", 8);
  });
  // [/snippet]
  // [snippet bars_stacked_3d]
  addBars(page, "bars_stacked_3d", "Stacked in 3D", [](XYChart *c) {
    BarLayer *l = c->addBarLayer2(Layer::Stack, -1);
    l->addDataSet(kMonthCount, kNorth, -1, "North");
    l->addDataSet(kMonthCount, kSouth, -1, "South");
    l->addDataSet(kMonthCount, kWest, -1, "West");
  });
  // [/snippet]
  // [snippet bars_overlay_3d]
  addBars(page, "bars_overlay_3d", "Overlay in 3D, behind a second layer", [](XYChart *c) {
    BarLayer *front = c->addBarLayer2(Layer::Overlay, 10);
    front->addDataSet(kMonthCount, kWest, -1, "West");
    front->addDataSet(kMonthCount, kSouth, -1, "South");
    front->setAggregateLabelFormat("&value&");
    BarLayer *back = c->addBarLayer(kMonthCount, kNorth, -1, "North", 10);
    back->setBarGap(0.4, 0.2);
  });
  // [/snippet]
  // [snippet bars_marks_zones]
  addBars(page, "bars_marks_zones", "Marks, zones and alternate bands", [](XYChart *c) {
    c->setPlotArea(70, 72, 420, 220, 0xFFFFFF, 0xF2F6FF, -1, 0xD8D8D8, -1);
    c->addBarLayer(kMonthCount, kNorth, 0x5588CC, "North", 0);
    c->yAxis()->addZone(80, 100, 0xFFE0E0);
    c->xAxis()->addZone(5, 7, 0xE8F8E0);
    Mark *target = c->yAxis()->addMark(65, 0xCC0000, "Target", "", 8);
    target->setLineWidth(2);
    target->setDrawOnTop(true);
    c->yAxis()->addMark(45, 0x008800, "Floor", "", 8);
  });
  // [/snippet]
  // [snippet bars_log]
  addBars(page, "bars_log", "Logarithmic axis", [](XYChart *c) {
    const double growth[] = {1, 3, 8, 20, 45, 120, 300, 800, 2100, 5200, 13000, 34000};
    c->addBarLayer(kMonthCount, growth, 0x44AA66, "Visitors", 0);
    c->yAxis()->setLogScale(true);
    c->yAxis()->setLabelFormat("&value|0,&");
  });
  // [/snippet]
  // [snippet bars_dual_axis]
  addBars(page, "bars_dual_axis", "Two y axes: units left, revenue right", [](XYChart *c) {
    BarLayer *l = c->addBarLayer2(Layer::Side, 0);
    l->addDataSet(kMonthCount, kNorth, -1, "Units (left)");
    const double revenue[] = {4.2, 5.1, 6.3, 4.9, 7.2, 8.8, 8.1, 6.6, 5.7, 6.9, 7.5, 9.6};
    l->addDataSet(kMonthCount, revenue, -1, "Revenue k$ (right)")->setUseYAxis2(true);
    c->yAxis()->setTitle("Units", "", 9, 0x000000);
    c->yAxis2()->setTitle("k$", "", 9, 0x000000);
  });
  // [/snippet]
  // [snippet bars_colors]
  addBars(page, "bars_colors", "One colour and legend key per bar", [](XYChart *c) {
    const double share[] = {34, 27, 18, 12, 9};
    const char *const names[] = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon"};
    const char *const labels[] = {"A", "B", "C", "D", "E"};
    c->xAxis()->setLabels(5, labels);
    BarLayer *l = c->addBarLayer3(5, share, nullptr, names, 6);
    l->setBorderColor(Transparent, 0);
  });
  // [/snippet]
  return page.finish("bars.html") ? 0 : 1;
}
