// The category (x) axis: its labels, the pixel offset of a category, and the
// drawing of the axis line, ticks, labels, title, zones and marks. A label's
// first character picks its tick: "-" a minor one, "~" none, and either is
// not shown; a backslash before either shows it as text under a major tick.
// Offsets are summed in 64 bits and saturate, so hostile lengths and gaps
// cannot wrap.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

#include "base/alignment.h"
#include "base/missing_value.h"
#include "xychart/axes.h"

namespace quorvane {

namespace {

enum class TickKind { kMajor, kMinor, kNone };

struct LabelParts {
  TickKind tick;
  std::string_view text;  // as shown
};

LabelParts splitLabel(std::string_view label) {
  if (label.empty()) return {TickKind::kMajor, label};
  if (label[0] == '-') return {TickKind::kMinor, label.substr(1)};
  if (label[0] == '~') return {TickKind::kNone, label.substr(1)};
  if (label[0] == '\\' && label.size() > 1 && (label[1] == '-' || label[1] == '~'))
    return {TickKind::kMajor, label.substr(1)};
  return {TickKind::kMajor, label};
}

// The tick from the pixel next to the axis line to its signed end, along
// direction d (+1 down, -1 up).
void drawTick(DrawArea &area, int x, int axisY, int d, int64_t end, int color, int width) {
  if (end == 0) return;
  const int64_t start = end > 0 ? 1 : -1;
  area.line(x, clampToInt(axisY + d * start), x, clampToInt(axisY + d * end), color, width);
}

// The label alignment for a font angle: the point of the label nearest the
// axis. labelsBelow is true when labels hang below their anchor row.
int labelAlignment(double angleDeg, bool labelsBelow) {
  double a = std::fmod(angleDeg, 360.0);
  if (std::isnan(a)) a = 0;
  if (a < 0) a += 360;
  // The table repeats every half turn: 0-15 and 76-105 centre, 16-75 one
  // corner, 106-165 the other, 166-179 centre again.
  const int deg = static_cast<int>(a) % 180;
  if (deg <= 15 || (deg >= 76 && deg <= 105) || deg >= 166)
    return labelsBelow ? AlignTopCentre : AlignBottomCentre;
  if (deg <= 75) return labelsBelow ? AlignTopRight : AlignBottomLeft;
  return labelsBelow ? AlignTopLeft : AlignBottomRight;
}

}  // namespace

XAxisImpl::XAxisImpl() {
  style_.labelGap = 3;
  style_.titleAlignment = AlignBottomCentre;
  style_.titleGap = 3;
  style_.majorTickLength = 3;
  style_.minorTickLength = 2;
  style_.length = 100;
}

int XAxisImpl::getCoor(double v) {
  return categoryCoor(v, min_, max_, style_.length, indent_ == 1);
}

TextBox *XAxisImpl::setLabels(int count, const char *const *labels) {
  return guarded<TextBox *>(nullptr, [&]() -> TextBox * {
    std::vector<std::string> copy;
    if (labels != nullptr && count > 0) {
      copy.reserve(static_cast<size_t>(count));
      for (int i = 0; i < count; ++i) copy.emplace_back(labels[i] != nullptr ? labels[i] : "");
    }
    labels_.swap(copy);
    return &style_.labelStyle;
  });
}

const char *XAxisImpl::getLabel(int i) {
  if (i < 0 || static_cast<size_t>(i) >= labels_.size()) return nullptr;
  return labels_[static_cast<size_t>(i)].c_str();
}

void XAxisImpl::setRange(double min, double max, int length) {
  min_ = min;
  max_ = max;
  style_.length = length;
}

std::vector<std::optional<int>> XAxisImpl::markOffsets() {
  std::vector<std::optional<int>> offsets;
  offsets.reserve(style_.marks.size());
  for (const auto &mark : style_.marks) {
    const int offset = hasValue(mark->value()) ? getCoor(mark->value()) : -1;
    offsets.push_back(offset >= 0 && offset <= style_.length ? std::optional(offset)
                                                             : std::nullopt);
  }
  return offsets;
}

std::vector<int> XAxisImpl::gridOffsets() {
  std::vector<int> offsets;
  for (size_t i = 0; i < labels_.size(); ++i)
    if (!labels_[i].empty() && splitLabel(labels_[i]).tick != TickKind::kNone)
      offsets.push_back(getCoor(static_cast<double>(i)));
  return offsets;
}

XAxisImpl::TickRows XAxisImpl::tickRows(int direction, int axisColor) const {
  TickRows rows;
  rows.d = direction < 0 ? -1 : 1;
  rows.tickColor = style_.resolvedTickColor(axisColor);
  rows.majorEnd = tickEnd(style_.majorTickLength, rows.tickColor);
  rows.minorEnd = tickEnd(style_.minorTickLength, rows.tickColor);
  rows.labelRow = rows.d * labelOffset(style_.labelGap, rows.majorEnd);
  rows.labelsBelow = rows.d * int64_t{style_.labelGap} >= 1;
  return rows;
}

void XAxisImpl::draw(DrawArea &area, int left, int axisY, int direction) {
  const int axisColor = resolvedAxisColor();
  if (style_.length > 0)
    area.line(left, axisY, clampToInt(left + int64_t{style_.length} - 1), axisY, axisColor, 1);
  const TickRows rows = tickRows(direction, axisColor);
  const int64_t tallest = drawTicksAndLabels(area, left, axisY, rows);
  drawTitle(area, left, axisY, rows, tallest);
}

int64_t XAxisImpl::drawTicksAndLabels(DrawArea &area, int left, int axisY, const TickRows &rows) {
  const int d = rows.d;
  const int labelY = clampToInt(axisY + rows.labelRow);
  int64_t tallest = 0;
  auto drawLabel = [&](TextBoxData box, int x, std::string_view text) {
    box.x = x;
    box.y = labelY;
    box.alignment = labelAlignment(box.angleDeg, rows.labelsBelow);
    if (const auto g = drawTextBox(area, box, std::string(text)))
      tallest = std::max<int64_t>(tallest, g->height);
  };

  // A mark's label and tick take the place of a category's at the same column.
  const std::vector<std::optional<int>> marks = markOffsets();
  for (size_t i = 0; i < labels_.size(); ++i) {
    if (labels_[i].empty()) continue;
    const int offset = getCoor(static_cast<double>(i));
    if (std::find(marks.begin(), marks.end(), std::optional(offset)) != marks.end()) continue;
    const LabelParts parts = splitLabel(labels_[i]);
    const int x = clampToInt(int64_t{left} + offset);
    if (parts.tick != TickKind::kNone)
      drawTick(area, x, axisY, d, parts.tick == TickKind::kMajor ? rows.majorEnd : rows.minorEnd,
               rows.tickColor, 1);
    if (!parts.text.empty()) drawLabel(style_.labelStyle.data(), x, parts.text);
  }
  for (size_t k = 0; k < marks.size(); ++k) {
    if (!marks[k]) continue;
    const MarkImpl &mark = *style_.marks[k];
    const int x = clampToInt(int64_t{left} + *marks[k]);
    drawTick(area, x, axisY, d, tickEnd(style_.majorTickLength, mark.tickColor()), mark.tickColor(),
             mark.lineWidth());
    TextBoxData box = mark.data();
    box.fontColor = mark.textColor();
    drawLabel(box, x, box.text);
  }
  return tallest;
}

void XAxisImpl::drawTitle(DrawArea &area, int left, int axisY, const TickRows &rows,
                          int64_t tallest) {
  if (style_.title.data().text.empty()) return;
  const int a = normalAlignment(style_.titleAlignment);
  const int64_t length = style_.length;
  const int64_t titleGap = style_.titleGap;
  // A right-column title starts beyond the right end, as a left-column one
  // ends before the left end.
  const int64_t x = isLeftColumn(a)     ? left - titleGap
                    : isCentreColumn(a) ? left + length / 2
                                        : left + length - 1 + titleGap;
  // Tick ends and the label row as rows below (+) or above (-) the axis line.
  const int64_t majorRow = rows.d * rows.majorEnd, minorRow = rows.d * rows.minorEnd;
  const int64_t labelRow = rows.labelRow;
  int64_t y = axisY;
  if (a == AlignBottomLeft || a == AlignBottomRight) {
    y = axisY + titleGap;
  } else if (a == AlignBottomCentre) {
    // Below the lowest tick or label.
    int64_t depth = std::max(minorRow, majorRow);
    if (labelRow > 0) depth = std::max(depth, labelRow + tallest);
    y = axisY + titleGap + (depth >= 1 ? depth : 0);
  } else if (a == AlignTopCentre) {
    // Above the highest tick or label.
    int64_t height = std::min(minorRow, majorRow);
    if (labelRow < 0) height = std::min(height, labelRow - tallest);
    y = axisY - titleGap + (height < 0 ? height : 0);
  } else if (a == AlignTopLeft || a == AlignTopRight) {
    y = axisY - titleGap;
  }
  // The title's own point that faces the axis is the one opposite its position.
  const TextBoxData title = style_.placedTitle(x, y, 10 - a);
  drawTextBox(area, title, title.text);
}

void XAxisImpl::drawZones(DrawArea &area, const PlotGeometry &g) {
  for (const Zone &zone : style_.zones) {
    if (std::isnan(zone.start) || std::isnan(zone.end)) continue;
    if (const auto span = spanOnAxis(getCoor(zone.start), getCoor(zone.end), style_.length))
      fillVerticalBand(area, g, span->first, span->second, zone.color);
  }
}

void XAxisImpl::drawMarks(DrawArea &area, const PlotGeometry &g, bool onTop) {
  const std::vector<std::optional<int>> offsets = markOffsets();
  for (size_t k = 0; k < offsets.size(); ++k) {
    const MarkImpl &mark = *style_.marks[k];
    if (mark.isOnTop() != onTop || !offsets[k]) continue;
    if (mark.lineColor() == Transparent || mark.lineWidth() <= 0) continue;
    drawVerticalLine(area, g, *offsets[k], mark.lineColor(), mark.lineWidth());
  }
}

}  // namespace quorvane
