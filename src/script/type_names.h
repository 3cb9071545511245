// The names by which the scripting boundary writes types in object handles
// and messages: classes with the word class, const after the type it
// qualifies, a space before each "*", e.g. "class DrawArea const *".
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include "base/live_objects.h"
#include "quorvane.h"

namespace quorvane::script {

// Class names come from the table of live objects, which enters objects by
// the same names that handles carry.
template <class X>
inline constexpr std::string_view kClassName = kPublishedName<X>;

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
