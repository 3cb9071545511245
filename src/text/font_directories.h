// The font search list: where a bare font name is looked for, in order.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::text {

// Builds the search list from a FONTPATH value (nullopt: unset) and the
// platform font directories:
//   1. a set, non-empty FONTPATH is split at ';' and ':'; pieces of two or
//      more characters become directories in their order, each ending in '/';
//   2. then the empty entry, which stands for the bare name (the current
//      directory);
//   3. then, only when FONTPATH gave no directory, the platform directories.
// Every entry is either empty or ends in '/', so a candidate path is the entry
// followed directly by the name.
std::vector<std::string> buildFontDirectories(std::optional<std::string_view> fontPath,
                                              const std::vector<std::string> &platformDirs);

}  // namespace quorvane::text
