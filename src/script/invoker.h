// The invoker: one row of the scripting door's table and the one routine
// that runs every row. A row holds its name, its signature (a type per
// argument and for the result, and the small function that makes the call
// from converted slots), its parameter names, a one-line summary and the
// array rules. The routine checks the argument count, converts the object
// handle and each argument by its type, checks every handle again once all
// are read (the host's accessors may have destroyed objects meanwhile),
// keeps the method within the arrays passed, calls through the published
// interface (so the object's own implementation runs) and delivers the result.
#pragma once

#include <array>
#include <initializer_list>
#include <span>
#include <string_view>

#include "script/marshal.h"

namespace quorvane::script {

// The most arguments a row takes after the name and the object handle.
inline constexpr int kMaxArity = 12;
// The most array rules a row has.
inline constexpr int kMaxRules = 4;

// Calls the target with the arguments in args and stores its result.
using TargetCall = void (*)(void *self, Slot *args, Slot &result);

struct Signature {
  TargetCall call_ = nullptr;
  const ValueType *args_ = nullptr;
  int arity_ = 0;
  ValueType result_;
  ValueType self_;  // kVoid for a library function or a create
};

// A row's array rules, held in the row.
class Rules {
 public:
  constexpr Rules() = default;
  constexpr Rules(std::initializer_list<ArrayRule> rules) {
    for (const ArrayRule &r : rules) items_[count_++] = r;
  }
  std::span<const ArrayRule> view() const { return {items_.data(), static_cast<size_t>(count_)}; }

 private:
  std::array<ArrayRule, kMaxRules> items_{};
  int count_ = 0;
};

class Invoker {
 public:
  // params names the arguments in order, separated by single spaces.
  constexpr Invoker(std::string_view name, Signature signature, std::string_view params,
                    std::string_view summary, Rules rules = {})
      : name_(name), signature_(signature), params_(params), summary_(summary), rules_(rules) {}

  // Runs the row for argv (argv[0] being its name); false with a message in
  // errorBuffer when it cannot be called or its result cannot be delivered.
  bool invoke(int argc, void *const *argv, void *result, CallScope &scope,
              char *errorBuffer) const;
  // The number of arguments after the name (and the object handle).
  int arity() const { return signature_.arity_; }
  bool isClassMethod() const { return signature_.self_.kind_ == ValueKind::kObject; }
  // Whether the row is sound: its rules fit its signature, it names each
  // argument once and it has a summary.
  bool isSound() const;

  std::string_view name() const { return name_; }
  const Signature &signature() const { return signature_; }
  std::span<const ValueType> argTypes() const {
    return {signature_.args_, static_cast<size_t>(signature_.arity_)};
  }
  std::string_view params() const { return params_; }
  std::string_view summary() const { return summary_; }
  std::span<const ArrayRule> rules() const { return rules_.view(); }

 private:
  int convertArguments(void *const *values, Slot *args, CallScope &scope) const;
  int goneArgument(CallScope &scope) const;

  std::string_view name_;
  Signature signature_;
  std::string_view params_;
  std::string_view summary_;
  Rules rules_;
};

}  // namespace quorvane::script
