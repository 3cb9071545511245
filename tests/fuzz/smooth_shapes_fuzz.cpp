// Fuzzes smooth drawing: a small area in either smooth mode, then a script
// of shapes with any coordinates (the int extremes included), angles that
// may be huge or not finite, widths, and every kind of colour (plain, half
// transparent, table, dash, pattern, gradient, sheared by surfaces),
// sometimes inside a seam group. The rasteriser must clip whatever it is
// given, never read or write outside its buffers, and leave its scratch
// clear for the next shape.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>

#include "drawing/draw_area_impl.h"
#include "quorvane.h"

namespace {

class Reader {
 public:
  Reader(const uint8_t *data, size_t size) : data_(data), size_(size) {}
  bool done() const { return pos_ >= size_; }
  uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  // Mostly small, now and then an extreme.
  int coordinate() {
    const uint8_t kind = byte();
    switch (kind % 8) {
      case 0: return std::numeric_limits<int>::min();
      case 1: return std::numeric_limits<int>::max();
      case 2: return static_cast<int>(static_cast<uint32_t>(byte()) << 24 | byte() << 16 | byte() << 8 | byte());
      default: return static_cast<int>(byte()) - 64;
    }
  }
  double angle() {
    const uint8_t kind = byte();
    switch (kind % 10) {
      case 0: return std::nan("");
      case 1: return std::numeric_limits<double>::infinity();
      case 2: return 1e300;
      case 3: {
        double d = 0;
        uint8_t b[8];
        for (uint8_t &v : b) v = byte();
        std::memcpy(&d, b, sizeof d);
        return d;
      }
      default: return static_cast<double>(static_cast<int>(byte()) * 3 - 200);
    }
  }

 private:
  const uint8_t *data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  Reader in(data, size);
  DrawArea *area = DrawArea::create();
  area->setSize(1 + in.byte() % 96, 1 + in.byte() % 96, 0x00F0F0F0);
  area->setAntiAlias(1 + in.byte() % 2);
  const int pattern[4] = {0x00FF0000, static_cast<int>(0x8000FF00u), 0x000000FF,
                         static_cast<int>(0xFF000000u)};
  const int stops[6] = {0, 0x00000000, 128, 0x40FF8000, 255, 0x000000FF};
  area->setColorTable(pattern, 4, 0);
  const int colors[] = {0x00203040,
                        static_cast<int>(0x80C04000u),
                        static_cast<int>(0xFF000000u),
                        static_cast<int>(0xFFFF0001u),
                        area->dashLineColor(0x00000000, 0x03020101),
                        area->patternColor(pattern, 2, 2, 1, 1),
                        area->gradientColor(0, 0, 40, 30, 0x00FF0000, 0x000000FF),
                        area->gradientColor2(stops, 30, 2, 0, 0)};
  auto color = [&] { return colors[in.byte() % (sizeof colors / sizeof colors[0])]; };
  std::optional<quorvane::DrawAreaImpl::SeamGroup> group;
  for (int op = 0; op < 32 && !in.done(); ++op) {
    switch (in.byte() % 9) {
      case 0:
        area->line(in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate(), color(),
                   1 + in.byte() % 12);
        break;
      case 1: {
        int x[12], y[12];
        const int n = in.byte() % 12;
        for (int i = 0; i < n; ++i) x[i] = in.coordinate(), y[i] = in.coordinate();
        area->polygon(x, y, n, color(), color());
        break;
      }
      case 2:
        area->surface(in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate(),
                      in.coordinate(), in.coordinate(), color(), color());
        break;
      case 3:
        area->circle(in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate(), color(),
                     color());
        break;
      case 4:
        area->arc(in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate(), in.angle(),
                  in.angle(), color());
        break;
      case 5:
        area->sector(in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate(),
                     in.angle(), in.angle(), color(), color());
        break;
      case 6:
        area->cylinder(in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate(),
                       in.angle(), in.angle(), in.coordinate(), in.coordinate(), color(), color());
        break;
      case 7:
        if (group) group.reset();
        else group.emplace(*area);
        break;
      default:
        // Something outside the group changes pixels the group tracks.
        area->rect(in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate(), color(),
                   color(), 0);
        break;
    }
  }
  group.reset();
  area->destroy();
  return 0;
}
