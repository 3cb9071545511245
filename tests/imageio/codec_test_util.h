// Codec test helpers: decoders we did not write (giflib, libpng's simplified
// reading API, libjpeg) run on our encoded bytes, a ten-line WBMP reader,
// a PNG chunk lister, and seeded chart-like scenes, beside the shared
// helpers of test_util.h.
#pragma once

#include <gif_lib.h>
#include <png.h>

#include <cstdio>  // before jpeglib.h
#include <jpeglib.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "quorvane.h"
#include "test_util.h"

namespace iotest {

using testutil::Area;
using testutil::Bytes;
using testutil::bytesOf;
using testutil::col;
using testutil::makeArea;
using testutil::readFile;
using testutil::scratchPath;
using testutil::writeFile;

// ---- GIF through giflib ----------------------------------------------------

struct GifImage {
  bool ok = false;
  std::string signature;
  int width = 0, height = 0;
  bool interlaced = false;
  int transparentIndex = -1;
  int colorCount = 0;            // entries of the colour table used
  std::vector<uint32_t> colors;  // 0x00RRGGBB
  Bytes indices;                 // row-major, de-interlaced
};

inline GifImage decodeGif(const Bytes &bytes) {
  struct Reader {
    const Bytes *bytes;
    size_t pos;
  } reader{&bytes, 0};
  auto input = [](GifFileType *gif, GifByteType *dst, int n) -> int {
    auto *r = static_cast<Reader *>(gif->UserData);
    const size_t take = std::min(static_cast<size_t>(n), r->bytes->size() - r->pos);
    std::memcpy(dst, r->bytes->data() + r->pos, take);
    r->pos += take;
    return static_cast<int>(take);
  };
  GifImage out;
  int error = 0;
  GifFileType *gif = DGifOpen(&reader, input, &error);
  if (gif == nullptr) return out;
  if (DGifSlurp(gif) == GIF_OK && gif->ImageCount >= 1) {
    const SavedImage &image = gif->SavedImages[0];
    out.ok = true;
    out.signature.assign(reinterpret_cast<const char *>(bytes.data()), 6);
    out.width = image.ImageDesc.Width;
    out.height = image.ImageDesc.Height;
    out.interlaced = image.ImageDesc.Interlace;
    const ColorMapObject *map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    if (map != nullptr) {
      out.colorCount = map->ColorCount;
      for (int i = 0; i < map->ColorCount; ++i)
        out.colors.push_back(static_cast<uint32_t>(map->Colors[i].Red) << 16 |
                             static_cast<uint32_t>(map->Colors[i].Green) << 8 | map->Colors[i].Blue);
    }
    GraphicsControlBlock gcb;
    if (DGifSavedExtensionToGCB(gif, 0, &gcb) == GIF_OK) out.transparentIndex = gcb.TransparentColor;
    out.indices.assign(image.RasterBits, image.RasterBits + static_cast<size_t>(out.width) * out.height);
  }
  DGifCloseFile(gif, &error);
  return out;
}

// Writes a GIF with giflib: one image, its own global table, the given
// transparent index (-1: none), rows in interlace order when interlaced.
inline Bytes encodeGifWithGiflib(int width, int height, const Bytes &indices,
                                 const std::vector<uint32_t> &colors, int transparentIndex,
                                 bool interlaced) {
  Bytes out;
  auto output = [](GifFileType *gif, const GifByteType *src, int n) -> int {
    auto *o = static_cast<Bytes *>(gif->UserData);
    o->insert(o->end(), src, src + n);
    return n;
  };
  int error = 0;
  GifFileType *gif = EGifOpen(&out, output, &error);
  int size = 2;
  while (size < static_cast<int>(colors.size())) size *= 2;
  std::vector<GifColorType> table(static_cast<size_t>(size));
  for (size_t i = 0; i < colors.size(); ++i)
    table[i] = {static_cast<GifByteType>(colors[i] >> 16), static_cast<GifByteType>(colors[i] >> 8),
                static_cast<GifByteType>(colors[i])};
  ColorMapObject *map = GifMakeMapObject(size, table.data());
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, width, height, 8, 0, map);
  if (transparentIndex >= 0) {
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = transparentIndex;
    gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
  }
  EGifPutImageDesc(gif, 0, 0, width, height, interlaced, nullptr);
  static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
  std::vector<int> order;
  if (interlaced) {
    for (int pass = 0; pass < 4; ++pass)
      for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
  } else {
    for (int y = 0; y < height; ++y) order.push_back(y);
  }
  for (int y : order)
    EGifPutLine(gif, const_cast<GifByteType *>(indices.data()) + static_cast<size_t>(y) * width, width);
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

// ---- PNG through libpng's simplified API and a chunk walk --------------------

struct PngImage {
  bool ok = false;
  int width = 0, height = 0;
  int bitDepth = 0, colorType = 0, interlace = 0;
  std::vector<std::string> chunks;  // chunk types in file order
  Bytes plte, trns;                 // chunk payloads
  Bytes rgba;                       // 4 bytes a pixel: R, G, B, alpha
};

inline uint32_t be32(const uint8_t *p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
         static_cast<uint32_t>(p[2]) << 8 | p[3];
}

inline PngImage decodePng(const Bytes &bytes) {
  PngImage out;
  if (bytes.size() < 33) return out;
  for (size_t pos = 8; pos + 12 <= bytes.size();) {
    const uint32_t length = be32(&bytes[pos]);
    std::string type(reinterpret_cast<const char *>(&bytes[pos + 4]), 4);
    if (pos + 12 + length > bytes.size()) return out;
    out.chunks.push_back(type);
    const Bytes payload(bytes.begin() + static_cast<ptrdiff_t>(pos + 8),
                        bytes.begin() + static_cast<ptrdiff_t>(pos + 8 + length));
    if (type == "IHDR") {
      out.bitDepth = payload[8];
      out.colorType = payload[9];
      out.interlace = payload[12];
    } else if (type == "PLTE") {
      out.plte = payload;
    } else if (type == "tRNS") {
      out.trns = payload;
    }
    pos += 12 + length;
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return out;
  image.format = PNG_FORMAT_RGBA;
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.rgba.resize(PNG_IMAGE_SIZE(image));
  out.ok = png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr) != 0;
  return out;
}

// The area value a PNG pixel stands for: transparency = 255 - alpha.
inline uint32_t pngPixel(const PngImage &png, int x, int y) {
  const uint8_t *p = &png.rgba[(static_cast<size_t>(y) * png.width + x) * 4];
  return static_cast<uint32_t>(255 - p[3]) << 24 | static_cast<uint32_t>(p[0]) << 16 |
         static_cast<uint32_t>(p[1]) << 8 | p[2];
}

// ---- JPEG through libjpeg ----------------------------------------------------

struct JpegImage {
  bool ok = false;
  int width = 0, height = 0;
  bool progressive = false;
  int lumaDcQuant = 0;  // first entry of quantisation table 0
  Bytes rgb;
};

inline JpegImage decodeJpeg(const Bytes &bytes) {
  struct Err {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
  };
  JpegImage out;
  jpeg_decompress_struct cinfo{};
  Err err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<Err *>(c->err)->jump, 1); };
  err.pub.output_message = [](j_common_ptr) {};
  uint8_t *row = nullptr;
  if (setjmp(err.jump) == 0) {
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    out.progressive = cinfo.progressive_mode;
    out.lumaDcQuant = cinfo.quant_tbl_ptrs[0] ? cinfo.quant_tbl_ptrs[0]->quantval[0] : 0;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    out.width = static_cast<int>(cinfo.output_width);
    out.height = static_cast<int>(cinfo.output_height);
    out.rgb.resize(static_cast<size_t>(out.width) * out.height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
      row = &out.rgb[static_cast<size_t>(cinfo.output_scanline) * out.width * 3];
      jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    out.ok = true;
  }
  jpeg_destroy_decompress(&cinfo);
  return out;
}

// ---- WBMP, read by the rules of the format ----------------------------------

struct WbmpImage {
  bool ok = false;
  int width = 0, height = 0;
  std::vector<int> bits;  // 1 white, 0 black
};

inline WbmpImage decodeWbmp(const Bytes &b) {
  WbmpImage out;
  size_t pos = 0;
  auto next = [&](uint32_t &v) {
    v = 0;
    do {
      if (pos >= b.size()) return false;
      v = v << 7 | (b[pos] & 0x7F);
    } while (b[pos++] & 0x80);
    return true;
  };
  uint32_t type, header, w, h;
  if (!next(type) || type != 0 || !next(header) || !next(w) || !next(h)) return out;
  const size_t rowBytes = (w + 7) / 8;
  if (b.size() < pos + rowBytes * h) return out;
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) out.bits.push_back(b[pos + y * rowBytes + x / 8] >> (7 - x % 8) & 1);
  out.width = static_cast<int>(w);
  out.height = static_cast<int>(h);
  out.ok = true;
  return out;
}

// ---- Scenes ------------------------------------------------------------------

// A chart-like picture: flat background, bars, a few hundred edge colours
// along thin anti-aliased-looking lines, all opaque.
inline void drawChartScene(DrawArea *a, int width, int height, unsigned seed) {
  a->setSize(width, height, 0xFFFFFF);
  std::mt19937 rng(seed);
  a->rect(40, 30, width - 20, height - 40, 0x000000, 0xF0F0F8, 0);
  const int bars = 12;
  const int slot = (width - 80) / bars;
  for (int i = 0; i < bars; ++i) {
    const int top = 40 + static_cast<int>(rng() % static_cast<unsigned>(height - 100));
    a->rect(50 + i * slot, top, 50 + i * slot + slot / 2, height - 41, 0x000000,
            static_cast<int>(0x3050A0 + i * 0x0A0A00), 0);
  }
  for (int i = 0; i < 300; ++i) {
    const int x = 40 + static_cast<int>(rng() % static_cast<unsigned>(width - 60));
    const int y = 30 + static_cast<int>(rng() % static_cast<unsigned>(height - 70));
    a->pixel(x, y, static_cast<int>(0x202020 + static_cast<unsigned>(i) * 0x010203u));
  }
}

}  // namespace iotest
