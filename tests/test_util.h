// What every test suite shares: owning handles for the library's objects,
// the picture of an area as values or as rows of characters, files and
// scratch folders, image maps read back into areas, and the check that work
// done on several threads at once gives what it gives on one.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "quorvane.h"

namespace testutil {

// A colour value written as 0xAARRGGBB.
constexpr int col(uint32_t v) { return static_cast<int>(v); }

constexpr int kWhite = 0x00FFFFFF, kRed = 0x00FF0000, kGreen = 0x0000FF00, kBlue = 0x000000FF,
              kBlack = 0x00000000;

// An owning handle for anything the library hands out with a destroy().
struct Destroy {
  template <typename T>
  void operator()(T *p) const {
    p->destroy();
  }
};
template <typename T>
using Owned = std::unique_ptr<T, Destroy>;

using Area = Owned<DrawArea>;

inline Area makeArea(int width, int height, int bg = kWhite) {
  Area a(DrawArea::create());
  a->setSize(width, height, bg);
  return a;
}

// The whole picture, row-major.
inline std::vector<int> pixels(DrawArea *a) {
  std::vector<int> out;
  for (int y = 0; y < a->getHeight(); ++y)
    for (int x = 0; x < a->getWidth(); ++x) out.push_back(a->getPixel(x, y));
  return out;
}

// One character a pixel, one line a row; '?' for a value not in the legend.
inline std::string render(DrawArea *a, const std::map<int, char> &legend) {
  std::string out;
  for (int y = 0; y < a->getHeight(); ++y, out += '\n')
    for (int x = 0; x < a->getWidth(); ++x) {
      auto it = legend.find(a->getPixel(x, y));
      out += it == legend.end() ? '?' : it->second;
    }
  return out;
}

// Lines joined as render() writes them.
inline std::string rows(const std::vector<std::string> &lines) {
  std::string out;
  for (const auto &l : lines) out += l + '\n';
  return out;
}

// ---- Arguments at the edges -------------------------------------------------

// The int and double values a host can pass at the edges of their ranges; a
// sweep over the ints takes edgeDoubleFor(i) beside the i-th.
constexpr int kEdgeInts[] = {INT_MIN, INT_MIN + 1, -65537, -1, 0, 1, 65537, INT_MAX - 1, INT_MAX};
inline const double kEdgeDoubles[] = {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e308, -1e308, NoValue,
                                      -NoValue,     1e-300,   -0.0,      3e9,   -3e9};
inline double edgeDoubleFor(size_t i) { return kEdgeDoubles[i % std::size(kEdgeDoubles)]; }

// ---- Bytes and files -------------------------------------------------------

using Bytes = std::vector<uint8_t>;

inline Bytes bytesOf(MemBlock b) {
  return b.data == nullptr ? Bytes() : Bytes(b.data, b.data + b.len);
}

inline Bytes readFile(const std::string &path) {
  Bytes out;
  if (std::FILE *f = std::fopen(path.c_str(), "rb")) {
    uint8_t buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
    std::fclose(f);
  }
  return out;
}

inline void writeFile(const std::string &path, const Bytes &bytes) {
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);  // data() may be null
  std::fclose(f);
}

// A scratch file name unique to the test process.
inline std::string scratchPath(const std::string &name) {
  return "/tmp/quorvane_test_" + std::to_string(::getpid()) + "_" + name;
}

// A scratch folder of its own, removed with its contents at the end of the
// test.
class ScratchDir {
 public:
  ScratchDir() {
    char name[] = "/tmp/quorvane-test-XXXXXX";
    path_ = mkdtemp(name);
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }
  ScratchDir(const ScratchDir &) = delete;
  ScratchDir &operator=(const ScratchDir &) = delete;

  std::string file(const std::string &name) const { return (path_ / name).string(); }
  // The folder, or a folder inside it made when missing, with a trailing '/'.
  std::string dir(const std::string &sub = "") const {
    const std::filesystem::path p = sub.empty() ? path_ : path_ / sub;
    std::filesystem::create_directories(p);
    return p.string() + "/";
  }

 private:
  std::filesystem::path path_;
};

// ---- Image maps and the shapes of items -------------------------------------

inline std::string str(const char *s) { return s != nullptr ? s : "<null>"; }

inline std::string rectText(int l, int t, int r, int b) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "shape=\"rect\" coords=\"%d,%d,%d,%d\"", l, t, r, b);
  return buf;
}

// One area of an image map, or one shape text (an area without "<area " and
// link): the whole text, the shape's name and its numbers.
struct MapArea {
  std::string text;
  std::string shape;
  std::vector<int> coords;

  // The whole number after "?key=" or "&key=" in the link, or -1.
  int field(const std::string &key) const {
    for (const char *sep : {"?", "&"}) {
      const size_t at = text.find(sep + key + "=");
      if (at != std::string::npos) return std::atoi(text.c_str() + at + key.size() + 2);
    }
    return -1;
  }
};

// Reads `shape="NAME" coords="N,N,..."` at the start of text, after an
// optional "<area "; anything else fails the test.
inline MapArea parseArea(const std::string &text) {
  MapArea a{text, "", {}};
  const size_t from = text.rfind("<area ", 0) == 0 ? 6 : 0;
  if (text.compare(from, 7, "shape=\"") != 0) {
    ADD_FAILURE() << "not a shape: " << text;
    return a;
  }
  const size_t nameEnd = text.find('"', from + 7);
  a.shape = text.substr(from + 7, nameEnd - (from + 7));
  if (text.compare(nameEnd, 10, "\" coords=\"") != 0) {
    ADD_FAILURE() << "no coords: " << text;
    return a;
  }
  const char *p = text.c_str() + nameEnd + 10;
  while (*p != '"') {
    char *end = nullptr;
    a.coords.push_back(static_cast<int>(std::strtol(p, &end, 10)));
    if (end == p || (*end != ',' && *end != '"')) {
      ADD_FAILURE() << "bad coords: " << text;
      break;
    }
    p = *end == ',' ? end + 1 : end;
  }
  return a;
}

// The areas of a map, one a line.
inline std::vector<MapArea> parseMap(const std::string &map) {
  std::vector<MapArea> areas;
  for (size_t from = 0; from < map.size();) {
    const size_t end = std::min(map.find('\n', from), map.size());
    areas.push_back(parseArea(map.substr(from, end - from)));
    from = end + 1;
  }
  return areas;
}

// The four values of a shape="rect" text.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
};
inline Rect parseRect(const char *shape) {
  const MapArea a = parseArea(str(shape));
  if (a.shape != "rect" || a.coords.size() != 4) {
    ADD_FAILURE() << "not a rectangle: " << str(shape);
    return {};
  }
  return {a.coords[0], a.coords[1], a.coords[2], a.coords[3]};
}

// ---- Threads ------------------------------------------------------------------

// Runs work(i) for i < threads on one thread, then rounds times on each of
// threads threads at once, and expects thread i to get what work(i) gave
// alone every time.
template <typename Work>
void expectSameOnThreads(int threads, int rounds, Work work) {
  using Result = decltype(work(0));
  std::vector<Result> alone;
  for (int t = 0; t < threads; ++t) alone.push_back(work(t));
  std::vector<std::vector<Result>> together(static_cast<size_t>(threads));
  std::vector<std::thread> running;
  for (int t = 0; t < threads; ++t)
    running.emplace_back([t, rounds, &together, &work] {
      for (int r = 0; r < rounds; ++r) together[static_cast<size_t>(t)].push_back(work(t));
    });
  for (auto &th : running) th.join();
  for (int t = 0; t < threads; ++t)
    for (int r = 0; r < rounds; ++r)
      EXPECT_EQ(together[static_cast<size_t>(t)][static_cast<size_t>(r)],
                alone[static_cast<size_t>(t)])
          << "thread " << t << " round " << r;
}

}  // namespace testutil
