// libFuzzer target: the JPEG reader on arbitrary bytes.
#include "reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  return quorvane::imageio::fuzzReader(quorvane::imageio::readJpeg, data, size);
}
