// The image codecs as the drawing subsystem calls them. Writers encode a view
// into a sink and report failure (a codec error, a size the format cannot
// hold, or a failed sink) by returning false. Readers decode into `out`,
// which the caller adopts only when they return true; they check every
// length, code and dimension and refuse images outside DecodeLimits.
#pragma once

#include <cstdint>

#include "imageio/byte_stream.h"
#include "imageio/image.h"

namespace quorvane::imageio {

// GIF from palette indices (one byte a pixel, row-major); the palette has
// `count` entries (1 ... 256), `transparentIndex` -1 for none.
bool writeGifIndices(ByteSink &sink, const uint8_t *indices, int width, int height,
                     const uint32_t *palette, int count, bool interlace, int background,
                     int transparentIndex);
// Reduces the view to a palette (always forced to fit) and writes it as GIF.
bool writeGif(ByteSink &sink, const ImageView &view);
bool writePng(ByteSink &sink, const ImageView &view);
// quality < 0 keeps the codec's default; otherwise it is limited to 1 ... 100.
// Sides above kJpegMaxSide fail.
inline constexpr int kJpegMaxSide = 65500;
bool writeJpeg(ByteSink &sink, const ImageView &view, int quality);
bool writeWbmp(ByteSink &sink, const ImageView &view);

bool readGif(ByteSource &source, DecodedImage &out, const DecodeLimits &limits = {});
bool readPng(ByteSource &source, DecodedImage &out, const DecodeLimits &limits = {});
bool readJpeg(ByteSource &source, DecodedImage &out, const DecodeLimits &limits = {});
bool readWbmp(ByteSource &source, DecodedImage &out, const DecodeLimits &limits = {});

using ImageReader = bool (*)(ByteSource &, DecodedImage &, const DecodeLimits &);
// Opens the file for binary reading and runs the reader on it.
bool readImageFile(const char *path, ImageReader reader, DecodedImage &out);

}  // namespace quorvane::imageio
