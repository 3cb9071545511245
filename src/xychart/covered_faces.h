// The 3D faces of a curve (ribbons of a line, top faces of an area) that
// the faces drawn after them cover entirely, so that a curve of many points
// a pixel draws each of its columns' faces about once.
#pragma once

#include <array>
#include <optional>
#include <vector>

namespace quorvane {

// The faces swept back from a chain of segments, drawn in order with one
// depth step, that later faces of the chain draw over pixel for pixel:
// ends[i] holds segment i's end points (x1, y1, x2, y2) as drawn, or nothing
// where no face is drawn (which breaks the chain). Leaving them out changes
// no pixel when every later face replaces the pixels it draws (paintsOver).
std::vector<bool> coveredFaces(const std::vector<std::optional<std::array<int, 4>>> &ends);

}  // namespace quorvane
