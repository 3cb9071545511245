// Host values across the scripting boundary: the call scope that reads
// arguments through the host's accessor table into copies it owns for the
// length of one call, the object handle text, result delivery, the error
// buffer (written with at most kErrorBufferSize bytes, NUL included), and the
// rules that keep a method from reading past a copied array. Values cross by
// kind (ValueKind) into slots, so one invoker serves every signature.
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

// How a value crosses the boundary: what the host is asked for or given, and
// what the array rules see. Enumerations cross as kInt.
enum class ValueKind : uint8_t {
  kVoid, kInt, kDouble, kBool, kText, kIntArray, kDoubleArray, kTextArray, kObject, kMemBlock
};

// One argument or result of a call, held as its kind says.
union Slot {
  int int_;
  double double_;
  bool bool_;
  const char *text_;
  const int *ints_;
  const double *doubles_;
  const char *const *texts_;
  void *object_;  // the object as the pointer type its ValueType names
  MemBlock block_;
};

// The type of an argument or result: its kind, its name as messages and
// handles write it, and for an object the published class it is entered as.
struct ValueType {
  ValueKind kind_ = ValueKind::kVoid;
  const std::string &(*name_)() = nullptr;
  std::string_view className_;
};

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
  // An object handle naming an object that can be had as the pointer type
  // named wanted, the pointer adjusted to it. Each handle converted is kept,
  // in order, so that it can be checked again once every argument is read.
  bool getObject(void *value, const std::string &wanted, void *&out);
  // The value as type says; false when the host cannot present it so.
  bool get(void *value, const ValueType &type, Slot &out);

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
  // The value held as type says; an object goes as its handle.
  bool deliver(void *result, const ValueType &type, const Slot &value);

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

// Keeps a method within the arrays the host passed; positions are 0-based
// among the method's arguments.
struct ArrayRule {
  enum class Kind : uint8_t {
    kLimitCount,         // count is at most the array's length (null: 0)
    kLimitCountIfGiven,  // the same, but a null array is absent and limits nothing
    kPadToCount,         // a shorter array is lengthened to count with absent entries
    kEndWithMinusOne,    // the array ends at its first -1, appended when missing
    kEndWithFullRamp,    // (position, colour) pairs end at a later pair at 255 or more
    kCoverArea           // the array holds at least width x height entries
  };
  Kind kind_;
  int8_t array_;
  int8_t count_ = -1;   // the count, or the width for kCoverArea
  int8_t height_ = -1;  // kCoverArea only
};

// Whether the rules name arguments of the kinds they work on.
bool rulesFit(std::span<const ArrayRule> rules, std::span<const ValueType> types);

// Applies the rules to the converted arguments, held as types say; on failure
// badArg is the 0-based position of the array that was rejected.
bool applyArrayRules(std::span<const ArrayRule> rules, std::span<Slot> args,
                     std::span<const ValueType> types, CallScope &scope, int &badArg);

}  // namespace quorvane::script
