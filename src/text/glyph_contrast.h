// Crisp grey glyphs, as smooth drawing draws them. FreeType's default hinting
// of grey glyphs snaps heights only, so a stem about a pixel wide that falls
// across two pixel columns draws as two pale ones and small text washes out
// (at 8 points no stem pixel darker than #404040 in quarters). A crisp glyph
// is hinted by the autohinter to whole pixels both ways, which puts most
// stems on one column, and its coverage is raised by a curve; its advance,
// and so every measure of a text, stays that of the default hinting.
#pragma once

#include "text/shared_face.h"

namespace quorvane::text {

// Crisp glyphs are rendered in FreeType's light mode, which rasterises as the
// normal one: the mode keeps them apart from other grey glyphs in the caches
// and tells the renderer to hint and raise them.
inline constexpr FT_Render_Mode kCrispRenderMode = FT_RENDER_MODE_LIGHT;

// Replaces glyph (index of face, loaded at its active size with loadFlags)
// with the outline the autohinter makes of it; a glyph that is not an
// outline, or that the autohinter does not take, is left as it is.
void hintCrisp(FT_Face face, FT_UInt index, FT_Int32 loadFlags, GlyphPtr &glyph);

// Raises the coverage of a grey bitmap in place by the crisp curve: a pixel
// at least three quarters covered (kCrispSolid of 255) is drawn solid, and
// below that the coverage c / kCrispSolid is taken to the power
// 1 / kCrispGamma.
void raiseCoverage(FT_Bitmap &bitmap);

// Hinted stems reach at least 220 of 255 at 7 points and more from 8 points
// on, so all draw solid. At 8 points a label so drawn has 0.96 to 1.06 times
// the ink of its one-bit drawing (in quarters and in the fine mode, Liberation
// and DejaVu Sans), about 1.2 times at 12 points; a stronger gamma darkens
// larger text further without helping the small.
inline constexpr unsigned kCrispSolid = 192;
inline constexpr double kCrispGamma = 1.2;

}  // namespace quorvane::text
