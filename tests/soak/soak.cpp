// Soak run: renders many charts one after another (XY charts of every layer
// kind and pies through the compiled interface, a third of them smooth and a
// third finely smooth, then XY charts and pies through runMethod) and samples resident memory from /proc/self/statm. Each
// phase fails when memory at its end exceeds memory at the end of its first
// tenth by more than a bound: whatever a chart leaks piles up over thousands.
//   quorvane_soak [--charts=N] [--scripted=N] [--max-growth-mb=M] [--no-memory-check]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "quorvane.h"
#include "script/script_host.h"

namespace {

using scripthost::Value;
using S = std::string;

long residentBytes() {
  long pages = 0, resident = 0;
  if (std::FILE *f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * sysconf(_SC_PAGESIZE);
}

// Data that changes from chart to chart, so that sizes of labels, maps and
// encoded images vary as a server's would.
std::vector<double> series(int chart, int salt, int count) {
  std::vector<double> v;
  for (int i = 0; i < count; ++i) v.push_back(1 + (chart * 7 + salt * 13 + i * 5) % 23);
  return v;
}

bool renderXy(int chart) {
  XYChart *c = XYChart::create(320, 220, 0xFFFFFF, Transparent);
  if (c == nullptr) return false;
  c->setAntiAlias(chart % 3);  // aliased, smooth and finely smooth in turn
  const int n = 4 + chart % 5;
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) names.push_back("P" + std::to_string(chart % 100 + i));
  std::vector<const char *> labels;
  for (const auto &s : names) labels.push_back(s.c_str());
  const auto a = series(chart, 1, n), b = series(chart, 2, n), d = series(chart, 3, n);
  std::vector<double> high, low;
  for (double v : a) high.push_back(v + 4), low.push_back(v);
  c->addTitle(("Chart " + std::to_string(chart)).c_str(), "arialbd.ttf", 10, 0, Transparent,
              Transparent);
  c->addLegend(40, 18, false, "arial.ttf", 7);
  c->setPlotArea(40, 40, 250, 150, 0xF8F8F8, -1, 0, 0xC0C0C0, -1);
  c->xAxis()->setLabels(n, labels.data());
  c->yAxis()->addMark(10, 0xFF0000, "Goal", "arial.ttf", 7);
  c->yAxis()->addZone(2, 5, 0xE0FFE0);
  switch (chart % 4) {
    case 0: {
      BarLayer *bars = c->addBarLayer2(Layer::Stack, chart % 8);
      bars->addDataSet(n, a.data(), -1, "North");
      bars->addDataSet(n, b.data(), -1, "South");
      bars->setAggregateLabelFormat("{value}");
      break;
    }
    case 1: {
      LineLayer *line = c->addLineLayer(n, a.data(), 0x0000C0, "Trend", 0);
      DataSet *ds = line->addDataSet(n, b.data(), -1, "Other");
      ds->setDataSymbol(static_cast<SymbolType>(1 + chart % 9), 7, -1, -1);
      line->setDataLabelFormat("&value&");
      break;
    }
    case 2:
      c->addAreaLayer(n, a.data(), static_cast<int>(0x80A0C0FFu), "Base", 0);
      c->addLineLayer(n, d.data(), -1, "Line", 0);
      break;
    default:
      c->addHLOCLayer(n, high.data(), low.data(), a.data(), b.data(), 0x404040);
      c->addBarLayer(n, d.data(), -1, "Volume", 0);
      break;
  }
  const MemBlock image = c->makeChart2(chart % 3 == 0 ? BaseChart::GIF : BaseChart::PNG);
  const char *map = c->getHTMLImageMap("detail", "", "title='{value}'");
  const char *keys = c->getLegend()->getHTMLImageMap("key", "", "");
  const bool ok = image.len > 0 && map != nullptr && keys != nullptr;
  c->destroy();
  return ok;
}

bool renderPie(int chart) {
  PieChart *c = PieChart::create(300, 220, 0xFFFFFF, Transparent);
  if (c == nullptr) return false;
  c->setAntiAlias(chart % 3);
  const int n = 3 + chart % 5;
  const auto values = series(chart, 4, n);
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) names.push_back("Region " + std::to_string(chart % 50 + i));
  std::vector<const char *> labels;
  for (const auto &s : names) labels.push_back(s.c_str());
  c->addTitle("Regions", "arialbd.ttf", 10, 0, Transparent, Transparent);
  c->addLegend(5, 25, true, "arial.ttf", 7);
  c->setPieSize(170, 120, 70);
  if (chart % 2 == 0) c->set3D(-1, -1, false);
  c->setData(n, values.data(), labels.data());
  if (Sector *s = c->sector(chart % n)) s->setExplode(-1);
  const MemBlock image = c->makeChart2(chart % 3 == 0 ? BaseChart::JPG : BaseChart::PNG);
  const char *map = c->getHTMLImageMap("detail", "", "title='{label}'");
  const bool ok = image.len > 0 && map != nullptr;
  c->destroy();
  return ok;
}

// A chart through runMethod; false at the first failed call.
bool renderScripted(int chart) {
  bool ok = true;
  auto call = [&](std::vector<Value> argv) {
    if (!ok) return S();
    const auto o = scripthost::call(std::move(argv));
    ok = o.ok;
    return o.result.text;
  };
  const int n = 4 + chart % 4;
  const auto a = series(chart, 5, n), b = series(chart, 6, n);
  std::vector<std::string> labels;
  for (int i = 0; i < n; ++i) labels.push_back("L" + std::to_string(i));
  const bool pie = chart % 2 == 1;
  const S c = call({S(pie ? "PieChart.create" : "XYChart.create"), 300, 200, 0xFFFFFF,
                    Transparent});
  if (!ok) return false;
  call({S("BaseChart.addTitle"), c, S("Scripted"), S("arialbd.ttf"), 10.0, 0, Transparent,
        Transparent});
  call({S("BaseChart.addLegend"), c, 40, 18, 0, S("arial.ttf"), 7.0});
  if (pie) {
    call({S("PieChart.setPieSize"), c, 150, 110, 60});
    call({S("PieChart.setData"), c, n, a, labels});
  } else {
    call({S("XYChart.setPlotArea"), c, 40, 40, 230, 130, 0xF8F8F8, -1, 0, 0xC0C0C0, -1});
    call({S("XAxis.setLabels"), call({S("XYChart.xAxis"), c}), n, labels});
    const S bars = call({S("XYChart.addBarLayer2"), c, int{Layer::Side}, 4});
    call({S("Layer.addDataSet"), bars, n, a, -1, S("A")});
    call({S("Layer.addDataSet"), bars, n, b, -1, S("B")});
    call({S("XYChart.addLineLayer"), c, n, b, 0x0000C0, S("Line"), 0});
  }
  const S image = call({S("BaseChart.makeChart2"), c, int{BaseChart::PNG}});
  const S map = call({S("BaseChart.getHTMLImageMap"), c, S("detail"), S(""), S("")});
  const bool rendered = ok && !image.empty() && !map.empty();
  ok = true;
  call({S("BaseChart.destroy"), c});
  return rendered && ok;
}

struct Options {
  int charts = 10000, scripted = 2000;
  double maxGrowthMb = 4;
  bool checkMemory = true;
};

// Runs count renders, sampling resident memory every count / 100; false when
// a render fails or memory grew past the bound after the first tenth.
bool phase(const char *name, int count, const Options &options,
           const std::function<bool(int)> &render) {
  const auto start = std::chrono::steady_clock::now();
  const long before = residentBytes();
  const int every = std::max(1, count / 100);
  long atTenth = before, peak = before;
  int failed = 0;
  for (int i = 0; i < count; ++i) {
    if (!render(i)) ++failed;
    if ((i + 1) % every == 0 || i + 1 == count) {
      const long now = residentBytes();
      peak = std::max(peak, now);
      if (i + 1 <= count / 10) atTenth = now;
    }
  }
  const long after = residentBytes();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double mb = 1024.0 * 1024.0, growth = (after - atTenth) / mb;
  char bound[32] = "not checked";
  if (options.checkMemory) std::snprintf(bound, sizeof bound, "bound %.1f", options.maxGrowthMb);
  std::printf("%s: %d charts in %.1f s, %d failed; resident MB: start %.1f, after 10%% %.1f, "
              "peak %.1f, end %.1f; growth after 10%%: %+.2f MB (%s)\n",
              name, count, seconds, failed, before / mb, atTenth / mb, peak / mb, after / mb,
              growth, bound);
  const bool grew = options.checkMemory && growth > options.maxGrowthMb;
  if (grew) std::printf("%s: FAILED, memory grew beyond the bound\n", name);
  return failed == 0 && !grew;
}

}  // namespace

int main(int argc, char **argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const char *arg = argv[i];
    if (std::strncmp(arg, "--charts=", 9) == 0) options.charts = std::atoi(arg + 9);
    else if (std::strncmp(arg, "--scripted=", 11) == 0) options.scripted = std::atoi(arg + 11);
    else if (std::strncmp(arg, "--max-growth-mb=", 16) == 0) options.maxGrowthMb = std::atof(arg + 16);
    else if (std::strcmp(arg, "--no-memory-check") == 0) options.checkMemory = false;
    else {
      std::fprintf(stderr, "usage: %s [--charts=N] [--scripted=N] [--max-growth-mb=M] "
                   "[--no-memory-check]\n", argv[0]);
      return 2;
    }
  }
  bool ok = phase("compiled (XY and pie)", options.charts, options,
                  [](int i) { return i % 2 == 0 ? renderXy(i / 2) : renderPie(i / 2); });
  ok &= phase("runMethod (XY and pie)", options.scripted, options, renderScripted);
  std::printf("soak: %s\n", ok ? "passed" : "FAILED");
  return ok ? 0 : 1;
}
