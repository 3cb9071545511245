// Pie chart settings, layout (values to angles, explosion, label defaults,
// legend keys), the four drawing passes and the pie image map.
#include "piechart/pie_chart.h"

#include <algorithm>
#include <cmath>

#include "chart/image_map.h"
#include "chart/item_fields.h"

namespace quorvane {

using namespace pie;

namespace {

constexpr std::string_view kPieDefaultQuery =
    "sector={sector}&label={label}&value={value}&percent={percent}";

}  // namespace

PieChartImpl::PieChartImpl() { labelBox_.data().text = kDefaultSectorLabelFormat; }

void PieChartImpl::setPieSize(int x, int y, int r) {
  centreX_ = x;
  centreY_ = y;
  radius_ = r;
}

void PieChartImpl::set3D(int depth, double angle, bool shadowMode) {
  depth_ = depth == -1 ? std::max(1, core().height() / 20) : depth;
  angle3D_ = angle == -1 ? (depth != 0 ? 45 : 0) : angle;
  isShadowMode_ = shadowMode;
}

void PieChartImpl::setStartAngle(double startAngle, bool clockwise) {
  double s = std::fmod(startAngle, 360);
  if (s < 0) s += 360;
  startAngle_ = clockwise ? s : s - 360;
}

void PieChartImpl::setLabelFormat(const char *format) { setLabelBoxFormat(labelBox_, format); }

TextBox *PieChartImpl::setLabelStyle(const char *font, double fontSize, int fontColor) {
  return setLabelBoxStyle(labelBox_, font, fontSize, fontColor);
}

void PieChartImpl::setLabelPos(int pos, int lineColor) {
  labelPos_ = pos;
  labelLineColor_ = lineColor;
}

void PieChartImpl::setData(int n, const double *data, const char *const *labels) {
  // Running out of memory leaves the chart with the sectors made so far.
  completes([&] { replaceData(n, data, labels); });
}

void PieChartImpl::replaceData(int n, const double *data, const char *const *labels) {
  sectors_.clear();
  if (n <= 0 || data == nullptr) return;
  sectors_.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    sectors_.push_back(std::make_unique<SectorImpl>(
        i, data[i], labels != nullptr ? labels[i] : nullptr));
}

Sector *PieChartImpl::sector(int i) {
  if (i < 0 || static_cast<size_t>(i) >= sectors_.size()) return nullptr;
  return sectors_[static_cast<size_t>(i)].get();
}

void PieChartImpl::layoutChart() {
  SectorGeometry g;
  g.cx = centreX_;
  g.cy = centreY_;
  g.rx = radius_;
  if (isShadowMode_) {
    g.ry = radius_;
    g.depthAngle = degToRad(angle3D_);
  } else {
    g.ry = truncToInt(std::fabs(std::cos(degToRad(angle3D_))) * radius_);
    g.depthAngle = kPi;
  }
  g.depth = truncToInt(depth_);

  // Only finite positive values take a share; the others count as 0 (a
  // sliver of 0%). Values whose sum overflows are summed at 2^-64 of their
  // size, a power of two, so their shares are what the sum would give
  // without the overflow.
  auto share = [](double v) { return std::isfinite(v) && v > 0 ? v : 0.0; };
  double scale = 1;
  double total = 0;
  for (const auto &s : sectors_) total += share(s->value());
  if (!std::isfinite(total)) {
    scale = 0x1p-64;
    total = 0;
    for (const auto &s : sectors_) total += share(s->value()) * scale;
  }
  const bool clockwise = startAngle_ >= 0;
  const double base = degToRad(std::fabs(startAngle_));
  double cur = 0;
  for (const auto &s : sectors_) {
    const double fraction = total == 0 ? 1.0 / static_cast<double>(sectors_.size())
                                       : share(s->value()) * scale / total;
    double next;
    if (fraction >= 1) next = cur + kTwoPi - kSliver;
    else if (fraction > 0) next = cur + (kPi * fraction + kPi * fraction);
    else next = cur + kSliver;
    if (clockwise) {
      g.start = normAngle(base + cur);
      g.end = normAngle(base + next);
    } else {
      g.start = normAngle(-next - base);
      g.end = normAngle(-cur - base);
    }
    s->place(g, fraction);
    cur = next;
  }

  for (const auto &s : sectors_) s->resolveLabelDefaults(labelBox_, labelPos_, labelLineColor_);

  if (LegendBox *legend = getLegend())
    for (const auto &s : sectors_)
      if (!s->label().empty()) legend->addKey(s->label().c_str(), s->fillColor());
}

void PieChartImpl::drawChartBody(DrawArea &area) {
  // Side faces from the farthest from the depth direction to the nearest, so
  // that a nearer face covers the farther ones behind it. Faces at the same
  // distance (the shared edge of two sectors) keep the sectors' order.
  std::vector<SideFace> faces;
  faces.reserve(sectors_.size() * 2);
  for (const auto &s : sectors_) {
    const SideFaces own = s->sideFaces(area);
    faces.insert(faces.end(), own.face, own.face + own.count);
  }
  std::stable_sort(faces.begin(), faces.end(), [](const SideFace &a, const SideFace &b) {
    return a.distance < b.distance;
  });
  for (auto it = faces.rbegin(); it != faces.rend(); ++it)
    area.surface(it->x1, it->y1, it->x2, it->y2, it->depthX, it->depthY, it->edgeColor,
                 it->fillColor);
  for (const auto &s : sectors_) s->drawWalls(area);
  for (const auto &s : sectors_) s->drawTop(area);
  for (const auto &s : sectors_) s->drawLabel(area);
}

bool PieChartImpl::appendImageMap(std::string &out, const char *url, const char *queryFormat,
                                  const char *extraAttr) {
  if (sectors_.empty()) return false;
  ImageMapWriter map(url, queryFormat, kPieDefaultQuery, extraAttr);
  for (size_t i = 0; i < sectors_.size(); ++i) {
    SectorImpl &s = *sectors_[i];
    const char *shape = s.getImageCoor();
    if (shape == nullptr) continue;
    auto expand = [&](LabelTemplate &t) {
      expandSectorFields(t, static_cast<int>(i), s.label(), s.value(), s.fraction() * 100);
    };
    map.addArea(shape, expand);
    if (const char *labelShape = s.getLabelCoor()) map.addArea(labelShape, expand);
  }
  out += map.text();
  return true;
}

}  // namespace quorvane

PieChart *PieChart::create(int width, int height, int bgColor, int edgeColor) {
  return quorvane::createChart<quorvane::PieChartImpl>(
      width, height, bgColor, edgeColor,
      [](quorvane::PieChartImpl &chart) { chart.setStartAngle(0, true); });
}
