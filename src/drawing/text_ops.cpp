// The text operations of DrawArea. Texts are laid out and drawn by the text
// subsystem, which sees only a TextCanvas over the area's surface; the area
// hands on its anti-alias mode.
#include <new>

#include "drawing/draw_area_impl.h"
#include "text/glyph_mask.h"
#include "text/text_factory.h"

namespace quorvane {

static_assert(text::kSteppedLevels == BlendLevels::kSteps,
              "stepped text blends on the grid of smooth shapes");

namespace {

class SurfaceTextCanvas final : public text::TextCanvas {
 public:
  explicit SurfaceTextCanvas(Surface &surface) : surface_(surface) {}
  uint32_t lookup(uint32_t color) override { return surface_.colors().lookup(color); }
  uint32_t evaluate(uint32_t resolved, int64_t x, int64_t y) override {
    return surface_.colors().evaluate(resolved, x, y);
  }
  void plot(int64_t x, int64_t y, uint32_t resolved) override { surface_.plot(x, y, resolved); }
  bool touches(int64_t left, int64_t top, int64_t right, int64_t bottom) const override {
    return left < surface_.width() && top < surface_.height() && right > 0 && bottom > 0;
  }
  void blendLevels(int64_t x, int64_t y, const uint8_t *levels, size_t count,
                   const uint32_t *palette) override {
    surface_.blendLevels(x, y, levels, count, palette);
  }
  void blendSteps(int64_t x, int64_t y, const uint8_t *steps, size_t count,
                  const uint32_t *palette) override {
    surface_.blendSteps(x, y, steps, count, palette);
  }

 private:
  Surface &surface_;
};

std::u16string_view wide(const char16_t *text) {
  return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

}  // namespace

const std::shared_ptr<text::TextCanvas> &DrawAreaImpl::textCanvas() {
  if (!textCanvas_) textCanvas_ = std::make_shared<SurfaceTextCanvas>(surface_);
  return textCanvas_;
}

namespace {

// Texts are drawn in the area's text mode in effect and measured in the mode
// chosen for it (or the automatic one), so that turning smooth shapes on moves
// no text box and no image-map area; the grey text smooth shapes bring has
// its levels in the shapes' steps. Grey text among smooth shapes is crisp,
// whatever brought it.
text::TextStyle styleOf(const char *font, double fontHeight, double fontWidth, double angle,
                        int vertical, const DrawAreaImpl &area) {
  text::TextStyle style{font,
                        fontHeight,
                        fontWidth,
                        angle,
                        vertical != 0,
                        area.antiAliasMode(),
                        area.chosenTextMode(),
                        area.hasSteppedTextLevels()};
  style.crispGrey = area.shapeMode() != 0;
  return style;
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
  const uint32_t resolved = static_cast<uint32_t>(area.getARGBColor(color));
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
