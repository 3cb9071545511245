// A font face the font manager keeps open between texts, with the sizes it
// has been set to and the glyphs already rendered at each, upright and
// turned. Opening a face, running its size program and hinting and
// rendering a glyph are most of what a label costs; a chart sets many labels
// in one font, so each is paid once. Used only under the font lock.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_SIZES_H

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "text/glyph_mask.h"
#include "text/platform_fonts.h"

namespace quorvane::text {

struct FaceCloser {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceCloser>;

struct GlyphDeleter {
  void operator()(FT_Glyph glyph) const { FT_Done_Glyph(glyph); }
};
using GlyphPtr = std::unique_ptr<FT_GlyphRec_, GlyphDeleter>;

// A glyph as loaded and rendered with the pen at the origin. Moving the pen
// by whole pixels moves the rendered bitmap by as many pixels and changes
// nothing else, so one rendering serves every upright placement. An outline
// without points (a space) is the exception: its box stays at the origin
// wherever the pen is.
struct RenderedGlyph {
  bool loaded = false;         // false: the character is skipped, the pen stays
  FT_Vector advance{0, 0};     // 26.6
  bool fromOutline = false;    // the outline's box is checked against the budget
  bool emptyOutline = false;   // an outline without points: the pen does not move it
  bool boxValid = false;       //   before the bitmap is
  uint64_t boxWidth = 0;       // the outline's pixel box, widened by the one pixel
  uint64_t boxRows = 0;        //   the renderer may add on each side
  bool rendered = false;       // false: left out, whatever budget is left
  GlyphMask mask;              // offsets from the pen
};

// Loads glyph index of face at its active size with loadFlags. The glyph is
// kept (for a transform) when loaded.
bool loadGlyph(FT_Face face, FT_UInt index, FT_Int32 loadFlags, GlyphPtr &glyph,
               RenderedGlyph &out);

// Renders a loaded glyph (as loaded or after a transform) into out's mask,
// subject to the limits on one glyph but not to a text's budget.
void renderGlyph(GlyphPtr &glyph, FT_Render_Mode mode, RenderedGlyph &out);

// Whether a rendered glyph fits what remains of a text's budget; if it does
// its pixels are taken from the budget.
bool takeFromBudget(const RenderedGlyph &glyph, uint64_t &budget);

class SharedFace {
 public:
  // The sizes kept per face, and the mask bytes kept per size; a size past
  // its share starts its glyphs afresh. With the faces the manager keeps this
  // bounds the cache at a few megabytes whatever the texts.
  static constexpr size_t kMaxSizes = 8;
  static constexpr size_t kMaxGlyphBytesPerSize = size_t{128} << 10;
  // Larger masks are rendered for each text and not kept.
  static constexpr size_t kMaxKeptGlyphPixels = size_t{64} * 64;

  SharedFace(FacePtr face, std::string path, const platform::FileIdentity &identity);
  ~SharedFace();
  SharedFace(const SharedFace &) = delete;
  SharedFace &operator=(const SharedFace &) = delete;

  FT_Face face() const { return face_.get(); }
  const std::string &path() const { return path_; }
  const platform::FileIdentity &identity() const { return identity_; }

  // Makes active the face size requested at width x height (26.6 points,
  // 96 dpi). A request the face refuses takes the fixed size strike instead
  // when strike is not negative. Returns the strike the size holds, or -1
  // when the request was taken (or refused with no strike to take). The
  // request is made once per distinct (width, height, strike).
  int activateSize(FT_F26Dot6 width, FT_F26Dot6 height, int strike);

  // The active size's rendering of glyph index under loadFlags and mode,
  // loaded and rendered on first use. A mask too large to keep is rendered
  // into scratch, which is what is returned then. The glyph stays valid
  // until the next call on this face.
  const RenderedGlyph &glyph(FT_UInt index, FT_Int32 loadFlags, FT_Render_Mode mode,
                             RenderedGlyph &scratch);

  // Turned glyphs. A turned text translates each outline by its pen (whole
  // pixels) and then transforms it by the rotation in FreeType's 16.16
  // arithmetic, so the rendering depends on the pen's sub-pixel phase. A
  // point coordinate p (26.6) and a pen component of m pixels meet an entry
  // r of the matrix as round((p + 64 m) r / 2^16). Writing m r = 2^16 a + b
  // (0 <= b < 2^16), that is 64 a + round((p r + 64 b) / 2^16) unless the
  // last quotient is a tie, whose rounding (away from zero) may change with
  // the sign of the whole sum. So pens with the same four residues b (for xx,
  // yx with the pen's x, xy, yy with its y) render the same bitmap moved by
  // their whole pixels a, and a glyph is kept under its index, flags, mode
  // and the residues, with offsets measured from those whole pixels. A glyph
  // with a tie is kept for its own pen only. Pens beyond kMaxTurnedPenPixels,
  // masks that would lie beyond kMaxTurnedMaskPixels of the origin (FreeType
  // declines bitmaps reaching 2^15 pixels from it, wherever the pen puts
  // them), masks larger than kMaxKeptGlyphPixels and glyphs that are not
  // outlines are rendered where they stand and not kept. A glyph that does
  // not load, and an outline without points, is the same at every pen and
  // angle: the upright cache serves it.
  //
  // A glyph whose turned outline certainly lies past FreeType's limit (its
  // upright box, widened by the rounding either way, turned and moved by the
  // pen) would be declined: it is neither loaded nor rendered, only its
  // advance is taken from the glyph's metrics. So a turned line costs
  // rendering for at most the glyphs within 2^15 pixels of its origin,
  // however long it runs on.
  //
  // The rotations kept per size, and the bytes of turned glyphs kept per
  // face; past that share the face's turned glyphs start afresh. With the
  // faces the manager keeps, turned glyphs take at most kMaxOpenFaces x
  // kMaxTurnedGlyphBytesPerFace (64 MB, counting a glyph as its mask bytes
  // and a fixed overhead) however many angles, pens and texts are laid out.
  // A megabyte of ordinary 80-character lines at 10 points and one angle
  // keeps about 5 MB.
  static constexpr size_t kMaxTurnsPerSize = 4;
  static constexpr size_t kMaxTurnedGlyphBytesPerFace = size_t{8} << 20;
  static constexpr int64_t kMaxTurnedPenPixels = int64_t{1} << 16;
  static constexpr int64_t kMaxTurnedMaskPixels = (int64_t{1} << 15) - 1;
  static constexpr int64_t kRenderLimitPixels = int64_t{1} << 15;

  // The active size's rendering of glyph index under loadFlags and mode,
  // translated by pen (26.6, whole pixels) and transformed by rotation.
  // The mask's offsets are measured from shift (whole pixels, y up), which
  // the caller adds. Like glyph(), a rendering that is not kept is made in
  // scratch; the result stays valid until the next call on this face.
  const RenderedGlyph &turnedGlyph(FT_UInt index, FT_Int32 loadFlags, FT_Render_Mode mode,
                                   const FT_Matrix &rotation, FT_Vector pen,
                                   RenderedGlyph &scratch, FT_Vector &shift);

  // The bytes the turned glyphs kept now take, counted afresh from the
  // cache as the bound counts them.
  size_t turnedGlyphBytes() const;

  // Where the characters this face lacks are drawn from, kept for the glyph
  // fallback: the fallback faces to look in (slots of its list, in order,
  // listed on first need), and for each character looked for the slot and
  // glyph index it was found at.
  struct Borrowed {
    uint32_t slot = 0;
    FT_UInt index = 0;
  };
  struct FallbackMemo {
    bool listed = false;
    std::vector<uint32_t> slots;
    std::unordered_map<char32_t, Borrowed> found;
  };
  FallbackMemo &fallbackMemo() { return fallbackMemo_; }

  // How many glyphs this face has loaded to render, upright or turned, since
  // it was opened: what the caches and the render limit save shows here.
  uint64_t glyphsRasterised() const { return glyphsRasterised_; }

 private:
  // A glyph's key under one rotation: index, flags and mode as upright
  // glyphs are keyed, and the pen's four 16-bit residues (xx, yx, xy, yy).
  struct TurnedKey {
    uint64_t glyph = 0;
    uint64_t phase = 0;
    bool operator==(const TurnedKey &) const = default;
  };
  // A turned glyph; one with a tie is kept for the pen it was rendered at
  // only, and rendered afresh at any other pen of the same phase.
  struct TurnedGlyph {
    RenderedGlyph glyph;
    bool pinned = false;
    FT_Vector pen{0, 0};
  };
  // The turned glyphs of one rotation: an open-addressed table of keys
  // (linear probing, at most three quarters full) over the glyphs in the
  // order they were kept. A text at one angle keeps thousands of phases; a
  // lookup then fetches one slot and one glyph from memory, where chained
  // buckets fetch three.
  class TurnedTable {
   public:
    TurnedGlyph *find(const TurnedKey &key);
    // Keeps glyph under key, which must not be in the table.
    TurnedGlyph &insert(const TurnedKey &key, TurnedGlyph glyph);
    void clear();
    const std::vector<TurnedGlyph> &glyphs() const { return glyphs_; }

    static constexpr uint32_t kEmpty = UINT32_MAX;
    struct Slot {
      TurnedKey key;
      uint32_t glyph = kEmpty;
    };

   private:
    size_t slotOf(const TurnedKey &key) const;

    std::vector<Slot> slots_;  // a power of two in size, or none
    std::vector<TurnedGlyph> glyphs_;
  };
  struct Turn {
    FT_Matrix rotation{};
    size_t glyphBytes = 0;
    TurnedTable glyphs;
  };
  // Keeps the turned glyph just rendered in scratch under turnedKey, its mask
  // measured from wholePixels, making room when the face's bound is reached;
  // a phase another pen's pinned glyph holds keeps scratch as it is.
  const RenderedGlyph &keepTurned(const FT_Matrix &rotation, const TurnedKey &turnedKey,
                                  FT_Vector wholePixels, bool pinned, FT_Vector pen,
                                  RenderedGlyph &scratch, FT_Vector &shift);
  // What a turned glyph's placement needs without rendering it: whether it
  // loads, its advance, and its upright mask's box (y down) when it has one.
  struct GlyphMetrics {
    bool loaded = false;
    bool emptyOutline = false;
    bool hasBox = false;
    FT_Vector advance{0, 0};
    int64_t left = 0, top = 0, right = 0, bottom = 0;
  };
  struct Size {
    FT_Size size = nullptr;
    bool requested = false;  // false: the face's first size, not yet asked for
    FT_F26Dot6 width = 0, height = 0;
    int requestedStrike = -1;
    int heldStrike = -1;
    size_t glyphBytes = 0;
    std::unordered_map<uint64_t, RenderedGlyph> glyphs;
    // At most kMaxMetricsPerSize; past that they start afresh.
    std::unordered_map<uint64_t, GlyphMetrics> metrics;
    std::list<Turn> turns;  // most recently used first
  };
  static constexpr size_t kMaxMetricsPerSize = 4096;

  // The active size's metrics of a glyph, from its upright rendering.
  const GlyphMetrics &metricsOf(FT_UInt index, FT_Int32 loadFlags, FT_Render_Mode mode,
                                RenderedGlyph &scratch);
  // Whether FreeType would certainly decline the glyph turned at pen.
  static bool beyondRenderLimit(const GlyphMetrics &metrics, const FT_Matrix &rotation,
                                FT_Vector pen);

  // The active size's turn for rotation, made (in place of its least
  // recently used one when there are enough) if new.
  Turn &activeTurn(const FT_Matrix &rotation);
  void dropTurns(Size &size);
  // What a kept turned glyph counts against kMaxTurnedGlyphBytesPerFace.
  static size_t turnedBytesOf(const RenderedGlyph &glyph);

  FacePtr face_;
  std::string path_;
  platform::FileIdentity identity_;
  std::list<Size> sizes_;  // most recently used first; the front is active
  size_t turnedGlyphBytes_ = 0;  // over every size's turns
  uint64_t glyphsRasterised_ = 0;
  RenderedGlyph declined_;  // a loaded glyph left out: only its advance counts
  FallbackMemo fallbackMemo_;
};

// Renders a loaded glyph translated by pen and transformed by rotation, as
// a turned text places it.
void renderTurned(GlyphPtr &glyph, FT_Vector pen, const FT_Matrix &rotation, FT_Render_Mode mode,
                  RenderedGlyph &out);

}  // namespace quorvane::text
