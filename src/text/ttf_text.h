// TTFTextImpl: a text of one or more laid-out lines, immutable once made.
// Lines after the first are moved by the line step vector, perpendicular to
// the rotated baseline. A text draws on the canvas of the area that made it
// while that area lives; once the area is gone it still measures, but draws
// nothing.
#pragma once

#include <memory>
#include <vector>

#include "base/live_objects.h"
#include "quorvane.h"
#include "text/text_line.h"

namespace quorvane::text {

class TTFTextImpl final : public TTFText {
 public:
  // Lays text out with fonts under its lock; canvas is where draw() goes.
  TTFTextImpl(const std::shared_ptr<TextCanvas> &canvas, std::u16string_view text,
              const TextStyle &style, FontManager &fonts);
  TTFTextImpl(const TTFTextImpl &) = delete;
  TTFTextImpl &operator=(const TTFTextImpl &) = delete;

  // Only draw() does anything that can throw; it catches. A held text
  // ignores destroy() (and its area's close()).
  void destroy() override;
  int getWidth() override { return width_; }
  int getHeight() override { return height_; }
  int getLineHeight() override { return lines_.back().height(); }
  int getLineDistance() override { return lines_.back().lineDistance(); }
  void draw(int x, int y, int color, Alignment alignment) override;

  // draw() with a colour already looked up; nothing throws out of it.
  void drawLookedUp(int64_t x, int64_t y, uint32_t color, int alignment) const;
  const std::vector<TextLine> &lines() const { return lines_; }
  int stepX() const { return stepX_; }
  int stepY() const { return stepY_; }
  // Held by an owner inside the library (a legend keeps its key texts):
  // only release() deletes it then, whatever a host does with its handle.
  void hold() { isHeld_ = true; }
  void release() { delete this; }

 private:
  void drawLines(TextCanvas &canvas, int64_t x, int64_t y, uint32_t color, int alignment) const;

  std::weak_ptr<TextCanvas> canvas_;  // expires with the area
  bool isHeld_ = false;
  std::vector<TextLine> lines_;  // never empty
  int width_ = 0;
  int height_ = 0;
  int stepX_ = 0;  // from one line's reference point to the next
  int stepY_ = 0;
  LiveObject live_{static_cast<TTFText *>(this)};  // in the table while alive
};

}  // namespace quorvane::text
