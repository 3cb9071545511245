// Binding a published operation to a row: bind<&Class::method>() gives the
// signature the script sees (the types of the arguments and the result, from
// the target's own signature or from Declared, whose enumeration and bool
// arguments stand where the target takes int) and the row's call function,
// the only code made per row. Included by the row tables alone.
#pragma once

#include <type_traits>
#include <utility>

#include "base/live_objects.h"
#include "script/invoker.h"

namespace quorvane::script {

namespace binding {

template <class T>
inline constexpr bool kIsObject = std::is_pointer_v<T> && std::is_class_v<std::remove_pointer_t<T>>;

template <class T>
constexpr ValueKind kindOf() {
  if constexpr (std::is_void_v<T>) return ValueKind::kVoid;
  else if constexpr (std::is_same_v<T, bool>) return ValueKind::kBool;
  else if constexpr (std::is_same_v<T, int> || std::is_enum_v<T>) return ValueKind::kInt;
  else if constexpr (std::is_same_v<T, double>) return ValueKind::kDouble;
  else if constexpr (std::is_same_v<T, const char *>) return ValueKind::kText;
  else if constexpr (std::is_same_v<T, const int *>) return ValueKind::kIntArray;
  else if constexpr (std::is_same_v<T, const double *>) return ValueKind::kDoubleArray;
  else if constexpr (std::is_same_v<T, const char *const *>) return ValueKind::kTextArray;
  else if constexpr (std::is_same_v<T, MemBlock>) return ValueKind::kMemBlock;
  else {
    static_assert(kIsObject<T>, "a type the scripting door cannot carry");
    return ValueKind::kObject;
  }
}

template <class T>
constexpr ValueType typeOf() {
  if constexpr (std::is_void_v<T>) return {};
  else if constexpr (kIsObject<T>)
    return {ValueKind::kObject, &typeName<T>, kPublishedName<std::remove_cv_t<std::remove_pointer_t<T>>>};
  else return {kindOf<T>(), &typeName<T>, {}};
}

template <class... A>
struct ArgTypes {
  // One more entry than arguments, so that no array is empty.
  static constexpr ValueType kTypes[sizeof...(A) + 1] = {typeOf<A>()..., ValueType{}};
};

template <class T>
T fromSlot(const Slot &s) {
  if constexpr (std::is_same_v<T, bool>) return s.bool_;
  else if constexpr (std::is_same_v<T, int>) return s.int_;
  else if constexpr (std::is_enum_v<T>) return static_cast<T>(s.int_);
  else if constexpr (std::is_same_v<T, double>) return s.double_;
  else if constexpr (std::is_same_v<T, const char *>) return s.text_;
  else if constexpr (std::is_same_v<T, const int *>) return s.ints_;
  else if constexpr (std::is_same_v<T, const double *>) return s.doubles_;
  else if constexpr (std::is_same_v<T, const char *const *>) return s.texts_;
  else return static_cast<T>(s.object_);
}

template <class T>
void toSlot(Slot &s, T v) {
  if constexpr (std::is_same_v<T, bool>) s.bool_ = v;
  else if constexpr (std::is_same_v<T, int>) s.int_ = v;
  else if constexpr (std::is_same_v<T, double>) s.double_ = v;
  else if constexpr (std::is_same_v<T, const char *>) s.text_ = v;
  else if constexpr (std::is_same_v<T, MemBlock>) s.block_ = v;
  else s.object_ = static_cast<void *>(v);
}

// The call function of Target on class C (void: a plain function) as the
// script sees it, R(A...).
template <auto Target, class C, class R, class... A>
void call([[maybe_unused]] void *self, [[maybe_unused]] Slot *args, [[maybe_unused]] Slot &result) {
  [&]<size_t... I>(std::index_sequence<I...>) {
    const auto run = [&] {
      if constexpr (std::is_void_v<C>) return Target(fromSlot<A>(args[I])...);
      else return (static_cast<C *>(self)->*Target)(fromSlot<A>(args[I])...);
    };
    if constexpr (std::is_void_v<R>) run();
    else toSlot<R>(result, run());
  }(std::index_sequence_for<A...>{});
}

template <class Target>
struct TargetTraits;
template <class B, class R, class... A>
struct TargetTraits<R (B::*)(A...)> {
  using Class = B;
  using Type = R(A...);
};
template <class R, class... A>
struct TargetTraits<R (*)(A...)> {
  using Class = void;
  using Type = R(A...);
};

template <class Sig>
struct SignatureOf;
template <class R, class... A>
struct SignatureOf<R(A...)> {
  template <auto Target, class C>
  static constexpr Signature make() {
    static_assert(sizeof...(A) <= kMaxArity);
    ValueType self{};
    if constexpr (!std::is_void_v<C>) self = typeOf<C *>();
    return {&call<Target, C, R, A...>, ArgTypes<A...>::kTypes, static_cast<int>(sizeof...(A)),
            typeOf<R>(), self};
  }
};

}  // namespace binding

// The signature of Target (a member function pointer, or a plain function
// pointer for a create or a library function), seen by the script as
// Declared, or as the target's own signature when Declared is void.
template <auto Target, class Declared = void>
constexpr Signature bind() {
  using Traits = binding::TargetTraits<decltype(Target)>;
  using Sig = std::conditional_t<std::is_void_v<Declared>, typename Traits::Type, Declared>;
  return binding::SignatureOf<Sig>::template make<Target, typename Traits::Class>();
}

// The overload of an overloaded method that has type Type.
template <class C, class Type>
constexpr Type C::*overload(Type C::*method) {
  return method;
}

// The array rules rows state (see ArrayRule).
constexpr ArrayRule limit(int array, int count) {
  return {ArrayRule::Kind::kLimitCount, static_cast<int8_t>(array), static_cast<int8_t>(count)};
}
constexpr ArrayRule limitIfGiven(int array, int count) {
  return {ArrayRule::Kind::kLimitCountIfGiven, static_cast<int8_t>(array),
          static_cast<int8_t>(count)};
}
constexpr ArrayRule pad(int array, int count) {
  return {ArrayRule::Kind::kPadToCount, static_cast<int8_t>(array), static_cast<int8_t>(count)};
}
constexpr ArrayRule endWithMinusOne(int array) {
  return {ArrayRule::Kind::kEndWithMinusOne, static_cast<int8_t>(array)};
}
constexpr ArrayRule fullRamp(int array) {
  return {ArrayRule::Kind::kEndWithFullRamp, static_cast<int8_t>(array)};
}
constexpr ArrayRule coverArea(int array, int width, int height) {
  return {ArrayRule::Kind::kCoverArea, static_cast<int8_t>(array), static_cast<int8_t>(width),
          static_cast<int8_t>(height)};
}

}  // namespace quorvane::script
