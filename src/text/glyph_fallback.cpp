// The fallback faces and the per-face memo of where missing characters were
// found.
#include "text/glyph_fallback.h"

#include <algorithm>

#include "text/ascii.h"
#include "text/platform_fonts.h"

namespace quorvane::text {

uint32_t GlyphFallback::slotOf(std::string_view name) {
  for (size_t slot = 0; slot < entries_.size(); ++slot)
    if (equalsIgnoringAsciiCase(entries_[slot].name, name)) return static_cast<uint32_t>(slot);
  entries_.push_back(Entry{std::string(name), false, nullptr});
  return static_cast<uint32_t>(entries_.size() - 1);
}

SharedFace *GlyphFallback::faceOf(uint32_t slot) {
  Entry &entry = entries_[slot];
  if (!entry.searched) {
    entry.searched = true;
    entry.face = open_(entry.name);
    if (entry.face != nullptr && !FT_IS_SCALABLE(entry.face->face())) entry.face.reset();
  }
  return entry.face.get();
}

void GlyphFallback::list(const SharedFace &face, SharedFace::FallbackMemo &memo) {
  const std::string_view own = platform::fileNameOf(face.path());
  const auto add = [&](std::string_view name) {
    if (equalsIgnoringAsciiCase(name, own)) return;
    const uint32_t slot = slotOf(name);
    if (std::find(memo.slots.begin(), memo.slots.end(), slot) == memo.slots.end())
      memo.slots.push_back(slot);
  };
  if (const std::string_view substitute = platform::substituteFor(own); !substitute.empty())
    add(substitute);
  for (const std::string_view name :
       platform::fallbackFontNames((face.face()->style_flags & FT_STYLE_FLAG_BOLD) != 0))
    add(name);
  memo.listed = true;
}

GlyphSource GlyphFallback::find(SharedFace &face, char32_t cp) {
  SharedFace::FallbackMemo &memo = face.fallbackMemo();
  if (!memo.listed) list(face, memo);
  SharedFace::Borrowed borrowed{kNoSlot, 0};
  if (const auto found = memo.found.find(cp); found != memo.found.end()) {
    borrowed = found->second;
  } else {
    for (const uint32_t slot : memo.slots) {
      SharedFace *fallback = faceOf(slot);
      if (fallback == nullptr) continue;
      if (const FT_UInt index = FT_Get_Char_Index(fallback->face(), cp); index != 0) {
        borrowed = SharedFace::Borrowed{slot, index};
        break;
      }
    }
    if (memo.found.size() >= kMaxMemoPerFace) memo.found.clear();
    memo.found.emplace(cp, borrowed);
  }
  if (borrowed.slot == kNoSlot) return GlyphSource{};
  return GlyphSource{entries_[borrowed.slot].face.get(), borrowed.index};
}

}  // namespace quorvane::text
