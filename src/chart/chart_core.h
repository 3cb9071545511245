// ChartCore: the part of every chart that does not depend on its type. It
// owns the DrawArea, the legend and the drawables, and runs the pipeline:
//
//   layout  (once)  the chart type's layout, then the legend's
//   canvas  (once)  size, background colour, background image
//   drawing (once)  layout, canvas, chart body, legend, drawables in the
//                   order they were added, border
//   outputs         encode the one drawing; they never draw again
//
// Each stage runs at most once, so settings changed and objects added after
// the first drawing do not appear in any output. A stage that fails part way
// (it runs out of memory, or an area operation inside it does) breaks the
// chart: its picture and image map may be incomplete, so every later output
// fails instead of passing them off as whole. A chart larger than the surface
// limits draws nothing, and its outputs fail until it is made smaller.
#pragma once

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "base/last_error.h"
#include "chart/handles.h"
#include "chart/legend_box.h"
#include "quorvane.h"

namespace quorvane {

// What a chart type supplies to the pipeline.
class ChartTypeHooks {
 public:
  // The type's layout: geometry, automatic data colours and legend keys. The
  // legend is laid out right after it.
  virtual void layoutChart() = 0;
  // Draws the chart body on the prepared canvas.
  virtual void drawChartBody(DrawArea &area) = 0;
  // Appends the areas of the chart's image map to out (through an
  // ImageMapWriter and the item's field expansion); false when the chart has
  // nothing to map.
  virtual bool appendImageMap(std::string &out, const char *url, const char *queryFormat,
                              const char *extraAttr) = 0;

 protected:
  ~ChartTypeHooks() = default;
};

class ChartCore {
 public:
  explicit ChartCore(ChartTypeHooks &hooks);
  ~ChartCore();
  ChartCore(const ChartCore &) = delete;
  ChartCore &operator=(const ChartCore &) = delete;

  // The end of every factory: size, background (0xFFFF0000 keeps the table's
  // white) and border. Throws std::bad_alloc when memory runs out.
  void create(int width, int height, int bgColor, int edgeColor);

  // The BaseChart operations; the chart's published wrappers catch what they
  // throw.
  void setSize(int width, int height);
  void setBackground(int color, int edgeColor, int raisedEffect);
  void setBorder(int color) { borderColor_ = color; }
  void setWallpaper(const char *img);
  void setBgImage(const char *img, int align);
  void setTransparentColor(int c) { area_->setTransparentColor(c); }
  void setAntiAlias(int shapeMode) { area_->setAntiAlias(shapeMode); }
  TextBox *addTitle2(int alignment, const char *text, const char *font, double fontSize,
                     int fontColor, int bgColor, int edgeColor);
  LegendBox *addLegend(int x, int y, bool vertical, const char *font, double fontSize);
  LegendBox *getLegend();
  DrawArea *getDrawArea();
  DrawObj *addDrawObj(DrawObj *obj);
  TextBox *addText(int x, int y, const char *text, const char *font, double fontSize,
                   int fontColor, int alignment, double angle, bool vertical);
  Line *addLine(int x1, int y1, int x2, int y2, int color, int lineWidth);
  void setColor(int paramId, int color);
  void setColors2(int paramId, const int *colors);
  int getColor(int paramId) { return area_->getARGBColor(paramId); }
  void layout();
  DrawArea *makeChart3();
  MemBlock makeChart2(int format);
  bool makeChart2(int format, const char **data, int *len);
  bool makeChart(const char *filename);
  const char *getHTMLImageMap(const char *url, const char *queryFormat, const char *extraAttr);

  // Internal.

  // The area as it is, without preparing the canvas.
  DrawArea &area() { return *area_; }
  // Why the last output failed; the outputs above set it when they fail and
  // expect their caller to have emptied it (reportingFailures).
  LastError &lastError() { return lastError_; }
  int height() const { return height_; }
  bool isLaidOut() const { return isLaidOut_; }

 private:
  // Whether the chart's size (below 1 counting as 1) fits the surface limits.
  bool hasDrawableSize() const;
  // Runs one stage of the pipeline; the chart is broken unless it completes
  // without a failure inside.
  template <class Stage>
  void runStage(Stage &&stage);
  void prepareCanvas();
  // Draws once; whether there is a whole drawing to output.
  bool draw();
  // draw(), setting the last error when there is no drawing to output.
  bool drawForOutput();
  // Takes the reason of the area's output that failed.
  void takeAreaError();
  // Appends obj to the drawables, owned from then on.
  void adopt(DrawObj *obj);

  ChartTypeHooks &hooks_;
  AreaHandle area_;
  std::unique_ptr<LegendBoxImpl> legend_;
  std::vector<DrawObj *> drawables_;  // in drawing order, an object maybe twice
  std::unordered_set<DrawObj *> owned_;  // each drawable once, the legend never
  int width_ = 480;
  int height_ = 360;
  int borderColor_ = Transparent;
  int raisedEffect_ = 0;
  std::string bgImage_;
  int bgImagePlacement_ = -1;  // an Alignment, or -1 (any other value) to tile
  bool isLaidOut_ = false;
  bool isDrawn_ = false;
  bool isCanvasReady_ = false;
  bool isBroken_ = false;
  std::string imageMap_;
  LastError lastError_;
};

}  // namespace quorvane
