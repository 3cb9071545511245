// Loading and rendering glyphs into coverage masks, and the per-face cache
// of sizes and rendered glyphs.
#include "text/shared_face.h"

#include <cstddef>
#include <utility>

namespace quorvane::text {

namespace {

uint8_t levelOf(unsigned coverage) {
  if (coverage >= 255) return kFullLevel;
  return static_cast<uint8_t>((coverage + 1) / 32);  // coverage below 31 is level 0
}

bool fitsLimits(uint64_t width, uint64_t rows, uint64_t budget) {
  return width <= kMaxGlyphSide && rows <= kMaxGlyphSide && width * rows <= kMaxGlyphPixels &&
         width * rows <= budget;
}

// Copies a rendered bitmap into mask as coverage levels.
void copyLevels(const FT_BitmapGlyphRec &bitmapGlyph, GlyphMask &mask) {
  const FT_Bitmap &bitmap = bitmapGlyph.bitmap;
  mask.x = bitmapGlyph.left;
  mask.y = -static_cast<int64_t>(bitmapGlyph.top);
  mask.width = static_cast<int32_t>(bitmap.width);
  mask.rows = static_cast<int32_t>(bitmap.rows);
  mask.levels.assign(static_cast<size_t>(bitmap.width) * bitmap.rows, 0);
  if (bitmap.rows == 0 || bitmap.width == 0) return;
  // A negative pitch means the rows are stored bottom-up; the pitch always
  // steps one row down.
  const ptrdiff_t pitch = bitmap.pitch;
  const unsigned char *top =
      pitch >= 0 ? bitmap.buffer : bitmap.buffer - pitch * static_cast<ptrdiff_t>(bitmap.rows - 1);
  uint8_t *out = mask.levels.data();
  for (unsigned r = 0; r < bitmap.rows; ++r, out += bitmap.width) {
    const unsigned char *src = top + pitch * static_cast<ptrdiff_t>(r);
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
      for (unsigned k = 0; k < bitmap.width; ++k)
        out[k] = (src[k >> 3] & (0x80u >> (k & 7))) ? kFullLevel : 0;
    } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
      for (unsigned k = 0; k < bitmap.width; ++k) out[k] = levelOf(src[k]);
    }  // other kinds of bitmap have no coverage
  }
}

}  // namespace

bool loadGlyph(FT_Face face, FT_UInt index, FT_Int32 loadFlags, GlyphPtr &glyph,
               RenderedGlyph &out) {
  out = RenderedGlyph{};
  if (FT_Load_Glyph(face, index, loadFlags) != 0) return false;
  FT_Glyph raw = nullptr;
  if (FT_Get_Glyph(face->glyph, &raw) != 0) return false;
  glyph.reset(raw);
  out.loaded = true;
  out.advance = face->glyph->advance;
  return true;
}

void renderGlyph(GlyphPtr &glyph, FT_Render_Mode mode, RenderedGlyph &out) {
  if (glyph->format != FT_GLYPH_FORMAT_BITMAP) {
    out.fromOutline = true;
    out.emptyOutline = glyph->format == FT_GLYPH_FORMAT_OUTLINE &&
                       reinterpret_cast<FT_OutlineGlyph>(glyph.get())->outline.n_points == 0;
    FT_BBox box;
    FT_Glyph_Get_CBox(glyph.get(), FT_GLYPH_BBOX_PIXELS, &box);
    out.boxValid = box.xMax >= box.xMin && box.yMax >= box.yMin;
    if (!out.boxValid) return;
    out.boxWidth = static_cast<uint64_t>(box.xMax - box.xMin) + 2;
    out.boxRows = static_cast<uint64_t>(box.yMax - box.yMin) + 2;
    if (!fitsLimits(out.boxWidth, out.boxRows, kMaxGlyphPixels)) return;
    FT_Glyph rendered = glyph.release();
    const FT_Error error = FT_Glyph_To_Bitmap(&rendered, mode, nullptr, 1);
    glyph.reset(rendered);  // the bitmap on success, else the outline still
    if (error != 0) return;
  }
  const auto *bitmapGlyph = reinterpret_cast<const FT_BitmapGlyphRec *>(glyph.get());
  if (!fitsLimits(bitmapGlyph->bitmap.width, bitmapGlyph->bitmap.rows, kMaxGlyphPixels)) return;
  copyLevels(*bitmapGlyph, out.mask);
  out.rendered = true;
}

bool takeFromBudget(const RenderedGlyph &glyph, uint64_t &budget) {
  if (glyph.fromOutline && (!glyph.boxValid || !fitsLimits(glyph.boxWidth, glyph.boxRows, budget)))
    return false;
  if (!glyph.rendered) return false;
  const uint64_t width = static_cast<uint64_t>(glyph.mask.width);
  const uint64_t rows = static_cast<uint64_t>(glyph.mask.rows);
  if (!fitsLimits(width, rows, budget)) return false;
  budget -= width * rows;
  return true;
}

SharedFace::SharedFace(FacePtr face, std::string path, const platform::FileIdentity &identity)
    : face_(std::move(face)), path_(std::move(path)), identity_(identity) {
  // The size the face was opened with is the first to be given out.
  sizes_.emplace_front().size = face_->size;
}

SharedFace::~SharedFace() {
  // The face's sizes go with the face.
  sizes_.clear();
}

int SharedFace::activateSize(FT_F26Dot6 width, FT_F26Dot6 height, int strike) {
  for (auto it = sizes_.begin(); it != sizes_.end(); ++it) {
    if (!it->requested || it->width != width || it->height != height ||
        it->requestedStrike != strike)
      continue;
    sizes_.splice(sizes_.begin(), sizes_, it);
    FT_Activate_Size(it->size);
    return it->heldStrike;
  }
  // A new size, or when there are enough (or no memory for another) the
  // least recently used one given over to the request.
  FT_Size size = nullptr;
  if (sizes_.size() < kMaxSizes && FT_New_Size(face_.get(), &size) == 0) {
    sizes_.emplace_front().size = size;
  } else {
    sizes_.splice(sizes_.begin(), sizes_, std::prev(sizes_.end()));
    sizes_.front().glyphs.clear();
    sizes_.front().glyphBytes = 0;
  }
  Size &made = sizes_.front();
  FT_Activate_Size(made.size);
  made.requested = true;
  made.width = width;
  made.height = height;
  made.requestedStrike = strike;
  made.heldStrike = -1;
  if (FT_Set_Char_Size(face_.get(), width, height, 96, 96) != 0 && strike >= 0) {
    FT_Select_Size(face_.get(), strike);
    made.heldStrike = strike;
  }
  return made.heldStrike;
}

const RenderedGlyph &SharedFace::glyph(FT_UInt index, FT_Int32 loadFlags, FT_Render_Mode mode,
                                       RenderedGlyph &scratch) {
  Size &active = sizes_.front();
  const uint64_t key = uint64_t{index} |
                       (uint64_t{static_cast<uint32_t>(loadFlags) & 0xFFFFFFu} << 32) |
                       (uint64_t{static_cast<uint32_t>(mode) & 0xFFu} << 56);
  if (const auto found = active.glyphs.find(key); found != active.glyphs.end())
    return found->second;

  GlyphPtr loaded;
  if (loadGlyph(face_.get(), index, loadFlags, loaded, scratch)) renderGlyph(loaded, mode, scratch);
  if (scratch.mask.levels.size() > kMaxKeptGlyphPixels) return scratch;
  const size_t bytes = scratch.mask.levels.size() + sizeof(RenderedGlyph) + 32;
  if (active.glyphBytes + bytes > kMaxGlyphBytesPerSize) {
    active.glyphs.clear();
    active.glyphBytes = 0;
  }
  active.glyphBytes += bytes;
  return active.glyphs.emplace(key, std::move(scratch)).first->second;
}

}  // namespace quorvane::text
