// XYChartImpl: the chart of layers drawn against category x axes and value
// y axes. Layout places the layers one behind the other by their 3D steps,
// gives data sets their automatic colours and scales the axes; drawing paints
// the plot area's back plane and walls, the layers from the back to the
// front, the plot area's front edges, the axes and the marks on top.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/base_chart_impl.h"
#include "xychart/axes.h"
#include "xychart/plot_area.h"

namespace quorvane {

class XYChartImpl final : public BaseChartImpl<XYChart> {
 public:
  XYChartImpl();

  YAxis *yAxis() override { return &yAxis_; }
  YAxis *yAxis2() override { return &yAxis2_; }
  void syncYAxis(double slope, double intercept) override {
    yAxis2_.syncTo(&yAxis_, slope, intercept);
  }
  void setYAxisOnRight(bool onRight) override { isYAxisOnLeft_ = !onRight; }
  XAxis *xAxis() override { return &xAxis_; }
  XAxis *xAxis2() override { return &xAxis2_; }
  ChartOptions *options() override { return chartOptions(); }
  PlotArea *setPlotArea(int x, int y, int width, int height, int bgColor, int altBgColor,
                        int edgeColor, int hGridColor, int vGridColor) override;
  Layer *addLayer(Layer *layer) override;
  BarLayer *addBarLayer2(Layer::DataCombineMethod dataCombineMethod, int depth) override;
  BarLayer *addBarLayer3(int count, const double *data, const int *colors,
                         const char *const *names, int depth) override;
  BarLayer *addBarLayer(int count, const double *data, int color, const char *name,
                        int depth) override;
  LineLayer *addLineLayer2(Layer::DataCombineMethod dataCombineMethod, int depth) override;
  LineLayer *addLineLayer(int count, const double *data, int color, const char *name,
                          int depth) override;
  AreaLayer *addAreaLayer2(Layer::DataCombineMethod dataCombineMethod, int depth) override;
  AreaLayer *addAreaLayer(int count, const double *data, int color, const char *name,
                          int depth) override;
  HLOCLayer *addHLOCLayer(int count, const double *high, const double *low,
                          const double *open, const double *close, int color) override;
  HLOCLayer *addHLOCLayer2() override;

  // For the layers.
  XAxisImpl &xAxisImpl() { return xAxis_; }
  XAxisImpl &xAxis2Impl() { return xAxis2_; }
  YAxisImpl &yAxisImpl(bool primary) { return primary ? yAxis_ : yAxis2_; }

 protected:
  void layoutChart() override;
  void drawChartBody(DrawArea &area) override;
  bool appendImageMap(std::string &out, const char *url, const char *queryFormat,
                      const char *extraAttr) override;

 private:
  ~XYChartImpl() override;
  struct Offset {
    int64_t dx = 0;
    int64_t dy = 0;
  };
  // Calls atLayer(layer, offset) for each layer from the front, offset being
  // the 3D steps of the layers before it summed (saturating at 65536 pixels
  // either way); a layer's own step is read after the call. Returns the sum
  // of all the steps.
  template <class AtLayer>
  Offset stepThroughLayers(AtLayer &&atLayer);
  // The plot rectangle with the summed 3D depths of the layers.
  PlotGeometry plotGeometry();
  // Calls f on each axis, back to front: yAxis2, yAxis, xAxis2, xAxis.
  template <class F>
  void forEachAxis(F &&f) {
    f(yAxis2_);
    f(yAxis_);
    f(xAxis2_);
    f(xAxis_);
  }
  void drawFrontEdges(DrawArea &area, const PlotGeometry &g);
  // The marks of all four axes drawn under the layers, or over them (onTop).
  void drawMarks(DrawArea &area, const PlotGeometry &g, bool onTop) {
    forEachAxis([&](auto &axis) { axis.drawMarks(area, g, onTop); });
  }
  // Appends a new layer of the given kind combining its data sets by
  // dataCombineMethod, depth pixels deep; null when memory runs out.
  template <class Impl>
  Impl *appendLayer(int dataCombineMethod, int depth);

  XAxisImpl xAxis_;
  XAxisImpl xAxis2_;
  YAxisImpl yAxis_;
  YAxisImpl yAxis2_;
  PlotAreaImpl plotArea_;
  std::vector<std::unique_ptr<Layer>> layers_;  // in the order added
  bool isYAxisOnLeft_ = true;
  int colorCounter_ = 0;
};

}  // namespace quorvane
