// Handles are checked against the table of live objects: a forged address, an
// object destroyed directly or with its chart, an address written under a
// class it does not have, and a handle to an object destroyed since whose
// address a new object has taken are rejected with the usual messages, while
// a live object still converts to its bases.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "base/live_objects.h"
#include "script/marshal.h"
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

// The part of a handle that hosts may show: type and address.
S shown(const S &handle) { return handle.substr(0, handle.find(':')); }

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
  std::snprintf(forged, sizeof forged, "$$pointer$$class DrawArea *@%llx:1",
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

// Gives a live object a new generation under each of its names, as if it
// had been destroyed and another made at its address (a sanitizer's
// quarantine keeps freed addresses from being taken again), and gives it
// back its own when it ends, so that its destruction finds its entries.
class Reissued {
 public:
  template <class X>
  explicit Reissued(X *object) : old_(quorvane::generationOf(object)) {
    new_ = quorvane::newGeneration();
    forEach(object, [this](std::string_view name, const void *address) {
      quorvane::liveObjects().remove(name, address, old_);
      quorvane::liveObjects().add(name, address, new_);
    });
    handle_ = quorvane::script::handleOf(object);
  }
  ~Reissued() {
    for (const auto &[name, address] : names_) {
      quorvane::liveObjects().remove(name, address, new_);
      quorvane::liveObjects().add(name, address, old_);
    }
  }
  const S &handle() const { return handle_; }

 private:
  template <class X, class F>
  void forEach(X *object, F f) {
    f(quorvane::kPublishedName<X>, object);
    names_.emplace_back(quorvane::kPublishedName<X>, object);
    using Base = typename quorvane::PublishedBase<X>::Type;
    if constexpr (!std::is_void_v<Base>) forEach(static_cast<Base *>(object), f);
  }
  uint64_t old_, new_;
  std::vector<std::pair<std::string_view, const void *>> names_;
  S handle_;
};

TEST(ScriptLiveHandles, AHandleIsRefusedOnceAnotherObjectTakesItsAddress) {
  using quorvane::script::parseHandle;
  const auto chartWidth = [](const S &h) {
    const auto area = call({S("BaseChart.makeChart3"), h});
    return area.ok ? std::to_string(call({S("DrawArea.getWidth"), area.result.text}).result.i)
                   : S();
  };
  const struct {
    const char *create;
    std::vector<Value> args;
    const char *destroy;
    std::function<std::vector<Value>(const S &)> resize;  // to 123 x 45
    std::function<S(const S &)> width;                    // "" when refused
    std::function<std::unique_ptr<Reissued>(const S &)> reissue;
  } kinds[] = {
      {"XYChart.create", {70, 50, 0xffffff, -1}, "BaseChart.destroy",
       [](const S &h) { return std::vector<Value>{S("BaseChart.setSize"), h, 123, 45}; },
       chartWidth,
       [](const S &h) {
         return std::make_unique<Reissued>(static_cast<XYChart *>(parseHandle(h, "class XYChart *")));
       }},
      {"PieChart.create", {70, 50, 0xffffff, -1}, "BaseChart.destroy",
       [](const S &h) { return std::vector<Value>{S("BaseChart.setSize"), h, 123, 45}; },
       chartWidth,
       [](const S &h) {
         return std::make_unique<Reissued>(
             static_cast<PieChart *>(parseHandle(h, "class PieChart *")));
       }},
      {"DrawArea.create", {}, "DrawArea.destroy",
       [](const S &h) { return std::vector<Value>{S("DrawArea.setSize"), h, 123, 45, 0}; },
       [](const S &h) {
         const auto o = call({S("DrawArea.getWidth"), h});
         return o.ok ? std::to_string(o.result.i) : S();
       },
       [](const S &h) {
         return std::make_unique<Reissued>(
             static_cast<DrawArea *>(parseHandle(h, "class DrawArea *")));
       }},
  };
  for (const auto &k : kinds) {
    std::vector<Value> create{S(k.create)};
    create.insert(create.end(), k.args.begin(), k.args.end());
    const S a = result(create);
    // Destroy a and make objects of its class until one takes its address.
    result({S(k.destroy), a});
    std::vector<S> made;
    S b;
    for (int i = 0; i < 64 && b.empty(); ++i) {
      made.push_back(result(create));
      if (shown(made.back()) == shown(a)) b = made.back();
    }
    std::unique_ptr<Reissued> reissued;
    S old = a;
    if (b.empty()) {
      // No address came back: the newest object plays a's successor.
      old = made.back();
      reissued = k.reissue(old);
      b = reissued->handle();
    }
    SCOPED_TRACE(S(k.create) + (reissued ? " (reissued)" : " (address taken again)"));
    EXPECT_EQ(shown(old), shown(b));
    EXPECT_NE(old, b);
    if (k.create == S("DrawArea.create")) result({S("DrawArea.setSize"), b, 70, 50, 0});

    const char *type = k.create == S("DrawArea.create") ? "class DrawArea *" : "class BaseChart *";
    EXPECT_EQ(call(k.resize(old)).message, objectMessage(type));
    EXPECT_EQ(k.width(old), "");
    EXPECT_EQ(call({S(k.destroy), old}).message, objectMessage(type));
    EXPECT_EQ(k.width(b), "70");  // untouched by the stale handle (a chart is drawn now)
    EXPECT_TRUE(call(k.resize(b)).ok);

    // Everything made is destroyed by its own handle, the reissued object
    // once it has its own generation back.
    reissued.reset();
    for (const S &h : made) result({S(k.destroy), h});
  }
}

TEST(ScriptLiveHandles, ASectorHandleDoesNotReachTheSectorMadeBySetData) {
  const S pie = result({S("PieChart.create"), 60, 40, 0xffffff, -1});
  result({S("PieChart.setData"), pie, 1, std::vector<double>{1}, std::vector<S>{"a"}});
  const S first = result({S("PieChart.sector"), pie, 0});
  result({S("Sector.setExplode"), first, 3});
  // The new sector is commonly made where the old one was.
  result({S("PieChart.setData"), pie, 1, std::vector<double>{2}, std::vector<S>{"b"}});
  const S second = result({S("PieChart.sector"), pie, 0});
  EXPECT_NE(first, second);
  EXPECT_EQ(call({S("Sector.setExplode"), first, 5}).message, objectMessage("class Sector *"));
  EXPECT_EQ(call({S("Sector.setColor"), first, 0xff, -1}).message, objectMessage("class Sector *"));
  result({S("Sector.setExplode"), second, 5});
  EXPECT_EQ(result({S("PieChart.sector"), pie, 0}), second);  // the handle is stable while it lives
  result({S("BaseChart.destroy"), pie});
}

}  // namespace
