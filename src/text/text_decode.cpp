// UTF-8 and multi-byte decoding. mbrtowc is used with a state of our own, so
// the conversion is safe on several threads at once; the locale is the host's.
#include "text/text_decode.h"

#include <cwchar>

namespace quorvane::text {

namespace {

int trailingBytes(unsigned char lead) {
  if (lead < 0xC0) return 0;
  if (lead < 0xE0) return 1;
  if (lead < 0xF0) return 2;
  if (lead < 0xF8) return 3;
  if (lead < 0xFC) return 4;
  return 5;
}

// The payload bits of a lead byte with the given number of trailing bytes.
constexpr unsigned char kLeadMask[6] = {0xFF, 0x1F, 0x0F, 0x07, 0x03, 0x01};

std::u16string decodeUtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const int trail = trailingBytes(lead);
    char32_t cp = lead & kLeadMask[trail];
    for (int k = 1; k <= trail; ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3Fu);
    appendUtf16(out, cp);
    i += static_cast<size_t>(trail) + 1;
  }
  return out;
}

std::u16string decodeMultiByte(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  std::mbstate_t state{};
  for (size_t i = 0; i < bytes.size();) {
    wchar_t wc = 0;
    const size_t used = std::mbrtowc(&wc, bytes.data() + i, bytes.size() - i, &state);
    if (used == static_cast<size_t>(-1) || used == static_cast<size_t>(-2) || used == 0) {
      appendUtf16(out, static_cast<unsigned char>(bytes[i]));
      state = std::mbstate_t{};
      ++i;
      continue;
    }
    appendUtf16(out, static_cast<char32_t>(wc));
    i += used;
  }
  return out;
}

}  // namespace

void appendUtf16(std::u16string &out, char32_t cp) {
  if (cp <= 0xFFFF) {
    out += static_cast<char16_t>(cp);
  } else if (cp <= 0x10FFFF) {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  } else {
    out += u'\uFFFD';
  }
}

bool isUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    const int trail = trailingBytes(static_cast<unsigned char>(bytes[i]));
    if (bytes.size() - i <= static_cast<size_t>(trail)) return false;
    for (int k = 1; k <= trail; ++k) {
      const auto b = static_cast<unsigned char>(bytes[i + k]);
      if (b < 0x80 || b > 0xBF) return false;
    }
    i += static_cast<size_t>(trail) + 1;
  }
  return true;
}

std::u16string decodeText(const char *bytes) {
  if (bytes == nullptr) return {};
  const std::string_view view(bytes);
  return isUtf8(view) ? decodeUtf8(view) : decodeMultiByte(view);
}

}  // namespace quorvane::text
