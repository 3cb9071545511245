// Images a host lends to a chart (a legend key's symbol, a data symbol) are
// drawn only while the very image lent lives: one destroyed, and another
// made at its address, is not taken for it.
#include <gtest/gtest.h>

#include <memory>

#include "base/live_objects.h"
#include "quorvane.h"

namespace {

// The image lent is replaced, in the table of live objects, by a new object at
// its address (as if destroyed and made again there; a sanitizer's quarantine
// keeps real addresses from being taken again soon), until the end of scope.
class Remade {
 public:
  explicit Remade(DrawArea *area)
      : area_(area), old_(quorvane::generationOf(area)), new_(quorvane::newGeneration()) {
    quorvane::liveObjects().remove("DrawArea", area_, old_);
    quorvane::liveObjects().add("DrawArea", area_, new_);
  }
  ~Remade() {
    quorvane::liveObjects().remove("DrawArea", area_, new_);
    quorvane::liveObjects().add("DrawArea", area_, old_);
  }

 private:
  DrawArea *area_;
  uint64_t old_, new_;
};

constexpr int kSymbolColor = 0x12C034;

// Pixels of the symbol's colour in a chart lending image to a legend key and
// to a line layer's data symbol.
int symbolPixels(DrawArea *image, bool remade) {
  XYChart *chart = XYChart::create(200, 150, 0xFFFFFF, Transparent);
  chart->setPlotArea(30, 40, 150, 90, 0xFFFFFF, -1, -1, -1, -1);
  const double values[] = {1, 3, 2};
  chart->addLineLayer2(Layer::Overlay, 0)
      ->addDataSet(3, values, 0x000080, "line")
      ->setDataSymbol3(image);
  chart->addLegend(10, 5, false, "", 8)->addKey("key", 0x808080, 0, image);
  int count = 0;
  {
    const auto remake = [&] { return remade ? std::make_unique<Remade>(image) : nullptr; }();
    DrawArea *area = chart->makeChart3();
    for (int y = 0; y < area->getHeight(); ++y)
      for (int x = 0; x < area->getWidth(); ++x) count += area->getPixel(x, y) == kSymbolColor;
  }
  chart->destroy();
  return count;
}

TEST(BorrowedImage, OnlyTheImageLentIsDrawn) {
  DrawArea *image = DrawArea::create();
  image->setSize(5, 5, kSymbolColor);
  // Three data symbols and the legend key's, the line crossing some pixels.
  EXPECT_GT(symbolPixels(image, false), 2 * 25);
  EXPECT_EQ(symbolPixels(image, true), 0);

  quorvane::Borrowed<DrawArea> lent(image);
  EXPECT_EQ(lent.get(), image);
  image->destroy();
  EXPECT_TRUE(lent.isSet());
  EXPECT_EQ(lent.get(), nullptr);
  EXPECT_EQ(quorvane::Borrowed<DrawArea>(nullptr).get(), nullptr);
}

}  // namespace
