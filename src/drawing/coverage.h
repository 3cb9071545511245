// Exact-area coverage of outlines, in the manner of scanline vector
// rasterisers. Every segment of an outline leaves, in each pixel cell it
// crosses, its signed height there (cover) and the signed area between it and
// the cell's left side; a sweep along a row turns the running cover and the
// cells' areas into the covered share of each pixel. Coordinates are kept in
// 1/256 pixel and every step is exact integer arithmetic, so a segment shared
// by two outlines (walked in opposite directions) leaves exactly opposite
// values, and the two coverages of every pixel it crosses sum to the whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvane {

enum class FillRule { NonZero, EvenOdd };

// Closed contours in pixel units: pixel (x, y) is the unit square from
// (x, y) to (x + 1, y + 1), so its centre is (x + 0.5, y + 0.5).
class Outline {
 public:
  explicit Outline(FillRule rule = FillRule::NonZero) : rule_(rule) {}

  // Starts a contour; the previous one is closed.
  void moveTo(double x, double y);
  void lineTo(double x, double y);

  FillRule rule() const { return rule_; }
  bool empty() const { return points_.empty(); }
  void clear();

  struct Point {
    double x;
    double y;
  };
  const std::vector<Point> &points() const { return points_; }
  // Index of the first point of each contour.
  const std::vector<size_t> &starts() const { return starts_; }

 private:
  FillRule rule_;
  std::vector<Point> points_;
  std::vector<size_t> starts_;
};

// Receives the coverage of one row as runs: pixels x1 ... x2 of row y, each
// covered coverage / 255 (1 ... 255). Rows come top to bottom, runs left to
// right.
class CoverageSink {
 public:
  virtual void run(int64_t y, int64_t x1, int64_t x2, uint32_t coverage) = 0;
  // The coverages of two outlines kept apart (either may be 0); by default
  // their sum, at most full.
  virtual void runPair(int64_t y, int64_t x1, int64_t x2, uint32_t first, uint32_t second) {
    run(y, x1, x2, first + second < 255 ? first + second : 255);
  }

 protected:
  ~CoverageSink() = default;
};

// Coverage is kept in this many units per pixel (2 x 256 x 256).
inline constexpr int64_t kFullCoverage = int64_t{1} << 17;

// A segment in 1/256 pixel with y0 < y1; sign +1 when it runs downwards.
struct CoverageSegment {
  int64_t x0, y0, x1, y1;
  int sign;
};

// Work buffers kept from one rasterisation to the next, so that a shape
// costs no allocation and no clearing of a buffer as large as its bounds:
// the cells touched are marked, and cleared as their rows are swept, so the
// buffers are all clear between rasterisations.
struct CoverageScratch {
  std::vector<uint32_t> cover[2];
  std::vector<uint32_t> area[2];
  // A bit for each cell of the band, set once it is touched: read word by
  // word, they give the touched cells row by row, left to right.
  std::vector<uint64_t> touched;
  std::vector<CoverageSegment> segments[2];
  std::vector<size_t> active[2];  // segments crossing the band, by index
  // Segments visited by the last rasterisation, summed over its bands: each
  // segment once in every band it crosses.
  uint64_t segmentVisits = 0;
};

// How the coverages of two outlines reach the sink: summed (at most full)
// through run, or apart through runPair.
enum class Combine { Sum, Apart };

// Rasterises up to two outlines over a width x height area and hands the
// coverage to sink (each outline's by its own fill rule). Parts outside the
// area are clipped; points that are not finite leave their segments out.
void rasterise(const Outline *const *outlines, int count, int64_t width, int64_t height,
               CoverageSink &sink, CoverageScratch &scratch, Combine combine = Combine::Sum);

}  // namespace quorvane
