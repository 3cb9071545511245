// The colours of one drawing area: its colour table and its special colours
// (dash, pattern, gradient, shear). A colour is resolved in two steps: the
// table step (lookup), done once per primitive, then the position step
// (evaluate) for special colours only. The position step never looks the
// table up again, so a table entry naming a table colour stays one level.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/colors.h"
#include "drawing/special_colors.h"

namespace quorvane {

class AreaColors {
 public:
  uint32_t lookup(uint32_t color) const {
    if (!isTableColor(color)) return color;
    const size_t index = colorIndex(color);
    return index < table_.size() ? table_[index] : kTransparent;
  }
  uint32_t lookup(int color) const { return lookup(static_cast<uint32_t>(color)); }
  // The special colour a looked-up value names; null for a plain colour and
  // for an index past the list (which draws nothing).
  SpecialColor *special(uint32_t resolved) const {
    if (!isSpecialColor(resolved)) return nullptr;
    const size_t index = colorIndex(resolved);
    return index < specials_.size() ? specials_[index].get() : nullptr;
  }
  uint32_t evaluate(uint32_t resolved, int64_t x, int64_t y) {
    if (!isSpecialColor(resolved)) return resolved;
    SpecialColor *s = special(resolved);
    return s != nullptr ? s->colorAt(x, y) : kTransparent;
  }
  // Whether a looked-up colour must be evaluated in drawing order (a dash,
  // or a shear reading one).
  bool isOrdered(uint32_t resolved) const;

  // Sets table entries offset ... offset + n - 1 (below 0xFFFE), the table
  // growing with Transparent entries as needed.
  void setTable(const int *colors, int n, int offset);
  // Appends a special colour and returns its colour value; Transparent once
  // the 16 bits of index are used up.
  int add(std::unique_ptr<SpecialColor> color);

 private:
  std::vector<uint32_t> table_;
  std::vector<std::unique_ptr<SpecialColor>> specials_;
};

}  // namespace quorvane
