// Fuzzes the font search list built from a FONTPATH value: every entry is
// empty or ends in '/', holds no separator but its last '/', the empty entry
// comes right after the FONTPATH directories, and the platform folders follow
// only when FONTPATH gave none.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "text/font_directories.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string_view value(reinterpret_cast<const char *>(data), size);
  static const std::vector<std::string> platform{"/usr/share/fonts", "/fonts/"};
  const auto dirs = quorvane::text::buildFontDirectories(value, platform);

  size_t empty = 0;
  size_t emptyAt = 0;
  size_t characters = 0;
  for (size_t i = 0; i < dirs.size(); ++i) {
    const std::string &d = dirs[i];
    if (d.empty()) {
      ++empty;
      emptyAt = i;
      continue;
    }
    if (d.back() != '/' || d.size() < 2) std::abort();
    if (d.find_first_of(";:") != std::string::npos) std::abort();
    characters += d.size();
  }
  if (empty != 1) std::abort();
  const bool fromFontPath = emptyAt > 0;
  if (fromFontPath && dirs.size() != emptyAt + 1) std::abort();
  if (!fromFontPath && dirs.size() != 1 + platform.size()) std::abort();
  // Each directory came from a piece of the value, plus at most its '/'.
  if (fromFontPath && characters > size + emptyAt) std::abort();
  return 0;
}
