// XY charts of every layer kind, pie charts and text rendered on 2, 4 and 8
// threads at once, half of them built through runMethod, each encoded as PNG
// and GIF in memory. Every thread sets its text in a font file and at sizes
// no other thread uses, and the threads start together, so faces and sizes
// are first loaded concurrently. Every image must equal, byte for byte, the
// one the same thread's work gives when run alone afterwards. The area
// chart and the pie are drawn with smooth shapes.
#include <gtest/gtest.h>

#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "script/script_host.h"
#include "test_util.h"

namespace {

using namespace std::string_literals;
using scripthost::Value;
using testutil::Owned;

struct Image {
  std::string name;
  std::string bytes;
};
using Images = std::vector<Image>;

// The text style of one thread of one run: a face and sizes of its own.
struct Style {
  std::string font;
  double size;
};

Style styleOf(int threads, int thread) {
  // Fourteen files from the fonts the build machine installs; Liberation Sans
  // regular and bold are left out, since defaults and fallbacks open them.
  static const char *const kFonts[] = {
      "timesbd.ttf", "cour.ttf",    "ariali.ttf",      "times.ttf",          "courbd.ttf",
      "arialbi.ttf", "timesi.ttf",  "couri.ttf",       "timesbi.ttf",        "courbi.ttf",
      "DejaVuSerif.ttf", "DejaVuSansMono.ttf", "DejaVuSerif-Bold.ttf", "DejaVuSansMono-Bold.ttf"};
  const int k = threads - 2 + thread;  // 0..13 over the runs on 2, 4 and 8 threads
  return {kFonts[k], 7 + 0.25 * k};
}

void addOutputs(Images &out, const std::string &name, std::string png, std::string gif) {
  out.push_back({name + " PNG", std::move(png)});
  out.push_back({name + " GIF", std::move(gif)});
}

std::string bytesOf(MemBlock b) { return b.data == nullptr ? "" : std::string(b.data, b.len); }

// The test host's accessor without its release counters, which are plain
// ints that the threads would share.
const HostAccessor kThreadAccessor = [] {
  HostAccessor a = scripthost::kAccessor;
  a.getBool = scripthost::getInt;
  a.freeString = [](const char *s) { free(const_cast<char *>(s)); };
  a.freeStringArray = [](const char **p) { delete[] p; };
  a.freeDoubleArray = [](const double *p) { delete[] p; };
  a.freeIntArray = [](const int *p) { delete[] p; };
  return a;
}();

// Runs a call that must succeed; returns its text, handle or bytes.
std::string call(std::vector<Value> argv) {
  std::vector<void *> pointers;
  for (Value &v : argv) pointers.push_back(&v);
  scripthost::Result result;
  char message[1024];
  if (runMethod(&kThreadAccessor, static_cast<int>(pointers.size()), pointers.data(), &result,
                message) != 1)
    ADD_FAILURE() << std::get<std::string>(argv[0]) << ": " << message;
  return result.text;
}

const std::vector<std::string> kLabels = {"Mon", "Tue", "Wed", "Thu", "Fri"};
std::vector<double> series(int seed, double base) {
  std::vector<double> v;
  for (int i = 0; i < 5; ++i) v.push_back(base + (seed * 7 + i * 13) % 23);
  return v;
}

// Title, plot area, axis labels and legend, in the thread's style.
XYChart *directFrame(const Style &s, const char *title) {
  XYChart *c = XYChart::create(200, 150, 0x00F8F8F8, Transparent);
  c->addTitle(title, s.font.c_str(), s.size + 2, 0x00000000, -1, -1);
  c->setPlotArea(34, 24, 150, 96, 0x00FFFFFF, 0x00F0F0FF, -1, 0x00C0C0C0, Transparent);
  std::vector<const char *> labels;
  for (const auto &l : kLabels) labels.push_back(l.c_str());
  c->xAxis()->setLabels(5, labels.data());
  c->xAxis()->setLabelStyle(s.font.c_str(), s.size, 0x00000000, 0);
  c->yAxis()->setLabelStyle(s.font.c_str(), s.size, 0x00000000, 0);
  c->addLegend(34, 128, false, s.font.c_str(), s.size);
  return c;
}

void directXY(Images &out, const Style &s, int seed) {
  {
    Owned<XYChart> c(directFrame(s, "Side bars"));
    BarLayer *bars = c->addBarLayer2(Layer::Side, 6);
    bars->addDataSet(5, series(seed, 10).data(), -1, "A");
    bars->addDataSet(5, series(seed + 1, 5).data(), -1, "B");
    LineLayer *line = c->addLineLayer2(Layer::Overlay, 0);
    line->setLineWidth(2);
    line->addDataSet(5, series(seed + 2, 20).data(), 0x00C03030, "C")
        ->setDataSymbol(DiamondSymbol, 7, -1, 0x00000000);
    line->setDataLabelFormat("&value&");
    line->setDataLabelStyle(s.font.c_str(), s.size - 1, 0x00303030, 0);
    addOutputs(out, "side bars and line", bytesOf(c->makeChart2(BaseChart::PNG)),
               bytesOf(c->makeChart2(BaseChart::GIF)));
  }
  // The areas stand in front, the taller bars behind them; drawn smooth.
  Owned<XYChart> c(directFrame(s, "Areas and overlay"));
  c->setAntiAlias(1);
  AreaLayer *areas = c->addAreaLayer2(Layer::Stack, 4);
  areas->addDataSet(5, series(seed + 5, 0).data(), -1, "D");
  areas->addDataSet(5, series(seed + 6, 2).data(), 0x60208020, "E");
  BarLayer *bars = c->addBarLayer2(Layer::Overlay, 8);
  bars->addDataSet(5, series(seed + 3, 45).data(), -1, "F");
  bars->addDataSet(5, series(seed + 4, 30).data(), -1, "G");
  addOutputs(out, "stacked areas and overlay bars", bytesOf(c->makeChart2(BaseChart::PNG)),
             bytesOf(c->makeChart2(BaseChart::GIF)));
}

void directText(Images &out, const Style &s, int seed) {
  Owned<DrawArea> a(DrawArea::create());
  a->setSize(120, 90, 0x00FFFFF0);
  a->setAntiAliasText(TTFText::AntiAliasOn);
  TTFText *turned = a->text4(("turned " + std::to_string(seed)).c_str(), s.font.c_str(), 0,
                             s.size + 3, 0, 30, 0);
  turned->draw(60, 45, 0x000000C0, AlignCentre);
  a->close(turned);
  a->text2("two\nlines", s.font.c_str(), 0, s.size + 1, s.size + 1, 0, 0, 4, 4, 0x00800000,
           AlignTopLeft);
  addOutputs(out, "text", bytesOf(a->outPNG2()), bytesOf(a->outGIF2()));
}

// The same frame as directFrame, through runMethod.
std::string scriptedFrame(const Style &s, const std::string &title) {
  const std::string c = call({"XYChart.create"s, 200, 150, 0x00F8F8F8, Transparent});
  call({"BaseChart.addTitle"s, c, title, s.font, s.size + 2, 0, -1, -1});
  call({"XYChart.setPlotArea"s, c, 34, 24, 150, 96, 0x00FFFFFF, 0x00F0F0FF, -1, 0x00C0C0C0,
        Transparent});
  const std::string x = call({"XYChart.xAxis"s, c});
  call({"XAxis.setLabels"s, x, 5, kLabels});
  for (const std::string &axis : {x, call({"XYChart.yAxis"s, c})})
    call({"BaseAxis.setLabelStyle"s, axis, s.font, s.size, 0, 0.0});
  call({"BaseChart.addLegend"s, c, 34, 128, 0, s.font, s.size});
  return c;
}

void scriptedCharts(Images &out, const Style &s, int seed) {
  const std::string c = scriptedFrame(s, "Stacks and HLOC");
  const std::string bars = call({"XYChart.addBarLayer2"s, c, 1, 6});
  call({"Layer.addDataSet"s, bars, 5, series(seed, 8), -1, "H"s});
  call({"Layer.addDataSet"s, bars, 5, series(seed + 1, 4), -1, "I"s});
  call({"Layer.setAggregateLabelStyle"s, bars, s.font, s.size - 1, 0, 0.0});
  call({"Layer.setAggregateLabelFormat"s, bars, "&value&"s});
  const std::string hloc = call({"XYChart.addHLOCLayer"s, c, 5, series(seed, 40), series(seed, 20),
                                 series(seed + 2, 25), series(seed + 3, 28), 0x00802020});
  call({"Layer.setLineWidth"s, hloc, 2});
  addOutputs(out, "stacked bars and HLOC", call({"BaseChart.makeChart2"s, c, 0}),
             call({"BaseChart.makeChart2"s, c, 1}));
  call({"BaseChart.destroy"s, c});

  const std::string pie = call({"PieChart.create"s, 180, 140, 0x00FFFFFF, -1});
  call({"BaseChart.addTitle"s, pie, "Pie"s, s.font, s.size + 2, 0, -1, -1});
  call({"PieChart.setPieSize"s, pie, 90, 76, 44});
  call({"PieChart.set3D"s, pie, 8, -1.0, 0});
  call({"BaseChart.setAntiAlias"s, pie, 1});
  call({"PieChart.setLabelStyle"s, pie, s.font, s.size, 0});
  call({"PieChart.setData"s, pie, 5, series(seed, 2), kLabels});
  call({"Sector.setExplode"s, call({"PieChart.sector"s, pie, seed % 5}), -1});
  addOutputs(out, "pie", call({"BaseChart.makeChart2"s, pie, 0}),
             call({"BaseChart.makeChart2"s, pie, 1}));
  call({"BaseChart.destroy"s, pie});

  const std::string area = call({"DrawArea.create"s});
  call({"DrawArea.setSize"s, area, 120, 60, 0x00F0FFF0});
  call({"DrawArea.text2"s, area, "scripted "s + std::to_string(seed), s.font, 0, s.size + 2,
        s.size + 2, -20.0, 0, 60, 30, 0x00004000, 5});
  addOutputs(out, "scripted text", call({"DrawArea.outPNG2"s, area}),
             call({"DrawArea.outGIF2"s, area}));
  call({"DrawArea.destroy"s, area});
}

// One thread's work: its mix of charts, starting at a kind of its own.
Images scene(const Style &s, int seed) {
  Images out;
  for (int i = 0; i < 3; ++i) switch ((seed + i) % 3) {
      case 0: directXY(out, s, seed); break;
      case 1: scriptedCharts(out, s, seed); break;
      default: directText(out, s, seed); break;
    }
  return out;
}

// Runs scene on threads threads that start together (so the first renders,
// and the first loads of each thread's fonts, overlap), rounds times each,
// then expects every image to equal the thread's scene drawn alone.
void expectColdThreadsMatchOne(int threads, int rounds) {
  std::latch start(threads);
  std::vector<std::vector<Images>> together(static_cast<size_t>(threads));
  std::vector<std::thread> running;
  for (int t = 0; t < threads; ++t)
    running.emplace_back([&, t] {
      start.arrive_and_wait();
      for (int r = 0; r < rounds; ++r)
        together[static_cast<size_t>(t)].push_back(scene(styleOf(threads, t), t));
    });
  for (auto &th : running) th.join();
  for (int t = 0; t < threads; ++t) {
    const Images alone = scene(styleOf(threads, t), t);
    ASSERT_EQ(alone.size(), 12u);
    for (size_t i = 0; i < alone.size(); ++i) {
      const bool isPng = alone[i].name.ends_with("PNG");
      EXPECT_TRUE(alone[i].bytes.starts_with(isPng ? "\x89PNG" : "GIF8")) << alone[i].name;
      for (int r = 0; r < rounds; ++r)
        EXPECT_TRUE(together[static_cast<size_t>(t)][static_cast<size_t>(r)][i].bytes ==
                    alone[i].bytes)
            << alone[i].name << ", thread " << t << " of " << threads << ", round " << r;
    }
  }
}

}  // namespace

TEST(XyThreads, ChartsPiesAndTextOnSeveralThreadsMatchOneThread) {
  for (int threads : {2, 4, 8}) expectColdThreadsMatchOne(threads, 2);
}
