// The process-wide font manager: the FreeType library instance, the font
// search list, the cache of where each font name was found, and the font
// lock that serialises every use of FreeType. Built when the library is
// loaded, torn down when it is unloaded.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/ascii.h"

namespace quorvane::text {

struct FaceCloser {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceCloser>;

struct GlyphDeleter {
  void operator()(FT_Glyph glyph) const { FT_Done_Glyph(glyph); }
};
using GlyphPtr = std::unique_ptr<FT_GlyphRec_, GlyphDeleter>;

// A face opened from a file (face 0) and the exact path that opened it.
struct OpenedFace {
  FacePtr face;
  std::string path;
};

class FontManager {
 public:
  // The fallbacks tried, in order, when a font cannot be opened.
  static constexpr std::string_view kFirstFallback = "arial.ttf";
  static constexpr std::string_view kSecondFallback = "default.ttf";

  // The process-wide manager, with the search list built from FONTPATH and
  // the platform font directories when the library was loaded.
  static FontManager &instance();

  // A manager of its own over a given search list (entries empty or ending
  // in '/'); the library uses instance().
  explicit FontManager(std::vector<std::string> directories);
  ~FontManager();
  FontManager(const FontManager &) = delete;
  FontManager &operator=(const FontManager &) = delete;

  // The font lock, held for as long as the guard lives. Operations that touch
  // FreeType or the cache take the guard as proof that the lock is held.
  class Lock {
   public:
    explicit Lock(FontManager &manager) : guard_(manager.mutex_) {}

   private:
    std::lock_guard<std::mutex> guard_;
  };

  // Opens a font by name: the cached path first (a path that no longer opens
  // is dropped), then a path name exactly as given, or a bare name in every
  // search directory in order, then a bare Windows name's free substitute in
  // the same directories. A success is cached under the requested name;
  // failures are not cached. Every success is a newly opened face.
  std::optional<OpenedFace> openFace(std::string_view name, const Lock &);

  // The face for a line of text: the named font when a non-empty name is
  // given, else or failing that the first fallback, then the second.
  std::optional<OpenedFace> selectFace(const char *name, const Lock &);

  FT_Library library(const Lock &) const { return library_; }
  const std::vector<std::string> &directories() const { return directories_; }
  std::optional<std::string> cachedPath(std::string_view name, const Lock &) const;

 private:
  FacePtr tryOpen(const std::string &path) const;
  std::optional<OpenedFace> search(std::string_view name) const;

  std::mutex mutex_;
  FT_Library library_ = nullptr;
  std::vector<std::string> directories_;
  std::map<std::string, std::string, AsciiCaseInsensitiveLess> cache_;
};

}  // namespace quorvane::text
