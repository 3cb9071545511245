// Owning handles for the published objects a chart makes for itself (its
// area, the texts it lays out, symbol images). Such an object is held: a
// host that reaches it through a handle and calls destroy() (or close())
// leaves it alone, and only the handle releases it.
#pragma once

#include <memory>

#include "drawing/area_access.h"
#include "quorvane.h"
#include "text/text_factory.h"

namespace quorvane {

struct TextDestroyer {
  void operator()(TTFText *t) const { text::releaseText(*t); }
};
using TextHandle = std::unique_ptr<TTFText, TextDestroyer>;

// Holds a text made by a DrawArea of this library (null gives an empty handle).
inline TextHandle holdText(TTFText *t) {
  if (t != nullptr) text::holdText(*t);
  return TextHandle(t);
}

struct AreaDestroyer {
  void operator()(DrawArea *a) const { releaseArea(a); }
};
using AreaHandle = std::unique_ptr<DrawArea, AreaDestroyer>;

// A new held area; empty when memory runs out.
inline AreaHandle holdNewArea() {
  AreaHandle area(DrawArea::create());
  if (area) holdArea(*area);
  return area;
}

}  // namespace quorvane
