// Running out of memory anywhere inside a published call: the sweep of
// failing_alloc.h refuses allocation number N of a run, over a whole pie
// chart and a whole drawing session. Nothing here catches: an exception that
// left the library would fail the test, and ASan's leak check sees through
// malloc whatever a failure path forgot to free.
#include "failing_alloc.h"

#include "quorvane.h"

namespace {

using failalloc::gInjector;
using failalloc::lib;
using failalloc::Attempt;
using failalloc::sweep;

// A 3D pie with title, legend, labels and an exploded sector, drawn to PNG
// and GIF in memory, with its image map.
Attempt renderPie() {
  static const double values[] = {25, 18, 15, 12};
  static const char *const labels[] = {"North", "South", "East", "West"};
  Attempt run;
  PieChart *pie = lib([] { return PieChart::create(360, 260, 0xFFFFFF, Transparent); });
  if (pie == nullptr) return run;
  run.created = true;
  bool ok = true;
  ok &= lib([&] { return pie->addTitle("Regions", "arialbd.ttf", 12, 0x000000, Transparent,
                                       Transparent); }) != nullptr;
  ok &= lib([&] { return pie->addLegend(10, 30, true, "arial.ttf", 8); }) != nullptr;
  lib([&] { pie->setPieSize(180, 140, 80); });
  lib([&] { pie->set3D(-1, -1, false); });
  lib([&] { pie->setData(4, values, labels); });
  ok &= lib([&] { return pie->sector(3); }) != nullptr;  // all four were made
  if (Sector *s = lib([&] { return pie->sector(0); })) lib([&] { s->setExplode(-1); });
  ok &= lib([&] { return pie->setLabelStyle("arial.ttf", 9, 0x202020); }) != nullptr;
  run.setUp = ok;
  run.add("PNG", lib([&] { return pie->makeChart2(BaseChart::PNG); }));
  run.add("GIF", lib([&] { return pie->makeChart2(BaseChart::GIF); }));
  run.add("map", lib([&] { return pie->getHTMLImageMap("d.php", "", "title='{label}'"); }));
  lib([&] { pie->destroy(); });
  return run;
}

// A drawing session: shapes in plain and special colours, flood fills, text, merging,
// and every memory output.
Attempt renderArea() {
  Attempt run;
  DrawArea *a = lib([] { return DrawArea::create(); });
  if (a == nullptr) return run;
  run.created = true;
  static const int table[] = {0x3060C0, 0xC06030};
  static const int stripes[] = {0xFF0000, 0x0000FF, 0x00FF00, 0x000000};
  static const int stops[] = {0, 0xFF0000, 128, 0x00FF00, 255, 0x0000FF};
  static const int px[] = {5, 40, 30, 8}, py[] = {5, 10, 35, 30};
  lib([&] { a->setSize(71, 47, 0xFFFFFF); });
  lib([&] { a->setColorTable(table, 2, 0); });
  const int dash = lib([&] { return a->dashLineColor(0x000000, 0x03020302); });
  const int pattern = lib([&] { return a->patternColor(stripes, 2, 2, 0, 0); });
  const int ramp = lib([&] { return a->gradientColor(0, 0, 70, 0, 0xFF0000, 0x0000FF); });
  const int ramp2 = lib([&] { return a->gradientColor2(stops, 30, 1, 0, 0); });
  lib([&] { a->rect(2, 2, 68, 44, dash, ramp, 2); });
  lib([&] { a->polygon(px, py, 4, static_cast<int>(0xFFFF0000u), pattern); });
  lib([&] { a->sector(50, 20, 15, 10, 30, 250, 0x000000, ramp2); });
  lib([&] { a->cylinder(20, 30, 12, 6, 90, 270, 0, 5, 0x000000, 0x808080); });
  lib([&] { a->surface(40, 30, 60, 35, 6, 4, 0x000000, pattern); });
  lib([&] { a->circle(60, 38, 6, 4, 0x000000, static_cast<int>(0xFFFF0001u)); });
  lib([&] { a->arc(35, 23, 20, 12, 200, 340, dash); });
  lib([&] { a->line(0, 46, 70, 0, dash, 2); });
  lib([&] { a->fill(0, 0, pattern); });
  lib([&] { a->fill2(60, 38, ramp, 0x000000); });
  lib([&] { a->text2("Qy\nOk", "arial.ttf", 0, 10, 0, 15, 0, 35, 23, 0x000000, AlignCentre); });
  if (TTFText *t = lib([&] { return a->text3(u"Ab", "times.ttf", 9); })) {
    lib([&] { t->draw(3, 3, 0x400000FF, AlignTopLeft); });
    lib([&] { a->close(t); });
  }
  if (DrawArea *b = lib([] { return DrawArea::create(); })) {
    lib([&] { b->setSize(9, 7, 0x8000FF00); });
    lib([&] { a->merge(b, 35, 23, AlignCentre, 64); });
    lib([&] { b->tile(a, 0); });
    lib([&] { b->destroy(); });
  }
  lib([&] { a->merge(a, 3, 2, AlignTopLeft, 100); });
  run.setUp = gInjector.refusals == 0;
  // Each output either succeeds, its reason empty, or fails for want of memory.
  const auto add = [&](const char *name, MemBlock block) {
    EXPECT_STREQ(a->getLastError(), block.data != nullptr ? "" : "out of memory") << name;
    run.add(name, block);
  };
  add("PNG", lib([&] { return a->outPNG2(); }));
  add("GIF", lib([&] { return a->outGIF2(); }));
  add("JPEG", lib([&] { return a->outJPG2(70); }));
  add("WBMP", lib([&] { return a->outWMP2(); }));
  lib([&] { a->destroy(); });
  return run;
}

TEST(FailingAllocation, APieChartFailsCleanlyWhereverMemoryRunsOut) {
  sweep(renderPie, "pie");
}

TEST(FailingAllocation, ADrawingSessionFailsCleanlyWhereverMemoryRunsOut) {
  sweep(renderArea, "area");
}

}  // namespace
