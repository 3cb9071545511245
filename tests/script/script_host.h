// A small scripting host for the tests: tagged values read through a C-style
// accessor table, a result holder, counters of every release the library
// asks for, a hook run before each value is read (a host whose conversions
// have side effects), and a call helper that returns the result and the message.
#pragma once

#include <cstring>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "quorvane.h"

namespace scripthost {

struct NotAString {  // a value the host cannot present as anything
  bool operator==(const NotAString &) const = default;
};
using Value = std::variant<int, double, std::string, std::vector<int>, std::vector<double>,
                           std::vector<std::string>, NotAString>;

struct Counters {
  int stringsFreed = 0, stringArraysFreed = 0, doubleArraysFreed = 0, intArraysFreed = 0;
  int boolReads = 0;
};
inline Counters counters;

struct Result {
  enum class Kind { kNone, kInt, kDouble, kString, kBytes } kind = Kind::kNone;
  int i = 0;
  double d = 0;
  std::string text;
  bool refuse = false;  // makes every set operation fail
};

// Runs before every read of a value, with the value about to be read; a test
// sets it and clears it again.
inline std::function<void(const Value &)> beforeRead;

inline const Value &at(void *v) {
  const Value &value = *static_cast<const Value *>(v);
  if (beforeRead) beforeRead(value);
  return value;
}

inline int getDouble(void *v, double *out) {
  const Value &value = at(v);
  if (auto p = std::get_if<double>(&value)) return *out = *p, 1;
  if (auto p = std::get_if<int>(&value)) return *out = *p, 1;
  return 0;
}
inline int getInt(void *v, int *out) {
  if (auto p = std::get_if<int>(&at(v))) return *out = *p, 1;
  return 0;
}
inline int getBool(void *v, int *out) {
  ++counters.boolReads;
  return getInt(v, out);
}
inline int getString(void *v, const char **out) {
  auto p = std::get_if<std::string>(&at(v));
  if (p == nullptr) return 0;
  *out = strdup(p->c_str());
  return 1;
}
inline void freeString(const char *s) {
  ++counters.stringsFreed;
  free(const_cast<char *>(s));
}
template <class T>
int getArray(void *v, const T **out, int *count) {
  auto p = std::get_if<std::vector<T>>(&at(v));
  if (p == nullptr) return 0;
  *count = static_cast<int>(p->size());
  *out = p->empty() ? nullptr : new T[p->size()];
  if (!p->empty()) std::copy(p->begin(), p->end(), const_cast<T *>(*out));
  return 1;
}
inline int getStringArray(void *v, const char ***out, int *count) {
  auto p = std::get_if<std::vector<std::string>>(&at(v));
  if (p == nullptr) return 0;
  *count = static_cast<int>(p->size());
  // An empty array is never released, so it must not be allocated.
  *out = p->empty() ? nullptr : new const char *[p->size()];
  for (size_t i = 0; i < p->size(); ++i) (*out)[i] = (*p)[i].c_str();
  return 1;
}
inline void freeStringArray(const char **a) { ++counters.stringArraysFreed, delete[] a; }
inline void freeDoubleArray(const double *a) { ++counters.doubleArraysFreed, delete[] a; }
inline void freeIntArray(const int *a) { ++counters.intArraysFreed, delete[] a; }
inline Result &res(void *r) { return *static_cast<Result *>(r); }
inline int setDouble(double v, void *r) {
  return res(r).refuse ? 0 : (res(r).kind = Result::Kind::kDouble, res(r).d = v, 1);
}
inline int setInt(int v, void *r) {
  return res(r).refuse ? 0 : (res(r).kind = Result::Kind::kInt, res(r).i = v, 1);
}
inline void reserved() {}
inline int setString(const char *s, void *r) {
  if (res(r).refuse) return 0;
  res(r).kind = Result::Kind::kString;
  res(r).text = s != nullptr ? s : "<null>";
  return 1;
}
inline int setBytes(const char *data, int len, void *r) {
  if (res(r).refuse) return 0;
  res(r).kind = Result::Kind::kBytes;
  res(r).text.assign(data, static_cast<size_t>(len));
  return 1;
}

inline const HostAccessor kAccessor = {getDouble,       getInt,         getBool,
                                       getString,       freeString,     getStringArray,
                                       freeStringArray, getArray<double>, freeDoubleArray,
                                       getArray<int>,   freeIntArray,   setDouble,
                                       setInt,          reserved,       setString,
                                       setBytes};

// Runs argv through runMethod; message receives the error buffer.
inline int run(std::vector<Value> argv, Result &result, std::string &message) {
  std::vector<void *> pointers;
  for (Value &v : argv) pointers.push_back(&v);
  char buffer[1024];
  std::memset(buffer, 'x', sizeof buffer);
  const int ok = runMethod(&kAccessor, static_cast<int>(pointers.size()), pointers.data(),
                           &result, buffer);
  message = buffer;
  return ok;
}

// The result of a call that must succeed, or the message of one that failed.
struct Outcome {
  bool ok;
  Result result;
  std::string message;
};
inline Outcome call(std::vector<Value> argv, bool refuse = false) {
  Outcome o{false, {}, {}};
  o.result.refuse = refuse;
  o.ok = run(std::move(argv), o.result, o.message) == 1;
  return o;
}

}  // namespace scripthost
