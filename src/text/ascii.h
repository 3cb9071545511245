// ASCII-only letter case, the rule for font names: Windows file names compare
// without regard to the case of ASCII letters, whatever the locale.
#pragma once

#include <algorithm>
#include <string_view>

namespace quorvane::text {

inline char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

inline bool endsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         equalsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

// Strict weak order for the font cache keys.
struct AsciiCaseInsensitiveLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
          return static_cast<unsigned char>(asciiLower(x)) <
                 static_cast<unsigned char>(asciiLower(y));
        });
  }
};

}  // namespace quorvane::text
