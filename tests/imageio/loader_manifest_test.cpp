// Every image of the shared test corpus through load(): the result, size and
// pixels listed in the manifest, and an area left exactly as it was (size,
// pixels, interlace flag) whenever a reader returns false.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "imageio/codec_test_util.h"

using namespace iotest;

namespace {

const std::string kData = QUORVANE_TESTDATA;

struct Entry {
  std::string path, format, expect, ref, compare, note;
  int width = 0, height = 0;
};

std::vector<Entry> readManifest() {
  std::vector<Entry> entries;
  std::ifstream in(kData + "/manifest.tsv");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f;
    std::stringstream ss(line);
    std::string field;
    while (std::getline(ss, field, '\t')) f.push_back(field);
    f.resize(8);
    Entry e{f[0], f[1], f[2], f[5], f[6], f[7]};
    e.width = f[3] == "-" ? 0 : std::stoi(f[3]);
    e.height = f[4] == "-" ? 0 : std::stoi(f[4]);
    entries.push_back(e);
  }
  return entries;
}

std::vector<uint32_t> readRgbaRef(const std::string &path) {
  const Bytes raw = readFile(kData + "/" + path);
  std::vector<uint32_t> out;
  for (size_t i = 0; i + 3 < raw.size(); i += 4)
    out.push_back(static_cast<uint32_t>(255 - raw[i + 3]) << 24 | static_cast<uint32_t>(raw[i]) << 16 |
                  static_cast<uint32_t>(raw[i + 1]) << 8 | raw[i + 2]);
  return out;
}

std::vector<uint32_t> pixelsOf(DrawArea *a) {
  std::vector<uint32_t> out;
  for (int y = 0; y < a->getHeight(); ++y)
    for (int x = 0; x < a->getWidth(); ++x) out.push_back(static_cast<uint32_t>(a->getPixel(x, y)));
  return out;
}

// The pixel at coding position k of an interlaced or plain image.
size_t codingOrderIndex(size_t k, int width, int height, bool interlaced) {
  const size_t row = k / static_cast<size_t>(width), x = k % static_cast<size_t>(width);
  if (!interlaced) return k;
  static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
  size_t r = row;
  for (int pass = 0; pass < 4; ++pass) {
    const size_t rows = height > kStart[pass]
                            ? static_cast<size_t>((height - kStart[pass] + kStep[pass] - 1) / kStep[pass])
                            : 0;
    if (r < rows) return (static_cast<size_t>(kStart[pass]) + r * static_cast<size_t>(kStep[pass])) * width + x;
    r -= rows;
  }
  return k;
}

}  // namespace

TEST(LoaderManifest, EveryCorpusImageGivesItsListedResult) {
  if (kData.empty()) GTEST_SKIP() << "the shared test images were not found when configuring";
  const std::vector<Entry> entries = readManifest();
  ASSERT_GT(entries.size(), 280u) << "manifest not found under " << kData;
  int checked = 0;
  for (const Entry &e : entries) {
    SCOPED_TRACE(e.path + " (" + e.note + ")");
    // A recognisable starting state: 3 x 2, distinct pixels, interlace set.
    Area a = makeArea(3, 2, 0x123456);
    a->pixel(2, 1, 0x00ABCDEF);
    a->setInterlace(7);
    const std::vector<uint32_t> before = pixelsOf(a.get());
    const bool ok = a->load((kData + "/" + e.path).c_str());
    if (e.expect == "false" || (e.expect == "either" && !ok)) {
      EXPECT_FALSE(ok);
      EXPECT_EQ(a->getWidth(), 3);
      EXPECT_EQ(a->getHeight(), 2);
      EXPECT_EQ(pixelsOf(a.get()), before);
      // The JPEG reader sets the flag only on success.
      a->setInterlace(0);
      ++checked;
      continue;
    }
    ASSERT_TRUE(ok);
    if (e.expect == "either") {
      ++checked;
      continue;
    }
    ASSERT_EQ(a->getWidth(), e.width);
    ASSERT_EQ(a->getHeight(), e.height);
    const std::vector<uint32_t> got = pixelsOf(a.get());
    if (e.format == "jpeg") {
      const bool progressive = e.note.find("progressive (interlace flag 1)") != std::string::npos;
      // The interlace flag (7 before) now tells whether the file was
      // progressive; a JPEG written from the area shows it.
      EXPECT_EQ(decodeJpeg(bytesOf(a->outJPG2(90))).progressive, progressive);
    }
    if (e.compare == "exact" || e.compare.rfind("libjpeg-turbo", 0) == 0) {
      const std::vector<uint32_t> ref = readRgbaRef(e.ref);
      ASSERT_EQ(ref.size(), got.size());
      if (e.compare == "exact" || LIBJPEG_TURBO_VERSION_NUMBER == 2001005) {
        size_t diff = 0;
        while (diff < got.size() && got[diff] == ref[diff]) ++diff;
        EXPECT_EQ(diff, got.size()) << "first difference at pixel " << diff;
      } else {
        // Another libjpeg may round its IDCT or upsampling differently.
        double sum = 0;
        int worst = 0;
        for (size_t i = 0; i < got.size(); ++i)
          for (int s = 0; s < 24; s += 8) {
            const int d = std::abs(static_cast<int>((got[i] >> s) & 255) - static_cast<int>((ref[i] >> s) & 255));
            sum += d;
            worst = std::max(worst, d);
          }
        EXPECT_LT(sum / (3.0 * static_cast<double>(got.size())), 1.0);
        EXPECT_LT(worst, 8);
      }
    } else if (e.compare.rfind("prefix:", 0) == 0) {
      const std::vector<uint32_t> ref = readRgbaRef(e.ref);
      ASSERT_EQ(ref.size(), got.size());
      const size_t n = std::stoul(e.compare.substr(7));
      const bool interlaced = e.note.find("interlaced") != std::string::npos;
      for (size_t k = 0; k < n; ++k) {
        const size_t i = codingOrderIndex(k, e.width, e.height, interlaced);
        ASSERT_EQ(got[i], ref[i]) << "coding position " << k;
      }
    } else if (e.compare == "png-ref") {
      const PngImage ref = decodePng(readFile(kData + "/" + e.ref));
      ASSERT_TRUE(ref.ok);
      ASSERT_EQ(ref.width, e.width);
      for (int y = 0; y < e.height; ++y)
        for (int x = 0; x < e.width; ++x) {
          const uint32_t want = pngPixel(ref, x, y);
          const uint32_t have = got[static_cast<size_t>(y) * e.width + x];
          // The reference keeps the palette colour of transparent pixels.
          if (have == 0xFF000000u) {
            ASSERT_NE(want >> 24, 0u) << x << "," << y;
          } else {
            ASSERT_EQ(have, want & 0xFFFFFF) << x << "," << y;
          }
        }
    }
    ++checked;
  }
  EXPECT_EQ(checked, static_cast<int>(entries.size()));
}
