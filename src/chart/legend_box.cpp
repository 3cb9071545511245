// Legend layout and drawing. Automatic sizes follow the font: with FW the
// font width (or height) and FH the height (or width), in points, a key is
// FW x FH (twice as wide when keys are lines), the gap to its text FW / 2,
// the space between keys of a row 3 FW, between rows FH / 4; margins are FW
// at the sides and FH at top and bottom.
//
// Horizontal legends fill rows left to right and wrap before a key that
// would cross the right margin of a box of fixed width; their automatic
// width includes one pixel more than the content, vertical ones do not.
#include "chart/legend_box.h"

#include <algorithm>
#include <limits>

#include "base/colors.h"
#include "base/int_math.h"
#include "chart/item_fields.h"

namespace quorvane {

LegendBoxImpl::LegendBoxImpl() {
  box_.fontHeight = 10;
  visible_ = false;  // until the chart's addLegend
}

void LegendBoxImpl::addKey(const char *text, int color, int lineWidth, DrawArea *symbol) {
  completes([&] {
    Key key;
    key.text = text != nullptr ? text : "";
    key.color = color;
    key.lineWidth = lineWidth;
    key.symbol = Borrowed<DrawArea>(symbol);
    keys_.push_back(std::move(key));
    const bool special = isSpecialColor(static_cast<uint32_t>(color));
    if (lineWidth > 0 && (special || symbol != nullptr)) lineKeys_ = true;
  });
}

void LegendBoxImpl::addKey(const char *text, int color) { addKey(text, color, 0, nullptr); }

void LegendBoxImpl::setKeySize(int width, int height, int gap) {
  keyWidth_ = width;
  keyHeight_ = height;
  keyGap_ = gap;
}

void LegendBoxImpl::layOutKeys(DrawArea &area, int keyWidth, int keyHeight, int keyGap) {
  for (Key &key : keys_) {
    key.laidOut = holdText(area.text4(key.text.c_str(), box_.font.c_str(), box_.fontIndex,
                                      box_.fontHeight, box_.fontWidth, 0, 0));
    key.textWidth = key.laidOut ? key.laidOut->getWidth() : 0;
    key.textHeight = key.laidOut ? key.laidOut->getHeight() : 0;
    key.keyWidth = keyWidth;
    key.keyHeight = keyHeight;
    key.keyGap = keyGap;
  }
}

LegendBoxImpl::Spacing LegendBoxImpl::resolveSpacing() {
  const double fw = box_.fontWidth != 0 ? box_.fontWidth : box_.fontHeight;
  const double fh = box_.fontHeight != 0 ? box_.fontHeight : box_.fontWidth;
  Spacing s;
  s.keyWidth = keyWidth_ != -1 ? keyWidth_
                               : clampToInt(int64_t{truncToInt(fw)} * (lineKeys_ ? 2 : 1));
  s.keyHeight = keyHeight_ != -1 ? keyHeight_ : truncToInt(fh);
  s.keyGap = keyGap_ != -1 ? keyGap_ : truncToInt(fw * 0.5);
  // No operation sets the key spacing or the row gap: they are always automatic.
  s.spacing = truncToInt(fw * 3);
  s.rowGap = truncToInt(fh * 0.25);
  if (box_.marginLeft == -1) box_.marginLeft = truncToInt(fw);
  if (box_.marginRight == -1) box_.marginRight = box_.marginLeft;
  if (box_.marginTop == -1) box_.marginTop = truncToInt(fh);
  if (box_.marginBottom == -1) box_.marginBottom = box_.marginTop;
  return s;
}

LegendBoxImpl::Extent LegendBoxImpl::placeInRows(int64_t spacing, int64_t rowGap) {
  const int64_t x = box_.x, y = box_.y;
  const int64_t left = box_.marginLeft, right = box_.marginRight;
  Extent size{box_.width, box_.height};
  int64_t penX = x + left, penY = y + box_.marginTop;
  const int64_t limit =
      size.width > 0 ? x + size.width - right : std::numeric_limits<int64_t>::max();
  int64_t rowHeight = 0;
  for (size_t k = 0; k < keys_.size(); ++k) {
    Key &key = keys_[k];
    const int64_t keyRow = std::max(key.textHeight, key.keyHeight);
    const int64_t extent = int64_t{key.keyWidth} + key.keyGap + key.textWidth;
    rowHeight = std::max(rowHeight, keyRow);
    // The spacing separates keys of one row; the first key of a row has none.
    if (k > 0) {
      if (penX + spacing + extent > limit) {
        penY += rowGap + rowHeight;
        penX = x + left;
        rowHeight = keyRow;
      } else {
        penX += spacing;
      }
    }
    key.x = clampToInt(penX);
    key.y = clampToInt(penY);
    penX += extent;
  }
  if (size.width <= 0) size.width = right + penX - x + 1;
  if (size.height <= 0) size.height = box_.marginBottom + rowHeight + penY - y + 1;
  return size;
}

LegendBoxImpl::Extent LegendBoxImpl::placeInColumn(int64_t rowGap) {
  const int64_t x = box_.x, y = box_.y;
  const int64_t top = box_.marginTop, bottom = box_.marginBottom;
  Extent size{box_.width, box_.height};
  int64_t penY = y + top;
  int64_t widest = 0;
  for (Key &key : keys_) {
    key.x = clampToInt(x + box_.marginLeft);
    key.y = clampToInt(penY);
    penY += std::max(key.textHeight, key.keyHeight) + rowGap;
    widest = std::max(widest, int64_t{key.textWidth} + key.keyGap + key.keyWidth);
  }
  if (size.width <= 0) size.width = int64_t{box_.marginLeft} + box_.marginRight + widest;
  if (size.height <= 0)
    size.height = keys_.empty() ? top + bottom + 1 : bottom + penY - y - rowGap + 1;
  return size;
}

void LegendBoxImpl::layout(DrawArea &area) {
  if (box_.edgeColor == -1) box_.edgeColor = vertical_ ? kLineColor : Transparent;
  const Spacing s = resolveSpacing();
  layOutKeys(area, s.keyWidth, s.keyHeight, s.keyGap);
  const Extent size = vertical_ ? placeInColumn(s.rowGap) : placeInRows(s.spacing, s.rowGap);
  box_.width = clampToInt(size.width);
  box_.height = clampToInt(size.height);
}

void LegendBoxImpl::draw(DrawArea *area) {
  if (!visible_ || area == nullptr) return;
  area->rect(box_.x, box_.y, clampToInt(int64_t{box_.x} + box_.width - 1),
             clampToInt(int64_t{box_.y} + box_.height - 1),
             edgeColorOf(box_.edgeColor, box_.fillColor), box_.fillColor, box_.raisedEffect);
  for (const Key &key : keys_) {
    if (!key.laidOut) continue;  // added after layout
    const int64_t kx = key.x, ky = key.y, kw = key.keyWidth, kh = key.keyHeight;
    const int64_t lineHeight = key.laidOut->getLineHeight();
    const bool isShort = lineHeight < kh;  // the text is lower than the sample
    if (key.lineWidth > 0 && lineKeys_) {
      const int ly = clampToInt(isShort ? ky + kh / 2 : ky + lineHeight / 2);
      area->line(key.x, ly, clampToInt(kx + kw - 1), ly, key.color, key.lineWidth);
      // A symbol lent by a host is merged only while it lives.
      if (DrawArea *symbol = key.symbol.get())
        area->merge(symbol, clampToInt(kx + kw / 2), ly, AlignCentre, 0);
    } else {
      const int64_t by = isShort ? ky : ky + (lineHeight - kh) / 2;
      area->rect(key.x, clampToInt(by), clampToInt(kx + kw - 1), clampToInt(by + kh - 1),
                 key.color, key.color, 0);
    }
    const int64_t tx = kx + kw + key.keyGap;
    const int64_t ty = isShort ? ky + (kh - lineHeight) / 2 : ky;
    key.laidOut->draw(clampToInt(tx), clampToInt(ty), box_.fontColor, AlignTopLeft);
  }
}

std::string LegendBoxImpl::keyShape(const Key &key) const {
  if (!key.laidOut) return std::string();
  const int64_t right = int64_t{key.x} + key.textWidth + key.keyGap + key.keyWidth - 1;
  const int64_t bottom = int64_t{key.y} + std::max(key.textHeight, key.keyHeight) - 1;
  return rectShapeAsGiven(key.x, key.y, clampToInt(right), clampToInt(bottom));
}

const char *LegendBoxImpl::getImageCoor(int i) {
  if (i < 0 || static_cast<size_t>(i) >= keys_.size()) return nullptr;
  return guarded<const char *>(nullptr, [&] {
    keyCoor_ = keyShape(keys_[static_cast<size_t>(i)]);
    return keyCoor_.c_str();
  });
}

const char *LegendBoxImpl::getHTMLImageMap(const char *url, const char *queryFormat,
                                           const char *extraAttr) {
  return guarded<const char *>(nullptr, [&] {
    ImageMapWriter map(url, queryFormat, kLegendDefaultQuery, extraAttr);
    for (size_t i = 0; i < keys_.size(); ++i) {
      const Key &key = keys_[i];
      map.addArea(keyShape(key), [&](LabelTemplate &t) {
        expandLegendKeyFields(t, static_cast<int>(i), key.text);
      });
    }
    imageMap_ = map.text();
    return imageMap_.c_str();
  });
}

}  // namespace quorvane
