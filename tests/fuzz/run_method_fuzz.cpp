// Fuzzes the scripting door. The input is read as a little script of up to
// kMaxCalls runMethod calls: registered names, names that fall back through
// the hierarchy, and made-up ones; argument counts around the expected one;
// values a tiny host can present as any type (or refuse), holding numbers,
// texts, arrays and handles to objects made earlier, destroyed since (their
// addresses often taken again by new objects), relabelled under another
// class, or forged with a generation that some object has or had, or with a
// malformed one. A few values destroy an object through a nested call when
// the library reads them, as a host whose conversions call back in may.
// Every object made is destroyed at the end of the input, so a leak shows.
//
// The script keeps no ownership rules: it destroys any object it holds a
// handle to (a chart's own area, an area its texts or a chart's symbols
// still use), once or more, and lends any handle to addDrawObj, as a symbol
// image or as a merge source. It only keeps images small and writes only
// to /dev/null.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "quorvane.h"
#include "script/registry.h"

namespace {

constexpr int kMaxCalls = 48;
constexpr size_t kMaxArray = 24;
constexpr int kMaxImageSide = 160;
constexpr std::string_view kHandlePrefix = "$$pointer$$";

void check(bool ok) {
  if (!ok) std::abort();
}

// Reads the input front to back; past its end every read gives 0.
class Reader {
 public:
  Reader(const uint8_t *data, size_t size) : data_(data), size_(size) {}
  bool done() const { return pos_ >= size_; }
  uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint32_t u32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | byte();
    return v;
  }
  size_t pick(size_t n) { return n == 0 ? 0 : byte() % n; }
  std::string text(size_t maxLength) {
    const size_t n = std::min<size_t>(byte() % (maxLength + 1), size_ - std::min(pos_, size_));
    std::string s(reinterpret_cast<const char *>(data_ + pos_), n);
    pos_ += n;
    // A text may be used as a file name: no path leaves the scratch folder,
    // and no NUL cuts it short unseen.
    if (s.find('/') != std::string::npos) s = "/dev/null";
    std::replace(s.begin(), s.end(), '\0', ' ');
    return s;
  }

 private:
  const uint8_t *data_;
  size_t size_;
  size_t pos_ = 0;
};

// One host value. Each get succeeds only when its kind's bit is set.
struct Value {
  enum Kind : unsigned {
    kInt = 1, kDouble = 2, kBool = 4, kString = 8, kInts = 16, kDoubles = 32, kStrings = 64
  };
  unsigned kinds = 0;
  int i = 0;
  double d = 0;
  std::string s;
  std::vector<int> ints;
  std::vector<double> doubles;
  std::vector<std::string> strings;
  int destroys = -1;  // the script's object destroyed when this is first read
};

// Destroys the script's object at an index; set while a script runs.
void (*destroyOnRead)(int index) = nullptr;

const Value &at(void *v) {
  Value &value = *static_cast<Value *>(v);
  if (value.destroys >= 0 && destroyOnRead != nullptr) {
    const int index = value.destroys;
    value.destroys = -1;
    destroyOnRead(index);
  }
  return value;
}

int getDouble(void *v, double *out) {
  return (at(v).kinds & Value::kDouble) ? (*out = at(v).d, 1) : 0;
}
int getInt(void *v, int *out) { return (at(v).kinds & Value::kInt) ? (*out = at(v).i, 1) : 0; }
int getBool(void *v, int *out) { return (at(v).kinds & Value::kBool) ? (*out = at(v).i, 1) : 0; }
int getString(void *v, const char **out) {
  if (!(at(v).kinds & Value::kString)) return 0;
  *out = strdup(at(v).s.c_str());
  return 1;
}
void freeString(const char *s) { std::free(const_cast<char *>(s)); }
template <class T>
int getArray(const std::vector<T> &items, const T **out, int *count) {
  *count = static_cast<int>(items.size());
  *out = items.empty() ? nullptr : new T[items.size()];
  if (!items.empty()) std::copy(items.begin(), items.end(), const_cast<T *>(*out));
  return 1;
}
int getIntArray(void *v, const int **out, int *count) {
  return (at(v).kinds & Value::kInts) ? getArray(at(v).ints, out, count) : 0;
}
int getDoubleArray(void *v, const double **out, int *count) {
  return (at(v).kinds & Value::kDoubles) ? getArray(at(v).doubles, out, count) : 0;
}
int getStringArray(void *v, const char ***out, int *count) {
  if (!(at(v).kinds & Value::kStrings)) return 0;
  const auto &strings = at(v).strings;
  *count = static_cast<int>(strings.size());
  // An empty array is never released, so it must not be allocated.
  *out = strings.empty() ? nullptr : new const char *[strings.size()];
  for (size_t i = 0; i < strings.size(); ++i) (*out)[i] = strings[i].c_str();
  return 1;
}
void freeIntArray(const int *a) { delete[] a; }
void freeDoubleArray(const double *a) { delete[] a; }
void freeStringArray(const char **a) { delete[] a; }
int setDouble(double, void *) { return 1; }
int setInt(int, void *) { return 1; }
void reserved() {}
int setString(const char *s, void *result) {
  static_cast<std::string *>(result)->assign(s != nullptr ? s : "");
  return 1;
}
int setBytes(const char *, int len, void *) { return len >= 0 ? 1 : 0; }

const HostAccessor kAccessor = {getDouble,      getInt,          getBool,     getString,
                                freeString,     getStringArray,  freeStringArray,
                                getDoubleArray, freeDoubleArray, getIntArray, freeIntArray,
                                setDouble,      setInt,          reserved,    setString,
                                setBytes};

// What a name resolves to, as far as the script's rules are concerned.
struct Door {
  const quorvane::script::Registry &registry = quorvane::script::registry();
  std::vector<std::string_view> names = registry.names();
  const quorvane::script::Invoker *destroyArea = registry.find("DrawArea.destroy");
  const quorvane::script::Invoker *destroyChart = registry.find("BaseChart.destroy");
  const quorvane::script::Invoker *destroyText = registry.find("TTFText.destroy");
  const quorvane::script::Invoker *addDrawObj = registry.find("BaseChart.addDrawObj");
  const quorvane::script::Invoker *lendSymbol = registry.find("DataSet.setDataSymbol3");
  // Methods whose double arguments may be font sizes: a text of thousands of
  // points takes seconds to lay out, too slow for a fuzz run.
  std::vector<const quorvane::script::Invoker *> creators, sizers, writers, texters;

  Door() {
    for (const char *n : {"DrawArea.create", "XYChart.create", "PieChart.create",
                          "DrawArea.text3", "DrawArea.text4"})
      creators.push_back(registry.find(n));
    for (const char *n : {"DrawArea.setSize", "XYChart.create", "PieChart.create",
                          "BaseChart.setSize"})
      sizers.push_back(registry.find(n));
    for (const char *n : {"DrawArea.out", "DrawArea.outGIF", "DrawArea.outPNG", "DrawArea.outJPG",
                          "DrawArea.outWMP", "BaseChart.makeChart"})
      writers.push_back(registry.find(n));
    for (const std::string_view n : names) {
      std::string lower(n);
      for (char &c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      for (const char *word : {"text", "title", "label", "legend", "mark", "font"})
        if (lower.find(word) != std::string::npos) {
          texters.push_back(registry.find(n));
          break;
        }
    }
  }
  static bool in(const std::vector<const quorvane::script::Invoker *> &set,
                 const quorvane::script::Invoker *invoker) {
    return std::find(set.begin(), set.end(), invoker) != set.end();
  }
};

const Door &door() {
  static const Door d;
  return d;
}

// An object the script was handed. Objects it created (owned) are destroyed
// at the end unless known to be gone; the others belong to a chart.
struct Object {
  std::string handle;
  bool owned = false;
  bool alive = true;
  bool isText() const { return handle.find("class TTFText *@") != std::string::npos; }
  bool isArea() const { return handle.find("class DrawArea *@") != std::string::npos; }
};

class Script {
 public:
  explicit Script(Reader &in) : in_(in) {
    current_ = this;
    destroyOnRead = [](int index) { current_->destroy(static_cast<size_t>(index)); };
  }
  ~Script() {
    destroyOnRead = nullptr;
    // Texts, charts, then areas, though any order is sound. A handle thought
    // alive may be stale (its object went through a forged or relabelled
    // handle), so its destroy may be refused.
    for (int pass = 0; pass < 3; ++pass)
      for (size_t i = 0; i < objects_.size(); ++i) {
        Object &o = objects_[i];
        if (!o.owned || !o.alive) continue;
        const bool now = pass == 0 ? o.isText() : pass == 1 ? !o.isText() && !o.isArea()
                                                            : o.isArea();
        if (now) destroy(i);
      }
  }

  void step() {
    const std::string name = pickName();
    const quorvane::script::Invoker *invoker = door().registry.resolve(name);
    const int expected = invoker != nullptr ? invoker->arity() + (invoker->isClassMethod() ? 1 : 0)
                                            : static_cast<int>(in_.pick(4));
    // Mostly the expected count, sometimes one off either way.
    const uint8_t c = in_.byte();
    const int count = std::max(0, expected + (c < 224 ? 0 : c < 240 ? -1 : 1));

    std::vector<Value> args(static_cast<size_t>(count));
    int objectIndex = -1;
    for (int a = 0; a < count; ++a) {
      const bool isObject = invoker != nullptr && invoker->isClassMethod() && a == 0;
      args[static_cast<size_t>(a)] = isObject ? objectValue(objectIndex) : argumentValue(invoker);
    }
    // Mostly an area as a symbol image (one of the script's, a chart's own,
    // or one destroyed since), and any object as a drawable: the script
    // reaches a drawable as a DrawObj only under that class's name.
    if (invoker == door().lendSymbol && count >= 2 && in_.byte() < 192)
      args[1].s = areaHandle();
    if (invoker == door().addDrawObj && count >= 2 && !objects_.empty() && in_.byte() < 192) {
      const std::string &h = objects_[in_.pick(objects_.size())].handle;
      args[1].s = std::string(kHandlePrefix) + "class DrawObj *" + h.substr(h.find('@'));
    }
    const bool destroysObject = invoker == door().destroyArea ||
                                invoker == door().destroyChart || invoker == door().destroyText;

    std::string result;
    const bool ok = call(name, args, result);
    if (!ok) return;
    // Only the clean-up reads alive; an object that ignores a destroy (a
    // chart's own area) is its chart's to release anyway.
    if (destroysObject && objectIndex >= 0) objects_[static_cast<size_t>(objectIndex)].alive = false;
    // At most one object per call, so the list stays short.
    if (result.starts_with(kHandlePrefix) && !result.ends_with("@0:0"))
      objects_.push_back(Object{result, Door::in(door().creators, invoker)});
  }

 private:
  bool call(const std::string &name, std::vector<Value> &args, std::string &result) {
    Value nameValue;
    nameValue.kinds = Value::kString;
    nameValue.s = name;
    std::vector<void *> argv{&nameValue};
    for (Value &v : args) argv.push_back(&v);
    char message[1024];
    std::memset(message, 'x', sizeof message);
    const int ok = runMethod(&kAccessor, static_cast<int>(argv.size()), argv.data(), &result,
                             message);
    const size_t length = strnlen(message, sizeof message);
    check(length < sizeof message);
    check(ok == 1 ? length == 0 : (ok == 0 && length > 0));
    return ok == 1;
  }

  void destroy(size_t index) {
    Object &o = objects_[index];
    std::vector<Value> args(1);
    args[0].kinds = Value::kString;
    args[0].s = o.handle;
    std::string result;
    const char *name = o.isText() ? "TTFText.destroy" : o.isArea() ? "DrawArea.destroy"
                                                                   : "BaseChart.destroy";
    call(name, args, result);
    o.alive = false;
  }

  std::string pickName() {
    const auto &names = door().names;
    const uint8_t how = in_.byte();
    if (how < 200) return std::string(names[in_.pick(names.size())]);
    if (how < 240) {
      // Another class with a registered method's name: the fallback search.
      static constexpr const char *kClasses[] = {
          "DrawArea", "TTFText", "BaseChart", "XYChart", "PieChart", "Box",     "TextBox",
          "LegendBox", "Mark",   "Line",      "BaseAxis", "XAxis",   "YAxis",   "Layer",
          "BarLayer", "LineLayer", "AreaLayer", "HLOCLayer", "DataSet", "PlotArea", "Sector"};
      const std::string_view method = names[in_.pick(names.size())];
      const size_t dot = method.find('.');
      return std::string(kClasses[in_.pick(std::size(kClasses))]) +
             std::string(dot == std::string_view::npos ? "." : method.substr(dot));
    }
    return in_.text(24);
  }

  // The handle of an area the script was handed, alive or not; else a forged one.
  std::string areaHandle() {
    std::vector<size_t> areas;
    for (size_t i = 0; i < objects_.size(); ++i)
      if (objects_[i].isArea()) areas.push_back(i);
    return areas.empty() ? forged() : objects_[areas[in_.pick(areas.size())]].handle;
  }

  Value objectValue(int &index) {
    Value v;
    v.kinds = in_.byte() < 8 ? 0u : unsigned{Value::kString};
    v.s = anyHandle(index);
    return v;
  }

  // Any handle: held, destroyed since, relabelled or forged.
  std::string anyHandle(int &index) {
    index = -1;
    const uint8_t how = in_.byte();
    if (objects_.empty() || how < 24) return forged();
    const size_t i = in_.pick(objects_.size());
    const std::string &h = objects_[i].handle;
    if (how < 48) return relabelled(h);
    index = static_cast<int>(i);
    return h;
  }

  std::string relabelled(const std::string &handle) {
    static constexpr const char *kTypes[] = {
        "class DrawArea *", "class DrawArea const *", "class TTFText *", "class BaseChart *",
        "class XYChart *",  "class PieChart *",       "class DrawObj *", "class Box *",
        "class TextBox *",  "class LegendBox *",      "class Mark *",    "class BaseAxis *",
        "class XAxis *",    "class YAxis *",          "class Layer *",   "class BarLayer *",
        "class DataSet *",  "class PlotArea *",       "class Sector *",  "class Line *"};
    return std::string(kHandlePrefix) + kTypes[in_.pick(std::size(kTypes))] +
           handle.substr(handle.find('@'));
  }

  // A handle to an address where nothing was ever made, or one from the
  // input, where the fuzzer's comparison tracing can lead it to a live object
  // (a chart's own area or legend text, say); or text that is no handle. Its
  // generation is mostly one the script holds, so an address found reaches
  // that object under another class; else the next one, none, or one
  // written with a leading zero: it comes from the script's objects, not
  // from the input.
  std::string forged() {
    static const char kNothing[64] = {};
    static constexpr const char *kTypes[] = {"class XYChart *", "class DrawArea *",
                                             "class TTFText *", "class DrawObj *"};
    const uint8_t how = in_.byte();
    if (how % 7 == 0) return in_.text(32);
    const uintptr_t address = how < 64    ? reinterpret_cast<uintptr_t>(kNothing + how % 64)
                              : how < 128 ? uintptr_t{in_.u32()}
                                          : (uintptr_t{in_.u32()} << 32) | in_.u32();
    const unsigned spelling = (how >> 2) & 7u;
    uint64_t generation = 1;
    if (!objects_.empty()) {
      const size_t back = std::min<size_t>(spelling & 3u, objects_.size() - 1);
      const std::string &h = objects_[objects_.size() - 1 - back].handle;
      generation = std::strtoull(h.c_str() + h.rfind(':') + 1, nullptr, 16);
    }
    char suffix[24] = "";
    if (spelling < 6)
      std::snprintf(suffix, sizeof suffix, ":%llx",
                    static_cast<unsigned long long>(generation + (spelling == 5 ? 1 : 0)));
    else if (spelling == 7)
      std::snprintf(suffix, sizeof suffix, ":0%llx", static_cast<unsigned long long>(generation));
    char text[128];
    std::snprintf(text, sizeof text, "$$pointer$$%s@%llx%s", kTypes[how & 3],
                  static_cast<unsigned long long>(address), suffix);
    return text;
  }

  int number(bool small) {
    const uint8_t how = in_.byte();
    if (small) return static_cast<int>(how % (kMaxImageSide + 9)) - 8;
    if (how < 160) return static_cast<int>(in_.byte()) - 32;
    if (how < 200) return static_cast<int>(in_.u32() & 0x7FF) - 256;
    static constexpr uint32_t kEdges[] = {0x80000000u, 0x7FFFFFFFu, 0xFFFFFFFFu, 0,
                                          0xFF000000u, 0x80000001u, 0xFFFFFFu, 0x40000000u};
    if (how < 240) return static_cast<int>(kEdges[in_.pick(std::size(kEdges))]);
    return static_cast<int>(in_.u32());
  }

  double real(bool isFontSize) {
    const uint8_t how = in_.byte();
    // Moderate values stand for font sizes as well, so most stay small: a
    // text of thousands of points takes seconds to render.
    if (how < 200) return (static_cast<int>(in_.byte()) - 64) / 4.0;
    constexpr double kInf = std::numeric_limits<double>::infinity();
    static constexpr double kEdges[] = {1.7e308, -1.7e308, 1e-300, 0.0,  -0.0,
                                        NoValue, 1e9,      0.5,    360.0, -720.0,
                                        kInf,    -kInf,    std::numeric_limits<double>::quiet_NaN()};
    const double edge = kEdges[in_.pick(std::size(kEdges))];
    return isFontSize && std::fabs(edge) > 1000 ? 72.0 : edge;
  }

  Value argumentValue(const quorvane::script::Invoker *invoker) {
    Value v;
    const uint8_t kinds = in_.byte();
    v.kinds = kinds < 16 ? kinds : 0x7Fu;  // mostly a value that is everything at once
    // Rarely, reading the value destroys the newest or the oldest object.
    if ((kinds == 16 || kinds == 17) && !objects_.empty())
      v.destroys = kinds == 16 ? static_cast<int>(objects_.size()) - 1 : 0;
    const bool small = Door::in(door().sizers, invoker);
    v.i = number(small);
    v.d = small ? v.i : real(Door::in(door().texters, invoker));
    int index = -1;
    const uint8_t how = in_.byte();
    if (Door::in(door().writers, invoker)) v.s = "/dev/null";
    else v.s = how < 96 ? anyHandle(index) : in_.text(40);
    const size_t n = in_.pick(kMaxArray + 1);
    for (size_t k = 0; k < n; ++k) {
      v.ints.push_back(number(false));
      v.doubles.push_back(real(false));
      if (k < 6) v.strings.push_back(in_.text(8));
    }
    return v;
  }

  Reader &in_;
  std::vector<Object> objects_;
  static inline Script *current_ = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  Reader in(data, size);
  Script script(in);
  for (int i = 0; i < kMaxCalls && !in.done(); ++i) script.step();
  return 0;
}
