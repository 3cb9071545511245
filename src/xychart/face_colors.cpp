// Face colours of data sets.
#include "xychart/face_colors.h"

#include "chart/color_table.h"

namespace quorvane {

FaceColors faceColorsOf(DrawArea &area, const DataSetImpl &ds, int borderColor,
                        int unresolvedFace) {
  FaceColors k;
  k.face = ds.color() == -1 ? unresolvedFace : ds.color();
  k.edge = ds.edgeColor() == -1 ? borderColor : ds.edgeColor();
  k.shadow = ds.shadowColor() == -1 ? halfBrightEntryOrColor(area, k.face) : ds.shadowColor();
  k.shadowEdge =
      ds.shadowEdgeColor() == -1 ? halfBrightEntryOrColor(area, k.edge) : ds.shadowEdgeColor();
  return k;
}

}  // namespace quorvane
