// HLOC drawing: for each point index a vertical line from the high to the low
// value, a tick to the left at the open value and one to the right at the
// close value, each half a category slot long, all against the y axis of the
// high data set. Each index records one aggregate rectangle spanning its slot
// and its values; NoValue and values that are not finite are missing.
// Positions are summed in 64 bits and saturate into int.
#include "xychart/hloc_layer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "base/int_math.h"
#include "xychart/axes.h"

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

}  // namespace

void HLOCLayerImpl::drawLayer(DrawArea &area) {
  const auto &sets = dataSets();
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

  const int n = std::min(high.size(), low.size());
  for (int i = 0; i < n; ++i) {
    std::array<double, kRoleCount> v;
    for (size_t role = 0; role < kRoleCount; ++role) v[role] = valueOf(sets, role, i);
    const int64_t at = column(i);
    const int atColumn = clampToInt(at);

    if (hasValue(v[kHigh]) && hasValue(v[kLow]))
      area.line(atColumn, row(v[kHigh]), atColumn, row(v[kLow]), high.color(), thickness);
    // The ticks run to the midpoints with the neighbouring positions, which
    // lie beyond the axis for the first and the last index.
    if (hasValue(v[kOpen])) {
      const int y = row(v[kOpen]);
      area.line(midColumn(column(i - 1.0), at), y, atColumn, y, sets[kOpen]->color(), thickness);
    }
    if (hasValue(v[kClose])) {
      const int y = row(v[kClose]);
      area.line(atColumn, y, midColumn(at, column(i + 1.0)), y, sets[kClose]->color(), thickness);
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
