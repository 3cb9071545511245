// Text test helpers beside the shared ones (test_util.h): the Debian font
// files the tests use, the ink of a picture (pixels that differ from the
// background), and FreeType called directly for expected metrics.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "quorvane.h"
#include "test_util.h"

namespace texttest {

inline const std::string kLiberationDir = "/usr/share/fonts/truetype/liberation2/";
inline const std::string kDejaVuDir = "/usr/share/fonts/truetype/dejavu/";
inline const std::string kSans = kLiberationDir + "LiberationSans-Regular.ttf";
inline const std::string kSansBold = kLiberationDir + "LiberationSans-Bold.ttf";
inline const std::string kDejaVu = kDejaVuDir + "DejaVuSans.ttf";
inline const std::string kDejaVuBold = kDejaVuDir + "DejaVuSans-Bold.ttf";
inline const std::string kType1 = "/usr/share/fonts/X11/Type1/NimbusSans-Regular.pfb";

using testutil::Area;
using testutil::kBlack;
using testutil::kWhite;
using testutil::makeArea;
using testutil::pixels;
using Text = testutil::Owned<TTFText>;

inline std::set<int> distinctColours(DrawArea *a) {
  const auto all = pixels(a);
  return {all.begin(), all.end()};
}

// Bounding box of the pixels that differ from bg; empty when none do.
struct InkBox {
  int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
  bool empty() const { return maxX < minX; }
  bool operator==(const InkBox &) const = default;
};

inline InkBox inkBox(DrawArea *a, int bg = kWhite) {
  InkBox b;
  for (int y = 0; y < a->getHeight(); ++y)
    for (int x = 0; x < a->getWidth(); ++x)
      if (a->getPixel(x, y) != bg) {
        b.minX = std::min(b.minX, x), b.maxX = std::max(b.maxX, x);
        b.minY = std::min(b.minY, y), b.maxY = std::max(b.maxY, y);
      }
  return b;
}

// A face opened by FreeType directly, sized at 96 dpi.
class RefFace {
 public:
  // widthPt 0: the height.
  RefFace(const std::string &path, double sizePt, double widthPt = 0) {
    FT_Init_FreeType(&library_);
    if (FT_New_Face(library_, path.c_str(), 0, &face_) != 0) face_ = nullptr;
    if (face_ != nullptr)
      FT_Set_Char_Size(face_, static_cast<FT_F26Dot6>(widthPt * 64),
                       static_cast<FT_F26Dot6>(sizePt * 64), 96, 96);
    sizePt_ = sizePt;
  }
  ~RefFace() {
    if (face_ != nullptr) FT_Done_Face(face_);
    FT_Done_FreeType(library_);
  }
  RefFace(const RefFace &) = delete;
  RefFace &operator=(const RefFace &) = delete;
  FT_Face face() const { return face_; }

  // Ascent - descent of the global metrics at this size, in whole pixels.
  int lineHeight() const {
    const long em = face_->units_per_EM;
    const long ascent = static_cast<long>(std::trunc(sizePt_ * face_->ascender * 96)) / 72 / em;
    const long descent = static_cast<long>(std::trunc(sizePt_ * face_->descender * 96)) / 72 / em;
    return static_cast<int>(ascent - descent);
  }
  // Baseline to baseline, in whole pixels.
  int lineDistance() const {
    return static_cast<int>(std::trunc(sizePt_ * face_->height * 96 / 72.0 / face_->units_per_EM));
  }
  // A glyph of a horizontal ASCII text as FreeType renders its outline moved
  // to the pen, the pen rounded to whole pixels before each glyph, and then
  // transformed by turn when one is given.
  struct PlacedGlyph {
    long left = 0, top = 0;  // as FreeType reports them, y up
    unsigned width = 0, rows = 0;
    std::vector<unsigned char> coverage;  // rows x width, 0 ... 255
  };
  std::vector<PlacedGlyph> placedGlyphs(const std::string &text, FT_Render_Mode mode, bool kern,
                                        const FT_Matrix *turn = nullptr) const {
    std::vector<PlacedGlyph> glyphs;
    FT_Pos pen = 0;
    FT_UInt previous = 0;
    for (unsigned char c : text) {
      const FT_UInt index = FT_Get_Char_Index(face_, c);
      if (FT_Load_Glyph(face_, index, FT_LOAD_NO_BITMAP) != 0) continue;
      if (kern && previous != 0 && index != 0) {
        FT_Vector delta{};
        FT_Get_Kerning(face_, previous, index, FT_KERNING_DEFAULT, &delta);
        pen += delta.x;
      }
      previous = index;
      pen = (pen + 32) & ~FT_Pos{63};
      FT_Outline_Translate(&face_->glyph->outline, pen, 0);
      if (turn != nullptr) FT_Outline_Transform(&face_->glyph->outline, turn);
      pen += face_->glyph->advance.x;
      if (FT_Render_Glyph(face_->glyph, mode) != 0) continue;
      const FT_Bitmap &bm = face_->glyph->bitmap;
      PlacedGlyph g{face_->glyph->bitmap_left, face_->glyph->bitmap_top, bm.width, bm.rows, {}};
      for (unsigned r = 0; r < bm.rows; ++r) {
        const unsigned char *row = bm.buffer + static_cast<ptrdiff_t>(r) * bm.pitch;
        for (unsigned k = 0; k < bm.width; ++k)
          g.coverage.push_back(bm.pixel_mode == FT_PIXEL_MODE_MONO
                                   ? ((row[k >> 3] & (0x80 >> (k & 7))) ? 255 : 0)
                                   : row[k]);
      }
      glyphs.push_back(std::move(g));
    }
    return glyphs;
  }

  // Width of the union of the glyph bitmaps of a horizontal ASCII text,
  // kerned when asked.
  int inkWidth(const std::string &text, FT_Render_Mode mode, bool kern) const {
    long minX = LONG_MAX, maxX = LONG_MIN;
    for (const auto &g : placedGlyphs(text, mode, kern)) {
      minX = std::min(minX, g.left);
      maxX = std::max(maxX, g.left + static_cast<long>(g.width));
    }
    return maxX < minX ? 0 : static_cast<int>(maxX - minX);
  }

 private:
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  double sizePt_ = 0;
};

}  // namespace texttest
