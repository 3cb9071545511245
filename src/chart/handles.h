// Owning handles for the published objects a chart makes for itself (its
// area, the texts it lays out): they are released through destroy(), never
// deleted directly.
#pragma once

#include <memory>

#include "quorvane.h"

namespace quorvane {

struct TextDestroyer {
  void operator()(TTFText *t) const { t->destroy(); }
};
using TextHandle = std::unique_ptr<TTFText, TextDestroyer>;

struct AreaDestroyer {
  void operator()(DrawArea *a) const { a->destroy(); }
};
using AreaHandle = std::unique_ptr<DrawArea, AreaDestroyer>;

}  // namespace quorvane
