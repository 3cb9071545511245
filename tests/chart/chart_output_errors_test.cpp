// Why a chart's output failed, read through its options and by runMethod: a
// file that cannot be written, a chart above the size limits, a codec that
// refuses the image, a drawing that ran out of memory; a success empties it.
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

std::string reason(TestChart &chart) { return testutil::str(chart.chartOptions()->getLastError()); }

}  // namespace

TEST(ChartOutputErrors, EachFailedOutputSaysWhyAndEachSuccessEmptiesIt) {
  testutil::Owned<XYChart> xy(XYChart::create(60, 40, kWhite, Transparent));
  testutil::Owned<PieChart> pie(PieChart::create(60, 40, kWhite, Transparent));
  for (auto [chart, options] : {std::pair<BaseChart *, ChartOptions *>{xy.get(), xy->options()},
                                {pie.get(), pie->options()}}) {
    EXPECT_FALSE(chart->makeChart("/dev/null/x.gif"));
    EXPECT_EQ(testutil::str(options->getLastError()), cannotWrite("/dev/null/x.gif", ENOTDIR));
    EXPECT_GT(chart->makeChart2(BaseChart::GIF).len, 0);
    EXPECT_STREQ(options->getLastError(), "");
  }
  EXPECT_FALSE(xy->makeChart("/dev/null/x.gif"));
  EXPECT_STREQ(pie->options()->getLastError(), "");  // each chart keeps its own

  Chart oversized = makeChart(70000, 10);
  EXPECT_EQ(oversized->makeChart3(), nullptr);
  EXPECT_EQ(reason(*oversized), "the chart is 70000 x 10 pixels, above the size limits (65535 a "
                                "side, 268435456 pixels in all)");
  // Drawn, but wider than JPEG holds: the area's reason becomes the chart's.
  Chart wide = makeChart(65501, 2);
  EXPECT_EQ(wide->makeChart2(BaseChart::JPG).data, nullptr);
  const std::string refused =
      "cannot encode a 65501 x 2 image as JPEG: JPEG holds at most 65500 pixels a side";
  EXPECT_EQ(reason(*wide), refused);
  EXPECT_EQ(testutil::str(wide->getDrawArea()->getLastError()), refused);
  Chart broken = makeChart(5, 3);
  broken->body = [](DrawArea &) { throw std::bad_alloc(); };
  EXPECT_FALSE(broken->makeChart(""));
  EXPECT_EQ(reason(*broken), "out of memory");
  EXPECT_EQ(broken->makeChart2(BaseChart::PNG).data, nullptr);
  EXPECT_EQ(reason(*broken), "the chart is broken: memory ran out while it was laid out or "
                             "drawn; destroy it and build it again");
}

TEST(ChartOutputErrors, RunMethodReadsTheReasonOfChartsAndAreas) {
  using S = std::string;
  const auto text = [](std::vector<scripthost::Value> argv) {
    const auto o = scripthost::call(std::move(argv));
    EXPECT_TRUE(o.ok) << o.message;
    return o.result.kind == scripthost::Result::Kind::kInt ? std::to_string(o.result.i)
                                                           : o.result.text;
  };
  const S chart = text({S("XYChart.create"), 60, 40, 0xffffff, -1});
  const S options = text({S("XYChart.options"), chart});
  EXPECT_EQ(text({S("XYChart.makeChart"), chart, S("/dev/null/c.png")}), "0");
  EXPECT_EQ(text({S("ChartOptions.getLastError"), options}),
            cannotWrite("/dev/null/c.png", ENOTDIR));
  const S area = text({S("BaseChart.getDrawArea"), chart});
  EXPECT_EQ(text({S("DrawArea.outGIF"), area, S("/tmp")}), "0");
  EXPECT_EQ(text({S("DrawArea.getLastError"), area}), cannotWrite("/tmp", EISDIR));
  EXPECT_EQ(text({S("BaseChart.destroy"), chart}), "");
}
