// Creation, settings, sizes, pixels and colours of DrawAreaImpl, and the
// internal access to areas that drawing/area_access.h gives the subsystems
// above drawing.
#include "drawing/draw_area_impl.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "drawing/surface_limits.h"

namespace quorvane {

DrawAreaImpl::DrawAreaImpl() = default;

DrawAreaImpl::~DrawAreaImpl() = default;

void DrawAreaImpl::destroy() {
  if (!isHeld_) release();
}

void DrawAreaImpl::setPaletteMode(int mode) { paletteMode_ = mode; }
void DrawAreaImpl::setDitherMethod(int method) { ditherMethod_ = method; }
void DrawAreaImpl::setTransparentColor(int color) {
  transparentColor_ = colors_.lookup(color);
}
void DrawAreaImpl::setAntiAliasText(int mode) {
  antiAliasMode_ = mode;
  isTextModeChosen_ = true;
}
void DrawAreaImpl::setInterlace(int flag) { interlace_ = flag; }

int DrawAreaImpl::getWidth() { return surface_.width(); }
int DrawAreaImpl::getHeight() { return surface_.height(); }

void DrawAreaImpl::setSize(int width, int height, int bgColor) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (!surfaceSizeAllowed(width, height)) return;
  const uint32_t background = colors_.lookup(bgColor);
  completes([&] { surface_.resize(width, height, background); });
}

void DrawAreaImpl::setBgColor(int color) {
  surface_.fillWith(colors_.lookup(color));
}

void DrawAreaImpl::pixel(int x, int y, int color) {
  surface_.plot(x, y, colors_.lookup(color));
}

int DrawAreaImpl::getPixel(int x, int y) {
  if (!surface_.contains(x, y)) return static_cast<int>(kTransparent);
  return static_cast<int>(surface_.row(y)[x]);
}

void DrawAreaImpl::hline(int x1, int x2, int y, int color) {
  surface_.span(x1, x2, y, colors_.lookup(color));
}

void DrawAreaImpl::vline(int y1, int y2, int x, int color) {
  surface_.column(y1, y2, x, colors_.lookup(color));
}

int DrawAreaImpl::getARGBColor(int color) {
  return static_cast<int>(colors_.lookup(color));
}

int DrawAreaImpl::getColorAt(int color, int x, int y) {
  return static_cast<int>(colors_.evaluate(colors_.lookup(color), x, y));
}

void DrawAreaImpl::setColorTable(const int *colors, int n, int offset) {
  colors_.setTable(colors, n, offset);
}

// A special colour that cannot be made (out of memory) is Transparent, as
// one beyond the last index is.
int DrawAreaImpl::dashLineColor(int color, int dashPattern) {
  return guarded(static_cast<int>(kTransparent), [&] {
    return colors_.add(std::make_unique<DashColor>(static_cast<uint32_t>(color),
                                                   static_cast<uint32_t>(dashPattern)));
  });
}

int DrawAreaImpl::patternColor(const int *pixels, int width, int height, int startX,
                               int startY) {
  return guarded(static_cast<int>(kTransparent), [&] {
    return colors_.add(std::make_unique<PatternColor>(pixels, width, height, startX, startY));
  });
}

int DrawAreaImpl::gradientColor(int x1, int y1, int x2, int y2, int color1, int color2) {
  return guarded(static_cast<int>(kTransparent), [&] {
    return colors_.add(GradientColor::twoColor(x1, y1, x2, y2, static_cast<uint32_t>(color1),
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
    return colors_.add(GradientColor::multiStop(stops, stopInts, angle, scale, startX, startY));
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

void polyline(DrawArea &area, const int *x, const int *y, int n, int color, int lineWidth) {
  auto *impl = dynamic_cast<DrawAreaImpl *>(&area);
  if (impl != nullptr && impl->shapeMode() != 0 && n > 2) {
    impl->polyline(x, y, n, color, lineWidth);
    return;
  }
  for (int i = 1; i < n; ++i) area.line(x[i - 1], y[i - 1], x[i], y[i], color, lineWidth);
}

bool paintsOver(DrawArea &area, int color) {
  const auto *impl = dynamic_cast<const DrawAreaImpl *>(&area);
  if (impl == nullptr || impl->shapeMode() != 0) return false;
  const uint32_t resolved = static_cast<uint32_t>(area.getARGBColor(color));
  return !isSpecialColor(resolved) && isOpaque(resolved);
}

SeamGroup::SeamGroup(DrawArea &area) : seams_(nullptr) {
  auto *impl = dynamic_cast<DrawAreaImpl *>(&area);
  if (impl == nullptr) return;
  Surface &surface = impl->surface_;
  seams_ = &surface.seams();
  seams_->open(static_cast<size_t>(surface.width()) + static_cast<size_t>(surface.height()));
}

SeamGroup::~SeamGroup() {
  if (seams_ != nullptr) seams_->close();
}

}  // namespace quorvane

DrawArea *DrawArea::create() {
  return quorvane::guarded<DrawArea *>(nullptr, [] {
    auto area = std::make_unique<quorvane::DrawAreaImpl>();
    area->setBgColor(0xFFFFFF);
    return area.release();
  });
}
