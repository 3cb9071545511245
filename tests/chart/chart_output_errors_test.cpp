// Why a chart's output failed, read through its options: a file that cannot
// be written, a chart above the size limits, a codec that refuses the image,
// a drawing that ran out of memory; a success empties the text, and the
// scripting door reaches it by name.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <string>

#include "chart/chart_test_util.h"
#include "script/script_host.h"

using namespace charttest;

namespace {

std::string cannotWrite(const std::string &path, int error) {
  return "cannot write " + path + ": " + std::strerror(error);
}

std::string lastError(TestChart &chart) {
  return testutil::str(chart.chartOptions()->getLastError());
}

}  // namespace

TEST(ChartOutputErrors, MakeChartNamesTheFileAndTheSystemsReason) {
  ScratchDir scratch;
  scratch.dir("folder.png");
  const struct {
    std::string path;
    int error;
  } causes[] = {{scratch.file("missing/x.png"), ENOENT},
                {scratch.file("folder.png"), EISDIR},
                {"/dev/null/x.gif", ENOTDIR}};
  testutil::Owned<XYChart> xy(XYChart::create(60, 40, kWhite, Transparent));
  testutil::Owned<PieChart> pie(PieChart::create(60, 40, kWhite, Transparent));
  const double values[] = {1, 2};
  pie->setData(2, values, nullptr);
  const std::string good = scratch.file("good.png");
  for (auto [chart, options] : {std::pair<BaseChart *, ChartOptions *>{xy.get(), xy->options()},
                                {pie.get(), pie->options()}}) {
    EXPECT_STREQ(options->getLastError(), "");
    for (const auto &c : causes) {
      SCOPED_TRACE(c.path);
      EXPECT_FALSE(chart->makeChart(c.path.c_str()));
      EXPECT_EQ(testutil::str(options->getLastError()), cannotWrite(c.path, c.error));
      // Every output that succeeds empties it: no file, a file, memory, the area.
      EXPECT_TRUE(chart->makeChart(""));
      EXPECT_STREQ(options->getLastError(), "");
      EXPECT_FALSE(chart->makeChart(c.path.c_str()));
      EXPECT_TRUE(chart->makeChart(good.c_str()));
      EXPECT_STREQ(options->getLastError(), "");
      EXPECT_FALSE(chart->makeChart(c.path.c_str()));
      EXPECT_GT(chart->makeChart2(BaseChart::GIF).len, 0);
      EXPECT_STREQ(options->getLastError(), "");
      EXPECT_FALSE(chart->makeChart(c.path.c_str()));
      EXPECT_NE(chart->makeChart3(), nullptr);
      EXPECT_STREQ(options->getLastError(), "");
    }
  }
  // Each chart keeps its own reason.
  EXPECT_FALSE(xy->makeChart(causes[0].path.c_str()));
  EXPECT_STREQ(pie->options()->getLastError(), "");
}

TEST(ChartOutputErrors, OutputsOfAChartThatCannotBeDrawnOrEncodedSayWhy) {
  Chart oversized = makeChart(70000, 10);
  const std::string tooLarge =
      "the chart is 70000 x 10 pixels, above the size limits (65535 a side, 268435456 pixels in "
      "all)";
  EXPECT_EQ(oversized->makeChart3(), nullptr);
  EXPECT_EQ(lastError(*oversized), tooLarge);
  EXPECT_FALSE(oversized->makeChart(""));
  EXPECT_EQ(lastError(*oversized), tooLarge);
  EXPECT_EQ(oversized->makeChart2(BaseChart::PNG).data, nullptr);
  EXPECT_EQ(lastError(*oversized), tooLarge);

  // Drawn, but wider than JPEG holds: the area's reason becomes the chart's.
  Chart wide = makeChart(65501, 2);
  EXPECT_EQ(wide->makeChart2(BaseChart::JPG).data, nullptr);
  EXPECT_EQ(lastError(*wide),
            "cannot encode a 65501 x 2 image as JPEG: JPEG holds at most 65500 pixels a side");
  EXPECT_NE(wide->makeChart2(BaseChart::WMP).data, nullptr);
  EXPECT_EQ(lastError(*wide), "");

  // A drawing that runs out of memory says so, and the broken chart after it.
  Chart broken = makeChart(5, 3);
  broken->body = [](DrawArea &) { throw std::bad_alloc(); };
  EXPECT_FALSE(broken->makeChart(""));
  EXPECT_EQ(lastError(*broken), "out of memory");
  EXPECT_EQ(broken->makeChart3(), nullptr);
  EXPECT_EQ(lastError(*broken),
            "the chart is broken: memory ran out while it was laid out or drawn; destroy it and "
            "build it again");
}

TEST(ChartOutputErrors, RunMethodReadsTheReasonOfChartsAndAreas) {
  using scripthost::call;
  using S = std::string;
  const auto text = [](std::vector<scripthost::Value> argv) {
    const auto o = call(std::move(argv));
    EXPECT_TRUE(o.ok) << o.message;
    return o.result.text;
  };
  const S path = "/dev/null/chart.png";
  const S chart = text({S("XYChart.create"), 60, 40, 0xffffff, -1});
  const S options = text({S("XYChart.options"), chart});
  EXPECT_EQ(text({S("ChartOptions.getLastError"), options}), "");
  const auto made = call({S("XYChart.makeChart"), chart, path});
  ASSERT_TRUE(made.ok) << made.message;
  EXPECT_EQ(made.result.i, 0);
  EXPECT_EQ(text({S("ChartOptions.getLastError"), options}), cannotWrite(path, ENOTDIR));
  // The chart's own area tells the same, as does an area the host made.
  const S chartArea = text({S("BaseChart.getDrawArea"), chart});
  EXPECT_EQ(text({S("DrawArea.getLastError"), chartArea}), cannotWrite(path, ENOTDIR));
  const S area = text({S("DrawArea.create")});
  ASSERT_TRUE(call({S("DrawArea.outGIF"), area, S("/dev/null/a.gif")}).ok);
  EXPECT_EQ(text({S("DrawArea.getLastError"), area}), cannotWrite("/dev/null/a.gif", ENOTDIR));
  EXPECT_TRUE(call({S("DrawArea.destroy"), area}).ok);
  EXPECT_TRUE(call({S("BaseChart.destroy"), chart}).ok);
}
