// The chart's legend: a text box listing keys, each a colour sample (a box,
// or a line with an optional symbol) and a text. The chart lays it out once,
// after the chart type has added its keys, and draws it after the chart body.
// Keys added later are kept but neither placed nor drawn.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/live_objects.h"
#include "chart/text_box.h"

namespace quorvane {

class LegendBoxImpl final : public TextBoxBase<LegendBox> {
 public:
  LegendBoxImpl();

  // DrawObj
  void draw(DrawArea *area) override;
  // LegendBox
  void addKey(const char *text, int color, int lineWidth, DrawArea *symbol) override;
  void addKey(const char *text, int color) override;
  void setKeySize(int width, int height, int gap) override;
  const char *getImageCoor(int i) override;
  const char *getHTMLImageMap(const char *url, const char *queryFormat,
                              const char *extraAttr) override;
  using TextBoxBase<LegendBox>::getImageCoor;  // the legend's own rectangle

  // Internal
  void setVertical(bool vertical) { vertical_ = vertical; }
  bool isVertical() const { return vertical_; }
  bool hasLineKeys() const { return lineKeys_; }
  size_t keyCount() const { return keys_.size(); }
  // Lays out the key texts with area and places the keys; the box's automatic
  // width and height are computed and stored.
  void layout(DrawArea &area);

 private:
  struct Key {
    std::string text;
    int color = 0;
    int lineWidth = 0;
    Borrowed<DrawArea> symbol;  // not owned; its host may destroy it
    // Filled in by layout.
    TextHandle laidOut;
    int textWidth = 0;
    int textHeight = 0;
    int keyWidth = 0;
    int keyHeight = 0;
    int keyGap = 0;
    int x = 0;
    int y = 0;
  };
  // The stages of layout: the automatic sizes resolved from the font (the
  // margins stored in the box), the key texts laid out, then the keys placed
  // in rows or in one column, giving the box's size (a fixed one as it is).
  struct Spacing {
    int keyWidth = 0;
    int keyHeight = 0;
    int keyGap = 0;       // from a key's sample to its text
    int64_t spacing = 0;  // between keys of a row
    int64_t rowGap = 0;
  };
  struct Extent {
    int64_t width = 0;
    int64_t height = 0;
  };
  Spacing resolveSpacing();
  Extent placeInRows(int64_t spacing, int64_t rowGap);
  Extent placeInColumn(int64_t rowGap);
  // Lays out each key's text with area and gives it the resolved key sizes.
  void layOutKeys(DrawArea &area, int keyWidth, int keyHeight, int keyGap);
  // The rectangle of a placed key, sample and text: x, y, right, bottom.
  std::string keyShape(const Key &key) const;

  bool vertical_ = false;
  int keyWidth_ = -1;  // -1: automatic, here and below
  int keyHeight_ = -1;
  int keyGap_ = -1;
  bool lineKeys_ = false;
  std::vector<Key> keys_;
  std::string keyCoor_;
  std::string imageMap_;
};

}  // namespace quorvane
