// Single-line layout. Pipeline: size the face (a bitmap-only face takes its
// nearest fixed size), then per character kern, round the pen to whole
// pixels, load and place (upright glyphs are rendered once per face and size
// and moved by the pen; turned outlines are translated by the pen, turned by
// the angle and rendered, once per pen phase; bitmap faces are turned by
// quarter turns at draw time), advance, and keep the mask. A glyph that does
// not load is skipped: the pen stays and it is not kerned against. Then the box, the vertical extent (global font
// metrics for scalable unrotated horizontal text, so every line of a font is
// equally high), the shift to the box's top-left, and the line distance. Pen
// and glyph positions are 26.6 fixed point, y up.
#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "text/text_line.h"

namespace quorvane::text {

namespace {

constexpr double kRadiansPerDegree = 0.0174532925203;

int clampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

// Among the fixed sizes, the one whose pixel height is nearest to the
// height in points at 96 dpi; the first of equally near sizes wins. Returns
// its index.
int nearestFixedSize(FT_Face face, double heightPt) {
  const long target = static_cast<long>(heightPt * 96 + 36) / 72;
  int best = 0;
  long bestDistance = LONG_MAX;
  for (int i = 0; i < face->num_fixed_sizes; ++i) {
    const long distance = std::labs(face->available_sizes[i].height - target);
    if (distance < bestDistance) best = i, bestDistance = distance;
  }
  return best;
}

// A Type 1 font file: the path ends in ".pf" and one more character (.pfa, .pfb).
bool isType1Path(std::string_view path) {
  return !path.empty() && endsWithIgnoringAsciiCase(path.substr(0, path.size() - 1), ".pf");
}

}  // namespace

TextLine TextLine::layout(std::u16string_view text, const TextStyle &style, FontManager &fonts,
                          const FontManager::Lock &lock, uint64_t &pixelBudget) {
  TextLine line;
  double heightPt = style.heightPt > 0 ? std::min(style.heightPt, kMaxFontSizePt) : 12.0;
  double widthPt =
      std::isnan(style.widthPt) ? 0.0 : std::clamp(style.widthPt, -kMaxFontSizePt, kMaxFontSizePt);
  const double angle = std::isfinite(style.angleDeg) ? style.angleDeg : 0.0;

  SharedFace *const opened = fonts.selectFace(style.fontName, lock);
  if (opened == nullptr) return line;
  line.hasFace_ = true;
  FT_Face face = opened->face();
  const bool scalable = FT_IS_SCALABLE(face);

  // A size the face refuses takes the fixed size nearest in height.
  const int strike = face->num_fixed_sizes > 0 ? nearestFixedSize(face, heightPt) : -1;
  const int chosen = opened->activateSize(static_cast<FT_F26Dot6>(widthPt * 64),
                                          static_cast<FT_F26Dot6>(heightPt * 64), strike);
  if (chosen >= 0) {
    heightPt = (face->available_sizes[chosen].height * 3 + 2) / 4;
    widthPt = (face->available_sizes[chosen].width * 3 + 2) / 4;
  }

  const bool rotated = scalable && angle != 0;
  FT_Matrix rotation{};
  if (rotated) {
    const double radians = angle * kRadiansPerDegree;
    rotation.xx = static_cast<FT_Fixed>(std::cos(radians) * 65536);
    rotation.xy = static_cast<FT_Fixed>(-std::sin(radians) * 65536);
    rotation.yx = static_cast<FT_Fixed>(std::sin(radians) * 65536);
    rotation.yy = static_cast<FT_Fixed>(std::cos(radians) * 65536);
  } else if (!scalable) {
    double turned = std::fmod(angle, 360.0);
    if (turned < 0) turned += 360.0;
    line.quadrant_ = (turned > 315 || turned <= 45) ? 0 : turned <= 135 ? 1 : turned <= 225 ? 2 : 3;
  }

  const bool useKerning = !style.vertical && FT_HAS_KERNING(face) &&
                          (widthPt >= 14 || (widthPt == 0 && heightPt >= 14));
  const FT_Int32 loadFlags = FT_LOAD_NO_BITMAP | (style.vertical ? FT_LOAD_VERTICAL_LAYOUT : 0);

  bool oneBit = style.antiAliasMode == 0;
  if (style.antiAliasMode != 0 && style.antiAliasMode != 1) {
    const bool bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    oneBit = (!bold || (widthPt < 8 && heightPt < 8)) && widthPt < 15 && heightPt < 15 &&
             std::fmod(angle, 90.0) == 0 && !isType1Path(opened->path());
  }
  const FT_Render_Mode renderMode = oneBit ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL;

  FT_Vector pen{0, 0};
  FT_UInt previous = 0;
  std::vector<GlyphMask> glyphs;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    // A surrogate pair is one character.
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    const FT_UInt index = FT_Get_Char_Index(face, cp);
    // The pen this glyph would stand at; it moves there only if the glyph loads.
    FT_Vector at = pen;
    if (useKerning && previous != 0 && index != 0) {
      FT_Vector delta{0, 0};
      if (FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &delta) == 0) {
        at.x += delta.x;
        at.y += delta.y;
      }
    }
    at.x = (at.x + 32) & ~FT_Pos{63};
    at.y = (at.y + 32) & ~FT_Pos{63};

    // Upright glyphs are rendered at the origin and moved by the pen; turned
    // ones are rendered at their pen's sub-pixel phase and moved by its whole
    // pixels. Both come from the face's cache when kept there.
    RenderedGlyph scratch;
    const RenderedGlyph *glyph = nullptr;
    int64_t offsetX = 0, offsetY = 0;
    if (!rotated) {
      glyph = &opened->glyph(index, loadFlags, renderMode, scratch);
      if (!glyph->emptyOutline) offsetX = at.x / 64, offsetY = at.y / 64;
    } else {
      FT_Vector shift{0, 0};
      glyph = &opened->turnedGlyph(index, loadFlags, renderMode, rotation, at, scratch, shift);
      offsetX = shift.x, offsetY = shift.y;
    }
    if (!glyph->loaded) continue;
    previous = index;
    pen = at;

    const FT_Vector advance = glyph->advance;
    pen.x += advance.x;
    if (!style.vertical)
      pen.y += advance.y;
    else
      pen.y -= advance.y != 0 ? advance.y : static_cast<FT_Pos>(std::trunc(heightPt)) * 64;

    if (!takeFromBudget(*glyph, pixelBudget)) continue;
    GlyphMask mask = glyph == &scratch ? std::move(scratch.mask) : glyph->mask;
    mask.x += offsetX;
    mask.y -= offsetY;
    glyphs.push_back(std::move(mask));
  }

  // The box, y upwards, over every glyph (an empty one counts at its place).
  int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;
  if (!glyphs.empty()) {
    minX = minY = INT64_MAX;
    maxX = maxY = INT64_MIN;
    for (const auto &g : glyphs) {
      minX = std::min(minX, g.x);
      maxX = std::max(maxX, g.x + g.width);
      maxY = std::max(maxY, -g.y);
      minY = std::min(minY, -g.y - g.rows);
    }
    if (maxX < minX) minX = minY = maxX = maxY = 0;
  }

  int64_t ascent = maxY, descent = minY;
  if (scalable && angle == 0 && !style.vertical && face->units_per_EM > 0) {
    const int64_t unitsPerEm = face->units_per_EM;
    ascent = static_cast<int64_t>(std::trunc(heightPt * face->ascender * 96)) / 72 / unitsPerEm;
    descent = static_cast<int64_t>(std::trunc(heightPt * face->descender * 96)) / 72 / unitsPerEm;
  }
  int64_t width = maxX - minX;
  int64_t height = ascent - descent;

  const int64_t shiftX = (FT_IS_FIXED_WIDTH(face) && minX >= 0) ? 0 : minX;
  for (auto &g : glyphs) {
    g.x -= shiftX;
    g.y += ascent;
  }

  if (scalable) {
    if (face->units_per_EM > 0)
      line.lineDistance_ = clampToInt(static_cast<int64_t>(
          std::trunc(heightPt * face->height * 96 * 0.013888888888888888 / face->units_per_EM)));
  } else {
    if (!style.vertical)
      width = pen.x / 64;
    else
      height = pen.y / -64;
    if (line.quadrant_ == 1 || line.quadrant_ == 3) std::swap(width, height);
    int64_t distance = static_cast<int64_t>(std::trunc(static_cast<double>(height) * 1.3333333333333333));
    if (endsWithIgnoringAsciiCase(opened->path(), ".pcf")) distance += distance / 6;
    line.lineDistance_ = clampToInt(distance);
  }
  line.width_ = clampToInt(width);
  line.height_ = clampToInt(height);

  // Empty masks have given their place to the box; drawing needs only the rest.
  std::erase_if(glyphs, [](const GlyphMask &g) { return g.width == 0 || g.rows == 0; });
  line.glyphs_ = std::move(glyphs);
  return line;
}

}  // namespace quorvane::text
