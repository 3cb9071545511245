// The colours of a data set's shapes, resolved once per drawing: the face,
// its edge, and the faces turned away from the light (3D side and top faces,
// ribbon undersides) with their edges.
#pragma once

#include "quorvane.h"
#include "xychart/data_set.h"

namespace quorvane {

// The face of a bar or area whose data set was never given a colour.
inline constexpr int kDefaultFaceColor = 0xc000;

struct FaceColors {
  int face;
  int edge;
  int shadow;      // the face turned away: 3D side face, ribbon underside
  int shadowEdge;  // its outline
};

// The data set's colours; -1 takes the rule's default: unresolvedFace for the
// face, borderColor for the edge, and half brightness of the face and the
// edge for the shadows.
FaceColors faceColorsOf(DrawArea &area, const DataSetImpl &ds, int borderColor,
                        int unresolvedFace);

}  // namespace quorvane
