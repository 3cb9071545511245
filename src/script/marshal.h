// Host values across the scripting boundary: the call scope that reads
// arguments through the host's accessor table into copies it owns for the
// length of one call, the object handle text, result delivery, the error
// buffer (written with at most kErrorBufferSize bytes, NUL included), and the
// rules that keep a method from reading past a copied array.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "quorvane.h"
#include "script/type_names.h"

namespace quorvane::script {

inline constexpr size_t kErrorBufferSize = 1024;

// Writes the printf-style message into buffer, cut to kErrorBufferSize bytes.
void writeError(char *buffer, const char *format, ...) __attribute__((format(printf, 2, 3)));

// An object handle is the text
//   "$$pointer$$" <type name> "@" <address> ":" <generation>
// with address and generation in lowercase hexadecimal without prefix or
// leading zeros ("0" is zero), e.g. "$$pointer$$class XYChart *@55d0c3a2b4e0:1f".
// The generation is the one the object was given when made (see
// base/live_objects.h); a null pointer is written "@0:0". Hosts may show or
// compare the part before the ":".
std::string makeHandle(std::string_view typeName, const void *address, uint64_t generation);

// The handle of object as a pointer of type X, with its generation.
template <class X>
std::string handleOf(X *object) {
  return makeHandle(typeName<X *>(), object, generationOf(object));
}

// The address in handle when it is written exactly as above and names the
// object of that generation living at that address as the class it names,
// converted to a pointer of type wanted, directly or through the pointer
// converters; null when the handle is rejected. Any other text (no
// generation, another one, leading zeros, upper case, more than 16 digits,
// anything after the generation) is rejected.
void *parseHandle(std::string_view handle, std::string_view wanted);

class CallScope {
 public:
  explicit CallScope(const HostAccessor &host) : host_(host) {}
  CallScope(const CallScope &) = delete;
  CallScope &operator=(const CallScope &) = delete;

  // Conversions of one host value; each returns false when the host cannot
  // present the value as that type.
  bool get(void *value, int &out);
  bool get(void *value, double &out);
  bool get(void *value, bool &out);
  bool get(void *value, const char *&out);
  bool get(void *value, const int *&out);
  bool get(void *value, const double *&out);
  bool get(void *value, const char *const *&out);
  template <class E>
    requires std::is_enum_v<E>
  bool get(void *value, E &out) {
    int v = 0;
    if (!get(value, v)) return false;
    out = static_cast<E>(v);
    return true;
  }
  // Each handle converted is kept, in order, so that it can be checked again
  // once every argument is read.
  template <class X>
    requires std::is_class_v<X>
  bool get(void *value, X *&out) {
    const char *text = nullptr;
    if (!get(value, text)) return false;
    out = static_cast<X *>(parseHandle(text, typeName<X *>()));
    if (out == nullptr) return false;
    handles_.push_back(Handle{text, &typeName<X *>(), out});
    return true;
  }

  // The position, in the order converted, of the first handle whose object
  // no longer lives (the host destroyed it, or its owner, while later values
  // were read); -1 when every one still does.
  int firstGoneHandle() const;

  // Result deliveries; false when the host refuses the value.
  bool deliver(void *result, int v);
  bool deliver(void *result, double v);
  bool deliver(void *result, bool v);
  bool deliver(void *result, const char *v);
  bool deliver(void *result, MemBlock v);
  template <class X>
    requires std::is_class_v<X>
  bool deliver(void *result, X *v) {
    const std::string handle = handleOf(v);
    return host_.setStringResult(handle.c_str(), result) != 0;
  }

  // The element count of an array this scope copied; 0 for null.
  int lengthOf(const void *array) const;
  // A scope-owned array of count elements of T, zero-filled.
  template <class T>
  T *allocate(size_t count) {
    static_assert(std::is_trivially_copyable_v<T>);
    return static_cast<T *>(allocateBytes(count, sizeof(T), static_cast<int>(count)));
  }

 private:
  void *allocateBytes(size_t count, size_t elementSize, int lengthRecorded);
  const char *copyString(const char *s);
  template <class T>
  const T *copyArray(const T *items, int count);
  template <class T>
  bool getNumbers(void *value, const T *&out, int (*getter)(void *, const T **, int *),
                  void (*release)(const T *));

  struct Block {
    std::unique_ptr<std::max_align_t[]> bytes_;
    int length_;
  };
  struct Handle {
    const char *text_;  // a copy this scope owns
    const std::string *wanted_;
    const void *pointer_;
  };
  const HostAccessor &host_;
  std::vector<Block> blocks_;
  std::vector<Handle> handles_;
};

// How an argument of a method's signature takes part in the array rules.
enum class ArgKind { kOther, kInt, kIntArray, kDoubleArray, kStringArray };

template <class T>
inline constexpr ArgKind kArgKind = std::is_same_v<T, int>                   ? ArgKind::kInt
                                    : std::is_same_v<T, const int *>          ? ArgKind::kIntArray
                                    : std::is_same_v<T, const double *>       ? ArgKind::kDoubleArray
                                    : std::is_same_v<T, const char *const *> ? ArgKind::kStringArray
                                                                              : ArgKind::kOther;

// One converted argument as the array rules see it.
struct ArgRef {
  void *value_;
  ArgKind kind_;
};

// Keeps a method within the arrays the host passed; positions are 0-based
// among the method's arguments.
struct ArrayRule {
  enum class Kind {
    kLimitCount,         // count is at most the array's length (null: 0)
    kLimitCountIfGiven,  // the same, but a null array is absent and limits nothing
    kPadToCount,         // a shorter array is lengthened to count with absent entries
    kEndWithMinusOne,    // the array ends at its first -1, appended when missing
    kEndWithFullRamp,    // (position, colour) pairs end at a later pair at 255 or more
    kCoverArea           // the array holds at least width x height entries
  };
  Kind kind_;
  int array_;
  int count_ = -1;   // the count, or the width for kCoverArea
  int height_ = -1;  // kCoverArea only
};

// Whether the rules name arguments of the kinds they work on.
bool rulesFit(std::span<const ArrayRule> rules, std::span<const ArgKind> kinds);

// Applies the rules to the converted arguments; on failure badArg is the
// 0-based position of the array that was rejected.
bool applyArrayRules(std::span<const ArrayRule> rules, std::span<const ArgRef> args,
                     CallScope &scope, int &badArg);

}  // namespace quorvane::script
