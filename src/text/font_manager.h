// The process-wide font manager: the FreeType library instance, the font
// search list, the cache of where each font name was found, the faces kept
// open, the fallback faces characters missing from a face are drawn from,
// and the font lock that serialises every use of FreeType. Built when the
// library is loaded, torn down when it is unloaded.
#pragma once

#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/ascii.h"
#include "text/glyph_fallback.h"
#include "text/shared_face.h"

namespace quorvane::text {

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

  // The faces kept open, most recently used first; the least recently used
  // is closed to make room.
  static constexpr size_t kMaxOpenFaces = 8;

  // Opens a font by name: the cached path first (a path that no longer opens
  // is dropped), then a path name exactly as given, or a bare name in every
  // search directory in order, then a bare Windows name's free substitute in
  // the same directories. A success is cached under the requested name;
  // failures are not cached. A face stays open while its file keeps its
  // identity; a file replaced or rewritten is opened afresh. The face is
  // the manager's, valid until the next lookup: nothing may keep it past
  // the lock.
  SharedFace *openFace(std::string_view name, const Lock &);

  // The face for a line of text: the named font when a non-empty name is
  // given, else or failing that the first fallback, then the second.
  SharedFace *selectFace(const char *name, const Lock &);

  // Where character cp of a line set in face is drawn from: face's own glyph
  // when it has one; else, for a scalable face, the first fallback face's
  // that has it (see GlyphFallback); else face's glyph 0, its missing-glyph
  // box. A fallback face is the manager's and set to no particular size; it
  // stays valid while the manager lives.
  GlyphSource glyphFor(SharedFace &face, char32_t cp, const Lock &);

  // What the manager has asked of the file system since it was made: paths
  // looked at, and font files handed to FreeType.
  struct FileWork {
    uint64_t pathsProbed = 0;
    uint64_t facesOpened = 0;
  };
  FileWork fileWork(const Lock &) const { return fileWork_; }

  FT_Library library(const Lock &) const { return library_; }
  const std::vector<std::string> &directories() const { return directories_; }
  std::optional<std::string> cachedPath(std::string_view name, const Lock &) const;

 private:
  SharedFace *tryOpen(const std::string &path);
  SharedFace *search(std::string_view name);
  std::optional<platform::FileIdentity> probe(const std::string &path);
  std::unique_ptr<SharedFace> openFile(const std::string &path,
                                       const platform::FileIdentity &identity);
  // A font by bare name in the search directories, opened apart from the
  // faces kept open (the fallback faces).
  std::unique_ptr<SharedFace> openApart(std::string_view name);

  std::mutex mutex_;
  FT_Library library_ = nullptr;
  std::vector<std::string> directories_;
  std::map<std::string, std::string, AsciiCaseInsensitiveLess> cache_;
  std::list<std::unique_ptr<SharedFace>> faces_;
  GlyphFallback fallback_{[this](std::string_view name) { return openApart(name); }};
  FileWork fileWork_;
};

}  // namespace quorvane::text
