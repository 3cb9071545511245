// The published constants and enumeration values, as the bindings' tables
// list them (tools/gen_python_tables reads this table; the library does not).
// Each entry is written from the identifier itself, so a name and its value
// cannot part.
#pragma once

#include <string_view>

#include "quorvane.h"

namespace quorvane::script {

struct PublishedConstant {
  std::string_view name_;
  std::string_view owner_;        // the class a nested enumeration belongs to, or empty
  std::string_view enumeration_;  // empty for a plain constant
  double value_;
  bool isInteger_;
};

#define QUORVANE_ENUMERATOR(enumeration, name) {#name, {}, #enumeration, name, true}
#define QUORVANE_NESTED(owner, enumeration, name) \
  {#name, #owner, #enumeration, owner::name, true}

inline constexpr PublishedConstant kPublishedConstants[] = {
    {"Transparent", {}, {}, Transparent, true},
    {"NoValue", {}, {}, NoValue, false},
    QUORVANE_NESTED(BaseChart, ImgFormat, PNG),
    QUORVANE_NESTED(BaseChart, ImgFormat, GIF),
    QUORVANE_NESTED(BaseChart, ImgFormat, JPG),
    QUORVANE_NESTED(BaseChart, ImgFormat, WMP),
    QUORVANE_ENUMERATOR(Alignment, AlignBottomLeft),
    QUORVANE_ENUMERATOR(Alignment, AlignBottomCentre),
    QUORVANE_ENUMERATOR(Alignment, AlignBottomRight),
    QUORVANE_ENUMERATOR(Alignment, AlignLeft),
    QUORVANE_ENUMERATOR(Alignment, AlignCentre),
    QUORVANE_ENUMERATOR(Alignment, AlignRight),
    QUORVANE_ENUMERATOR(Alignment, AlignTopLeft),
    QUORVANE_ENUMERATOR(Alignment, AlignTopCentre),
    QUORVANE_ENUMERATOR(Alignment, AlignTopRight),
    QUORVANE_ENUMERATOR(SymbolType, NoSymbol),
    QUORVANE_ENUMERATOR(SymbolType, SquareSymbol),
    QUORVANE_ENUMERATOR(SymbolType, DiamondSymbol),
    QUORVANE_ENUMERATOR(SymbolType, TriangleSymbol),
    QUORVANE_ENUMERATOR(SymbolType, LeftTriangleSymbol),
    QUORVANE_ENUMERATOR(SymbolType, RightTriangleSymbol),
    QUORVANE_ENUMERATOR(SymbolType, InvertedTriangleSymbol),
    QUORVANE_ENUMERATOR(SymbolType, CircleSymbol),
    QUORVANE_ENUMERATOR(SymbolType, CrossSymbol),
    QUORVANE_ENUMERATOR(SymbolType, Cross2Symbol),
    QUORVANE_NESTED(Layer, DataCombineMethod, Overlay),
    QUORVANE_NESTED(Layer, DataCombineMethod, Stack),
    QUORVANE_NESTED(Layer, DataCombineMethod, Side),
    QUORVANE_NESTED(DrawArea, PaletteMode, TryPalette),
    QUORVANE_NESTED(DrawArea, PaletteMode, ForcePalette),
    QUORVANE_NESTED(DrawArea, PaletteMode, NoPalette),
    QUORVANE_NESTED(DrawArea, DitherMethod, Quantize),
    QUORVANE_NESTED(DrawArea, DitherMethod, OrderedDither),
    QUORVANE_NESTED(DrawArea, DitherMethod, ErrorDiffusion),
    QUORVANE_NESTED(DrawArea, SmoothMode, SmoothOff),
    QUORVANE_NESTED(DrawArea, SmoothMode, SmoothQuarters),
    QUORVANE_NESTED(DrawArea, SmoothMode, SmoothFine),
    QUORVANE_NESTED(TTFText, AntiAliasMode, AntiAliasOff),
    QUORVANE_NESTED(TTFText, AntiAliasMode, AntiAliasOn),
    QUORVANE_NESTED(TTFText, AntiAliasMode, AntiAliasAuto),
};

#undef QUORVANE_ENUMERATOR
#undef QUORVANE_NESTED

}  // namespace quorvane::script
