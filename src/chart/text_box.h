// Boxes, text boxes and free lines: the drawables a chart draws after its
// body. A text box holds one text placed inside it by an alignment and four
// margins; with an automatic (0 or less) width or height it sizes itself to
// the laid-out text, and its position is then the point its alignment names,
// as for a bare text. With a fixed size the position is the top-left corner.
//
// TextBoxBase implements the Box and TextBox operations once for every
// published interface built on TextBox (TextBox itself, LegendBox, Mark).
// Chart types that keep text boxes only as label styles draw them through
// drawTextBox, which leaves the style untouched. The operations that
// allocate catch what they throw and leave the box as it was.
#pragma once

#include <optional>
#include <string>

#include "base/guarded.h"
#include "base/int_math.h"
#include "base/live_objects.h"
#include "chart/handles.h"
#include "chart/color_table.h"
#include "chart/image_map.h"
#include "quorvane.h"

namespace quorvane {

struct TextBoxData {
  // Box
  int x = 0;
  int y = 0;
  int width = 0;   // 0 or less: from the text
  int height = 0;  // 0 or less: from the text
  int fillColor = Transparent;
  int edgeColor = -1;  // -1: the fill colour
  int raisedEffect = 0;
  // Text
  std::string text;
  std::string font;  // empty: the fallback font
  int fontIndex = 0;
  double fontHeight = 8;  // points
  double fontWidth = 0;   // points; 0: the height
  double angleDeg = 0;
  bool vertical = false;
  int fontColor = kTextColor;
  int alignment = AlignCentre;
  int marginLeft = -1;  // -1: automatic
  int marginRight = -1;
  int marginTop = -1;
  int marginBottom = -1;

  // A label style as the style setters take it: the font (null: the fallback
  // font), its size in points and its colour; setStyle adds the angle.
  void setFont(const char *name, double sizePt, int color) {
    font = name != nullptr ? name : "";
    fontHeight = sizePt;
    fontColor = color;
  }
  void setStyle(const char *name, double sizePt, int color, double angle) {
    setFont(name, sizePt, color);
    angleDeg = angle;
  }
};

// The rectangle of a drawn text box and the reference point of its text.
struct TextBoxGeometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int textX = 0;
  int textY = 0;
};

// The edge colour in force: the fill colour when edgeColor is -1.
inline int edgeColorOf(int edgeColor, int fillColor) {
  return edgeColor == -1 ? fillColor : edgeColor;
}

// Margins in force, each with |raised effect| added: -1 takes half the font
// width (left, right) or a quarter of the font height (top, bottom).
struct Margins {
  int left, right, top, bottom;
};
Margins marginsOf(const TextBoxData &box);

// Where box stands around a laid-out text of textWidth x textHeight pixels.
TextBoxGeometry placeTextBox(const TextBoxData &box, int textWidth, int textHeight);

// Lays out text in box's font and draws box and text on area as placeTextBox
// places them; box itself is left as it is. An empty text draws nothing,
// box included, and gives no geometry.
std::optional<TextBoxGeometry> drawTextBox(DrawArea &area, const TextBoxData &box,
                                           const std::string &text);

class ChartCore;

// What the library's drawables share. Each belongs from birth to the object
// that made it (a chart, an axis, a layer, a data set, a pie chart or a
// sector), which alone deletes it: destroy() from anyone else does nothing.
// chart() is the chart whose own title, text, line or legend it is (null
// for the others); a chart takes from addDrawObj no library drawable but
// its own.
class LibraryDrawable {
 public:
  const ChartCore *chart() const { return chart_; }
  void setChart(const ChartCore *chart) { chart_ = chart; }

 protected:
  LibraryDrawable() = default;
  ~LibraryDrawable() = default;

 private:
  const ChartCore *chart_ = nullptr;
};

// The library drawable obj is, or null for a host's own DrawObj.
inline const LibraryDrawable *libraryDrawable(DrawObj *obj) {
  return dynamic_cast<const LibraryDrawable *>(obj);
}

template <class Interface>
class TextBoxBase : public Interface, public LibraryDrawable {
 public:
  TextBoxBase() = default;
  TextBoxBase(const TextBoxBase &) = delete;
  TextBoxBase &operator=(const TextBoxBase &) = delete;

  // DrawObj
  void destroy() override {}
  // Draws the box unless it is hidden; sizes computed for an automatic box
  // are stored, so the box reports the drawn rectangle afterwards.
  void draw(DrawArea *area) override {
    if (!visible_ || area == nullptr) return;
    completes([&] {
      if (const auto g = drawTextBox(*area, box_, box_.text)) {
        box_.x = g->x;
        box_.y = g->y;
        box_.width = g->width;
        box_.height = g->height;
      }
    });
  }

  // Box
  using Interface::getImageCoor;  // LegendBox adds an overload; keep it visible
  void setPos(int x, int y) override {
    box_.x = x;
    box_.y = y;
  }
  void setSize(int w, int h) override {
    box_.width = w;
    box_.height = h;
  }
  void setBackground(int color, int edgeColor, int raisedEffect) override {
    box_.fillColor = color;
    box_.edgeColor = edgeColor;
    box_.raisedEffect = raisedEffect;
  }
  const char *getImageCoor() override {
    return guarded<const char *>(nullptr, [&] {
      imageCoor_ = rectShapeAsGiven(box_.x, box_.y, clampToInt(int64_t{box_.x} + box_.width - 1),
                                    clampToInt(int64_t{box_.y} + box_.height - 1));
      return imageCoor_.c_str();
    });
  }

  // TextBox
  void setText(const char *text) override {
    completes([&] { box_.text = text != nullptr ? text : ""; });
  }
  void setAlignment(int a) override { box_.alignment = a; }
  void setFontStyle(const char *font, int fontIndex) override {
    completes([&] {
      box_.font = font != nullptr ? font : "";
      box_.fontIndex = fontIndex;
    });
  }
  void setFontSize(double height, double width) override {
    box_.fontHeight = height;
    box_.fontWidth = width;
  }
  void setFontAngle(double angle, bool vertical) override {
    box_.angleDeg = angle;
    box_.vertical = vertical;
  }
  void setFontColor(int color) override { box_.fontColor = color; }
  void setMargin(int m) override { setMargin2(m, m, m, m); }
  void setMargin2(int left, int right, int top, int bottom) override {
    box_.marginLeft = left;
    box_.marginRight = right;
    box_.marginTop = top;
    box_.marginBottom = bottom;
  }

  // Internal
  TextBoxData &data() { return box_; }
  const TextBoxData &data() const { return box_; }
  bool isVisible() const { return visible_; }
  void setVisible(bool visible) { visible_ = visible; }

 protected:
  ~TextBoxBase() override = default;

  TextBoxData box_;
  bool visible_ = true;
  std::string imageCoor_;
  LiveObject live_{static_cast<Interface *>(this)};  // in the table while alive
};

class TextBoxImpl final : public TextBoxBase<TextBox> {};

class LineImpl final : public Line, public LibraryDrawable {
 public:
  LineImpl() = default;
  LineImpl(const LineImpl &) = delete;
  LineImpl &operator=(const LineImpl &) = delete;

  void destroy() override {}
  void draw(DrawArea *area) override;
  void setPos(int x1, int y1, int x2, int y2) override;
  void setColor(int color) override { color_ = color; }
  void setWidth(int width) override { width_ = width; }

  bool isVisible() const { return visible_; }
  void setVisible(bool visible) { visible_ = visible; }

 private:
  int x1_ = 0;
  int y1_ = 0;
  int x2_ = 0;
  int y2_ = 0;
  int color_ = 0x000000;
  int width_ = 1;
  bool visible_ = true;
  LiveObject live_{static_cast<Line *>(this)};  // in the table while alive
};

}  // namespace quorvane
