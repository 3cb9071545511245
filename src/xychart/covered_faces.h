// What later paint of a dense curve covers entirely: 3D faces (ribbons of a
// line, top faces of an area) and symbols merged again at one place, so that
// a curve of many points a pixel draws each of its columns about once.
#pragma once

#include <array>
#include <optional>
#include <vector>

class DrawArea;

namespace quorvane {

// The faces swept back from a chain of segments, drawn in order with one
// depth step, that later faces of the chain draw over pixel for pixel:
// ends[i] holds segment i's end points (x1, y1, x2, y2) as drawn, or nothing
// where no face is drawn (which breaks the chain). Leaving them out changes
// no pixel when every later face replaces the pixels it draws (paintsOver).
std::vector<bool> coveredFaces(const std::vector<std::optional<std::array<int, 4>>> &ends);

// Whether merging the image twice at one place leaves what merging it once
// does: each of its pixels opaque or wholly transparent.
bool mergesAsCopy(const DrawArea &image);

// The places (x, y) where a later place is the same, among places[i] (or
// nothing where nothing is merged). Same places come in runs of one column,
// as the points of a category axis do, or are not found.
std::vector<bool> remergedPlaces(const std::vector<std::optional<std::array<int, 2>>> &places);

}  // namespace quorvane
