// The state and rules every layer kind shares: automatic depth, attaching to
// the chart (automatic colours, legend keys), value ranges, coordinates,
// shape records, data labels and the layer's image map.
#include "xychart/layer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "base/guarded.h"
#include "base/int_math.h"
#include "chart/color_table.h"
#include "chart/image_map.h"
#include "xychart/axes.h"
#include "xychart/stacking.h"
#include "xychart/value_label.h"
#include "xychart/xy_chart.h"

namespace quorvane {

namespace {

constexpr std::string_view kNotLaidOut =
    "<!-- Cannot produce image map - need to makeChart first -->";

// Stores a label format; labels hidden until now (Transparent) show in the
// text colour.
void setLabelFormat(std::string &stored, TextBoxImpl &style, const char *format) {
  stored = format != nullptr ? format : "";
  if (style.data().fontColor == Transparent) style.data().fontColor = kTextColor;
}

// Draws format with its "&value" fields replaced at (x, y) by alignment.
void drawValueLabel(DrawArea &area, const std::string &format, const TextBoxImpl &style,
                    double value, int x, int y, int alignment) {
  if (style.data().fontColor == Transparent) return;
  TextBoxData placed = style.data();
  placed.x = x;
  placed.y = y;
  placed.alignment = alignment;
  drawTextBox(area, placed, valueLabelText(format, value));
}

// Gives a label style box its font, size, colour and angle; the box, or null
// when that fails.
TextBox *restyle(TextBoxImpl &box, const char *font, double fontSize, int fontColor,
                 double fontAngle) {
  return guarded<TextBox *>(nullptr, [&] {
    box.data().setStyle(font, fontSize, fontColor, fontAngle);
    return &box;
  });
}

}  // namespace

LayerCore::LayerCore() : borderColor_(kLineColor) {
  dataLabelStyle_.data().fontColor = Transparent;
  aggregateLabelStyle_.data().fontColor = Transparent;
}

LayerCore::~LayerCore() = default;

void LayerCore::setSize(int x, int y, int width, int height) {
  x_ = x;
  y_ = y;
  width_ = width;
  height_ = height;
  if (xDepth_ == -1) {
    // The depth grows with the layer, at least 4 pixels where the size allows.
    const int side = std::min(width, height);
    for (const int divisor : {40, 30, 20}) {
      xDepth_ = std::max(1, side / divisor);
      if (xDepth_ >= 4) break;
    }
  }
  if (yDepth_ == -1) yDepth_ = xDepth_;
  if (depthStepX_ == -1) depthStepX_ = xDepth_;
  if (depthStepY_ == -1) depthStepY_ = yDepth_;
}

void LayerCore::set3D2(int xDepth, int yDepth, int xGap, int yGap) {
  xDepth_ = xDepth;
  yDepth_ = yDepth;
  depthStepX_ = clampToInt(int64_t{xDepth} + xGap);
  depthStepY_ = clampToInt(int64_t{yDepth} + yGap);
}

DataSet *LayerCore::addDataSet(int count, const double *values, int color, const char *name) {
  return guarded<DataSet *>(nullptr, [&] {
    dataSets_.push_back(std::make_unique<DataSetImpl>());
    DataSetImpl &ds = *dataSets_.back();
    ds.setData(count, values);
    ds.setDataColor(color, -1, -1, -1);
    ds.setDataName(name);
    return &ds;
  });
}

double LayerCore::getMinX() const {
  int n = std::numeric_limits<int>::max();
  for (const auto &ds : dataSets_) n = std::min(n, ds->size());
  return n;
}

double LayerCore::getMaxX() const { return pointCount(); }

int LayerCore::pointCount() const {
  int n = 0;
  for (const auto &ds : dataSets_) n = std::max(n, ds->size());
  return n;
}

double LayerCore::getMaxY(bool primaryAxis) const { return valueRange(primaryAxis, true); }

double LayerCore::getMinY(bool primaryAxis) const { return valueRange(primaryAxis, false); }

double LayerCore::valueRange(bool primaryAxis, bool largest) const {
  double best = largest ? -NoValue : NoValue;
  auto consider = [&](double v) { best = largest ? std::max(best, v) : std::min(best, v); };
  if (combineMethod_ != Layer::Stack) {
    for (const auto &ds : dataSets_)
      if (ds->usesPrimaryAxis() == primaryAxis)
        for (int i = 0; i < ds->size(); ++i)
          if (hasValue(ds->value(i))) consider(ds->value(i));
    return best;
  }
  // A stack draws every value from a running sum, so the range holds each
  // value, each running sum and where the stack nets out.
  const int n = pointCount();
  for (int i = 0; i < n; ++i) {
    StackSums sums(stacksBySign());
    bool any = false;
    for (const auto &ds : dataSets_) {
      const double v = ds->value(i);
      if (ds->usesPrimaryAxis() != primaryAxis || !hasValue(v)) continue;
      any = true;
      consider(v);
      consider(sums.add(v).end);
    }
    if (any) consider(sums.total());
  }
  return best;
}

int LayerCore::getXCoor(double v) const {
  if (chart_ == nullptr) return x_;
  return clampToInt(int64_t{x_} + xAxis().getCoor(v));
}

int LayerCore::getYCoor(double v, bool primaryAxis) const {
  if (chart_ == nullptr) return y_;
  return clampToInt(int64_t{y_} + height_ - 1 - yAxisOf(primaryAxis).getCoor(v));
}

XAxisImpl &LayerCore::xAxis() const { return chart_->xAxisImpl(); }

YAxisImpl &LayerCore::yAxisOf(bool primaryAxis) const { return chart_->yAxisImpl(primaryAxis); }

void LayerCore::recordShape(int d, int i, std::span<const int> shape) {
  DrawArea &area = chart_->core().area();
  shapes_.record(d, i, shape, area.getWidth(), area.getHeight());
}

const char *LayerCore::getImageCoor2(int i) { return getImageCoor(-1, i); }

const char *LayerCore::getImageCoor(int dataSet, int i) {
  return guarded<const char *>(nullptr, [&]() -> const char * {
    const std::span<const int> s = shapes_.shape(dataSet, i);
    if (s.empty()) return nullptr;
    text_ = shapeFromInts(s);
    return text_.c_str();
  });
}

bool LayerCore::refersToDataSets(std::string_view t) const {
  for (const std::string_view field :
       {"{dataSet}", "{dataSetName}", "{value}", "{value|", "{accValue}", "{accValue|"})
    if (t.find(field) != std::string_view::npos) return true;
  return false;
}

void LayerCore::mapFieldValues(std::span<FieldValue> values, int d, int i,
                               const ItemSums &sums) const {
  auto labelAt = [i](const XAxisImpl &axis) -> std::string_view {
    return i < static_cast<int>(axis.labels().size()) ? axis.labels()[static_cast<size_t>(i)]
                                                       : std::string_view();
  };
  const DataSetImpl *ds = d >= 0 && d < static_cast<int>(dataSets_.size())
                              ? dataSets_[static_cast<size_t>(d)].get()
                              : nullptr;
  values[0].setInt(i);
  values[1].setText(labelAt(chart_->xAxisImpl()));
  values[2].setText(labelAt(chart_->xAxis2Impl()));
  values[3].setInt(d);
  values[4].setText(ds != nullptr ? std::string_view(ds->name()) : "");
  values[5].setNumber(ds != nullptr ? mapValue(*ds, i) : NoValue);
  values[6].setNumber(sums.accumulated);
  values[7].setNumber(sums.total);
}

bool LayerCore::mayAskForSums(const ImageMapWriter &map) const {
  // The sums' fields can come from the templates or from any text a field
  // inserts before them: an axis label or a data set's name.
  auto asks = [](std::string_view t) {
    return t.find("{accValue") != std::string_view::npos ||
           t.find("{totalValue") != std::string_view::npos;
  };
  if ((map.hasUrl() && asks(map.queryFormat())) || asks(map.extraAttr())) return true;
  for (const XAxisImpl *axis : {&chart_->xAxisImpl(), &chart_->xAxis2Impl()})
    for (const std::string &label : axis->labels())
      if (asks(label)) return true;
  for (const auto &ds : dataSets_)
    if (asks(ds->name())) return true;
  return false;
}

const char *LayerCore::getHTMLImageMap(const char *url, const char *queryFormat,
                                       const char *extraAttr) {
  return guarded<const char *>(nullptr, [&] {
    if (chart_ == nullptr) {
      text_ = kNotLaidOut;
      return text_.c_str();
    }
    mapValueReads_ = 0;
    ImageMapWriter map(url, queryFormat, defaultQuery(), extraAttr);
    const bool perDataSet = (map.hasUrl() && refersToDataSets(map.queryFormat())) ||
                            refersToDataSets(map.extraAttr());
    const bool hasSums = mayAskForSums(map);
    const int n = pointCount();
    const int sets = perDataSet ? static_cast<int>(dataSets_.size()) : 0;
    const std::span<const TemplateField> fields = mapFields();
    map.compile(fields, static_cast<size_t>(n) * static_cast<size_t>(std::max(sets, 1)));
    std::vector<FieldValue> values(fields.size());
    for (int i = 0; i < n; ++i) {
      // The point's sums, each in data set order as a plain sum would take
      // them: the total once, the running sum as d goes up.
      ItemSums sums;
      if (hasSums)
        for (const auto &ds : dataSets_)
          if (const double v = mapValue(*ds, i); hasValue(v)) sums.total += v;
      for (int d = perDataSet ? 0 : -1; d < (perDataSet ? sets : 0); ++d) {
        if (hasSums && d >= 0)
          if (const double v = mapValue(*dataSets_[static_cast<size_t>(d)], i); hasValue(v))
            sums.accumulated += v;
        const std::span<const int> s = shapes_.shape(d, i);
        if (s.empty()) continue;
        mapFieldValues(values, d, i, sums);
        map.addArea(s, values);
      }
    }
    text_ = map.takeText();
    return text_.c_str();
  });
}

void LayerCore::addLegendKey(LegendBox &legend, DataSetImpl &ds) {
  legend.addKey(ds.name().c_str(), ds.color());
}

void LayerCore::attach(XYChart *chart, int *colorCounter) {
  auto *owner = dynamic_cast<XYChartImpl *>(chart);
  if (owner == nullptr || owner != owner_) return;
  chart_ = owner;
  LegendBox *legend = chart_->getLegend();
  for (const auto &ds : dataSets_) {
    int color = ds->color();
    if (color == -1 && colorCounter != nullptr) color = automaticDataColor((*colorCounter)++);
    ds->setResolvedColors(color, ds->edgeColor() == -1 ? borderColor_ : ds->edgeColor());
    if (legend != nullptr && !ds->name().empty()) addLegendKey(*legend, *ds);
  }
}

void LayerCore::draw(XYChart *chart) {
  if (chart_ == nullptr || chart != chart_) return;
  std::vector<bool> isPlaced;
  for (const auto &ds : dataSets_) isPlaced.push_back(yAxisOf(ds->usesPrimaryAxis()).hasScale());
  shapes_.reset(std::move(isPlaced), pointCount());
  drawLayer(chart_->core().area());
}

void LayerCore::drawDataLabel(DrawArea &area, const DataSetImpl &ds, double value, int x,
                              int y, int alignment) const {
  if (ds.hasOwnLabels())
    drawValueLabel(area, ds.labelFormat(), ds.labelStyle(), value, x, y, alignment);
  else
    drawValueLabel(area, dataLabelFormat_, dataLabelStyle_, value, x, y, alignment);
}

void LayerCore::drawAggregateLabel(DrawArea &area, double value, int x, int y,
                                   int alignment) const {
  drawValueLabel(area, aggregateLabelFormat_, aggregateLabelStyle_, value, x, y, alignment);
}

void LayerCore::setDataLabelFormat(const char *format) {
  completes([&] { setLabelFormat(dataLabelFormat_, dataLabelStyle_, format); });
}

TextBox *LayerCore::setDataLabelStyle(const char *font, double fontSize, int fontColor,
                                      double fontAngle) {
  return restyle(dataLabelStyle_, font, fontSize, fontColor, fontAngle);
}

void LayerCore::setAggregateLabelFormat(const char *format) {
  completes([&] { setLabelFormat(aggregateLabelFormat_, aggregateLabelStyle_, format); });
}

TextBox *LayerCore::setAggregateLabelStyle(const char *font, double fontSize, int fontColor,
                                           double fontAngle) {
  return restyle(aggregateLabelStyle_, font, fontSize, fontColor, fontAngle);
}

}  // namespace quorvane
