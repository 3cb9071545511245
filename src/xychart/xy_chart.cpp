// XY chart settings, layer factories, layout (layer placement, automatic
// colours, axis ranges and scales), the drawing order and the chart's map.
#include "xychart/xy_chart.h"

#include <algorithm>

#include "base/int_math.h"
#include "xychart/area_layer.h"
#include "xychart/bar_layer.h"
#include "xychart/hloc_layer.h"
#include "xychart/line_layer.h"

namespace quorvane {

namespace {

// addBarLayer3 makes count x count values; beyond this count it makes none.
constexpr int kMaxBarLayer3Count = 4096;

}  // namespace

XYChartImpl::XYChartImpl() { xAxis2_.setTitlePos(AlignTopCentre, 6); }

XYChartImpl::~XYChartImpl() {
  for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) delete *it;
}

PlotArea *XYChartImpl::setPlotArea(int x, int y, int width, int height, int bgColor,
                                   int altBgColor, int edgeColor, int hGridColor,
                                   int vGridColor) {
  plotArea_.setPos(x, y);
  plotArea_.setSize(width, height);
  plotArea_.setBackground(bgColor, altBgColor, edgeColor);
  plotArea_.setGridColor(hGridColor, vGridColor);
  return &plotArea_;
}

Layer *XYChartImpl::addLayer(Layer *layer) {
  if (layer == nullptr) return nullptr;
  if (std::find(layers_.begin(), layers_.end(), layer) != layers_.end()) return layer;
  // A layer of this library belongs to one chart only.
  auto *own = dynamic_cast<LayerCore *>(layer);
  if (own != nullptr && own->owner() != nullptr && own->owner() != this) return nullptr;
  return guarded<Layer *>(nullptr, [&] {
    layers_.push_back(layer);
    if (own != nullptr) own->setOwner(this);
    return layer;
  });
}

template <class Impl>
Impl *XYChartImpl::appendLayer(int dataCombineMethod, int depth) {
  layers_.reserve(layers_.size() + 1);
  auto layer = std::make_unique<Impl>();
  layer->setOwner(this);
  layer->setDataCombineMethod(static_cast<Layer::DataCombineMethod>(dataCombineMethod));
  layer->set3D(depth, 0);
  layers_.push_back(layer.get());
  return layer.release();
}

namespace {

// A layer made by a factory with its one data set.
template <class L>
L *withDataSet(L *layer, int count, const double *data, int color, const char *name) {
  if (layer != nullptr) layer->addDataSet(count, data, color, name);
  return layer;
}

}  // namespace

BarLayer *XYChartImpl::addBarLayer2(Layer::DataCombineMethod dataCombineMethod, int depth) {
  return guarded<BarLayer *>(nullptr, [&] {
    BarLayerImpl *layer = appendLayer<BarLayerImpl>(dataCombineMethod, depth);
    if (xAxis_.indent() == -1) xAxis_.setIndentState(1);
    return layer;
  });
}

BarLayer *XYChartImpl::addBarLayer(int count, const double *data, int color, const char *name,
                                   int depth) {
  return withDataSet(addBarLayer2(Layer::Overlay, depth), count, data, color, name);
}

BarLayer *XYChartImpl::addBarLayer3(int count, const double *data, const int *colors,
                                    const char *const *names, int depth) {
  if (count > kMaxBarLayer3Count) return nullptr;
  BarLayer *layer = addBarLayer2(Layer::Overlay, depth);
  if (layer == nullptr || count <= 0 || data == nullptr) return layer;
  completes([&] {
    // Each value is the one point of its own data set, so that every bar has
    // its own colour and legend key.
    std::vector<double> values(static_cast<size_t>(count), NoValue);
    for (int i = 0; i < count; ++i) {
      values[static_cast<size_t>(i)] = data[i];
      layer->addDataSet(count, values.data(), colors != nullptr ? colors[i] : -1,
                        names != nullptr ? names[i] : nullptr);
      values[static_cast<size_t>(i)] = NoValue;
    }
  });
  return layer;
}

LineLayer *XYChartImpl::addLineLayer2(Layer::DataCombineMethod dataCombineMethod, int depth) {
  return guarded<LineLayer *>(
      nullptr, [&] { return appendLayer<LineLayerImpl>(dataCombineMethod, depth); });
}

LineLayer *XYChartImpl::addLineLayer(int count, const double *data, int color, const char *name,
                                     int depth) {
  return withDataSet(addLineLayer2(Layer::Overlay, depth), count, data, color, name);
}

AreaLayer *XYChartImpl::addAreaLayer2(Layer::DataCombineMethod dataCombineMethod, int depth) {
  return guarded<AreaLayer *>(
      nullptr, [&] { return appendLayer<AreaLayerImpl>(dataCombineMethod, depth); });
}

AreaLayer *XYChartImpl::addAreaLayer(int count, const double *data, int color, const char *name,
                                     int depth) {
  return withDataSet(addAreaLayer2(Layer::Overlay, depth), count, data, color, name);
}

HLOCLayer *XYChartImpl::addHLOCLayer2() {
  return guarded<HLOCLayer *>(nullptr, [&] {
    HLOCLayerImpl *layer = appendLayer<HLOCLayerImpl>(Layer::Overlay, 0);
    if (xAxis_.indent() == -1) xAxis_.setIndentState(1);
    return layer;
  });
}

HLOCLayer *XYChartImpl::addHLOCLayer(int count, const double *high, const double *low,
                                     const double *open, const double *close, int color) {
  HLOCLayer *layer = addHLOCLayer2();
  if (layer == nullptr) return nullptr;
  // The four data sets share one colour, taken from the automatic colours now.
  if (color == -1) color = automaticDataColor(colorCounter_++);
  layer->addDataSet(count, high, color, nullptr);
  layer->addDataSet(count, low, color, nullptr);
  layer->addDataSet(open != nullptr ? count : 0, open, color, nullptr);
  layer->addDataSet(close != nullptr ? count : 0, close, color, nullptr);
  return layer;
}

void XYChartImpl::layoutChart() {
  const int px = plotArea_.x();
  const int py = plotArea_.y();
  const int pw = plotArea_.width();
  const int ph = plotArea_.height();
  // Each layer sits behind the ones before it by their 3D steps.
  int64_t dx = 0;
  int64_t dy = 0;
  int points = 0;
  for (Layer *layer : layers_) {
    layer->setSize(clampToInt(px + dx), clampToInt(py - dy), pw, ph);
    layer->attach(this, &colorCounter_);
    dx = std::clamp<int64_t>(dx + layer->getDepthX(), -65536, 65536);
    dy = std::clamp<int64_t>(dy + layer->getDepthY(), -65536, 65536);
    points = std::max(points, truncToInt(layer->getMaxX()));
  }

  auto categories = [points](const XAxisImpl &axis) {
    return std::max(points, static_cast<int>(axis.labels().size()));
  };
  if (xAxis_.indent() == -1) xAxis_.setIndentState(xAxis2_.indent());
  xAxis_.setRange(0, categories(xAxis_) - 1, pw);
  if (xAxis2_.indent() == -1) xAxis2_.setIndentState(xAxis_.indent());
  xAxis2_.setRange(0, categories(xAxis2_) - 1, pw);

  double max1 = -NoValue, min1 = NoValue, max2 = -NoValue, min2 = NoValue;
  for (Layer *layer : layers_) {
    max1 = std::max(max1, layer->getMaxY(true));
    min1 = std::min(min1, layer->getMinY(true));
    max2 = std::max(max2, layer->getMaxY(false));
    min2 = std::min(min2, layer->getMinY(false));
  }
  // The secondary axis gets as many intervals as the primary one, so that its
  // ticks fall on the primary grid lines.
  yAxis_.scaleTo(min1, max1, 0, ph);
  const int primaryTicks = static_cast<int>(yAxis_.tickValues().size());
  yAxis2_.scaleTo(min2, max2, std::max(0, primaryTicks - 1), ph);
}

PlotGeometry XYChartImpl::plotGeometry() {
  PlotGeometry g;
  g.x = plotArea_.x();
  g.y = plotArea_.y();
  g.width = plotArea_.width();
  g.height = plotArea_.height();
  int64_t dx = 0;
  int64_t dy = 0;
  for (Layer *layer : layers_) {
    dx = std::clamp<int64_t>(dx + layer->getDepthX(), -65536, 65536);
    dy = std::clamp<int64_t>(dy + layer->getDepthY(), -65536, 65536);
  }
  g.dx = static_cast<int>(dx);
  g.dy = static_cast<int>(dy);
  return g;
}

void XYChartImpl::drawChartBody(DrawArea &area) {
  const PlotGeometry g = plotGeometry();
  // Grid lines and bands follow yAxis, or yAxis2 when yAxis has no ticks.
  YAxisImpl &gridAxis = yAxis_.tickValues().empty() ? yAxis2_ : yAxis_;
  std::vector<int> yOffsets;
  for (const double v : gridAxis.tickValues()) yOffsets.push_back(gridAxis.getCoor(v));
  std::vector<int> xOffsets;
  const auto &labels = xAxis_.labels();
  for (size_t i = 0; i < labels.size(); ++i)
    if (!labels[i].empty() && labels[i][0] != '~')
      xOffsets.push_back(xAxis_.getCoor(static_cast<double>(i)));

  plotArea_.drawBackground(area, g, yOffsets);
  yAxis2_.drawZones(area, g);
  yAxis_.drawZones(area, g);
  xAxis2_.drawZones(area, g);
  xAxis_.drawZones(area, g);
  plotArea_.drawGrid(area, g, yOffsets, xOffsets);
  plotArea_.drawBorder(area, g);
  drawMarks(area, g, false);

  // The first layers stand in front, so they are drawn last.
  for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) (*it)->draw(this);

  drawFrontEdges(area, g);
  xAxis_.draw(area, g.x, g.bottom(), +1);
  if (!xAxis2_.labels().empty()) xAxis2_.draw(area, g.left(), g.top(), -1);
  YAxisImpl &left = isYAxisOnLeft_ ? yAxis_ : yAxis2_;
  YAxisImpl &right = isYAxisOnLeft_ ? yAxis2_ : yAxis_;
  left.draw(area, g.x, g.bottom(), true);
  right.draw(area, g.right(), g.backBottom(), false);
  drawMarks(area, g, true);
}

void XYChartImpl::drawMarks(DrawArea &area, const PlotGeometry &g, bool onTop) {
  yAxis2_.drawMarks(area, g, onTop);
  yAxis_.drawMarks(area, g, onTop);
  xAxis2_.drawMarks(area, g, onTop);
  xAxis_.drawMarks(area, g, onTop);
}

void XYChartImpl::drawFrontEdges(DrawArea &area, const PlotGeometry &g) {
  const int edge = plotArea_.resolvedEdgeColor();
  const int frontRight = g.frontRight();
  if (!g.hasDepth()) {
    area.rect(g.x, g.aboveFront(), frontRight, g.bottom(), edge, Transparent, 0);
    return;
  }
  area.line(g.right(), g.top(), g.right(), g.backBottom(), edge, 1);
  area.line(g.x, g.aboveFront(), g.x, g.bottom(), edge, 1);
  area.line(g.x, g.bottom(), frontRight, g.bottom(), edge, 1);
  area.line(frontRight, g.bottom(), g.right(), g.backBottom(), edge, 1);
}

bool XYChartImpl::appendImageMap(std::string &out, const char *url, const char *queryFormat,
                                 const char *extraAttr) {
  if (layers_.empty()) return false;
  for (Layer *layer : layers_)
    if (const char *map = layer->getHTMLImageMap(url, queryFormat, extraAttr)) out += map;
  return true;
}

}  // namespace quorvane

XYChart *XYChart::create(int width, int height, int bgColor, int edgeColor) {
  return quorvane::guarded<XYChart *>(nullptr, [&] {
    std::unique_ptr<quorvane::XYChartImpl, void (*)(quorvane::XYChartImpl *)> chart(
        new quorvane::XYChartImpl, [](quorvane::XYChartImpl *c) { c->destroy(); });
    chart->core().create(width, height, bgColor, edgeColor);
    return chart.release();
  });
}
