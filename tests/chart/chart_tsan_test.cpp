// Charts rendered on several threads at once: each thread builds, draws and
// encodes its own chart with titles, text boxes and a legend. Under
// ThreadSanitizer this shows charts share nothing but the font lock; the
// bytes must equal those of a single-threaded run.
#include <string>

#include "chart_test_util.h"

using namespace charttest;

namespace {

std::string chartBytes(int seed) {
  Chart c = makeChart(240, 160, 0x00F0F0F0, kBlack);
  c->addTitle(("Chart " + std::to_string(seed)).c_str(), nullptr, 12, kBlack, 0x00C0D8F0, -1);
  c->addTitle2(4, "left", "arial.ttf", 9, kBlack, Transparent, Transparent);
  c->addText(120, 80, "centre\ntwo lines", "arial.ttf", 10, kBlue, 5, seed * 15.0, false);
  c->layoutKeys = {{"one", kRed}, {"two", kGreen}, {"three", kBlue}};
  c->addLegend(30, 100, seed % 2 == 0, "arial.ttf", 9);
  c->addLine(0, 159, 239, 0, c->dashLineColor(kRed, 0), 2);
  const MemBlock png = c->makeChart2(BaseChart::PNG);
  std::string bytes(png.data, static_cast<size_t>(png.len));
  bytes += c->getLegend()->getHTMLImageMap("u", nullptr, nullptr);
  return bytes;
}

}  // namespace

TEST(ChartThreads, ChartsOnSeveralThreadsMatchASingleThread) {
  testutil::expectSameOnThreads(4, 2, chartBytes);
}
