// Face colours of data sets.
#include "xychart/face_colors.h"

#include <cstdint>

namespace quorvane {

int shadowColorOf(DrawArea &area, int color) {
  const uint32_t c = static_cast<uint32_t>(area.getARGBColor(color));
  if ((c >> 24) == 0xFFu) return color;
  return static_cast<int>(((c >> 1) & 0x7F7F7Fu) | (c & 0xFF000000u));
}

FaceColors faceColorsOf(DrawArea &area, const DataSetImpl &ds, int borderColor,
                        int unresolvedFace) {
  FaceColors k;
  k.face = ds.color() == -1 ? unresolvedFace : ds.color();
  k.edge = ds.edgeColor() == -1 ? borderColor : ds.edgeColor();
  k.shadow = ds.shadowColor() == -1 ? shadowColorOf(area, k.face) : ds.shadowColor();
  k.shadowEdge = ds.shadowEdgeColor() == -1 ? shadowColorOf(area, k.edge) : ds.shadowEdgeColor();
  return k;
}

}  // namespace quorvane
