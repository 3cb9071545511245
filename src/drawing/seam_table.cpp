// The seam groups' pixel table: open addressing, linear probing.
#include "drawing/seam_table.h"

#include <algorithm>

namespace quorvane {

namespace {

// Fibonacci hashing: the pixel indices of an edge are spread over the table.
size_t slotOf(uint32_t key, size_t mask) { return (key * size_t{2654435761u}) & mask; }

}  // namespace

void SeamTable::open(size_t edgePixels) {
  if (depth_++ == 0) edgePixels_ = edgePixels;
}

void SeamTable::close() {
  if (depth_ == 0 || --depth_ > 0) return;
  // Swapped with an empty table, which holds no memory.
  std::vector<Slot>().swap(slots_);
  count_ = 0;
}

void SeamTable::grow() {
  // A chart's partly covered pixels lie along its edges: start with room for
  // a few times its perimeter (at most 16 Ki slots, 320 KiB), and grow.
  size_t size = slots_.size() * 2;
  if (size == 0) {
    const size_t wanted = std::min<size_t>(4 * edgePixels_, 1 << 14);
    for (size = 1024; size < wanted;) size *= 2;
  }
  std::vector<Slot> grown(size, Slot{0, {}});
  const size_t mask = size - 1;
  for (const Slot &slot : slots_) {
    if (slot.key == 0) continue;
    size_t i = slotOf(slot.key, mask);
    while (grown[i].key != 0) i = (i + 1) & mask;
    grown[i] = slot;
  }
  slots_.swap(grown);
}

SeamTable::Pixel &SeamTable::at(uint32_t index, uint32_t p) {
  if (2 * (count_ + 1) > slots_.size()) grow();
  const uint32_t key = index + 1;
  const size_t mask = slots_.size() - 1;
  size_t i = slotOf(key, mask);
  while (slots_[i].key != 0 && slots_[i].key != key) i = (i + 1) & mask;
  Slot &slot = slots_[i];
  if (slot.key == 0) {
    ++count_;
    slot.key = key;
  } else if (slot.pixel.last == p) {
    return slot.pixel;
  }
  slot.pixel = Pixel{p, p, 0, 0};
  return slot.pixel;
}

}  // namespace quorvane
