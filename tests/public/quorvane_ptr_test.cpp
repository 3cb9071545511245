// quorvane_ptr.h: owned charts and drawables are destroyed exactly once, at
// scope end, on reset, or with the chart that took them. A host drawable counts
// its destroy calls; ASan reports any leak or second destroy.
#include "quorvane_ptr.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

using quorvane::ChartPtr;

class CountedObj : public DrawObj {
public:
    explicit CountedObj(int &destroys) : destroys_(destroys) {}
    void destroy() override {
        ++destroys_;
        delete this;
    }
    void draw(DrawArea *) override {}

private:
    int &destroys_;
};

quorvane::Ptr<CountedObj> counted(int &destroys) { return quorvane::own(new CountedObj(destroys)); }

TEST(QuorvanePtr, OwnedObjectsAreDestroyedOnce) {
    struct Case {
        const char *name;
        // Runs the scenario and returns the destroy count at its checkpoint,
        // while the owner is still in scope.
        std::function<int(int &)> run;
        int destroysAtCheckpoint;
    };
    const Case cases[] = {
        {"host drawable at scope end", [](int &n) { auto obj = counted(n); return n; }, 0},
        {"chart takes the drawable",
         [](int &n) {
             auto chart = quorvane::makeXYChart(60, 40, 0xFFFF0000, Transparent);
             EXPECT_NE(quorvane::addDrawObj(*chart, counted(n)), nullptr);
             return n;
         },
         0},
        {"moved into a base chart pointer",
         [](int &n) {
             ChartPtr<BaseChart> base;
             {
                 auto pie = quorvane::makePieChart(60, 40, 0xFFFF0000, Transparent);
                 quorvane::addDrawObj(*pie, counted(n));
                 base = std::move(pie);
             }
             return n;
         },
         0},
        {"reset before scope end",
         [](int &n) {
             auto chart = quorvane::makeXYChart(60, 40, 0xFFFF0000, Transparent);
             quorvane::addDrawObj(*chart, counted(n));
             chart.reset();
             return n;
         },
         1},
    };
    for (const Case &c : cases) {
        int destroys = 0;
        EXPECT_EQ(c.run(destroys), c.destroysAtCheckpoint) << c.name;
        EXPECT_EQ(destroys, 1) << c.name;
    }
}

TEST(QuorvanePtr, AreaOutlivesItsText) {
    auto area = quorvane::makeArea();
    ASSERT_NE(area, nullptr);
    // Declared after the area, the text goes first: it draws on the area.
    quorvane::TextPtr text = quorvane::own(area->text3("Q", "arial.ttf", 10));
    ASSERT_NE(text, nullptr);
    EXPECT_GT(text->getWidth(), 0);
}

}  // namespace
