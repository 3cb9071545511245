// Font lookup, the font file cache and the open faces. The cache remembers
// only where a name was found, never a failure, and never a path that has
// stopped opening. An open face is reused only while its file is the one it
// was opened from. Fallback faces are opened apart from those, once each.
#include "text/font_manager.h"

#include <utility>

#include "text/font_directories.h"
#include "text/platform_fonts.h"

namespace quorvane::text {

FontManager &FontManager::instance() {
  static FontManager manager(
      buildFontDirectories(platform::fontPathVariable(), platform::platformFontDirectories()));
  return manager;
}

namespace {
// Builds the process-wide manager while the library is loaded, so that the
// search list reflects FONTPATH at load and no text pays for the walk.
[[maybe_unused]] const FontManager &gManagerAtLoad = FontManager::instance();
}  // namespace

FontManager::FontManager(std::vector<std::string> directories)
    : directories_(std::move(directories)) {
  if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
}

FontManager::~FontManager() {
  cache_.clear();
  faces_.clear();  // before the library that owns them
  fallback_.clear();
  if (library_ != nullptr) FT_Done_FreeType(library_);
}

std::optional<platform::FileIdentity> FontManager::probe(const std::string &path) {
  ++fileWork_.pathsProbed;
  return platform::regularFileIdentity(path);
}

std::unique_ptr<SharedFace> FontManager::openFile(const std::string &path,
                                                  const platform::FileIdentity &identity) {
  if (library_ == nullptr) return nullptr;
  ++fileWork_.facesOpened;
  FT_Face face = nullptr;
  if (FT_New_Face(library_, path.c_str(), 0, &face) != 0) return nullptr;
  return std::make_unique<SharedFace>(FacePtr(face), path, identity);
}

SharedFace *FontManager::tryOpen(const std::string &path) {
  const std::optional<platform::FileIdentity> identity = probe(path);
  auto open = faces_.begin();
  while (open != faces_.end() && (*open)->path() != path) ++open;
  if (open != faces_.end()) {
    if (identity && (*open)->identity() == *identity) {
      faces_.splice(faces_.begin(), faces_, open);
      return faces_.front().get();
    }
    faces_.erase(open);  // gone, or another file now
  }
  if (!identity) return nullptr;
  std::unique_ptr<SharedFace> opened = openFile(path, *identity);
  if (opened == nullptr) return nullptr;
  if (faces_.size() >= kMaxOpenFaces) faces_.pop_back();
  faces_.push_front(std::move(opened));
  return faces_.front().get();
}

SharedFace *FontManager::search(std::string_view name) {
  for (const auto &dir : directories_) {
    std::string candidate = dir;
    candidate += name;
    if (SharedFace *face = tryOpen(candidate)) return face;
  }
  return nullptr;
}

std::unique_ptr<SharedFace> FontManager::openApart(std::string_view name) {
  for (const auto &dir : directories_) {
    std::string candidate = dir;
    candidate += name;
    if (const auto identity = probe(candidate))
      if (std::unique_ptr<SharedFace> face = openFile(candidate, *identity)) return face;
  }
  return nullptr;
}

SharedFace *FontManager::openFace(std::string_view name, const Lock &) {
  if (auto it = cache_.find(name); it != cache_.end()) {
    if (SharedFace *face = tryOpen(it->second)) return face;
    cache_.erase(it);
  }
  SharedFace *found = nullptr;
  if (platform::isPathName(name)) {
    found = tryOpen(std::string(name));
  } else {
    found = search(name);
    if (found == nullptr) {
      const std::string_view substitute = platform::substituteFor(name);
      if (!substitute.empty()) found = search(substitute);
    }
  }
  if (found != nullptr) cache_.emplace(std::string(name), found->path());
  return found;
}

SharedFace *FontManager::selectFace(const char *name, const Lock &lock) {
  if (name != nullptr && *name != '\0')
    if (SharedFace *face = openFace(name, lock)) return face;
  if (SharedFace *face = openFace(kFirstFallback, lock)) return face;
  return openFace(kSecondFallback, lock);
}

GlyphSource FontManager::glyphFor(SharedFace &face, char32_t cp, const Lock &) {
  const FT_UInt own = FT_Get_Char_Index(face.face(), cp);
  if (own != 0 || !FT_IS_SCALABLE(face.face())) return GlyphSource{&face, own};
  if (const GlyphSource borrowed = fallback_.find(face, cp); borrowed.face != nullptr)
    return borrowed;
  return GlyphSource{&face, 0};
}

std::optional<std::string> FontManager::cachedPath(std::string_view name, const Lock &) const {
  const auto it = cache_.find(name);
  if (it == cache_.end()) return std::nullopt;
  return it->second;
}

}  // namespace quorvane::text
