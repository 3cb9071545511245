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

void Outline::quad(double x0, double y0, double x1, double y1, double x2, double y2, double x3,
                   double y3) {
  moveTo(x0, y0);
  lineTo(x1, y1);
  lineTo(x2, y2);
  lineTo(x3, y3);
}

void Outline::clear() {
  points_.clear();
  starts_.clear();
}

namespace {

constexpr int64_t kOne = 256;             // fixed-point units per pixel
constexpr int64_t kBandCells = 1 << 16;   // cells in the band buffer at most

// A segment in fixed point with y0 < y1; sign +1 when it runs downwards.
struct Segment {
  int64_t x0, y0, x1, y1;
  int sign;
};

// n / d rounded to the nearest integer, ties to even; d > 0.
int64_t divRound(int64_t n, int64_t d) {
  int64_t q = n / d;
  int64_t r = n % d;
  if (r < 0) {
    --q;
    r += d;
  }
  const int64_t twice = 2 * r;
  if (twice > d || (twice == d && (q & 1) != 0)) ++q;
  return q;
}

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

// The cells of one outline over one band of rows. Sums wrap modulo 2^32 (a
// cell crossed by tens of thousands of segments gives a wrong but harmless
// value rather than an overflow).
struct Cells {
  std::vector<uint32_t> cover;
  std::vector<uint32_t> area;
  std::vector<int64_t> rowMin;
  std::vector<int64_t> rowMax;
};

class Raster {
 public:
  Raster(int64_t colLo, int64_t colHi, int64_t bandRows, int count)
      : colLo_(colLo), colHi_(colHi), stride_(colHi - colLo + 1),
        count_(count) {
    for (int o = 0; o < count; ++o) {
      cells_[o].cover.assign(static_cast<size_t>(stride_ * bandRows), 0);
      cells_[o].area.assign(static_cast<size_t>(stride_ * bandRows), 0);
      cells_[o].rowMin.assign(static_cast<size_t>(bandRows), std::numeric_limits<int64_t>::max());
      cells_[o].rowMax.assign(static_cast<size_t>(bandRows), -1);
    }
    rowCov_.assign(static_cast<size_t>(stride_), 0);
  }

  void startBand(int64_t firstRow) { band0_ = firstRow; }

  // The part of s within rows [r0, r1).
  void addSegment(int o, const Segment &s, int64_t r0, int64_t r1) {
    const int64_t ya = std::max(s.y0, r0 * kOne);
    const int64_t yb = std::min(s.y1, r1 * kOne);
    if (ya >= yb) return;
    const int64_t sdy = s.y1 - s.y0;
    auto xAt = [&](int64_t y) { return divRound(s.x0 * sdy + (s.x1 - s.x0) * (y - s.y0), sdy); };
    int64_t y = ya;
    int64_t x = xAt(ya);
    while (y < yb) {
      const int64_t row = y / kOne;  // y >= 0
      const int64_t top = row * kOne;
      const int64_t yNext = std::min(yb, top + kOne);
      const int64_t xNext = xAt(yNext);
      rowPiece(o, row, x, y - top, xNext, yNext - top, s.sign);
      y = yNext;
      x = xNext;
    }
  }

  void sweepRow(int64_t row, const FillRule *rules, CoverageSink &sink) {
    const size_t r = static_cast<size_t>(row - band0_);
    int64_t lo = std::numeric_limits<int64_t>::max(), hi = -1;
    for (int o = 0; o < count_; ++o) {
      Cells &c = cells_[o];
      if (c.rowMax[r] < 0) continue;
      lo = std::min(lo, c.rowMin[r]);
      // A row whose cover does not return to zero runs on to the right side.
      hi = std::max(hi, runsOn(c, r) ? colHi_ : c.rowMax[r]);
    }
    if (hi < 0) return;
    std::fill(rowCov_.begin() + (lo - colLo_), rowCov_.begin() + (hi - colLo_ + 1), 0);
    for (int o = 0; o < count_; ++o) accumulate(cells_[o], r, rules[o]);
    // Runs of equal coverage, in 1/255.
    int64_t runStart = lo;
    uint32_t runCov = level(rowCov_[static_cast<size_t>(lo - colLo_)]);
    for (int64_t x = lo + 1; x <= hi + 1; ++x) {
      const uint32_t cov = x <= hi ? level(rowCov_[static_cast<size_t>(x - colLo_)]) : 256;
      if (cov == runCov) continue;
      if (runCov != 0) sink.run(row, runStart, x - 1, runCov);
      runStart = x;
      runCov = cov;
    }
  }

 private:
  static uint32_t level(int64_t v) {
    return static_cast<uint32_t>((std::min(v, kFullCoverage) * 255 + kFullCoverage / 2) >> 17);
  }

  bool runsOn(const Cells &c, size_t r) const {
    int64_t acc = 0;
    const size_t base = r * static_cast<size_t>(stride_);
    for (int64_t x = c.rowMin[r]; x <= c.rowMax[r]; ++x)
      acc += static_cast<int32_t>(c.cover[base + static_cast<size_t>(x - colLo_)]);
    return acc != 0;
  }

  // Adds the row's coverage under rule to rowCov_ and clears the row's cells.
  void accumulate(Cells &c, size_t r, FillRule rule) {
    if (c.rowMax[r] < 0) return;
    const size_t base = r * static_cast<size_t>(stride_);
    int64_t acc = 0;
    for (int64_t x = c.rowMin[r]; x <= c.rowMax[r]; ++x) {
      const size_t i = base + static_cast<size_t>(x - colLo_);
      const int64_t cover = static_cast<int32_t>(c.cover[i]);
      const int64_t v = (acc + cover) * 2 * kOne - static_cast<int32_t>(c.area[i]);
      acc += cover;
      rowCov_[static_cast<size_t>(x - colLo_)] += coverageByRule(v, rule);
      c.cover[i] = 0;
      c.area[i] = 0;
    }
    if (acc != 0) {
      const int64_t tail = coverageByRule(acc * 2 * kOne, rule);
      for (int64_t x = c.rowMax[r] + 1; x <= colHi_; ++x)
        rowCov_[static_cast<size_t>(x - colLo_)] += tail;
    }
    c.rowMin[r] = std::numeric_limits<int64_t>::max();
    c.rowMax[r] = -1;
  }

  void addCell(int o, int64_t row, int64_t col, int64_t cover, int64_t area) {
    if (col > colHi_ || col < colLo_) return;  // on the area's right side
    Cells &c = cells_[o];
    const size_t r = static_cast<size_t>(row - band0_);
    const size_t i = r * static_cast<size_t>(stride_) + static_cast<size_t>(col - colLo_);
    c.cover[i] += static_cast<uint32_t>(cover);
    c.area[i] += static_cast<uint32_t>(area);
    c.rowMin[r] = std::min(c.rowMin[r], col);
    c.rowMax[r] = std::max(c.rowMax[r], col);
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
      for (int64_t k = xa / kOne; k < last; ++k) {
        const int64_t bx = (k + 1) * kOne;
        const int64_t by = ya + divRound(dy * (bx - xa), dx);
        piece(o, row, k, cx, cy, bx, by, sign);
        cx = bx;
        cy = by;
      }
      piece(o, row, last, cx, cy, xb, yb, sign);
    } else {
      const int64_t dx = xa - xb;
      const int64_t last = xb / kOne;
      for (int64_t k = (xa - 1) / kOne; k > last; --k) {
        const int64_t bx = k * kOne;
        const int64_t by = ya + divRound(dy * (xa - bx), dx);
        piece(o, row, k, cx, cy, bx, by, sign);
        cx = bx;
        cy = by;
      }
      piece(o, row, last, cx, cy, xb, yb, sign);
    }
  }

  int64_t colLo_, colHi_, stride_;
  int count_;
  int64_t band0_ = 0;
  Cells cells_[2];
  std::vector<int64_t> rowCov_;
};

}  // namespace

void rasterise(const Outline *const *outlines, int count, int64_t width, int64_t height,
               CoverageSink &sink) {
  if (width < 1 || height < 1 || count < 1) return;
  count = std::min(count, 2);
  std::vector<Segment> segments[2];
  Bounds b;
  const double w = static_cast<double>(width), h = static_cast<double>(height);
  for (int o = 0; o < count; ++o) {
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
  Raster raster(colLo, colHi, bandRows, count);
  const FillRule rules[2] = {outlines[0]->rule(), count > 1 ? outlines[1]->rule() : FillRule::NonZero};
  for (int64_t r0 = rowLo; r0 <= rowHi; r0 += bandRows) {
    const int64_t r1 = std::min(rowHi + 1, r0 + bandRows);
    raster.startBand(r0);
    for (int o = 0; o < count; ++o)
      for (const Segment &s : segments[o])
        if (s.y1 > r0 * kOne && s.y0 < r1 * kOne) raster.addSegment(o, s, r0, r1);
    for (int64_t row = r0; row < r1; ++row) raster.sweepRow(row, rules, sink);
  }
}

}  // namespace quorvane
