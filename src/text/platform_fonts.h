// Where fonts live on this platform: the path separator, the FONTPATH
// separators, the platform font directories, and the free substitutes for
// the Windows font file names that charts use. Nothing else in the text
// subsystem knows which system it runs on.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::text::platform {

// Every directory entry of the font search list ends in this character.
inline constexpr char kDirectorySeparator = '/';

// A FONTPATH value is split at each of these.
inline constexpr std::string_view kFontPathSeparators = ";:";

// A font name holding either separator is a path: it is tried exactly as
// given and never searched for.
inline bool isPathName(std::string_view name) {
  return name.find_first_of("/\\") != std::string_view::npos;
}

// The FONTPATH value of the environment, if the variable is set.
std::optional<std::string> fontPathVariable();

// Every directory under the platform font roots (the system, local and user
// font folders), recursively, each root's tree in sorted path order. Symbolic
// links to directories are listed but not entered, so a link loop cannot
// stall the walk.
std::vector<std::string> platformFontDirectories();

// The metric-compatible free font for a Windows font file name ("arialbd.ttf"
// -> "LiberationSans-Bold.ttf"), compared without regard to ASCII case; empty
// when the name has none.
std::string_view substituteFor(std::string_view windowsName);

// The part of a path after its last separator.
inline std::string_view fileNameOf(std::string_view path) {
  const size_t cut = path.find_last_of("/\\");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// The fonts a character missing from a face is taken from, in order, after
// that face's own substitute: DejaVu Sans, Liberation Sans, Droid Sans
// Fallback or Noto Sans CJK (Chinese, Japanese, Korean), and Symbola (symbols
// and emoji, drawn in one colour). A bold face takes the bold cuts where
// there are any. File names, searched for as font names are.
std::span<const std::string_view> fallbackFontNames(bool bold);

// What tells one file apart from another that later takes its name: a
// replaced or rewritten font file has another identity.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = 0;
  int64_t modifiedNs = 0;
  int64_t changedNs = 0;
  bool operator==(const FileIdentity &) const = default;
};

// The identity of path when it names a regular file, the only kind handed to
// the font loader (a FIFO or device named as a font would block or never
// end); nothing otherwise.
std::optional<FileIdentity> regularFileIdentity(const std::string &path);

}  // namespace quorvane::text::platform
