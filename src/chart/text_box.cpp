// Text box placement and drawing, and the free line. Geometry is worked in
// 64 bits and clamped into int range, so hostile positions and sizes cannot
// overflow; the DrawArea clips whatever lies outside the canvas.
#include "chart/text_box.h"

#include <cstdlib>

#include "base/alignment.h"

namespace quorvane {

namespace {

// The bevel widens every margin.
int withBevel(int margin, int raisedEffect) {
  return clampToInt(int64_t{margin} + std::abs(int64_t{raisedEffect}));
}

}  // namespace

Margins marginsOf(const TextBoxData &box) {
  // Horizontal margins follow the font width, vertical ones the height; a
  // size that is not above 0 takes the other one.
  const double h = box.fontHeight > 0 ? box.fontHeight : box.fontWidth;
  const double v = box.fontWidth > 0 ? box.fontWidth : box.fontHeight;
  const int side = clampToInt((int64_t{truncToInt(v)} + 1) / 2);
  const int end = clampToInt((int64_t{truncToInt(h)} + 2) / 4);
  const int raised = box.raisedEffect;
  return Margins{withBevel(box.marginLeft == -1 ? side : box.marginLeft, raised),
                 withBevel(box.marginRight == -1 ? side : box.marginRight, raised),
                 withBevel(box.marginTop == -1 ? end : box.marginTop, raised),
                 withBevel(box.marginBottom == -1 ? end : box.marginBottom, raised)};
}

TextBoxGeometry placeTextBox(const TextBoxData &box, int textWidth, int textHeight) {
  const Margins m = marginsOf(box);
  const int align = normalAlignment(box.alignment);
  const int64_t x = box.x, y = box.y, tw = textWidth, th = textHeight;
  int64_t boxX = x, boxY = y, width = box.width, height = box.height, tx, ty;

  if (width > 0) {
    tx = x + m.left;
    if (isCentreColumn(align)) tx += (width - m.right - m.left) / 2;
    else if (isRightColumn(align)) tx += width - m.right - m.left - 1;
  } else {
    width = int64_t{m.left} + tw + m.right;
    if (isCentreColumn(align)) {
      tx = x;
      boxX = x - m.left - tw / 2;
    } else if (isRightColumn(align)) {
      boxX = x + 1 - width;
      tx = x - m.right;
    } else {
      tx = x + m.left;
    }
  }

  if (height > 0) {
    if (isBottomRow(align)) ty = y + height - 1 - m.bottom;
    else if (isTopRow(align)) ty = y + m.top;
    else ty = y + m.top + (height - m.bottom - m.top) / 2;
  } else {
    height = int64_t{m.top} + th + m.bottom;
    if (isBottomRow(align)) {
      boxY = y + 1 - height;
      ty = y - m.bottom;
    } else if (isTopRow(align)) {
      ty = y + m.top;
    } else {
      ty = y;
      boxY = y - m.top - th / 2;
    }
  }
  return TextBoxGeometry{clampToInt(boxX),  clampToInt(boxY), clampToInt(width),
                         clampToInt(height), clampToInt(tx),  clampToInt(ty)};
}

std::optional<TextBoxGeometry> drawTextBox(DrawArea &area, const TextBoxData &box,
                                           const std::string &text) {
  if (text.empty()) return std::nullopt;
  const TextHandle laidOut = holdText(area.text4(text.c_str(), box.font.c_str(), box.fontIndex,
                                                box.fontHeight, box.fontWidth, box.angleDeg,
                                                box.vertical ? 1 : 0));
  const int tw = laidOut ? laidOut->getWidth() : 0;
  const int th = laidOut ? laidOut->getHeight() : 0;
  const TextBoxGeometry g = placeTextBox(box, tw, th);
  area.rect(g.x, g.y, clampToInt(int64_t{g.x} + g.width - 1),
            clampToInt(int64_t{g.y} + g.height - 1), edgeColorOf(box.edgeColor, box.fillColor),
            box.fillColor, box.raisedEffect);
  if (laidOut)
    laidOut->draw(g.textX, g.textY, box.fontColor,
                  static_cast<Alignment>(normalAlignment(box.alignment)));
  return g;
}

void LineImpl::setPos(int x1, int y1, int x2, int y2) {
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
}

void LineImpl::draw(DrawArea *area) {
  if (visible_ && area != nullptr) area->line(x1_, y1_, x2_, y2_, color_, width_);
}

}  // namespace quorvane
