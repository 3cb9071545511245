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
  // The last added goes first, as members do.
  while (!layers_.empty()) layers_.pop_back();
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
  for (const auto &held : layers_)
    if (held.get() == layer) return layer;
  // A layer of this library belongs to one chart only.
  auto *own = dynamic_cast<LayerCore *>(layer);
  if (own != nullptr && own->owner() != nullptr && own->owner() != this) return nullptr;
  return guarded<Layer *>(nullptr, [&] {
    layers_.emplace_back(layer);
    if (own != nullptr) own->setOwner(this);
    return layer;
  });
}

template <class Impl>
Impl *XYChartImpl::appendLayer(int dataCombineMethod, int depth) {
  return guarded<Impl *>(nullptr, [&] {
    auto layer = std::make_unique<Impl>();
    layer->setOwner(this);
    layer->setDataCombineMethod(static_cast<Layer::DataCombineMethod>(dataCombineMethod));
    layer->set3D(depth, 0);
    Impl *handle = layer.get();
    layers_.push_back(std::move(layer));
    return handle;
  });
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
  BarLayerImpl *layer = appendLayer<BarLayerImpl>(dataCombineMethod, depth);
  if (layer != nullptr && xAxis_.indent() == -1) xAxis_.setIndentState(1);
  return layer;
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
  return appendLayer<LineLayerImpl>(dataCombineMethod, depth);
}

LineLayer *XYChartImpl::addLineLayer(int count, const double *data, int color, const char *name,
                                     int depth) {
  return withDataSet(addLineLayer2(Layer::Overlay, depth), count, data, color, name);
}

AreaLayer *XYChartImpl::addAreaLayer2(Layer::DataCombineMethod dataCombineMethod, int depth) {
  return appendLayer<AreaLayerImpl>(dataCombineMethod, depth);
}

AreaLayer *XYChartImpl::addAreaLayer(int count, const double *data, int color, const char *name,
                                     int depth) {
  return withDataSet(addAreaLayer2(Layer::Overlay, depth), count, data, color, name);
}

HLOCLayer *XYChartImpl::addHLOCLayer2() {
  HLOCLayerImpl *layer = appendLayer<HLOCLayerImpl>(Layer::Overlay, 0);
  if (layer != nullptr && xAxis_.indent() == -1) xAxis_.setIndentState(1);
  return layer;
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

template <class AtLayer>
XYChartImpl::Offset XYChartImpl::stepThroughLayers(AtLayer &&atLayer) {
  Offset at;
  for (const auto &layer : layers_) {
    atLayer(*layer, at);
    at.dx = std::clamp<int64_t>(at.dx + layer->getDepthX(), -65536, 65536);
    at.dy = std::clamp<int64_t>(at.dy + layer->getDepthY(), -65536, 65536);
  }
  return at;
}

void XYChartImpl::layoutChart() {
  const int px = plotArea_.x();
  const int py = plotArea_.y();
  const int pw = plotArea_.width();
  const int ph = plotArea_.height();
  // Each layer sits behind the ones before it by their 3D steps.
  int points = 0;
  stepThroughLayers([&](Layer &layer, Offset at) {
    layer.setSize(clampToInt(px + at.dx), clampToInt(py - at.dy), pw, ph);
    layer.attach(this, &colorCounter_);
    points = std::max(points, truncToInt(layer.getMaxX()));
  });

  // An x axis with an automatic indent follows the other one.
  for (auto [axis, other] : {std::pair(&xAxis_, &xAxis2_), std::pair(&xAxis2_, &xAxis_)}) {
    if (axis->indent() == -1) axis->setIndentState(other->indent());
    const int categories = std::max(points, static_cast<int>(axis->labels().size()));
    axis->setRange(0, categories - 1, pw);
  }

  double max1 = -NoValue, min1 = NoValue, max2 = -NoValue, min2 = NoValue;
  for (const auto &layer : layers_) {
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
  const Offset depth = stepThroughLayers([](Layer &, Offset) {});
  g.dx = static_cast<int>(depth.dx);
  g.dy = static_cast<int>(depth.dy);
  return g;
}

void XYChartImpl::drawChartBody(DrawArea &area) {
  const PlotGeometry g = plotGeometry();
  // Grid lines and bands follow yAxis, or yAxis2 when yAxis has no ticks.
  YAxisImpl &gridAxis = yAxis_.tickValues().empty() ? yAxis2_ : yAxis_;
  std::vector<int> yOffsets;
  for (const double v : gridAxis.tickValues()) yOffsets.push_back(gridAxis.getCoor(v));

  plotArea_.drawBackground(area, g, yOffsets);
  forEachAxis([&](auto &axis) { axis.drawZones(area, g); });
  plotArea_.drawGrid(area, g, yOffsets, xAxis_.gridOffsets());
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
  for (const auto &layer : layers_)
    if (const char *map = layer->getHTMLImageMap(url, queryFormat, extraAttr)) out += map;
  return true;
}

}  // namespace quorvane

XYChart *XYChart::create(int width, int height, int bgColor, int edgeColor) {
  return quorvane::createChart<quorvane::XYChartImpl>(width, height, bgColor, edgeColor,
                                                      [](quorvane::XYChartImpl &) {});
}
