// Sector settings, geometry, drawing passes, image-map shapes and labels.
#include "piechart/sector.h"

#include <vector>

#include "chart/color_table.h"
#include "chart/image_map.h"
#include "chart/item_fields.h"
#include "chart/label_template.h"

namespace quorvane {

using namespace pie;

namespace {

struct PiePoint {
  int x;
  int y;
};

// The point at angle a (clockwise from 12 o'clock) on the ellipse of radii
// rx, ry around (cx, cy), each offset scaled and then rounded half away from
// zero. The products keep their order, sin(a) * rx * scale, since the pixels
// and map coordinates depend on its rounding.
PiePoint rimPoint(int cx, int cy, double a, double rx, double ry, double scale = 1) {
  return {clampToInt(int64_t{cx} + roundAway(std::sin(a) * rx * scale)),
          clampToInt(int64_t{cy} - roundAway(std::cos(a) * ry * scale))};
}

}  // namespace

void setLabelBoxFormat(TextBoxImpl &box, const char *format) {
  completes([&] {
    box.data().text = format != nullptr && *format != '\0' ? format : kDefaultSectorLabelFormat;
  });
}

TextBox *setLabelBoxStyle(TextBoxImpl &box, const char *font, double fontSize, int fontColor) {
  return guarded<TextBox *>(nullptr, [&] {
    box.data().setFont(font, fontSize == -1 ? 8 : fontSize, fontColor);
    return &box;
  });
}

SectorImpl::SectorImpl(int index, double value, const char *label)
    : value_(value),
      label_(label != nullptr ? label : ""),
      fillColor_(automaticDataColor(index)) {}

void SectorImpl::setLabelFormat(const char *format) { setLabelBoxFormat(labelBox_, format); }

TextBox *SectorImpl::setLabelStyle(const char *font, double fontSize, int fontColor) {
  TextBox *box = setLabelBoxStyle(labelBox_, font, fontSize, fontColor);
  if (box != nullptr) isLabelStyleSet_ = true;
  return box;
}

void SectorImpl::setLabelPos(int pos, int lineColor) {
  labelPos_ = pos;
  labelLineColor_ = lineColor;
}

void SectorImpl::setColor(int color, int edgeColor) {
  fillColor_ = color;
  if (edgeColor != -1) edgeColor_ = edgeColor;
}

void SectorImpl::place(const SectorGeometry &g, double fraction) {
  g_ = g;
  fraction_ = fraction;
  int d = explode_;
  if (d == -1) d = g.rx / 4;
  if (d <= 0) return;
  // Pulled out along the middle, in the proportions of the ellipse.
  const double mid = midAngle(g.start, g.end);
  g_.cx = clampToInt(int64_t{g_.cx} + roundAway(d * std::sin(mid)));
  if (g.rx != 0) g_.cy = clampToInt(int64_t{g_.cy} - roundAway(std::cos(mid) * g.ry * d / g.rx));
}

void SectorImpl::resolveLabelDefaults(const TextBoxImpl &chartBox, int chartPos,
                                      int chartLineColor) {
  TextBoxData &own = labelBox_.data();
  if (!isLabelStyleSet_) {
    std::string text = std::move(own.text);
    own = chartBox.data();
    own.text = std::move(text);
  }
  if (own.text.empty()) own.text = chartBox.data().text;
  if (labelPos_ == -1) labelPos_ = chartPos;
  if (labelLineColor_ == -1) labelLineColor_ = chartLineColor;
}

void SectorImpl::depthOffset(int &dx, int &dy) const {
  const PiePoint d = rimPoint(0, 0, g_.depthAngle, g_.depth, g_.depth);
  dx = d.x;
  dy = -d.y;
}

void SectorImpl::sideColors(DrawArea &area, int &edge, int &fill) const {
  edge = halfBrightEntry(area, edgeColor_);
  fill = halfBrightEntry(area, fillColor_);
}

SideFaces SectorImpl::sideFaces(DrawArea &area) const {
  SideFaces faces;
  if (g_.depth <= 0) return faces;
  SideFace face;
  face.x1 = g_.cx;
  face.y1 = g_.cy;
  depthOffset(face.depthX, face.depthY);
  sideColors(area, face.edgeColor, face.fillColor);
  const double theta = g_.depthAngle;
  auto add = [&](double a) {
    face.distance = normAngle(theta - a);
    if (face.distance > kPi) face.distance = kTwoPi - face.distance;
    const PiePoint rim = rimPoint(g_.cx, g_.cy, a, g_.rx, g_.ry);
    face.x2 = rim.x;
    face.y2 = rim.y;
    faces.face[faces.count++] = face;
  };
  if (normAngle(g_.start - theta) < kPi) add(g_.start);
  if (normAngle(theta - g_.end) < kPi) add(g_.end);
  return faces;
}

void SectorImpl::drawWalls(DrawArea &area) const {
  if (g_.depth < 1) return;
  int dx, dy, edge, fill;
  depthOffset(dx, dy);
  sideColors(area, edge, fill);
  const double theta = g_.depthAngle;
  // The front half of the rim runs clockwise from a to b, centred on θ.
  const double a = normAngle(theta - kHalfPi);
  const double b = normAngle(theta + kHalfPi);
  auto wall = [&](double from, double to) {
    area.cylinder(g_.cx, g_.cy, g_.rx, g_.ry, radToDeg(from), radToDeg(to), dx, -dy, edge, fill);
  };
  const double start = g_.start, end = g_.end;
  if (normAngle(midAngle(start, end) - a) >= kPi) {
    // Centred on the back: only the parts that reach round to the front show.
    if (normAngle(b - start) < kPi) wall(start, theta + kHalfPi);
    if (normAngle(end - a) < kPi) wall(theta - kHalfPi, end);
  } else {
    wall(normAngle(b - start) > kPi ? a : start, normAngle(end - a) > kPi ? b : end);
  }
}

void SectorImpl::drawTop(DrawArea &area) const {
  area.sector(g_.cx, g_.cy, g_.rx, g_.ry, radToDeg(g_.start), radToDeg(g_.end), edgeColor_,
              fillColor_);
}

void SectorImpl::drawLabel(DrawArea &area) {
  TextBoxData &box = labelBox_.data();
  if (box.text.empty()) return;
  const double mid = midAngle(g_.start, g_.end);
  int x0 = g_.cx, y0 = g_.cy;
  // Labels on the half facing the depth direction sit below the side wall.
  if (normAngle(mid - normAngle(g_.depthAngle - kHalfPi)) < kPi) {
    const PiePoint shifted = rimPoint(g_.cx, g_.cy, g_.depthAngle, g_.depth, g_.depth);
    x0 = shifted.x;
    y0 = shifted.y;
  }
  int p = labelPos_;
  if (p == -1) p = g_.rx / 10;
  // The anchor lies on the ellipse widened by p, in the pie's proportions.
  const int64_t outerRy = g_.rx != 0 ? int64_t{g_.ry} * p / g_.rx + g_.ry : g_.ry;
  const PiePoint anchor = rimPoint(x0, y0, mid, static_cast<double>(p) + g_.rx,
                                   static_cast<double>(outerRy));
  const int x = anchor.x;
  const int y = anchor.y;

  int alignment = AlignCentre;
  if (p >= 0) {
    if (mid <= kPi * 0.25 * 1) alignment = AlignBottomLeft;
    else if (mid <= kPi * 0.25 * 3) alignment = AlignLeft;
    else if (mid <= kPi * 0.25 * 4) alignment = AlignTopLeft;
    else if (mid <= kPi * 0.25 * 5) alignment = AlignTopRight;
    else if (mid <= kPi * 0.25 * 7) alignment = AlignRight;
    else alignment = AlignBottomRight;
  }
  if (p > 0 && labelLineColor_ != Transparent) {
    const PiePoint rim = rimPoint(x0, y0, mid, g_.rx, g_.ry);
    area.line(x, y, rim.x, rim.y, labelLineColor_, 1);
  }
  // The box keeps its template; the expanded text is drawn in a placed copy.
  LabelTemplate t(box.text);
  expandSectorLabel(t, label_, value_, fraction_ * 100);
  TextBoxData placed = box;
  placed.alignment = alignment;
  placed.x = x;
  placed.y = y;
  labelRect_ = drawTextBox(area, placed, t.text());
}

const char *SectorImpl::getImageCoor() {
  return guarded<const char *>(nullptr, [&] { return imageCoor(); });
}

const char *SectorImpl::imageCoor() {
  if (g_.end == g_.start) return nullptr;
  const double e = g_.end >= g_.start ? g_.end : g_.end + kTwoPi;
  const double step = kPi * 0.16666666666666666;
  // Rim points every 30 degrees on an ellipse 3.5 % larger than the pie, the
  // last one exactly at the end, then the centre. A step that lands within
  // rounding of the end is the end, so the end is never written twice.
  constexpr double kSameAngle = 1e-9;
  std::vector<int> xy;
  for (double a = g_.start;;) {
    const PiePoint rim = rimPoint(g_.cx, g_.cy, a, g_.rx, g_.ry, 1.035);
    xy.push_back(rim.x);
    xy.push_back(rim.y);
    if (!(a < e)) break;  // also ends the walk for angles that are not numbers
    a += step;
    if (a > e || e - a < kSameAngle) a = e;
  }
  xy.push_back(g_.cx);
  xy.push_back(g_.cy);
  imageCoor_ = polygonShape(xy);
  return imageCoor_.c_str();
}

const char *SectorImpl::getLabelCoor() {
  // The rectangle exists only once a label with text has been drawn.
  if (!labelRect_) return nullptr;
  return guarded<const char *>(nullptr, [&] {
    const TextBoxGeometry &r = *labelRect_;
    labelCoor_ = rectShapeAsGiven(r.x, r.y, clampToInt(int64_t{r.x} + r.width - 1),
                                  clampToInt(int64_t{r.y} + r.height - 1));
    return labelCoor_.c_str();
  });
}

}  // namespace quorvane
