// The invokers: one template, instantiated per signature, that checks the
// argument count, converts the object handle and each argument by its type,
// checks every handle again once all are read (the host's accessors may have
// destroyed objects meanwhile), keeps the method within the arrays passed,
// calls through the published interface (so the object's own implementation
// runs) and delivers the result.
#pragma once

#include <array>
#include <memory>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "script/marshal.h"

namespace quorvane::script {

class Invoker {
 public:
  virtual ~Invoker() = default;
  // Runs the entry for argv (argv[0] being its name); false with a message in
  // errorBuffer when it cannot be called or its result cannot be delivered.
  virtual bool invoke(int argc, void *const *argv, void *result, CallScope &scope,
                      char *errorBuffer) const = 0;
  // The number of arguments after the name (and the object handle).
  virtual int arity() const = 0;
  virtual bool isClassMethod() const = 0;
};

// Target is a member function pointer of C (or of a base of C), or a plain
// function pointer when C is void. R(A...) is the signature the script sees:
// the target's own, or one whose enumeration and bool arguments stand where
// the target takes int.
template <class Target, class C, class R, class... A>
class MethodInvoker final : public Invoker {
  static constexpr bool kIsMethod = !std::is_void_v<C>;
  static constexpr int kFirstArg = kIsMethod ? 2 : 1;
  static constexpr int kArity = static_cast<int>(sizeof...(A));
  template <class T>
  static constexpr bool kIsObject =
      std::is_pointer_v<T> && std::is_class_v<std::remove_pointer_t<T>>;
  // The positions of the arguments that are object handles, in order.
  static constexpr auto kObjectArgs = [] {
    std::array<int, (0 + ... + (kIsObject<A> ? 1 : 0))> positions{};
    size_t n = 0;
    int i = 0;
    ((kIsObject<A> ? (void)(positions[n++] = i) : (void)0, ++i), ...);
    return positions;
  }();

 public:
  MethodInvoker(Target target, std::vector<ArrayRule> rules)
      : target_(target), rules_(std::move(rules)) {}

  int arity() const override { return kArity; }
  bool isClassMethod() const override { return kIsMethod; }
  static bool rulesFit(std::span<const ArrayRule> rules) {
    static constexpr std::array<ArgKind, sizeof...(A)> kinds{kArgKind<A>...};
    return script::rulesFit(rules, kinds);
  }

  bool invoke(int argc, void *const *argv, void *result, CallScope &scope,
              char *errorBuffer) const override {
    if (argc != kArity + kFirstArg) {
      writeError(errorBuffer, "Wrong number of arguments; expecting %d but received %d", kArity,
                 argc - kFirstArg);
      return false;
    }
    std::conditional_t<kIsMethod, C *, std::nullptr_t> self = nullptr;
    if constexpr (kIsMethod) {
      if (!scope.get(argv[1], self)) {
        writeError(errorBuffer, "Error converting object pointer to type %s",
                   typeName<C *>().c_str());
        return false;
      }
    }
    std::tuple<A...> args{};
    int bad = -1;
    const auto indices = std::index_sequence_for<A...>{};
    if (convertAll(scope, argv + kFirstArg, args, bad, indices)) {
      // An object destroyed while later values were read is refused as its
      // stale handle would be.
      int gone = scope.firstGoneHandle();
      if constexpr (kIsMethod) {
        if (gone == 0) {
          writeError(errorBuffer, "Error converting object pointer to type %s",
                     typeName<C *>().c_str());
          return false;
        }
        if (gone > 0) --gone;  // the object came first
      }
      if constexpr (!kObjectArgs.empty())
        if (gone >= 0) bad = kObjectArgs[static_cast<size_t>(gone)];
    }
    if (bad >= 0 || !keepWithinArrays(scope, args, bad, indices)) {
      static const std::array<const std::string *, sizeof...(A)> names{&typeName<A>()...};
      writeError(errorBuffer, "Error converting argument %d to type %s", bad + 1,
                 names[static_cast<size_t>(bad)]->c_str());
      return false;
    }
    // The target is copied in rather than reached through this: GCC's
    // sanitizer misreads this inside a closure capturing by reference.
    const auto call = [&, target = target_](A &...a) -> R {
      if constexpr (kIsMethod) return (self->*target)(a...);
      else return target(a...);
    };
    if constexpr (std::is_void_v<R>) {
      std::apply(call, args);
    } else {
      const R value = std::apply(call, args);
      if (!scope.deliver(result, value)) {
        writeError(errorBuffer, "Error converting return value to type %s",
                   typeName<std::remove_const_t<R> *>().c_str());
        return false;
      }
    }
    return true;
  }

 private:
  // Converts in order and stops at the first failure, whose position is bad.
  template <size_t... I>
  static bool convertAll(CallScope &scope, void *const *values, std::tuple<A...> &args, int &bad,
                         std::index_sequence<I...>) {
    return ((scope.get(values[I], std::get<I>(args)) || (bad = static_cast<int>(I), false)) &&
            ...);
  }

  template <size_t... I>
  bool keepWithinArrays(CallScope &scope, std::tuple<A...> &args, int &bad,
                        std::index_sequence<I...>) const {
    if (rules_.empty()) return true;
    const std::array<ArgRef, sizeof...(A)> refs{ArgRef{&std::get<I>(args), kArgKind<A>}...};
    return applyArrayRules(rules_, refs, scope, bad);
  }

  Target target_;
  std::vector<ArrayRule> rules_;
};

namespace detail {

template <class Sig>
struct Signature;
template <class R, class... A>
struct Signature<R(A...)> {
  template <class Target, class C>
  using Invoker = MethodInvoker<Target, C, R, A...>;
};

template <class Target>
struct TargetSignature;
template <class B, class R, class... A>
struct TargetSignature<R (B::*)(A...)> {
  using Class = B;
  using Type = R(A...);
};
template <class R, class... A>
struct TargetSignature<R (*)(A...)> {
  using Type = R(A...);
};

}  // namespace detail

// The invoker of target for class C (void: a plain function), seen by the
// script with the signature Declared, or the target's own when Declared is void.
template <class C, class Declared, class Target>
std::unique_ptr<Invoker> makeInvoker(Target target, std::vector<ArrayRule> rules) {
  using Own = typename detail::TargetSignature<Target>::Type;
  using Sig = std::conditional_t<std::is_void_v<Declared>, Own, Declared>;
  using Result = typename detail::Signature<Sig>::template Invoker<Target, C>;
  if constexpr (!std::is_void_v<C>)
    static_assert(std::is_base_of_v<typename detail::TargetSignature<Target>::Class, C>);
  if (!Result::rulesFit(rules)) return nullptr;
  return std::make_unique<Result>(target, std::move(rules));
}

}  // namespace quorvane::script
