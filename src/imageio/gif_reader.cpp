// The GIF reader: the first image of the file, its local colour table before
// the global one, the transparent index of the graphic control extension
// before it (the last one seen counts), and interlaced rows placed by pass.
// The area takes the image descriptor's size; the logical screen size and the
// image position are not used. Header, table and descriptor read failures
// refuse the file; once the image data starts, a failure only ends decoding,
// and pixels never decoded stay Transparent. Bytes between blocks that start
// no block are passed over.
#include <algorithm>
#include <cstring>
#include <memory>

#include "base/colors.h"
#include "imageio/codecs.h"
#include "imageio/lzw_decoder.h"

namespace quorvane::imageio {

namespace {

bool readColorTable(ByteSource &source, int entries, uint32_t *table) {
  uint8_t rgb[256 * 3];
  if (!source.readExact(rgb, static_cast<size_t>(entries) * 3)) return false;
  for (int i = 0; i < entries; ++i)
    table[i] = static_cast<uint32_t>(rgb[i * 3]) << 16 | static_cast<uint32_t>(rgb[i * 3 + 1]) << 8 |
               rgb[i * 3 + 2];
  return true;
}

// Skips data sub-blocks up to and including the zero-length one.
bool skipSubBlocks(ByteSource &source) {
  uint8_t length;
  do {
    if (!source.readByte(length) || !source.skip(length)) return false;
  } while (length != 0);
  return true;
}

// Places decoded indices row by row, in pass order for interlaced images.
class RowPlacer {
 public:
  RowPlacer(DecodedImage &image, const uint32_t *colors, bool interlaced)
      : image_(image), colors_(colors), interlaced_(interlaced) {
    rowStart_ = image_.pixels.data();
  }

  bool put(uint8_t index) {
    rowStart_[x_] = colors_[index];
    if (++x_ < image_.width) return true;
    x_ = 0;
    return nextRow();
  }

 private:
  bool nextRow() {
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    if (!interlaced_) {
      ++y_;
    } else {
      y_ += kStep[pass_];
      while (y_ >= image_.height && pass_ < 3) y_ = kStart[++pass_];
    }
    if (y_ >= image_.height) return false;
    rowStart_ = image_.pixels.data() + static_cast<size_t>(y_) * static_cast<size_t>(image_.width);
    return true;
  }

  DecodedImage &image_;
  const uint32_t *colors_;
  bool interlaced_;
  uint32_t *rowStart_;
  int x_ = 0;
  int y_ = 0;
  int pass_ = 0;
};

void decodeImageData(ByteSource &source, DecodedImage &image, const uint32_t *colors,
                     bool interlaced) {
  uint8_t minCodeSize;
  if (!source.readByte(minCodeSize)) return;
  if (minCodeSize < 1 || minCodeSize > 11) return;
  auto decoder = std::make_unique<LzwDecoder>(minCodeSize);
  RowPlacer placer(image, colors, interlaced);
  uint8_t block[255];
  uint8_t length;
  while (source.readByte(length) && length != 0) {
    const size_t got = source.read(block, length);
    if (!decoder->feed(block, got, [&](uint8_t index) { return placer.put(index); })) return;
    if (got < length) return;
  }
}

}  // namespace

bool readGif(ByteSource &source, DecodedImage &out, const DecodeLimits &limits) {
  uint8_t header[13];
  if (!source.readExact(header, 13)) return false;
  if (std::memcmp(header, "GIF87a", 6) != 0 && std::memcmp(header, "GIF89a", 6) != 0)
    return false;
  // Indices beyond a table, or a file without any table, read as opaque black.
  uint32_t global[256] = {};
  const uint8_t screenFlags = header[10];
  if ((screenFlags & 0x80) && !readColorTable(source, 2 << (screenFlags & 7), global))
    return false;

  int transparentIndex = -1;
  for (;;) {
    uint8_t introducer;
    if (!source.readByte(introducer)) return false;
    if (introducer == 0x21) {
      uint8_t label;
      if (!source.readByte(label)) return false;
      if (label == 0xF9) {
        uint8_t length;
        if (!source.readByte(length)) return false;
        uint8_t control[255];
        if (!source.readExact(control, length)) return false;
        if (length >= 4) transparentIndex = (control[0] & 1) ? control[3] : -1;
        if (length == 0) continue;  // that was the terminator
      }
      if (!skipSubBlocks(source)) return false;
    } else if (introducer == 0x2C) {
      uint8_t d[9];
      if (!source.readExact(d, 9)) return false;
      const int width = d[4] | d[5] << 8;
      const int height = d[6] | d[7] << 8;
      const uint8_t flags = d[8];
      uint32_t local[256] = {};
      const uint32_t *table = global;
      if (flags & 0x80) {
        if (!readColorTable(source, 1 << ((flags & 7) + 1), local)) return false;
        table = local;
      }
      if (!sizeAllowed(width, height, limits)) return false;
      uint32_t colors[256];
      std::copy(table, table + 256, colors);
      if (transparentIndex >= 0) colors[transparentIndex] = kTransparent;
      out.width = width;
      out.height = height;
      out.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), kTransparent);
      decodeImageData(source, out, colors, (flags & 0x40) != 0);
      return true;
    } else if (introducer == 0x3B) {
      return false;  // the trailer before any image
    }
    // Any other byte starts no block and is passed over.
  }
}

}  // namespace quorvane::imageio
