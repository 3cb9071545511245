// Which paints of a run are painted over by later ones of the same run, so
// that a layer of many points per column can leave them out with the same
// pixels: the last opaque write to a pixel decides it, whatever was drawn
// there before. The run is offered from its last paint to its first; each
// paint first asks whether the later ones cover what it needs, then adds
// what it paints opaquely itself. Per column range the rows are kept as one
// interval (a paint that neither meets it nor is longer is forgotten) and
// the 3D top faces as the highest one, which only ever answers "not
// covered" too often, never wrongly; at most kMaxRanges column ranges are
// tracked per run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace quorvane {

class CoverScan {
 public:
  static constexpr size_t kMaxRanges = 16;
  static constexpr int64_t kNoRow = std::numeric_limits<int64_t>::max();

  struct Rows {
    int64_t top;
    int64_t bottom;
  };

  // Forgets every paint: a new run starts.
  void clear() { ranges_.clear(); }
  // Whether the paints added so far cover every row top ... bottom of
  // exactly the columns left ... right.
  bool covers(int64_t left, int64_t right, int64_t top, int64_t bottom) const;
  // The rows kept as covered for exactly the columns left ... right.
  std::optional<Rows> rowsOf(int64_t left, int64_t right) const;
  // Rows top ... bottom of columns left ... right are painted opaquely.
  void add(int64_t left, int64_t right, int64_t top, int64_t bottom);
  // A 3D top face standing on row of columns left ... right is painted
  // opaquely, outline and all.
  void addTopFace(int64_t left, int64_t right, int64_t row);
  // The highest (smallest) row of those top faces; kNoRow when none.
  int64_t topFaceRow(int64_t left, int64_t right) const;

 private:
  struct Range {
    int64_t left;
    int64_t right;
    bool hasRows;
    int64_t top;
    int64_t bottom;
    int64_t faceRow;
  };
  const Range *find(int64_t left, int64_t right) const;
  // The range of the columns, made when missing; null when none can be.
  Range *at(int64_t left, int64_t right);

  std::vector<Range> ranges_;
};

}  // namespace quorvane
