// Image encoding against floors measured in the same run, reported as
// ratios at the end:
// - the GIF writer alone and outGIF2 as a whole against giflib's EGifPutLine
//   coding the same index bytes (and the byte sizes of both files);
// - outPNG2 against libpng writing the same palette and index bytes with its
//   default settings;
// - reducePalette per megapixel (200 colours exact, 5,000 colours with each
//   dither method) against one pass that reads each pixel and writes a byte.
// The chart-like scene is seeded: flat background and plot area, bars, grid
// lines and 200 distinct edge colours along the bars' slanted tops.
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <png.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "imageio/codecs.h"
#include "imageio/palette.h"
#include "quorvane.h"

namespace {

namespace io = quorvane::imageio;

constexpr int kWidth = 600;
constexpr int kHeight = 400;

DrawArea *chartScene() {
  DrawArea *a = DrawArea::create();
  a->setSize(kWidth, kHeight, 0xFFFFFF);
  a->rect(50, 30, 580, 360, 0x000000, 0xF4F4FA, 0);
  for (int y = 60; y < 360; y += 30) a->hline(51, 579, y, 0xC0C0C0);
  std::mt19937 rng(5);
  for (int i = 0; i < 10; ++i) {
    const int x = 70 + i * 50, top = 80 + static_cast<int>(rng() % 200);
    a->rect(x, top, x + 30, 359, 0x000000, 0x3060C0, 0);
  }
  // 200 edge colours, the kind anti-aliased text and slanted edges leave.
  for (int i = 0; i < 200; ++i) {
    const int x = 60 + static_cast<int>(rng() % 500), y = 40 + static_cast<int>(rng() % 300);
    const int shade = 0x40 + i % 0xA0;
    a->hline(x, x + 3, y, (shade << 16) | ((i * 7) & 0xFF) << 8 | (0xFF - shade));
  }
  return a;
}

io::ImageView viewOf(DrawArea *a, std::vector<uint32_t> &pixels) {
  pixels.resize(static_cast<size_t>(a->getWidth()) * a->getHeight());
  for (int y = 0; y < a->getHeight(); ++y)
    for (int x = 0; x < a->getWidth(); ++x)
      pixels[static_cast<size_t>(y) * a->getWidth() + x] = static_cast<uint32_t>(a->getPixel(x, y));
  io::ImageView v;
  v.pixels = pixels.data();
  v.width = a->getWidth();
  v.height = a->getHeight();
  return v;
}

struct Reduced {
  uint32_t palette[256];
  std::vector<uint8_t> indices;
  int count = 0;
  int transparentIndex = -1;
};

struct Scene {
  DrawArea *area = chartScene();
  std::vector<uint32_t> pixels;
  io::ImageView view = viewOf(area, pixels);
  Reduced reduced = [this] {
    Reduced r;
    r.indices.resize(pixels.size());
    r.count = io::reducePalette(view, r.palette, r.indices.data(), r.transparentIndex, true);
    return r;
  }();
};

Scene &scene() {
  static Scene s;
  return s;
}

std::vector<uint8_t> giflibEncode(const Reduced &r) {
  std::vector<uint8_t> out;
  auto output = [](GifFileType *gif, const GifByteType *src, int n) -> int {
    auto *o = static_cast<std::vector<uint8_t> *>(gif->UserData);
    o->insert(o->end(), src, src + n);
    return n;
  };
  int error = 0;
  GifFileType *gif = EGifOpen(&out, output, &error);
  int size = 2;
  while (size < r.count) size *= 2;
  GifColorType colors[256] = {};
  for (int i = 0; i < r.count; ++i)
    colors[i] = {static_cast<GifByteType>(r.palette[i] >> 16), static_cast<GifByteType>(r.palette[i] >> 8),
                 static_cast<GifByteType>(r.palette[i])};
  ColorMapObject *map = GifMakeMapObject(size, colors);
  EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, map);
  EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr);
  for (int y = 0; y < kHeight; ++y)
    EGifPutLine(gif, const_cast<GifByteType *>(r.indices.data()) + static_cast<size_t>(y) * kWidth, kWidth);
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

std::vector<uint8_t> libpngEncode(const Reduced &r) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, size_t n) {
          auto *o = static_cast<std::vector<uint8_t> *>(png_get_io_ptr(p));
          o->insert(o->end(), data, data + n);
        },
        [](png_structp) {});
    const int depth = r.count <= 2 ? 1 : r.count <= 4 ? 2 : r.count <= 16 ? 4 : 8;
    png_set_IHDR(png, info, kWidth, kHeight, depth, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color plte[256];
    for (int i = 0; i < r.count; ++i)
      plte[i] = {static_cast<png_byte>(r.palette[i] >> 16), static_cast<png_byte>(r.palette[i] >> 8),
                 static_cast<png_byte>(r.palette[i])};
    png_set_PLTE(png, info, plte, r.count);
    png_write_info(png, info);
    png_set_packing(png);
    for (int y = 0; y < kHeight; ++y)
      png_write_row(png, const_cast<png_bytep>(r.indices.data()) + static_cast<size_t>(y) * kWidth);
    png_write_end(png, nullptr);
  }
  png_destroy_write_struct(&png, &info);
  return out;
}

void BM_GiflibPutLine(benchmark::State &state) {
  for (auto _ : state) benchmark::DoNotOptimize(giflibEncode(scene().reduced).size());
}
void BM_GifWriterAlone(benchmark::State &state) {
  const Reduced &r = scene().reduced;
  for (auto _ : state) {
    io::MemorySink sink;
    io::writeGifIndices(sink, r.indices.data(), kWidth, kHeight, r.palette, r.count, false, 0, -1);
    benchmark::DoNotOptimize(sink.bytes().size());
  }
}
void BM_OutGIF2(benchmark::State &state) {
  for (auto _ : state) benchmark::DoNotOptimize(scene().area->outGIF2().len);
}
void BM_LibpngAlone(benchmark::State &state) {
  for (auto _ : state) benchmark::DoNotOptimize(libpngEncode(scene().reduced).size());
}
void BM_ReduceChartScene(benchmark::State &state) {
  Scene &s = scene();
  Reduced r;
  r.indices.resize(s.pixels.size());
  for (auto _ : state)
    benchmark::DoNotOptimize(io::reducePalette(s.view, r.palette, r.indices.data(), r.transparentIndex, true));
}
void BM_OutPNG2(benchmark::State &state) {
  for (auto _ : state) benchmark::DoNotOptimize(scene().area->outPNG2().len);
}

// One megapixel (1000 x 1000) of runs drawn from `colours` distinct colours.
std::vector<uint32_t> megapixel(int colours) {
  std::mt19937 rng(9);
  std::vector<uint32_t> pool;
  for (int i = 0; i < colours; ++i) pool.push_back(rng() & 0xFFFFFF);
  std::vector<uint32_t> px;
  while (px.size() < 1000000) {
    const uint32_t c = pool[rng() % pool.size()];
    px.insert(px.end(), std::min<size_t>(1 + rng() % 64, 1000000 - px.size()), c);
  }
  return px;
}

void BM_PixelPassFloor(benchmark::State &state) {
  const std::vector<uint32_t> px = megapixel(200);
  std::vector<uint8_t> out(px.size());
  for (auto _ : state) {
    for (size_t i = 0; i < px.size(); ++i) out[i] = static_cast<uint8_t>(px[i] >> 3);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}
void BM_ReducePalette(benchmark::State &state) {
  const std::vector<uint32_t> px = megapixel(static_cast<int>(state.range(0)));
  io::ImageView v;
  v.pixels = px.data();
  v.width = 1000;
  v.height = 1000;
  v.ditherMethod = static_cast<int>(state.range(1));
  std::vector<uint8_t> indices(px.size());
  uint32_t palette[256];
  int t;
  for (auto _ : state) benchmark::DoNotOptimize(io::reducePalette(v, palette, indices.data(), t, true));
}

// Five repetitions each; the ratios use the medians, which other work on
// the machine disturbs least.
#define QUORVANE_BENCH(fn) \
  BENCHMARK(fn)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true)
QUORVANE_BENCH(BM_GiflibPutLine);
QUORVANE_BENCH(BM_GifWriterAlone);
QUORVANE_BENCH(BM_OutGIF2);
QUORVANE_BENCH(BM_LibpngAlone);
QUORVANE_BENCH(BM_OutPNG2);
QUORVANE_BENCH(BM_ReduceChartScene);
QUORVANE_BENCH(BM_PixelPassFloor);
QUORVANE_BENCH(BM_ReducePalette)->Args({200, 0})->Args({5000, 0})->Args({5000, 1})->Args({5000, 2});

// Keeps each workload's median CPU time per iteration so the ratios can be
// printed after; CPU time, because other work on the machine stretches wall time.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  static std::string withoutRepeats(std::string name) {
    const size_t at = name.find("/repeats:");
    return at == std::string::npos ? name : name.substr(0, at);
  }
  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &r : runs)
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median" && r.iterations > 0)
        seconds[withoutRepeats(r.run_name.str())] = r.cpu_accumulated_time / static_cast<double>(r.iterations);
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto ratio = [&](const char *what, const char *floor, const char *label) {
    if (reporter.seconds.count(what) && reporter.seconds.count(floor))
      std::printf("%-44s %6.2fx %s\n", what, reporter.seconds[what] / reporter.seconds[floor], label);
  };
  std::printf("\nratios to the floor measured in this run (median CPU time of 5):\n");
  ratio("BM_GifWriterAlone", "BM_GiflibPutLine", "of giflib EGifPutLine (target < 1)");
  ratio("BM_OutGIF2", "BM_GiflibPutLine", "of giflib EGifPutLine (target <= 1.5)");
  ratio("BM_OutPNG2", "BM_LibpngAlone", "of libpng alone (target <= 1.3)");
  ratio("BM_ReduceChartScene", "BM_LibpngAlone", "of libpng alone: the palette reduction inside outPNG2");
  for (const char *r : {"BM_ReducePalette/200/0", "BM_ReducePalette/5000/0", "BM_ReducePalette/5000/1",
                        "BM_ReducePalette/5000/2"})
    ratio(r, "BM_PixelPassFloor", "of one read-and-write pass per megapixel");
  const Reduced &r = scene().reduced;
  io::MemorySink ours;
  io::writeGifIndices(ours, r.indices.data(), kWidth, kHeight, r.palette, r.count, false, 0, -1);
  std::printf("GIF bytes of the chart scene (%d colours): ours %zu, giflib %zu (%.2fx)\n", r.count,
              ours.bytes().size(), giflibEncode(r).size(),
              static_cast<double>(ours.bytes().size()) / static_cast<double>(giflibEncode(r).size()));
  benchmark::Shutdown();
  return 0;
}
