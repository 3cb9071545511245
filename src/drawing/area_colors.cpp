// The colour table and the special-colour list of a drawing area.
#include "drawing/area_colors.h"

#include <algorithm>

#include "base/guarded.h"

namespace quorvane {

bool AreaColors::isOrdered(uint32_t resolved) const {
  const SpecialColor *s = special(resolved);
  return s != nullptr && s->isOrdered();
}

void AreaColors::setTable(const int *colors, int n, int offset) {
  if (colors == nullptr || n < 1 || offset < 0) return;
  const int64_t limit = 0xFFFE;
  int64_t count = n;
  if (offset + count > limit) count = limit - offset;
  if (count <= 0) return;
  completes([&] {
    const size_t end = static_cast<size_t>(offset + count);
    if (table_.size() < end) table_.resize(end, kTransparent);
    std::copy(reinterpret_cast<const uint32_t *>(colors),
              reinterpret_cast<const uint32_t *>(colors) + count, table_.begin() + offset);
  });
}

int AreaColors::add(std::unique_ptr<SpecialColor> color) {
  // The colour value has 16 bits of index: once they are used up, creation
  // fails and the new colour draws nothing.
  if (specials_.size() > 0xFFFF) return static_cast<int>(kTransparent);
  specials_.push_back(std::move(color));
  return static_cast<int>(specialColor(static_cast<uint32_t>(specials_.size() - 1)));
}

}  // namespace quorvane
