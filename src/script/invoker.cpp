// The one routine that runs every row of the scripting door: arguments are
// converted by their kind into slots, and only the row's own call function
// knows the C++ types, so the table costs a few instructions a row.
#include "script/invoker.h"

#include <algorithm>

namespace quorvane::script {

namespace {

// The number of words in a list of names separated by single spaces.
int wordCount(std::string_view names) {
  if (names.empty()) return 0;
  return 1 + static_cast<int>(std::count(names.begin(), names.end(), ' '));
}

bool isWordList(std::string_view names) {
  return names.empty() || (names.front() != ' ' && names.back() != ' ' &&
                           names.find("  ") == std::string_view::npos);
}

}  // namespace

bool Invoker::isSound() const {
  return signature_.arity_ <= kMaxArity && rulesFit(rules(), argTypes()) &&
         isWordList(params_) && wordCount(params_) == signature_.arity_ && !summary_.empty() &&
         summary_.find('\n') == std::string_view::npos;
}

// Converts in order and stops at the first failure, whose position it
// returns; -1 when every argument was read.
int Invoker::convertArguments(void *const *values, Slot *args, CallScope &scope) const {
  for (int i = 0; i < signature_.arity_; ++i)
    if (!scope.get(values[i], signature_.args_[i], args[i])) return i;
  return -1;
}

// The position of the first object argument whose object died while later
// values were read; -1 when none did, kMaxArity when the object called did.
int Invoker::goneArgument(CallScope &scope) const {
  int gone = scope.firstGoneHandle();
  if (gone < 0) return -1;
  if (isClassMethod()) {
    if (gone == 0) return kMaxArity;
    --gone;  // the object came first
  }
  for (int i = 0; i < signature_.arity_; ++i)
    if (signature_.args_[i].kind_ == ValueKind::kObject && gone-- == 0) return i;
  return -1;
}

bool Invoker::invoke(int argc, void *const *argv, void *result, CallScope &scope,
                     char *errorBuffer) const {
  const int firstArg = isClassMethod() ? 2 : 1;
  if (argc != signature_.arity_ + firstArg) {
    writeError(errorBuffer, "Wrong number of arguments; expecting %d but received %d",
               signature_.arity_, argc - firstArg);
    return false;
  }
  const ValueType &self = signature_.self_;
  Slot object{.object_ = nullptr};
  if (isClassMethod() && !scope.get(argv[1], self, object)) {
    writeError(errorBuffer, "Error converting object pointer to type %s", self.name_().c_str());
    return false;
  }
  std::array<Slot, kMaxArity> args{};
  int bad = convertArguments(argv + firstArg, args.data(), scope);
  if (bad < 0) {
    // An object destroyed while later values were read is refused as its
    // stale handle would be.
    bad = goneArgument(scope);
    if (bad == kMaxArity) {
      writeError(errorBuffer, "Error converting object pointer to type %s", self.name_().c_str());
      return false;
    }
  }
  if (bad >= 0 ||
      !applyArrayRules(rules(), {args.data(), args.size()}, argTypes(), scope, bad)) {
    writeError(errorBuffer, "Error converting argument %d to type %s", bad + 1,
               signature_.args_[bad].name_().c_str());
    return false;
  }
  Slot value{};
  signature_.call_(object.object_, args.data(), value);
  if (signature_.result_.kind_ != ValueKind::kVoid &&
      !scope.deliver(result, signature_.result_, value)) {
    writeError(errorBuffer, "Error converting return value to type %s *",
               signature_.result_.name_().c_str());
    return false;
  }
  return true;
}

}  // namespace quorvane::script
