// Creation, settings and the special-colour list of DrawAreaImpl.
#include "drawing/draw_area_impl.h"

#include <limits>
#include <memory>

namespace quorvane {

DrawAreaImpl::DrawAreaImpl() : pixels_(1, 0x00FFFFFFu) {}

DrawAreaImpl::~DrawAreaImpl() = default;

void DrawAreaImpl::destroy() {
  if (!isHeld_) release();
}

void DrawAreaImpl::setPaletteMode(int mode) { paletteMode_ = mode; }
void DrawAreaImpl::setDitherMethod(int method) { ditherMethod_ = method; }
void DrawAreaImpl::setTransparentColor(int color) {
  transparentColor_ = lookup(color);
}
void DrawAreaImpl::setAntiAliasText(int mode) {
  antiAliasMode_ = mode;
  isTextModeChosen_ = true;
}
void DrawAreaImpl::setInterlace(int flag) { interlace_ = flag; }

int DrawAreaImpl::addSpecial(std::unique_ptr<SpecialColor> color) {
  // The colour value has 16 bits of index: once they are used up, creation
  // fails and the new colour draws nothing.
  if (specials_.size() > 0xFFFF) return static_cast<int>(kTransparent);
  specials_.push_back(std::move(color));
  return static_cast<int>(specialColor(static_cast<uint32_t>(specials_.size() - 1)));
}

// A special colour that cannot be made (out of memory) is Transparent, as
// one beyond the last index is.
int DrawAreaImpl::dashLineColor(int color, int dashPattern) {
  return guarded(static_cast<int>(kTransparent), [&] {
    return addSpecial(std::make_unique<DashColor>(static_cast<uint32_t>(color),
                                                  static_cast<uint32_t>(dashPattern)));
  });
}

int DrawAreaImpl::patternColor(const int *pixels, int width, int height, int startX,
                               int startY) {
  return guarded(static_cast<int>(kTransparent), [&] {
    return addSpecial(std::make_unique<PatternColor>(pixels, width, height, startX, startY));
  });
}

int DrawAreaImpl::gradientColor(int x1, int y1, int x2, int y2, int color1, int color2) {
  return guarded(static_cast<int>(kTransparent), [&] {
    return addSpecial(GradientColor::twoColor(x1, y1, x2, y2, static_cast<uint32_t>(color1),
                                              static_cast<uint32_t>(color2)));
  });
}

int DrawAreaImpl::gradientColor2(const int *stops, double angle, double scale, int startX,
                                 int startY) {
  return gradientColor2Bounded(stops, std::numeric_limits<size_t>::max(), angle, scale, startX,
                               startY);
}

int DrawAreaImpl::gradientColor2Bounded(const int *stops, size_t stopInts, double angle,
                                        double scale, int startX, int startY) {
  return guarded(static_cast<int>(kTransparent), [&] {
    return addSpecial(GradientColor::multiStop(stops, stopInts, angle, scale, startX, startY));
  });
}

void holdArea(DrawArea &area) { static_cast<DrawAreaImpl &>(area).hold(); }

void releaseArea(DrawArea *area) {
  if (area != nullptr) static_cast<DrawAreaImpl *>(area)->release();
}

int shapeModeOf(const DrawArea &area) {
  const auto *impl = dynamic_cast<const DrawAreaImpl *>(&area);
  return impl != nullptr ? impl->shapeMode() : 0;
}

}  // namespace quorvane

DrawArea *DrawArea::create() {
  return quorvane::guarded<DrawArea *>(nullptr, [] {
    auto area = std::make_unique<quorvane::DrawAreaImpl>();
    area->setBgColor(0xFFFFFF);
    return area.release();
  });
}
