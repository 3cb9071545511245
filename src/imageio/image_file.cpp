// Running a reader on a named file.
#include <cstdio>
#include <memory>

#include "imageio/codecs.h"

namespace quorvane::imageio {

bool readImageFile(const char *path, ImageReader reader, DecodedImage &out) {
  if (path == nullptr) return false;
  std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(std::fopen(path, "rb"), std::fclose);
  if (file == nullptr) return false;
  ByteSource source(file.get());
  return reader(source, out, DecodeLimits{});
}

}  // namespace quorvane::imageio
