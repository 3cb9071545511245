// The bookkeeping of an open seam group (drawing/area_access.h): for each
// pixel partly covered inside the group, what lay under it, the value the
// group left there and the shares of it covered and drawn. Open addressing
// on the pixel index with linear probing, at most half full; the table is
// made at the first pixel and dropped, memory and all, when the outermost
// group closes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvane {

class SeamTable {
 public:
  // One pixel's bookkeeping; covered and drawn are shares of 255.
  struct Pixel {
    uint32_t under;    // the value before the group's first share
    uint32_t last;     // the value the group left
    uint32_t covered;  // the exact coverage so far
    uint32_t drawn;    // the rounded shares drawn
  };

  // Opens a group on an area of edgePixels (width + height); groups nest.
  void open(size_t edgePixels);
  // Closes one group; the outermost drops the bookkeeping.
  void close();
  bool isOpen() const { return depth_ > 0; }

  // The bookkeeping of pixel index, now of value p: made fresh over p when
  // missing, and when p is not the value the group left there (the pixel was
  // changed since by something else), so that it always has last == p.
  Pixel &at(uint32_t index, uint32_t p);

  size_t size() const { return count_; }
  size_t slotCount() const { return slots_.size(); }

 private:
  struct Slot {
    uint32_t key;  // pixel index + 1; 0: empty
    Pixel pixel;
  };
  // Doubles the slots, or makes the first ones.
  void grow();

  std::vector<Slot> slots_;
  size_t count_ = 0;
  size_t edgePixels_ = 0;
  int depth_ = 0;
};

}  // namespace quorvane
