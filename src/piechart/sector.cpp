// Sector settings, geometry, drawing passes, image-map shapes and labels.
#include "piechart/sector.h"

#include <cstdio>

#include "chart/item_fields.h"
#include "chart/label_template.h"

namespace quorvane {

using namespace pie;

void setLabelBoxStyle(TextBoxImpl &box, const char *font, double fontSize, int fontColor) {
  TextBoxData &d = box.data();
  d.font = font != nullptr ? font : "";
  d.fontHeight = fontSize == -1 ? 8 : fontSize;
  d.fontColor = fontColor;
}

SectorImpl::SectorImpl(int index, double value, const char *label)
    : value_(value),
      label_(label != nullptr ? label : ""),
      fillColor_(static_cast<int>(0xFFFF0008u) + index) {}

void SectorImpl::setLabelFormat(const char *format) {
  completes([&] {
    labelBox_.data().text = format != nullptr && *format != '\0' ? format
                                                                : kDefaultSectorLabelFormat;
  });
}

TextBox *SectorImpl::setLabelStyle(const char *font, double fontSize, int fontColor) {
  return guarded<TextBox *>(nullptr, [&] {
    setLabelBoxStyle(labelBox_, font, fontSize, fontColor);
    isLabelStyleSet_ = true;
    return &labelBox_;
  });
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
  dx = roundAway(g_.depth * std::sin(g_.depthAngle));
  dy = roundAway(g_.depth * std::cos(g_.depthAngle));
}

void SectorImpl::sideColors(DrawArea &area, int &edge, int &fill) const {
  edge = sideEdgeColor_ != -1 ? sideEdgeColor_ : halfColor(area.getARGBColor(edgeColor_));
  fill = sideFillColor_ != -1 ? sideFillColor_ : halfColor(area.getARGBColor(fillColor_));
}

void SectorImpl::collectSideFaces(DrawArea &area, SideFace *faces, int &count) const {
  if (g_.depth <= 0) return;
  SideFace face;
  face.x1 = g_.cx;
  face.y1 = g_.cy;
  depthOffset(face.depthX, face.depthY);
  sideColors(area, face.edgeColor, face.fillColor);
  const double theta = g_.depthAngle;
  auto add = [&](double a) {
    // Angular distance between the edge and the depth direction, 0 to π.
    double dist = normAngle(theta - a);
    if (dist > kPi) dist = kTwoPi - dist;
    face.key = truncToInt(dist);
    face.x2 = clampToInt(int64_t{g_.cx} + roundAway(std::sin(a) * g_.rx));
    face.y2 = clampToInt(int64_t{g_.cy} - roundAway(std::cos(a) * g_.ry));
    faces[count++] = face;
  };
  if (normAngle(g_.start - theta) < kPi) add(g_.start);
  if (normAngle(theta - g_.end) < kPi) add(g_.end);
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
    x0 = clampToInt(int64_t{g_.cx} + roundAway(g_.depth * std::sin(g_.depthAngle)));
    y0 = clampToInt(int64_t{g_.cy} - roundAway(g_.depth * std::cos(g_.depthAngle)));
  }
  int p = labelPos_;
  if (p == -1) p = g_.rx / 10;
  const int x = clampToInt(int64_t{x0} + roundAway((static_cast<double>(p) + g_.rx) * std::sin(mid)));
  const int64_t outerRy = g_.rx != 0 ? int64_t{g_.ry} * p / g_.rx + g_.ry : g_.ry;
  const int y = clampToInt(int64_t{y0} - roundAway(outerRy * std::cos(mid)));

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
    area.line(x, y, clampToInt(int64_t{x0} + roundAway(g_.rx * std::sin(mid))),
              clampToInt(int64_t{y0} - roundAway(g_.ry * std::cos(mid))), labelLineColor_, 1);
  }
  LabelTemplate t(box.text);
  expandSectorLabel(t, label_, value_, fraction_ * 100);
  box.text = t.text();
  box.alignment = alignment;
  labelBox_.setPos(x, y);
  labelBox_.draw(&area);
  isLabelDrawn_ = true;
}

const char *SectorImpl::getImageCoor() {
  return guarded<const char *>(nullptr, [&] { return imageCoor(); });
}

const char *SectorImpl::imageCoor() {
  if (g_.end == g_.start) return nullptr;
  const double e = g_.end >= g_.start ? g_.end : g_.end + kTwoPi;
  const double step = kPi * 0.16666666666666666;
  imageCoor_ = "shape=\"poly\" coords=\"";
  char buf[48];
  // Rim points every 30 degrees on an ellipse 3.5 % larger than the pie, the
  // last one exactly at the end, then the centre. A step that lands within
  // rounding of the end is the end, so the end is never written twice.
  constexpr double kSameAngle = 1e-9;
  for (double a = g_.start;;) {
    std::snprintf(buf, sizeof buf, "%d,%d,",
                  clampToInt(int64_t{g_.cx} + roundAway(std::sin(a) * g_.rx * 1.035)),
                  clampToInt(int64_t{g_.cy} - roundAway(std::cos(a) * g_.ry * 1.035)));
    imageCoor_ += buf;
    if (!(a < e)) break;  // also ends the walk for angles that are not numbers
    a += step;
    if (a > e || e - a < kSameAngle) a = e;
  }
  std::snprintf(buf, sizeof buf, "%d,%d\"", g_.cx, g_.cy);
  imageCoor_ += buf;
  return imageCoor_.c_str();
}

const char *SectorImpl::getLabelCoor() {
  // The rectangle exists only once the label has been placed and drawn.
  if (!isLabelDrawn_ || labelBox_.data().text.empty()) return nullptr;
  return labelBox_.getImageCoor();
}

}  // namespace quorvane
