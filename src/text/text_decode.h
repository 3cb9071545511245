// Byte strings to UTF-16. A string that is valid UTF-8 is read as UTF-8; any
// other is read with the process's multi-byte code page.
#pragma once

#include <string>
#include <string_view>

namespace quorvane::text {

// Validity as the decoder sees it: each lead byte's class gives 0 to 5
// trailing bytes (0x00-0xBF: 0, 0xC0-0xDF: 1, 0xE0-0xEF: 2, 0xF0-0xF7: 3,
// 0xF8-0xFB: 4, 0xFC-0xFF: 5) and every trailing byte lies in 0x80-0xBF.
// A stray 0x80-0xBF byte is thus its own character, the code point of the
// same value.
bool isUtf8(std::string_view bytes);

// The UTF-16 units of a NUL-terminated byte string (null: empty). Code points
// above U+FFFF become surrogate pairs, above U+10FFFF U+FFFD. In the
// multi-byte path a byte that the code page cannot convert stands for the
// Latin-1 character of the same value, so that nothing is dropped.
std::u16string decodeText(const char *bytes);

// Appends code point cp as UTF-16.
void appendUtf16(std::u16string &out, char32_t cp);

}  // namespace quorvane::text
