// Shape records: slots by item into one array of values, each shape cut to
// the image as it is recorded.
#include "xychart/shape_records.h"

#include <algorithm>
#include <limits>

#include "chart/image_map.h"

namespace quorvane {

void ShapeRecords::reset(std::vector<bool> isPlaced, int points) {
  isPlaced_ = std::move(isPlaced);
  isAnyPlaced_ = std::find(isPlaced_.begin(), isPlaced_.end(), true) != isPlaced_.end();
  points_ = std::max(0, points);
  slots_.assign((isPlaced_.size() + 1) * static_cast<size_t>(points_), {});
  values_.clear();
}

std::optional<size_t> ShapeRecords::slotOf(int d, int i) const {
  if (d < -1 || d >= static_cast<int>(isPlaced_.size()) || i < 0 || i >= points_)
    return std::nullopt;
  return static_cast<size_t>(d + 1) * static_cast<size_t>(points_) + static_cast<size_t>(i);
}

void ShapeRecords::record(int d, int i, std::span<const int> shape, int width, int height) {
  const auto slot = slotOf(d, i);
  if (!slot) return;
  // The values of a replaced shape stay behind unused until the next drawing.
  slots_[*slot] = {};
  if (!(d >= 0 ? isPlaced_[static_cast<size_t>(d)] : isAnyPlaced_)) return;
  const std::span<const int> visible = shapeOnImage(shape, width, height, clipScratch_);
  if (visible.empty() ||
      values_.size() + visible.size() > std::numeric_limits<uint32_t>::max())
    return;
  slots_[*slot] = {static_cast<uint32_t>(values_.size()), static_cast<uint32_t>(visible.size())};
  values_.insert(values_.end(), visible.begin(), visible.end());
}

std::span<const int> ShapeRecords::shape(int d, int i) const {
  const auto slot = slotOf(d, i);
  if (!slot) return {};
  const Slot s = slots_[*slot];
  return std::span<const int>(values_).subspan(s.start, s.count);
}

}  // namespace quorvane
