// What the subsystems above drawing may do with an area beyond the published
// DrawArea: hold one they own, so that a host's destroy() leaves it alone,
// group the shapes whose smooth edges meet, and read the shape mode. The
// surface class itself (draw_area_impl.h) stays private to drawing.
#pragma once

#include "quorvane.h"

namespace quorvane {

class SeamTable;

// Marks an area made by DrawArea::create as held by an owner inside the
// library: destroy() then leaves it alone and only releaseArea deletes it.
void holdArea(DrawArea &area);
// Deletes an area made by DrawArea::create, held or not; null does nothing.
void releaseArea(DrawArea *area);

// The mode setAntiAlias gave an area of this library, as far as it matters
// (0, 1 or 2); 0 for an area made elsewhere.
int shapeModeOf(const DrawArea &area);

// Joins the n points by lines lineWidth wide in color: on an area of this
// library in a smooth mode, as one stroke with round joins, so that no pixel
// is drawn twice; else segment by segment through DrawArea::line.
void polyline(DrawArea &area, const int *x, const int *y, int n, int color, int lineWidth);

// Whether a shape in this colour replaces every pixel it draws, whatever lay
// there: an opaque plain colour (no pattern, gradient or dash, whose pixels
// may be translucent or depend on what was drawn before) on an area of this
// library that draws aliased shapes. A shape whose every pixel such later
// shapes draw again may then be left out without changing a pixel.
bool paintsOver(DrawArea &area, int color);

// While a seam group is open, partial coverage that a shape leaves on a
// pixel that earlier shapes of the group covered only partly is added
// beside theirs rather than blended over it, as if the shapes were drawn
// at once: where two shapes meet, nothing of what lay under them shows
// through. A pixel changed since by anything else starts afresh. Groups
// nest; the bookkeeping is dropped when the outermost one closes. An area
// made elsewhere is left as it is.
class SeamGroup {
 public:
  explicit SeamGroup(DrawArea &area);
  ~SeamGroup();
  SeamGroup(const SeamGroup &) = delete;
  SeamGroup &operator=(const SeamGroup &) = delete;

 private:
  SeamTable *seams_;  // null for an area made elsewhere
};

}  // namespace quorvane
