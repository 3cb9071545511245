// The marshalling of runMethod: handles and their conversions, arguments of
// each type with their copies released once, the array rules, result
// delivery, and whole charts built and rendered through the door alone.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>

#include "script/marshal.h"
#include "script_host.h"

using scripthost::call;
using scripthost::counters;
using scripthost::NotAString;
using scripthost::Outcome;
using scripthost::Value;
using S = std::string;

constexpr int kDefaultBg = static_cast<int>(0xFFFF0000u);

namespace {

using quorvane::script::handleOf;

S hex(uint64_t v) {
  char text[32];
  std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(v));
  return text;
}

// Calls name on handle with args; the call must succeed.
Outcome ok(const S &name, std::vector<Value> args) {
  args.insert(args.begin(), name);
  Outcome o = call(std::move(args));
  EXPECT_TRUE(o.ok) << name << ": " << o.message;
  return o;
}

TEST(ScriptMarshal, HandlesNameLiveTypesOrAreRejected) {
  XYChart *chart = XYChart::create(200, 100, 0xFFFF0000, Transparent);
  const S xy = handleOf(chart);
  using quorvane::script::parseHandle;
  EXPECT_EQ(parseHandle(xy, "class XYChart *"), chart);
  EXPECT_EQ(parseHandle(xy, "class BaseChart *"), static_cast<BaseChart *>(chart));
  EXPECT_EQ(parseHandle(xy, "class PieChart *"), nullptr);

  // The handle is "$$pointer$$" type "@" address ":" generation, both in
  // lowercase hex without leading zeros; any other spelling is refused.
  const uint64_t generation = quorvane::generationOf(chart);
  const S address = hex(reinterpret_cast<uintptr_t>(chart));
  const S gen = hex(generation);
  const S type = "$$pointer$$class XYChart *";
  EXPECT_EQ(xy, type + "@" + address + ":" + gen);
  S upper = address + ":" + gen;
  for (char &c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const S rejected[] = {
      type + "@" + address,                          // no generation
      type + "@" + address + ":",                    // an empty one
      type + "@" + address + ":" + hex(generation + 1),
      type + "@" + address + ":" + hex(generation - 1),
      type + "@" + address + ":0",                   // never given
      type + "@" + address + ":" + gen + " ",        // trailing text
      type + "@" + address + ":" + gen + ":" + gen,
      type + "@" + address + ":" + gen + "\n",
      type + "@" + address + "::" + gen,
      type + "@" + address + ": " + gen,
      type + "@" + address + ":+" + gen,
      type + "@" + address + ":-" + gen,
      type + "@" + address + ":0x" + gen,
      type + "@" + address + ":0" + gen,             // leading zeros
      type + "@0" + address + ":" + gen,
      type + "@" + address + ":" + S(16 - gen.size(), '0') + gen,  // 16 digits, but padded
      type + "@" + address + ":1" + S(16, '0'),      // 2^64: past 64 bits
      type + "@" + address + ":" + S(17, 'f'),
      type + "@" + upper,                            // upper case
      type + "@:" + gen,                             // no address
      type + "@0:" + gen,
      type + "@0:0",                                 // the null handle
      type + ":" + gen + "@" + address,
      type + "@" + address.substr(1) + ":" + gen,    // another address
      type + "@" + address + "g:" + gen,
      type + address + ":" + gen,                    // no @
      "$pointer$$class XYChart *@" + address + ":" + gen,
      "$$pointer$$class XYChart*@" + address + ":" + gen,
      "$$pointer$$class XYChart *@12g4:1",
      "$$pointer$$class XYChart *@10000000000000000:1",
      "$$pointer$$class XYChart *@-10:1",
      "$$pointer$$class XYChart *@ 10:1",
  };
  // An address and a generation without the letters a to f have no upper-case
  // spelling: that case is then the handle itself.
  for (const S &r : rejected) {
    if (r != xy) {
      EXPECT_EQ(parseHandle(r, "class XYChart *"), nullptr) << r;
    }
  }

  // The door delivers handles and accepts them through the converters.
  const S mark = ok("BaseAxis.addMark", {ok("XYChart.yAxis", {xy}).result.text, 5.0, 0xFF0000,
                                         S("m"), S(""), 8.0}).result.text;
  EXPECT_TRUE(mark.starts_with("$$pointer$$class Mark *@"));
  EXPECT_NE(parseHandle(mark, "class Box *"), nullptr);
  ok("Box.setPos", {mark, 1, 2});
  ok("BaseChart.setSize", {xy, 300, 200});
  EXPECT_EQ(call({S("PieChart.setData"), xy, 0, std::vector<double>{}, std::vector<S>{}}).message,
            "Error converting object pointer to type class PieChart *");
  EXPECT_EQ(call({S("DataSet.setDataSymbol3"), xy, xy}).message,
            "Error converting object pointer to type class DataSet *");
  DrawArea *area = DrawArea::create();
  const S areaHandle = handleOf(area);
  EXPECT_EQ(call({S("DrawArea.merge"), areaHandle, xy, 0, 0, 5, 0}).message,
            "Error converting argument 1 to type class DrawArea const *");
  ok("DrawArea.tile", {areaHandle, areaHandle, 0});
  const S text = ok("DrawArea.text3", {areaHandle, S("t"), S(""), 8.0}).result.text;
  EXPECT_EQ(call({S("TTFText.draw"), text, 1, 2, 3, 2.5}).message,
            "Error converting argument 4 to type enum Alignment");
  ok("DrawArea.close", {areaHandle, text});
  area->destroy();
  chart->destroy();
}

TEST(ScriptMarshal, CopiesAreReleasedOnceAndEmptyArraysPassNull) {
  PieChart *pie = PieChart::create(200, 200, 0xFFFF0000, Transparent);
  const S h = handleOf(pie);
  counters = {};
  ok("PieChart.setData", {h, 3, std::vector<double>{1, 2, 3}, std::vector<S>{"a", "b", "c"}});
  EXPECT_EQ(counters.doubleArraysFreed, 1);
  EXPECT_EQ(counters.stringArraysFreed, 1);
  EXPECT_EQ(counters.stringsFreed, 2);  // the name and the handle
  counters = {};
  ok("PieChart.setData", {h, 2, std::vector<double>{}, std::vector<S>{}});
  EXPECT_EQ(counters.doubleArraysFreed + counters.stringArraysFreed, 0);
  EXPECT_EQ(ok("PieChart.sector", {h, 0}).result.text, "$$pointer$$class Sector *@0:0");

  // A count beyond the data is limited to it; missing labels are empty.
  ok("PieChart.setData", {h, 5, std::vector<double>{1, 2, 3}, std::vector<S>{"a"}});
  const S third = ok("PieChart.sector", {h, 2}).result.text;
  EXPECT_NE(third, "$$pointer$$class Sector *@0:0");
  EXPECT_EQ(ok("PieChart.sector", {h, 3}).result.text, "$$pointer$$class Sector *@0:0");
  ok("Sector.setColor", {third, 0xFF, -1});
  EXPECT_EQ(call({S("Sector.setExplode"), S("$$pointer$$class Sector *@0:0"), 3}).message,
            "Error converting object pointer to type class Sector *");

  // Colour lists end at -1 or at their end; a pattern must cover its area.
  ok("BaseChart.setColors", {h, std::vector<int>{0x123456, 0x654321}});
  EXPECT_EQ(ok("BaseChart.getColor", {h, kDefaultBg + 1}).result.i, 0x654321);
  ok("BaseChart.setColors2", {h, 3, std::vector<int>{0x111111, -1, 0x222222}});
  EXPECT_EQ(ok("BaseChart.getColor", {h, kDefaultBg + 3}).result.i, 0x111111);
  EXPECT_NE(ok("BaseChart.getColor", {h, kDefaultBg + 4}).result.i, 0x222222);
  EXPECT_EQ(call({S("BaseChart.patternColor"), h, std::vector<int>{1, 2, 3}, 2, 2, 0, 0}).message,
            "Error converting argument 1 to type int const *");
  EXPECT_EQ(ok("BaseChart.gradientColor2", {h, std::vector<int>{0, 0xFF}, 0.0, 1.0, 0, 0})
                .result.i & 0xFFFF0000,
            static_cast<int>(0xFFFE0000));
  pie->destroy();
}

TEST(ScriptMarshal, BoolsEnumsAndRefusedResults) {
  XYChart *chart = XYChart::create(200, 100, 0xFFFF0000, Transparent);
  const S xy = handleOf(chart);
  const S layer = ok("XYChart.addLineLayer2", {xy, 0, 0}).result.text;
  EXPECT_TRUE(layer.starts_with("$$pointer$$class LineLayer *@"));
  const S set = ok("Layer.addDataSet", {layer, 9, std::vector<double>{1, 7, 3}, -1, S("s")})
                    .result.text;
  counters = {};
  ok("DataSet.setUseYAxis2", {set, 2});  // 2 is true
  EXPECT_EQ(counters.boolReads, 1);
  EXPECT_EQ(ok("Layer.getMaxY", {layer, 0}).result.d, 7.0);
  EXPECT_EQ(ok("Layer.getMaxX", {layer}).result.d, 3.0);

  const struct {
    std::vector<Value> argv;
    S type;
  } refused[] = {
      {{S("BaseChart.getColor"), xy, 0}, "int *"},
      {{S("Layer.getMaxY"), layer, 1}, "double *"},
      {{S("BaseChart.makeChart"), xy, S("")}, "bool *"},
      {{S("getCopyright")}, "char const * *"},
      {{S("XYChart.xAxis"), xy}, "class XAxis * *"},
      {{S("BaseChart.makeChart2"), xy, 0}, "class MemBlock *"},
  };
  for (const auto &r : refused)
    EXPECT_EQ(call(r.argv, true).message, "Error converting return value to type " + r.type);
  chart->destroy();
}

// Both chart kinds through the door alone, rendered to PNG bytes.
TEST(ScriptMarshal, ChartsAreBuiltAndRenderedThroughTheDoor) {
  const S png = "\x89PNG\r\n\x1a\n";
  const S xy = ok("XYChart.create", {300, 200, kDefaultBg, Transparent}).result.text;
  ok("XYChart.setPlotArea", {xy, 40, 20, 240, 150, 0xFFFFFF, -1, 0xC0C0C0, 0xC0C0C0, -1});
  ok("XAxis.setLabels", {ok("XYChart.xAxis", {xy}).result.text, 3, std::vector<S>{"a", "b", "c"}});
  ok("XYChart.addBarLayer", {xy, 3, std::vector<double>{3, 5, 4}, 0xFF0000, S("bars"), 0});
  ok("XYChart.addLegend", {xy, 50, 5, 0, S(""), 8.0});
  ok("XYChart.addTitle", {xy, S("Title"), S(""), 10.0, 0, Transparent, Transparent});
  const auto xyPng = ok("XYChart.makeChart2", {xy, 0});
  EXPECT_EQ(xyPng.result.kind, scripthost::Result::Kind::kBytes);
  EXPECT_TRUE(xyPng.result.text.starts_with(png));
  EXPECT_TRUE(ok("XYChart.getHTMLImageMap", {xy, S("x.html"), S(""), S("")}).result.text
                  .find("<area") != S::npos);

  const S pie = ok("PieChart.create", {200, 200, kDefaultBg, Transparent}).result.text;
  ok("PieChart.setPieSize", {pie, 100, 100, 60});
  ok("PieChart.setData", {pie, 3, std::vector<double>{1, 2, 3}, std::vector<S>{"x", "y", "z"}});
  ok("PieChart.set3D", {pie, 10, 45.0, 0});
  const S area = ok("PieChart.makeChart3", {pie}).result.text;
  const auto piePng = ok("DrawArea.outPNG2", {area});
  EXPECT_TRUE(piePng.result.text.starts_with(png));
  EXPECT_EQ(ok("DrawArea.getWidth", {area}).result.i, 200);
  ok("PieChart.destroy", {pie});
  ok("XYChart.destroy", {xy});
}

// A single stop at 255 or beyond is not an end: the ramp reads a pair with
// the next, so the last colour is appended and fills the whole ramp.
TEST(ScriptMarshal, GradientWithOneStopPastTheEndIsOneColour) {
  const S area = ok("DrawArea.create", {}).result.text;
  const int red = ok("DrawArea.gradientColor2", {area, std::vector<int>{300, 0xFF0000}, 0.0, 1.0,
                                                 0, 0}).result.i;
  ok("DrawArea.setSize", {area, 3, 1, 0x0000FF});
  for (int x = 0; x < 3; ++x) ok("DrawArea.pixel", {area, x, 0, red});
  for (int x = 0; x < 3; ++x) EXPECT_EQ(ok("DrawArea.getPixel", {area, x, 0}).result.i, 0xFF0000);
  ok("DrawArea.destroy", {area});
}

}  // namespace
