// The symbol shapes, drawn with the area's own primitives on a square of side
// s: h = s / 2 (truncated) is the middle row and column, so an odd side gives
// shapes symmetric about the centre pixel and an even one leans up and left.
#include "xychart/symbol.h"

namespace quorvane {

bool drawSymbol(DrawArea &image, int type, int side, int fillColor, int edgeColor) {
  if (!isShapeSymbol(type) || side < 1 || side > kMaxSymbolSize) return false;
  image.setSize(side, side, Transparent);
  image.setBgColor(Transparent);  // setSize keeps the old pixels of an area reused
  const int e = side - 1;
  const int h = side / 2;
  auto polygon3 = [&](int x0, int y0, int x1, int y1, int x2, int y2) {
    const int x[] = {x0, x1, x2};
    const int y[] = {y0, y1, y2};
    image.polygon(x, y, 3, edgeColor, fillColor);
  };
  switch (type) {
    case SquareSymbol:
      image.rect(0, 0, e, e, edgeColor, fillColor, 0);
      break;
    case DiamondSymbol: {
      const int x[] = {h, e, h, 0};
      const int y[] = {0, h, e, h};
      image.polygon(x, y, 4, edgeColor, fillColor);
      break;
    }
    case TriangleSymbol:
      polygon3(h, 0, 0, e, e, e);
      break;
    case LeftTriangleSymbol:
      polygon3(0, h, e, e, e, 0);
      break;
    case RightTriangleSymbol:
      polygon3(0, 0, 0, e, e, h);
      break;
    case InvertedTriangleSymbol:
      polygon3(0, 0, h, e, e, 0);
      break;
    case CircleSymbol:
      image.circle(h, h, h, h, edgeColor, fillColor);
      break;
    case CrossSymbol:
      image.line(0, h, e, h, fillColor, 1);
      image.line(h, 0, h, e, fillColor, 1);
      break;
    default:  // Cross2Symbol
      image.line(0, 0, e, e, fillColor, 1);
      image.line(0, e, e, 0, fillColor, 1);
      break;
  }
  return true;
}

}  // namespace quorvane
