// Colour values. A colour is 0xAARRGGBB with AA a transparency (0 opaque, 255
// invisible). Two ranges of the top sixteen bits are not colours but names:
// 0xFFFF0000 + n is entry n of an area's colour table and 0xFFFE0000 + n its
// special colour n (dash, pattern, gradient), so sixteen bits index each.
#pragma once

#include <cstdint>

#include "quorvane.h"

namespace quorvane {

// "No colour": what is drawn with it leaves the pixels alone.
inline constexpr uint32_t kTransparent = static_cast<uint32_t>(Transparent);

inline constexpr uint32_t kTableColorBase = 0xFFFF0000u;
inline constexpr uint32_t kSpecialColorBase = 0xFFFE0000u;

constexpr bool isTableColor(uint32_t c) { return (c >> 16) == (kTableColorBase >> 16); }
constexpr bool isSpecialColor(uint32_t c) { return (c >> 16) == (kSpecialColorBase >> 16); }
// A value that names an entry of a list rather than being a colour itself.
constexpr bool isNamedColor(uint32_t c) { return isTableColor(c) || isSpecialColor(c); }

// The transparency byte of a plain colour: 0 opaque, 255 invisible.
constexpr uint32_t transparencyOf(uint32_t c) { return c >> 24; }
// Drawing an opaque colour stores it as it is: blending with it gives the colour.
constexpr bool isOpaque(uint32_t c) { return transparencyOf(c) == 0; }
// Drawing it changes nothing. Table and special colour names share the top byte
// 0xFF, so this is a question for resolved colours.
constexpr bool isInvisible(uint32_t c) { return transparencyOf(c) == 0xFF; }

// A colour at half brightness, for the side faces of 3D shapes: each channel
// halved, the transparency kept. An invisible colour stays as it is, and so
// does every table or special colour name.
constexpr uint32_t halfBrightness(uint32_t c) {
  return isInvisible(c) ? c : ((c >> 1) & 0x7F7F7Fu) | (c & 0xFF000000u);
}

// The entry a table or special colour names.
constexpr uint32_t colorIndex(uint32_t c) { return c & 0xFFFFu; }
// The colour naming table entry (or special colour) index; index < 0x10000.
constexpr uint32_t tableColor(uint32_t index) { return kTableColorBase | index; }
constexpr uint32_t specialColor(uint32_t index) { return kSpecialColorBase | index; }

}  // namespace quorvane
