// The stroke of a path as an outline: the pieces that tile it (a piece per
// segment, cut on the inner side of each bend along the bisector and square
// to the segment elsewhere, and a round wedge filling the outer side of each
// bend), walked round as one contour for an open path and one along each
// side of a closed one, so that the rasteriser covers every pixel of the
// stroke once (where a segment is too short for its inner cut, the two
// pieces overlap instead, and cover the overlap once by the non-zero rule).
#pragma once

#include <cstddef>
#include <vector>

#include "drawing/coverage.h"

namespace quorvane {

struct PathPoint {
  double x;
  double y;
};

// How a stroke lies about its path. For a direction of travel (dx, dy) the
// first side is the one towards (-dy, dx), the second the opposite one; on
// the screen (y downwards) the first side of a clockwise outline is inside.
struct StrokeStyle {
  double firstHalf;   // width on the first side
  double secondHalf;  // width on the second side
  double endReach;    // an open path reaches this far beyond its end points
  bool isClosed;
};

// Adds a closed contour of the n points, turned clockwise on the screen, so
// that contours added alike cover their union by the non-zero rule.
void addClockwise(Outline &o, const PathPoint *p, size_t n);

// Adds the stroke of path to o (whose rule is non-zero), turned clockwise.
// Repeated points are dropped; a path of one point is a segment along x.
void addStroke(Outline &o, const std::vector<PathPoint> &path, const StrokeStyle &style);

// Twice the signed area of the closed path: positive when it turns clockwise
// on the screen.
double twiceArea(const PathPoint *p, size_t n);

}  // namespace quorvane
