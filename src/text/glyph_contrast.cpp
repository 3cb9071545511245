// The crisp curve as a table of the 256 coverages, made once; the autohinted
// reload of a crisp glyph.
#include "text/glyph_contrast.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace quorvane::text {

namespace {

std::array<uint8_t, 256> crispCurve() {
  std::array<uint8_t, 256> curve{};
  for (unsigned c = 0; c < curve.size(); ++c) {
    const double covered = c >= kCrispSolid ? 1.0 : static_cast<double>(c) / kCrispSolid;
    curve[c] = static_cast<uint8_t>(std::lround(255 * std::pow(covered, 1 / kCrispGamma)));
  }
  return curve;
}

}  // namespace

void hintCrisp(FT_Face face, FT_UInt index, FT_Int32 loadFlags, GlyphPtr &glyph) {
  if (glyph->format != FT_GLYPH_FORMAT_OUTLINE) return;
  if (FT_Load_Glyph(face, index, loadFlags | FT_LOAD_FORCE_AUTOHINT) != 0) return;
  FT_Glyph hinted = nullptr;
  if (FT_Get_Glyph(face->glyph, &hinted) != 0) return;
  glyph.reset(hinted);
}

void raiseCoverage(FT_Bitmap &bitmap) {
  static const std::array<uint8_t, 256> curve = crispCurve();
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return;
  // Every byte of the rows, whichever way they run; padding stays unused.
  const size_t bytes = static_cast<size_t>(std::abs(bitmap.pitch)) * bitmap.rows;
  for (size_t i = 0; i < bytes; ++i) bitmap.buffer[i] = curve[bitmap.buffer[i]];
}

}  // namespace quorvane::text
