// PNG through libpng. The writer makes a palette image (bit depth 1, 2, 4 or
// 8 by colour count, tRNS marking the transparent index) when the palette
// reduction allows, else 8-bit RGBA with alpha = 255 - transparency; libpng
// swaps B and R and inverts alpha on the stored pixels. The reader asks libpng
// for one 0xAARRGGBB value a pixel: palette and grey to RGB, tRNS to alpha,
// 16-bit samples stripped to 8, a zero filler for images without alpha.
// libpng reports errors by longjmp: each setjmp sits in a function that holds
// no C++ objects with destructors, and the structures are destroyed by a
// guard in its caller. Messages are swallowed: the library prints nothing.
#include <png.h>

#include <csetjmp>
#include <memory>
#include <vector>

#include "imageio/codecs.h"
#include "imageio/palette.h"

namespace quorvane::imageio {

namespace {

[[noreturn]] void onPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onPngWarning(png_structp, png_const_charp) {}

void writeToSink(png_structp png, png_bytep data, size_t n) {
  auto *sink = static_cast<ByteSink *>(png_get_io_ptr(png));
  sink->write(data, n);
  if (sink->failed()) png_error(png, "write failed");
}
void flushSink(png_structp png) { static_cast<ByteSink *>(png_get_io_ptr(png))->flush(); }

void readFromSource(png_structp png, png_bytep data, size_t n) {
  auto *source = static_cast<ByteSource *>(png_get_io_ptr(png));
  if (!source->readExact(data, n)) png_error(png, "unexpected end of file");
}

struct WriteGuard {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~WriteGuard() {
    if (png != nullptr) png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
  }
};

struct ReadGuard {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~ReadGuard() {
    if (png != nullptr) png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
  }
};

// Everything the encoder needs, prepared before the jump point.
struct PngWriteJob {
  ByteSink *sink;
  png_uint_32 width;
  png_uint_32 height;
  int interlace;
  bool palette;
  int bitDepth;
  int colorCount;
  const png_color *colors;
  const png_byte *alphas;
  int alphaCount;
  png_bytep *rows;
};

bool encode(png_structp png, png_infop info, const PngWriteJob &job) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, job.sink, writeToSink, flushSink);
  png_set_IHDR(png, info, job.width, job.height, job.palette ? job.bitDepth : 8,
               job.palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB_ALPHA,
               job.interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (job.palette) {
    if (job.alphaCount > 0)
      png_set_tRNS(png, info, job.alphas, job.alphaCount, nullptr);
    png_set_PLTE(png, info, job.colors, job.colorCount);
  }
  png_write_info(png, info);
  if (job.palette) {
    png_set_packing(png);
  } else {
    png_set_bgr(png);
    png_set_invert_alpha(png);
  }
  png_write_image(png, job.rows);
  png_write_end(png, nullptr);
  return true;
}

struct PngReadInfo {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
};

// Reads the header and sets the transformations; false for a libpng error,
// an image outside the limits or an unexpected row layout.
bool readHeader(png_structp png, png_infop info, ByteSource *source, const DecodeLimits *limits,
                PngReadInfo *result) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, source, readFromSource);
  png_set_sig_bytes(png, 8);
  png_set_user_limits(png, static_cast<png_uint_32>(kMaxSide), static_cast<png_uint_32>(kMaxSide));
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#ifdef PNG_IGNORE_ADLER32
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
#endif
  png_read_info(png, info);
  png_uint_32 width, height;
  int bitDepth, colorType, interlaceType;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlaceType, nullptr,
               nullptr);
  if (!sizeAllowed(width, height, *limits)) return false;
  const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (hasTrns) png_set_tRNS_to_alpha(png);
  if (bitDepth == 16) png_set_strip_16(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(png);
  const bool hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || hasTrns;
  if (hasAlpha)
    png_set_invert_alpha(png);
  else
    png_set_filler(png, 0, PNG_FILLER_AFTER);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) return false;
  result->width = width;
  result->height = height;
  return true;
}

bool readRows(png_structp png, png_bytep *rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

bool writePng(ByteSink &sink, const ImageView &view) {
  const size_t w = static_cast<size_t>(view.width);
  const size_t h = static_cast<size_t>(view.height);
  uint32_t palette[256];
  std::unique_ptr<uint8_t[]> indices;  // every byte is written by the reduction
  int transparentIndex = -1;
  int count = 0;
  if (view.paletteMode != 2) {
    indices.reset(new uint8_t[w * h]);
    count = reducePalette(view, palette, indices.get(), transparentIndex, view.paletteMode == 1);
  }
  PngWriteJob job{};
  job.sink = &sink;
  job.width = static_cast<png_uint_32>(view.width);
  job.height = static_cast<png_uint_32>(view.height);
  job.interlace = view.interlace ? 1 : 0;
  job.palette = count > 0;
  png_color colors[256];
  png_byte alphas[256];
  std::vector<png_bytep> rows(h);
  if (job.palette) {
    job.bitDepth = count <= 2 ? 1 : count <= 4 ? 2 : count <= 16 ? 4 : 8;
    for (int k = 0; k < count; ++k)
      colors[k] = png_color{static_cast<png_byte>(palette[k] >> 16),
                            static_cast<png_byte>(palette[k] >> 8), static_cast<png_byte>(palette[k])};
    job.colors = colors;
    job.colorCount = count;
    if (view.hasTransparentColor() && transparentIndex >= 0) {
      for (int k = 0; k < transparentIndex; ++k) alphas[k] = 255;
      alphas[transparentIndex] = 0;
      job.alphas = alphas;
      job.alphaCount = transparentIndex + 1;
    }
    for (size_t y = 0; y < h; ++y) rows[y] = indices.get() + y * w;
  } else {
    // libpng reads the rows; the casts only satisfy its non-const interface.
    for (size_t y = 0; y < h; ++y)
      rows[y] = reinterpret_cast<png_bytep>(const_cast<uint32_t *>(view.pixels + y * w));
  }
  job.rows = rows.data();

  WriteGuard guard;
  guard.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
  if (guard.png == nullptr) return false;
  guard.info = png_create_info_struct(guard.png);
  if (guard.info == nullptr) return false;
  return encode(guard.png, guard.info, job) && !sink.failed();
}

bool readPng(ByteSource &source, DecodedImage &out, const DecodeLimits &limits) {
  uint8_t signature[8];
  if (!source.readExact(signature, 8) || png_sig_cmp(signature, 0, 8) != 0) return false;
  ReadGuard guard;
  guard.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
  if (guard.png == nullptr) return false;
  guard.info = png_create_info_struct(guard.png);
  if (guard.info == nullptr) return false;
  PngReadInfo info;
  if (!readHeader(guard.png, guard.info, &source, &limits, &info)) return false;

  const size_t w = info.width, h = info.height;
  std::vector<uint32_t> pixels(w * h);
  std::vector<png_bytep> rows(h);
  for (size_t y = 0; y < h; ++y) rows[y] = reinterpret_cast<png_bytep>(pixels.data() + y * w);
  if (!readRows(guard.png, rows.data())) return false;
  out.width = static_cast<int>(w);
  out.height = static_cast<int>(h);
  out.pixels = std::move(pixels);
  return true;
}

}  // namespace quorvane::imageio
