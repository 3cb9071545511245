// Single-line layout. Pipeline: size the face (a bitmap-only face takes its
// nearest fixed size), then per character kern, round the pen to whole
// pixels, load and place (upright glyphs are rendered once per face and size
// and moved by the pen; turned outlines are translated by the pen, turned by
// the angle and rendered, once per pen phase, and not at all where FreeType
// would decline the bitmap; bitmap faces are turned by quarter turns at draw
// time), advance, and keep the mask. A character the face lacks is taken from
// the first fallback face that has it, set to the same size, and placed,
// turned and measured as the face's own glyphs are; kerning applies only
// between glyphs of one face. A glyph that does not load is skipped: the pen
// stays and it is not kerned against. Then the box, the vertical
// extent (global font metrics for scalable unrotated horizontal text, so
// every line of a font is equally high), the shift to the box's top-left,
// and the line distance. Pen and glyph positions are 26.6 fixed point, y up.
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "base/angles.h"
#include "base/int_math.h"
#include "text/glyph_contrast.h"
#include "text/text_line.h"

namespace quorvane::text {

namespace {

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

namespace {

// How the glyphs are turned: scalable faces by a matrix applied to each
// outline, faces without outlines by quarter turns at draw time.
struct Orientation {
  bool rotated = false;
  FT_Matrix rotation{};
  int quadrant = 0;
};

// How every glyph of the line is loaded and rendered.
struct RenderChoice {
  bool useKerning = false;  // where the face has kerning data
  FT_Int32 loadFlags = 0;
  FT_Render_Mode renderMode = FT_RENDER_MODE_NORMAL;
};

// The glyph masks in pen order, placed by the pen, and where the pen stopped.
struct PlacedGlyphs {
  std::vector<GlyphMask> glyphs;
  FT_Vector pen{0, 0};
};

// The box over every glyph, y upwards.
struct GlyphBox {
  int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;
};

// Above and below the baseline, y upwards.
struct VerticalExtent {
  int64_t ascent = 0;
  int64_t descent = 0;
};

struct LineMetrics {
  int64_t width = 0;
  int64_t height = 0;
  int lineDistance = 0;
};

// Sets the face to the size asked for; a size the face refuses takes the
// fixed size nearest in height, and the size in points becomes that one's.
void sizeFace(SharedFace &opened, double &heightPt, double &widthPt) {
  FT_Face face = opened.face();
  const int strike = face->num_fixed_sizes > 0 ? nearestFixedSize(face, heightPt) : -1;
  const int chosen = opened.activateSize(static_cast<FT_F26Dot6>(widthPt * 64),
                                         static_cast<FT_F26Dot6>(heightPt * 64), strike);
  if (chosen >= 0) {
    heightPt = (face->available_sizes[chosen].height * 3 + 2) / 4;
    widthPt = (face->available_sizes[chosen].width * 3 + 2) / 4;
  }
}

Orientation orientationOf(bool scalable, double angle) {
  Orientation o;
  o.rotated = scalable && angle != 0;
  if (o.rotated) {
    const double radians = angle * kTextRadiansPerDegree;
    o.rotation.xx = static_cast<FT_Fixed>(std::cos(radians) * 65536);
    o.rotation.xy = static_cast<FT_Fixed>(-std::sin(radians) * 65536);
    o.rotation.yx = static_cast<FT_Fixed>(std::sin(radians) * 65536);
    o.rotation.yy = static_cast<FT_Fixed>(std::cos(radians) * 65536);
  } else if (!scalable) {
    double turned = std::fmod(angle, 360.0);
    if (turned < 0) turned += 360.0;
    o.quadrant = (turned > 315 || turned <= 45) ? 0 : turned <= 135 ? 1 : turned <= 225 ? 2 : 3;
  }
  return o;
}

// Kerning for horizontal text of 14 points or more; one-bit glyphs when the
// mode asks for them or, in the automatic mode, for small upright text that
// is not bold and not a Type 1 font.
RenderChoice renderChoiceOf(const SharedFace &opened, const TextStyle &style, double heightPt,
                            double widthPt, double angle) {
  FT_Face face = opened.face();
  RenderChoice r;
  r.useKerning = !style.vertical && (widthPt >= 14 || (widthPt == 0 && heightPt >= 14));
  r.loadFlags = FT_LOAD_NO_BITMAP | (style.vertical ? FT_LOAD_VERTICAL_LAYOUT : 0);
  bool oneBit = style.antiAliasMode == 0;
  if (style.antiAliasMode != 0 && style.antiAliasMode != 1) {
    const bool bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    oneBit = (!bold || (widthPt < 8 && heightPt < 8)) && widthPt < 15 && heightPt < 15 &&
             std::fmod(angle, 90.0) == 0 && !isType1Path(opened.path());
  }
  r.renderMode = oneBit            ? FT_RENDER_MODE_MONO
                 : style.crispGrey ? kCrispRenderMode
                                   : FT_RENDER_MODE_NORMAL;
  return r;
}

// The faces a line's glyphs come from: its own, and the fallback faces of
// the characters it lacks, each set to the line's size when first used.
class LineFaces {
 public:
  LineFaces(SharedFace &own, FontManager &fonts, const FontManager::Lock &lock, double heightPt,
            double widthPt)
      : own_(own),
        fonts_(fonts),
        lock_(lock),
        width_(static_cast<FT_F26Dot6>(widthPt * 64)),
        height_(static_cast<FT_F26Dot6>(heightPt * 64)) {}

  GlyphSource pick(char32_t cp) {
    const GlyphSource source = fonts_.glyphFor(own_, cp, lock_);
    if (source.face != &own_ &&
        std::find(sized_.begin(), sized_.end(), source.face) == sized_.end()) {
      source.face->activateSize(width_, height_, -1);
      sized_.push_back(source.face);
    }
    return source;
  }

 private:
  SharedFace &own_;
  FontManager &fonts_;
  const FontManager::Lock &lock_;
  FT_F26Dot6 width_, height_;
  std::vector<SharedFace *> sized_;
};

// The character at text[i]; a surrogate pair is one character, and i is left
// on its second half.
char32_t characterAt(std::u16string_view text, size_t &i) {
  char32_t cp = text[i];
  if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
      text[i + 1] <= 0xDFFF) {
    cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
    ++i;
  }
  return cp;
}

// The pen a glyph would stand at: kerned against the previous glyph when both
// come from one face that kerns, and rounded to whole pixels.
FT_Vector kernedPen(FT_Vector pen, const GlyphSource &previous, const GlyphSource &source,
                    const RenderChoice &render) {
  if (render.useKerning && previous.face == source.face && previous.index != 0 &&
      source.index != 0 && FT_HAS_KERNING(source.face->face())) {
    FT_Vector delta{0, 0};
    if (FT_Get_Kerning(source.face->face(), previous.index, source.index, FT_KERNING_DEFAULT,
                       &delta) == 0) {
      pen.x += delta.x;
      pen.y += delta.y;
    }
  }
  pen.x = (pen.x + 32) & ~FT_Pos{63};
  pen.y = (pen.y + 32) & ~FT_Pos{63};
  return pen;
}

// Per character: pick its face, kern, round the pen to whole pixels, load and
// place, advance, and keep the mask while the budget lasts.
PlacedGlyphs placeGlyphs(std::u16string_view text, LineFaces &faces, const TextStyle &style,
                         double heightPt, const Orientation &orientation,
                         const RenderChoice &render, uint64_t &pixelBudget) {
  PlacedGlyphs placed;
  FT_Vector &pen = placed.pen;
  GlyphSource previous;
  for (size_t i = 0; i < text.size(); ++i) {
    const GlyphSource source = faces.pick(characterAt(text, i));
    SharedFace &face = *source.face;
    // The pen this glyph would stand at; it moves there only if the glyph loads.
    const FT_Vector at = kernedPen(pen, previous, source, render);

    // Upright glyphs are rendered at the origin and moved by the pen; turned
    // ones are rendered at their pen's sub-pixel phase and moved by its whole
    // pixels. Both come from the face's cache when kept there.
    RenderedGlyph scratch;
    const RenderedGlyph *glyph = nullptr;
    int64_t offsetX = 0, offsetY = 0;
    if (!orientation.rotated) {
      glyph = &face.glyph(source.index, render.loadFlags, render.renderMode, scratch);
      if (!glyph->emptyOutline) offsetX = at.x / 64, offsetY = at.y / 64;
    } else {
      FT_Vector shift{0, 0};
      glyph = &face.turnedGlyph(source.index, render.loadFlags, render.renderMode,
                                orientation.rotation, at, scratch, shift);
      offsetX = shift.x, offsetY = shift.y;
    }
    if (!glyph->loaded) continue;
    previous = source;
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
    placed.glyphs.push_back(std::move(mask));
  }
  return placed;
}

// An empty glyph counts at its place.
GlyphBox boxOf(const std::vector<GlyphMask> &glyphs) {
  GlyphBox box;
  if (glyphs.empty()) return box;
  box.minX = box.minY = INT64_MAX;
  box.maxX = box.maxY = INT64_MIN;
  for (const auto &g : glyphs) {
    box.minX = std::min(box.minX, g.x);
    box.maxX = std::max(box.maxX, g.x + g.width);
    box.maxY = std::max(box.maxY, -g.y);
    box.minY = std::min(box.minY, -g.y - g.rows);
  }
  if (box.maxX < box.minX) box = GlyphBox{};
  return box;
}

// The global font metrics for scalable unrotated horizontal text, so that
// every line of a font is equally high; the box's otherwise.
VerticalExtent verticalExtentOf(FT_Face face, const TextStyle &style, double heightPt,
                                double angle, const GlyphBox &box) {
  VerticalExtent extent{box.maxY, box.minY};
  if (FT_IS_SCALABLE(face) && angle == 0 && !style.vertical && face->units_per_EM > 0) {
    const int64_t unitsPerEm = face->units_per_EM;
    extent.ascent =
        static_cast<int64_t>(std::trunc(heightPt * face->ascender * 96)) / 72 / unitsPerEm;
    extent.descent =
        static_cast<int64_t>(std::trunc(heightPt * face->descender * 96)) / 72 / unitsPerEm;
  }
  return extent;
}

// Moves the glyphs from the pen's origin to the box's top-left, y downwards.
void shiftToBoxTopLeft(std::vector<GlyphMask> &glyphs, FT_Face face, int64_t minX,
                       int64_t ascent) {
  const int64_t shiftX = (FT_IS_FIXED_WIDTH(face) && minX >= 0) ? 0 : minX;
  for (auto &g : glyphs) {
    g.x -= shiftX;
    g.y += ascent;
  }
}

// Scalable faces take the line distance from the font; a face without
// outlines is measured by its pen, turned by its quadrant, and spaced by a
// third of its height more (a PCF font a sixth more again).
LineMetrics lineMetricsOf(const SharedFace &opened, const TextStyle &style, double heightPt,
                          int quadrant, const GlyphBox &box, const VerticalExtent &extent,
                          FT_Vector pen) {
  FT_Face face = opened.face();
  LineMetrics m;
  m.width = box.maxX - box.minX;
  m.height = extent.ascent - extent.descent;
  if (FT_IS_SCALABLE(face)) {
    if (face->units_per_EM > 0)
      m.lineDistance = clampToInt(static_cast<int64_t>(
          std::trunc(heightPt * face->height * 96 * 0.013888888888888888 / face->units_per_EM)));
    return m;
  }
  if (!style.vertical)
    m.width = pen.x / 64;
  else
    m.height = pen.y / -64;
  if (quadrant == 1 || quadrant == 3) std::swap(m.width, m.height);
  int64_t distance =
      static_cast<int64_t>(std::trunc(static_cast<double>(m.height) * 1.3333333333333333));
  if (endsWithIgnoringAsciiCase(opened.path(), ".pcf")) distance += distance / 6;
  m.lineDistance = clampToInt(distance);
  return m;
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

  sizeFace(*opened, heightPt, widthPt);
  const Orientation orientation = orientationOf(FT_IS_SCALABLE(face), angle);
  line.quadrant_ = orientation.quadrant;
  const RenderChoice render = renderChoiceOf(*opened, style, heightPt, widthPt, angle);
  LineFaces faces(*opened, fonts, lock, heightPt, widthPt);
  // Glyphs of another mode that give the size are placed first, so that what
  // the drawn glyphs take from the budget never changes the size.
  TextStyle measured = style;
  if (style.measureMode >= 0) measured.antiAliasMode = style.measureMode;
  measured.crispGrey = false;
  const RenderChoice measuring = renderChoiceOf(*opened, measured, heightPt, widthPt, angle);
  std::optional<GlyphBox> measuredBox;
  if (measuring.renderMode != render.renderMode)
    measuredBox = boxOf(
        placeGlyphs(text, faces, style, heightPt, orientation, measuring, pixelBudget).glyphs);
  PlacedGlyphs placed = placeGlyphs(text, faces, style, heightPt, orientation, render, pixelBudget);
  std::vector<GlyphMask> &glyphs = placed.glyphs;

  const GlyphBox box = measuredBox ? *measuredBox : boxOf(glyphs);
  const VerticalExtent extent = verticalExtentOf(face, style, heightPt, angle, box);
  shiftToBoxTopLeft(glyphs, face, box.minX, extent.ascent);
  const LineMetrics metrics =
      lineMetricsOf(*opened, style, heightPt, line.quadrant_, box, extent, placed.pen);
  line.lineDistance_ = metrics.lineDistance;
  line.width_ = clampToInt(metrics.width);
  line.height_ = clampToInt(metrics.height);

  // Coverage to levels: the nearest of the steps (255 is no tie), or
  // (coverage + 1) / 32, coverage below 31 drawing nothing.
  line.fullLevel_ = style.steppedLevels ? kSteppedLevels : kFullLevel;
  for (auto &g : glyphs)
    for (uint8_t &l : g.levels)
      l = style.steppedLevels ? static_cast<uint8_t>((l * kSteppedLevels + 127) / 255)
          : l == 255          ? kFullLevel
                              : static_cast<uint8_t>((l + 1) / 32);
  // Masks without coverage (a space is one blank pixel in one-bit mode) have
  // given their place to the box; drawing needs only the rest.
  std::erase_if(glyphs, [](const GlyphMask &g) {
    return std::all_of(g.levels.begin(), g.levels.end(), [](uint8_t l) { return l == 0; });
  });
  line.glyphs_ = std::move(glyphs);
  return line;
}

}  // namespace quorvane::text
