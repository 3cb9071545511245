// What the drawing area calls to make and draw texts. Free of FreeType, so
// that the drawing subsystem needs nothing of it.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "quorvane.h"
#include "text/text_canvas.h"
#include "text/text_decode.h"
#include "text/text_style.h"

namespace quorvane::text {

// Lays text out (all of it under the font lock) for drawing into canvas; the
// text keeps only a weak reference, so once the canvas goes it draws nothing.
// A line feed starts a new line.
std::unique_ptr<TTFText> createText(const std::shared_ptr<TextCanvas> &canvas,
                                    std::u16string_view text, const TextStyle &style);

// TTFText::draw with a colour that is already looked up in the canvas's table,
// so that it is not looked up a second time.
void drawLookedUp(TTFText &text, int x, int y, uint32_t color, int alignment);

// Marks a text made by createText as held by an owner inside the library: its
// destroy() does nothing from then on, and only releaseText deletes it.
void holdText(TTFText &text);
void releaseText(TTFText &text);

}  // namespace quorvane::text
