// Data symbols: the nine marker shapes of SymbolType, each drawn into its own
// square image with a Transparent background so that it can be merged centred
// on a point. A symbol is a marker, not a picture: its side is capped (see
// kMaxSymbolSize) so that a caller's size cannot make a giant image.
#pragma once

#include "quorvane.h"

namespace quorvane {

// Sides above this are drawn at it; 256 pixels is far larger than any marker
// and keeps a symbol image at 256 KiB.
inline constexpr int kMaxSymbolSize = 256;

// The side a symbol of the requested size is drawn at, or 0 when there is
// nothing to draw (a size below 1).
constexpr int symbolSide(int size) {
  return size < 1 ? 0 : size > kMaxSymbolSize ? kMaxSymbolSize : size;
}

// Whether type names a shape (1 to 9); NoSymbol and unknown values draw none.
constexpr bool isShapeSymbol(int type) { return type >= SquareSymbol && type <= Cross2Symbol; }

// Makes image side x side and Transparent, then draws the shape of type in
// fillColor and edgeColor. The colours are drawn as given: table colours must
// already be resolved through the chart's table, since the image has its own.
// False when type or side names no symbol; image is then left as it was.
bool drawSymbol(DrawArea &image, int type, int side, int fillColor, int edgeColor);

}  // namespace quorvane
