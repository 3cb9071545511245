// The value (y) axis: scaling through its ValueScale or following another y
// axis by value2 = slope * value + intercept, tick labels from the label
// format, and the drawing of the axis line, ticks, labels, title, zones and
// marks. Marks enter the tick list before the tick values, so a mark's label
// and tick win over a tick's at the same height. Offsets are summed in 64
// bits and saturate, so hostile lengths and gaps cannot wrap.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/alignment.h"
#include "base/missing_value.h"
#include "chart/handles.h"
#include "chart/label_template.h"
#include "xychart/axes.h"
#include "xychart/value_label.h"

namespace quorvane {

namespace {

// The height of box around text as drawTextBox would lay it out; 0 for no text.
int labelBoxHeight(DrawArea &area, const TextBoxData &box, const std::string &text) {
  if (text.empty()) return 0;
  const TextHandle laidOut = holdText(area.text4(text.c_str(), box.font.c_str(), box.fontIndex,
                                                box.fontHeight, box.fontWidth, box.angleDeg,
                                                box.vertical ? 1 : 0));
  if (!laidOut) return placeTextBox(box, 0, 0).height;
  return placeTextBox(box, laidOut->getWidth(), laidOut->getHeight()).height;
}

}  // namespace

YAxisImpl::YAxisImpl() {
  style_.labelGap = 5;
  style_.majorTickLength = 3;
  style_.titleAlignment = AlignLeft;
  style_.titleGap = 3;
}

int YAxisImpl::getCoor(double v) { return coorOf(v); }

int YAxisImpl::coorOf(double v) const {
  if (syncedTo_ != nullptr) return syncedTo_->coorOf((v - intercept_) / slope_);
  return scale_.coor(v);
}

bool YAxisImpl::hasScale() const {
  return syncedTo_ != nullptr ? syncedTo_->hasScale() : scale_.isScaled();
}

bool YAxisImpl::scaleTo(double dataMin, double dataMax, int requestedTicks, int length) {
  style_.length = length;
  if (syncedTo_ != nullptr) return false;
  return scale_.scale(dataMin, dataMax, requestedTicks, length);
}

void YAxisImpl::syncTo(YAxisImpl *other, double slope, double intercept) {
  if (other == nullptr) {
    syncedTo_ = nullptr;
    return;
  }
  // Coordinates map back through (v - intercept) / slope, so a flat or
  // non-finite mapping cannot be followed; nor can an axis follow itself,
  // directly or through the axes it would follow. Such a request leaves the
  // axis as it was.
  if (slope == 0 || !std::isfinite(slope) || !std::isfinite(intercept)) return;
  for (const YAxisImpl *a = other; a != nullptr; a = a->syncedTo_)
    if (a == this) return;
  syncedTo_ = other;
  slope_ = slope;
  intercept_ = intercept;
}

std::vector<double> YAxisImpl::tickValues() const {
  if (syncedTo_ == nullptr) return scale_.tickValues();
  std::vector<double> ticks = syncedTo_->tickValues();
  for (double &v : ticks) v = slope_ * v + intercept_;
  // A falling mapping reverses the order; the list runs lowest first.
  if (slope_ < 0) std::reverse(ticks.begin(), ticks.end());
  return ticks;
}

int YAxisImpl::resolvedAxisColor() const {
  if (style_.axisColor != -1) return style_.axisColor;
  return scale_.isScaled() || isSynced() ? 0x000000 : Transparent;
}

std::string YAxisImpl::tickLabel(double v) const {
  return valueLabelText(labelFormat_, v);
}

std::vector<YAxisImpl::TickEntry> YAxisImpl::tickList(DrawArea &area,
                                                      const std::vector<double> &ticks) const {
  const int64_t length = style_.length;
  std::vector<TickEntry> list;
  for (const auto &mark : style_.marks) {
    if (!hasValue(mark->value())) continue;
    const int offset = coorOf(mark->value());
    if (offset < 0 || offset > length) continue;
    TickEntry e{mark->data(), offset, 0, mark->tickColor(), mark->lineWidth(), true};
    e.label.fontColor = mark->textColor();
    e.labelHeight = labelBoxHeight(area, e.label, e.label.text);
    list.push_back(std::move(e));
  }
  const int tickColor = style_.resolvedTickColor(resolvedAxisColor());
  for (const double v : ticks) {
    if (!std::isfinite(v)) continue;
    TickEntry e{style_.labelStyle.data(), coorOf(v), 0, tickColor, 1, true};
    e.label.text = tickLabel(v);
    e.labelHeight = labelBoxHeight(area, e.label, e.label.text);
    for (const TickEntry &before : list) {
      if (before.offset == e.offset) e.hasTick = false;
      // Vertically centred boxes overlap when their centres are closer than
      // half their heights added up.
      const bool isOverlap = std::abs(int64_t{before.offset} - e.offset) * 2 <
                             int64_t{before.labelHeight} + e.labelHeight;
      if (!before.label.text.empty() && isOverlap) e.label.text.clear();
    }
    if (e.label.text.empty()) e.labelHeight = 0;
    if (!e.label.text.empty() || e.hasTick) list.push_back(std::move(e));
  }
  return list;
}

void YAxisImpl::draw(DrawArea &area, int x, int bottom, bool onLeft) {
  const std::vector<double> ticks = tickValues();
  if (ticks.empty()) return;
  const std::vector<TickEntry> list = tickList(area, ticks);
  if (list.empty()) return;

  const int64_t length = style_.length;
  const int axisColor = resolvedAxisColor();
  area.line(x, bottom, x, clampToInt(bottom - length), axisColor, 1);

  // Columns count away from the plot area: leftwards on the left side.
  const int64_t out = onLeft ? -1 : 1;
  // Tick lengths follow the axis line: a Transparent one has none.
  const int64_t end = tickEnd(style_.majorTickLength, axisColor);
  const int64_t start = end > 0 ? 1 : -1;
  const int64_t labelX = x + out * labelOffset(style_.labelGap, end);
  // Labels with no gap stand inside the plot area on the left side.
  const int labelAlignment = onLeft && style_.labelGap >= 1 ? AlignRight : AlignLeft;
  int64_t widest = 0;
  for (const TickEntry &e : list) {
    const int row = clampToInt(bottom - int64_t{e.offset});
    if (e.hasTick && end != 0)
      area.line(clampToInt(x + out * start), row, clampToInt(x + out * end), row, e.tickColor,
                e.tickWidth);
    if (e.label.text.empty()) continue;
    TextBoxData box = e.label;
    box.x = clampToInt(labelX);
    box.y = row;
    box.alignment = labelAlignment;
    if (const auto g = drawTextBox(area, box, box.text))
      widest = std::max<int64_t>(widest, g->width);
  }

  if (style_.title.data().text.empty()) return;
  const int64_t gap = style_.titleGap;
  TextBoxData title;
  if (isTopRow(style_.titleAlignment))
    title =
        style_.placedTitle(x, bottom - length - gap, onLeft ? AlignBottomRight : AlignBottomLeft);
  else
    title = style_.placedTitle(labelX + out * (widest + gap), bottom - length / 2,
                               onLeft ? AlignRight : AlignLeft);
  drawTextBox(area, title, title.text);
}

void YAxisImpl::drawZones(DrawArea &area, const PlotGeometry &g) {
  if (!hasScale()) return;
  for (const Zone &zone : style_.zones) {
    if (std::isnan(zone.start) || std::isnan(zone.end)) continue;
    if (const auto span = spanOnAxis(coorOf(zone.start), coorOf(zone.end), style_.length))
      fillHorizontalBand(area, g, span->first, span->second, zone.color);
  }
}

void YAxisImpl::drawMarks(DrawArea &area, const PlotGeometry &g, bool onTop) {
  if (!hasScale()) return;
  for (const auto &mark : style_.marks) {
    if (mark->isOnTop() != onTop || !hasValue(mark->value())) continue;
    if (mark->lineColor() == Transparent || mark->lineWidth() <= 0) continue;
    const int offset = coorOf(mark->value());
    if (offset < 0 || offset > style_.length) continue;
    drawHorizontalLine(area, g, offset, mark->lineColor(), mark->lineWidth());
  }
}

}  // namespace quorvane
