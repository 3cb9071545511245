// HLOC drawing: for each point index a vertical line from the high to the low
// value, a tick to the left at the open value and one to the right at the
// close value, each half a category slot long, all against the y axis of the
// high data set. Each index records one aggregate rectangle spanning its slot
// and its values; NoValue and values that are not finite are missing.
// Positions are summed in 64 bits and saturate into int. The lines of a run
// of points on one column are drawn together, less those that later lines
// of the run paint over (StrokeRun).
#include "xychart/hloc_layer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "base/colors.h"
#include "base/int_math.h"
#include "drawing/area_access.h"
#include "xychart/axes.h"
#include "xychart/cover_scan.h"

namespace quorvane {

namespace {

// Data sets 0 to 3 in this order; the open and close data sets may be absent.
enum Role : size_t { kHigh, kLow, kOpen, kClose, kRoleCount };

// The layer's fields, then the four values.
constexpr std::array<TemplateField, kLayerFieldCount + kRoleCount> kHLOCFields = [] {
  std::array<TemplateField, kLayerFieldCount + kRoleCount> fields{};
  std::copy(std::begin(kLayerFields), std::end(kLayerFields), fields.begin());
  fields[kLayerFieldCount + kHigh] = {"{high", true};
  fields[kLayerFieldCount + kLow] = {"{low", true};
  fields[kLayerFieldCount + kOpen] = {"{open", true};
  fields[kLayerFieldCount + kClose] = {"{close", true};
  return fields;
}();

// The value of data set role at point i; NoValue when the data set is absent.
double valueOf(const std::vector<std::unique_ptr<DataSetImpl>> &sets, size_t role, int i) {
  return role < sets.size() ? sets[role]->value(i) : NoValue;
}

// The column midway between a and b, rounded down on either side of zero:
// the close tick of one index and the open tick of the next meet there.
int midColumn(int64_t a, int64_t b) {
  const int64_t sum = a + b;
  return clampToInt(sum >= 0 ? sum / 2 : (sum - 1) / 2);
}

// The lines of a run of points, queued and drawn in order less those that
// later lines of the run paint over. A line along a row or a column of
// width w is a rectangle of pixels: its own run of columns or rows and w
// pixels across it from w / 2 before (DrawArea::line, w limited by the
// larger side of the area); one of an opaque plain colour, drawn aliased
// (paintsOver), paints all of it opaquely. Lines of special colours are never left out: a dash carries its
// phase from line to line.
class StrokeRun {
 public:
  StrokeRun(DrawArea &area, int width, bool leavesOut)
      : area_(area),
        width_(width),
        across_(std::min(width, std::max(area.getWidth(), area.getHeight()))),
        leavesOut_(leavesOut) {}

  void add(int x1, int y1, int x2, int y2, int color) {
    strokes_.push_back({x1, y1, x2, y2, color, false});
    if (strokes_.size() >= kMaxStrokes) flush();
  }

  void flush() {
    if (leavesOut_ && width_ >= 1) markCovered();
    for (const Stroke &s : strokes_) {
      if (s.isCovered) continue;
      area_.line(s.x1, s.y1, s.x2, s.y2, s.color, width_);
      ++drawn_;
    }
    strokes_.clear();
  }

  uint64_t drawn() const { return drawn_; }

 private:
  static constexpr size_t kMaxStrokes = 4096;

  struct Stroke {
    int x1, y1, x2, y2;
    int color;
    bool isCovered;
  };

  void markCovered() {
    cover_.clear();
    for (size_t k = strokes_.size(); k-- > 0;) {
      Stroke &s = strokes_[k];
      if (s.x1 != s.x2 && s.y1 != s.y2) continue;
      // Along a row (a single pixel too) or down a column.
      const bool isRow = s.y1 == s.y2;
      const int64_t from = (isRow ? int64_t{s.y1} : s.x1) - across_ / 2;
      const int64_t left = isRow ? std::min(s.x1, s.x2) : from;
      const int64_t right = isRow ? std::max(s.x1, s.x2) : from + across_ - 1;
      const int64_t top = isRow ? from : std::min(s.y1, s.y2);
      const int64_t bottom = isRow ? from + across_ - 1 : std::max(s.y1, s.y2);
      const auto c = static_cast<uint32_t>(area_.getARGBColor(s.color));
      if (isSpecialColor(c)) continue;
      s.isCovered = cover_.covers(left, right, top, bottom);
      if (paintsOver(area_, s.color)) cover_.add(left, right, top, bottom);
    }
  }

  DrawArea &area_;
  int width_;
  int64_t across_;
  bool leavesOut_;
  std::vector<Stroke> strokes_;
  CoverScan cover_;
  uint64_t drawn_ = 0;
};

}  // namespace

void HLOCLayerImpl::drawLayer(DrawArea &area) {
  const auto &sets = dataSets();
  strokesDrawn_ = 0;
  if (sets.size() < 2) return;
  const DataSetImpl &high = *sets[kHigh];
  const DataSetImpl &low = *sets[kLow];
  const bool primary = high.usesPrimaryAxis();
  const int thickness = lineWidth();
  XAxisImpl &axis = xAxis();
  const int64_t layerLeft = x();
  const int64_t layerRight = layerLeft + width();
  auto column = [&](double v) { return layerLeft + axis.getCoor(v); };
  auto row = [&](double v) { return LayerCore::getYCoor(v, primary); };

  StrokeRun strokes(area, thickness, leavesOutCovered_);
  int runColumn = 0;  // the column of the queued lines
  const int n = std::min(high.size(), low.size());
  for (int i = 0; i < n; ++i) {
    std::array<double, kRoleCount> v;
    for (size_t role = 0; role < kRoleCount; ++role) v[role] = valueOf(sets, role, i);
    const int64_t at = column(i);
    const int atColumn = clampToInt(at);
    if (i > 0 && atColumn != runColumn) strokes.flush();
    runColumn = atColumn;

    if (hasValue(v[kHigh]) && hasValue(v[kLow]))
      strokes.add(atColumn, row(v[kHigh]), atColumn, row(v[kLow]), high.color());
    // The ticks run to the midpoints with the neighbouring positions, which
    // lie beyond the axis for the first and the last index.
    if (hasValue(v[kOpen])) {
      const int y = row(v[kOpen]);
      strokes.add(midColumn(column(i - 1.0), at), y, atColumn, y, sets[kOpen]->color());
    }
    if (hasValue(v[kClose])) {
      const int y = row(v[kClose]);
      strokes.add(atColumn, y, midColumn(at, column(i + 1.0)), y, sets[kClose]->color());
    }

    bool any = false;
    double highest = 0;
    double lowest = 0;
    for (const double value : v) {
      if (!hasValue(value)) continue;
      highest = any ? std::max(highest, value) : value;
      lowest = any ? std::min(lowest, value) : value;
      any = true;
    }
    if (!any) continue;
    const int left = clampToInt(std::max(column(i - 0.5), layerLeft));
    const int right = clampToInt(std::min(column(i + 0.5), layerRight));
    const int top = row(highest);
    const int bottom = row(lowest);
    recordShape(-1, i, {left, std::min(top, bottom), right, std::max(top, bottom)});
  }
  strokes.flush();
  strokesDrawn_ = strokes.drawn();
}

std::span<const TemplateField> HLOCLayerImpl::mapFields() const { return kHLOCFields; }

void HLOCLayerImpl::mapFieldValues(std::span<FieldValue> values, int d, int i,
                                   const ItemSums &sums) const {
  LayerCore::mapFieldValues(values, d, i, sums);
  const auto &sets = dataSets();
  for (size_t role = 0; role < kRoleCount; ++role)
    values[kLayerFieldCount + role].setNumber(role < sets.size() ? mapValue(*sets[role], i)
                                                                 : NoValue);
}

}  // namespace quorvane
