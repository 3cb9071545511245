// The rows of the scripting door, one table per family of published classes,
// each in its own file so that the families compile side by side. A row is
//   {"Class.method", bind<&Class::method>(), "param names", "summary", {rules}}
// with the parameter names of the declaration in quorvane.h, separated by
// single spaces, and a one-line summary of its comment there. Where a method
// is overloaded the row picks the overload the script reaches with
// overload<Class, Type>(&Class::method); where the script passes an
// enumeration or a bool that the method takes as int, bind's second argument
// states the script's signature. A new class gets its rows appended to its
// family's table (or a new table listed here and in registry.cpp) and its
// hierarchy edge in hierarchy.cpp.
#pragma once

#include <span>

#include "script/invoker.h"

namespace quorvane::script {

// DrawArea, TTFText and the library's functions.
std::span<const Invoker> drawingRows();
// Boxes, texts, lines, the legend, BaseChart, pie charts and their sectors.
std::span<const Invoker> chartRows();
// Axes, marks, layers, data sets, the plot area and XY charts.
std::span<const Invoker> xyRows();

}  // namespace quorvane::script
