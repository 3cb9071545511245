// Font lookup and the font file cache. The cache remembers only where a name
// was found, never a failure, and never a path that has stopped opening; faces
// are not shared, each lookup opens its own.
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
  if (library_ != nullptr) FT_Done_FreeType(library_);
}

FacePtr FontManager::tryOpen(const std::string &path) const {
  if (library_ == nullptr || !platform::isRegularFile(path)) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(library_, path.c_str(), 0, &face) != 0) return nullptr;
  return FacePtr(face);
}

std::optional<OpenedFace> FontManager::search(std::string_view name) const {
  for (const auto &dir : directories_) {
    std::string candidate = dir;
    candidate += name;
    if (FacePtr face = tryOpen(candidate)) return OpenedFace{std::move(face), std::move(candidate)};
  }
  return std::nullopt;
}

std::optional<OpenedFace> FontManager::openFace(std::string_view name, const Lock &) {
  if (auto it = cache_.find(name); it != cache_.end()) {
    if (FacePtr face = tryOpen(it->second)) return OpenedFace{std::move(face), it->second};
    cache_.erase(it);
  }
  std::optional<OpenedFace> found;
  if (platform::isPathName(name)) {
    std::string path(name);
    if (FacePtr face = tryOpen(path)) found = OpenedFace{std::move(face), std::move(path)};
  } else {
    found = search(name);
    if (!found) {
      const std::string_view substitute = platform::substituteFor(name);
      if (!substitute.empty()) found = search(substitute);
    }
  }
  if (found) cache_.emplace(std::string(name), found->path);
  return found;
}

std::optional<OpenedFace> FontManager::selectFace(const char *name, const Lock &lock) {
  if (name != nullptr && *name != '\0')
    if (auto face = openFace(name, lock)) return face;
  if (auto face = openFace(kFirstFallback, lock)) return face;
  return openFace(kSecondFallback, lock);
}

std::optional<std::string> FontManager::cachedPath(std::string_view name, const Lock &) const {
  const auto it = cache_.find(name);
  if (it == cache_.end()) return std::nullopt;
  return it->second;
}

}  // namespace quorvane::text
