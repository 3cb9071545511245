// FONTPATH splitting. Short pieces (none or one character) are skipped, so
// "a;;b" and a trailing separator add nothing; a directory that already ends
// in '/' gets no second one.
#include "text/font_directories.h"

#include "text/platform_fonts.h"

namespace quorvane::text {

namespace {

std::string asDirectory(std::string_view piece) {
  std::string dir(piece);
  if (dir.back() != platform::kDirectorySeparator) dir += platform::kDirectorySeparator;
  return dir;
}

}  // namespace

std::vector<std::string> buildFontDirectories(std::optional<std::string_view> fontPath,
                                              const std::vector<std::string> &platformDirs) {
  std::vector<std::string> dirs;
  if (fontPath && !fontPath->empty()) {
    std::string_view rest = *fontPath;
    while (true) {
      const size_t cut = rest.find_first_of(platform::kFontPathSeparators);
      const std::string_view piece = rest.substr(0, cut);
      if (piece.size() >= 2) dirs.push_back(asDirectory(piece));
      if (cut == std::string_view::npos) break;
      rest.remove_prefix(cut + 1);
    }
  }
  const bool fontPathGaveDirectories = !dirs.empty();
  dirs.emplace_back();
  if (!fontPathGaveDirectories)
    for (const auto &dir : platformDirs)
      if (!dir.empty()) dirs.push_back(asDirectory(dir));
  return dirs;
}

}  // namespace quorvane::text
