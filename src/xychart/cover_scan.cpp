// The rows and top faces that later paints cover, per column range.
#include "xychart/cover_scan.h"

#include <algorithm>

namespace quorvane {

const CoverScan::Range *CoverScan::find(int64_t left, int64_t right) const {
  for (const Range &r : ranges_)
    if (r.left == left && r.right == right) return &r;
  return nullptr;
}

CoverScan::Range *CoverScan::at(int64_t left, int64_t right) {
  for (Range &r : ranges_)
    if (r.left == left && r.right == right) return &r;
  if (ranges_.size() >= kMaxRanges) return nullptr;
  ranges_.push_back({left, right, false, 0, 0, kNoRow});
  return &ranges_.back();
}

bool CoverScan::covers(int64_t left, int64_t right, int64_t top, int64_t bottom) const {
  const std::optional<Rows> rows = rowsOf(left, right);
  return rows && rows->top <= top && bottom <= rows->bottom;
}

std::optional<CoverScan::Rows> CoverScan::rowsOf(int64_t left, int64_t right) const {
  const Range *r = find(left, right);
  if (r == nullptr || !r->hasRows) return std::nullopt;
  return Rows{r->top, r->bottom};
}

void CoverScan::add(int64_t left, int64_t right, int64_t top, int64_t bottom) {
  Range *r = at(left, right);
  if (r == nullptr) return;
  // Rows that meet or touch the kept ones join them; otherwise the longer
  // run is kept.
  if (r->hasRows && top <= r->bottom + 1 && bottom >= r->top - 1) {
    r->top = std::min(r->top, top);
    r->bottom = std::max(r->bottom, bottom);
  } else if (!r->hasRows || bottom - top > r->bottom - r->top) {
    r->top = top;
    r->bottom = bottom;
    r->hasRows = true;
  }
}

void CoverScan::addTopFace(int64_t left, int64_t right, int64_t row) {
  if (Range *r = at(left, right)) r->faceRow = std::min(r->faceRow, row);
}

int64_t CoverScan::topFaceRow(int64_t left, int64_t right) const {
  const Range *r = find(left, right);
  return r != nullptr ? r->faceRow : kNoRow;
}

}  // namespace quorvane
