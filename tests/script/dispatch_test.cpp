// runMethod's dispatch: every listed name reaches an entry of its arity, the
// fallback through the class hierarchy, and the messages of the door.
#include <gtest/gtest.h>

#include <sstream>

#include "script/binding.h"
#include "script/registry.h"
#include "script_host.h"

using scripthost::call;
using scripthost::NotAString;
using scripthost::Value;
using quorvane::script::registry;

namespace {

// Every name of the scripting interface with the number of arguments the
// caller passes after the handle; create and the bare functions take none.
const std::pair<const char *, const char *> kNames[] = {
    {"TTFText", "getWidth/0 getHeight/0 getLineHeight/0 getLineDistance/0 draw/4 destroy/0"},
    {"DrawArea", "create/0 destroy/0 setSize/3 getWidth/0 getHeight/0 setBgColor/1 pixel/3 "
                 "getPixel/2 hline/4 vline/4 line/6 arc/7 rect/7 polygon/5 surface/8 sector/8 "
                 "cylinder/10 circle/6 fill/3 fill2/4 text/6 text2/11 text3/3 text4/7 close/1 "
                 "merge/5 tile/2 loadGIF/1 loadPNG/1 loadJPG/1 loadWMP/1 load/1 out/1 outGIF/1 "
                 "outPNG/1 outJPG/2 outWMP/1 outGIF2/0 outPNG2/0 outJPG2/1 outWMP2/0 "
                 "setPaletteMode/1 setDitherMethod/1 setTransparentColor/1 setAntiAliasText/1 "
                 "setInterlace/1 setColorTable/3 getARGBColor/1 dashLineColor/2 patternColor/5 "
                 "patternColor2/3 gradientColor/6 gradientColor2/5 setAntiAlias/1 getLastError/0"},
    {"Box", "setPos/2 setSize/2 setBackground/3 getImageCoor/0"},
    {"TextBox", "setText/1 setAlignment/1 setFontStyle/2 setFontSize/2 setFontAngle/2 "
                "setFontColor/1 setMargin/1 setMargin2/4"},
    {"Line", "setPos/4 setColor/1 setWidth/1"},
    {"LegendBox", "addKey/2 setKeySize/3 getImageCoor/1 getHTMLImageMap/3"},
    {"BaseChart", "destroy/0 setSize/2 setBorder/1 setBackground/3 setWallpaper/1 setBgImage/2 "
                  "addTitle/6 addTitle2/7 addLegend/5 getLegend/0 getDrawArea/0 addDrawObj/1 "
                  "addText/9 addLine/6 setColor/2 setColors/1 setColors2/2 getColor/1 layout/0 "
                  "makeChart/1 makeChart2/1 makeChart3/0 getHTMLImageMap/3 "
                  "setTransparentColor/1 dashLineColor/2 patternColor/5 patternColor2/3 "
                  "gradientColor/6 gradientColor2/5 setAntiAlias/1"},
    {"Sector", "setExplode/1 setLabelFormat/1 setLabelStyle/3 setLabelPos/2 setColor/2 "
               "getImageCoor/0 getLabelCoor/0"},
    {"PieChart", "create/4 setPieSize/3 set3D/3 setStartAngle/2 setLabelFormat/1 "
                 "setLabelStyle/3 setLabelPos/2 setData/3 sector/1 options/0"},
    {"ChartOptions", "getChart/0 getAntiAlias/0 getLastError/0"},
    {"BaseAxis", "setLabelStyle/4 setLabelGap/1 setTitle/4 setTitlePos/2 setColors/4 "
                 "setTickLength/1 setTickLength2/2 getCoor/1 getLength/0 addMark/5 addZone/3"},
    {"XAxis", "setLabels/2 setIndent/1"},
    {"Mark", "setValue/1 setMarkColor/3 setLineWidth/1 setDrawOnTop/1"},
    {"YAxis", "setLinearScale/3 setLogScale2/3 setLogScale/1 setAutoScale/2 setTickDensity/1 "
              "setTopMargin/1 setLabelFormat/1"},
    {"DataSet", "setData/2 setDataName/1 setDataColor/4 setUseYAxis2/1 setLineWidth/1 "
                "setDataLabelFormat/1 setDataLabelStyle/4 setDataSymbol/4 setDataSymbol2/1 "
                "setDataSymbol3/1"},
    {"Layer", "setSize/4 set3D/2 set3D2/4 setLineWidth/1 setDataCombineMethod/1 addDataSet/4 "
              "getMinX/0 getMaxX/0 getMaxY/1 getMinY/1 getDepthX/0 getDepthY/0 getXCoor/1 "
              "getYCoor/2 setDataLabelFormat/1 setDataLabelStyle/4 setAggregateLabelFormat/1 "
              "setAggregateLabelStyle/4 setBorderColor/2 getImageCoor/2 getImageCoor2/1 "
              "getHTMLImageMap/3"},
    {"BarLayer", "setBarGap/2"},
    {"PlotArea", "setBackground/3 setBackground2/2 setGridColor/2 setGridWidth/2"},
    {"XYChart", "create/4 yAxis/0 yAxis2/0 syncYAxis/2 setYAxisOnRight/1 xAxis/0 xAxis2/0 "
                "setPlotArea/9 addBarLayer/5 addBarLayer2/2 addBarLayer3/5 addLineLayer/5 "
                "addLineLayer2/2 addAreaLayer/5 addAreaLayer2/2 addHLOCLayer/6 addHLOCLayer2/0 "
                "options/0"},
    {"", "getVersion/0 getCopyright/0 getDescription/0"},
};

TEST(ScriptRegistry, EveryNameIsAnEntryTakingItsListedArguments) {
  EXPECT_TRUE(registry().isComplete());
  size_t total = 0;
  for (const auto &[cls, entries] : kNames) {
    std::istringstream words(entries);
    for (std::string word; words >> word; ++total) {
      const std::string method = word.substr(0, word.find('/'));
      const int arity = std::stoi(word.substr(word.find('/') + 1));
      const std::string name = *cls ? std::string(cls) + "." + method : method;
      const bool isStatic = !*cls || method == "create";
      SCOPED_TRACE(name);
      ASSERT_NE(registry().find(name), nullptr);
      EXPECT_EQ(registry().find(name)->arity(), arity);
      EXPECT_EQ(registry().find(name)->isClassMethod(), !isStatic);
      // Three values too many: the count is checked before anything is read.
      std::vector<Value> argv{name};
      argv.resize(static_cast<size_t>(arity + (isStatic ? 1 : 2) + 3), Value{0});
      const auto o = call(argv);
      EXPECT_FALSE(o.ok);
      EXPECT_EQ(o.message, "Wrong number of arguments; expecting " + std::to_string(arity) +
                               " but received " + std::to_string(arity + 3));
    }
  }
  EXPECT_EQ(registry().names().size(), total);
}

// A row is sound only with one parameter name per argument, single spaces
// between them, a one-line summary and array rules that fit its arguments.
TEST(ScriptRegistry, RowsNameEachArgumentOnceAndSummariseInOneLine) {
  using namespace quorvane::script;
  constexpr Signature polygon = bind<&DrawArea::polygon>();
  const struct {
    const char *params;
    const char *summary;
    Rules rules;
    bool sound;
  } rows[] = {
      {"x y n edgeColor fillColor", "Fills a polygon.", {limit(0, 2)}, true},
      {"x y n edgeColor", "Fills a polygon.", {}, false},
      {"x y n edgeColor fillColor extra", "Fills a polygon.", {}, false},
      {"x y  n edgeColor", "Fills a polygon.", {}, false},
      {"x y n edgeColor ", "Fills a polygon.", {}, false},
      {"x y n edgeColor fillColor", "", {}, false},
      {"x y n edgeColor fillColor", "Fills\na polygon.", {}, false},
      {"x y n edgeColor fillColor", "Fills a polygon.", {limit(2, 0)}, false},
      {"x y n edgeColor fillColor", "Fills a polygon.", {limit(0, 1)}, false},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(std::string(row.params) + " | " + row.summary);
    EXPECT_EQ(Invoker("DrawArea.polygon", polygon, row.params, row.summary, row.rules).isSound(),
              row.sound);
  }
  EXPECT_EQ(registry().rows().size(), registry().names().size());
}

TEST(ScriptRegistry, NamesFallBackDepthFirstThroughTheirBases) {
  const std::pair<const char *, const char *> cases[] = {
      {"PieChart.setSize", "BaseChart.setSize"},   {"XYChart.setColor", "BaseChart.setColor"},
      {"PieChart.makeChart", "BaseChart.makeChart"}, {"TextBox.setPos", "Box.setPos"},
      {"LegendBox.setText", "TextBox.setText"},    {"LegendBox.setPos", "Box.setPos"},
      {"LegendBox.getImageCoor", "LegendBox.getImageCoor"},
      {"Mark.setFontColor", "TextBox.setFontColor"}, {"Mark.setBackground", "Box.setBackground"},
      {"XAxis.addMark", "BaseAxis.addMark"},       {"YAxis.getCoor", "BaseAxis.getCoor"},
      {"BarLayer.addDataSet", "Layer.addDataSet"}, {"LineLayer.set3D", "Layer.set3D"},
      {"AreaLayer.getMinX", "Layer.getMinX"},      {"HLOCLayer.getHTMLImageMap", "Layer.getHTMLImageMap"},
      {"XYChart.setAntiAlias", "BaseChart.setAntiAlias"},
      {"PieChart.setAntiAlias", "BaseChart.setAntiAlias"},
  };
  for (const auto &[asked, found] : cases) {
    SCOPED_TRACE(asked);
    ASSERT_NE(registry().find(found), nullptr);
    EXPECT_EQ(registry().resolve(asked), registry().find(found));
  }
  // No edge leads from these, or the const class has no entries.
  for (const char *none : {"DrawArea.nosuch", "TTFText.setSize", "Sector.setSize",
                           "DataSet.setSize", "PlotArea.setPos", "XAxis.setText", "foo", ".x"})
    EXPECT_EQ(registry().resolve(none), nullptr) << none;
}

TEST(ScriptDispatch, ReportsEachFailureWithItsMessage) {
  const std::string longName = "PieChart." + std::string(2000, 'q');
  const struct {
    std::vector<Value> argv;
    std::string message;
  } cases[] = {
      {{}, "no method name"},
      {{Value{7}}, "first argument must be the method name (a text string)"},
      {{std::string("PieChart.nosuch"), std::string("$$pointer$$class PieChart *@10")},
       "unknown method PieChart.nosuch"},
      {{std::string("foo")}, "unknown method foo"},
      {{std::string("DrawArea.nosuch")}, "unknown method DrawArea.nosuch"},
      {{longName}, ("unknown method " + longName).substr(0, 1023)},
      {{std::string("getVersion"), Value{1}},
       "Wrong number of arguments; expecting 0 but received 1"},
      {{std::string("PieChart.setPieSize"), Value{0}, Value{1}, Value{2}},
       "Wrong number of arguments; expecting 3 but received 2"},
      {{std::string("PieChart.create"), Value{1}, Value{2}, Value{2.5}, Value{4}},
       "Error converting argument 3 to type int"},
      {{std::string("XYChart.create"), Value{1}, NotAString{}, Value{2}, Value{4}},
       "Error converting argument 2 to type int"},
  };
  for (const auto &c : cases) {
    const auto o = call(c.argv);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, c.message);
  }
  const auto ok = call({std::string("getVersion")});
  EXPECT_TRUE(ok.ok);
  EXPECT_EQ(ok.message, "");
  EXPECT_EQ(ok.result.i, 0x02000000);
  EXPECT_EQ(call({std::string("getDescription")}).result.text, "Quorvane");
}

}  // namespace
