// BaseChartImpl<Interface>: the BaseChart operations for a published chart
// interface (BaseChart itself, XYChart, PieChart), forwarded to a ChartCore.
// A chart type derives from it, supplies the ChartTypeHooks and, in its
// factory, calls core().create(width, height, bgColor, edgeColor) after
// setting its own defaults. This is the published boundary: operations that
// can allocate catch what they throw here and return their failure value.
#pragma once

#include <memory>

#include "base/guarded.h"
#include "base/last_error.h"
#include "base/live_objects.h"
#include "chart/chart_core.h"
#include "chart/chart_options.h"
#include "quorvane.h"

namespace quorvane {

template <class Interface>
class BaseChartImpl : public Interface, protected ChartTypeHooks {
 public:
  BaseChartImpl() : core_(*this) {}
  BaseChartImpl(const BaseChartImpl &) = delete;
  BaseChartImpl &operator=(const BaseChartImpl &) = delete;

  void destroy() override { delete this; }
  void setSize(int width, int height) override { core_.setSize(width, height); }
  void setBackground(int color, int edgeColor, int raisedEffect) override {
    core_.setBackground(color, edgeColor, raisedEffect);
  }
  void setBorder(int color) override { core_.setBorder(color); }
  void setWallpaper(const char *img) override {
    completes([&] { core_.setWallpaper(img); });
  }
  void setBgImage(const char *img, int align) override {
    completes([&] { core_.setBgImage(img, align); });
  }
  void setTransparentColor(int c) override { core_.setTransparentColor(c); }
  TextBox *addTitle(const char *text, const char *font, double fontSize, int fontColor,
                    int bgColor, int edgeColor) override {
    return addTitle2(AlignTopCentre, text, font, fontSize, fontColor, bgColor, edgeColor);
  }
  TextBox *addTitle2(int alignment, const char *text, const char *font, double fontSize,
                     int fontColor, int bgColor, int edgeColor) override {
    return guarded<TextBox *>(nullptr, [&] {
      return core_.addTitle2(alignment, text, font, fontSize, fontColor, bgColor, edgeColor);
    });
  }
  LegendBox *addLegend(int x, int y, bool vertical, const char *font, double fontSize) override {
    return guarded<LegendBox *>(nullptr,
                                [&] { return core_.addLegend(x, y, vertical, font, fontSize); });
  }
  LegendBox *getLegend() override { return core_.getLegend(); }
  DrawArea *getDrawArea() override {
    return guarded<DrawArea *>(nullptr, [&] { return core_.getDrawArea(); });
  }
  DrawObj *addDrawObj(DrawObj *obj) override {
    return guarded<DrawObj *>(nullptr, [&] { return core_.addDrawObj(obj); });
  }
  TextBox *addText(int x, int y, const char *text, const char *font, double fontSize,
                   int fontColor, int alignment, double angle, bool vertical) override {
    return guarded<TextBox *>(nullptr, [&] {
      return core_.addText(x, y, text, font, fontSize, fontColor, alignment, angle, vertical);
    });
  }
  Line *addLine(int x1, int y1, int x2, int y2, int color, int lineWidth) override {
    return guarded<Line *>(nullptr, [&] { return core_.addLine(x1, y1, x2, y2, color, lineWidth); });
  }
  void setColor(int paramId, int color) override { core_.setColor(paramId, color); }
  void setColors(const int *colors) override { core_.setColors2(0, colors); }
  void setColors2(int paramId, const int *colors) override { core_.setColors2(paramId, colors); }
  int getColor(int paramId) override { return core_.getColor(paramId); }
  int dashLineColor(int color, int patternCode) override {
    return core_.area().dashLineColor(color, patternCode);
  }
  int patternColor2(const char *filename, int startX, int startY) override {
    return core_.area().patternColor2(filename, startX, startY);
  }
  int patternColor(const int *pixels, int width, int height, int startX, int startY) override {
    return core_.area().patternColor(pixels, width, height, startX, startY);
  }
  int gradientColor(int x1, int y1, int x2, int y2, int color1, int color2) override {
    return core_.area().gradientColor(x1, y1, x2, y2, color1, color2);
  }
  int gradientColor2(const int *stops, double angle, double scale, int startX,
                     int startY) override {
    return core_.area().gradientColor2(stops, angle, scale, startX, startY);
  }
  void layout() override {
    completes([&] { core_.layout(); });
  }
  // The outputs leave their reason in the chart's last error.
  DrawArea *makeChart3() override {
    return reportingFailures<DrawArea *>(core_.lastError(), nullptr,
                                         [&] { return core_.makeChart3(); });
  }
  MemBlock makeChart2(int format) override {
    return reportingFailures(core_.lastError(), MemBlock{0, nullptr},
                             [&] { return core_.makeChart2(format); });
  }
  bool makeChart2(int format, const char **data, int *len) override {
    // core_.makeChart2 empties data and len before anything can fail.
    return reportingFailures(core_.lastError(), false,
                             [&] { return core_.makeChart2(format, data, len); });
  }
  bool makeChart(const char *filename) override {
    return reportingFailures(core_.lastError(), false, [&] { return core_.makeChart(filename); });
  }
  const char *getHTMLImageMap(const char *url, const char *queryFormat,
                              const char *extraAttr) override {
    return guarded<const char *>(nullptr,
                                 [&] { return core_.getHTMLImageMap(url, queryFormat, extraAttr); });
  }

  void setAntiAlias(int shapeMode) override { core_.setAntiAlias(shapeMode); }

  ChartCore &core() { return core_; }
  // What the chart type's options() returns.
  ChartOptions *chartOptions() { return &options_; }

 protected:
  ~BaseChartImpl() override = default;

 private:
  ChartCore core_;
  ChartOptionsImpl options_{*this, core_.area(), core_.lastError()};
  LiveObject live_{static_cast<Interface *>(this)};  // in the table while alive
};

// The body of a chart type's factory: a new Impl with its area made, then
// setUp(chart) for what must follow the area; null when anything fails, the
// half-made chart going through its destroy().
template <class Impl, class SetUp>
Impl *createChart(int width, int height, int bgColor, int edgeColor, SetUp &&setUp) {
  return guarded<Impl *>(nullptr, [&] {
    std::unique_ptr<Impl, void (*)(Impl *)> chart(new Impl, [](Impl *c) { c->destroy(); });
    chart->core().create(width, height, bgColor, edgeColor);
    setUp(*chart);
    return chart.release();
  });
}

}  // namespace quorvane
