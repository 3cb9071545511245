// The names by which the scripting boundary writes types in object handles
// and messages: classes with the word class, const after the type it
// qualifies, a space before each "*", e.g. "class DrawArea const *".
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include "quorvane.h"

namespace quorvane::script {

template <class X>
inline constexpr std::string_view kClassName{};
template <> inline constexpr std::string_view kClassName<DrawArea> = "DrawArea";
template <> inline constexpr std::string_view kClassName<TTFText> = "TTFText";
template <> inline constexpr std::string_view kClassName<BaseChart> = "BaseChart";
template <> inline constexpr std::string_view kClassName<DrawObj> = "DrawObj";
template <> inline constexpr std::string_view kClassName<Box> = "Box";
template <> inline constexpr std::string_view kClassName<TextBox> = "TextBox";
template <> inline constexpr std::string_view kClassName<Line> = "Line";
template <> inline constexpr std::string_view kClassName<LegendBox> = "LegendBox";
template <> inline constexpr std::string_view kClassName<BaseAxis> = "BaseAxis";
template <> inline constexpr std::string_view kClassName<XAxis> = "XAxis";
template <> inline constexpr std::string_view kClassName<YAxis> = "YAxis";
template <> inline constexpr std::string_view kClassName<Mark> = "Mark";
template <> inline constexpr std::string_view kClassName<Layer> = "Layer";
template <> inline constexpr std::string_view kClassName<DataSet> = "DataSet";
template <> inline constexpr std::string_view kClassName<BarLayer> = "BarLayer";
template <> inline constexpr std::string_view kClassName<LineLayer> = "LineLayer";
template <> inline constexpr std::string_view kClassName<AreaLayer> = "AreaLayer";
template <> inline constexpr std::string_view kClassName<HLOCLayer> = "HLOCLayer";
template <> inline constexpr std::string_view kClassName<PlotArea> = "PlotArea";
template <> inline constexpr std::string_view kClassName<XYChart> = "XYChart";
template <> inline constexpr std::string_view kClassName<PieChart> = "PieChart";
template <> inline constexpr std::string_view kClassName<Sector> = "Sector";
template <> inline constexpr std::string_view kClassName<MemBlock> = "MemBlock";

template <class T>
inline constexpr std::string_view kEnumName{};
template <> inline constexpr std::string_view kEnumName<Alignment> = "enum Alignment";
template <> inline constexpr std::string_view kEnumName<SymbolType> = "enum SymbolType";
template <> inline constexpr std::string_view kEnumName<DrawArea::PaletteMode> =
    "enum DrawArea::PaletteMode";
template <> inline constexpr std::string_view kEnumName<DrawArea::DitherMethod> =
    "enum DrawArea::DitherMethod";
template <> inline constexpr std::string_view kEnumName<TTFText::AntiAliasMode> =
    "enum TTFText::AntiAliasMode";
template <> inline constexpr std::string_view kEnumName<Layer::DataCombineMethod> =
    "enum Layer::DataCombineMethod";
template <> inline constexpr std::string_view kEnumName<BaseChart::ImgFormat> =
    "enum BaseChart::ImgFormat";

// The name of T; made once per type and kept for the life of the process.
template <class T>
const std::string &typeName() {
  static const std::string name = [] {
    using std::string;
    if constexpr (std::is_same_v<T, int>) return string("int");
    else if constexpr (std::is_same_v<T, double>) return string("double");
    else if constexpr (std::is_same_v<T, bool>) return string("bool");
    else if constexpr (std::is_enum_v<T>) {
      static_assert(!kEnumName<T>.empty(), "enumeration without a published name");
      return string(kEnumName<T>);
    } else if constexpr (std::is_class_v<T>) {
      static_assert(!kClassName<T>.empty(), "class without a published name");
      return "class " + string(kClassName<T>);
    } else if constexpr (std::is_pointer_v<T>) {
      using Pointee = std::remove_pointer_t<T>;
      const string base = typeName<std::remove_const_t<Pointee>>();
      return base + (std::is_const_v<Pointee> ? " const *" : " *");
    } else {
      static_assert(std::is_same_v<T, char>, "type without a published name");
      return string("char");
    }
  }();
  return name;
}

}  // namespace quorvane::script
