// Linux font locations. The walk uses the non-throwing filesystem calls: an
// unreadable folder is skipped, never reported.
#include "text/platform_fonts.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "text/ascii.h"

namespace quorvane::text::platform {

namespace fs = std::filesystem;

std::optional<std::string> fontPathVariable() {
  const char *value = std::getenv("FONTPATH");
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

namespace {

// Appends root and every directory below it, sorted by path.
void walkRoot(const fs::path &root, std::vector<std::string> &out) {
  std::error_code ec;
  if (!fs::is_directory(root, ec)) return;
  std::vector<std::string> found{root.string()};
  fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec);
  for (const fs::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
    std::error_code entryEc;
    if (it->is_directory(entryEc)) found.push_back(it->path().string());
  }
  std::sort(found.begin() + 1, found.end());
  for (auto &dir : found) out.push_back(std::move(dir));
}

}  // namespace

std::vector<std::string> platformFontDirectories() {
  std::vector<std::string> dirs;
  walkRoot("/usr/share/fonts", dirs);
  walkRoot("/usr/local/share/fonts", dirs);
  const char *home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') {
    walkRoot(fs::path(home) / ".local/share/fonts", dirs);
    walkRoot(fs::path(home) / ".fonts", dirs);
  }
  return dirs;
}

std::string_view substituteFor(std::string_view windowsName) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 13> kTable{{
      {"arial.ttf", "LiberationSans-Regular.ttf"},
      {"arialbd.ttf", "LiberationSans-Bold.ttf"},
      {"ariali.ttf", "LiberationSans-Italic.ttf"},
      {"arialbi.ttf", "LiberationSans-BoldItalic.ttf"},
      {"times.ttf", "LiberationSerif-Regular.ttf"},
      {"timesbd.ttf", "LiberationSerif-Bold.ttf"},
      {"timesi.ttf", "LiberationSerif-Italic.ttf"},
      {"timesbi.ttf", "LiberationSerif-BoldItalic.ttf"},
      {"cour.ttf", "LiberationMono-Regular.ttf"},
      {"courbd.ttf", "LiberationMono-Bold.ttf"},
      {"couri.ttf", "LiberationMono-Italic.ttf"},
      {"courbi.ttf", "LiberationMono-BoldItalic.ttf"},
      {"default.ttf", "DejaVuSans.ttf"},
  }};
  for (const auto &[name, substitute] : kTable)
    if (equalsIgnoringAsciiCase(name, windowsName)) return substitute;
  return {};
}

std::span<const std::string_view> fallbackFontNames(bool bold) {
  static constexpr std::string_view kRegular[] = {
      "DejaVuSans.ttf",           "LiberationSans-Regular.ttf", "DroidSansFallbackFull.ttf",
      "DroidSansFallback.ttf",    "NotoSansCJK-Regular.ttc",    "Symbola_hint.ttf",
      "Symbola.ttf"};
  static constexpr std::string_view kBold[] = {
      "DejaVuSans-Bold.ttf",      "LiberationSans-Bold.ttf", "DroidSansFallbackFull.ttf",
      "DroidSansFallback.ttf",    "NotoSansCJK-Bold.ttc",    "Symbola_hint.ttf",
      "Symbola.ttf"};
  if (bold) return kBold;
  return kRegular;
}

std::optional<FileIdentity> regularFileIdentity(const std::string &path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  const auto ns = [](const timespec &t) { return int64_t{t.tv_sec} * 1000000000 + t.tv_nsec; };
  return FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
                      static_cast<int64_t>(info.st_size), ns(info.st_mtim), ns(info.st_ctim)};
}

}  // namespace quorvane::text::platform
