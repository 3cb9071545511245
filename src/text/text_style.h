// How a text is to be set: font, sizes, angle, direction and glyph rendering.
#pragma once

namespace quorvane::text {

struct TextStyle {
  const char *fontName = nullptr;  // null or empty: the fallback fonts
  double heightPt = 12;            // not above 0: 12
  double widthPt = 0;              // 0: the same as the height
  double angleDeg = 0;             // anticlockwise
  bool vertical = false;           // glyphs stacked top to bottom
  int antiAliasMode = 2;           // a TTFText::AntiAliasMode
  // The mode whose glyphs give the text's size when it differs from the
  // drawing mode (grey glyphs reach a pixel further than one-bit ones); -1:
  // the drawing mode.
  int measureMode = -1;
  // Grey levels in the steps of smooth shapes (kSteppedLevels), so that the
  // text's blends settle into a palette with the shapes'.
  bool steppedLevels = false;
  // Grey glyphs crisp (glyph_contrast.h), as smooth drawing draws them; the
  // text's size is still taken from glyphs that are not.
  bool crispGrey = false;
};

}  // namespace quorvane::text
