// The body shared by the image-reader fuzz targets: a reader given arbitrary
// bytes either fails or returns an image inside the limits with all its pixels.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "imageio/codecs.h"

namespace quorvane::imageio {

template <typename Reader>
int fuzzReader(Reader read, const uint8_t *data, size_t size) {
  ByteSource source(data, size);
  DecodedImage image;
  // A lower pixel limit than the library's keeps each run fast; the limit
  // checks themselves are the same code.
  DecodeLimits limits;
  limits.maxPixels = int64_t{1} << 22;
  if (read(source, image, limits)) {
    if (image.width < 1 || image.height < 1 ||
        int64_t{image.width} * image.height > limits.maxPixels ||
        image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height))
      std::abort();
  }
  return 0;
}

}  // namespace quorvane::imageio
