// Multi-line texts and the TTFText operations. The whole text is laid out
// under one hold of the font lock. A text keeps copies of its glyph masks and
// no face, so drawing and destroying a text touch nothing shared and need no
// lock. Drawing stops at anything thrown below it (the canvas running out of
// memory), as every published operation does.
#include "text/ttf_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/alignment.h"
#include "base/angles.h"
#include "base/guarded.h"
#include "base/int_math.h"
#include "text/text_factory.h"

namespace quorvane::text {

TTFTextImpl::TTFTextImpl(const std::shared_ptr<TextCanvas> &canvas, std::u16string_view text,
                         const TextStyle &style, FontManager &fonts)
    : canvas_(canvas) {
  uint64_t pixelBudget = kTextPixelBudget;
  const FontManager::Lock lock(fonts);
  // Every piece between line feeds is a line, empty ones included; a final
  // line feed starts no further line.
  for (size_t start = 0;;) {
    const size_t cut = text.find(u'\n', start);
    lines_.push_back(TextLine::layout(text.substr(start, cut - start), style, fonts, lock,
                                      pixelBudget));
    if (cut == std::u16string_view::npos || cut + 1 == text.size()) break;
    start = cut + 1;
  }

  const int64_t distance = lines_.front().lineDistance();
  const double angle = std::isfinite(style.angleDeg) ? style.angleDeg : 0.0;
  int64_t stepX = 0, stepY = distance;
  if (angle != 0) {
    // (0, D) turned by -angle with a 16.16 matrix: (D sin a, D cos a).
    const double radians = -angle * kTextRadiansPerDegree;
    FT_Matrix turn;
    turn.xx = static_cast<FT_Fixed>(std::cos(radians) * 65536);
    turn.xy = static_cast<FT_Fixed>(-std::sin(radians) * 65536);
    turn.yx = static_cast<FT_Fixed>(std::sin(radians) * 65536);
    turn.yy = static_cast<FT_Fixed>(std::cos(radians) * 65536);
    FT_Vector step{0, static_cast<FT_Pos>(distance)};
    FT_Vector_Transform(&step, &turn);
    stepX = step.x;
    stepY = step.y;
  }
  stepX_ = clampToInt(stepX);
  stepY_ = clampToInt(stepY);

  int64_t widest = 0, highest = 0;
  for (const auto &line : lines_) {
    widest = std::max<int64_t>(widest, line.width());
    highest = std::max<int64_t>(highest, line.height());
  }
  const int64_t more = static_cast<int64_t>(lines_.size()) - 1;
  width_ = clampToInt(widest + std::llabs(stepX_) * more);
  height_ = clampToInt(highest + std::llabs(stepY_) * more);
}

void TTFTextImpl::destroy() {
  if (!isHeld_) release();
}

void TTFTextImpl::draw(int x, int y, int color, Alignment alignment) {
  completes([&] {
    if (const auto canvas = canvas_.lock())
      drawLines(*canvas, x, y, canvas->lookup(static_cast<uint32_t>(color)), alignment);
  });
}

void TTFTextImpl::drawLookedUp(int64_t x, int64_t y, uint32_t color, int alignment) const {
  completes([&] {
    if (const auto canvas = canvas_.lock()) drawLines(*canvas, x, y, color, alignment);
  });
}

void TTFTextImpl::drawLines(TextCanvas &canvas, int64_t x, int64_t y, uint32_t color,
                            int alignment) const {
  if (color == kTransparent) return;
  alignment = normalAlignment(alignment);
  // Move the reference point so that the point named by the alignment is on
  // the box of all lines: the box grows by the steps away from line 0.
  const int64_t more = static_cast<int64_t>(lines_.size()) - 1;
  const int64_t dx = stepX_, dy = stepY_;
  if (dx > 0) {
    if (isCentreColumn(alignment)) x -= dx * more / 2;
    if (isRightColumn(alignment)) x -= dx * more;
  } else if (dx < 0) {
    if (isLeftColumn(alignment)) x -= dx * more;
    if (isCentreColumn(alignment)) x -= dx * more / 2;
  }
  if (dy > 0) {
    if (isBottomRow(alignment)) y -= dy * more;
    if (isMiddleRow(alignment)) y -= dy * more / 2;
  } else if (dy < 0) {
    if (isTopRow(alignment)) y -= dy * more;
    if (isMiddleRow(alignment)) y -= dy * more / 2;
  }
  for (size_t i = 0; i < lines_.size(); ++i) {
    const auto step = static_cast<int64_t>(i);
    lines_[i].draw(canvas, x + step * dx, y + step * dy, color, alignment);
  }
}

std::unique_ptr<TTFText> createText(const std::shared_ptr<TextCanvas> &canvas,
                                    std::u16string_view text, const TextStyle &style) {
  return std::make_unique<TTFTextImpl>(canvas, text, style, FontManager::instance());
}

void drawLookedUp(TTFText &text, int x, int y, uint32_t color, int alignment) {
  static_cast<TTFTextImpl &>(text).drawLookedUp(x, y, color, alignment);
}

void holdText(TTFText &text) { static_cast<TTFTextImpl &>(text).hold(); }

void releaseText(TTFText &text) { static_cast<TTFTextImpl &>(text).release(); }

}  // namespace quorvane::text
