// A font face the font manager keeps open between texts, with the sizes it
// has been set to and the glyphs already rendered at each. Opening a face,
// running its size program and hinting a glyph are most of what a label
// costs; a chart sets many labels in one font, so each is paid once. Used
// only under the font lock.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_SIZES_H

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

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

 private:
  struct Size {
    FT_Size size = nullptr;
    bool requested = false;  // false: the face's first size, not yet asked for
    FT_F26Dot6 width = 0, height = 0;
    int requestedStrike = -1;
    int heldStrike = -1;
    size_t glyphBytes = 0;
    std::unordered_map<uint64_t, RenderedGlyph> glyphs;
  };

  FacePtr face_;
  std::string path_;
  platform::FileIdentity identity_;
  std::list<Size> sizes_;  // most recently used first; the front is active
};

}  // namespace quorvane::text
