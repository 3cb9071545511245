// Running out of memory anywhere while an XY chart with every layer kind is
// built, drawn to PNG and mapped: once through the compiled interface and
// once through runMethod, with the allocator of failing_alloc.h refusing
// allocation N. Nothing here catches, the host's callbacks allocate disarmed,
// and ASan's leak check sees whatever a failure path forgot to free.
#include "failing_alloc.h"

#include <optional>
#include <string>
#include <vector>

#include "quorvane.h"
#include "script/script_host.h"

namespace {

using failalloc::gInjector;
using failalloc::lib;
using failalloc::Attempt;
using failalloc::startRun;
using failalloc::sweep;
using scripthost::Value;
using S = std::string;

// The chart both routes build: 3D stacked bars, a line with symbols and
// labels, an area, an HLOC layer, title, legend, a mark and two zones.
constexpr int kWidth = 240, kHeight = 170;
const std::vector<std::string> kLabels = {"Q1", "Q2", "Q3", "Q4"};
const std::vector<double> kNorth = {3, 5, 2, 4}, kSouth = {2, 1, 3, 2}, kTrend = {6, 7, 9, 8},
                          kArea = {1, 2, 1.5, 2.5}, kHigh = {9, 10, 11, 10},
                          kLow = {5, 6, 7, 6}, kOpen = {6, 7, 8, 9}, kClose = {8, 9, 7, 7};
constexpr const char *kLineLabel = "&value&";
constexpr int kAreaColor = static_cast<int>(0x80A0C0FFu);  // half transparent
constexpr const char *kMapUrl = "x.php", *kMapExtra = "title='{value}'";

Attempt buildCompiled() {
  Attempt run;
  XYChart *c = lib([] { return XYChart::create(kWidth, kHeight, 0xFFFFFF, Transparent); });
  if (c == nullptr) return run;
  run.created = true;
  auto data = [](const std::vector<double> &v) { return v.data(); };
  std::vector<const char *> labels;
  for (const auto &l : kLabels) labels.push_back(l.c_str());
  lib([&] { return c->addTitle("Sales", "arialbd.ttf", 10, 0, Transparent, Transparent); });
  lib([&] { return c->addLegend(30, 16, false, "arial.ttf", 7); });
  lib([&] { return c->setPlotArea(30, 36, 170, 110, 0xF8F8F8, -1, 0, 0xC0C0C0, -1); });
  XAxis *x = lib([&] { return c->xAxis(); });
  YAxis *y = lib([&] { return c->yAxis(); });
  lib([&] { return x->setLabels(4, labels.data()); });
  lib([&] { return y->addMark(8.5, 0xFF0000, "Goal", "arial.ttf", 7); });
  lib([&] { y->addZone(2, 4, 0xE0FFE0); });
  lib([&] { x->addZone(1, 2, 0xF0F0FF); });
  if (BarLayer *bars = lib([&] { return c->addBarLayer2(Layer::Stack, 6); })) {
    lib([&] { return bars->addDataSet(4, data(kNorth), -1, "North"); });
    lib([&] { return bars->addDataSet(4, data(kSouth), -1, "South"); });
  }
  if (LineLayer *line = lib([&] { return c->addLineLayer2(Layer::Overlay, 0); })) {
    if (DataSet *ds = lib([&] { return line->addDataSet(4, data(kTrend), 0x0000C0, "Trend"); }))
      lib([&] { ds->setDataSymbol(CircleSymbol, 7, -1, -1); });
    lib([&] { line->setDataLabelFormat(kLineLabel); });
  }
  lib([&] { return c->addAreaLayer(4, data(kArea), kAreaColor, "Base", 0); });
  lib([&] {
    return c->addHLOCLayer(4, data(kHigh), data(kLow), data(kOpen), data(kClose), 0x404040);
  });
  run.setUp = gInjector.refusals == 0;
  run.add("PNG", lib([&] { return c->makeChart2(BaseChart::PNG); }));
  run.add("map", lib([&] { return c->getHTMLImageMap(kMapUrl, "", kMapExtra); }));
  lib([&] { c->destroy(); });
  return run;
}

// The host's callbacks run disarmed: memory the host allocates is not the
// library's to run out of.
HostAccessor disarmedHost() {
  using failalloc::Disarm;
  HostAccessor a = scripthost::kAccessor;
  a.getStringArray = [](void *v, const char ***out, int *n) {
    const Disarm d;
    return scripthost::getStringArray(v, out, n);
  };
  a.getDoubleArray = [](void *v, const double **out, int *n) {
    const Disarm d;
    return scripthost::getArray<double>(v, out, n);
  };
  a.getIntArray = [](void *v, const int **out, int *n) {
    const Disarm d;
    return scripthost::getArray<int>(v, out, n);
  };
  a.setStringResult = [](const char *s, void *r) {
    const Disarm d;
    return scripthost::setString(s, r);
  };
  a.setMemBlockResult = [](const char *data, int len, void *r) {
    const Disarm d;
    return scripthost::setBytes(data, len, r);
  };
  return a;
}

// A host script that stops at the first failed call, as a binding raising an
// error would, and destroys the chart it made.
class Script {
 public:
  // The call's result text, or "" once a call has failed.
  S operator()(std::vector<Value> argv) {
    if (failed_) return "";
    std::vector<void *> pointers;
    for (Value &v : argv) pointers.push_back(&v);
    scripthost::Result result;
    char message[1024] = "unset";
    const long long refusalsBefore = gInjector.refusals;
    static const HostAccessor host = disarmedHost();
    const int ok = lib([&] {
      return runMethod(&host, static_cast<int>(pointers.size()), pointers.data(), &result,
                       message);
    });
    const bool ranOut = gInjector.refusals != refusalsBefore;
    const S name = std::get<S>(argv[0]);
    // A call that ran out says so, and only such a call fails.
    EXPECT_EQ(ok, ranOut ? 0 : 1) << name << ": " << message;
    if (ok == 0) {
      EXPECT_STREQ(message, "out of memory") << name;
      failed_ = true;
      return "";
    }
    EXPECT_STREQ(message, "") << name;
    return result.text;
  }
  bool failed() const { return failed_; }

 private:
  bool failed_ = false;
};

Attempt buildScripted() {
  Attempt run;
  Script call;
  const S c = call({S("XYChart.create"), kWidth, kHeight, 0xFFFFFF, Transparent});
  if (c.empty()) return run;
  run.created = true;
  call({S("BaseChart.addTitle"), c, S("Sales"), S("arialbd.ttf"), 10.0, 0, Transparent,
        Transparent});
  call({S("BaseChart.addLegend"), c, 30, 16, 0, S("arial.ttf"), 7.0});
  call({S("XYChart.setPlotArea"), c, 30, 36, 170, 110, 0xF8F8F8, -1, 0, 0xC0C0C0, -1});
  const S x = call({S("XYChart.xAxis"), c});
  const S y = call({S("XYChart.yAxis"), c});
  call({S("XAxis.setLabels"), x, 4, kLabels});
  call({S("BaseAxis.addMark"), y, 8.5, 0xFF0000, S("Goal"), S("arial.ttf"), 7.0});
  call({S("BaseAxis.addZone"), y, 2.0, 4.0, 0xE0FFE0});
  call({S("BaseAxis.addZone"), x, 1.0, 2.0, 0xF0F0FF});
  const S bars = call({S("XYChart.addBarLayer2"), c, int{Layer::Stack}, 6});
  call({S("Layer.addDataSet"), bars, 4, kNorth, -1, S("North")});
  call({S("Layer.addDataSet"), bars, 4, kSouth, -1, S("South")});
  const S line = call({S("XYChart.addLineLayer2"), c, int{Layer::Overlay}, 0});
  const S ds = call({S("Layer.addDataSet"), line, 4, kTrend, 0x0000C0, S("Trend")});
  call({S("DataSet.setDataSymbol"), ds, int{CircleSymbol}, 7, -1, -1});
  call({S("Layer.setDataLabelFormat"), line, S(kLineLabel)});
  call({S("XYChart.addAreaLayer"), c, 4, kArea, kAreaColor, S("Base"), 0});
  call({S("XYChart.addHLOCLayer"), c, 4, kHigh, kLow, kOpen, kClose, 0x404040});
  run.setUp = !call.failed();
  const S png = call({S("BaseChart.makeChart2"), c, int{BaseChart::PNG}});
  run.outputs.emplace_back("PNG", png.empty() ? std::optional<S>() : png);
  const S map = call({S("BaseChart.getHTMLImageMap"), c, S(kMapUrl), S(""), S(kMapExtra)});
  run.add("map", call.failed() ? nullptr : map.c_str());
  // The host destroys what it made whatever happened before.
  Script cleanup;
  cleanup({S("BaseChart.destroy"), c});
  return run;
}

TEST(FailingAllocation, AnXyChartFailsCleanlyWhereverMemoryRunsOut) {
  const Attempt reference = sweep(buildCompiled, "XY chart");
  EXPECT_NE(reference.outputs[1].second.value_or("").find("title='9'"), std::string::npos);
}

TEST(FailingAllocation, AnXyChartThroughRunMethodReportsRunningOut) {
  sweep(buildScripted, "XY chart through runMethod");
  // Both routes draw the same chart and map.
  startRun(-1, true);
  EXPECT_TRUE(buildScripted().outputs == buildCompiled().outputs);
}

}  // namespace
