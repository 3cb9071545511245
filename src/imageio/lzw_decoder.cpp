// Table set-up of the GIF LZW decoder; the per-code work is inline in the header.
#include "imageio/lzw_decoder.h"

namespace quorvane::imageio {

LzwDecoder::LzwDecoder(int minCodeSize)
    : minCodeSize_(minCodeSize), clear_(1 << minCodeSize), end_(clear_ + 1) {
  for (int i = 0; i < clear_; ++i) {
    prefix_[i] = 0;
    suffix_[i] = static_cast<uint8_t>(i);
    first_[i] = static_cast<uint8_t>(i);
  }
  reset();
}

void LzwDecoder::reset() {
  width_ = minCodeSize_ + 1;
  next_ = clear_ + 2;
  previous_ = -1;
}

}  // namespace quorvane::imageio
