// Reading host values into scope-owned copies, object handles, result
// delivery and the array rules. Every copy lives until the call scope ends,
// so a method sees its arguments only for the length of its call.
#include "script/marshal.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <optional>

#include "base/live_objects.h"
#include "script/hierarchy.h"

namespace quorvane::script {

namespace {

constexpr std::string_view kHandlePrefix = "$$pointer$$";

// The whole of text as a number written as makeHandle writes it: lowercase
// hexadecimal digits without sign, prefix, blanks or leading zeros, at most
// 16 of them; nullopt for any other text.
std::optional<uint64_t> parseHex(std::string_view text) {
  constexpr size_t kMaxDigits = 2 * sizeof(uint64_t);
  if (text.empty() || text.size() > kMaxDigits || (text.size() > 1 && text[0] == '0'))
    return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (d < 0) return std::nullopt;
    value = (value << 4) | static_cast<uint64_t>(d);
  }
  return value;
}

// The class a handle's type text names, "class X *" or "class X const *";
// empty for any other text.
std::string_view classOf(std::string_view type) {
  constexpr std::string_view kClass = "class ", kPointer = " *", kConstPointer = " const *";
  if (!type.starts_with(kClass)) return {};
  type.remove_prefix(kClass.size());
  if (type.ends_with(kConstPointer)) type.remove_suffix(kConstPointer.size());
  else if (type.ends_with(kPointer)) type.remove_suffix(kPointer.size());
  else return {};
  return type;
}

}  // namespace

void writeError(char *buffer, const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, kErrorBufferSize, format, args);
  va_end(args);
}

std::string makeHandle(std::string_view typeName, const void *address, uint64_t generation) {
  char numbers[4 * sizeof(uint64_t) + 2];
  std::snprintf(numbers, sizeof numbers, "%llx:%llx",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(address)),
                static_cast<unsigned long long>(generation));
  std::string handle(kHandlePrefix);
  handle.append(typeName).append("@").append(numbers);
  return handle;
}

void *parseHandle(std::string_view handle, std::string_view wanted) {
  if (!handle.starts_with(kHandlePrefix)) return nullptr;
  handle.remove_prefix(kHandlePrefix.size());
  const size_t at = handle.find('@');
  if (at == std::string_view::npos) return nullptr;
  const std::string_view type = handle.substr(0, at);
  const std::string_view numbers = handle.substr(at + 1);
  const size_t colon = numbers.find(':');
  if (colon == std::string_view::npos) return nullptr;
  const std::optional<uint64_t> address = parseHex(numbers.substr(0, colon));
  const std::optional<uint64_t> generation = parseHex(numbers.substr(colon + 1));
  if (!address || !generation || *address == 0) return nullptr;
  if constexpr (sizeof(uintptr_t) < sizeof(uint64_t))
    if (*address > std::numeric_limits<uintptr_t>::max()) return nullptr;
  // Only the object of that generation, living as the class the handle
  // names, is ever touched: one made since at the same address has another.
  const std::string_view className = classOf(type);
  if (className.empty() ||
      !liveObjects().contains(className, static_cast<uintptr_t>(*address), *generation))
    return nullptr;
  void *pointer = reinterpret_cast<void *>(static_cast<uintptr_t>(*address));
  if (type == wanted) return pointer;
  return hierarchy().convert(type, wanted, pointer);
}

int CallScope::firstGoneHandle() const {
  for (size_t i = 0; i < handles_.size(); ++i) {
    const Handle &h = handles_[i];
    if (parseHandle(h.text_, *h.wanted_) != h.pointer_) return static_cast<int>(i);
  }
  return -1;
}

void *CallScope::allocateBytes(size_t count, size_t elementSize, int lengthRecorded) {
  const size_t unit = sizeof(std::max_align_t);
  if (count > std::numeric_limits<size_t>::max() / elementSize - unit) throw std::bad_alloc();
  const size_t units = (count * elementSize + unit - 1) / unit;
  Block block{std::make_unique<std::max_align_t[]>(std::max<size_t>(units, 1)), lengthRecorded};
  void *bytes = block.bytes_.get();
  blocks_.push_back(std::move(block));
  return bytes;
}

const char *CallScope::copyString(const char *s) {
  const size_t n = std::strlen(s);
  char *copy = allocate<char>(n + 1);
  std::memcpy(copy, s, n + 1);
  return copy;
}

template <class T>
const T *CallScope::copyArray(const T *items, int count) {
  T *copy = allocate<T>(static_cast<size_t>(count));
  std::copy(items, items + count, copy);
  return copy;
}

int CallScope::lengthOf(const void *array) const {
  if (array == nullptr) return 0;
  for (const Block &b : blocks_)
    if (b.bytes_.get() == array) return b.length_;
  return 0;
}

bool CallScope::get(void *value, int &out) { return host_.getInt(value, &out) != 0; }

bool CallScope::get(void *value, double &out) { return host_.getDouble(value, &out) != 0; }

bool CallScope::get(void *value, bool &out) {
  int v = 0;
  if (host_.getBool(value, &v) == 0) return false;
  out = v != 0;
  return true;
}

bool CallScope::get(void *value, const char *&out) {
  const char *s = nullptr;
  if (host_.getString(value, &s) == 0 || s == nullptr) return false;
  // The host's string is released even when the copy cannot be made.
  struct Release {
    const HostAccessor &host;
    const char *s;
    ~Release() { host.freeString(s); }
  } release{host_, s};
  out = copyString(s);
  return true;
}

// An empty host array is passed on as null and not released; a negative
// count, or a null array with elements, is refused.
template <class T>
bool CallScope::getNumbers(void *value, const T *&out, int (*getter)(void *, const T **, int *),
                           void (*release)(const T *)) {
  const T *items = nullptr;
  int count = 0;
  if (getter(value, &items, &count) == 0) return false;
  if (count == 0) {
    out = nullptr;
    return true;
  }
  if (count < 0 || items == nullptr) {
    if (items != nullptr) release(items);
    return false;
  }
  struct Release {
    void (*release)(const T *);
    const T *items;
    ~Release() { release(items); }
  } done{release, items};
  out = copyArray(items, count);
  return true;
}

bool CallScope::get(void *value, const int *&out) {
  return getNumbers(value, out, host_.getIntArray, host_.freeIntArray);
}

bool CallScope::get(void *value, const double *&out) {
  return getNumbers(value, out, host_.getDoubleArray, host_.freeDoubleArray);
}

bool CallScope::get(void *value, const char *const *&out) {
  const char **items = nullptr;
  int count = 0;
  if (host_.getStringArray(value, &items, &count) == 0) return false;
  if (count == 0) {
    out = nullptr;
    return true;
  }
  if (count < 0 || items == nullptr) {
    if (items != nullptr) host_.freeStringArray(items);
    return false;
  }
  struct Release {
    const HostAccessor &host;
    const char **items;
    ~Release() { host.freeStringArray(items); }
  } release{host_, items};
  const char **copy = allocate<const char *>(static_cast<size_t>(count));
  // A null entry stays null: the methods read it as an empty text.
  for (int i = 0; i < count; ++i) copy[i] = items[i] != nullptr ? copyString(items[i]) : nullptr;
  out = copy;
  return true;
}

bool CallScope::getObject(void *value, const std::string &wanted, void *&out) {
  const char *text = nullptr;
  if (!get(value, text)) return false;
  out = parseHandle(text, wanted);
  if (out == nullptr) return false;
  handles_.push_back(Handle{text, &wanted, out});
  return true;
}

bool CallScope::get(void *value, const ValueType &type, Slot &out) {
  switch (type.kind_) {
    case ValueKind::kInt: return get(value, out.int_);
    case ValueKind::kDouble: return get(value, out.double_);
    case ValueKind::kBool: return get(value, out.bool_);
    case ValueKind::kText: return get(value, out.text_);
    case ValueKind::kIntArray: return get(value, out.ints_);
    case ValueKind::kDoubleArray: return get(value, out.doubles_);
    case ValueKind::kTextArray: return get(value, out.texts_);
    case ValueKind::kObject: return getObject(value, type.name_(), out.object_);
    case ValueKind::kVoid:
    case ValueKind::kMemBlock: break;
  }
  return false;
}

bool CallScope::deliver(void *result, int v) { return host_.setIntResult(v, result) != 0; }

bool CallScope::deliver(void *result, double v) { return host_.setDoubleResult(v, result) != 0; }

bool CallScope::deliver(void *result, bool v) { return host_.setIntResult(v ? 1 : 0, result) != 0; }

bool CallScope::deliver(void *result, const char *v) {
  return host_.setStringResult(v, result) != 0;
}

bool CallScope::deliver(void *result, MemBlock v) {
  return host_.setMemBlockResult(v.data, v.len, result) != 0;
}

bool CallScope::deliver(void *result, const ValueType &type, const Slot &value) {
  switch (type.kind_) {
    case ValueKind::kInt: return deliver(result, value.int_);
    case ValueKind::kDouble: return deliver(result, value.double_);
    case ValueKind::kBool: return deliver(result, value.bool_);
    case ValueKind::kText: return deliver(result, value.text_);
    case ValueKind::kMemBlock: return deliver(result, value.block_);
    case ValueKind::kObject: {
      const uintptr_t address = reinterpret_cast<uintptr_t>(value.object_);
      const uint64_t generation =
          address == 0 ? 0 : liveObjects().generationAt(type.className_, address);
      const std::string handle = makeHandle(type.name_(), value.object_, generation);
      return host_.setStringResult(handle.c_str(), result) != 0;
    }
    case ValueKind::kVoid:
    case ValueKind::kIntArray:
    case ValueKind::kDoubleArray:
    case ValueKind::kTextArray: break;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Array rules
// ---------------------------------------------------------------------------

namespace {

bool isArray(ValueKind k) {
  return k == ValueKind::kIntArray || k == ValueKind::kDoubleArray || k == ValueKind::kTextArray;
}

bool fits(int index, std::span<const ValueType> types) {
  return index >= 0 && static_cast<size_t>(index) < types.size();
}

// The items of an array argument, read as the member its kind names.
const void *itemsOf(const Slot &array, ValueKind kind) {
  switch (kind) {
    case ValueKind::kIntArray: return array.ints_;
    case ValueKind::kDoubleArray: return array.doubles_;
    case ValueKind::kTextArray: return array.texts_;
    default: return nullptr;
  }
}

bool isIntAt(int index, std::span<const ValueType> types) {
  return fits(index, types) && types[static_cast<size_t>(index)].kind_ == ValueKind::kInt;
}

// A copy of items lengthened to count entries of fill.
template <class T>
const T *padded(CallScope &scope, const T *items, int have, int count, T fill) {
  T *copy = scope.allocate<T>(static_cast<size_t>(count));
  std::copy(items, items + have, copy);
  std::fill(copy + have, copy + count, fill);
  return copy;
}

void padToCount(Slot &array, ValueKind kind, int want, CallScope &scope) {
  const void *items = itemsOf(array, kind);
  const int have = scope.lengthOf(items);
  if (items == nullptr || have >= want) return;
  if (kind == ValueKind::kIntArray)
    array.ints_ = padded(scope, array.ints_, have, want, -1);
  else if (kind == ValueKind::kDoubleArray)
    array.doubles_ = padded(scope, array.doubles_, have, want, NoValue);
  else
    array.texts_ = padded<const char *>(scope, array.texts_, have, want, "");
}

void endWithMinusOne(const int *&items, CallScope &scope) {
  const int have = scope.lengthOf(items);
  if (std::find(items, items + have, -1) != items + have) return;
  items = padded(scope, items, have, have + 1, -1);
}

void endWithFullRamp(const int *&items, CallScope &scope) {
  const int pairs = scope.lengthOf(items) / 2;
  if (pairs == 0) {
    items = nullptr;  // no stops at all: the ramp stays transparent
    return;
  }
  // The ramp reads each pair with the one after it, so only a pair after the
  // first can end it: [300, red] alone would be read past.
  for (int j = 1; j < pairs; ++j)
    if (items[2 * j] >= 255) return;
  // The last colour carries on to the end of the ramp.
  int *copy = scope.allocate<int>(2 * static_cast<size_t>(pairs) + 2);
  std::copy(items, items + 2 * pairs, copy);
  copy[2 * pairs] = 255;
  copy[2 * pairs + 1] = items[2 * pairs - 1];
  items = copy;
}

}  // namespace

bool rulesFit(std::span<const ArrayRule> rules, std::span<const ValueType> types) {
  for (const ArrayRule &r : rules) {
    if (!fits(r.array_, types) || !isArray(types[static_cast<size_t>(r.array_)].kind_))
      return false;
    const ValueKind arrayKind = types[static_cast<size_t>(r.array_)].kind_;
    using K = ArrayRule::Kind;
    switch (r.kind_) {
      case K::kLimitCount:
      case K::kLimitCountIfGiven:
      case K::kPadToCount:
        if (!isIntAt(r.count_, types)) return false;
        break;
      case K::kEndWithMinusOne:
      case K::kEndWithFullRamp:
        if (arrayKind != ValueKind::kIntArray) return false;
        break;
      case K::kCoverArea:
        if (!isIntAt(r.count_, types) || !isIntAt(r.height_, types)) return false;
        break;
    }
  }
  return true;
}

bool applyArrayRules(std::span<const ArrayRule> rules, std::span<Slot> args,
                     std::span<const ValueType> types, CallScope &scope, int &badArg) {
  using K = ArrayRule::Kind;
  for (const ArrayRule &r : rules) {
    Slot &array = args[static_cast<size_t>(r.array_)];
    const ValueKind kind = types[static_cast<size_t>(r.array_)].kind_;
    const void *items = itemsOf(array, kind);
    switch (r.kind_) {
      case K::kLimitCountIfGiven:
        if (items == nullptr) break;
        [[fallthrough]];
      case K::kLimitCount: {
        int &count = args[static_cast<size_t>(r.count_)].int_;
        count = std::min(count, scope.lengthOf(items));
        break;
      }
      case K::kPadToCount:
        padToCount(array, kind, args[static_cast<size_t>(r.count_)].int_, scope);
        break;
      case K::kEndWithMinusOne:
        endWithMinusOne(array.ints_, scope);
        break;
      case K::kEndWithFullRamp:
        endWithFullRamp(array.ints_, scope);
        break;
      case K::kCoverArea: {
        const int64_t w = args[static_cast<size_t>(r.count_)].int_;
        const int64_t h = args[static_cast<size_t>(r.height_)].int_;
        if (w >= 1 && h >= 1 && w * h > scope.lengthOf(items)) {
          badArg = r.array_;
          return false;
        }
        break;
      }
    }
  }
  return true;
}

}  // namespace quorvane::script
