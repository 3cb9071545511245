// Loading and rendering glyphs into coverage masks, and the per-face cache
// of sizes and rendered glyphs, upright and turned.
#include "text/shared_face.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "text/glyph_contrast.h"

namespace quorvane::text {

namespace {

bool fitsLimits(uint64_t width, uint64_t rows, uint64_t budget) {
  return width <= kMaxGlyphSide && rows <= kMaxGlyphSide && width * rows <= kMaxGlyphPixels &&
         width * rows <= budget;
}

// Copies a rendered bitmap into mask as coverage.
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
        out[k] = (src[k >> 3] & (0x80u >> (k & 7))) ? 255 : 0;
    } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
      std::copy(src, src + bitmap.width, out);
    }  // other kinds of bitmap have no coverage
  }
}

// A glyph's key in a size's cache: index, load flags and render mode.
uint64_t glyphKey(FT_UInt index, FT_Int32 loadFlags, FT_Render_Mode mode) {
  return uint64_t{index} | (uint64_t{static_cast<uint32_t>(loadFlags) & 0xFFFFFFu} << 32) |
         (uint64_t{static_cast<uint32_t>(mode) & 0xFFu} << 56);
}

// The four products of a whole-pixel pen (m, n) with the rotation's entries,
// 64 m r = 2^22 a + 64 b: the residues b (16 bits each) and the whole pixels a
// they add to the turned pen.
struct PenPhase {
  int64_t residues[4] = {};  // xx, yx, xy, yy
  uint64_t key = 0;
  FT_Vector wholePixels{0, 0};  // y up
};

PenPhase penPhase(int64_t m, int64_t n, const FT_Matrix &rotation) {
  PenPhase phase;
  const int64_t products[4] = {m * rotation.xx, m * rotation.yx, n * rotation.xy, n * rotation.yy};
  int64_t whole[4];
  for (int i = 0; i < 4; ++i) {
    whole[i] = products[i] >> 16;  // floor, also for negative products
    phase.residues[i] = products[i] & 0xFFFF;
    phase.key |= static_cast<uint64_t>(phase.residues[i]) << (16 * i);
  }
  phase.wholePixels.x = whole[0] + whole[2];
  phase.wholePixels.y = whole[1] + whole[3];
  return phase;
}

// Whether no product of a point coordinate with a rotation entry, offset by
// the pen's residue, is a tie for FreeType's rounding, and every coordinate is
// small enough for the products of FreeType's 32-bit arithmetic.
bool hasNoTies(const FT_Outline &outline, const FT_Matrix &rotation, const PenPhase &phase) {
  constexpr FT_Pos kMaxCoordinate = FT_Pos{1} << 24;
  const auto isTie = [](int64_t product) { return (product & 0xFFFF) == 0x8000; };
  for (short i = 0; i < outline.n_points; ++i) {
    const int64_t x = outline.points[i].x, y = outline.points[i].y;
    if (x <= -kMaxCoordinate || x >= kMaxCoordinate || y <= -kMaxCoordinate ||
        y >= kMaxCoordinate)
      return false;
    if (isTie(x * rotation.xx + 64 * phase.residues[0]) ||
        isTie(x * rotation.yx + 64 * phase.residues[1]) ||
        isTie(y * rotation.xy + 64 * phase.residues[2]) ||
        isTie(y * rotation.yy + 64 * phase.residues[3]))
      return false;
  }
  return true;
}

// Whether a mask moved by shift (whole pixels, y up) lies within limit
// pixels of the origin.
bool liesWithin(const GlyphMask &mask, FT_Vector shift, int64_t limit) {
  const int64_t left = mask.x + shift.x, top = mask.y - shift.y;
  return left >= -limit && left + mask.width <= limit && top >= -limit && top + mask.rows <= limit;
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
    if (mode == kCrispRenderMode)
      raiseCoverage(reinterpret_cast<FT_BitmapGlyph>(glyph.get())->bitmap);
  }
  const auto *bitmapGlyph = reinterpret_cast<const FT_BitmapGlyphRec *>(glyph.get());
  if (!fitsLimits(bitmapGlyph->bitmap.width, bitmapGlyph->bitmap.rows, kMaxGlyphPixels)) return;
  copyLevels(*bitmapGlyph, out.mask);
  out.rendered = true;
}

void renderTurned(GlyphPtr &glyph, FT_Vector pen, const FT_Matrix &rotation, FT_Render_Mode mode,
                  RenderedGlyph &out) {
  FT_Glyph_Transform(glyph.get(), nullptr, &pen);
  FT_Glyph_Transform(glyph.get(), &rotation, nullptr);
  renderGlyph(glyph, mode, out);
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
    sizes_.front().metrics.clear();
    dropTurns(sizes_.front());
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
  const uint64_t key = glyphKey(index, loadFlags, mode);
  if (const auto found = active.glyphs.find(key); found != active.glyphs.end())
    return found->second;

  GlyphPtr loaded;
  ++glyphsRasterised_;
  if (loadGlyph(face_.get(), index, loadFlags, loaded, scratch)) {
    if (mode == kCrispRenderMode) hintCrisp(face_.get(), index, loadFlags, loaded);
    renderGlyph(loaded, mode, scratch);
  }
  if (scratch.mask.levels.size() > kMaxKeptGlyphPixels) return scratch;
  const size_t bytes = scratch.mask.levels.size() + sizeof(RenderedGlyph) + 32;
  if (active.glyphBytes + bytes > kMaxGlyphBytesPerSize) {
    active.glyphs.clear();
    active.glyphBytes = 0;
  }
  RenderedGlyph &kept = active.glyphs.emplace(key, std::move(scratch)).first->second;
  active.glyphBytes += bytes;
  return kept;
}

const SharedFace::GlyphMetrics &SharedFace::metricsOf(FT_UInt index, FT_Int32 loadFlags,
                                                      FT_Render_Mode mode,
                                                      RenderedGlyph &scratch) {
  const uint64_t key = glyphKey(index, loadFlags, mode);
  if (const auto found = sizes_.front().metrics.find(key); found != sizes_.front().metrics.end())
    return found->second;
  const RenderedGlyph &upright = glyph(index, loadFlags, mode, scratch);
  GlyphMetrics m;
  m.loaded = upright.loaded;
  m.emptyOutline = upright.emptyOutline;
  m.advance = upright.advance;
  m.hasBox = upright.fromOutline && upright.rendered;
  if (m.hasBox) {
    m.left = upright.mask.x;
    m.top = upright.mask.y;
    m.right = upright.mask.x + upright.mask.width;
    m.bottom = upright.mask.y + upright.mask.rows;
  }
  auto &metrics = sizes_.front().metrics;
  if (metrics.size() >= kMaxMetricsPerSize) metrics.clear();
  return metrics.emplace(key, m).first->second;
}

bool SharedFace::beyondRenderLimit(const GlyphMetrics &metrics, const FT_Matrix &rotation,
                                   FT_Vector pen) {
  if (!metrics.hasBox) return false;
  // The outline lies within the upright mask widened by a pixel (a one-bit
  // mask may round half a pixel inwards); moved by the pen (y up) and turned,
  // within the box of the turned corners, give or take FreeType's rounding
  // of each product and of the bitmap's edges to whole pixels.
  const double penX = static_cast<double>(pen.x) / 64, penY = static_cast<double>(pen.y) / 64;
  const double xs[2] = {static_cast<double>(metrics.left - 1) + penX,
                        static_cast<double>(metrics.right + 1) + penX};
  const double ys[2] = {static_cast<double>(-metrics.bottom - 1) + penY,
                        static_cast<double>(-metrics.top + 1) + penY};
  double minX = HUGE_VAL, maxX = -HUGE_VAL, minY = HUGE_VAL, maxY = -HUGE_VAL;
  for (const double x : xs)
    for (const double y : ys) {
      const double tx = (static_cast<double>(rotation.xx) * x + static_cast<double>(rotation.xy) * y) / 65536;
      const double ty = (static_cast<double>(rotation.yx) * x + static_cast<double>(rotation.yy) * y) / 65536;
      minX = std::min(minX, tx), maxX = std::max(maxX, tx);
      minY = std::min(minY, ty), maxY = std::max(maxY, ty);
    }
  constexpr double kMargin = 2;
  constexpr double kLimit = static_cast<double>(kRenderLimitPixels);
  return minX - kMargin >= kLimit || maxX + kMargin < -kLimit || minY - kMargin >= kLimit ||
         maxY + kMargin < -kLimit;
}

size_t SharedFace::TurnedTable::slotOf(const TurnedKey &key) const {
  uint64_t h = key.glyph * 0x9E3779B97F4A7C15u + key.phase;
  h = (h ^ (h >> 30)) * 0xBF58476D1CE4E5B9u;
  h = (h ^ (h >> 27)) * 0x94D049BB133111EBu;
  return static_cast<size_t>(h ^ (h >> 31)) & (slots_.size() - 1);
}

SharedFace::TurnedGlyph *SharedFace::TurnedTable::find(const TurnedKey &key) {
  if (slots_.empty()) return nullptr;
  for (size_t i = slotOf(key);; i = (i + 1) & (slots_.size() - 1)) {
    const Slot &slot = slots_[i];
    if (slot.glyph == kEmpty) return nullptr;
    if (slot.key == key) return &glyphs_[slot.glyph];
  }
}

SharedFace::TurnedGlyph &SharedFace::TurnedTable::insert(const TurnedKey &key, TurnedGlyph glyph) {
  if ((glyphs_.size() + 1) * 4 > slots_.size() * 3) {
    std::vector<Slot> grown(std::max<size_t>(64, slots_.size() * 2));
    slots_.swap(grown);
    for (const Slot &slot : grown) {
      if (slot.glyph == kEmpty) continue;
      size_t i = slotOf(slot.key);
      while (slots_[i].glyph != kEmpty) i = (i + 1) & (slots_.size() - 1);
      slots_[i] = slot;
    }
  }
  glyphs_.push_back(std::move(glyph));
  size_t i = slotOf(key);
  while (slots_[i].glyph != kEmpty) i = (i + 1) & (slots_.size() - 1);
  slots_[i] = Slot{key, static_cast<uint32_t>(glyphs_.size() - 1)};
  return glyphs_.back();
}

void SharedFace::TurnedTable::clear() {
  slots_.clear();
  glyphs_.clear();
}

size_t SharedFace::turnedBytesOf(const RenderedGlyph &glyph) {
  // The mask, the glyph, and two of the table's slots (it is kept between
  // three eighths and three quarters full).
  return glyph.mask.levels.size() + sizeof(TurnedGlyph) + 2 * sizeof(TurnedTable::Slot) + 32;
}

size_t SharedFace::turnedGlyphBytes() const {
  size_t bytes = 0;
  for (const Size &size : sizes_)
    for (const Turn &turn : size.turns)
      for (const TurnedGlyph &kept : turn.glyphs.glyphs()) bytes += turnedBytesOf(kept.glyph);
  return bytes;
}

void SharedFace::dropTurns(Size &size) {
  for (const Turn &turn : size.turns) turnedGlyphBytes_ -= turn.glyphBytes;
  size.turns.clear();
}

SharedFace::Turn &SharedFace::activeTurn(const FT_Matrix &rotation) {
  std::list<Turn> &turns = sizes_.front().turns;
  for (auto it = turns.begin(); it != turns.end(); ++it) {
    if (it->rotation.xx != rotation.xx || it->rotation.xy != rotation.xy ||
        it->rotation.yx != rotation.yx || it->rotation.yy != rotation.yy)
      continue;
    turns.splice(turns.begin(), turns, it);
    return turns.front();
  }
  if (turns.size() < kMaxTurnsPerSize) {
    turns.emplace_front();
  } else {
    turns.splice(turns.begin(), turns, std::prev(turns.end()));
    turnedGlyphBytes_ -= turns.front().glyphBytes;
    turns.front().glyphs.clear();
    turns.front().glyphBytes = 0;
  }
  turns.front().rotation = rotation;
  return turns.front();
}

const RenderedGlyph &SharedFace::turnedGlyph(FT_UInt index, FT_Int32 loadFlags,
                                             FT_Render_Mode mode, const FT_Matrix &rotation,
                                             FT_Vector pen, RenderedGlyph &scratch,
                                             FT_Vector &shift) {
  shift = FT_Vector{0, 0};
  const bool penKept = pen.x % 64 == 0 && pen.y % 64 == 0 &&
                       pen.x / 64 >= -kMaxTurnedPenPixels && pen.x / 64 <= kMaxTurnedPenPixels &&
                       pen.y / 64 >= -kMaxTurnedPenPixels && pen.y / 64 <= kMaxTurnedPenPixels;
  const uint64_t key = glyphKey(index, loadFlags, mode);
  PenPhase phase;
  if (penKept) {
    phase = penPhase(pen.x / 64, pen.y / 64, rotation);
    Turn &turn = activeTurn(rotation);
    if (const TurnedGlyph *found = turn.glyphs.find(TurnedKey{key, phase.key});
        found != nullptr && (!found->pinned || (found->pen.x == pen.x && found->pen.y == pen.y)) &&
        liesWithin(found->glyph.mask, phase.wholePixels, kMaxTurnedMaskPixels)) {
      shift = phase.wholePixels;
      return found->glyph;
    }
    const auto &upright = sizes_.front().glyphs;
    if (const auto found = upright.find(key);
        found != upright.end() && (!found->second.loaded || found->second.emptyOutline))
      return found->second;
  }

  // A glyph that does not load, or an outline without points, is the same
  // at every pen and angle; one that FreeType would decline needs only its
  // advance.
  const GlyphMetrics &metrics = metricsOf(index, loadFlags, mode, scratch);
  if (!metrics.loaded || metrics.emptyOutline) return glyph(index, loadFlags, mode, scratch);
  if (beyondRenderLimit(metrics, rotation, pen)) {
    declined_ = RenderedGlyph{};
    declined_.loaded = true;
    declined_.fromOutline = true;
    declined_.advance = metrics.advance;
    return declined_;
  }

  GlyphPtr loaded;
  ++glyphsRasterised_;
  if (!loadGlyph(face_.get(), index, loadFlags, loaded, scratch))
    return glyph(index, loadFlags, mode, scratch);
  const bool isOutline = loaded->format == FT_GLYPH_FORMAT_OUTLINE;
  const FT_Outline *outline =
      isOutline ? &reinterpret_cast<FT_OutlineGlyph>(loaded.get())->outline : nullptr;
  if (outline != nullptr && outline->n_points == 0) return glyph(index, loadFlags, mode, scratch);
  const bool keep = penKept && outline != nullptr;
  const bool pinned = keep && !hasNoTies(*outline, rotation, phase);
  renderTurned(loaded, pen, rotation, mode, scratch);
  if (!keep || !scratch.rendered || scratch.mask.levels.size() > kMaxKeptGlyphPixels ||
      !liesWithin(scratch.mask, FT_Vector{0, 0}, kMaxTurnedMaskPixels))
    return scratch;

  return keepTurned(rotation, TurnedKey{key, phase.key}, phase.wholePixels, pinned, pen,
                    scratch, shift);
}

const RenderedGlyph &SharedFace::keepTurned(const FT_Matrix &rotation,
                                            const TurnedKey &turnedKey, FT_Vector wholePixels,
                                            bool pinned, FT_Vector pen, RenderedGlyph &scratch,
                                            FT_Vector &shift) {
  // The phase is taken by a glyph pinned to another pen.
  if (activeTurn(rotation).glyphs.find(turnedKey) != nullptr) return scratch;

  const size_t bytes = turnedBytesOf(scratch);
  if (turnedGlyphBytes_ + bytes > kMaxTurnedGlyphBytesPerFace) {
    for (Size &size : sizes_)
      for (Turn &turn : size.turns) {
        turn.glyphs.clear();
        turn.glyphBytes = 0;
      }
    turnedGlyphBytes_ = 0;
  }
  scratch.mask.x -= wholePixels.x;
  scratch.mask.y += wholePixels.y;
  Turn &turn = activeTurn(rotation);
  TurnedGlyph &kept = turn.glyphs.insert(turnedKey, TurnedGlyph{std::move(scratch), pinned, pen});
  turn.glyphBytes += bytes;
  turnedGlyphBytes_ += bytes;
  shift = wholePixels;
  return kept.glyph;
}

}  // namespace quorvane::text
