// runMethod dispatch against a floor measured in the same run:
//   RunMethodPixel: "DrawArea.pixel" with three int arguments through a
//   minimal C-style host (tagged values read through the accessor table),
//   against the same call made directly through the published interface.
// The per-call time in nanoseconds is in the table; the ratio follows it.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "floor_ratio_reporter.h"
#include "quorvane.h"

namespace {

// A host value: an int or a text, as a scripting language would hold it.
struct Value {
  bool isText;
  int number;
  const char *text;
};

const Value &at(void *v) { return *static_cast<const Value *>(v); }
int getInt(void *v, int *out) {
  if (at(v).isText) return 0;
  *out = at(v).number;
  return 1;
}
int getDouble(void *v, double *out) {
  int i = 0;
  if (!getInt(v, &i)) return 0;
  *out = i;
  return 1;
}
int getString(void *v, const char **out) {
  if (!at(v).isText) return 0;
  *out = at(v).text;  // the host keeps its texts alive; nothing to free
  return 1;
}
void freeString(const char *) {}
int noStringArray(void *, const char ***, int *) { return 0; }
void freeStringArray(const char **) {}
int noDoubleArray(void *, const double **, int *) { return 0; }
void freeDoubleArray(const double *) {}
int noIntArray(void *, const int **, int *) { return 0; }
void freeIntArray(const int *) {}
int setDouble(double, void *) { return 1; }
int setInt(int, void *) { return 1; }
void reserved() {}
int setString(const char *s, void *result) {
  *static_cast<std::string *>(result) = s != nullptr ? s : "";
  return 1;
}
int setBytes(const char *, int, void *) { return 1; }

const HostAccessor kHost = {getDouble,  getInt,          getInt,        getString,
                            freeString, noStringArray,   freeStringArray, noDoubleArray,
                            freeDoubleArray, noIntArray, freeIntArray,  setDouble,
                            setInt,     reserved,        setString,     setBytes};

void directPixel(benchmark::State &state) {
  DrawArea *area = DrawArea::create();
  area->setSize(64, 64, 0xFFFFFF);
  int i = 0;
  for (auto _ : state) area->pixel(i & 63, (i >> 6) & 63, 0x3366CC), ++i;
  area->destroy();
}

void runMethodPixel(benchmark::State &state) {
  char error[1024];
  std::string handle;
  Value create{true, 0, "DrawArea.create"};
  void *createArgs[] = {&create};
  if (!runMethod(&kHost, 1, createArgs, &handle, error)) {
    state.SkipWithError(error);
    return;
  }
  Value name{true, 0, "DrawArea.pixel"}, object{true, 0, handle.c_str()};
  Value x{false, 0, nullptr}, y{false, 0, nullptr}, color{false, 0x3366CC, nullptr};
  void *args[] = {&name, &object, &x, &y, &color};
  Value size{true, 0, "DrawArea.setSize"}, w{false, 64, nullptr}, h{false, 64, nullptr};
  void *sizeArgs[] = {&size, &object, &w, &h, &color};
  runMethod(&kHost, 5, sizeArgs, nullptr, error);
  int i = 0;
  for (auto _ : state) {
    x.number = i & 63;
    y.number = (i >> 6) & 63;
    benchmark::DoNotOptimize(runMethod(&kHost, 5, args, nullptr, error));
    ++i;
  }
  Value destroy{true, 0, "DrawArea.destroy"};
  void *destroyArgs[] = {&destroy, &object};
  runMethod(&kHost, 2, destroyArgs, nullptr, error);
}

}  // namespace

int main(int argc, char **argv) {
  benchmark::RegisterBenchmark("Floor/RunMethodPixel", directPixel);
  benchmark::RegisterBenchmark("RunMethodPixel", runMethodPixel);
  return runWithFloorRatios(argc, argv);
}
