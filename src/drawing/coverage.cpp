// The coverage rasteriser. Outlines are clipped to the area in floating point
// (parts left of it are laid onto its left side, where they still cover what
// lies to their right; parts right of it, above it and below it are dropped),
// then kept as segments in 1/256 pixel. The cells are accumulated band by band
// in a dense buffer as wide as the outlines' bounds, so that its size stays
// bounded however large the shape; each row is then swept over the span its
// cells touched, plus the run to the area's right side where the shape runs
// out of it.
#include "drawing/coverage.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace quorvane {

void Outline::moveTo(double x, double y) {
  starts_.push_back(points_.size());
  points_.push_back({x, y});
}

void Outline::lineTo(double x, double y) {
  if (starts_.empty()) starts_.push_back(0);
  points_.push_back({x, y});
}

void Outline::clear() {
  points_.clear();
  starts_.clear();
}

namespace {

constexpr int64_t kOne = 256;             // fixed-point units per pixel
constexpr int64_t kBandCells = 1 << 12;   // cells in the band buffer at most

using Segment = CoverageSegment;

// (n + k step) / d for k = 0, 1, 2, ..., kept as quotient and remainder so
// that each next value is an addition; rounded to the nearest integer, ties
// to even (so that a shape and its mirror image round alike). d > 0.
class ExactRatio {
 public:
  // Values are asked for count times at most: with one, nothing is stepped;
  // with none, nothing is worked out.
  ExactRatio(int64_t n, int64_t step, int64_t d, int64_t count) : d_(d) {
    if (count < 1) return;
    floorDiv(n, q_, r_);
    if (count > 1) floorDiv(step, dq_, dr_);
  }
  void next() {
    q_ += dq_;
    r_ += dr_;
    if (r_ >= d_) {
      r_ -= d_;
      ++q_;
    }
  }
  int64_t rounded() const {
    const int64_t twice = 2 * r_;
    return q_ + ((twice > d_ || (twice == d_ && (q_ & 1) != 0)) ? 1 : 0);
  }

 private:
  void floorDiv(int64_t n, int64_t &q, int64_t &r) const {
    q = n / d_;
    r = n % d_;
    if (r < 0) {
      --q;
      r += d_;
    }
  }
  int64_t d_, q_ = 0, r_ = 0, dq_ = 0, dr_ = 0;
};

// n / d rounded as ExactRatio rounds.
int64_t divRound(int64_t n, int64_t d) { return ExactRatio(n, 0, d, 1).rounded(); }

int64_t toFixed(double v) { return static_cast<int64_t>(std::nearbyint(v * kOne)); }

struct Bounds {
  int64_t minX = std::numeric_limits<int64_t>::max();
  int64_t maxX = std::numeric_limits<int64_t>::min();
  int64_t minY = std::numeric_limits<int64_t>::max();
  int64_t maxY = std::numeric_limits<int64_t>::min();
};

void keep(std::vector<Segment> &out, Bounds &b, double ax, double ay, double bx, double by) {
  const int64_t x0 = toFixed(ax), y0 = toFixed(ay), x1 = toFixed(bx), y1 = toFixed(by);
  if (y0 == y1) return;  // a horizontal piece covers nothing
  Segment s = y0 < y1 ? Segment{x0, y0, x1, y1, 1} : Segment{x1, y1, x0, y0, -1};
  out.push_back(s);
  b.minX = std::min({b.minX, x0, x1});
  b.maxX = std::max({b.maxX, x0, x1});
  b.minY = std::min(b.minY, s.y0);
  b.maxY = std::max(b.maxY, s.y1);
}

// Clips one segment to 0 <= y <= h, then splits it where it crosses x = 0 and
// x = w and lays the parts beyond onto those sides.
void clipSegment(std::vector<Segment> &out, Bounds &b, double ax, double ay, double bx, double by,
                 double w, double h) {
  if (!std::isfinite(ax) || !std::isfinite(ay) || !std::isfinite(bx) || !std::isfinite(by))
    return;
  if (ay == by || (ay <= 0 && by <= 0) || (ay >= h && by >= h)) return;
  const double dx = bx - ax, dy = by - ay;
  auto xAtY = [&](double y) { return ax + dx * ((y - ay) / dy); };
  double px0 = ax, py0 = ay, px1 = bx, py1 = by;
  if (py0 < 0) px0 = xAtY(0), py0 = 0;
  if (py0 > h) px0 = xAtY(h), py0 = h;
  if (py1 < 0) px1 = xAtY(0), py1 = 0;
  if (py1 > h) px1 = xAtY(h), py1 = h;
  if (!std::isfinite(px0) || !std::isfinite(px1)) return;
  // The split points at x = 0 and x = w, in order along the segment; each
  // lies exactly on the side it crosses.
  struct Cut {
    double t;
    double x;
  } cuts[2];
  int n = 0;
  const double ddx = px1 - px0;
  for (double side : {0.0, w}) {
    if ((px0 < side && px1 > side) || (px0 > side && px1 < side))
      cuts[n++] = {(side - px0) / ddx, side};
  }
  if (n == 2 && cuts[0].t > cuts[1].t) std::swap(cuts[0], cuts[1]);
  double sx = px0, sy = py0;
  auto emit = [&](double ex, double ey) {
    keep(out, b, std::clamp(sx, 0.0, w), sy, std::clamp(ex, 0.0, w), ey);
    sx = ex;
    sy = ey;
  };
  for (int i = 0; i < n; ++i) emit(cuts[i].x, py0 + (py1 - py0) * cuts[i].t);
  emit(px1, py1);
}

int64_t coverageByRule(int64_t v, FillRule rule) {
  if (v < 0) v = -v;
  if (rule == FillRule::NonZero) return std::min(v, kFullCoverage);
  v &= 2 * kFullCoverage - 1;
  return v > kFullCoverage ? 2 * kFullCoverage - v : v;
}

// Hands out runs of equal coverage, joining neighbours. Apart, a run's
// coverage holds the first outline's in its low byte, the second's above.
class RunJoiner {
 public:
  RunJoiner(CoverageSink &sink, bool isApart) : sink_(sink), isApart_(isApart) {}
  void startRow(int64_t row) {
    flush();
    row_ = row;
  }
  void add(int64_t x1, int64_t x2, uint32_t coverage) {
    if (coverage == coverage_ && x1 == end_ + 1) {
      end_ = x2;
      return;
    }
    flush();
    start_ = x1;
    end_ = x2;
    coverage_ = coverage;
  }
  void flush() {
    if (coverage_ != 0 && start_ <= end_) {
      if (isApart_) sink_.runPair(row_, start_, end_, coverage_ & 0xFF, coverage_ >> 8);
      else sink_.run(row_, start_, end_, coverage_);
    }
    coverage_ = 0;
    start_ = 0;
    end_ = -2;
  }

 private:
  CoverageSink &sink_;
  bool isApart_;
  int64_t row_ = 0;
  int64_t start_ = 0;
  int64_t end_ = -2;
  uint32_t coverage_ = 0;
};

// The cells of the outlines over one band of rows, in the scratch buffers.
// Sums wrap modulo 2^32 (a cell crossed by tens of thousands of segments
// gives a wrong but harmless value rather than an overflow).
class Raster {
 public:
  Raster(CoverageScratch &scratch, int64_t colLo, int64_t colHi, int64_t bandRows, int count,
         bool isApart)
      : colLo_(colLo), colHi_(colHi), stride_(colHi - colLo + 1), count_(count),
        isApart_(isApart), s_(scratch) {
    // Grown entries are clear; kept ones are clear already.
    const size_t cells = static_cast<size_t>(stride_ * bandRows);
    for (int o = 0; o < count; ++o)
      if (s_.cover[o].size() < cells) s_.cover[o].resize(cells, 0), s_.area[o].resize(cells, 0);
    words_ = (cells + 63) / 64;
    if (s_.touched.size() < words_) s_.touched.resize(words_, 0);
    for (int o = 0; o < count; ++o) {
      cover_[o] = s_.cover[o].data();
      area_[o] = s_.area[o].data();
    }
    touched_ = s_.touched.data();
  }

  void startBand(int64_t firstRow) { band0_ = firstRow; }

  // The part of s within rows [r0, r1).
  void addSegment(int o, const Segment &s, int64_t r0, int64_t r1) {
    const int64_t ya = std::max(s.y0, r0 * kOne);
    const int64_t yb = std::min(s.y1, r1 * kOne);
    if (ya >= yb) return;
    const int64_t sdy = s.y1 - s.y0, sdx = s.x1 - s.x0;
    auto numerator = [&](int64_t y) { return s.x0 * sdy + sdx * (y - s.y0); };
    int64_t y = ya;
    int64_t x = divRound(numerator(ya), sdy);
    // x on the row boundaries below ya, one row at a time.
    const int64_t firstBoundary = (ya / kOne + 1) * kOne;
    ExactRatio onBoundary(numerator(firstBoundary), sdx * kOne, sdy,
                          (yb - firstBoundary) / kOne + 1);
    while (y < yb) {
      const int64_t row = y / kOne;  // y >= 0
      const int64_t top = row * kOne;
      const int64_t yNext = std::min(yb, top + kOne);
      int64_t xNext;
      if (yNext == top + kOne) {
        xNext = onBoundary.rounded();
        onBoundary.next();
      } else {
        xNext = divRound(numerator(yNext), sdy);
      }
      rowPiece(o, row, x, y - top, xNext, yNext - top, s.sign);
      y = yNext;
      x = xNext;
    }
  }

  // Sweeps the band's rows through their touched cells, which the bits give
  // in order: between two of them the coverage stays what the running cover
  // gives. Clears what it reads.
  void sweepBand(const FillRule *rules, CoverageSink &sink) {
    RunJoiner runs(sink, isApart_);
    const size_t stride = static_cast<size_t>(stride_);
    size_t rowBase = 0, rowEnd = 0;
    int64_t acc[2] = {0, 0};
    int64_t prevX = colHi_;
    for (size_t w = 0; w < words_; ++w) {
      for (uint64_t bits = touched_[w]; bits != 0; bits &= bits - 1) {
        const size_t cell = w * 64 + static_cast<size_t>(std::countr_zero(bits));
        if (cell >= rowEnd) {
          // A row whose cover does not return to zero runs on to the right side.
          if (prevX < colHi_) runs.add(prevX + 1, colHi_, between(acc, rules));
          rowBase = cell / stride * stride;
          rowEnd = rowBase + stride;
          runs.startRow(band0_ + static_cast<int64_t>(rowBase / stride));
          acc[0] = acc[1] = 0;
          prevX = -1;
        }
        const int64_t x = colLo_ + static_cast<int64_t>(cell - rowBase);
        if (prevX >= 0 && x > prevX + 1) runs.add(prevX + 1, x - 1, between(acc, rules));
        int64_t v[2] = {0, 0};
        for (int o = 0; o < count_; ++o) {
          const int64_t cover = static_cast<int32_t>(cover_[o][cell]);
          acc[o] += cover;
          v[o] = coverageByRule(acc[o] * 2 * kOne - static_cast<int32_t>(area_[o][cell]), rules[o]);
          cover_[o][cell] = 0;
          area_[o][cell] = 0;
        }
        runs.add(x, x, combined(v));
        prevX = x;
      }
      touched_[w] = 0;
    }
    if (prevX < colHi_) runs.add(prevX + 1, colHi_, between(acc, rules));
    runs.flush();
  }

 private:
  static uint32_t level(int64_t v) {
    return static_cast<uint32_t>((std::min(v, kFullCoverage) * 255 + kFullCoverage / 2) >> 17);
  }

  // The coverage between cells, from the running covers.
  uint32_t between(const int64_t *acc, const FillRule *rules) const {
    int64_t v[2] = {0, 0};
    for (int o = 0; o < count_; ++o) v[o] = coverageByRule(acc[o] * 2 * kOne, rules[o]);
    return combined(v);
  }

  uint32_t combined(const int64_t *v) const {
    return isApart_ ? level(v[0]) | level(v[1]) << 8 : level(v[0] + v[1]);
  }

  void addCell(int o, int64_t row, int64_t col, int64_t cover, int64_t area) {
    if (col > colHi_ || col < colLo_) return;  // on the area's right side
    const size_t i = static_cast<size_t>((row - band0_) * stride_ + (col - colLo_));
    cover_[o][i] += static_cast<uint32_t>(cover);
    area_[o][i] += static_cast<uint32_t>(area);
    touched_[i / 64] |= uint64_t{1} << (i % 64);
  }

  void piece(int o, int64_t row, int64_t col, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
             int sign) {
    const int64_t left = col * kOne;
    const int64_t dy = y2 - y1;
    addCell(o, row, col, sign * dy, sign * (x1 - left + x2 - left) * dy);
  }

  // A piece of a segment within one row, from (xa, ya) to (xb, yb) with y in
  // 0 ... 256 from the row's top, split at the cell sides it crosses.
  void rowPiece(int o, int64_t row, int64_t xa, int64_t ya, int64_t xb, int64_t yb, int sign) {
    if (ya == yb) return;
    const int64_t dy = yb - ya;
    if (xa == xb) {
      piece(o, row, xa / kOne, xa, ya, xb, yb, sign);
      return;
    }
    int64_t cx = xa, cy = ya;
    if (xb > xa) {
      const int64_t dx = xb - xa;
      const int64_t last = (xb - 1) / kOne;
      const int64_t k0 = xa / kOne;
      ExactRatio onSide(dy * ((k0 + 1) * kOne - xa), dy * kOne, dx, last - k0);
      for (int64_t k = k0; k < last; ++k, onSide.next()) {
        const int64_t bx = (k + 1) * kOne;
        const int64_t by = ya + onSide.rounded();
        piece(o, row, k, cx, cy, bx, by, sign);
        cx = bx;
        cy = by;
      }
      piece(o, row, last, cx, cy, xb, yb, sign);
    } else {
      const int64_t dx = xa - xb;
      const int64_t last = xb / kOne;
      const int64_t k0 = (xa - 1) / kOne;
      ExactRatio onSide(dy * (xa - k0 * kOne), dy * kOne, dx, k0 - last);
      for (int64_t k = k0; k > last; --k, onSide.next()) {
        const int64_t bx = k * kOne;
        const int64_t by = ya + onSide.rounded();
        piece(o, row, k, cx, cy, bx, by, sign);
        cx = bx;
        cy = by;
      }
      piece(o, row, last, cx, cy, xb, yb, sign);
    }
  }

  int64_t colLo_, colHi_, stride_;
  int count_;
  bool isApart_;
  int64_t band0_ = 0;
  CoverageScratch &s_;
  uint32_t *cover_[2] = {nullptr, nullptr};
  uint32_t *area_[2] = {nullptr, nullptr};
  uint64_t *touched_ = nullptr;
  size_t words_ = 0;
};

// Puts the scratch buffers back to all clear after a rasterisation that did
// not finish.
void clearScratch(CoverageScratch &scratch) {
  for (int o = 0; o < 2; ++o) {
    std::fill(scratch.cover[o].begin(), scratch.cover[o].end(), 0);
    std::fill(scratch.area[o].begin(), scratch.area[o].end(), 0);
  }
  std::fill(scratch.touched.begin(), scratch.touched.end(), 0);
}

}  // namespace

void rasterise(const Outline *const *outlines, int count, int64_t width, int64_t height,
               CoverageSink &sink, CoverageScratch &scratch, Combine combine) {
  if (width < 1 || height < 1 || count < 1) return;
  count = std::min(count, 2);
  std::vector<Segment> *segments = scratch.segments;
  Bounds b;
  const double w = static_cast<double>(width), h = static_cast<double>(height);
  for (int o = 0; o < count; ++o) {
    segments[o].clear();
    const Outline &outline = *outlines[o];
    const auto &pts = outline.points();
    const auto &starts = outline.starts();
    for (size_t c = 0; c < starts.size(); ++c) {
      const size_t first = starts[c];
      const size_t end = c + 1 < starts.size() ? starts[c + 1] : pts.size();
      for (size_t i = first; i < end; ++i) {
        const Outline::Point &p = pts[i];
        const Outline::Point &q = pts[i + 1 < end ? i + 1 : first];
        clipSegment(segments[o], b, p.x, p.y, q.x, q.y, w, h);
      }
    }
  }
  if (segments[0].empty() && (count < 2 || segments[1].empty())) return;
  const int64_t colLo = std::max<int64_t>(0, b.minX / kOne);
  const int64_t colHi = std::min<int64_t>(width - 1, b.maxX / kOne);
  const int64_t rowLo = b.minY / kOne;
  const int64_t rowHi = std::min<int64_t>(height - 1, (b.maxY - 1) / kOne);
  if (colLo > colHi || rowLo > rowHi) return;
  const int64_t bandRows =
      std::clamp<int64_t>(kBandCells / (colHi - colLo + 1), 1, rowHi - rowLo + 1);
  const FillRule rules[2] = {outlines[0]->rule(), count > 1 ? outlines[1]->rule() : FillRule::NonZero};
  // Segments by their top, each taken into its outline's active list at the
  // first band it reaches and dropped after the last, so that a band visits
  // only the segments crossing it. Cells add up alike in any order and their
  // rows are sorted before the sweep, so the order leaves the coverage as it
  // was.
  for (int o = 0; o < count; ++o) {
    std::sort(segments[o].begin(), segments[o].end(),
              [](const Segment &a, const Segment &b) { return a.y0 < b.y0; });
    scratch.active[o].clear();
  }
  scratch.segmentVisits = 0;
  try {
    Raster raster(scratch, colLo, colHi, bandRows, count, combine == Combine::Apart && count == 2);
    size_t next[2] = {0, 0};
    for (int64_t r0 = rowLo; r0 <= rowHi; r0 += bandRows) {
      const int64_t r1 = std::min(rowHi + 1, r0 + bandRows);
      raster.startBand(r0);
      for (int o = 0; o < count; ++o) {
        const std::vector<Segment> &all = segments[o];
        std::vector<size_t> &active = scratch.active[o];
        while (next[o] < all.size() && all[next[o]].y0 < r1 * kOne) active.push_back(next[o]++);
        size_t kept = 0;
        for (size_t i : active) {
          const Segment &s = all[i];
          if (s.y1 > r0 * kOne) raster.addSegment(o, s, r0, r1);
          if (s.y1 > r1 * kOne) active[kept++] = i;
        }
        scratch.segmentVisits += active.size();
        active.resize(kept);
      }
      raster.sweepBand(rules, sink);
    }
  } catch (...) {
    clearScratch(scratch);
    throw;
  }
}

}  // namespace quorvane
