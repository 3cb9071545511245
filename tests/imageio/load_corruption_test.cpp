// Damaged files through the published loaders: a small valid file of each
// format the library reads, made by its own writers, with every byte
// complemented, every byte cleared and every prefix, loaded from disk by the
// format's loader and by load(). A failed load leaves the area as it was; a
// successful one leaves a whole image, and both loaders agree.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <string>
#include <vector>

#include "test_util.h"

namespace {

using namespace testutil;

constexpr int kSide = 16;

// A picture the loaders never produce from these files: 3 x 2, each pixel
// its own value, one of them half transparent.
Area sentinel() {
  Area a = makeArea(3, 2, kWhite);
  const int values[] = {kRed, kGreen, kBlue, col(0x80123456u), kBlack, 0x00654321};
  for (int i = 0; i < 6; ++i) a->pixel(i % 3, i / 3, values[i]);
  return a;
}

// Size and pixels.
std::pair<int, std::vector<int>> picture(DrawArea *a) { return {a->getWidth(), pixels(a)}; }

struct Format {
  const char *extension;
  bool (DrawArea::*loader)(const char *);
  MemBlock (*write)(DrawArea *);
};

const Format kFormats[] = {
    {".gif", &DrawArea::loadGIF, [](DrawArea *a) { return a->outGIF2(); }},
    {".png", &DrawArea::loadPNG, [](DrawArea *a) { return a->outPNG2(); }},
    {".jpg", &DrawArea::loadJPG, [](DrawArea *a) { return a->outJPG2(75); }},
    {".wbmp", &DrawArea::loadWMP, [](DrawArea *a) { return a->outWMP2(); }},
};

// Every damaged copy of valid: each prefix, then each byte complemented,
// then each byte cleared (where it was not 0 already).
std::vector<Bytes> damaged(const Bytes &valid) {
  std::vector<Bytes> out;
  for (size_t n = 0; n < valid.size(); ++n) out.emplace_back(valid.begin(), valid.begin() + n);
  for (const uint8_t mask : {0xFF, 0x00})
    for (size_t i = 0; i < valid.size(); ++i) {
      Bytes b = valid;
      b[i] = mask != 0 ? static_cast<uint8_t>(b[i] ^ mask) : 0;
      if (b != valid) out.push_back(std::move(b));
    }
  return out;
}

TEST(LoadCorruption, DamagedFilesLoadWholeOrLeaveTheAreaAsItWas) {
  ScratchDir dir;
  Area scene = makeArea(kSide, kSide, kBlue);
  scene->rect(3, 2, 11, 9, kBlack, kRed, 0);
  scene->line(0, 15, 15, 4, kGreen, 1);
  scene->setTransparentColor(kBlue);  // a transparency chunk and a GIF extension
  const auto before = picture(sentinel().get());

  for (const Format &f : kFormats) {
    SCOPED_TRACE(f.extension);
    const std::string path = dir.file(std::string("image") + f.extension);
    const Bytes valid = bytesOf(f.write(scene.get()));
    ASSERT_FALSE(valid.empty());
    writeFile(path, valid);
    Area loaded = sentinel();
    ASSERT_TRUE(((*loaded).*f.loader)(path.c_str()));
    EXPECT_EQ(kSide, loaded->getWidth());
    EXPECT_EQ(kSide, loaded->getHeight());

    const auto start = std::chrono::steady_clock::now();
    int loads = 0, failures = 0;
    const std::vector<Bytes> copies = damaged(valid);
    for (size_t i = 0; i < copies.size(); ++i) {
      // A new file each time: rewriting one in place makes the file system
      // flush it to disk.
      std::remove(path.c_str());
      writeFile(path, copies[i]);
      Area byLoader = sentinel(), byName = sentinel();
      const bool ok = ((*byLoader).*f.loader)(path.c_str());
      ASSERT_EQ(ok, byName->load(path.c_str())) << "copy " << i;
      ++loads, failures += ok ? 0 : 1;
      if (!ok) {
        ASSERT_EQ(before, picture(byLoader.get())) << "copy " << i;
        ASSERT_EQ(before, picture(byName.get())) << "copy " << i;
        continue;
      }
      // A header that survived gives a size within the format's field.
      ASSERT_GE(byLoader->getWidth(), 1) << "copy " << i;
      ASSERT_GE(byLoader->getHeight(), 1) << "copy " << i;
      ASSERT_EQ(picture(byLoader.get()), picture(byName.get())) << "copy " << i;
    }
    // At least the prefixes shorter than the smallest header (WBMP's four bytes).
    EXPECT_GE(failures, 4);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %zu bytes, %d damaged copies, %d refused, %.2f s\n", f.extension,
                valid.size(), loads, failures, seconds);
  }
}

}  // namespace
