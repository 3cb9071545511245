// The four axes of an XY chart and their marks. AxisBase implements the
// operations every axis shares (label style, title, colours, ticks, marks,
// zones) once for XAxis and YAxis; XAxisImpl is a category axis, YAxisImpl a
// value axis scaled by a ValueScale or following another y axis. Marks and
// zones are owned by their axis; the chart owns the axes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/guarded.h"
#include "base/int_math.h"
#include "base/live_objects.h"
#include "chart/color_table.h"
#include "chart/text_box.h"
#include "xychart/plot_geometry.h"
#include "xychart/value_scale.h"

namespace quorvane {

// A labelled line across the plot area at a value of its axis.
class MarkImpl final : public TextBoxBase<Mark> {
 public:
  MarkImpl(double value, int lineColor, const char *text, const char *font, double fontSize);

  void setValue(double value) override { value_ = value; }
  void setMarkColor(int lineColor, int textColor, int tickColor) override;
  void setLineWidth(int width) override { lineWidth_ = width; }
  void setDrawOnTop(bool onTop) override { isOnTop_ = onTop; }

  double value() const { return value_; }
  int lineColor() const { return lineColor_; }
  // The tick colour in force: the line colour when -1.
  int tickColor() const { return tickColor_ == -1 ? lineColor_ : tickColor_; }
  // The label colour in force: the line colour when -1.
  int textColor() const { return box_.fontColor == -1 ? lineColor_ : box_.fontColor; }
  int lineWidth() const { return lineWidth_; }
  bool isOnTop() const { return isOnTop_; }

 private:
  ~MarkImpl() override = default;
  friend std::default_delete<MarkImpl>;

  double value_;
  int lineColor_;
  int tickColor_ = -1;
  int lineWidth_ = 1;
  bool isOnTop_ = false;
};

struct Zone {
  double start;
  double end;
  int color;
};

// The signed end of a tick of `length` pixels, counted away from the plot
// area: a tick starts on the pixel next to the axis line, so it ends one
// beyond its length. 0 when no tick is drawn.
inline int64_t tickEnd(int length, int color) {
  if (length == 0 || color == Transparent) return 0;
  return length > 0 ? int64_t{length} + 1 : int64_t{length} - 1;
}

// The offset of the labels from the axis line, counted away from the plot
// area: the label gap, beyond the tick end when both lie on the same side.
inline int64_t labelOffset(int labelGap, int64_t end) {
  const bool isBeyondTick = (labelGap > 0 && end > 0) || (labelGap < 0 && end < 0);
  return labelGap + (isBeyondTick ? end : 0);
}

// The part of the span between pixel offsets a and b (either order) that
// lies on an axis of length pixels; nothing when it lies wholly beyond one end.
inline std::optional<std::pair<int, int>> spanOnAxis(int64_t a, int64_t b, int64_t length) {
  if (length < 0 || (a < 0 && b < 0) || (a > length && b > length)) return std::nullopt;
  return std::pair<int, int>(static_cast<int>(std::clamp<int64_t>(a, 0, length)),
                             static_cast<int>(std::clamp<int64_t>(b, 0, length)));
}

// What every axis holds besides its scale.
struct AxisStyle {
  TextBoxImpl labelStyle;  // font, size, colour and angle of the tick labels
  int labelGap = 3;
  TextBoxImpl title;
  int titleAlignment = AlignBottomCentre;
  int titleGap = 3;
  int axisColor = -1;  // -1: automatic, by axis kind
  int labelColor = kTextColor;
  int titleColor = -1;  // -1: the label colour
  int tickColor = -1;   // -1: the axis colour
  int majorTickLength = 3;
  int minorTickLength = 2;
  std::vector<std::unique_ptr<MarkImpl>> marks;
  std::vector<Zone> zones;
  int length = 0;  // pixels, set by the chart's layout

  int resolvedTitleColor() const { return titleColor == -1 ? labelColor : titleColor; }
  // The tick colour in force for an axis line drawn in axisColor.
  int resolvedTickColor(int axisColor) const { return tickColor == -1 ? axisColor : tickColor; }
  // The title box with its point named by alignment at (x, y); a font colour
  // of -1 takes the label colour.
  TextBoxData placedTitle(int64_t x, int64_t y, int alignment) const {
    TextBoxData box = title.data();
    box.x = clampToInt(x);
    box.y = clampToInt(y);
    box.alignment = alignment;
    if (box.fontColor == -1) box.fontColor = labelColor;
    return box;
  }
};

template <class Interface>
class AxisBase : public Interface {
 public:
  AxisBase(const AxisBase &) = delete;
  AxisBase &operator=(const AxisBase &) = delete;

  TextBox *setLabelStyle(const char *font, double fontSize, int fontColor,
                         double fontAngle) override {
    return guarded<TextBox *>(nullptr, [&] {
      style_.labelStyle.data().setStyle(font, fontSize, fontColor, fontAngle);
      style_.labelColor = fontColor;
      return &style_.labelStyle;
    });
  }
  void setLabelGap(int gap) override { style_.labelGap = gap; }
  TextBox *setTitle(const char *text, const char *font, double fontSize,
                    int fontColor) override {
    return guarded<TextBox *>(nullptr, [&] {
      TextBoxData &d = style_.title.data();
      d.text = text != nullptr ? text : "";
      d.setFont(font, fontSize, fontColor);
      style_.titleColor = fontColor;
      return &style_.title;
    });
  }
  void setTitlePos(Alignment alignment, int gap) override {
    style_.titleAlignment = alignment;
    style_.titleGap = gap;
  }
  void setColors(int axisColor, int labelColor, int titleColor, int tickColor) override {
    style_.axisColor = axisColor;
    style_.labelColor = labelColor;
    style_.titleColor = titleColor;
    style_.tickColor = tickColor;
    style_.labelStyle.data().fontColor = labelColor;
    style_.title.data().fontColor = style_.resolvedTitleColor();
  }
  void setTickLength(int major) override {
    // Halving the length rounded away from zero, in 64 bits so that the
    // extreme lengths do not overflow.
    const int64_t m = major;
    this->setTickLength2(major, static_cast<int>(m >= 0 ? (m + 1) / 2 : (m - 1) / 2));
  }
  Mark *addMark(double value, int lineColor, const char *text, const char *font,
                double fontSize) override {
    return guarded<Mark *>(nullptr, [&] {
      style_.marks.push_back(std::make_unique<MarkImpl>(value, lineColor, text, font, fontSize));
      return style_.marks.back().get();
    });
  }
  void addZone(double startValue, double endValue, int color) override {
    completes([&] { style_.zones.push_back(Zone{startValue, endValue, color}); });
  }
  int getLength() override { return style_.length; }

  AxisStyle &style() { return style_; }
  const AxisStyle &style() const { return style_; }

 protected:
  AxisBase() = default;
  ~AxisBase() = default;

  AxisStyle style_;
  LiveObject live_{static_cast<Interface *>(this)};  // in the table while alive
};

class XAxisImpl final : public AxisBase<XAxis> {
 public:
  XAxisImpl();

  // BaseAxis
  void setTickLength2(int major, int minor) override {
    style_.majorTickLength = major;
    style_.minorTickLength = minor;
  }
  int getCoor(double v) override;
  // XAxis
  TextBox *setLabels(int count, const char *const *labels) override;
  const char *getLabel(int i) override;
  void setIndent(bool indent) override { indent_ = indent ? 1 : 0; }

  // Layout: the category range and the length.
  void setRange(double min, double max, int length);
  int indent() const { return indent_; }
  void setIndentState(int indent) { indent_ = indent; }
  const std::vector<std::string> &labels() const { return labels_; }
  // Offsets of the categories that have a vertical grid line: those whose
  // label draws a tick.
  std::vector<int> gridOffsets();
  // The axis line colour in force.
  int resolvedAxisColor() const { return style_.axisColor == -1 ? kLineColor : style_.axisColor; }

  // Draws the axis line, ticks, labels and title along the row axisY from
  // column left; direction +1 puts them below the line (the bottom axis), -1
  // above it (the top axis).
  void draw(DrawArea &area, int left, int axisY, int direction);
  // Zones and marks as vertical bands and lines on the plot area.
  void drawZones(DrawArea &area, const PlotGeometry &g);
  void drawMarks(DrawArea &area, const PlotGeometry &g, bool onTop);

 private:
  // Where the ticks and labels of a drawn axis go. Ends and rows are signed:
  // away from the plot area along d, rows below (+) or above (-) the axis line.
  struct TickRows {
    int d = 1;  // +1 below the axis line, -1 above it
    int tickColor = 0;
    int64_t majorEnd = 0;
    int64_t minorEnd = 0;
    int64_t labelRow = 0;
    bool labelsBelow = true;  // labels hang below their anchor row
  };
  // The stages of draw: the rows, the category and mark ticks with their
  // labels (returning the tallest label's height), then the title beyond them.
  TickRows tickRows(int direction, int axisColor) const;
  int64_t drawTicksAndLabels(DrawArea &area, int left, int axisY, const TickRows &rows);
  void drawTitle(DrawArea &area, int left, int axisY, const TickRows &rows, int64_t tallest);
  // Offset of each mark that lies on the axis, in the order of the marks;
  // none for one that does not.
  std::vector<std::optional<int>> markOffsets();

  std::vector<std::string> labels_;
  int indent_ = -1;  // -1 automatic, 0 off, 1 on
  double min_ = 0;
  double max_ = 100;
};

class YAxisImpl final : public AxisBase<YAxis> {
 public:
  YAxisImpl();

  // BaseAxis: y axes draw no minor ticks.
  void setTickLength2(int major, int) override { style_.majorTickLength = major; }
  int getCoor(double v) override;
  // YAxis
  void setLinearScale(double lower, double upper, double step) override {
    scale_.setLinearScale(lower, upper, step);
  }
  void setLogScale(bool isLog) override { scale_.setLogScale(isLog); }
  void setLogScale2(double lower, double upper, double step) override {
    scale_.setLogScale2(lower, upper, step);
  }
  void setAutoScale(double top, double bottom) override { scale_.setAutoScale(top, bottom); }
  void setTickDensity(int density) override { scale_.setTickDensity(density); }
  void setTopMargin(int margin) override { scale_.setTopMargin(margin); }
  void setLabelFormat(const char *format) override {
    completes([&] { labelFormat_ = format != nullptr ? format : ""; });
  }

  // Layout. A synchronised axis only records the length and reports false:
  // its ticks and coordinates come from the axis it follows.
  bool scaleTo(double dataMin, double dataMax, int requestedTicks, int length);
  void syncTo(YAxisImpl *other, double slope, double intercept);
  bool isSynced() const { return syncedTo_ != nullptr; }
  // Tick values in this axis's units, lowest first.
  std::vector<double> tickValues() const;
  const ValueScale &scale() const { return scale_; }
  // Whether coordinates mean anything: scaled, or following an axis that is.
  bool hasScale() const;
  // The axis line colour in force: black once scaled or synchronised, else
  // Transparent.
  int resolvedAxisColor() const;
  // The label of tick value v.
  std::string tickLabel(double v) const;

  // Draws the axis line at column x from row bottom up by the length, with
  // ticks, labels and title on the left (onLeft) or the right; nothing when
  // there are no ticks.
  void draw(DrawArea &area, int x, int bottom, bool onLeft);
  // Zones and marks as horizontal bands and lines on the plot area.
  void drawZones(DrawArea &area, const PlotGeometry &g);
  void drawMarks(DrawArea &area, const PlotGeometry &g, bool onTop);

 private:
  // One tick of a drawn axis: a mark's or a tick value's.
  struct TickEntry {
    TextBoxData label;  // the label's box; its text is empty when the label is not drawn
    int offset;         // pixels up from the bottom
    int labelHeight;    // of the label's box, 0 without a label
    int tickColor;
    int tickWidth;
    bool hasTick;
  };

  int coorOf(double v) const;
  // The marks on the axis, then the tick values whose label or tick is not
  // hidden by an entry before them.
  std::vector<TickEntry> tickList(DrawArea &area, const std::vector<double> &ticks) const;

  ValueScale scale_;
  std::string labelFormat_;  // empty: "&value&"
  YAxisImpl *syncedTo_ = nullptr;
  double slope_ = 1;
  double intercept_ = 0;
};

}  // namespace quorvane
