// libFuzzer target: the GIF reader on arbitrary bytes. A result of true must
// come with an image inside the limits and all its pixels.
#include <cstdint>
#include <cstdlib>

#include "imageio/codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  namespace io = quorvane::imageio;
  io::ByteSource source(data, size);
  io::DecodedImage image;
  // A lower pixel limit than the library's keeps each run fast; the limit
  // checks themselves are the same code.
  io::DecodeLimits limits;
  limits.maxPixels = int64_t{1} << 22;
  if (io::readGif(source, image, limits)) {
    if (image.width < 1 || image.height < 1 ||
        int64_t{image.width} * image.height > limits.maxPixels ||
        image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height))
      std::abort();
  }
  return 0;
}
