// The text operations of DrawArea. Texts are laid out and drawn by the text
// subsystem, which sees this area only through a TextCanvas; the area hands
// on its anti-alias mode.
#include <algorithm>
#include <new>

#include "drawing/draw_area_impl.h"
#include "text/text_factory.h"

namespace quorvane {

namespace {

class AreaTextCanvas final : public text::TextCanvas {
 public:
  explicit AreaTextCanvas(DrawAreaImpl &area) : area_(area) {}
  uint32_t lookup(uint32_t color) override { return area_.lookup(color); }
  uint32_t evaluate(uint32_t resolved, int64_t x, int64_t y) override {
    return area_.evaluate(resolved, x, y);
  }
  void plot(int64_t x, int64_t y, uint32_t resolved) override { area_.plot(x, y, resolved); }
  bool touches(int64_t left, int64_t top, int64_t right, int64_t bottom) const override {
    return left < area_.width() && top < area_.height() && right > 0 && bottom > 0;
  }
  void blendLevels(int64_t x, int64_t y, const uint8_t *levels, size_t count,
                   const uint32_t *palette) override {
    area_.blendLevels(x, y, levels, count, palette);
  }

 private:
  DrawAreaImpl &area_;
};

std::u16string_view wide(const char16_t *text) {
  return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

}  // namespace

const std::shared_ptr<text::TextCanvas> &DrawAreaImpl::textCanvas() {
  if (!textCanvas_) textCanvas_ = std::make_shared<AreaTextCanvas>(*this);
  return textCanvas_;
}

void DrawAreaImpl::blendLevels(int64_t x, int64_t y, const uint8_t *levels, size_t count,
                               const uint32_t *palette) {
  if (y < 0 || y >= height_) return;
  const int64_t first = std::max<int64_t>(0, -x);
  const int64_t end = std::min<int64_t>(static_cast<int64_t>(count), width_ - x);
  uint32_t *p = row(y);
  for (int64_t i = first; i < end; ++i) {
    const uint32_t c = palette[levels[i]];
    if (c != kTransparent) p[x + i] = blend(p[x + i], c);
  }
}

namespace {

// Texts are drawn in the area's text mode in effect and measured in the mode
// chosen for it (or the automatic one), so that turning smooth shapes on moves
// no text box and no image-map area; the grey text smooth shapes bring has
// its levels in quarters, as the shapes have.
text::TextStyle styleOf(const char *font, double fontHeight, double fontWidth, double angle,
                        int vertical, const DrawAreaImpl &area) {
  return text::TextStyle{font,
                         fontHeight,
                         fontWidth,
                         angle,
                         vertical != 0,
                         area.antiAliasMode(),
                         area.chosenTextMode(),
                         area.hasQuarterTextLevels()};
}

// A text that could not be made counts as running out of memory.
std::unique_ptr<TTFText> madeText(std::unique_ptr<TTFText> text) {
  if (!text) throw std::bad_alloc();
  return text;
}

// Lays out and draws a text in one go. Nothing is decoded or laid out for a
// transparent colour or a size that is not above 0.
template <class Decode>
void drawAtOnce(DrawAreaImpl &area, Decode decode, const char *font, double fontHeight,
                double fontWidth, double angle, int vertical, int x, int y, int color,
                int alignment) {
  const uint32_t resolved = area.lookup(color);
  if (resolved == kTransparent || !(fontHeight > 0) || !(fontWidth > 0)) return;
  const auto laidOut = madeText(text::createText(
      area.textCanvas(), decode(),
      styleOf(font, fontHeight, fontWidth, angle, vertical, area)));
  text::drawLookedUp(*laidOut, x, y, resolved, alignment);
}

}  // namespace

TTFText *DrawAreaImpl::text3(const char16_t *text, const char *font, double fontSize) {
  return text4(text, font, 0, fontSize, fontSize, 0.0, 0);
}

TTFText *DrawAreaImpl::text3(const char *text, const char *font, double fontSize) {
  return text4(text, font, 0, fontSize, fontSize, 0.0, 0);
}

TTFText *DrawAreaImpl::text4(const char *text, const char *font, int, double fontHeight,
                             double fontWidth, double angle, int vertical) {
  return guarded<TTFText *>(nullptr, [&] {
    return madeText(text::createText(
                        textCanvas(), text::decodeText(text),
                        styleOf(font, fontHeight, fontWidth, angle, vertical, *this)))
        .release();
  });
}

TTFText *DrawAreaImpl::text4(const char16_t *text, const char *font, int, double fontHeight,
                             double fontWidth, double angle, int vertical) {
  return guarded<TTFText *>(nullptr, [&] {
    return madeText(text::createText(
                        textCanvas(), wide(text),
                        styleOf(font, fontHeight, fontWidth, angle, vertical, *this)))
        .release();
  });
}

void DrawAreaImpl::text(const char16_t *text, const char *font, double fontSize, int x, int y,
                        int color) {
  text2(text, font, 0, fontSize, fontSize, 0.0, 0, x, y, color, AlignTopLeft);
}

void DrawAreaImpl::text(const char *text, const char *font, double fontSize, int x, int y,
                        int color) {
  text2(text, font, 0, fontSize, fontSize, 0.0, 0, x, y, color, AlignTopLeft);
}

void DrawAreaImpl::text2(const char16_t *text, const char *font, int, double fontHeight,
                         double fontWidth, double angle, int vertical, int x, int y, int color,
                         int alignment) {
  completes([&] {
    drawAtOnce(*this, [text] { return wide(text); }, font, fontHeight, fontWidth, angle, vertical,
               x, y, color, alignment);
  });
}

void DrawAreaImpl::text2(const char *text, const char *font, int, double fontHeight,
                         double fontWidth, double angle, int vertical, int x, int y, int color,
                         int alignment) {
  completes([&] {
    drawAtOnce(*this, [text] { return text::decodeText(text); }, font, fontHeight, fontWidth,
               angle, vertical, x, y, color, alignment);
  });
}

void DrawAreaImpl::close(TTFText *text) {
  if (text != nullptr) text->destroy();
}

}  // namespace quorvane
