// A host may destroy objects while the library reads a call's arguments
// through its accessors (a conversion with side effects, or a callback that
// calls back in). The call's object and every object argument are checked
// again once all arguments are read, so a call on an object destroyed on the
// way, or with one, is refused with that handle's usual message and nothing
// destroyed is touched (ASan sees any such use).
#include <gtest/gtest.h>

#include <functional>

#include "script/marshal.h"
#include "script_host.h"

using scripthost::call;
using scripthost::Value;
using S = std::string;

namespace {

S handle(std::vector<Value> argv) {
  const S name = std::get<S>(argv[0]);
  const auto o = call(std::move(argv));
  EXPECT_TRUE(o.ok) << name << ": " << o.message;
  return o.result.text;
}

// A chart destroyed through its pointer, not through the door.
void destroyDirectly(const S &chart) {
  auto *p = static_cast<BaseChart *>(quorvane::script::parseHandle(chart, "class BaseChart *"));
  ASSERT_NE(p, nullptr);
  p->destroy();
}

void destroyThroughDoor(const char *method, const S &object) {
  EXPECT_TRUE(call({S(method), object}).ok) << method;
}

S objectMessage(const char *typeName) {
  return S("Error converting object pointer to type ") + typeName;
}

S argumentMessage(int position, const char *typeName) {
  return "Error converting argument " + std::to_string(position) + " to type " + typeName;
}

// One call whose reading of trigger destroys something; what is left alive
// is destroyed by cleanUp.
struct Plan {
  std::vector<Value> argv;
  Value trigger;
  std::function<void()> destroy;
  S message;
  std::function<void()> cleanUp = [] {};
};

S xyChart() { return handle({S("XYChart.create"), 60, 40, 0xffffff, -1}); }

TEST(ScriptDestroyedDuringCall, ObjectsDestroyedWhileArgumentsAreReadAreRefused) {
  const struct {
    const char *what;
    std::function<Plan()> make;
  } cases[] = {
      {"a double destroys the layer's chart",
       [] {
         const S chart = xyChart();
         const S layer =
             handle({S("XYChart.addBarLayer"), chart, 1, std::vector<double>{2}, -1, S(""), 0});
         return Plan{{S("BarLayer.setBarGap"), layer, 0.625, 0.2},
                     0.625,
                     [chart] { destroyDirectly(chart); },
                     objectMessage("class BarLayer *")};
       }},
      {"an int destroys the chart through the door",
       [] {
         const S chart = xyChart();
         return Plan{{S("BaseChart.setSize"), chart, 77, 50},
                     77,
                     [chart] { destroyThroughDoor("BaseChart.destroy", chart); },
                     objectMessage("class BaseChart *")};
       }},
      {"a string destroys the chart",
       [] {
         const S chart = xyChart();
         return Plan{{S("BaseChart.addTitle"), chart, S("boom"), S(""), 10.0, 0, -1, -1},
                     S("boom"),
                     [chart] { destroyDirectly(chart); },
                     objectMessage("class BaseChart *")};
       }},
      {"a bool destroys the chart",
       [] {
         const S chart = xyChart();
         const S set = handle({S("Layer.addDataSet"),
                               handle({S("XYChart.addLineLayer2"), chart, 0, 0}), 1,
                               std::vector<double>{1}, -1, S("")});
         return Plan{{S("DataSet.setUseYAxis2"), set, 88},
                     88,
                     [chart] { destroyDirectly(chart); },
                     objectMessage("class DataSet *")};
       }},
      {"an array of doubles destroys the layer's chart",
       [] {
         const S chart = xyChart();
         const S layer = handle({S("XYChart.addLineLayer2"), chart, 0, 0});
         return Plan{{S("Layer.addDataSet"), layer, 3, std::vector<double>{1, 2.5, 3}, -1, S("s")},
                     std::vector<double>{1, 2.5, 3},
                     [chart] { destroyThroughDoor("BaseChart.destroy", chart); },
                     objectMessage("class Layer *")};
       }},
      {"an array of strings destroys the pie",
       [] {
         const S pie = handle({S("PieChart.create"), 60, 40, 0xffffff, -1});
         const std::vector<S> labels{"a", "boom"};
         return Plan{{S("PieChart.setData"), pie, 2, std::vector<double>{1, 2}, labels},
                     labels,
                     [pie] { destroyDirectly(pie); },
                     objectMessage("class PieChart *")};
       }},
      {"an int destroys the merge source",
       [] {
         const S area = handle({S("DrawArea.create")});
         const S source = handle({S("DrawArea.create")});
         return Plan{{S("DrawArea.merge"), area, source, 91, 0, 5, 0},
                     91,
                     [source] { destroyThroughDoor("DrawArea.destroy", source); },
                     argumentMessage(1, "class DrawArea const *"),
                     [area] { destroyThroughDoor("DrawArea.destroy", area); }};
       }},
      {"an int destroys the chart whose area is the merge source",
       [] {
         const S area = handle({S("DrawArea.create")});
         const S chart = xyChart();
         const S source = handle({S("BaseChart.getDrawArea"), chart});
         return Plan{{S("DrawArea.merge"), area, source, 91, 0, 5, 0},
                     91,
                     [chart] { destroyDirectly(chart); },
                     argumentMessage(1, "class DrawArea const *"),
                     [area] { destroyThroughDoor("DrawArea.destroy", area); }};
       }},
      {"reading the drawable's handle destroys the chart it is added to",
       [] {
         const S chart = xyChart();
         const S other = xyChart();
         const S title = handle({S("BaseChart.addTitle"), other, S("t"), S(""), 10.0, 0, -1, -1});
         const S drawable = "$$pointer$$class DrawObj *" + title.substr(title.find('@'));
         return Plan{{S("BaseChart.addDrawObj"), chart, drawable},
                     drawable,
                     [chart] { destroyDirectly(chart); },
                     objectMessage("class BaseChart *"),
                     [other] { destroyThroughDoor("BaseChart.destroy", other); }};
       }},
      {"reading the symbol image destroys the data set's chart",
       [] {
         const S area = handle({S("DrawArea.create")});
         const S chart = xyChart();
         const S set = handle({S("Layer.addDataSet"),
                               handle({S("XYChart.addLineLayer2"), chart, 0, 0}), 1,
                               std::vector<double>{1}, -1, S("")});
         return Plan{{S("DataSet.setDataSymbol3"), set, area},
                     area,
                     [chart] { destroyThroughDoor("BaseChart.destroy", chart); },
                     objectMessage("class DataSet *"),
                     [area] { destroyThroughDoor("DrawArea.destroy", area); }};
       }},
  };
  for (const auto &c : cases) {
    Plan plan = c.make();
    int fired = 0;
    scripthost::beforeRead = [&](const Value &v) {
      if (fired == 0 && v == plan.trigger) {
        ++fired;
        plan.destroy();
      }
    };
    const auto o = call(plan.argv);
    scripthost::beforeRead = nullptr;
    EXPECT_EQ(fired, 1) << c.what;
    EXPECT_FALSE(o.ok) << c.what;
    EXPECT_EQ(o.message, plan.message) << c.what;
    plan.cleanUp();
  }
}

// The same calls with a host that destroys nothing go through, so the
// refusals above come from the destruction alone.
TEST(ScriptDestroyedDuringCall, TheSameCallsPassWhenNothingIsDestroyed) {
  const S chart = xyChart();
  const S layer = handle({S("XYChart.addBarLayer"), chart, 1, std::vector<double>{2}, -1, S(""), 0});
  const S area = handle({S("DrawArea.create")});
  const S set = handle({S("Layer.addDataSet"), layer, 3, std::vector<double>{1, 2.5, 3}, -1, S("s")});
  int reads = 0;
  scripthost::beforeRead = [&](const Value &) { ++reads; };
  EXPECT_TRUE(call({S("BarLayer.setBarGap"), layer, 0.625, 0.2}).ok);
  EXPECT_TRUE(call({S("BaseChart.setSize"), chart, 77, 50}).ok);
  EXPECT_TRUE(call({S("DataSet.setDataSymbol3"), set, area}).ok);
  EXPECT_TRUE(
      call({S("DrawArea.merge"), area, handle({S("BaseChart.getDrawArea"), chart}), 91, 0, 5, 0})
          .ok);
  scripthost::beforeRead = nullptr;
  EXPECT_GE(reads, 4 + 4 + 3 + 7);
  destroyThroughDoor("BaseChart.destroy", chart);
  destroyThroughDoor("DrawArea.destroy", area);
}

}  // namespace
