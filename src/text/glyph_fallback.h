// Per-character fallback: a character a scalable face lacks is drawn from the
// first fallback face that has it. A face's fallback list is its own family
// substitute (the free font standing in for a Windows font file), then
// platform::fallbackFontNames; a face is never its own fallback, and faces
// without outlines are passed over. A fallback face is found through the
// font search list the first time a character needs it and stays open,
// shared by every text, until the manager goes; a name found nowhere is not
// searched for again. Where each missing character was found is kept per face
// (a bounded memo), so a character costs one character-map lookup in its own
// face, and when missing, one per fallback face the first time its face meets
// it; no text, however hostile, makes the manager look at a file more than
// once per fallback name. Used only under the font lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text/shared_face.h"

namespace quorvane::text {

// A glyph of one face; a null face when none has the character.
struct GlyphSource {
  SharedFace *face = nullptr;
  FT_UInt index = 0;
};

class GlyphFallback {
 public:
  // Opens a font by name through the search list; null when it is found
  // nowhere or does not open.
  using Opener = std::function<std::unique_ptr<SharedFace>(std::string_view name)>;

  // Characters remembered per face; past that the memo starts afresh.
  static constexpr size_t kMaxMemoPerFace = 4096;

  explicit GlyphFallback(Opener open) : open_(std::move(open)) {}

  // Where character cp, which face lacks, is drawn from: the first face of
  // face's fallback list that maps it to a glyph.
  GlyphSource find(SharedFace &face, char32_t cp);

  // Closes the fallback faces; called before the FreeType library goes.
  void clear() { entries_.clear(); }

 private:
  static constexpr uint32_t kNoSlot = UINT32_MAX;
  struct Entry {
    std::string name;
    bool searched = false;
    std::unique_ptr<SharedFace> face;  // null: found nowhere, or without outlines
  };
  // Lists face's fallback faces in its memo.
  void list(const SharedFace &face, SharedFace::FallbackMemo &memo);
  uint32_t slotOf(std::string_view name);
  // The face of a slot, opened on first use.
  SharedFace *faceOf(uint32_t slot);

  Opener open_;
  std::vector<Entry> entries_;  // by slot; never removed while the manager lives
};

}  // namespace quorvane::text
