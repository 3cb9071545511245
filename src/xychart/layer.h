// What every kind of layer shares: its rectangle and 3D depth, its data sets
// and how they combine, automatic colours and legend keys, value ranges,
// coordinates, the shapes recorded while drawing, data labels and the layer's
// image map. LayerCore holds it once; LayerBase<Interface> publishes it for
// each layer interface (BarLayer, LineLayer, ...), and a kind adds its
// drawing and its image-map defaults.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/live_objects.h"
#include "chart/compiled_template.h"
#include "chart/label_template.h"
#include "chart/text_box.h"
#include "xychart/data_set.h"
#include "xychart/face_colors.h"
#include "xychart/shape_records.h"

namespace quorvane {

class ImageMapWriter;
class XYChartImpl;
class XAxisImpl;
class YAxisImpl;

// The query template of bar, line and area layer maps when the caller gives none.
inline constexpr std::string_view kLayerDefaultQuery =
    "x={x}&xLabel={xLabel}&dataSet={dataSet}&dataSetName={dataSetName}&value={value}";

// The fields of every layer's map items, in the order they are replaced; a
// kind may add its own after them.
inline constexpr TemplateField kLayerFields[] = {
    {"{x}", false},        {"{xLabel}", false}, {"{x2Label}", false},
    {"{dataSet}", false},  {"{dataSetName}", false}, {"{value", true},
    {"{accValue", true},   {"{totalValue", true},
};
inline constexpr size_t kLayerFieldCount = std::size(kLayerFields);

class LayerCore {
 public:
  LayerCore();
  virtual ~LayerCore();
  LayerCore(const LayerCore &) = delete;
  LayerCore &operator=(const LayerCore &) = delete;

  // The Layer operations.
  void setSize(int x, int y, int width, int height);
  void set3D2(int xDepth, int yDepth, int xGap, int yGap);
  void setLineWidth(int width) { lineWidth_ = width; }
  void setBorderColor(int color, int raisedEffect) {
    borderColor_ = color;
    raisedEffect_ = raisedEffect;
  }
  void setDataCombineMethod(int method) { combineMethod_ = method; }
  DataSet *addDataSet(int count, const double *values, int color, const char *name);
  double getMinX() const;
  double getMaxX() const;
  double getMaxY(bool primaryAxis) const;
  double getMinY(bool primaryAxis) const;
  int getDepthX() const { return depthStepX_; }
  int getDepthY() const { return depthStepY_; }
  // Image column of category v: the layer's x plus the x axis offset.
  int getXCoor(double v) const;
  // Image row of value v: the layer's bottom row (y + height - 1) less the y
  // axis offset, the row on which the grid line of v is drawn. Bars and
  // points are drawn on these rows.
  int getYCoor(double v, bool primaryAxis) const;
  const char *getImageCoor2(int i);
  const char *getImageCoor(int dataSet, int i);
  const char *getHTMLImageMap(const char *url, const char *queryFormat, const char *extraAttr);
  // The data values the last image map read: at most a few per area and per
  // value, never a sum over every data set for each area.
  uint64_t mapValueReads() const { return mapValueReads_; }
  // The shapes the last drawing recorded.
  const ShapeRecords &shapes() const { return shapes_; }
  void attach(XYChart *chart, int *colorCounter);
  void draw(XYChart *chart);
  void setDataLabelFormat(const char *format);
  TextBox *setDataLabelStyle(const char *font, double fontSize, int fontColor,
                             double fontAngle);
  void setAggregateLabelFormat(const char *format);
  TextBox *setAggregateLabelStyle(const char *font, double fontSize, int fontColor,
                                  double fontAngle);

  // The chart that owns the layer (set once by XYChart::addLayer), so that
  // no layer is ever owned twice.
  const XYChartImpl *owner() const { return owner_; }
  void setOwner(const XYChartImpl *chart) { owner_ = chart; }

 protected:
  // The kind's drawing: every drawn (data set, point) records its shape
  // through recordShape, every point's group through recordShape(-1, i).
  virtual void drawLayer(DrawArea &area) = 0;
  // The query template of the kind's image map when the caller gives none.
  virtual std::string_view defaultQuery() const { return kLayerDefaultQuery; }
  // Whether a template names fields of single data sets, so that the map has
  // one area per data set and point instead of one per point.
  virtual bool refersToDataSets(std::string_view t) const;
  // The sums of a map item at point i: of data sets 0 .. d ("{accValue}", 0
  // for a whole group) and of every data set ("{totalValue}"), each leaving
  // out the sets without a value there.
  struct ItemSums {
    double accumulated = 0;
    double total = 0;
  };
  // The fields of the kind's map items, in the order they are replaced.
  virtual std::span<const TemplateField> mapFields() const { return kLayerFields; }
  // Sets values[j] to the value of mapFields()[j] for (data set d, point i);
  // d is -1 for a whole group.
  virtual void mapFieldValues(std::span<FieldValue> values, int d, int i,
                              const ItemSums &sums) const;
  // Value i of ds, counted in mapValueReads; for the map's fields.
  double mapValue(const DataSetImpl &ds, int i) const {
    ++mapValueReads_;
    return ds.value(i);
  }
  // The legend key of a named data set.
  virtual void addLegendKey(LegendBox &legend, DataSetImpl &ds);
  // Whether a stack runs positives up and negatives down from the zero line
  // (bars), rather than one running total per point (areas). The value range
  // holds every running sum the stack draws.
  virtual bool stacksBySign() const { return true; }

  // For the kinds' drawing.
  const std::vector<std::unique_ptr<DataSetImpl>> &dataSets() const { return dataSets_; }
  int x() const { return x_; }
  int y() const { return y_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int depthX() const { return xDepth_; }
  int depthY() const { return yDepth_; }
  int lineWidth() const { return lineWidth_; }
  int borderColor() const { return borderColor_; }
  int raisedEffect() const { return raisedEffect_; }
  int combineMethod() const { return combineMethod_; }
  // Null before the layer is attached.
  XYChartImpl *chart() const { return chart_; }
  XAxisImpl &xAxis() const;
  YAxisImpl &yAxisOf(bool primaryAxis) const;
  // The largest point count, as an int.
  int pointCount() const;
  // Records the drawn shape of (d, i) as ShapeRecords::record takes it. A
  // data set's values have no place when its y axis has no scale (a stack
  // that sums to infinity, a log axis with no value above 0).
  void recordShape(int d, int i, std::span<const int> shape);
  void recordShape(int d, int i, std::initializer_list<int> shape) {
    recordShape(d, i, std::span<const int>(shape.begin(), shape.size()));
  }
  // Draws the label of point i of data set d (with the data set's own format
  // and style when it has them, else the layer's) at (x, y) by alignment.
  void drawDataLabel(DrawArea &area, const DataSetImpl &ds, double value, int x, int y,
                     int alignment) const;
  // The layer's own data label style (its alignment places line labels).
  const TextBoxImpl &dataLabelStyle() const { return dataLabelStyle_; }
  // Draws the aggregate label of a group at (x, y) by alignment.
  void drawAggregateLabel(DrawArea &area, double value, int x, int y, int alignment) const;

 private:
  double valueRange(bool primaryAxis, bool largest) const;
  // Whether an image map's items may need their sums: their fields are in a
  // template or in a text that fields insert.
  bool mayAskForSums(const ImageMapWriter &map) const;

  const XYChartImpl *owner_ = nullptr;
  XYChartImpl *chart_ = nullptr;
  int x_ = 0;
  int y_ = 0;
  int width_ = 384;
  int height_ = 252;
  int xDepth_ = 0;
  int yDepth_ = 0;
  int depthStepX_ = 0;
  int depthStepY_ = 0;
  int lineWidth_ = 1;
  int borderColor_;
  int raisedEffect_ = 0;
  int combineMethod_ = Layer::Overlay;
  std::vector<std::unique_ptr<DataSetImpl>> dataSets_;
  std::string dataLabelFormat_;
  TextBoxImpl dataLabelStyle_;
  std::string aggregateLabelFormat_;
  TextBoxImpl aggregateLabelStyle_;
  ShapeRecords shapes_;
  mutable uint64_t mapValueReads_ = 0;
  std::string text_;  // image-map and coordinate results
};

template <class Interface>
class LayerBase : public Interface, public LayerCore {
 public:
  void setSize(int x, int y, int width, int height) override {
    LayerCore::setSize(x, y, width, height);
  }
  void set3D2(int xDepth, int yDepth, int xGap, int yGap) override {
    LayerCore::set3D2(xDepth, yDepth, xGap, yGap);
  }
  void set3D(int depth, int gap) override { LayerCore::set3D2(depth, depth, gap, gap); }
  void setLineWidth(int width) override { LayerCore::setLineWidth(width); }
  void setBorderColor(int color, int raisedEffect) override {
    LayerCore::setBorderColor(color, raisedEffect);
  }
  void setDataCombineMethod(Layer::DataCombineMethod method) override {
    LayerCore::setDataCombineMethod(method);
  }
  DataSet *addDataSet(int count, const double *values, int color, const char *name) override {
    return LayerCore::addDataSet(count, values, color, name);
  }
  double getMinX() override { return LayerCore::getMinX(); }
  double getMaxX() override { return LayerCore::getMaxX(); }
  double getMaxY(bool primaryAxis) override { return LayerCore::getMaxY(primaryAxis); }
  double getMinY(bool primaryAxis) override { return LayerCore::getMinY(primaryAxis); }
  int getDepthX() override { return LayerCore::getDepthX(); }
  int getDepthY() override { return LayerCore::getDepthY(); }
  int getXCoor(double v) override { return LayerCore::getXCoor(v); }
  int getYCoor(double v, bool primaryAxis) override {
    return LayerCore::getYCoor(v, primaryAxis);
  }
  const char *getImageCoor2(int i) override { return LayerCore::getImageCoor2(i); }
  const char *getImageCoor(int dataSet, int i) override {
    return LayerCore::getImageCoor(dataSet, i);
  }
  const char *getHTMLImageMap(const char *url, const char *queryFormat,
                              const char *extraAttr) override {
    return LayerCore::getHTMLImageMap(url, queryFormat, extraAttr);
  }
  void attach(XYChart *chart, int *colorCounter) override {
    LayerCore::attach(chart, colorCounter);
  }
  void draw(XYChart *chart) override { LayerCore::draw(chart); }
  void setDataLabelFormat(const char *format) override {
    LayerCore::setDataLabelFormat(format);
  }
  TextBox *setDataLabelStyle(const char *font, double fontSize, int fontColor,
                             double fontAngle) override {
    return LayerCore::setDataLabelStyle(font, fontSize, fontColor, fontAngle);
  }
  void setAggregateLabelFormat(const char *format) override {
    LayerCore::setAggregateLabelFormat(format);
  }
  TextBox *setAggregateLabelStyle(const char *font, double fontSize, int fontColor,
                                  double fontAngle) override {
    return LayerCore::setAggregateLabelStyle(font, fontSize, fontColor, fontAngle);
  }

 private:
  LiveObject live_{static_cast<Interface *>(this)};  // in the table while alive
};

}  // namespace quorvane
