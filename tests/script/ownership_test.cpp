// Ownership misuse through live handles leaves the process sound: a chart's
// own area ignores destroy, a chart takes no drawable another owner holds, a
// text outlives its area drawing nothing, and an image lent as a symbol is
// skipped once its host has destroyed it.
#include <gtest/gtest.h>

#include "script_host.h"

using scripthost::call;
using scripthost::Value;
using S = std::string;

namespace {

scripthost::Result result(std::vector<Value> argv) {
  const S name = std::get<S>(argv[0]);
  const auto o = call(std::move(argv));
  EXPECT_TRUE(o.ok) << name << ": " << o.message;
  return o.result;
}
S handle(std::vector<Value> argv) { return result(std::move(argv)).text; }
S address(const S &h) { return h.substr(h.find('@')); }
// The script reaches a drawable as a DrawObj only under that class's name.
S asDrawObj(const S &h) { return "$$pointer$$class DrawObj *" + address(h); }

TEST(ScriptOwnership, AChartsAreaIgnoresDestroy) {
  const S chart = handle({S("XYChart.create"), 30, 20, 0xffffff, -1});
  for (const char *getter : {"BaseChart.getDrawArea", "BaseChart.makeChart3"}) {
    const S area = handle({S(getter), chart});
    result({S("DrawArea.destroy"), area});
    EXPECT_EQ(result({S("DrawArea.getWidth"), area}).i, 30) << getter;
  }
  EXPECT_FALSE(result({S("BaseChart.makeChart2"), chart, 0}).text.empty());
  const S area = handle({S("BaseChart.getDrawArea"), chart});
  result({S("BaseChart.destroy"), chart});
  EXPECT_FALSE(call({S("DrawArea.getWidth"), area}).ok);  // gone with its chart
}

TEST(ScriptOwnership, TextsOutliveTheirAreaAndGoOnce) {
  const S area = handle({S("DrawArea.create")});
  const S text = handle({S("DrawArea.text3"), area, S("Hi"), S(""), 12.0});
  const S closed = handle({S("DrawArea.text3"), area, S("Hi"), S(""), 12.0});
  ASSERT_NE(address(text), "@0");
  const int width = result({S("TTFText.getWidth"), text}).i;
  result({S("DrawArea.close"), area, closed});
  EXPECT_EQ(call({S("DrawArea.close"), area, closed}).message,
            "Error converting argument 1 to type class TTFText *");
  result({S("DrawArea.destroy"), area});
  result({S("TTFText.draw"), text, 0, 0, 0, 7});  // draws nothing
  EXPECT_EQ(result({S("TTFText.getWidth"), text}).i, width);
  result({S("TTFText.destroy"), text});
  EXPECT_FALSE(call({S("TTFText.destroy"), text}).ok);
}

TEST(ScriptOwnership, AChartTakesOnlyItsOwnDrawables) {
  const S mine = handle({S("XYChart.create"), 40, 30, 0xffffff, -1});
  const S other = handle({S("XYChart.create"), 40, 30, 0xffffff, -1});
  const S yAxis = handle({S("XYChart.yAxis"), mine});
  const S title = handle({S("BaseChart.addTitle"), mine, S("T"), S(""), 8.0, 0, -1, -1});
  const S line = handle({S("BaseChart.addLine"), mine, 0, 0, 9, 9, 0, 1});
  const S legend = handle({S("BaseChart.addLegend"), mine, 1, 1, 0, S(""), 8.0});
  const S text = handle({S("BaseChart.addText"), mine, 1, 1, S("x"), S(""), 8.0, 0, 7, 0.0, 0});
  const S axisTitle = handle({S("BaseAxis.setTitle"), yAxis, S("y"), S(""), 8.0, 0});
  const S labels = handle({S("BaseAxis.setLabelStyle"), yAxis, S(""), 8.0, 0, 0.0});
  const S mark = handle({S("BaseAxis.addMark"), yAxis, 1.0, 0, S("m"), S(""), 8.0});
  const struct {
    S chart, drawable;
    bool taken;
  } cases[] = {
      {mine, title, true},   {mine, line, true},       {mine, legend, true},
      {mine, mark, false},   {mine, labels, false},    {other, title, false},
      {other, line, false},  {other, legend, false},   {other, text, false},
      {other, mark, false},  {other, axisTitle, false}, {other, labels, false},
  };
  for (const auto &c : cases)
    EXPECT_EQ(address(handle({S("BaseChart.addDrawObj"), c.chart, asDrawObj(c.drawable)})),
              c.taken ? address(c.drawable) : "@0:0")
        << c.drawable;
  EXPECT_FALSE(result({S("BaseChart.makeChart2"), mine, 0}).text.empty());
  result({S("BaseChart.destroy"), other});
  result({S("BaseChart.destroy"), mine});
}

// A line chart with a legend whose data set draws a 5 x 5 image of colour
// (none when 0), destroyed by the host before the chart is laid out, after
// it, or not at all; its PNG.
enum class Gone { kNever, kBeforeLayout, kAfterLayout };
S lineChart(int color, Gone gone) {
  const S chart = handle({S("XYChart.create"), 60, 40, 0xffffff, -1});
  const S layer = handle({S("XYChart.addLineLayer2"), chart, 0, 0});
  const S dataSet =
      handle({S("Layer.addDataSet"), layer, 2, std::vector<double>{1, 3}, 0x0000ff, S("a")});
  handle({S("BaseChart.addLegend"), chart, 1, 1, 0, S(""), 8.0});
  const S image = handle({S("DrawArea.create")});
  result({S("DrawArea.setSize"), image, 5, 5, color});
  if (color != 0) result({S("DataSet.setDataSymbol3"), dataSet, image});
  if (gone == Gone::kBeforeLayout) result({S("DrawArea.destroy"), image});
  result({S("BaseChart.layout"), chart});
  if (gone == Gone::kAfterLayout) result({S("DrawArea.destroy"), image});
  const S png = result({S("BaseChart.makeChart2"), chart, 0}).text;
  result({S("BaseChart.destroy"), chart});
  if (gone == Gone::kNever) result({S("DrawArea.destroy"), image});
  return png;
}

TEST(ScriptOwnership, ADestroyedSymbolImageIsSkipped) {
  constexpr int kRed = 0xff0000, kClear = static_cast<int>(0xff000000u);
  const S drawn = lineChart(kRed, Gone::kNever);
  // Gone after layout, the legend still has a line key: it draws as a
  // transparent image would; gone before, as no image at all.
  EXPECT_NE(drawn, lineChart(kClear, Gone::kNever));
  EXPECT_EQ(lineChart(kRed, Gone::kAfterLayout), lineChart(kClear, Gone::kNever));
  EXPECT_EQ(lineChart(kRed, Gone::kBeforeLayout), lineChart(0, Gone::kNever));
}

}  // namespace

namespace {

// A chart's options are reached through either chart type, point back at
// the chart, read what setAntiAlias gave it and die with it.
TEST(ScriptOwnership, ChartOptionsLiveAndDieWithTheirChart) {
  for (const char *type : {"XYChart", "PieChart"}) {
    const S chart = handle({S(type) + ".create", 30, 20, 0xffffff, -1});
    const S options = handle({S(type) + ".options", chart});
    EXPECT_EQ(address(handle({S("ChartOptions.getChart"), options})), address(chart)) << type;
    result({S("BaseChart.setAntiAlias"), chart, 2});
    EXPECT_EQ(result({S("ChartOptions.getAntiAlias"), options}).i, 2) << type;
    result({S("BaseChart.destroy"), chart});
    EXPECT_FALSE(call({S("ChartOptions.getAntiAlias"), options}).ok) << type;
  }
}

}  // namespace
