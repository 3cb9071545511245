// The fill pass of an edge list. On every row the edges cross, their runs
// are sorted by left then right end and filled between the first and second,
// third and fourth, and so on.
//
// Edges are taken in the order of their first row and kept in an active list
// from that row until past their last, so that a row costs the edges crossing
// it. A dense curve (an area of a million points on a thousand columns) has
// hundreds of vertical edges in each column, all with the same one-pixel run
// on a row; those are counted per column instead of listed per row, so that a
// row costs its columns rather than its crossings. Equal runs pair among
// themselves, so only the count's parity and whether it is zero matter:
//   an odd count acts as one run;
//   an even count of two or more fills nothing on its own, but where a pair is
//   open it closes it before the column and opens it again after, as two
//   runs would.
// Equal runs are alike, so the order edges enter either structure leaves the
// pixels as a pass over every edge on every row would.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "drawing/edge_list.h"
#include "drawing/surface.h"

namespace quorvane {

namespace {

// Below this many vertical edges a polygon lists them per row like the rest
// (a symbol or a bar face has two).
constexpr size_t kCountedColumnEdges = 32;

// Vertical edges in columns left ... right, counted per column as rows go
// down: an edge counts from its first row until its last crossing row.
class ColumnCounts {
 public:
  ColumnCounts(int64_t left, int64_t right, int64_t top, int64_t bottom)
      : left_(left), top_(top), last_(static_cast<size_t>(bottom - top + 1)),
        counts_(static_cast<size_t>(right - left + 1), 0),
        nonZero_(static_cast<size_t>((right - left + 64) / 64), 0),
        enterAt_(last_ + 2, 0), leaveAt_(last_ + 2, 0) {}

  // Two passes over the edges: the first counts them per row, the second
  // places their columns, so that rows take their events in linear time.
  void build(const std::vector<const Edge *> &edges) {
    for (const Edge *e : edges) {
      ++enterAt_[slot(e->yMin) + 1];
      ++leaveAt_[slot(e->yMax) + 1];
    }
    for (size_t i = 1; i < enterAt_.size(); ++i) {
      enterAt_[i] += enterAt_[i - 1];
      leaveAt_[i] += leaveAt_[i - 1];
    }
    entering_.resize(enterAt_.back());
    leaving_.resize(leaveAt_.back());
    std::vector<size_t> enterNext(enterAt_.begin(), enterAt_.end() - 1);
    std::vector<size_t> leaveNext(leaveAt_.begin(), leaveAt_.end() - 1);
    for (const Edge *e : edges) {
      entering_[enterNext[slot(e->yMin)]++] = e->endX - left_;
      leaving_[leaveNext[slot(e->yMax)]++] = e->endX - left_;
    }
  }

  // Brings the counts to row y (rows are taken in order); returns the events.
  size_t advanceTo(int64_t y) {
    const size_t s = slot(y);
    for (size_t i = enterAt_[s]; i < enterAt_[s + 1]; ++i) change(entering_[i], 1);
    for (size_t i = leaveAt_[s]; i < leaveAt_[s + 1]; ++i) change(leaving_[i], -1);
    return (enterAt_[s + 1] - enterAt_[s]) + (leaveAt_[s + 1] - leaveAt_[s]);
  }
  // True once every counted edge has left, at row y.
  bool done(int64_t y) const { return leaveAt_[slot(y) + 1] == leaving_.size(); }

  // Calls f(column, count) for every column with a count, left to right.
  template <typename F>
  void forEachCounted(F &&f) const {
    for (size_t w = 0; w < nonZero_.size(); ++w)
      for (uint64_t bits = nonZero_[w]; bits != 0; bits &= bits - 1) {
        const size_t x = w * 64 + static_cast<size_t>(__builtin_ctzll(bits));
        f(left_ + static_cast<int64_t>(x), counts_[x]);
      }
  }

 private:
  // Rows above the fill's top share its first slot (their edges enter as it
  // starts), rows below its bottom the one past its last (never reached).
  size_t slot(int64_t y) const {
    return std::min(static_cast<size_t>(std::max<int64_t>(y - top_, 0)), last_);
  }
  void change(int64_t x, int64_t delta) {
    const size_t i = static_cast<size_t>(x);
    counts_[i] += delta;
    const uint64_t bit = uint64_t{1} << (i % 64);
    if (counts_[i] != 0) nonZero_[i / 64] |= bit;
    else nonZero_[i / 64] &= ~bit;
  }

  int64_t left_;
  int64_t top_;
  size_t last_;  // the slot past the bottom row
  std::vector<int64_t> counts_;
  std::vector<uint64_t> nonZero_;
  // Per row slot, where its entering and leaving columns start (prefix sums).
  std::vector<size_t> enterAt_;
  std::vector<size_t> leaveAt_;
  std::vector<int64_t> entering_;
  std::vector<int64_t> leaving_;
};

// The pairing of one row's sorted runs, taken as distinct runs with their
// counts, writing the spans between pairs.
class RowPairing {
 public:
  RowPairing(Surface &surface, int64_t y, uint32_t color)
      : surface_(surface), y_(y), color_(color) {}

  void take(const Run &r, int64_t count) {
    if (hasHeld_ && r.left == held_.left && r.right == held_.right) {
      heldCount_ += count;
      return;
    }
    flush();
    held_ = r;
    heldCount_ = count;
    hasHeld_ = true;
  }
  void flush() {
    if (!hasHeld_ || heldCount_ == 0) return;
    const bool isOdd = heldCount_ % 2 != 0;
    if (isOpen_) {
      if (openRight_ + 1 <= held_.left - 1)
        surface_.span(openRight_ + 1, held_.left - 1, y_, color_);
      // An even count closes the pair and opens the next.
      isOpen_ = !isOdd;
    } else {
      isOpen_ = isOdd;
    }
    openRight_ = held_.right;
    hasHeld_ = false;
  }

 private:
  Surface &surface_;
  int64_t y_;
  uint32_t color_;
  bool hasHeld_ = false;
  Run held_{0, 0};
  int64_t heldCount_ = 0;
  bool isOpen_ = false;
  int64_t openRight_ = 0;
};

// A vertical straight edge in the area's columns: its run on every row is
// its column.
bool isColumnEdge(const Edge &e, int64_t width) {
  return e.kind == Edge::Kind::Straight && !e.line.xMajor && e.line.dMinor == 0 &&
         e.endX >= 0 && e.endX < width;
}

// One row: the listed runs (sorted) merged with the counted columns.
void fillRow(Surface &surface, int64_t y, uint32_t color, std::vector<Run> &runs,
             const ColumnCounts *columns) {
  std::sort(runs.begin(), runs.end(), [](const Run &a, const Run &b) {
    return a.left != b.left ? a.left < b.left : a.right < b.right;
  });
  RowPairing pairing(surface, y, color);
  size_t i = 0;
  if (columns != nullptr)
    columns->forEachCounted([&](int64_t x, int64_t count) {
      for (; i < runs.size() && (runs[i].left < x || (runs[i].left == x && runs[i].right <= x));
           ++i)
        pairing.take(runs[i], 1);
      pairing.take({x, x}, count);
    });
  for (; i < runs.size(); ++i) pairing.take(runs[i], 1);
  pairing.flush();
}

}  // namespace

void fillBetweenEdges(Surface &surface, const EdgeList &list, uint32_t fillColor) {
  const std::vector<Edge> &edges = list.edges();
  int64_t top = edges[0].yMin;
  int64_t bottom = edges[0].yMax;
  for (const Edge &e : edges) {
    top = std::min(top, e.yMin);
    bottom = std::max(bottom, e.yMax);
  }
  top = std::max<int64_t>(top, 0);
  bottom = std::min<int64_t>(bottom, surface.height() - 1);
  if (top > bottom) return;
  const int64_t width = surface.width();
  auto crossesFill = [&](const Edge &e) { return e.yMin < e.yMax && e.yMax > top && e.yMin <= bottom; };
  // The edges crossing a row, sorted out once: vertical ones in the area's
  // columns, counted per column when there are enough of them, and the
  // others, listed from top to bottom by their first row.
  std::vector<const Edge *> pending;
  std::vector<const Edge *> columnEdges;
  int64_t left = width;
  int64_t right = -1;
  for (const Edge &e : edges) {
    if (!crossesFill(e)) continue;
    if (!isColumnEdge(e, width)) {
      pending.push_back(&e);
      continue;
    }
    columnEdges.push_back(&e);
    left = std::min(left, e.endX);
    right = std::max(right, e.endX);
  }
  std::unique_ptr<ColumnCounts> columns;
  if (columnEdges.size() >= kCountedColumnEdges) {
    columns = std::make_unique<ColumnCounts>(left, right, top, bottom);
    columns->build(columnEdges);
  } else {
    pending.insert(pending.end(), columnEdges.begin(), columnEdges.end());
  }
  std::sort(pending.begin(), pending.end(),
            [](const Edge *a, const Edge *b) { return a->yMin != b->yMin ? a->yMin < b->yMin : a < b; });
  std::vector<const Edge *> active;
  std::vector<Run> runs;
  size_t next = 0;
  uint64_t visits = 0;
  for (int64_t y = top; y <= bottom; ++y) {
    while (next < pending.size() && pending[next]->yMin <= y) active.push_back(pending[next++]);
    runs.clear();
    size_t kept = 0;
    for (const Edge *e : active) {
      if (!e->crosses(y)) continue;  // past its last row
      active[kept++] = e;
      runs.push_back(list.runAt(*e, y));
    }
    visits += active.size();
    active.resize(kept);
    if (columns) visits += columns->advanceTo(y);
    fillRow(surface, y, fillColor, runs, columns.get());
    // Nothing more to fill once every edge has come and gone.
    if (active.empty() && next == pending.size() && (!columns || columns->done(y))) break;
  }
  list.countFillVisits(visits);
}

}  // namespace quorvane
