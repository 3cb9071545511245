// The shapes a layer drew, kept for its image map and its coordinate queries:
// one record per (data set, point) and one per point's whole group (data set
// -1). A record holds what shows: the part of the shape on the image, and
// nothing for an item off the image or whose values have no place on their
// y axis (no scale), so that the map has no area where nothing was drawn.
// Records live in one value array with a slot per item, so that a drawing of
// n points costs memory by its shapes, not by one allocation per item.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quorvane {

class ShapeRecords {
 public:
  // Empties the records for a drawing of isPlaced.size() data sets of points
  // points; isPlaced[d] tells whether data set d's values have a place.
  void reset(std::vector<bool> isPlaced, int points);
  // Records the shape of (d, i) on an image of width x height: 3 values a
  // circle, 4 a rectangle by two corners, any other even count a polygon. A
  // later record of the same item replaces it.
  void record(int d, int i, std::span<const int> shape, int width, int height);
  // The record of (d, i); empty when nothing was drawn there.
  std::span<const int> shape(int d, int i) const;
  // The values held by every record of the drawing, replaced ones included.
  size_t valueCount() const { return values_.size(); }

 private:
  // The slot of (d, i), if the last drawing had one.
  std::optional<size_t> slotOf(int d, int i) const;

  // Slot (d + 1) * points + i names its values in values_; a count of 0 is no shape.
  struct Slot {
    uint32_t start = 0;
    uint32_t count = 0;
  };
  std::vector<Slot> slots_;
  std::vector<int> values_;
  std::vector<int> clipScratch_;
  std::vector<bool> isPlaced_;
  bool isAnyPlaced_ = false;
  int points_ = 0;
};

}  // namespace quorvane
