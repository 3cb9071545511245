// The text operations of DrawArea. Texts are laid out by the text subsystem;
// until it exists, no text is created and nothing is drawn.
#include "drawing/draw_area_impl.h"

namespace quorvane {

TTFText *DrawAreaImpl::text3(const char16_t *, const char *, double) { return nullptr; }
TTFText *DrawAreaImpl::text3(const char *, const char *, double) { return nullptr; }
TTFText *DrawAreaImpl::text4(const char *, const char *, int, double, double, double, int) {
  return nullptr;
}
TTFText *DrawAreaImpl::text4(const char16_t *, const char *, int, double, double, double, int) {
  return nullptr;
}
void DrawAreaImpl::text(const char16_t *, const char *, double, int, int, int) {}
void DrawAreaImpl::text(const char *, const char *, double, int, int, int) {}
void DrawAreaImpl::text2(const char16_t *, const char *, int, double, double, double, int, int,
                         int, int, int) {}
void DrawAreaImpl::text2(const char *, const char *, int, double, double, double, int, int, int,
                         int, int) {}
void DrawAreaImpl::close(TTFText *text) {
  if (text != nullptr) text->destroy();
}

}  // namespace quorvane
