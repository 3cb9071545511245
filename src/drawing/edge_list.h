// The edge list shared by polygons, pie sectors and the walls of 3D sectors.
// Every edge knows its top and bottom rows, whether it crosses a row
// (top <= y < bottom, so horizontal edges never cross and a vertex shared by a
// rising and a falling edge counts once), its pixel run on a row, and how to
// draw itself. Straight edges are midpoint lines whose run on a row is worked
// out in closed form when it is asked for, so that a list takes memory by its
// number of edges only, however tall they are; arc edges are pieces of the ellipse outline
// on one side of the vertical through the centre, whose run on a row is the
// whole outline run of that row on their side.
#pragma once

#include <cstdint>
#include <vector>

#include "drawing/line_stepper.h"

namespace quorvane {

// One row of the ellipse quarter table: the smallest and largest |dx| of the
// outline on a row offset dy from the centre.
struct QuarterRow {
  int64_t inner;
  int64_t outer;
};

// A point of the ellipse outline as offsets from the centre: u = |dx| and
// v = dy, positive upwards.
struct OutlinePoint {
  int64_t u;
  int64_t v;
};

struct Edge {
  enum class Kind { Straight, Arc } kind;
  int64_t yMin;
  int64_t yMax;
  // Straight: the line, drawn on rows rowLo ... rowHi (those inside the
  // area); the end point (endX, endY) is not drawn (it is the next edge's start).
  LineStepper line{0, 0, 0, 0};
  int64_t rowLo = 0;
  int64_t rowHi = -1;
  int64_t endX = 0;
  int64_t endY = 0;
  // Straight: where the last run asked for (row cursorRow) left the line, so
  // that the next row down is a step of the midpoint rule rather than a
  // division. A y-major line keeps its walk there; an x-major one the first
  // steps reaching the row's minor offset t and t + 1.
  struct Reach {
    int64_t t;
    int64_t next;
  };
  union Cursor {
    LineStepper::Cursor walk;
    Reach reach;
  };
  mutable int64_t cursorRow = INT64_MIN;
  mutable Cursor cursor{};
  // Arc: centre, side and the two end points.
  int64_t cx = 0;
  int64_t cy = 0;
  bool rightSide = false;
  bool drawsStart = true;  // otherwise it draws its end point instead
  OutlinePoint start{0, 0};
  OutlinePoint end{0, 0};

  bool crosses(int64_t y) const { return yMin <= y && y < yMax; }
};

struct Run {
  int64_t left;
  int64_t right;
};

class EdgeList {
 public:
  // rows: the area's height; table: the quarter table arc edges refer to.
  EdgeList(int64_t areaHeight, const std::vector<QuarterRow> *table)
      : areaHeight_(areaHeight), table_(table) {}

  void reserve(size_t edges) { edges_.reserve(edges); }
  void addStraight(int64_t x1, int64_t y1, int64_t x2, int64_t y2);
  void addArc(int64_t cx, int64_t cy, bool rightSide, OutlinePoint start, OutlinePoint end,
              bool drawsStart);

  const std::vector<Edge> &edges() const { return edges_; }
  Run runAt(const Edge &e, int64_t y) const;
  const std::vector<QuarterRow> &table() const { return *table_; }

  // Edges visited by the fills drawn from this list: each edge once on every
  // row it crosses and once more as it leaves, so never more than the edges
  // plus their crossings, however many rows the fill spans.
  uint64_t fillVisits() const { return fillVisits_; }
  void countFillVisits(uint64_t visits) const { fillVisits_ += visits; }

 private:
  int64_t areaHeight_;
  const std::vector<QuarterRow> *table_;
  std::vector<Edge> edges_;
  mutable uint64_t fillVisits_ = 0;
};

class Surface;

// Fills between the edges of the list on every row they cross: their runs,
// sorted by left then right end, are filled strictly between the first and
// second, third and fourth, and so on (a resolved colour).
void fillBetweenEdges(Surface &surface, const EdgeList &list, uint32_t fillColor);

}  // namespace quorvane
