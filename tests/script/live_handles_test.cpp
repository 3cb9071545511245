// Handles are checked against the table of live objects: a forged address, an
// object destroyed directly or with its chart, and an address written under a
// class it does not have are rejected with the usual messages, while a live
// object still converts to its bases.
#include <gtest/gtest.h>

#include <cstdio>

#include "script_host.h"

using scripthost::call;
using scripthost::Value;
using S = std::string;

namespace {

S result(std::vector<Value> argv) {
  const auto o = call(std::move(argv));
  EXPECT_TRUE(o.ok) << o.message;
  return o.result.text;
}

// The address of handle written under the pointer type typeName.
S relabelled(const S &handle, const char *typeName) {
  return S("$$pointer$$") + typeName + handle.substr(handle.find('@'));
}

S objectMessage(const char *typeName) {
  return S("Error converting object pointer to type ") + typeName;
}

TEST(ScriptLiveHandles, OnlyLiveObjectsOfTheNamedClassPass) {
  const S area = result({S("DrawArea.create")});
  const S goneArea = result({S("DrawArea.create")});
  const S pie = result({S("PieChart.create"), 60, 40, 0xffffff, -1});
  const S chart = result({S("XYChart.create"), 60, 40, 0xffffff, -1});
  const S layer = result({S("XYChart.addBarLayer"), chart, 1, std::vector<double>{2}, -1, S(""), 0});
  const S dataSet = result({S("Layer.addDataSet"), layer, 1, std::vector<double>{3}, -1, S("")});
  const S mark = result({S("BaseAxis.addMark"), result({S("XYChart.yAxis"), chart}), 1.0,
                         0xff0000, S("m"), S(""), 8.0});
  int notAnObject = 0;
  char forged[64];
  std::snprintf(forged, sizeof forged, "$$pointer$$class DrawArea *@%llx",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(&notAnObject)));
  // Destroyed last, so that no area made since has taken its address.
  result({S("DrawArea.destroy"), goneArea});

  const struct {
    std::vector<Value> argv;
    S message;  // empty: the call succeeds
  } cases[] = {
      {{S("DrawArea.getWidth"), S(forged)}, objectMessage("class DrawArea *")},
      {{S("DrawArea.getWidth"), goneArea}, objectMessage("class DrawArea *")},
      {{S("DrawArea.destroy"), goneArea}, objectMessage("class DrawArea *")},
      {{S("DrawArea.merge"), area, goneArea, 0, 0, 5, 0},
       "Error converting argument 1 to type class DrawArea const *"},
      {{S("XYChart.yAxis"), pie}, objectMessage("class XYChart *")},
      {{S("XYChart.yAxis"), relabelled(pie, "class XYChart *")}, objectMessage("class XYChart *")},
      {{S("Layer.setLineWidth"), dataSet, 2}, objectMessage("class Layer *")},
      {{S("Layer.setLineWidth"), relabelled(dataSet, "class Layer *"), 2},
       objectMessage("class Layer *")},
      {{S("DrawArea.getWidth"), relabelled(area, "class DrawArea const")},
       objectMessage("class DrawArea *")},
      {{S("Layer.setLineWidth"), layer, 2}, ""},
      {{S("Layer.setLineWidth"), relabelled(layer, "class Layer *"), 2}, ""},
      {{S("Box.setPos"), mark, 1, 2}, ""},
      {{S("Box.setPos"), relabelled(mark, "class TextBox *"), 1, 2}, ""},
      {{S("BaseChart.setSize"), chart, 70, 50}, ""},
      {{S("DrawArea.merge"), area, relabelled(area, "class DrawArea const *"), 0, 0, 5, 0}, ""},
  };
  for (const auto &c : cases) {
    const auto o = call(c.argv);
    EXPECT_EQ(o.ok, c.message.empty()) << std::get<S>(c.argv[0]);
    if (!c.message.empty()) {
      EXPECT_EQ(o.message, c.message) << std::get<S>(c.argv[0]);
    }
  }

  // Children leave with their chart.
  const S labelStyle = result({S("Layer.setDataLabelStyle"), layer, S(""), 8.0, 0, 0.0});
  result({S("BaseChart.destroy"), chart});
  const struct {
    std::vector<Value> argv;
    const char *typeName;
  } children[] = {
      {{S("Layer.setLineWidth"), layer, 2}, "class Layer *"},
      {{S("BarLayer.setBarGap"), layer, 0.5, 0.2}, "class BarLayer *"},
      {{S("DataSet.setLineWidth"), dataSet, 2}, "class DataSet *"},
      {{S("Mark.setValue"), mark, 2.0}, "class Mark *"},
      {{S("TextBox.setText"), labelStyle, S("x")}, "class TextBox *"},
      {{S("BaseChart.destroy"), chart}, "class BaseChart *"},
  };
  for (const auto &c : children) EXPECT_EQ(call(c.argv).message, objectMessage(c.typeName));

  result({S("BaseChart.destroy"), pie});
  result({S("DrawArea.destroy"), area});
}

}  // namespace
